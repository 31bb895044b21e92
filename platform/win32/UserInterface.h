#pragma once
// What the user types and reads: the program's argument text, the message boxes both modes show, and the
// text of the window's boxes.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/CommandLine.h"
#include "platform/MessageBoxService.h"

namespace tarvolen::win32 {

// MessageBoxW, owned by `owner` (borrowed, may be null) so that the box is modal to it.
class Win32MessageBox final : public MessageBoxService {
public:
    explicit Win32MessageBox(HWND owner = nullptr) : owner_(owner) {}
    int Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) override;

private:
    HWND owner_;
};

// A window's whole text, however long.
std::wstring WindowText(HWND window);

// GetCommandLineW with the program's name cut off.
class Win32CommandLine final : public CommandLine {
public:
    std::wstring ArgumentText() const override;
};

}  // namespace tarvolen::win32
