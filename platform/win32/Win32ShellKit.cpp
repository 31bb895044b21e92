// ShellKit through shell32 and comdlg32, loaded from the system folder when first needed.
#include "platform/win32/Win32ShellKit.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/filekit/PathForms.h"
#include "platform/win32/Files.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Libraries.h"
#include "platform/win32/TextAndErrors.h"

namespace tarvolen::win32 {

namespace {

// The longest path Windows can hand out, so that no chosen path is ever cut short.
constexpr std::size_t kLongestPath = 32768;

// The process's current folder, however long it is.
std::wstring CurrentFolder() {
    FilledText folder = FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
        return LengthOrNeeded(::GetCurrentDirectoryW(static_cast<DWORD>(capacity), buffer), capacity);
    });
    if (folder.failed() || folder.text.empty()) {
        EndOnFailure("the current folder is unknown", folder.error);
    }
    return std::move(folder.text);
}

// Takes note of the process's current folder and puts it back when it is left, where it still can: a
// folder that has been renamed or removed meanwhile is no error, the process just stays where it is.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() : saved_(CurrentFolder()) {}
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;
    ~CurrentFolderKeeper() { ::SetCurrentDirectoryW(saved_.c_str()); }

private:
    std::wstring saved_;
};

// The path of the file `path` (absolute) names, as it really lies: where a folder on the way is a link
// (a junction, a symbolic link, a mount point) or the drive a substituted one, the folders of the
// file's final path, followed by the name as given; a link at the end is the link itself. `path` as
// it is where its folders are already the real ones (letter case aside), where it names no disk file,
// where nothing is found under it, and where the real place cannot be opened as the same file.
std::wstring RealLocation(const std::wstring& path) {
    const std::wstring name = ExtendedLengthPath(path);
    if (!NamesADiskFile(name)) {
        return path;  // devices and pipes are never opened
    }
    const OpenedHandle file = OpenUnfollowed(name, FILE_READ_ATTRIBUTES);
    const std::optional<std::wstring> real =
        file ? RelocatedPath(name, LocationOf(file.handle.get())) : std::nullopt;
    if (!real) {
        return path;
    }
    const OpenedHandle again = OpenUnfollowed(*real, FILE_READ_ATTRIBUTES);
    const std::optional<FileIdentity> identity = IdentityOf(file.handle.get());
    if (!again || !identity || IdentityOf(again.handle.get()) != identity) {
        return path;
    }
    return IsLiteralPath(path) ? *real : OrdinaryPath(*real);
}

}  // namespace

std::wstring Win32ShellKit::PathFromCommandLine(std::wstring text) {
    const std::wstring stripped = StripCommandLineDecoration(text);
    if (stripped.empty()) {
        return stripped;
    }
    const std::wstring path = ExactFullPath(stripped);
    return WithoutRedirection(redirection_, [&] { return RealLocation(path); });
}

std::wstring Win32ShellKit::GetSpecialFolder(std::int32_t csidl, std::int32_t token, std::int32_t flags) {
    const auto getFolderPath = Bound<SystemFunction::SHGetFolderPathW>();
    // SHGetFolderPathW never writes more than MAX_PATH characters.
    std::wstring path(MAX_PATH, L'\0');
    const HRESULT result =
        getFolderPath(nullptr, csidl, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(token)),
                      static_cast<DWORD>(flags), path.data());
    if (FAILED(result)) {
        EndOnFailure("the special folder could not be found", static_cast<unsigned long>(result));
    }
    path.resize(path.find(L'\0'));
    return path;
}

std::wstring Win32ShellKit::ShowOpenDialog(std::wstring& initialPath, std::wstring title, WindowHandle owner,
                                           std::wstring filter, std::int32_t filterIndex,
                                           std::int32_t extraFlags, std::int32_t reserved,
                                           KitFlag fileMustExist) {
    (void)reserved;
    const auto getOpenFileName = Bound<SystemFunction::GetOpenFileNameW>();
    const auto extendedError = Bound<SystemFunction::CommDlgExtendedError>();

    // The filter list wants its pieces separated by null characters and ends with an empty piece.
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');

    std::vector<wchar_t> file(std::max(kLongestPath, initialPath.size() + 1), L'\0');
    std::copy(initialPath.begin(), initialPath.end(), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | static_cast<DWORD>(extraFlags);
    if (fileMustExist != kKitFalse) {
        dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    }

    // The dialog may move the process into the folder the user browsed to (OFN_NOCHANGEDIR does not
    // prevent that for an open dialog), so the current folder is noted before it and put back after it,
    // however it ends: relative paths typed into the window keep meaning what they meant before.
    const BOOL chosen = [&] {
        const CurrentFolderKeeper currentFolder;
        return getOpenFileName(&dialog);
    }();
    // A dialog whose owner has gone (the window closed under it) was closed with it. Only otherwise is
    // the dialog asked why it ended: with no error, the user cancelled.
    const bool ownerGone = owner != nullptr && !::IsWindow(static_cast<HWND>(owner));
    if (!chosen && !ownerGone) {
        if (const DWORD error = extendedError(); error != 0) {
            EndOnFailure("the file-open dialog failed", error);
        }
    }
    std::optional<std::wstring> shown;
    if (chosen) {
        shown = PathOfFileShown(file.data());
    }
    if (!shown) {
        return {};  // cancelled, or the file shown cannot be named: the start text stays as it was
    }
    initialPath = std::move(*shown);
    return initialPath;
}

// The dialog of a 32-bit program on 64-bit Windows sees System32 as SysWOW64 (and Sysnative as
// System32), while the program's own file operations see every folder as named. Where the two views
// lead the picked name to different files, the path that names the file shown is the final path of
// the file opened as the dialog saw it. Nothing when that file cannot be opened or named. A name that
// leads to no disk file is handed back as it is, unopened.
std::optional<std::wstring> Win32ShellKit::PathOfFileShown(const std::wstring& picked) {
    const std::wstring name = ExtendedLengthPath(picked);
    if (!NamesADiskFile(name)) {
        return picked;
    }
    if (!RedirectionOff(redirection_).WasOn()) {
        return picked;  // one view only: the name means what the dialog showed
    }
    const UniqueFile shown = OpenUnfollowed(name, FILE_READ_ATTRIBUTES).handle;
    const RedirectionOff off(redirection_);
    const UniqueFile named = OpenUnfollowed(name, FILE_READ_ATTRIBUTES).handle;
    if (!shown) {
        return std::nullopt;
    }
    if (named) {
        const std::optional<FileIdentity> shownIdentity = IdentityOf(shown.get());
        const bool same = shownIdentity ? shownIdentity == IdentityOf(named.get())
                                        : FinalPath(shown.get(), VOLUME_NAME_DOS) ==
                                              FinalPath(named.get(), VOLUME_NAME_DOS);
        if (same) {
            return picked;
        }
    }
    const std::wstring finalPath = FinalPath(shown.get(), VOLUME_NAME_DOS);
    if (finalPath.empty()) {
        return std::nullopt;
    }
    return OrdinaryPath(finalPath);
}

}  // namespace tarvolen::win32
