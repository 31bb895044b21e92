// Command-line decoration, the "\\?\" form and stream names, worked out on the text alone.
#include "platform/PathText.h"

namespace tarvolen {

namespace {

constexpr std::wstring_view kBlanks = L" \t\r\n\v\f";

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

}  // namespace

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

std::wstring ExtendedLengthPath(std::wstring_view path) {
    if (IsDriveAbsolute(path)) {
        return L"\\\\?\\" + std::wstring(path);
    }
    const bool unc = path.size() > 2 && path.substr(0, 2) == L"\\\\" && path[2] != L'?' && path[2] != L'.' &&
                     path[2] != L'\\';
    if (unc) {
        return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    }
    return std::wstring(path);
}

bool NamesAStream(std::wstring_view path) {
    if (IsLiteralPath(path)) {
        path.remove_prefix(4);
    }
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':') {
        path.remove_prefix(2);
    }
    const std::size_t lastSeparator = path.find_last_of(L'\\');
    const std::wstring_view name =
        lastSeparator == std::wstring_view::npos ? path : path.substr(lastSeparator + 1);
    return name.find(L':') != std::wstring_view::npos;
}

}  // namespace tarvolen
