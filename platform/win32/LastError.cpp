// std::system_error from the calling thread's last error.
#include "platform/win32/LastError.h"

#include <windows.h>

#include <system_error>

namespace tarvolen::win32 {

void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

}  // namespace tarvolen::win32
