#pragma once
// ShellKit on Windows: command-line text made a path, special folders and the file-open dialog.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FsRedirection.h"
#include "platform/ShellKit.h"

namespace tarvolen::win32 {

// The dialog shows the file system as this process sees it with redirection on, as every library call
// must; the file it hands back is named so that the program's own file operations, which run with
// redirection off, reach that same file.
class Win32ShellKit final : public ShellKit {
public:
    explicit Win32ShellKit(FsRedirection& redirection) : redirection_(redirection) {}
    std::wstring PathFromCommandLine(std::wstring text) override;
    std::wstring GetSpecialFolder(std::int32_t csidl, std::int32_t token, std::int32_t flags) override;
    std::wstring ShowOpenDialog(std::wstring& initialPath, std::wstring title, WindowHandle owner,
                                std::wstring filter, std::int32_t filterIndex, std::int32_t extraFlags,
                                std::int32_t reserved, KitFlag fileMustExist) override;

private:
    std::optional<std::wstring> PathOfFileShown(const std::wstring& picked);

    FsRedirection& redirection_;
};

}  // namespace tarvolen::win32
