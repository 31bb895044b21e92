#pragma once
// Failures that end the program carry the system's own error code, not only a sentence.

namespace tarvolen::win32 {

// Throws std::system_error with GetLastError() of the call that just failed and `what` as its context.
[[noreturn]] void ThrowLastError(const char* what);

}  // namespace tarvolen::win32
