#pragma once
// Libraries the program loads by name come from the system folder, never from beside it.

#include <string>

namespace tarvolen::win32 {

// The full path of a DLL in the system folder, so that no copy elsewhere (beside the program, in the
// current folder) is ever loaded in its place.
std::wstring SystemLibraryPath(const wchar_t* dllName);

}  // namespace tarvolen::win32
