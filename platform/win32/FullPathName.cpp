// GetFullPathNameW into a buffer that grows until the whole path fits.
#include "platform/win32/FullPathName.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/GrowingBuffer.h"

namespace tarvolen::win32 {

std::wstring FullPathName(const std::wstring& path) {
    return FillGrowingBuffer(std::max<std::size_t>(path.size() + 1, MAX_PATH),
                             [&path](wchar_t* buffer, std::size_t capacity) {
                                 return ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(capacity), buffer,
                                                           nullptr);
                             })
        .value_or(path);
}

}  // namespace tarvolen::win32
