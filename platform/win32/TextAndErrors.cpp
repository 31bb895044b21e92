// Exact ANSI conversion, the end of an unexpected failure and FormatMessageW's text of an error code.
#include "platform/win32/TextAndErrors.h"

#include <cstddef>
#include <iterator>

#include "platform/DecimalText.h"
#include "platform/win32/Handles.h"

namespace tarvolen {

void EndOnFailure(const char* what, unsigned long code) {
    // "Tarvolen: WHAT (system error CODE)", written on the stack: the failure may be an allocation that
    // the system refused. A long text is cut short; the code always fits.
    wchar_t text[256];
    constexpr std::size_t kCodeRoom = 48;
    std::size_t length = 0;
    const auto append = [&](const char* part, std::size_t limit) {
        for (; *part != '\0' && length < limit; ++part) {
            text[length++] = static_cast<wchar_t>(static_cast<unsigned char>(*part));
        }
    };
    append("Tarvolen: ", std::size(text) - kCodeRoom);
    append(what, std::size(text) - kCodeRoom);
    append(" (system error ", std::size(text) - 1);
    wchar_t digits[12];
    std::size_t count = 0;
    unsigned long rest = code;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count != 0) {
        text[length++] = digits[--count];
    }
    append(")\n", std::size(text) - 1);
    text[length] = L'\0';
    ::OutputDebugStringW(text);

    EXCEPTION_RECORD record{};
    record.ExceptionCode = win32::kFailFastStatus;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.NumberParameters = 2;
    record.ExceptionInformation[0] = code;
    record.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(text);
    ::RaiseFailFastException(&record, nullptr, FAIL_FAST_GENERATE_EXCEPTION_ADDRESS);
    for (;;) {  // not reached: the process has ended
        ::TerminateProcess(::GetCurrentProcess(), win32::kFailFastStatus);
    }
}

}  // namespace tarvolen

namespace tarvolen::win32 {

void EndOnLastError(const char* what) { EndOnFailure(what, ::GetLastError()); }

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
