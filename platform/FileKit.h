#pragma once
// Deletion mode finds and removes its one file through this, and nothing else touches files for it.

#include <string>

#include "platform/KitTypes.h"

namespace tarvolen {

// File services: existence test and removal with fall-back to removal at the next restart.
class FileKit {
public:
    virtual ~FileKit() = default;

    // Non-zero exactly when `path` names an existing regular file: not a folder, not a device such as
    // NUL or COM1, not a wildcard pattern. The file found stays held for the RemoveFile call that
    // follows with the same path, which removes that file or nothing.
    virtual KitFlag FileExists(std::wstring path) = 0;

    // Removes the file at once. With `clearReadOnly` a read-only attribute is cleared for the removal and
    // put back wherever the file lives on: when nothing was removed, and when only this name of a file
    // with further names went; a file left for the restart stays writable, so that the restart can
    // remove it. With `allowRestart` a file that is in use is scheduled for removal at the next restart
    // instead, and `scheduledForRestart` says so. Returns zero when neither happened; `errorText` then
    // holds why, a line each: the system's words for its errors, then the program's own reasons.
    virtual KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                               KitFlag& scheduledForRestart, std::wstring& errorText) = 0;

    // After a RemoveFile that found the file in use: the line that names the programs holding it
    // ("Die Datei wird verwendet von: ..."), which a failure's `errorText` ends with already; empty
    // where none can be named, and after any other outcome.
    virtual std::wstring HeldBy() = 0;
};

}  // namespace tarvolen
