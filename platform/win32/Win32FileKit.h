#pragma once
// FileKit on Windows: the file deletion mode asks about is the file it removes, now or at the restart.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileIdentity.h"
#include "platform/FileKit.h"
#include "platform/FsRedirection.h"
#include "platform/win32/UniqueResource.h"

namespace tarvolen::win32 {

// File operations run with file-system redirection off, so that the file named is the file touched,
// and on the "\\?\" form of the path, so that no length limit applies. FileExists keeps the file it
// found open until RemoveFile is done with that name: while it is held, no other file can take over its
// identity. RemoveFile removes that file or nothing, whatever the name has come to lead to in between.
class Win32FileKit final : public FileKit {
public:
    explicit Win32FileKit(FsRedirection& redirection) : redirection_(redirection) {}
    KitFlag FileExists(std::wstring path) override;
    KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                       KitFlag& scheduledForRestart, std::wstring& errorText) override;

private:
    // A file found under a name: held open, and told apart from every other file where it could be.
    struct Judged {
        DWORD error = ERROR_SUCCESS;  // why the name leads to no file, when it does not
        UniqueHandle held;
        std::optional<FileIdentity> identity;
    };
    Judged Judge(const std::wstring& path);

    // What the file operations of RemoveFile came to, before any of it is put into words.
    struct Outcome {
        bool done = false;                    // removed, or scheduled for the restart
        DWORD error = ERROR_SUCCESS;          // why the file could not be removed at once
        DWORD scheduleError = ERROR_SUCCESS;  // why it could not be left for the restart either
        std::wstring_view reason{};           // the program's own reason, where it has one
        std::wstring_view afterthought{};     // what else went wrong on the way out
    };
    static Outcome RemoveOrSchedule(const std::wstring& path, const Judged& judged, bool clearReadOnly,
                                    bool allowRestart, KitFlag& scheduledForRestart);

    FsRedirection& redirection_;
    // The name FileExists was last asked about, and what it found there.
    std::wstring judgedPath_;
    Judged judged_;
};

}  // namespace tarvolen::win32
