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

// A file found under a name and held open, so that no other file can take over its identity while
// the question is up. Only RemoveFile uses it up: it removes this file or nothing.
struct HeldFile {
    std::wstring askedPath{};  // the name FileExists was given
    std::wstring kitPath{};    // the "\\?\" form the file functions get, worked out once
    UniqueFile handle{};
    std::optional<FileIdentity> identity{};  // nothing where the file could not be told apart
    DWORD holdError = ERROR_SUCCESS;         // why there is no handle, where others refused it
};

// File operations run with file-system redirection off, so that the file named is the file touched,
// and on the "\\?\" form of the path, so that no length limit applies. FileExists keeps the file it
// found open until RemoveFile is asked about the same name; RemoveFile removes that file or nothing,
// whatever the name has come to lead to in between, and only where it lies where the name says.
class Win32FileKit final : public FileKit {
public:
    explicit Win32FileKit(FsRedirection& redirection) : redirection_(redirection) {}
    KitFlag FileExists(std::wstring path) override;
    KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                       KitFlag& scheduledForRestart, std::wstring& errorText) override;
    std::wstring HeldBy() override;

private:
    FsRedirection& redirection_;
    std::optional<HeldFile> held_;  // what the last FileExists found
    std::wstring heldBy_;           // who held the file RemoveFile found in use
};

}  // namespace tarvolen::win32
