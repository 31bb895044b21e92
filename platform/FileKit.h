#pragma once

#include <string>

#include "platform/KitTypes.h"

namespace tarvolen {

// File services: existence test and removal with fall-back to removal at the next restart.
class FileKit {
public:
    virtual ~FileKit() = default;

    // Non-zero exactly when `path` names an existing regular file: not a folder, not a device such as
    // NUL or COM1, not a wildcard pattern.
    virtual KitFlag FileExists(std::wstring path) = 0;

    // Removes the file at once. With `clearReadOnly` a read-only attribute is cleared first (and put
    // back when in the end nothing was removed or scheduled). With `allowRestart` a file that is in use
    // is scheduled for removal at the next restart instead, and `scheduledForRestart` says so.
    // Returns zero when neither happened; `errorText` then holds the reason in the system's words.
    virtual KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                               KitFlag& scheduledForRestart, std::wstring& errorText) = 0;
};

}  // namespace tarvolen
