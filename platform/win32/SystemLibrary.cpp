// GetSystemDirectoryW, however long the folder, with the library's name after it.
#include "platform/win32/SystemLibrary.h"

#include <windows.h>

#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/LastError.h"

namespace tarvolen::win32 {

std::wstring SystemLibraryPath(const wchar_t* dllName) {
    const std::optional<std::wstring> folder =
        FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
            return ::GetSystemDirectoryW(buffer, static_cast<UINT>(capacity));
        });
    if (!folder) {
        ThrowLastError("the system folder is unknown");
    }
    return *folder + L"\\" + dllName;
}

}  // namespace tarvolen::win32
