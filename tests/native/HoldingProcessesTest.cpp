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
// file's, in quotation marks, with the process number; three at most, then how many more; never this
// program itself. A name is plain text of one line: what would break the line, turn the direction of
// what follows or hide (Unicode's Cc, Cf, Zl, Zp) is a space, and it is cut at 64 characters.
TEST(HoldersLineTest, NamesAtMostThreeOthersByTheirBestName) {
    constexpr std::uint32_t kOwn = 7;
    const HoldingProcess own{kOwn, L"Tarvolen", L"C:\\Tools\\tarvolen.exe"};
    const HoldingProcess editor{1234, L"Editor", L"C:\\Windows\\notepad.exe"};
    const HoldingProcess word{5678, L"", L"C:\\Program Files\\Office\\WINWORD.EXE"};
    const HoldingProcess unknown{42, L"", L""};
    const HoldingProcess sneaky{9, L"Editor\r\nDie Datei wurde gel\u00f6scht.", L""};
    const std::wstring start = L"Die Datei wird verwendet von: ";
    const std::wstring longName = std::wstring(63, L'x') + L"\U0001F600";  // 64 characters, 65 units
    struct Case {
        std::vector<HoldingProcess> holders;
        std::wstring line;
    };
    const Case cases[] = {
        {{}, L""},
        {{own}, L""},
        {{own, editor}, start + L"\u201eEditor\u201c (1234)."},
        {{word, own}, start + L"\u201eWINWORD.EXE\u201c (5678)."},
        {{unknown}, start + L"unbekanntes Programm (42)."},
        {{editor, word}, start + L"\u201eEditor\u201c (1234) und \u201eWINWORD.EXE\u201c (5678)."},
        {{editor, own, word, unknown},
         start + L"\u201eEditor\u201c (1234), \u201eWINWORD.EXE\u201c (5678) und unbekanntes Programm (42)."},
        {{editor, word, unknown, editor},
         start + L"\u201eEditor\u201c (1234), \u201eWINWORD.EXE\u201c (5678), unbekanntes Programm (42) und "
                 L"einem weiteren."},
        {{editor, word, own, unknown, editor, word},
         start +
             L"\u201eEditor\u201c (1234), \u201eWINWORD.EXE\u201c (5678), unbekanntes Programm (42) und 2 "
             L"weiteren."},
        {{sneaky}, start + L"\u201eEditor  Die Datei wurde gel\u00f6scht.\u201c (9)."},
        {{{9, L"Editor (4321)\u2028Word\u0085\u2029x\u202e\u2066\u200f\u061c\ufeff\u00ad\U000E0041y", L""}},
         start + L"\u201eEditor (4321) Word  x       y\u201c (9)."},
        {{{9, L"Editor\u201c (4321), \u201eWord", L""}}, start + L"\u201eEditor\" (4321), \"Word\u201c (9)."},
        {{{9, longName, L""}}, start + L"\u201e" + longName + L"\u201c (9)."},
        {{{9, longName + L"z", L""}}, start + L"\u201e" + std::wstring(63, L'x') + L"\u2026\u201c (9)."},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(HoldersLine(cases[i].holders, kOwn), cases[i].line) << "case " << i;
    }
}

// The Restart Manager is asked about the name programs have open where the system reads that name as
// exactly the file's path (GetFullPathNameW, here as the row gives it); else about the "\\?\" form:
// a device name, a name ending in a dot or a space, a path too long. Microsoft, "Naming Files, Paths,
// and Namespaces": "NUL.txt and NUL.tar.gz are both equivalent to NUL"; "\\?\" turns off "all string
// parsing" and sends the string "straight to the file system".
TEST(HoldersLineTest, AskedByTheOrdinaryNameWhereItNamesTheSameFile) {
    const std::wstring deep = L"C:\\" + std::wstring(260, L'd') + L"\\f.txt";
    const std::wstring_view cases[][3] = {
        {L"\\\\?\\C:\\d\\busy.dll", L"C:\\d\\busy.dll", L"C:\\d\\busy.dll"},
        {L"\\\\?\\UNC\\server\\share\\f.txt", L"\\\\server\\share\\f.txt", L"\\\\server\\share\\f.txt"},
        {L"\\\\?\\C:\\d\\report.pdf.", L"C:\\d\\report.pdf", L"\\\\?\\C:\\d\\report.pdf."},
        {L"\\\\?\\C:\\d \\f.txt", L"C:\\d\\f.txt", L"\\\\?\\C:\\d \\f.txt"},
        {L"\\\\?\\C:\\d\\nul.txt", L"\\\\.\\nul", L"\\\\?\\C:\\d\\nul.txt"},
        {L"\\\\?\\C:\\d\\COM1.log", L"\\\\.\\COM1", L"\\\\?\\C:\\d\\COM1.log"},
        {L"\\\\?\\C:\\d\\aux.c", L"C:\\d\\aux.c", L"C:\\d\\aux.c"},  // Windows 11 reads it as a file
    };
    for (const auto& [finalPath, full, asked] : cases) {
        EXPECT_EQ(NameToAskAbout(finalPath, [&](const std::wstring&) { return std::wstring(full); }), asked)
            << std::wstring(finalPath);
    }
    const auto same = [](const std::wstring& path) { return path; };
    EXPECT_EQ(NameToAskAbout(L"\\\\?\\" + deep, same), L"\\\\?\\" + deep);

    // A 32-bit program reaches a file of the 64-bit system folder through its Sysnative alias.
    const std::wstring_view system = L"C:\\Windows\\System32";
    EXPECT_EQ(SysnativeName(L"c:\\windows\\system32\\x.dll", system), L"C:\\Windows\\Sysnative\\x.dll");
    EXPECT_EQ(SysnativeName(L"\\\\?\\C:\\WINDOWS\\System32\\d\\x.dll", system),
              L"\\\\?\\C:\\Windows\\Sysnative\\d\\x.dll");
    EXPECT_EQ(SysnativeName(L"C:\\Windows\\System32x\\x.dll", system), L"");
    EXPECT_EQ(SysnativeName(L"C:\\Windows\\SysWOW64\\x.dll", system), L"");
}

}  // namespace
}  // namespace tarvolen
