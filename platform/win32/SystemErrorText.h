#pragma once
// Why a file operation failed, in the system's own words, for the boxes that report it.

#include <windows.h>

#include <string>

namespace tarvolen::win32 {

// The system's message for an error code, without its trailing line break; "Error N" when the system
// has no text for it, so a real failure never reads as empty.
std::wstring SystemErrorText(DWORD error);

}  // namespace tarvolen::win32
