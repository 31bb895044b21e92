// FileKit on Windows: files judged, held, compared and removed through the held handle, redirection off.
#include "platform/win32/Win32FileKit.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/filekit/HoldingProcesses.h"
#include "platform/filekit/PathForms.h"
#include "platform/filekit/PendingRenames.h"
#include "platform/filekit/RemovalReasons.h"
#include "platform/filekit/RemovalRules.h"
#include "platform/win32/Files.h"
#include "platform/win32/Libraries.h"
#include "platform/win32/Registry.h"
#include "platform/win32/RestartManager.h"
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

// The "\\?\" form of the absolute path that the file functions get, so that a path longer than 260
// characters is found too, and a name ending in a dot or a space names that very file.
std::wstring KitPath(const std::wstring& path) { return ExtendedLengthPath(ExactFullPath(path)); }

// The held file opened once more, with `access`, the right to read attributes and, where it is
// granted, to change them (to clear a read-only attribute and put it back). Neither attribute right is
// held back by programs that have the file open. No name is looked up for it.
OpenedHandle ReopenWithAttributes(HANDLE held, DWORD access) {
    OpenedHandle file = Reopen(held, access | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    if (!file && file.error == ERROR_ACCESS_DENIED) {
        file = Reopen(held, access | FILE_READ_ATTRIBUTES);
    }
    return file;
}

// Whether `path`, opened without following a link at its end, is the file `identity` names.
bool LeadsTo(const std::wstring& path, const FileIdentity& identity) {
    const OpenedHandle file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    return file && IdentityOf(file.handle.get()) == identity;
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

// Marks the open file for removal when this handle closes; the system's error where it refuses. With
// POSIX semantics the name goes at that moment, even while other programs (an indexer, a virus
// scanner, a preview) still hold the file open letting others delete it; only then is "removed" true
// when it is said. Where the system refuses them (older systems, file systems without them, Wine 8),
// the classic way removes the name only once the last handle to the file is closed.
DWORD MarkForRemoval(HANDLE file) {
    FileDispositionInformationEx posix{kDispositionDelete | kDispositionPosixSemantics};
    return ::SetFileInformationByHandle(file, kFileDispositionInfoEx, &posix, sizeof posix) != 0 ||
                   SetDeleteOnClose(file, true)
               ? ERROR_SUCCESS
               : ::GetLastError();
}

// What the file operations of RemoveFile came to, before any of it is put into words.
struct Outcome {
    bool done = false;                    // removed, or scheduled for the restart
    bool scheduled = false;               // ... and it was scheduled
    DWORD error = ERROR_SUCCESS;          // why the file could not be removed at once
    DWORD scheduleError = ERROR_SUCCESS;  // why it could not be left for the restart either
    std::wstring_view reason{};           // the program's own reason, where it has one
    std::wstring_view afterthought{};     // what else went wrong on the way out
    std::wstring inUseName{};             // the name to ask who holds the file by, where it is in use
    FileIdentity inUseFile{};             // ... and the file it must lead to
    std::wstring otherFile{};             // the other file of an operation that waits for this one
};

// The restart's list of file operations, read when a removal is to be recorded there.
using ListReader = std::function<RegistryText()>;

// The file whose removal is considered, as the names of the restart's list are judged against it: its
// identity, its own names (the final paths it is held under), and the identities of the folders on
// its way.
struct JudgedFile {
    FileIdentity identity;
    std::vector<std::wstring> ownNames;
    std::vector<FileIdentity> folders;
};

// The identities of the folders on the way to `path`, its volume's root left out, which no operation
// moves.
std::vector<FileIdentity> FoldersOnTheWay(const std::wstring& path) {
    std::vector<FileIdentity> folders;
    const std::size_t root = VolumeRootLength(path);
    for (std::size_t end = root == 0 ? std::wstring::npos : path.find(L'\\', root); end != std::wstring::npos;
         end = path.find(L'\\', end + 1)) {
        const OpenedHandle folder = OpenUnfollowed(path.substr(0, end), FILE_READ_ATTRIBUTES);
        if (const std::optional<FileIdentity> identity =
                folder ? IdentityOf(folder.handle.get()) : std::nullopt) {
            folders.push_back(*identity);
        }
    }
    return folders;
}

// What a name of the restart's list leads to, seen from `file`: where the name can be opened (as
// everywhere, a link at its end as itself, and only a disk file's name), the file or folder it opens,
// told by identity, and the file itself only under one of its own names; else what its text names,
// short names made long where their folders exist.
ListedName JudgeListedName(const std::wstring& path, const JudgedFile& file) {
    if (!NamesADiskFile(path)) {
        return ListedName::kElsewhere;
    }
    const OpenedHandle opened = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    const std::optional<FileIdentity> found = opened ? IdentityOf(opened.handle.get()) : std::nullopt;
    const std::wstring longPath = LongPathName(path);
    if (found && *found == file.identity) {
        return NameOfTheFile(longPath, file.ownNames, SameNames);
    }
    if (found) {
        return std::find(file.folders.begin(), file.folders.end(), *found) != file.folders.end()
                   ? ListedName::kConcernsIt
                   : ListedName::kElsewhere;
    }
    for (const std::wstring& name : file.ownNames) {
        if (const ListedName byText = LeadsByText(longPath, name, SameNames);
            !name.empty() && byText != ListedName::kElsewhere) {
            return byText;
        }
    }
    return ListedName::kElsewhere;
}

// Records the removal of the open file `file` for the next restart, under a name that leads to this
// very file then: its final path, checked once more by opening it. Nothing is recorded where the list
// (`readList`) already holds an operation for the file, under any of its names, or a folder on its way:
// an update that puts a new file in its place would be undone, and a removal already waiting needs no
// second entry. Nor where the restart would stop before the list's end: a removal added behind it would
// never be carried out.
Outcome ScheduleForRestart(HANDLE file, const FileIdentity& identity, const ListReader& readList) {
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
    const RegistryText list = readList();
    if (list.error != ERROR_SUCCESS && list.error != ERROR_FILE_NOT_FOUND) {  // not found: nothing waits
        return {.scheduleError = list.error};
    }
    PendingFor pending = PendingFor::kNothing;
    std::wstring otherFile;
    if (list.error == ERROR_SUCCESS) {
        const JudgedFile judged{.identity = identity,
                                .ownNames = {target.name, dosPath, guidPath},
                                .folders = FoldersOnTheWay(target.name)};
        pending = WhatIsPending(
            list.text, SystemNamesNow(),
            [&judged](const std::wstring& path) { return JudgeListedName(path, judged); }, &otherFile);
    }
    if (pending == PendingFor::kOtherOperation) {
        return {.reason = removal_reason::kOperationWaiting, .otherFile = std::move(otherFile)};
    }
    if (pending == PendingFor::kDamagedList) {
        return {.reason = removal_reason::kDamagedList};
    }
    if (pending == PendingFor::kNothing &&
        !::MoveFileExW(target.name.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        return {.scheduleError = ::GetLastError()};
    }
    return {.done = true, .scheduled = true};
}

// Whether the process runs with an administrator's full rights ("Run as administrator"). advapi32 is
// loaded for the question, from the system folder, when it is first asked.
bool IsElevated() {
    const auto openProcessToken = Bound<SystemFunction::OpenProcessToken>();
    const auto getTokenInformation = Bound<SystemFunction::GetTokenInformation>();
    UniqueHandle token;
    if (!openProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return getTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// Why `path`, in the "\\?\" form, names no file, judged from the name alone; ERROR_SUCCESS where it may
// name one. Only a file on a disk is a file here: device, pipe and mailslot names are refused before
// anything looks at them, so that nothing behind them is contacted.
DWORD RefusalOfTheName(const std::wstring& path) {
    if (!NamesADiskFile(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return HasWildcard(path) ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

// The first and only look at the name is this open, for identification only. A link at the end is
// opened itself: nothing it names is contacted. The file is held with the right to read its data: only
// such a handle keeps the file itself (under Wine, its Unix file) from being given up while the
// question is up, so that no new file can take its name and number. Everyone may read, write and
// delete it meanwhile; a program that opens it without letting others read is refused until the
// question is answered. A file that others already hold without letting anyone read it is held with
// attribute rights alone, and then that program is not refused.
OpenedHandle OpenToHold(const std::wstring& path) {
    OpenedHandle file = OpenUnfollowed(path, FILE_READ_DATA | FILE_READ_ATTRIBUTES);
    if (!file && FailureShowsAFile(file.error)) {
        file = OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    }
    return file;
}

// What FileExists finds under a name: the file, held, or why there is none.
struct Judgement {
    DWORD error = ERROR_SUCCESS;
    HeldFile file;
};

Judgement Judge(std::wstring askedPath) {
    Judgement judged{.file = {.askedPath = std::move(askedPath)}};
    HeldFile& file = judged.file;
    file.kitPath = KitPath(file.askedPath);
    judged.error = RefusalOfTheName(file.kitPath);
    if (judged.error != ERROR_SUCCESS) {
        return judged;
    }
    OpenedHandle opened = OpenToHold(file.kitPath);
    if (!opened) {
        // A file that others hold, or that refuses even this look (access denied), is still a file,
        // though one that cannot be told apart later, and so is never removed.
        (FailureShowsAFile(opened.error) ? file.holdError : judged.error) = opened.error;
        return judged;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(opened.handle.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(opened.handle.get(), &information)) {
        judged.error = ERROR_INVALID_NAME;
    } else if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        judged.error = ERROR_ACCESS_DENIED;  // what removing a folder as a file answers
    } else {
        file.identity = IdentityOf(opened.handle.get());
        file.handle = std::move(opened.handle);
    }
    return judged;
}

// Why the name could not be opened, or the held file not reopened, in the words the user gets.
Outcome NotOpened(const HeldFile& file, DWORD error) {
    if (IsDeletePending(file.handle.get())) {
        return {.reason = removal_reason::kDeletedMeanwhile};
    }
    if (IsNotFoundError(error)) {
        return {.reason = removal_reason::kGone};
    }
    return {.error = error};
}

// Whether the held file lies where its name says, on the volume the name's root opens (the drive's, or
// that of the volume mounted in a folder on the way, where the name ends on it), told by the
// file system's own name of the file there, which holds no links: in the folder the name gives, and
// under the last name given (or its long form), so that a link at the end that was followed (as Wine
// follows a Unix link) counts as another file. Nothing where it cannot be told.
std::optional<bool> LiesWhereNamed(const HeldFile& file) {
    const std::size_t rootLength = MountedRootLength(file.kitPath);
    const OpenedHandle root = OpenVolumeRoot(file.kitPath.substr(0, rootLength));
    BY_HANDLE_FILE_INFORMATION rootInformation{};
    BY_HANDLE_FILE_INFORMATION fileInformation{};
    const std::wstring rootName = root ? NameOnVolume(root.handle.get()) : std::wstring();
    const std::wstring fileName = NameOnVolume(file.handle.get());
    if (rootName.empty() || fileName.empty() ||
        !::GetFileInformationByHandle(root.handle.get(), &rootInformation) ||
        !::GetFileInformationByHandle(file.handle.get(), &fileInformation)) {
        return std::nullopt;
    }
    const std::wstring_view lastOnVolume = LastName(fileName);
    // A folder a volume is mounted in leads to that volume's own root, and to nothing else.
    const bool mountedInAFolder = rootLength != VolumeRootLength(file.kitPath);
    return (!mountedInAFolder || rootName == L"\\") &&
           rootInformation.dwVolumeSerialNumber == fileInformation.dwVolumeSerialNumber &&
           LiesInNamedFolder(file.kitPath, rootName, fileName, rootLength) &&
           (SameLastName(file.kitPath, lastOnVolume, SameNames) ||
            SameLastName(LongPathName(file.kitPath), lastOnVolume, SameNames));
}

// Why the held file must not be removed as the one confirmed, or nothing. The file confirmed, the held
// file as it is now and the file now under the name must be one; and it must lie where the name says,
// so that no link on the way, made before the question or since, has led to a file elsewhere.
std::optional<Outcome> Refusal(const HeldFile& file) {
    if (!file.handle) {
        return Outcome{.error = file.holdError, .reason = removal_reason::kNotIdentified};
    }
    const OpenedHandle found = OpenUnfollowed(file.kitPath, FILE_READ_ATTRIBUTES);
    if (!found) {
        return NotOpened(file, found.error);
    }
    if (const auto refusal =
            IdentityRefusal(file.identity, IdentityOf(file.handle.get()), IdentityOf(found.handle.get()));
        !refusal.empty()) {
        return Outcome{.reason = refusal};
    }
    if (const std::optional<bool> named = LiesWhereNamed(file); !named) {
        return Outcome{.reason = removal_reason::kNotIdentified};
    } else if (!*named) {
        return Outcome{.reason = removal_reason::kAnotherFile};
    }
    return std::nullopt;
}

// The held file opened once more for everything that follows: with the right to delete it, or, where
// others hold it, only to look at it, so that it can be left for the restart.
struct OpenedFile {
    UniqueFile file;
    bool deleteAccess = false;
    DWORD error = ERROR_SUCCESS;  // why the right to delete it was not granted
};

OpenedFile ReopenForRemoval(HANDLE held) {
    OpenedHandle withDelete = ReopenWithAttributes(held, DELETE);
    OpenedFile opened{.file = std::move(withDelete.handle), .error = withDelete.error};
    opened.deleteAccess = static_cast<bool>(opened.file);
    if (!opened.deleteAccess && IsInUseError(opened.error)) {
        opened.file = ReopenWithAttributes(held, 0).handle;
    }
    return opened;
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

// Removes the open file at once; nothing, with the system's error in `refused`, when the system
// refuses. The name goes when the handle closes. Where the file lives on, it must not do so without
// the protection it had; then the name stays, and the user is told.
std::optional<Outcome> RemoveNow(HANDLE file, const FileFacts& facts, DWORD& refused) {
    refused = MarkForRemoval(file);
    if (refused != ERROR_SUCCESS) {
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
Outcome LeaveForRestart(HANDLE file, const FileIdentity& identity, const FileFacts& facts, DWORD error,
                        const ListReader& readList) {
    Outcome outcome{.error = error};
    const bool reparsePoint = (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    outcome.reason = RestartRefusal({.reparsePoint = reparsePoint,
                                     .reparseTag = reparsePoint ? ReparseTagOf(file) : std::nullopt,
                                     .readOnly = facts.readOnly,
                                     .readOnlyCleared = facts.readOnlyCleared,
                                     .nameCount = facts.nameCount,
                                     .removableMedium = OnRemovableMedium(file)});
    if (outcome.reason.empty()) {
        outcome = ScheduleForRestart(file, identity, readList);
        outcome.error = outcome.done ? ERROR_SUCCESS : error;
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

// Removes the held file at once, or leaves it for the restart (only where `readList` is given), or
// neither. The file is used up: it is let go when this returns, before anything is said, as a removal
// waits for the last handle to close.
Outcome RemoveOrSchedule(HeldFile file, bool clearReadOnly, const ListReader* readList) {
    if (std::optional<Outcome> refusal = Refusal(file)) {
        return *refusal;
    }
    const OpenedFile opened = ReopenForRemoval(file.handle.get());
    if (!opened.file) {
        return NotOpened(file, opened.error);
    }
    Outcome outcome;
    const std::optional<FileFacts> facts = Inspect(opened.file.get(), file.kitPath, clearReadOnly, outcome);
    if (!facts) {
        return outcome;
    }
    DWORD error = opened.error;
    if (opened.deleteAccess) {
        if (std::optional<Outcome> removed = RemoveNow(opened.file.get(), *facts, error)) {
            return *removed;
        }
    }
    // Access denied on a handle that was granted DELETE means the file is held (for instance a running
    // program's image), unless it is still read-only.
    const bool inUse = IsInUseError(error) || (opened.deleteAccess && error == ERROR_ACCESS_DENIED &&
                                               (!facts->readOnly || facts->readOnlyCleared));
    outcome = readList != nullptr && inUse
                  ? LeaveForRestart(opened.file.get(), *file.identity, *facts, error, *readList)
                  : Outcome{.error = error};
    if (inUse) {
        outcome.inUseName = NameToAskAbout(FinalPath(opened.file.get(), VOLUME_NAME_DOS), FullPathName);
        outcome.inUseFile = *file.identity;
    }
    if (!outcome.done && facts->readOnlyCleared && !SetAttributes(opened.file.get(), facts->attributes)) {
        outcome.afterthought = removal_reason::kReadOnlyNotRestored;
    }
    return outcome;
}

// Why nothing was removed, a line each: why the file could not be removed now, then why it could not
// be left for the restart either, then what else went wrong. Put into words only once the file is let
// go and redirection is back on: that may load message resources and advapi32, which must come from
// this process's own system folder.
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
    if (!outcome.otherFile.empty()) {
        addLine(std::wstring(removal_reason::kOperationsOtherFile) + outcome.otherFile);
    }
    addLine(outcome.afterthought);
    return text;
}

}  // namespace

KitFlag Win32FileKit::FileExists(std::wstring path) {
    held_.reset();
    Judgement judged = WithoutRedirection(redirection_, [&] { return Judge(std::move(path)); });
    if (judged.error != ERROR_SUCCESS) {
        return kKitFalse;
    }
    held_ = std::move(judged.file);
    return kKitTrue;
}

KitFlag Win32FileKit::RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                                 KitFlag& scheduledForRestart, std::wstring& errorText) {
    scheduledForRestart = kKitFalse;
    errorText.clear();
    heldBy_.clear();
    // The file FileExists found under this name is the one to remove; a name it was not asked about is
    // looked at now.
    std::optional<HeldFile> held = std::exchange(held_, std::nullopt);
    if (held && held->askedPath != path) {
        held.reset();
    }
    const Outcome outcome = [&] {
        RedirectionOff off(redirection_);
        // The restart's list is read with redirection off, where no library may be loaded (a 32-bit
        // process would get a 64-bit one): advapi32, which reads it, is bound with redirection back on
        // for that moment, and only where the list must be read.
        const ListReader readList = [&off] {
            const auto getValue = off.WhileOn([] { return Bound<SystemFunction::RegGetValueW>(); });
            return ReadMultiString(getValue, HKEY_LOCAL_MACHINE,
                                   L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                   L"PendingFileRenameOperations");
        };
        if (!held) {
            Judgement judged = Judge(std::move(path));
            if (judged.error != ERROR_SUCCESS) {
                return Outcome{.error = judged.error};
            }
            held = std::move(judged.file);
        }
        return RemoveOrSchedule(*std::exchange(held, std::nullopt), clearReadOnly != kKitFalse,
                                allowRestart != kKitFalse ? &readList : nullptr);
    }();
    // Who holds a file in use is asked once redirection is back on: rstrtmgr is loaded only then, and
    // the Restart Manager must be called with it on.
    if (!outcome.inUseName.empty()) {
        heldBy_ = HoldersLine(HoldersOf(outcome.inUseName, outcome.inUseFile), ::GetCurrentProcessId());
    }
    if (outcome.done) {
        scheduledForRestart = outcome.scheduled ? kKitTrue : kKitFalse;
        return kKitTrue;
    }
    errorText = ErrorText(outcome);
    if (!heldBy_.empty()) {
        errorText += (errorText.empty() ? L"" : L"\r\n") + heldBy_;
    }
    return kKitFalse;
}

std::wstring Win32FileKit::HeldBy() { return heldBy_; }

}  // namespace tarvolen::win32
