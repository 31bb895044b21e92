// The name a removal at the next restart is recorded under, or why there is none: no name, or an
// operation of another program already waiting for the file.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/filekit/PendingRenames.h"
#include "platform/filekit/RemovalReasons.h"
#include "platform/filekit/RemovalRules.h"

namespace tarvolen {
namespace {

constexpr std::wstring_view kGuidPath =
    L"\\\\?\\Volume{3f1e2a6c-0b1d-4c5e-9a7f-2d8c6b4e1a90}\\d\\report.pdf ";

// The drive-letter path comes first; the GUID path only serves a volume without a letter.
TEST(RestartNameTest, TheDriveLetterPathIsRecordedAndTheGuidPathOnlyWithoutOne) {
    EXPECT_EQ(RestartNameFor(kGuidPath, L"\\\\?\\S:\\report.pdf ").name, L"\\\\?\\S:\\report.pdf ");
    EXPECT_EQ(RestartNameFor(L"", L"\\\\?\\c:\\d\\busy.dll").name, L"\\\\?\\c:\\d\\busy.dll");
    const RestartName noLetter = RestartNameFor(kGuidPath, L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume9\\x");
    EXPECT_EQ(noLetter.name, kGuidPath);
    EXPECT_TRUE(noLetter.refusal.empty());
    EXPECT_EQ(RestartNameFor(kGuidPath, L"").name, kGuidPath);
}

TEST(RestartNameTest, NetworkFilesAndPathsWithoutALastingNameAreRefused) {
    struct Case {
        std::wstring_view guidPath, dosPath, refusal;
    };
    const Case cases[] = {
        {L"", L"\\\\?\\UNC\\server\\share\\busy.dll", removal_reason::kNetwork},
        {L"", L"\\\\?\\unc\\server\\share\\busy.dll", removal_reason::kNetwork},
        {kGuidPath, L"\\\\?\\UNC\\server\\share\\busy.dll", removal_reason::kNetwork},
        {L"", L"", removal_reason::kNoLastingName},
        {L"", L"\\\\?\\GLOBALROOT\\Device\\RamDisk\\busy.dll", removal_reason::kNoLastingName},
        {L"\\Device\\HarddiskVolume3\\busy.dll", L"\\\\?\\1:\\busy.dll", removal_reason::kNoLastingName},
    };
    for (const Case& c : cases) {
        const RestartName result = RestartNameFor(c.guidPath, c.dosPath);
        EXPECT_EQ(result.name, L"") << std::wstring(c.dosPath);
        EXPECT_EQ(result.refusal, c.refusal) << std::wstring(c.dosPath);
    }
}

// The list as MoveFileEx writes it (pairs of names, an empty target for a removal, "!" before a
// target that may be replaced, one more null at the end), and as other programs may have left it.
TEST(PendingRenamesTest, AnOperationWaitingForTheFileKeepsItsRemovalFromBeingRecorded) {
    using namespace std::string_view_literals;
    struct Case {
        std::wstring_view list;
        PendingFor expected;
    };
    const Case cases[] = {
        {L""sv, PendingFor::kNothing},
        {L"\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\0\0\\??\\C:\\App\\app.dll\0\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll.new\0!\\??\\c:\\app\\APP.DLL\0\0"sv,
         PendingFor::kOtherOperation},
        {L"\\??\\C:\\App\\app.dll\0\\??\\C:\\App\\old.dll\0\0"sv, PendingFor::kOtherOperation},
        {L"\\??\\C:\\App\\app.dll\0\0\\??\\C:\\n\0\\??\\C:\\App\\app.dll\0"sv, PendingFor::kOtherOperation},
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll"sv, PendingFor::kOtherOperation},  // no target, no null
        {L"\\??\\C:\\App\\app.dll.new\0\\??\\C:\\App\\app.dll2\0\0"sv, PendingFor::kNothing},
        {L"C:\\App\\app.dll\0\0"sv, PendingFor::kNothing},  // not the list's form
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WhatIsPending(c.list, {L"\\\\?\\C:\\App\\app.dll", L""}), c.expected)
            << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace tarvolen
