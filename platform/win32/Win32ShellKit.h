#pragma once
// ShellKit on Windows: command-line text made a path, special folders and the file-open dialog.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/ShellKit.h"
#include "platform/win32/UniqueResource.h"

namespace tarvolen::win32 {

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

}  // namespace tarvolen::win32
