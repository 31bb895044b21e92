#pragma once
// Libraries come from the system folder only, never from beside the program, and their functions are
// bound one way.

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace tarvolen::win32 {

// Every library loaded by name from now on comes from the system folder only (for a 32-bit process on
// 64-bit Windows: SysWOW64), never from the program's own folder, the current folder or PATH, where
// anyone could have put a library of the same name. Windows 8 and later, and Windows 7 with its
// KB2533623 update, have SetDefaultDllDirectories for that; without it only the current folder leaves
// the search. The first thing the program does, before anything loads a library by name.
void RestrictLibrarySearch();

// The full path of a DLL in the system folder, so that no copy elsewhere (beside the program, in the
// current folder) is ever loaded in its place.
std::wstring SystemLibraryPath(const wchar_t* dllName);

// Loads a DLL from the system folder; an empty owner when it cannot be loaded, with the system's
// error as the last error.
UniqueModule LoadSystemLibrary(const wchar_t* dllName);

// A function of a loaded library, looked up by name; null when the library lacks it. The one way the
// program binds a function of a system library.
template <class Function>
Function LibraryFunction(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// A function of kernel32, which is in every process and stays loaded, so the module handle needs no
// release; null when this Windows lacks it.
template <class Function>
Function Kernel32Function(const char* name) {
    return LibraryFunction<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

}  // namespace tarvolen::win32
