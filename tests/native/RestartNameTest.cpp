// The name a removal at the next restart is recorded under, or why there is none: no name, or an
// operation of another program already waiting for the file.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

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
TEST(PendingRenamesTest, TheListIsReadInPairsWhateverItsEnd) {
    using namespace std::string_view_literals;
    const auto parsed = ParsePendingRenames(L"\\??\\C:\\old\0\0\\??\\C:\\new\0!\\??\\C:\\app.dll\0\0"sv);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].from, L"\\??\\C:\\old");
    EXPECT_EQ(parsed[0].to, L"");
    EXPECT_EQ(parsed[1].to, L"!\\??\\C:\\app.dll");
    EXPECT_TRUE(ParsePendingRenames(L""sv).empty());
    EXPECT_EQ(ParsePendingRenames(L"\\??\\C:\\a\0\0\0\0"sv).size(), 2u);  // padding reads as an empty pair
    const auto odd = ParsePendingRenames(L"a\0b\0c"sv);                   // no target, no null at the end
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_FALSE(odd[1].toKnown);
}

TEST(PendingRenamesTest, AnUpdateForTheFileKeepsItsRemovalFromBeingRecorded) {
    const std::vector<std::wstring> names = {L"\\\\?\\C:\\App\\app.dll", L""};
    const auto pending = [&](const std::wstring& from, const std::wstring& to, bool toKnown = true) {
        return WhatIsPending({{L"\\??\\C:\\x", L""}, {from, to, toKnown}}, names);
    };
    EXPECT_EQ(pending(L"\\??\\C:\\App\\app.dll.new", L"!\\??\\c:\\app\\APP.DLL"),
              PendingFor::kOtherOperation);
    EXPECT_EQ(pending(L"\\??\\C:\\App\\app.dll", L"\\??\\C:\\App\\old.dll"), PendingFor::kOtherOperation);
    EXPECT_EQ(pending(L"\\??\\C:\\App\\app.dll", L"", false), PendingFor::kOtherOperation);
    EXPECT_EQ(pending(L"\\??\\C:\\App\\app.dll", L""), PendingFor::kRemoval);
    EXPECT_EQ(pending(L"\\??\\C:\\App\\app.dll.new", L"\\??\\C:\\App\\app.dll2"), PendingFor::kNothing);
    EXPECT_EQ(pending(L"C:\\App\\app.dll", L""), PendingFor::kNothing);  // not the list's form
    EXPECT_EQ(
        WhatIsPending({{L"\\??\\C:\\App\\app.dll", L""}, {L"\\??\\C:\\n", L"\\??\\C:\\App\\app.dll"}}, names),
        PendingFor::kOtherOperation);
}

}  // namespace
}  // namespace tarvolen
