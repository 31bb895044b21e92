// Opening a name as itself, identities and final paths, full path names, WoW64 redirection and
// MoveFileExA.
#include "platform/win32/Files.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/filekit/PathForms.h"
#include "platform/win32/Libraries.h"

namespace tarvolen::win32 {

namespace {

// FILE_ID_INFO and its information class, which the headers declare for Windows 8 and later only;
// Windows 7 answers the query with an error, and the 64-bit file index is taken instead.
struct FileIdInformation {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OpenedHandle Opened(HANDLE handle) {
    OpenedHandle opened{.handle = UniqueFile(handle)};
    if (!opened) {
        opened.error = ::GetLastError();
    }
    return opened;
}

// What QueryDosDeviceW stores for the MS-DOS device name `name` (the mappings, the current one first),
// or for null (every such name), each followed by its null; empty where it fails.
std::wstring DosDeviceText(const wchar_t* name) {
    std::wstring text(1024, L'\0');
    for (;;) {
        const DWORD stored = ::QueryDosDeviceW(name, text.data(), static_cast<DWORD>(text.size()));
        if (stored != 0) {
            text.resize(std::min<std::size_t>(stored, text.size()));
            return text;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || text.size() >= (std::size_t{1} << 24)) {
            return {};
        }
        text.assign(text.size() * 2, L'\0');
    }
}

}  // namespace

OpenedHandle OpenUnfollowed(const std::wstring& path, DWORD access) {
    // SECURITY_SQOS_PRESENT shares its bit with FILE_FLAG_OPEN_NO_RECALL: a file kept in remote storage
    // is not fetched back for this open, which only looks at the file and marks it for removal.
    constexpr DWORD kFlags = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS |
                             SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;
    return Opened(::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, kFlags, nullptr));
}

OpenedHandle Reopen(HANDLE file, DWORD access) {
    return Opened(
        ::ReOpenFile(file, access, kShareAll, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
}

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    FileIdInformation wide{};
    if (::GetFileInformationByHandleEx(file, kFileIdInfo, &wide, sizeof wide) &&
        std::any_of(std::begin(wide.fileId), std::end(wide.fileId), [](BYTE b) { return b != 0; })) {
        FileIdentity identity{.volumeSerial = wide.volumeSerialNumber, .wide = true};
        std::copy(std::begin(wide.fileId), std::end(wide.fileId), identity.fileId.begin());
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information) ||
        (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0)) {
        return std::nullopt;
    }
    FileIdentity identity{.volumeSerial = information.dwVolumeSerialNumber};
    const std::uint64_t index = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    for (std::size_t i = 0; i < 8; ++i) {
        identity.fileId[i] = static_cast<std::uint8_t>(index >> (8 * i));
    }
    return identity;
}

std::wstring FinalPath(HANDLE file, DWORD volumeName) {
    return FillGrowingBuffer(
               MAX_PATH,
               [file, volumeName](wchar_t* buffer, std::size_t capacity) {
                   return LengthOrNeeded(
                       ::GetFinalPathNameByHandleW(file, buffer, static_cast<DWORD>(capacity), volumeName),
                       capacity);
               })
        .text;
}

std::wstring LocationOf(HANDLE file) {
    std::wstring location = FinalPath(file, VOLUME_NAME_DOS);
    return location.empty() ? FinalPath(file, VOLUME_NAME_GUID) : location;
}

bool OnRemovableMedium(HANDLE file) {
    const std::wstring location = LocationOf(file);
    const std::wstring root = OrdinaryPath(std::wstring_view(location).substr(0, VolumeRootLength(location)));
    return !root.empty() && ::GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
}

std::wstring NameOnVolume(HANDLE file) {
    // Room for the longest name there is, so that the answer is never cut short.
    std::vector<std::byte> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer.data());
    if (!::GetFileInformationByHandleEx(file, FileNameInfo, buffer.data(),
                                        static_cast<DWORD>(buffer.size()))) {
        return {};
    }
    return std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

std::size_t MountedRootLength(const std::wstring& path) {
    const std::size_t volumeRoot = VolumeRootLength(path);
    // The mount point is part of the name, so the name's own length is room enough.
    std::wstring mounted(path.size() + 2, L'\0');
    if (volumeRoot == 0 ||
        !::GetVolumePathNameW(path.c_str(), mounted.data(), static_cast<DWORD>(mounted.size()))) {
        return volumeRoot;
    }
    mounted = ExtendedLengthPath(mounted.c_str());
    return mounted.size() > volumeRoot && mounted.back() == L'\\' &&
                   SameNames(mounted, std::wstring_view(path).substr(0, mounted.size()))
               ? mounted.size()
               : volumeRoot;
}

OpenedHandle OpenVolumeRoot(const std::wstring& root) {
    return Opened(::CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                                nullptr));
}

SystemNames SystemNamesNow() {
    SystemNames names;
    // The Windows folder all users share, which the system itself runs from ("C:\Windows", or "C:" for
    // a drive's root); GetWindowsDirectoryW may give a user's own one.
    std::wstring& windows = names.windowsFolder;
    windows.resize(::GetSystemWindowsDirectoryW(nullptr, 0));  // its length with the null
    const UINT length = ::GetSystemWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    windows.resize(length < windows.size() ? length : 0);
    if (!windows.empty() && windows.back() == L'\\') {
        windows.pop_back();
    }
    // Each volume's device with the drive letters, then the volume names, that lead to it now.
    const std::wstring dosNames = DosDeviceText(nullptr);
    std::vector<std::pair<std::wstring, std::wstring>> volumeNames;
    for (std::size_t start = 0, end = 0; start < dosNames.size(); start = end + 1) {
        end = std::min(dosNames.find(L'\0', start), dosNames.size());
        const std::wstring name = dosNames.substr(start, end - start);
        const bool drive = name.size() == 2 && name[1] == L':';
        if (!drive && !IsVolumeGuidPath(L"\\\\?\\" + name + L"\\")) {
            continue;
        }
        const std::wstring device = DosDeviceText(name.c_str()).c_str();  // the current mapping
        // Not a substituted drive, which leads to a folder ("\??\C:\d"), nor a network drive, which
        // leads into its redirector ("\Device\LanmanRedirector\;Z:...\server\share").
        if (StartsWithIgnoringCase(device, L"\\Device\\") && device.find(L'\\', 8) == std::wstring::npos) {
            (drive ? names.volumeDevices : volumeNames).emplace_back(device, name);
        }
    }
    names.volumeDevices.insert(names.volumeDevices.end(), volumeNames.begin(), volumeNames.end());
    return names;
}

std::optional<std::uint32_t> ReparseTagOf(HANDLE file) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag)) {
        return std::nullopt;
    }
    return tag.ReparseTag;
}

bool SameNames(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

std::wstring LongPathName(const std::wstring& path) {
    const std::size_t root = VolumeRootLength(path);
    for (std::size_t end = path.size(); root > 0 && end != std::wstring::npos && end >= root;
         end = path.rfind(L'\\', end - 1)) {
        const std::wstring part = path.substr(0, end);
        const FilledText longPart =
            FillGrowingBuffer(part.size() + 1, [&part](wchar_t* buffer, std::size_t capacity) {
                return LengthOrNeeded(::GetLongPathNameW(part.c_str(), buffer, static_cast<DWORD>(capacity)),
                                      capacity);
            });
        if (!longPart.failed() && !longPart.text.empty()) {
            return longPart.text + path.substr(end);
        }
    }
    return path;
}

std::wstring FullPathName(const std::wstring& path) {
    FilledText full = FillGrowingBuffer(
        std::max<std::size_t>(path.size() + 1, MAX_PATH), [&path](wchar_t* buffer, std::size_t capacity) {
            return LengthOrNeeded(
                ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr), capacity);
        });
    return full.failed() || full.text.empty() ? path : std::move(full.text);
}

std::wstring ExactFullPath(const std::wstring& path) {
    if (IsLiteralPath(path)) {
        return path;
    }
    // The mark behind a dot or a space at the end of a name keeps it there, and goes again after.
    std::wstring full = FullPathName(MarkNameEnds(path));
    if (path.find(L'|') == std::wstring::npos) {
        std::erase(full, L'|');
    }
    return full;
}

bool Wow64Redirection::Disable(void*& previous) {
#if defined(_WIN64)
    (void)previous;
    return false;
#else
    const auto disable = Bound<SystemFunction::Wow64DisableWow64FsRedirection>();
    // Outside WoW64 the call fails and there is nothing to put back.
    const bool off = disable != nullptr &&
                     Bound<SystemFunction::Wow64RevertWow64FsRedirection>() != nullptr &&
                     disable(&previous) != FALSE;
    if (off) {
        NoteRedirectionOff(true);
    }
    return off;
#endif
}

void Wow64Redirection::Revert(void* previous) {
    // Called only after Disable succeeded, which found both functions.
    Bound<SystemFunction::Wow64RevertWow64FsRedirection>()(previous);
    NoteRedirectionOff(false);
}

std::int32_t Kernel32MoveFile::MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) {
    const auto moveFileExA = Bound<SystemFunction::MoveFileExA>();
    return WithoutRedirection(redirection_, [&] { return moveFileExA(existing, newName, flags); });
}

bool Kernel32MoveFile::IsDiskFileName(const char* name) {
    if (*name == '\0') {
        return true;  // an empty name names nothing that the call could reach
    }
    const int length = ::MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length <= 0 || ::MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), length) != length) {
        return false;
    }
    wide.pop_back();  // its null
    return NamesADiskFile(ExtendedLengthPath(FullPathName(wide)));
}

}  // namespace tarvolen::win32
