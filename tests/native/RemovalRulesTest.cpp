// What decides a removal besides the file system: which file may be removed, whether a file in use may
// be left for the restart, and what the user is told when it may not.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/filekit/RemovalReasons.h"
#include "platform/filekit/RemovalRules.h"

namespace tarvolen {
namespace {

FileIdentity Wide(std::uint8_t low, std::uint8_t high) {
    FileIdentity identity{.volumeSerial = 0x43000000, .wide = true};
    identity.fileId[0] = low;
    identity.fileId[15] = high;
    return identity;
}

// Only the file held since the question may go: the identity recorded then, the held file's identity
// now and the file now under the name must all be one file, all 128 bits of it (on FAT a renamed file
// and a new one in its old directory entry trade IDs), and a file that could not be told apart is
// never removed.
TEST(IdentityRefusalTest, OnlyTheHeldFileMayBeRemoved) {
    FileIdentity narrow{.volumeSerial = 0x43000000};
    narrow.fileId[0] = 7;
    FileIdentity otherVolume = Wide(7, 1);
    otherVolume.volumeSerial = 1;
    struct Case {
        std::optional<FileIdentity> confirmed, heldNow, found;
        std::wstring_view refusal;
    };
    const Case cases[] = {
        {Wide(7, 1), Wide(7, 1), Wide(7, 1), {}},
        {Wide(7, 1), Wide(7, 1), Wide(7, 2), removal_reason::kAnotherFile},  // the same 64-bit index
        {Wide(7, 1), Wide(7, 1), Wide(8, 1), removal_reason::kAnotherFile},
        {Wide(7, 1), Wide(7, 1), otherVolume, removal_reason::kAnotherFile},
        {Wide(7, 0), Wide(7, 0), narrow, removal_reason::kAnotherFile},  // two kinds of ID never match
        {narrow, narrow, narrow, {}},
        // Renamed away while held, and a new file written into the entry it left.
        {Wide(7, 1), Wide(9, 1), Wide(7, 1), removal_reason::kAnotherFile},
        {Wide(7, 1), Wide(9, 1), Wide(9, 1), removal_reason::kAnotherFile},
        {std::nullopt, Wide(7, 1), Wide(7, 1), removal_reason::kNotIdentified},
        {Wide(7, 1), std::nullopt, Wide(7, 1), removal_reason::kNotIdentified},
        {Wide(7, 1), Wide(7, 1), std::nullopt, removal_reason::kNotIdentified},
        {std::nullopt, std::nullopt, std::nullopt, removal_reason::kNotIdentified},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(IdentityRefusal(cases[i].confirmed, cases[i].heldNow, cases[i].found), cases[i].refusal)
            << "case " << i;
    }
}

// "Not found" only where nothing is there: a file held by others, or one the user may not look at, is
// a file; any other failed look is none.
TEST(FailureShowsAFileTest, OnlyFilesInUseOrHiddenByRightsCountAsThere) {
    for (const std::uint32_t error : {5u, 32u, 33u}) {
        EXPECT_TRUE(FailureShowsAFile(error)) << error;
    }
    // Not found, path not found, bad name, network path not found, not ready, invalid parameter.
    for (const std::uint32_t error : {2u, 3u, 123u, 53u, 21u, 87u, 0u}) {
        EXPECT_FALSE(FailureShowsAFile(error)) << error;
    }
}

// A file in use is left for the restart only where the boot-time removal does what the box says.
TEST(RestartRefusalTest, LinksReadOnlyFilesKeptReadOnlyAndSharedReadOnlyFilesAreNotLeftForTheRestart) {
    struct Case {
        RestartFacts facts;
        std::wstring_view refusal;
    };
    const Case cases[] = {
        {{}, {}},
        {{.nameCount = 3}, {}},
        {{.readOnly = true, .readOnlyCleared = true}, {}},
        {{.readOnly = true}, removal_reason::kReadOnlyKept},
        {{.readOnly = true, .readOnlyCleared = true, .nameCount = 2},
         removal_reason::kReadOnlyWithOtherNames},
        {{.readOnly = true, .nameCount = 2}, removal_reason::kReadOnlyWithOtherNames},
        {{.reparsePoint = true}, removal_reason::kLink},  // its tag could not be read
        {{.reparsePoint = true, .reparseTag = 0xA000000C}, removal_reason::kLink},  // symbolic link
        {{.reparsePoint = true, .reparseTag = 0xA0000003}, removal_reason::kLink},  // junction, mount point
        {{.reparsePoint = true, .reparseTag = 0xA000001D}, removal_reason::kLink},  // a WSL symbolic link
        {{.reparsePoint = true, .reparseTag = 0xA0000003, .readOnly = true, .nameCount = 2},
         removal_reason::kLink},
        // OneDrive's cloud files (also kept on the device), deduplication, system compression.
        {{.reparsePoint = true, .reparseTag = 0x9000001A}, {}},
        {{.reparsePoint = true, .reparseTag = 0x9000601A}, {}},
        {{.reparsePoint = true, .reparseTag = 0x80000013}, {}},
        {{.reparsePoint = true, .reparseTag = 0x80000017}, {}},
        {{.reparsePoint = true, .reparseTag = 0x8000001B}, {}},  // an app execution alias is a file
        {{.reparsePoint = true, .reparseTag = 0x80000017, .readOnly = true}, removal_reason::kReadOnlyKept},
        {{.reparseTag = 0xA000000C}, {}},  // a tag without the attribute is no reparse point
        {{.readOnly = true, .removableMedium = true}, removal_reason::kRemovableMedium},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(RestartRefusal(cases[i].facts), cases[i].refusal) << "case " << i;
    }
}

// Recording a removal for the restart is for administrators; an ordinary user is told how to start the
// program so that it works, an administrator whose attempt failed all the same is not.
TEST(ScheduleFailureReasonTest, OnlyAUserWithoutFullRightsIsSentToRunAsAdministrator) {
    EXPECT_EQ(ScheduleFailureReason(true, false), removal_reason::kRunAsAdministrator);
    EXPECT_NE(removal_reason::kRunAsAdministrator.find(L"Als Administrator ausf\u00fchren"),
              std::wstring_view::npos);
    EXPECT_EQ(ScheduleFailureReason(true, true), L"");
    EXPECT_EQ(ScheduleFailureReason(false, false), L"");
}

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

}  // namespace
}  // namespace tarvolen
