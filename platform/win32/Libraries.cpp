// The library search limited to the system folder, the system folder's libraries, and their functions.
#include "platform/win32/Libraries.h"

#include "platform/win32/Handles.h"
#include "platform/win32/TextAndErrors.h"

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

std::wstring SystemLibraryPath(const wchar_t* dllName) {
    const FilledText folder = FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
        return ::GetSystemDirectoryW(buffer, static_cast<UINT>(capacity));
    });
    if (folder.failed) {
        throw SystemFailure("the system folder is unknown", folder.error);
    }
    return folder.text + L"\\" + dllName;
}

UniqueModule LoadSystemLibrary(const wchar_t* dllName) {
    return UniqueModule(::LoadLibraryW(SystemLibraryPath(dllName).c_str()));
}

}  // namespace tarvolen::win32
