#include <string_view>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"

namespace tarvolen::win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool HasWildcard(std::wstring_view path) {
    // The "\\?\" prefix of long paths holds a question mark that is no wildcard.
    if (path.substr(0, 4) == L"\\\\?\\") {
        path.remove_prefix(4);
    }
    return path.find_first_of(L"*?") != std::wstring_view::npos;
}

// Errors of a file that some process holds open (or runs) and that a restart would free.
bool IsInUseError(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// Access denied for a file that can still be opened for deletion means the file is held (for instance
// a running program's image), not that the user lacks the right. A folder never opens this way, so it
// is never mistaken for a file in use.
bool IsHeldDespiteAccess(const std::wstring& path) {
    const UniqueHandle file(::CreateFileW(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return static_cast<bool>(file);
}

}  // namespace

KitFlag Win32FileKit::FileExists(std::wstring path) {
    if (path.empty() || HasWildcard(path)) {
        return kKitFalse;
    }
    const RedirectionOff redirectionOff(redirection_);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return kKitFalse;
    }
    // Device names (NUL, CON, COM1, ...) answer to attribute queries in any folder; only a disk file
    // is a file here. Opening for attributes alone does not disturb a file that others hold open.
    const UniqueHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        // A file that others hold or that refuses even this look is still a file; a device that is
        // not there answers "not found".
        const DWORD error = ::GetLastError();
        return IsInUseError(error) || error == ERROR_ACCESS_DENIED ? kKitTrue : kKitFalse;
    }
    return ::GetFileType(file.get()) == FILE_TYPE_DISK ? kKitTrue : kKitFalse;
}

KitFlag Win32FileKit::RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                                 KitFlag& scheduledForRestart, std::wstring& errorText) {
    scheduledForRestart = kKitFalse;
    errorText.clear();
    const auto [removed, error, scheduleError] = WithoutRedirection(redirection_, [&] {
        return RemoveOrSchedule(path, clearReadOnly != kKitFalse, allowRestart != kKitFalse,
                                scheduledForRestart);
    });
    if (removed) {
        return kKitTrue;
    }
    // The reasons are put into words only now: that may load message resources, which must come from
    // this process's own system folder.
    errorText = SystemErrorText(error);
    if (scheduleError != ERROR_SUCCESS) {
        // Why it could not be removed now, then why it could not be left for the restart either.
        errorText += L"\r\n" + SystemErrorText(scheduleError);
    }
    return kKitFalse;
}

Win32FileKit::Outcome Win32FileKit::RemoveOrSchedule(const std::wstring& path, bool clearReadOnly,
                                                     bool allowRestart, KitFlag& scheduledForRestart) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    bool readOnlyCleared = false;
    if (clearReadOnly && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
        readOnlyCleared =
            ::SetFileAttributesW(path.c_str(), writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable) != 0;
    }

    if (::DeleteFileW(path.c_str())) {
        return {true, ERROR_SUCCESS, ERROR_SUCCESS};
    }
    const DWORD error = ::GetLastError();

    const bool stillReadOnly = (attributes != INVALID_FILE_ATTRIBUTES) &&
                               (attributes & FILE_ATTRIBUTE_READONLY) != 0 && !readOnlyCleared;
    const bool inUse =
        IsInUseError(error) || (error == ERROR_ACCESS_DENIED && !stillReadOnly && IsHeldDespiteAccess(path));
    DWORD scheduleError = ERROR_SUCCESS;
    if (allowRestart && inUse) {
        if (::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            scheduledForRestart = kKitTrue;
            return {true, ERROR_SUCCESS, ERROR_SUCCESS};
        }
        scheduleError = ::GetLastError();
    }

    if (readOnlyCleared) {
        ::SetFileAttributesW(path.c_str(), attributes);
    }
    return {false, error, scheduleError};
}

}  // namespace tarvolen::win32
