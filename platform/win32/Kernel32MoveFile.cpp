// MoveFileExA bound by name and called with redirection off.
#include "platform/win32/Kernel32MoveFile.h"

#include "platform/win32/Kernel32Function.h"
#include "platform/win32/LastError.h"

namespace tarvolen::win32 {

std::int32_t Kernel32MoveFile::MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) {
    if (function_ == nullptr) {
        function_ = Kernel32Function<MoveFileExAFunction>("MoveFileExA");
        if (function_ == nullptr) {
            ThrowLastError("MoveFileExA is not available");
        }
    }
    return WithoutRedirection(redirection_, [&] { return function_(existing, newName, flags); });
}

}  // namespace tarvolen::win32
