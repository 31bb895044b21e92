// The name a removal at the next restart is recorded under, or why there is none: no name, or an
// operation of another program already waiting for the file.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/filekit/PendingRenames.h"
#include "platform/filekit/RemovalReasons.h"
#include "platform/filekit/RemovalRules.h"
#include "tests/native/TextCases.h"

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
// target that may be replaced, "*" and digits before names on current Windows, one more null at the
// end), and as other programs may have left it. Names that cannot be opened are judged by their text,
// in any form and letter case; the file here has two names, as a drive and a volume path.
TEST(PendingRenamesTest, AnOperationWaitingForTheFileKeepsItsRemovalFromBeingRecorded) {
    using namespace std::string_view_literals;
    struct Case {
        std::wstring_view list;
        PendingFor expected;
        std::wstring_view other = {};  // the other name of the operation that waits, as a user reads it
    };
    const Case cases[] = {
        {L""sv, PendingFor::kNothing},
        {L"\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\0\0\\??\\C:\\App\\app.dll\0\0\0"sv, PendingFor::kDamagedList},  // an empty pair
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll.new\0!\\??\\c:\\app\\APP.DLL\0\0"sv,
         PendingFor::kOtherOperation, L"C:\\App\\app.dll.new"},
        {L"\\??\\C:\\App\\app.dll\0\\??\\C:\\App\\old.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\old.dll"},
        {L"\\??\\C:\\App\\app.dll\0\0\\??\\C:\\n\0\\??\\C:\\App\\app.dll\0"sv, PendingFor::kOtherOperation},
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll"sv, PendingFor::kDamagedList},  // no target, no null
        {L"\\??\\C:\\App\\app.dll.new\0\\??\\C:\\App\\app.dll2\0\0"sv, PendingFor::kNothing},
        {L"C:\\App\\app.dll\0\0"sv, PendingFor::kNothing},  // not the list's form
        // The marks of current Windows, alone and with "!".
        {L"*1\\??\\C:\\App\\app.dll\0\0\0"sv, PendingFor::kRemoval},
        {L"*2\\??\\C:\\App\\app.dll\0*1\\??\\C:\\App\\app.old\0\0"sv, PendingFor::kOtherOperation},
        {L"*1\\??\\C:\\App\\new.dll\0*12!\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\new.dll"},
        {L"*1\\??\\C:\\App\\new.dll\0!*1\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation},
        {L"*\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kNothing},  // no digits: no mark
        // The other prefixes, forward slashes, letters beyond ASCII in another case.
        {L"\\DosDevices\\c:\\app\\APP.DLL\0\0"sv, PendingFor::kRemoval},
        {L"\\GLOBAL??\\C:/App/app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00c4pp\\APP.dll\0\0"sv,
         PendingFor::kRemoval},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll.new\0!"
         L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00c4PP\\app.dll\0\0"sv,
         PendingFor::kOtherOperation,
         L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll.new"},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pps\\app.dll\0\0"sv,
         PendingFor::kNothing},
        // A folder on the file's way moved, removed or replaced; the volume's root is none.
        {L"\\??\\C:\\App\0\\??\\C:\\App.old\0\\??\\C:\\App.new\0\\??\\C:\\App\0\0"sv,
         PendingFor::kOtherOperation},
        {L"\\??\\C:\\App.new\0!\\??\\c:\\APP\\\0\0"sv, PendingFor::kOtherOperation},
        {L"\\??\\C:\\App\0\0"sv, PendingFor::kOtherOperation, L"C:\\App"},
        {L"\\??\\C:\\Apps\\x\0\0\\??\\C:\\\0\0\\??\\C:\0\0"sv, PendingFor::kNothing},
        // Where the restart stops: the list's end, a damaged list, the file's own removal before that.
        {L"\\??\\C:\\x\0\0\0"sv, PendingFor::kNothing},
        {L"\0"sv, PendingFor::kNothing},
        {L"\0\0"sv, PendingFor::kDamagedList},
        {L"\\??\\C:\\x\0\0\\??\\C:\\y\0"sv, PendingFor::kDamagedList},
        {L"\\??\\C:\\App\\app.dll\0\0\0\\??\\C:\\x\0\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\0\\??\\C:\\App\\app.dll\0\\??\\C:\\y\0\0"sv, PendingFor::kDamagedList},
    };
    const auto leadsTo = [](const std::wstring& path) {
        for (const std::wstring_view name :
             {L"\\\\?\\C:\\App\\app.dll"sv,
              L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll"sv}) {
            if (const ListedName found = LeadsByText(path, name, SameNamesForTests);
                found != ListedName::kElsewhere) {
                return found;
            }
        }
        return ListedName::kElsewhere;
    };
    for (const Case& c : cases) {
        std::wstring other;
        EXPECT_EQ(WhatIsPending(c.list, leadsTo, &other), c.expected) << "case " << &c - cases;
        EXPECT_EQ(other, c.expected == PendingFor::kOtherOperation && !c.other.empty() ? c.other : other)
            << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace tarvolen
