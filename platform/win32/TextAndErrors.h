#pragma once
// Text to and from the system, and the end of an unexpected failure with its error code: a path in the
// ANSI code page for MoveFileExA, the system's words for an error.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "platform/Failure.h"

namespace tarvolen::win32 {

// An unexpected failure ends the program through Windows' fail-fast report (EndOnFailure of
// platform/Failure.h): the failure's text with the error code goes to a debugger first
// (OutputDebugStringW), then RaiseFailFastException ends the process past every exception handler, and
// Windows Error Reporting records it with the code STATUS_FAIL_FAST_EXCEPTION, the process's exit
// status; the exception record carries the error code and the text. Nothing catches it.
inline constexpr DWORD kFailFastStatus = 0xC0000602;  // STATUS_FAIL_FAST_EXCEPTION

// Ends the program with GetLastError() of the call that just failed and `what` as its context.
[[noreturn]] void EndOnLastError(const char* what);

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
