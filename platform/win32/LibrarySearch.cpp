// The library search limited to the system folder, with the fall-back for Windows 7 without its update.
#include "platform/win32/LibrarySearch.h"

#include <windows.h>

#include "platform/win32/Kernel32Function.h"

namespace tarvolen::win32 {

void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE) {
        return;
    }
    // Without it, at least the current folder leaves the search.
    ::SetDllDirectoryW(L"");
}

}  // namespace tarvolen::win32
