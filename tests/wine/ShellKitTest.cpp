// The Windows ShellKit: command-line text made a path, and a file-open dialog that fails.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/win32/Files.h"
#include "platform/win32/TextAndErrors.h"
#include "platform/win32/Win32FileKit.h"
#include "platform/win32/Win32ShellKit.h"
#include "tests/wine/WinTestSupport.h"

// After <windows.h>, which the support header brings in.
#include <commdlg.h>

namespace tarvolen::wintest {
namespace {

using win32::Win32FileKit;
using win32::Win32ShellKit;

TEST(ShellKitTest, PathFromCommandLineMakesTheTextAnAbsolutePath) {
    TempFolder folder;
    ::SetCurrentDirectoryW(folder.Path().c_str());
    win32::Wow64Redirection redirection;
    Win32ShellKit kit{redirection};
    EXPECT_EQ(kit.PathFromCommandLine(L"a.txt"), folder / L"a.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"  \"a b.txt\"  "), folder / L"a b.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"sub\\..\\c.txt"), folder / L"c.txt");
    EXPECT_EQ(kit.PathFromCommandLine(folder / L"d.txt"), folder / L"d.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"   "), L"");
    // The "\\?\" form is taken as it is, a last dot or space included.
    for (const wchar_t* literal :
         {L"\\\\?\\C:\\d\\report.pdf ", L"\\\\?\\C:\\d\\report.pdf.", L"\\\\?\\C:\\d\\..\\e"}) {
        EXPECT_EQ(kit.PathFromCommandLine(L" \"" + std::wstring(literal) + L"\" "), literal);
    }

    // Longer than the classic 260-character limit, and not cut short.
    const std::wstring longName = std::wstring(300, L'n') + L".txt";
    EXPECT_EQ(kit.PathFromCommandLine(L"\"" + longName + L"\""), folder / longName);
    ::SetCurrentDirectoryW(BuildFolder().c_str());
}

TEST(ShellKitTest, TextNamingSeveralFilesResolvesToNoExistingFile) {
    TempFolder folder;
    WriteFileBytes(folder / L"a.txt", "a");
    WriteFileBytes(folder / L"b.txt", "b");
    win32::Wow64Redirection redirection;
    Win32ShellKit shell{redirection};
    Win32FileKit files{redirection};
    for (const std::wstring& text : {L"\"" + (folder / L"a.txt") + L"\" \"" + (folder / L"b.txt") + L"\"",
                                     (folder / L"a.txt") + L" " + (folder / L"b.txt"), folder / L"?.txt"}) {
        EXPECT_EQ(files.FileExists(shell.PathFromCommandLine(text)), kKitFalse) << text;
    }
}

TEST(ShellKitTest, AFailingOpenDialogEndsTheProgram) {
    win32::Wow64Redirection redirection;
    Win32ShellKit kit{redirection};
    std::wstring path = L"C:\\*.exe";
    // Asked for a dialog template that the program does not have, the dialog fails instead of opening,
    // and that ends the program. Should it open after all, it is cancelled, so that the test ends.
    std::atomic<bool> done = false;
    std::thread canceller([&] {
        WaitFor([&] {
            const HWND dialog = WaitForWindow(::GetCurrentProcessId(), L"#32770", 100ms);
            if (dialog != nullptr) {
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            return done.load();
        });
    });
    EXPECT_EXIT(kit.ShowOpenDialog(path, L"Open...", nullptr, L"*.*|*.*", 1, OFN_ENABLETEMPLATE, 0, kKitTrue),
                EndedThroughFailFast, "");
    done = true;
    canceller.join();
}

}  // namespace
}  // namespace tarvolen::wintest
