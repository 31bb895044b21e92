#pragma once

#include <windows.h>

#include <string>

namespace tarvolen::win32 {

// The system's message for an error code, without its trailing line break; "Error N" when the system
// has no text for it, so a real failure never reads as empty.
std::wstring SystemErrorText(DWORD error);

// A window's whole text, however long.
std::wstring WindowText(HWND window);

}  // namespace tarvolen::win32
