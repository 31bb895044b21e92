#include "platform/RemovalRules.h"

#include <cwctype>

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

std::wstring_view IdentityRefusal(const std::optional<FileIdentity>& confirmed,
                                  const std::optional<FileIdentity>& found) {
    if (!confirmed || !found) {
        return removal_reason::kNotIdentified;
    }
    return *confirmed == *found ? std::wstring_view() : removal_reason::kAnotherFile;
}

std::wstring_view RestartRefusal(const RestartFacts& facts) {
    if (facts.isLink) {
        return removal_reason::kLink;
    }
    if (facts.readOnly && facts.nameCount > 1) {
        return removal_reason::kReadOnlyWithOtherNames;
    }
    if (facts.readOnly && !facts.readOnlyCleared) {
        return removal_reason::kReadOnlyKept;
    }
    return {};
}

std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated) {
    return accessDenied && !elevated ? removal_reason::kRunAsAdministrator : std::wstring_view();
}

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
    if (StartsWithIgnoringCase(guidPath, L"\\\\?\\Volume{")) {
        return {std::wstring(guidPath), {}};
    }
    return {{}, removal_reason::kNoLastingName};
}

}  // namespace tarvolen
