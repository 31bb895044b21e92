// The "\\?\" forms, disk-file names and stream names, worked out on the text alone.
#include "platform/filekit/PathForms.h"

#include <algorithm>

namespace tarvolen {

namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The length of what no ".." can go above: "C:\", "C:", "\\server\share\" or "\".
std::size_t RootLength(std::wstring_view path) {
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':') {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const auto separatorAfter = [&](std::size_t from) {
            const auto it =
                std::find_if(path.begin() + static_cast<std::ptrdiff_t>(from), path.end(), IsSeparator);
            return static_cast<std::size_t>(it - path.begin());
        };
        const std::size_t serverEnd = separatorAfter(2);
        return serverEnd == path.size() ? path.size()
                                        : std::min(separatorAfter(serverEnd + 1) + 1, path.size());
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

// Calls `visit` with each name of `names`, separated by "\" or "/", empty ones included.
template <class Visit>
void ForEachName(std::wstring_view names, Visit&& visit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= names.size(); ++i) {
        if (i == names.size() || IsSeparator(names[i])) {
            visit(names.substr(start, i - start));
            start = i + 1;
        }
    }
}

std::wstring_view FolderOf(std::wstring_view path) {
    const std::size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring_view::npos ? std::wstring_view() : path.substr(0, cut);
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (AsciiLower(c) >= L'a' && AsciiLower(c) <= L'f');
}

// "server\share" at the start of `rest`, followed by a backslash or nothing: a share of a server that
// holds files. The pipe and mailslot namespaces of a server are offered as shares too.
bool NamesAFileShare(std::wstring_view rest) {
    const std::size_t serverEnd = rest.find(L'\\');
    if (serverEnd == 0 || serverEnd == std::wstring_view::npos) {
        return false;
    }
    const std::wstring_view server = rest.substr(0, serverEnd);
    rest.remove_prefix(serverEnd + 1);
    const std::wstring_view share = rest.substr(0, rest.find(L'\\'));
    if (share.empty() || server == L"." || server == L"?") {
        return false;
    }
    for (const std::wstring_view special : {L"pipe", L"mailslot", L"IPC$"}) {
        if (EqualsIgnoringCase(share, special)) {
            return false;
        }
    }
    return true;
}

}  // namespace

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

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool IsDriveFinalPath(std::wstring_view path) {
    if (path.size() <= 7 || !StartsWithIgnoringCase(path, L"\\\\?\\") || path.substr(5, 2) != L":\\") {
        return false;
    }
    return IsDriveLetter(path[4]);
}

bool NamesADiskFile(std::wstring_view path) {
    if (!IsLiteralPath(path)) {
        return false;
    }
    const std::wstring_view rest = path.substr(4);
    if (rest.size() >= 3 && IsDriveLetter(rest[0]) && rest[1] == L':' && rest[2] == L'\\') {
        return true;
    }
    if (StartsWithIgnoringCase(rest, L"UNC\\")) {
        return NamesAFileShare(rest.substr(4));
    }
    return IsVolumeGuidPath(path);
}

bool IsVolumeGuidPath(std::wstring_view path) {
    constexpr std::wstring_view kPrefix = L"\\\\?\\Volume{";
    constexpr std::wstring_view kShape = L"xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}\\";
    if (!StartsWithIgnoringCase(path, kPrefix) || path.size() < kPrefix.size() + kShape.size()) {
        return false;
    }
    const std::wstring_view guid = path.substr(kPrefix.size(), kShape.size());
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] == L'x' ? !IsHexDigit(guid[i]) : guid[i] != kShape[i]) {
            return false;
        }
    }
    return true;
}

std::wstring OrdinaryPath(std::wstring_view path) {
    if (IsLiteralPath(path) && IsDriveAbsolute(path.substr(4))) {
        return std::wstring(path.substr(4));
    }
    if (StartsWithIgnoringCase(path, L"\\\\?\\UNC\\")) {
        return L"\\\\" + std::wstring(path.substr(8));
    }
    return std::wstring(path);
}

bool HasNameEndingInDotOrSpace(std::wstring_view path) {
    bool found = false;
    ForEachName(path, [&](std::wstring_view name) {
        found = found || (name != L"." && name != L".." && !name.empty() &&
                          (name.back() == L'.' || name.back() == L' '));
    });
    return found;
}

std::optional<PathStart> SplitPathStart(std::wstring_view path) {
    if (path.size() >= 4 && IsSeparator(path[0]) && (path[1] == L'?' || IsSeparator(path[1])) &&
        (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) {
        return std::nullopt;
    }
    const std::size_t root = RootLength(path);
    return PathStart{path.substr(0, root), path.substr(root)};
}

std::wstring AppendNamesExactly(std::wstring_view base, std::wstring_view names) {
    std::wstring path(base);
    const std::size_t root = RootLength(path);
    while (path.size() > root && IsSeparator(path.back())) {
        path.pop_back();
    }
    ForEachName(names, [&](std::wstring_view name) {
        if (name.empty() || name == L".") {
            return;
        }
        if (name == L"..") {
            const std::size_t cut = path.find_last_of(L"\\/");
            path.resize(std::max(root, cut == std::wstring::npos ? root : cut));
            return;
        }
        if (!path.empty() && !IsSeparator(path.back())) {
            path += L'\\';
        }
        path += name;
    });
    return path;
}

std::optional<std::wstring> RelocatedPath(std::wstring_view name, std::wstring_view finalPath) {
    const std::wstring_view folder = FolderOf(finalPath);
    if (finalPath.empty() || EqualsIgnoringCase(FolderOf(name), folder)) {
        return std::nullopt;
    }
    return std::wstring(folder) + std::wstring(name.substr(FolderOf(name).size()));
}

std::size_t VolumeRootLength(std::wstring_view path) {
    if (!NamesADiskFile(path)) {
        return 0;
    }
    if (StartsWithIgnoringCase(path, L"\\\\?\\UNC\\")) {
        const std::size_t serverEnd = path.find(L'\\', 8);
        return std::min(path.find(L'\\', serverEnd + 1), path.size() - 1) + 1;
    }
    return path.find(L'\\', 4) + 1;  // after "\\?\C:" or "\\?\Volume{...}"
}

bool LiesInNamedFolder(std::wstring_view path, std::wstring_view rootName, std::wstring_view fileName) {
    const std::size_t rootLength = VolumeRootLength(path);
    if (rootLength == 0) {
        return false;
    }
    while (!rootName.empty() && rootName.back() == L'\\') {
        rootName.remove_suffix(1);
    }
    const std::wstring folder = std::wstring(rootName) + std::wstring(FolderOf(path.substr(rootLength - 1)));
    return EqualsIgnoringCase(folder, FolderOf(fileName));
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
