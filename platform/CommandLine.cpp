// The program's name cut off a command line the way the C runtime does it.
#include "platform/CommandLine.h"

namespace tarvolen {

namespace {
// Spaces, tabs and other control characters, as the C runtime counts them.
bool IsBlank(wchar_t c) { return c != L'\0' && c <= L' '; }
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

}  // namespace tarvolen
