#pragma once
// Failures that end the program carry the system's own error code, not only a sentence.

#include <stdexcept>

namespace tarvolen::win32 {

// A failed Windows call that the program cannot go on without: what failed, and the call's error code
// (GetLastError(), or the code the call returned), also named in what().
class SystemFailure : public std::runtime_error {
public:
    SystemFailure(const char* what, unsigned long code);
    unsigned long Code() const noexcept { return code_; }

private:
    unsigned long code_;
};

// Throws SystemFailure with GetLastError() of the call that just failed and `what` as its context.
[[noreturn]] void ThrowLastError(const char* what);

}  // namespace tarvolen::win32
