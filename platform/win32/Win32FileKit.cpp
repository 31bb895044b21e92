#include <string_view>

#include "platform/PathText.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"

namespace tarvolen::win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool HasWildcard(std::wstring_view path) {
    // The "\\?\" prefix of literal names holds a question mark that is no wildcard.
    if (IsLiteralPath(path)) {
        path.remove_prefix(4);
    }
    return path.find_first_of(L"*?") != std::wstring_view::npos;
}

// Errors of a file that some process holds open (or runs) and that a restart would free.
bool IsInUseError(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

bool IsNotFoundError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Opens what `path` names itself: a link at its end is opened as the link, not followed, and a folder
// opens too, so that it can be told from a file.
UniqueHandle OpenUnfollowed(const std::wstring& path, DWORD access) {
    return UniqueHandle(::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The same with the right to read attributes and, where it is granted, to change them (to clear a
// read-only attribute and put it back). Neither right is held back by programs that have the file open.
UniqueHandle OpenWithAttributes(const std::wstring& path, DWORD access) {
    UniqueHandle file = OpenUnfollowed(path, access | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    if (!file && ::GetLastError() == ERROR_ACCESS_DENIED) {
        file = OpenUnfollowed(path, access | FILE_READ_ATTRIBUTES);
    }
    return file;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return {information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

// Whether `path`, opened without following a link at its end, is the file `identity` names.
bool LeadsTo(const std::wstring& path, const FileIdentity& identity) {
    const UniqueHandle file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION information{};
    return file && ::GetFileInformationByHandle(file.get(), &information) &&
           IdentityOf(information) == identity;
}

bool SetAttributes(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // times of zero stay as they are
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

// The final path of an open file, with the volume named as `volumeName` says; empty when the system
// has no such name for it.
std::wstring FinalPath(HANDLE file, DWORD volumeName) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), volumeName);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);  // `length` counts the terminating null here
    }
}

struct Scheduled {
    bool done = false;
    DWORD error = ERROR_SUCCESS;
    std::wstring_view reason{};
};

// Records the removal of the open file `file` for the next restart, under a name that leads to this
// very file then: its final path, checked once more by opening it.
Scheduled ScheduleForRestart(HANDLE file, const FileIdentity& identity) {
    std::wstring guidPath = FinalPath(file, VOLUME_NAME_GUID);
    if (!guidPath.empty() && !LeadsTo(guidPath, identity)) {
        guidPath.clear();  // a volume name that cannot be opened (Wine gives such names)
    }
    const RestartName target = RestartNameFor(guidPath, FinalPath(file, VOLUME_NAME_DOS));
    if (!target.refusal.empty()) {
        return {.reason = target.refusal};
    }
    if (!LeadsTo(target.name, identity)) {
        return {.reason = removal_reason::kNoLastingName};
    }
    if (!::MoveFileExW(target.name.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        return {.error = ::GetLastError()};
    }
    return {.done = true};
}

}  // namespace

KitFlag Win32FileKit::FileExists(std::wstring path) {
    judgedPath_.clear();
    judgedFile_.reset();
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
    // is a file here. Opening for attributes alone does not disturb a file that others hold open, and a
    // link at the end is looked at itself: nothing it names is contacted.
    const UniqueHandle file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    if (!file) {
        // A file that others hold or that refuses even this look is still a file, though one that
        // cannot be told apart later; a device that is not there answers "not found".
        const DWORD error = ::GetLastError();
        return IsInUseError(error) || error == ERROR_ACCESS_DENIED ? kKitTrue : kKitFalse;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return kKitFalse;
    }
    judgedPath_ = path;
    judgedFile_ = IdentityOf(information);
    return kKitTrue;
}

KitFlag Win32FileKit::RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                                 KitFlag& scheduledForRestart, std::wstring& errorText) {
    scheduledForRestart = kKitFalse;
    errorText.clear();
    // The file found under this name is the one to remove; a name never looked at is taken as it is now.
    const std::optional<FileIdentity> expected = path == judgedPath_ ? judgedFile_ : std::nullopt;
    const Outcome outcome = WithoutRedirection(redirection_, [&] {
        return RemoveOrSchedule(path, expected, clearReadOnly != kKitFalse, allowRestart != kKitFalse,
                                scheduledForRestart);
    });
    if (outcome.done) {
        return kKitTrue;
    }
    // The reasons are put into words only now: that may load message resources, which must come from
    // this process's own system folder. Why it could not be removed now comes first, then why it could
    // not be left for the restart either.
    for (const DWORD error : {outcome.error, outcome.scheduleError}) {
        if (error != ERROR_SUCCESS) {
            errorText += (errorText.empty() ? L"" : L"\r\n") + SystemErrorText(error);
        }
    }
    if (!outcome.reason.empty()) {
        errorText += (errorText.empty() ? L"" : L"\r\n") + std::wstring(outcome.reason);
    }
    return kKitFalse;
}

Win32FileKit::Outcome Win32FileKit::RemoveOrSchedule(const std::wstring& path,
                                                     const std::optional<FileIdentity>& expected,
                                                     bool clearReadOnly, bool allowRestart,
                                                     KitFlag& scheduledForRestart) {
    // One handle for everything that follows, so that no name is looked up again once the file is
    // known to be the one expected.
    UniqueHandle file = OpenWithAttributes(path, DELETE);
    const bool deleteAccess = static_cast<bool>(file);
    DWORD error = deleteAccess ? ERROR_SUCCESS : ::GetLastError();
    if (!file && IsInUseError(error)) {
        // Others hold the file: it can still be looked at, to be left for the restart.
        file = OpenWithAttributes(path, 0);
    }
    if (!file) {
        if (expected && IsNotFoundError(error)) {
            return {.reason = removal_reason::kGone};
        }
        return {.error = error};
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.get(), &information)) {
        return {.error = ::GetLastError()};
    }
    const FileIdentity identity = IdentityOf(information);
    if (expected && *expected != identity) {
        return {.reason = removal_reason::kAnotherFile};
    }
    const DWORD attributes = information.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {.error = ERROR_ACCESS_DENIED};  // what removing a folder as a file answers
    }

    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const bool readOnlyCleared =
        clearReadOnly && readOnly && SetAttributes(file.get(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (deleteAccess) {
        FILE_DISPOSITION_INFO disposition{TRUE};
        if (::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
            // The name goes when the handle closes. The file itself lives on where it has another name,
            // or where the name was one of its streams, and keeps its attribute there.
            if (readOnlyCleared) {
                SetAttributes(file.get(), attributes);
            }
            return {.done = true};
        }
        error = ::GetLastError();
    }

    // Access denied on a handle that was granted DELETE means the file is held (for instance a running
    // program's image), unless it is still read-only.
    const bool inUse = IsInUseError(error) ||
                       (deleteAccess && error == ERROR_ACCESS_DENIED && (!readOnly || readOnlyCleared));
    Outcome outcome{.error = error};
    if (allowRestart && inUse) {
        if (readOnlyCleared && information.nNumberOfLinks > 1) {
            // The restart can only remove a file that is not read-only, and the other names would lose
            // the attribute with it.
            outcome.reason = removal_reason::kReadOnlyWithOtherNames;
        } else {
            const Scheduled scheduled = ScheduleForRestart(file.get(), identity);
            if (scheduled.done) {
                // Left writable, so that the restart can remove it.
                scheduledForRestart = kKitTrue;
                return {.done = true};
            }
            outcome.scheduleError = scheduled.error;
            outcome.reason = scheduled.reason;
        }
    }
    if (readOnlyCleared) {
        SetAttributes(file.get(), attributes);
    }
    return outcome;
}

}  // namespace tarvolen::win32
