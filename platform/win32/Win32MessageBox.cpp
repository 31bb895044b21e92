// MessageBoxW with the program's title for boxes that are given none.
#include "platform/win32/Win32MessageBox.h"

#include <string>

namespace tarvolen::win32 {

int Win32MessageBox::Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) {
    const std::wstring ownText(text);
    const std::wstring ownTitle(title.value_or(kApplicationTitle));
    return ::MessageBoxW(owner_, ownText.c_str(), ownTitle.c_str(), style);
}

}  // namespace tarvolen::win32
