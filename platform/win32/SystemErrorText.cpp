// FormatMessageW's text of an error code, trimmed.
#include "platform/win32/SystemErrorText.h"

#include "platform/DecimalText.h"
#include "platform/win32/UniqueResource.h"

namespace tarvolen::win32 {

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocalText owned(buffer);
    std::wstring text = length != 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = L"Error " + DecimalText(error);
    }
    return text;
}

}  // namespace tarvolen::win32
