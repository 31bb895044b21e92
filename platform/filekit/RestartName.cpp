// The drive-letter, GUID or network form of a final path, chosen or refused for the restart.
#include "platform/filekit/RestartName.h"

#include <cwctype>

#include "platform/filekit/PathForms.h"
#include "platform/filekit/RemovalReasons.h"

namespace tarvolen {

namespace {

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(text[i]) != std::towlower(prefix[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsDriveFinalPath(std::wstring_view path) {
    if (path.size() <= 7 || !StartsWithIgnoringCase(path, L"\\\\?\\") || path.substr(5, 2) != L":\\") {
        return false;
    }
    const wchar_t letter = static_cast<wchar_t>(std::towupper(path[4]));
    return letter >= L'A' && letter <= L'Z';
}

RestartName RestartNameFor(std::wstring_view guidPath, std::wstring_view dosPath) {
    if (StartsWithIgnoringCase(dosPath, L"\\\\?\\UNC\\")) {
        return {{}, removal_reason::kNetwork};
    }
    if (IsDriveFinalPath(dosPath)) {
        return {std::wstring(dosPath), {}};
    }
    if (IsVolumeGuidPath(guidPath)) {
        return {std::wstring(guidPath), {}};
    }
    return {{}, removal_reason::kNoLastingName};
}

}  // namespace tarvolen
