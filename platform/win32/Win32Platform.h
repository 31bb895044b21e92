#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/CommandLine.h"
#include "platform/FileKit.h"
#include "platform/FsRedirection.h"
#include "platform/MessageBoxService.h"
#include "platform/MoveFileApi.h"
#include "platform/RemovalRules.h"
#include "platform/ShellKit.h"
#include "platform/win32/UniqueResource.h"

namespace tarvolen::win32 {

// Every library loaded by name from now on comes from the system folder only (for a 32-bit process on
// 64-bit Windows: SysWOW64), never from the program's own folder, the current folder or PATH, where
// anyone could have put a library of the same name. Windows 8 and later, and Windows 7 with its
// KB2533623 update, have SetDefaultDllDirectories for that; without it only the current folder leaves
// the search. The first thing the program does, before anything loads a library by name.
void RestrictLibrarySearch();

class Win32CommandLine final : public CommandLine {
public:
    std::wstring ArgumentText() const override;
};

// MessageBoxW, owned by `owner` (borrowed, may be null) so that the box is modal to it.
class Win32MessageBox final : public MessageBoxService {
public:
    explicit Win32MessageBox(HWND owner = nullptr) : owner_(owner) {}
    int Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) override;

private:
    HWND owner_;
};

// kernel32's Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection, looked up at the first
// use. The 64-bit build has no redirection to switch off, and a 32-bit Windows without WoW64 lacks the
// functions: there both do nothing.
class Wow64Redirection final : public FsRedirection {
public:
    bool Disable(void*& previous) override;
    void Revert(void* previous) override;

private:
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    bool lookedUp_ = false;
    DisableFunction disable_ = nullptr;
    RevertFunction revert_ = nullptr;
};

// kernel32's MoveFileExA, looked up at the first call and kept. The call itself runs with file-system
// redirection off, so that it acts on the paths as given.
class Kernel32MoveFile final : public MoveFileApi {
public:
    explicit Kernel32MoveFile(FsRedirection& redirection) : redirection_(redirection) {}
    std::int32_t MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) override;

private:
    using MoveFileExAFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    FsRedirection& redirection_;
    MoveFileExAFunction function_ = nullptr;
};

// Conversion to the code page that the A functions use (CP_ACP).
class Win32AnsiCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsiExactly(std::wstring_view text) override;
};

// Exact conversion of `text` to `codePage`: no best-fit substitution, no default character, and
// converting back gives the same text; otherwise nothing.
std::optional<std::string> ConvertExactly(std::wstring_view text, UINT codePage);

class Win32ShellKit final : public ShellKit {
public:
    std::wstring PathFromCommandLine(std::wstring text) override;
    std::wstring GetSpecialFolder(std::int32_t csidl, std::int32_t token, std::int32_t flags) override;
    std::wstring ShowOpenDialog(std::wstring& initialPath, std::wstring title, WindowHandle owner,
                                std::wstring filter, std::int32_t filterIndex, std::int32_t extraFlags,
                                std::int32_t reserved, KitFlag fileMustExist) override;

private:
    // shell32 and comdlg32 are bound at their first use, so neither mode loads them before it needs them.
    UniqueModule shell32_;
    UniqueModule comdlg32_;
};

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

// The full path of a DLL in the system folder, so that no copy elsewhere (beside the program, in the
// current folder) is ever loaded in its place.
std::wstring SystemLibraryPath(const wchar_t* dllName);

// Makes `path` absolute with GetFullPathNameW, however long it is; the text unchanged when the system
// cannot resolve it.
std::wstring FullPathName(const std::wstring& path);

}  // namespace tarvolen::win32
