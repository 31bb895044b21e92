#pragma once
// Which programs hold a file in use, as Windows' Restart Manager (rstrtmgr) tells it.

#include <string>
#include <vector>

#include "platform/filekit/FileIdentity.h"
#include "platform/filekit/HoldingProcesses.h"

namespace tarvolen::win32 {

// The processes that hold the file `file`, found under `name` (a full path as the program's own file
// operations see it, redirection off), each with its application name, and its program file where the
// Restart Manager gives no name and the process is the one it listed. rstrtmgr is loaded from the
// system folder at the first question. Every call of it runs with WoW64 redirection on, as Microsoft
// asks of its callers; the file is named to it by a name that leads to that very file then. Nothing
// where there is no such name, where rstrtmgr is missing or any of its calls fails.
std::vector<HoldingProcess> HoldersOf(const std::wstring& name, const FileIdentity& file);

}  // namespace tarvolen::win32
