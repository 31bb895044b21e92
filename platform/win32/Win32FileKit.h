#pragma once
// FileKit on Windows: the file deletion mode asks about is the file it removes, now or at the restart.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/FileKit.h"
#include "platform/FsRedirection.h"
#include "platform/filekit/FileIdentity.h"
#include "platform/win32/Handles.h"

namespace tarvolen::win32 {

// File operations run with file-system redirection off, so that the file named is the file touched,
// and on the "\\?\" form of the path, so that no length limit applies. FileExists keeps the file it
// found open until RemoveFile is done with that name: while it is held, no other file can take over its
// identity. RemoveFile removes that file or nothing, whatever the name has come to lead to in between.
// A file found under a name: held open, and told apart from every other file where it could be.
struct JudgedFile {
    DWORD error = ERROR_SUCCESS;  // why the name leads to no file, when it does not
    UniqueHandle held;
    std::optional<FileIdentity> identity;
};

class Win32FileKit final : public FileKit {
public:
    explicit Win32FileKit(FsRedirection& redirection) : redirection_(redirection) {}
    KitFlag FileExists(std::wstring path) override;
    KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                       KitFlag& scheduledForRestart, std::wstring& errorText) override;

private:
    FsRedirection& redirection_;
    // The name FileExists was last asked about, and what it found there.
    std::wstring judgedPath_;
    JudgedFile judged_;
};

}  // namespace tarvolen::win32
