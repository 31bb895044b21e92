// FileKit on Windows: files judged, held, compared and removed through one handle, with redirection off.
#include "platform/win32/Win32FileKit.h"

#include <string_view>

#include "platform/filekit/PathForms.h"
#include "platform/filekit/RemovalReasons.h"
#include "platform/filekit/RemovalRules.h"
#include "platform/win32/Files.h"
#include "platform/win32/Libraries.h"
#include "platform/win32/TextAndErrors.h"

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

// Opens `path` itself, as OpenUnfollowed does, with the right to read attributes and, where it is
// granted, to change them (to clear a read-only attribute and put it back). Neither right is held back
// by programs that have the file open.
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
// loaded for the question, from the system folder, when it is first asked.
bool IsElevated() {
    const auto openProcessToken = Bound<SystemFunction::OpenProcessToken>();
    const auto getTokenInformation = Bound<SystemFunction::GetTokenInformation>();
    HANDLE token = nullptr;
    if (!openProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    const UniqueHandle ownedToken(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return getTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// Why `path` names no file, judged from the name and the attributes before the file is opened;
// ERROR_SUCCESS where it may name one. Only a file on a disk is a file here: device, pipe and mailslot
// names are refused before anything looks at them, so that nothing behind them is contacted. A file
// that others hold, or that the user may not look at, is there all the same; opening it tells more.
DWORD RefusalOfTheName(const std::wstring& path) {
    if (!NamesADiskFile(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (HasWildcard(path)) {
        return ERROR_INVALID_NAME;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        return FailureShowsAFile(error) ? ERROR_SUCCESS : error;
    }
    // Removing a folder as a file answers "access denied".
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0
               ? ERROR_ACCESS_DENIED
               : ERROR_SUCCESS;
}

// A link at the end is looked at itself: nothing it names is contacted. The file is held with the
// right to read its data: only such a handle keeps the file itself (under Wine, its Unix file) from
// being given up while the question is up, so that no new file can take its name and number. Everyone
// may read, write and delete it meanwhile; only a program that opens it without letting others read is
// refused until the question is answered. A file that others hold without letting anyone read it is
// held with attribute rights alone.
UniqueHandle OpenToHold(const std::wstring& path) {
    UniqueHandle file = OpenUnfollowed(path, FILE_READ_DATA | FILE_READ_ATTRIBUTES);
    if (!file && FailureShowsAFile(::GetLastError())) {
        file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    }
    return file;
}

JudgedFile Judge(const std::wstring& path) {
    JudgedFile judged;
    judged.error = RefusalOfTheName(path);
    if (judged.error != ERROR_SUCCESS) {
        return judged;
    }
    UniqueHandle file = OpenToHold(path);
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
    } else if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        judged.error = ERROR_ACCESS_DENIED;
    } else {
        judged.identity = IdentityOf(file.get());
        judged.held = std::move(file);
    }
    return judged;
}

// What the file operations of RemoveFile came to, before any of it is put into words.
struct Outcome {
    bool done = false;                    // removed, or scheduled for the restart
    bool scheduled = false;               // ... and it was scheduled
    DWORD error = ERROR_SUCCESS;          // why the file could not be removed at once
    DWORD scheduleError = ERROR_SUCCESS;  // why it could not be left for the restart either
    std::wstring_view reason{};           // the program's own reason, where it has one
    std::wstring_view afterthought{};     // what else went wrong on the way out
};

// The file under the name, opened once for everything that follows, so that no name is looked up again
// once the file is known to be the one expected: with the right to delete it, or, where others hold
// it, only to look at it, so that it can be left for the restart.
struct OpenedFile {
    UniqueHandle file;
    bool deleteAccess = false;
    DWORD error = ERROR_SUCCESS;  // why the right to delete it was not granted
};

OpenedFile OpenForRemoval(const std::wstring& path) {
    OpenedFile opened{.file = OpenWithAttributes(path, DELETE)};
    opened.deleteAccess = static_cast<bool>(opened.file);
    if (!opened.deleteAccess) {
        opened.error = ::GetLastError();
        if (IsInUseError(opened.error)) {
            opened.file = OpenWithAttributes(path, 0);
        }
    }
    return opened;
}

// Why the name could not be opened at all, in the words the user gets.
Outcome NotOpened(const JudgedFile& judged, DWORD error) {
    if (IsDeletePending(judged.held.get())) {
        return {.reason = removal_reason::kDeletedMeanwhile};
    }
    if (IsNotFoundError(error)) {
        return {.reason = removal_reason::kGone};
    }
    return {.error = error};
}

// The file about to be removed, as it is, and its read-only attribute as the removal found it.
struct FileFacts {
    DWORD attributes = 0;
    DWORD nameCount = 1;
    bool readOnly = false;
    bool readOnlyCleared = false;
    // The file lives on after this name is gone where it has another name, or where the name was one
    // of its streams; there it keeps its attribute.
    bool outlivesTheName = false;
};

// Removes the open file at once; nothing when the system refuses (its error is then the last one).
// The name goes when the handle closes. Where the file lives on, it must not do so without the
// protection it had; then the name stays, and the user is told.
std::optional<Outcome> RemoveNow(HANDLE file, const FileFacts& facts) {
    if (!MarkForRemoval(file)) {
        return std::nullopt;
    }
    if (facts.readOnlyCleared && !SetAttributes(file, facts.attributes) && facts.outlivesTheName &&
        SetDeleteOnClose(file, false)) {
        return Outcome{.reason = removal_reason::kReadOnlyNotRestored};
    }
    return Outcome{.done = true};
}

// Leaves a file in use for the restart where the rules let it, with `error` as the reason it could
// not be removed now; a file left for the restart stays writable, so that the restart can remove it.
Outcome LeaveForRestart(HANDLE file, const FileIdentity& identity, const FileFacts& facts, DWORD error) {
    Outcome outcome{.error = error};
    outcome.reason = RestartRefusal({.isLink = (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                                     .readOnly = facts.readOnly,
                                     .readOnlyCleared = facts.readOnlyCleared,
                                     .nameCount = facts.nameCount});
    if (outcome.reason.empty()) {
        const Scheduled scheduled = ScheduleForRestart(file, identity);
        if (scheduled.done) {
            return {.done = true, .scheduled = true};
        }
        outcome.scheduleError = scheduled.error;
        outcome.reason = scheduled.reason;
    }
    return outcome;
}

// What is known of the open file, with its read-only attribute cleared where the caller allows it;
// nothing, with the reason, when it cannot be read or is a folder.
std::optional<FileFacts> Inspect(HANDLE file, const std::wstring& path, bool clearReadOnly,
                                 Outcome& failure) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information)) {
        failure = {.error = ::GetLastError()};
        return std::nullopt;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        failure = {.error = ERROR_ACCESS_DENIED};  // what removing a folder as a file answers
        return std::nullopt;
    }
    FileFacts facts{.attributes = information.dwFileAttributes, .nameCount = information.nNumberOfLinks};
    facts.readOnly = (facts.attributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.readOnlyCleared =
        clearReadOnly && facts.readOnly && SetAttributes(file, facts.attributes & ~FILE_ATTRIBUTE_READONLY);
    facts.outlivesTheName = facts.nameCount > 1 || NamesAStream(path);
    return facts;
}

// Removes the judged file under `path` at once, or leaves it for the restart, or neither.
Outcome RemoveOrSchedule(const std::wstring& path, const JudgedFile& judged, bool clearReadOnly,
                         bool allowRestart) {
    const OpenedFile opened = OpenForRemoval(path);
    if (!opened.file) {
        return NotOpened(judged, opened.error);
    }
    // The file confirmed, the held file as it is now and the file under the name must be one.
    const std::optional<FileIdentity> heldNow =
        judged.held ? IdentityOf(judged.held.get()) : std::optional<FileIdentity>();
    if (const auto refusal = IdentityRefusal(judged.identity, heldNow, IdentityOf(opened.file.get()));
        !refusal.empty()) {
        return {.reason = refusal};
    }
    Outcome outcome;
    const std::optional<FileFacts> facts = Inspect(opened.file.get(), path, clearReadOnly, outcome);
    if (!facts) {
        return outcome;
    }
    DWORD error = opened.error;
    if (opened.deleteAccess) {
        if (std::optional<Outcome> removed = RemoveNow(opened.file.get(), *facts)) {
            return *removed;
        }
        error = ::GetLastError();
    }
    // Access denied on a handle that was granted DELETE means the file is held (for instance a running
    // program's image), unless it is still read-only.
    const bool inUse = IsInUseError(error) || (opened.deleteAccess && error == ERROR_ACCESS_DENIED &&
                                               (!facts->readOnly || facts->readOnlyCleared));
    outcome = allowRestart && inUse ? LeaveForRestart(opened.file.get(), *judged.identity, *facts, error)
                                    : Outcome{.error = error};
    if (!outcome.done && facts->readOnlyCleared && !SetAttributes(opened.file.get(), facts->attributes)) {
        outcome.afterthought = removal_reason::kReadOnlyNotRestored;
    }
    return outcome;
}

// Why nothing was removed, a line each: why the file could not be removed now, then why it could not
// be left for the restart either, then what else went wrong. Put into words only once the file is let
// go: that may load message resources and advapi32, which must come from this process's own system
// folder.
std::wstring ErrorText(const Outcome& outcome) {
    std::wstring text;
    const auto addLine = [&](std::wstring_view line) {
        if (!line.empty()) {
            text += (text.empty() ? L"" : L"\r\n") + std::wstring(line);
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
    return text;
}

}  // namespace

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
    JudgedFile judged = wasJudged ? std::move(judged_) : JudgedFile{};
    judgedPath_.clear();
    judged_ = {};
    const std::wstring target = KitPath(path);
    const Outcome outcome = WithoutRedirection(redirection_, [&] {
        if (!wasJudged) {
            judged = Judge(target);
        }
        return judged.error != ERROR_SUCCESS
                   ? Outcome{.error = judged.error}
                   : RemoveOrSchedule(target, judged, clearReadOnly != kKitFalse, allowRestart != kKitFalse);
    });
    // The file is let go before anything is said: a removal waits for the last handle to close.
    judged.held.reset();
    if (outcome.done) {
        scheduledForRestart = outcome.scheduled ? kKitTrue : kKitFalse;
        return kKitTrue;
    }
    errorText = ErrorText(outcome);
    return kKitFalse;
}

}  // namespace tarvolen::win32
