#pragma once
// Files as the program names them: opened as themselves, told apart, their full and final paths, with
// WoW64 redirection off for the program's own file operations, and its one MoveFileExA call.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FsRedirection.h"
#include "platform/MoveFileApi.h"
#include "platform/filekit/FileIdentity.h"
#include "platform/filekit/PendingRenames.h"
#include "platform/win32/Handles.h"

namespace tarvolen::win32 {

// An open handle, or the system's error code of the open that failed.
struct OpenedHandle {
    UniqueFile handle;
    DWORD error = ERROR_SUCCESS;
    explicit operator bool() const noexcept { return static_cast<bool>(handle); }
};

// Opens what `path` names itself, letting everyone read, write and delete it meanwhile: a link at its
// end is opened as the link, not followed, and a folder opens too, so that it can be told from a file.
// Whatever answers the name may only identify the caller, never act as it: a pipe or a server behind
// the name gets identification-level security quality of service.
OpenedHandle OpenUnfollowed(const std::wstring& path, DWORD access);

// Opens the file that `file` holds once more, with other rights, without looking up any name.
OpenedHandle Reopen(HANDLE file, DWORD access);

// The open file's volume and its ID there: the 128-bit ID where the file system has one (ReFS needs
// all of it), else the 64-bit index. Nothing when the system tells neither, or only zeros, which tell
// no file from another.
std::optional<FileIdentity> IdentityOf(HANDLE file);

// The final path of an open file ("\\?\C:\..."), with the volume named as `volumeName` says; empty
// when the system has no such name for it.
std::wstring FinalPath(HANDLE file, DWORD volumeName);

// Where the open file lies: its final path with the drive letter or network name, or, for a volume
// without either, with the volume's GUID; empty when the system names neither.
std::wstring LocationOf(HANDLE file);

// The length of the part of `path` (in the "\\?\" form) that names the root of the volume the name
// ends on, its last backslash included: the drive's root ("\\?\C:\"), or the folder another volume is
// mounted in ("\\?\C:\mnt\"), as GetVolumePathNameW tells it; 0 where `path` names no disk file.
std::size_t MountedRootLength(const std::wstring& path);

// Opens the root of the volume whose root `root` names (as MountedRootLength gives it): a folder that
// a volume is mounted in is followed to that volume's root.
OpenedHandle OpenVolumeRoot(const std::wstring& root);

// What "\SystemRoot" and the volumes' devices stand for on this system (GetSystemWindowsDirectoryW, and
// QueryDosDeviceW for each drive letter and volume name); what cannot be told is left out.
SystemNames SystemNamesNow();

// The open file's name on its volume as the file system tells it ("\d\f.txt", every link on the way
// resolved); empty when the system does not tell it.
std::wstring NameOnVolume(HANDLE file);

// The tag of the open file's reparse point, read from the handle; nothing where the system does not
// tell it.
std::optional<std::uint32_t> ReparseTagOf(HANDLE file);

// Whether the open file lies on a drive the system calls removable (GetDriveTypeW: DRIVE_REMOVABLE, as
// USB sticks and memory cards are), judged by the root of its final path.
bool OnRemovableMedium(HANDLE file);

// Whether two names are one name, letter case compared as the file system compares names
// (CompareStringOrdinal with case ignored, which knows letters beyond ASCII).
bool SameNames(std::wstring_view a, std::wstring_view b);

// `path` (in the "\\?\" form) with the short names (PROGRA~1) of its longest part that exists made
// long; the rest as it is.
std::wstring LongPathName(const std::wstring& path);

// Makes `path` absolute with GetFullPathNameW, however long it is; the text unchanged when the system
// cannot resolve it.
std::wstring FullPathName(const std::wstring& path);

// The absolute path that names exactly the file `path` names. A name in the "\\?\" form is taken as it
// is. Names ending in a dot or a space keep it, where GetFullPathNameW would drop it and so name
// another file; everything else is resolved as GetFullPathNameW does.
std::wstring ExactFullPath(const std::wstring& path);

// kernel32's Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection (bound as Libraries.h
// says). The 64-bit build has no redirection to switch off, and a Windows without WoW64 may lack the
// functions: there both do nothing.
class Wow64Redirection final : public FsRedirection {
public:
    bool Disable(void*& previous) override;
    void Revert(void* previous) override;
};

// kernel32's MoveFileExA, bound at its first call (Libraries.h). The call itself runs with file-system
// redirection off, so that it acts on the paths as given. A name is judged as the call reads it: taken
// back from the ANSI code page and made absolute by the system's own rules (GetFullPathNameW).
class Kernel32MoveFile final : public MoveFileApi {
public:
    explicit Kernel32MoveFile(FsRedirection& redirection) : redirection_(redirection) {}
    std::int32_t MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) override;
    bool IsDiskFileName(const char* name) override;

private:
    FsRedirection& redirection_;
};

}  // namespace tarvolen::win32
