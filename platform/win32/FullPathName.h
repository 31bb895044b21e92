#pragma once
// A relative name typed or given on the command line means a file of the current folder.

#include <string>

namespace tarvolen::win32 {

// Makes `path` absolute with GetFullPathNameW, however long it is; the text unchanged when the system
// cannot resolve it.
std::wstring FullPathName(const std::wstring& path);

}  // namespace tarvolen::win32
