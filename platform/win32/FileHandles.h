#pragma once
// The file a name leads to, opened without contacting anything else and told apart from every other file.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/filekit/FileIdentity.h"
#include "platform/win32/UniqueResource.h"

namespace tarvolen::win32 {

// Opens what `path` names itself, letting everyone read, write and delete it meanwhile: a link at its
// end is opened as the link, not followed, and a folder opens too, so that it can be told from a file.
// Whatever answers the name may only identify the caller, never act as it: a pipe or a server behind
// the name gets identification-level security quality of service.
UniqueHandle OpenUnfollowed(const std::wstring& path, DWORD access);

// The open file's volume and its ID there: the 128-bit ID where the file system has one (ReFS needs
// all of it), else the 64-bit index. Nothing when the system tells neither, or only zeros, which tell
// no file from another.
std::optional<FileIdentity> IdentityOf(HANDLE file);

// The final path of an open file ("\\?\C:\..."), with the volume named as `volumeName` says; empty
// when the system has no such name for it.
std::wstring FinalPath(HANDLE file, DWORD volumeName);

}  // namespace tarvolen::win32
