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

std::wstring MarkNameEnds(std::wstring_view path) {
    std::wstring marked(path);
    if (path.find(L'|') != std::wstring_view::npos) {
        return marked;
    }
    for (std::size_t end = marked.size(); end > 0; --end) {
        const wchar_t last = marked[end - 1];
        if ((last != L'.' && last != L' ') || (end < marked.size() && !IsSeparator(marked[end]))) {
            continue;
        }
        const std::size_t start = marked.find_last_of(L"\\/", end - 1) + 1;  // 0 where there is none
        const std::wstring_view name = std::wstring_view(marked).substr(start, end - start);
        if (name != L"." && name != L"..") {
            marked.insert(end, 1, L'|');
        }
    }
    return marked;
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

bool LiesInNamedFolder(std::wstring_view path, std::wstring_view rootName, std::wstring_view fileName,
                       std::size_t rootLength) {
    const std::size_t volumeRoot = VolumeRootLength(path);
    rootLength = rootLength == 0 ? volumeRoot : rootLength;
    if (volumeRoot == 0 || rootLength < volumeRoot || rootLength > path.size() ||
        path[rootLength - 1] != L'\\') {
        return false;
    }
    while (!rootName.empty() && rootName.back() == L'\\') {
        rootName.remove_suffix(1);
    }
    // The file's folder on the volume is the root's own folder, then the folders the name gives.
    const std::wstring_view folder = FolderOf(fileName);
    return StartsWithIgnoringCase(folder, rootName) &&
           EqualsIgnoringCase(folder.substr(rootName.size()), FolderOf(path.substr(rootLength - 1)));
}

std::wstring_view LastName(std::wstring_view path) { return path.substr(path.find_last_of(L'\\') + 1); }

bool SameLastName(std::wstring_view path, std::wstring_view lastOnVolume, NamesEqual equal) {
    std::wstring_view last = LastName(path);
    last = last.substr(0, last.find(L':'));
    lastOnVolume = lastOnVolume.substr(0, lastOnVolume.find(L':'));
    if (equal(last, lastOnVolume)) {
        return true;
    }
    const std::size_t kept = last.find_last_not_of(L". ") + 1;
    return kept < last.size() && kept > 0 && equal(last.substr(0, kept), lastOnVolume);
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
