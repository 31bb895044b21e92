// The process's command line without the program's name.
#include "platform/win32/Win32CommandLine.h"

#include <windows.h>

namespace tarvolen::win32 {

std::wstring Win32CommandLine::ArgumentText() const { return ArgumentTextOf(::GetCommandLineW()); }

}  // namespace tarvolen::win32
