#include <windows.h>

#include <memory>

#include "platform/win32/Win32Platform.h"
#include "startup/ModMain.h"
#include "window/frmReplacer.h"

// The platform's entry point: builds the program's services, calls Main once and, when Main opened
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
        SharedInstance<ShellKit>([] { return std::make_unique<win32::Win32ShellKit>(); }),
        SharedInstance<FileKit>(
            [&redirection] { return std::make_unique<win32::Win32FileKit>(redirection); }),
    };
    win32::Win32CommandLine commandLine;
    win32::Win32MessageBox messageBox;
    win32::frmReplacer replacer(instance, components, redirection);

    MainContext context{commandLine, messageBox, components, replacer};
    Main(context);
    return win32::RunMessageLoop(replacer);
}
