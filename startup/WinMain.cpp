// The one place where the program is put together from its Windows parts, and its message loop.
#include <windows.h>

#include <memory>

#include "platform/win32/Files.h"
#include "platform/win32/Libraries.h"
#include "platform/win32/TextAndErrors.h"
#include "platform/win32/UserInterface.h"
#include "platform/win32/Win32FileKit.h"
#include "platform/win32/Win32ShellKit.h"
#include "startup/ModMain.h"
#include "window/win32/frmReplacer.h"

namespace {

// Runs the window's message loop until the window is gone, and returns at once when no window was
// opened. It watches the window rather than waiting for the quit message alone: when the window is
// closed under a box or the file dialog, their loop may take that message instead of this one.
int RunMessageLoop(tarvolen::win32::frmReplacer& replacer) {
    MSG message{};
    while (replacer.IsOpen()) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            return static_cast<int>(message.wParam);
        }
        if (!replacer.PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}

}  // namespace

// The platform's entry point: builds everything both modes use, calls Main once and, when Main opened
// the window, keeps the program alive until the window is closed.
//
// Before it runs only the C runtime's start-up (its own set-up and the static initialisers, none of
// which loads a library by name) and what the loader did for the import table (KnownDLLs only).
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tarvolen;
    win32::RestrictLibrarySearch();
    // The program's file operations act on the paths as named, also in a 32-bit process on 64-bit
    // Windows.
    win32::Wow64Redirection redirection;
    Components components{
        SharedInstance<ShellKit>(
            [&redirection] { return std::make_unique<win32::Win32ShellKit>(redirection); }),
        SharedInstance<FileKit>(
            [&redirection] { return std::make_unique<win32::Win32FileKit>(redirection); }),
    };
    win32::Win32CommandLine commandLine;
    win32::Win32MessageBox messageBox;
    win32::Kernel32MoveFile moveFile(redirection);
    win32::Win32AnsiCodePage ansiCodePage;
    win32::frmReplacer replacer(instance, components, moveFile, ansiCodePage, [](WindowHandle owner) {
        return std::make_unique<win32::Win32MessageBox>(static_cast<HWND>(owner));
    });

    MainContext context{commandLine, messageBox, components, replacer};
    Main(context);
    return RunMessageLoop(replacer);
}
