#pragma once
// Libraries come from the system folder only, never from beside the program, and every function the
// program binds at run time is listed here, with its library and what happens when it is missing.

#include <windows.h>
// The SDK's declarations of the table's functions that windows.h leaves out (WIN32_LEAN_AND_MEAN).
#include <commdlg.h>
#include <restartmanager.h>
#include <shlobj.h>

namespace tarvolen::win32 {

// Every library loaded by name from now on comes from the system folder only (for a 32-bit process on
// 64-bit Windows: SysWOW64), never from the program's own folder, the current folder or PATH, where
// anyone could have put a library of the same name. Windows 8 and later, and Windows 7 with its
// KB2533623 update, have SetDefaultDllDirectories for that; without it only the current folder leaves
// the search. The first thing the program does, before anything loads a library by name.
void RestrictLibrarySearch();

// Every function the program binds at run time instead of importing it: its name, its library and what
// happens when this Windows lacks it. Its type is the SDK's declaration of it (decltype(&::Name)). To
// bind another function, add its line here (a library new to the table also gets its line in
// Libraries.cpp) and call Bound<SystemFunction::Name>(); nothing else in the program loads a library or
// looks up a function.
//
// One lifetime: a library is loaded by its full path in the system folder at the first use of one of
// its functions and kept until the program ends; a function is looked up once, at its first use. So
// shell32 and comdlg32 are loaded only when the "..." dialog is first used, and deletion mode loads
// neither; rstrtmgr only once a file is found in use. Never while WoW64 redirection is off
// (NoteRedirectionOff): bind first, then switch it off.
//
// One rule for a missing function (or library), given in the last column:
// - Fallback: older Windows lacks it. Bound() answers null, and the caller does what Windows documents
//   for that case, written beside it here.
// - Required: the program cannot work without it. Bound() ends the program (EndOnFailure) with a text that
//   names the function and its library, with the system's error (module or procedure not found).
//
// clang-format off
#define TARVOLEN_SYSTEM_FUNCTIONS(F)                                                                       \
    /* Windows 8 and later, Windows 7 with KB2533623. Fallback: SetDllDirectoryW(L""), which            */ \
    /* takes at least the current folder out of the search (RestrictLibrarySearch).                     */ \
    F(SetDefaultDllDirectories,       kernel32, Fallback)                                                  \
    /* Windows Vista and later. Fallback: without them there is no WoW64, and so no redirection to      */ \
    /* switch off (Wow64Redirection).                                                                   */ \
    F(Wow64DisableWow64FsRedirection, kernel32, Fallback)                                                  \
    F(Wow64RevertWow64FsRedirection,  kernel32, Fallback)                                                  \
    /* The window's one call, and nothing else needs it: bound when Action first makes it, so that      */ \
    /* start-up and deletion mode never look it up.                                                     */ \
    F(MoveFileExA,                    kernel32, Required)                                                  \
    /* Is the process elevated? Asked only when recording a removal for the restart was refused.        */ \
    F(OpenProcessToken,               advapi32, Required)                                                  \
    F(GetTokenInformation,            advapi32, Required)                                                  \
    /* The restart's list, read before a removal is recorded for the restart.                           */ \
    F(RegGetValueW,                   advapi32, Required)                                                  \
    /* Which programs hold a file in use, asked at the first in-use outcome. Fallback: the boxes        */ \
    /* name no program (HoldersOf).                                                                     */ \
    F(RmStartSession,                 rstrtmgr, Fallback)                                                  \
    F(RmRegisterResources,            rstrtmgr, Fallback)                                                  \
    F(RmGetList,                      rstrtmgr, Fallback)                                                  \
    F(RmEndSession,                   rstrtmgr, Fallback)                                                  \
    /* ShellKit's special folder and file-open dialog, first needed by a "..." button.                  */ \
    F(SHGetFolderPathW,               shell32,  Required)                                                  \
    F(GetOpenFileNameW,               comdlg32, Required)                                                  \
    F(CommDlgExtendedError,           comdlg32, Required)
// clang-format on

enum class SystemFunction : unsigned char {
#define TARVOLEN_SYSTEM_FUNCTION_NAME(name, library, whenMissing) name,
    TARVOLEN_SYSTEM_FUNCTIONS(TARVOLEN_SYSTEM_FUNCTION_NAME)
#undef TARVOLEN_SYSTEM_FUNCTION_NAME
};

template <SystemFunction function>
struct SystemFunctionType;
#define TARVOLEN_SYSTEM_FUNCTION_TYPE(name, library, whenMissing) \
    template <>                                                   \
    struct SystemFunctionType<SystemFunction::name> {             \
        using Type = decltype(&::name);                           \
    };
TARVOLEN_SYSTEM_FUNCTIONS(TARVOLEN_SYSTEM_FUNCTION_TYPE)
#undef TARVOLEN_SYSTEM_FUNCTION_TYPE

// WoW64 file-system redirection switched off (`off`) or back on, as Wow64Redirection does it, each
// switch-off paired with its switch-back. While it is off, loading a library would give a 32-bit
// process the 64-bit one of the same name: a function whose library is not loaded yet then ends the
// program with a text that says so, on the first test run that reaches it.
void NoteRedirectionOff(bool off);

// The address of a function of the table, as the rule above says; Bound() gives it its type.
void* SystemFunctionAddress(SystemFunction function);

// A function of the table, bound as the table says: null only for a Fallback function that this
// Windows lacks.
template <SystemFunction function>
typename SystemFunctionType<function>::Type Bound() {
    return reinterpret_cast<typename SystemFunctionType<function>::Type>(SystemFunctionAddress(function));
}

}  // namespace tarvolen::win32
