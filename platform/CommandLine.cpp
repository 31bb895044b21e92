// The program's name cut off a command line the way the C runtime does it, and the text's decoration.
#include "platform/CommandLine.h"

namespace tarvolen {

namespace {
// Spaces, tabs and other control characters, as the C runtime counts them.
bool IsBlank(wchar_t c) { return c != L'\0' && c <= L' '; }

constexpr std::wstring_view kBlanks = L" \t\r\n\v\f";
}  // namespace

std::wstring ArgumentTextOf(std::wstring_view line) {
    std::size_t pos = 0;
    if (!line.empty() && line.front() == L'"') {
        const std::size_t closing = line.find(L'"', 1);
        pos = closing == std::wstring_view::npos ? line.size() : closing + 1;
    } else {
        while (pos < line.size() && !IsBlank(line[pos])) {
            ++pos;
        }
    }
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return std::wstring(line.substr(pos));
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
