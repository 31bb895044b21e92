#pragma once
// The message boxes both modes show, as Windows draws them.

#include <windows.h>

#include <optional>
#include <string_view>

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

}  // namespace tarvolen::win32
