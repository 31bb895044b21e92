// MessageBoxW with the program's title for boxes that are given none, GetWindowTextW whole, and the
// process's command line without the program's name.
#include "platform/win32/UserInterface.h"

#include "platform/win32/Handles.h"

namespace tarvolen::win32 {

int Win32MessageBox::Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) {
    const std::wstring ownText(text);
    const std::wstring ownTitle(title.value_or(kApplicationTitle));
    return ::MessageBoxW(owner_, ownText.c_str(), ownTitle.c_str(), style);
}

std::wstring WindowText(HWND window) {
    // The length may be overstated (never understated) for text the window holds; the copy says what
    // it really was.
    const auto length = static_cast<std::size_t>(::GetWindowTextLengthW(window));
    return FillGrowingBuffer(length + 1,
                             [window](wchar_t* buffer, std::size_t capacity) {
                                 return LengthOrNeeded(static_cast<std::size_t>(::GetWindowTextW(
                                                           window, buffer, static_cast<int>(capacity))),
                                                       capacity);
                             })
        .text;
}

std::wstring Win32CommandLine::ArgumentText() const { return ArgumentTextOf(::GetCommandLineW()); }

}  // namespace tarvolen::win32
