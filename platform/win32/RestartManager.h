#pragma once
// Which programs hold a file in use, as Windows' Restart Manager (rstrtmgr) tells it.

#include <string>
#include <vector>

#include "platform/FsRedirection.h"
#include "platform/filekit/HoldingProcesses.h"

namespace tarvolen::win32 {

// The processes that hold the file named `name` (a full path as the program's own file operations
// see it), each with its application name, and its program file where the Restart Manager gives no
// name and the process is the one it listed. rstrtmgr is loaded from the system folder at the first
// question, before redirection is switched off for the name to be looked up as named. Nothing where
// it is missing or any of its calls fails.
std::vector<HoldingProcess> HoldersOf(const std::wstring& name, FsRedirection& redirection);

}  // namespace tarvolen::win32
