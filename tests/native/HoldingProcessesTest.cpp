// The programs holding a file in use as the boxes name them, and the name the Restart Manager is asked
// about.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/filekit/HoldingProcesses.h"

namespace tarvolen {
namespace {

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
