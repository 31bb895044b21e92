#pragma once
// Paths for MoveFileExA: the ANSI code page's form of a path, given only when it is exact.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"

namespace tarvolen::win32 {

// Conversion to the code page that the A functions use (CP_ACP).
class Win32AnsiCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsiExactly(std::wstring_view text) override;
};

// Exact conversion of `text` to `codePage`: no best-fit substitution, no default character, and
// converting back gives the same text; otherwise nothing.
std::optional<std::string> ConvertExactly(std::wstring_view text, UINT codePage);

}  // namespace tarvolen::win32
