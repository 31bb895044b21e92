#pragma once
// Text to and from the system, and failures that keep its error code: a path in the ANSI code page for
// MoveFileExA, the system's words for an error.

#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"

namespace tarvolen::win32 {

// A failed Windows call that the program cannot go on without: what failed, and the call's error code
// (GetLastError(), or the code the call returned), also named in what(). Not a std::runtime_error: that
// class keeps its text in the C++ runtime's old reference-counted string, whose code would be linked in
// for this one class (about 40 KB of the 32-bit executable).
class SystemFailure : public std::exception {
public:
    SystemFailure(const char* what, unsigned long code);
    const char* what() const noexcept override { return what_.c_str(); }
    unsigned long Code() const noexcept { return code_; }

private:
    std::string what_;
    unsigned long code_;
};

// Throws SystemFailure with GetLastError() of the call that just failed and `what` as its context.
[[noreturn]] void ThrowLastError(const char* what);

// The system's message for an error code, without its trailing line break; "Error N" when the system
// has no text for it, so a real failure never reads as empty.
std::wstring SystemErrorText(DWORD error);

// Conversion to the code page that the A functions use (CP_ACP).
class Win32AnsiCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsiExactly(std::wstring_view text) override;
};

// Exact conversion of `text` to `codePage`: no best-fit substitution, no default character, and
// converting back gives the same text; otherwise nothing.
std::optional<std::string> ConvertExactly(std::wstring_view text, UINT codePage);

}  // namespace tarvolen::win32
