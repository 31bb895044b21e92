// What decides a removal besides the file system: which file may be removed, whether a file in use may
// be left for the restart, and what the user is told when it may not.
#include <gtest/gtest.h>

#include "platform/filekit/HoldingProcesses.h"
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

// The programs holding a file in use, named below the box: by the application's name, else the program
// file's, with the process number; three at most, then how many more; never this program itself.
TEST(HoldersLineTest, NamesAtMostThreeOthersByTheirBestName) {
    constexpr std::uint32_t kOwn = 7;
    const HoldingProcess own{kOwn, L"Tarvolen", L"C:\\Tools\\tarvolen.exe"};
    const HoldingProcess editor{1234, L"Editor", L"C:\\Windows\\notepad.exe"};
    const HoldingProcess word{5678, L"", L"C:\\Program Files\\Office\\WINWORD.EXE"};
    const HoldingProcess unknown{42, L"", L""};
    const HoldingProcess sneaky{9, L"Editor\r\nDie Datei wurde gel\u00f6scht.", L""};
    const std::wstring start = L"Die Datei wird verwendet von: ";
    struct Case {
        std::vector<HoldingProcess> holders;
        std::wstring line;
    };
    const Case cases[] = {
        {{}, L""},
        {{own}, L""},
        {{own, editor}, start + L"Editor (1234)."},
        {{word, own}, start + L"WINWORD.EXE (5678)."},
        {{unknown}, start + L"unbekanntes Programm (42)."},
        {{editor, word}, start + L"Editor (1234) und WINWORD.EXE (5678)."},
        {{editor, own, word, unknown},
         start + L"Editor (1234), WINWORD.EXE (5678) und unbekanntes Programm (42)."},
        {{editor, word, unknown, editor},
         start + L"Editor (1234), WINWORD.EXE (5678), unbekanntes Programm (42) und einem weiteren."},
        {{editor, word, own, unknown, editor, word},
         start + L"Editor (1234), WINWORD.EXE (5678), unbekanntes Programm (42) und 2 weiteren."},
        {{sneaky}, start + L"Editor  Die Datei wurde gel\u00f6scht. (9)."},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(HoldersLine(cases[i].holders, kOwn), cases[i].line) << "case " << i;
    }
}

// The Restart Manager is asked about the name programs have open, wherever that names the same file.
TEST(HoldersLineTest, AskedByTheOrdinaryNameWhereItNamesTheSameFile) {
    const std::wstring deep = L"C:\\" + std::wstring(260, L'd') + L"\\f.txt";
    const std::wstring_view cases[][2] = {
        {L"\\\\?\\C:\\d\\busy.dll", L"C:\\d\\busy.dll"},
        {L"\\\\?\\UNC\\server\\share\\f.txt", L"\\\\server\\share\\f.txt"},
        {L"\\\\?\\C:\\d\\report.pdf.", L"\\\\?\\C:\\d\\report.pdf."},
        {L"\\\\?\\C:\\d \\f.txt", L"\\\\?\\C:\\d \\f.txt"},
    };
    for (const auto& [finalPath, asked] : cases) {
        EXPECT_EQ(NameToAskAbout(finalPath), asked) << std::wstring(finalPath);
    }
    EXPECT_EQ(NameToAskAbout(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
}

}  // namespace
}  // namespace tarvolen
