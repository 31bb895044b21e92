// WideCharToMultiByte without best fit, checked by converting back.
#include "platform/win32/Win32AnsiCodePage.h"

namespace tarvolen::win32 {

std::optional<std::string> ConvertExactly(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return std::string();
    }
    const int wideLength = static_cast<int>(text.size());
    // UTF-8 and a few other code pages take neither the flag nor the default-character report; the
    // round trip below still catches whatever they could not carry.
    const bool strictCodePage = codePage != CP_UTF8 && codePage != CP_UTF7 && codePage != 54936;
    const DWORD flags = strictCodePage ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultReport = strictCodePage ? &usedDefault : nullptr;

    const int length = ::WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0, nullptr,
                                             usedDefaultReport);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string converted(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), wideLength, converted.data(), length, nullptr,
                              usedDefaultReport) != length ||
        usedDefault) {
        return std::nullopt;
    }

    const int backLength =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, converted.data(), length, nullptr, 0);
    if (backLength != wideLength) {
        return std::nullopt;
    }
    std::wstring back(static_cast<std::size_t>(backLength), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, converted.data(), length, back.data(), backLength);
    if (back != text) {
        return std::nullopt;
    }
    return converted;
}

std::optional<std::string> Win32AnsiCodePage::ToAnsiExactly(std::wstring_view text) {
    return ConvertExactly(text, ::GetACP());
}

}  // namespace tarvolen::win32
