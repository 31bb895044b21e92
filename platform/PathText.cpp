#include "platform/PathText.h"

namespace tarvolen {

namespace {
constexpr std::wstring_view kBlanks = L" \t\r\n\v\f";
}

std::wstring StripCommandLineDecoration(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) {
        return {};
    }
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::wstring(text);
}

}  // namespace tarvolen
