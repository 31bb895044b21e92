#pragma once
// Deletion mode reads one value of the registry, the restart's list of file operations, and never
// writes there.

#include <windows.h>

#include <string>

namespace tarvolen::win32 {

// A registry value's characters, or the system's error code of the read that failed
// (ERROR_FILE_NOT_FOUND where there is no such value).
struct RegistryText {
    std::wstring text{};
    DWORD error = ERROR_SUCCESS;
};

// Reads a REG_MULTI_SZ value whole, its nulls included, however long it has grown, with advapi32's
// RegGetValueW as `getValue`: the caller binds it, where a library may be loaded.
RegistryText ReadMultiString(decltype(&::RegGetValueW) getValue, HKEY root, const wchar_t* subkey,
                             const wchar_t* valueName);

}  // namespace tarvolen::win32
