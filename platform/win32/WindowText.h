#pragma once
// What the user typed into a box of the window, whatever its length.

#include <windows.h>

#include <string>

namespace tarvolen::win32 {

// A window's whole text, however long.
std::wstring WindowText(HWND window);

}  // namespace tarvolen::win32
