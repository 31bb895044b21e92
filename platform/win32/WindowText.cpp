// GetWindowTextW into a buffer of the length the window gives.
#include "platform/win32/WindowText.h"

#include "platform/win32/GrowingBuffer.h"

namespace tarvolen::win32 {

std::wstring WindowText(HWND window) {
    // The length may be overstated (never understated) for text the window holds; the copy says what
    // it really was.
    const auto length = static_cast<std::size_t>(::GetWindowTextLengthW(window));
    return FillGrowingBuffer(length + 1,
                             [window](wchar_t* buffer, std::size_t capacity) {
                                 return ::GetWindowTextW(window, buffer, static_cast<int>(capacity));
                             })
        .value_or(std::wstring());
}

}  // namespace tarvolen::win32
