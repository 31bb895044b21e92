// FileKit on Windows: files judged, held, compared and removed through one handle, with redirection off.
#include "platform/win32/Win32FileKit.h"

#include <string_view>

#include "platform/PathText.h"
#include "platform/RemovalReasons.h"
#include "platform/RemovalRules.h"
#include "platform/RestartName.h"
#include "platform/win32/FileHandles.h"
#include "platform/win32/FullPathName.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/SystemLibrary.h"

namespace tarvolen::win32 {

namespace {

static_assert(system_error::kAccessDenied == ERROR_ACCESS_DENIED &&
              system_error::kSharingViolation == ERROR_SHARING_VIOLATION &&
              system_error::kLockViolation == ERROR_LOCK_VIOLATION);

// FILE_DISPOSITION_INFO_EX, its information class and flags, which the headers declare for Windows 10
// only.
struct FileDispositionInformationEx {
    DWORD flags;
};
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;

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

// The name the file functions get: the "\\?\" form of the absolute path, so that a path longer than
// 260 characters is found too. A name given in that form is taken as it is.
std::wstring KitPath(const std::wstring& path) {
    return IsLiteralPath(path) ? path : ExtendedLengthPath(FullPathName(path));
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

// Whether `path`, opened without following a link at its end, is the file `identity` names.
bool LeadsTo(const std::wstring& path, const FileIdentity& identity) {
    const UniqueHandle file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    return file && IdentityOf(file.get()) == identity;
}

// Whether another program has deleted the file while it was held: its name then stays until the last
// handle closes, and cannot be opened meanwhile.
bool IsDeletePending(HANDLE file) {
    FILE_STANDARD_INFO standard{};
    return file != nullptr &&
           ::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
           standard.DeletePending;
}

bool SetAttributes(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // times of zero stay as they are
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

bool SetDeleteOnClose(HANDLE file, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Marks the open file for removal when this handle closes. With POSIX semantics the name goes at that
// moment, even while other programs (an indexer, a virus scanner, a preview) still hold the file open
// letting others delete it; only then is "removed" true when it is said. Where the system refuses them
// (before Windows 10 1709, file systems without them), the classic way removes the name only once the
// last handle to the file is closed.
bool MarkForRemoval(HANDLE file) {
    FileDispositionInformationEx posix{kDispositionDelete | kDispositionPosixSemantics};
    return ::SetFileInformationByHandle(file, kFileDispositionInfoEx, &posix, sizeof posix) != 0 ||
           SetDeleteOnClose(file, true);
}

struct Scheduled {
    bool done = false;
    DWORD error = ERROR_SUCCESS;
    std::wstring_view reason{};
};

// Records the removal of the open file `file` for the next restart, under a name that leads to this
// very file then: its final path, checked once more by opening it.
Scheduled ScheduleForRestart(HANDLE file, const FileIdentity& identity) {
    const std::wstring dosPath = FinalPath(file, VOLUME_NAME_DOS);
    std::wstring guidPath;
    if (!IsDriveFinalPath(dosPath)) {
        guidPath = FinalPath(file, VOLUME_NAME_GUID);
        if (!guidPath.empty() && !LeadsTo(guidPath, identity)) {
            guidPath.clear();  // a volume name that cannot be opened
        }
    }
    const RestartName target = RestartNameFor(guidPath, dosPath);
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

// Whether the process runs with an administrator's full rights ("Run as administrator"). advapi32 is
// loaded for the question only, from the system folder.
bool IsElevated() {
    const UniqueModule advapi32(::LoadLibraryW(SystemLibraryPath(L"advapi32.dll").c_str()));
    if (!advapi32) {
        return false;
    }
    using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using GetTokenInformationFunction = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    const auto openProcessToken = reinterpret_cast<OpenProcessTokenFunction>(
        reinterpret_cast<void*>(::GetProcAddress(advapi32.get(), "OpenProcessToken")));
    const auto getTokenInformation = reinterpret_cast<GetTokenInformationFunction>(
        reinterpret_cast<void*>(::GetProcAddress(advapi32.get(), "GetTokenInformation")));
    HANDLE token = nullptr;
    if (openProcessToken == nullptr || getTokenInformation == nullptr ||
        !openProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    const UniqueHandle ownedToken(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return getTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

}  // namespace

Win32FileKit::Judged Win32FileKit::Judge(const std::wstring& path) {
    Judged judged;
    // Only a file on a disk is a file here. Device, pipe and mailslot names are refused before anything
    // looks at them, so that nothing behind them is contacted.
    if (!NamesADiskFile(path)) {
        judged.error = ERROR_FILE_NOT_FOUND;
        return judged;
    }
    if (HasWildcard(path)) {
        judged.error = ERROR_INVALID_NAME;
        return judged;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        // A file that others hold, or that the user may not look at, is there all the same; opening it
        // below tells more.
        if (const DWORD error = ::GetLastError(); !FailureShowsAFile(error)) {
            judged.error = error;
            return judged;
        }
    } else if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        judged.error = ERROR_ACCESS_DENIED;  // what removing a folder as a file answers
        return judged;
    }
    // A link at the end is looked at itself: nothing it names is contacted. The file is
    // held with the right to read its data: only such a handle keeps the file itself (under Wine, its
    // Unix file) from being given up while the question is up, so that no new file can take its name
    // and number. Everyone may read, write and delete it meanwhile; only a program that opens it
    // without letting others read is refused until the question is answered. A file that others hold
    // without letting anyone read it is held with attribute rights alone.
    UniqueHandle file = OpenUnfollowed(path, FILE_READ_DATA | FILE_READ_ATTRIBUTES);
    if (!file && FailureShowsAFile(::GetLastError())) {
        file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    }
    if (!file) {
        // A file that others hold or that refuses even this look is still a file, though one that
        // cannot be told apart later, and so is never removed.
        if (const DWORD error = ::GetLastError(); !FailureShowsAFile(error)) {
            judged.error = error;
        }
        return judged;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.get(), &information)) {
        judged.error = ERROR_INVALID_NAME;
        return judged;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        judged.error = ERROR_ACCESS_DENIED;
        return judged;
    }
    judged.identity = IdentityOf(file.get());
    judged.held = std::move(file);
    return judged;
}

KitFlag Win32FileKit::FileExists(std::wstring path) {
    judgedPath_.clear();
    judged_ = {};
    const std::wstring target = KitPath(path);
    judged_ = WithoutRedirection(redirection_, [&] { return Judge(target); });
    judgedPath_ = std::move(path);
    return judged_.error == ERROR_SUCCESS ? kKitTrue : kKitFalse;
}

KitFlag Win32FileKit::RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                                 KitFlag& scheduledForRestart, std::wstring& errorText) {
    scheduledForRestart = kKitFalse;
    errorText.clear();
    // The file found under this name is the one to remove; a name never looked at is looked at now.
    const bool wasJudged = path == judgedPath_;
    Judged judged = wasJudged ? std::move(judged_) : Judged{};
    judgedPath_.clear();
    judged_ = {};
    const std::wstring target = KitPath(path);
    const Outcome outcome = WithoutRedirection(redirection_, [&] {
        if (!wasJudged) {
            judged = Judge(target);
        }
        if (judged.error != ERROR_SUCCESS) {
            return Outcome{.error = judged.error};
        }
        return RemoveOrSchedule(target, judged, clearReadOnly != kKitFalse, allowRestart != kKitFalse,
                                scheduledForRestart);
    });
    // The file is let go before anything is said: a removal waits for the last handle to close.
    judged.held.reset();
    if (outcome.done) {
        return kKitTrue;
    }
    // The reasons are put into words only now: that may load message resources and advapi32, which
    // must come from this process's own system folder. Why it could not be removed now comes first,
    // then why it could not be left for the restart either.
    const auto addLine = [&](std::wstring_view line) {
        if (!line.empty()) {
            errorText += (errorText.empty() ? L"" : L"\r\n") + std::wstring(line);
        }
    };
    for (const DWORD error : {outcome.error, outcome.scheduleError}) {
        if (error != ERROR_SUCCESS) {
            addLine(SystemErrorText(error));
        }
    }
    addLine(outcome.scheduleError == ERROR_ACCESS_DENIED ? ScheduleFailureReason(true, IsElevated())
                                                         : outcome.reason);
    addLine(outcome.afterthought);
    return kKitFalse;
}

Win32FileKit::Outcome Win32FileKit::RemoveOrSchedule(const std::wstring& path, const Judged& judged,
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
        if (IsDeletePending(judged.held.get())) {
            return {.reason = removal_reason::kDeletedMeanwhile};
        }
        if (IsNotFoundError(error)) {
            return {.reason = removal_reason::kGone};
        }
        return {.error = error};
    }
    // The file confirmed, the held file as it is now and the file under the name must be one.
    const std::optional<FileIdentity> heldNow =
        judged.held ? IdentityOf(judged.held.get()) : std::optional<FileIdentity>();
    const std::wstring_view refusal = IdentityRefusal(judged.identity, heldNow, IdentityOf(file.get()));
    if (!refusal.empty()) {
        return {.reason = refusal};
    }
    const FileIdentity& identity = *judged.identity;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.get(), &information)) {
        return {.error = ::GetLastError()};
    }
    const DWORD attributes = information.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {.error = ERROR_ACCESS_DENIED};  // what removing a folder as a file answers
    }

    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const bool readOnlyCleared =
        clearReadOnly && readOnly && SetAttributes(file.get(), attributes & ~FILE_ATTRIBUTE_READONLY);
    // The file lives on after this name is gone where it has another name, or where the name was one of
    // its streams; there it keeps its attribute.
    const bool outlivesTheName = information.nNumberOfLinks > 1 || NamesAStream(path);
    if (deleteAccess) {
        if (MarkForRemoval(file.get())) {
            // The name goes when the handle closes. Where the file lives on, it must not do so without
            // the protection it had; then the name stays, and the user is told.
            if (readOnlyCleared && !SetAttributes(file.get(), attributes) && outlivesTheName &&
                SetDeleteOnClose(file.get(), false)) {
                return {.reason = removal_reason::kReadOnlyNotRestored};
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
        outcome.reason = RestartRefusal({.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                                         .readOnly = readOnly,
                                         .readOnlyCleared = readOnlyCleared,
                                         .nameCount = information.nNumberOfLinks});
        if (outcome.reason.empty()) {
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
    if (readOnlyCleared && !SetAttributes(file.get(), attributes)) {
        outcome.afterthought = removal_reason::kReadOnlyNotRestored;
    }
    return outcome;
}

}  // namespace tarvolen::win32
