// SystemFailure, and one from the calling thread's last error.
#include "platform/win32/LastError.h"

#include <windows.h>

#include <string>

namespace tarvolen::win32 {

SystemFailure::SystemFailure(const char* what, unsigned long code)
    : std::runtime_error(std::string(what) + " (system error " + std::to_string(code) + ")"), code_(code) {}

void ThrowLastError(const char* what) { throw SystemFailure(what, ::GetLastError()); }

}  // namespace tarvolen::win32
