// The restart's list of file operations, read from its text, and what in it concerns one file.
#include "platform/filekit/PendingRenames.h"

#include <algorithm>

namespace tarvolen {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// `text` without the marks that may stand before a listed name: "!" and "*" with digits.
std::wstring_view WithoutMarks(std::wstring_view text) {
    for (;;) {
        if (!text.empty() && text.front() == L'!') {
            text.remove_prefix(1);
        } else if (text.size() > 1 && text.front() == L'*' && IsDigit(text[1])) {
            text.remove_prefix(1);
            while (!text.empty() && IsDigit(text.front())) {
                text.remove_prefix(1);
            }
        } else {
            return text;
        }
    }
}

// The next name of the list, taken off its front with the null that ends it.
std::wstring_view NextName(std::wstring_view& list) {
    const std::size_t end = std::min(list.find(L'\0'), list.size());
    const std::wstring_view name = list.substr(0, end);
    list.remove_prefix(std::min(end + 1, list.size()));
    return name;
}

}  // namespace

std::wstring PathOfListedName(std::wstring_view listed, const SystemNames& system) {
    constexpr std::wstring_view kGlobalRoot = L"GLOBALROOT";  // the root of the object namespace
    constexpr std::wstring_view kSystemRoot = L"\\SystemRoot";
    listed = WithoutMarks(listed);
    std::wstring path;
    for (const std::wstring_view prefix : {L"\\??\\", L"\\DosDevices\\", L"\\GLOBAL??\\"}) {
        if (StartsWithIgnoringCase(listed, prefix)) {
            listed.remove_prefix(prefix.size());
            if (StartsWithIgnoringCase(listed, std::wstring(kGlobalRoot) + L"\\")) {
                listed.remove_prefix(kGlobalRoot.size());  // a name of the object namespace follows
            } else {
                path = L"\\\\?\\" + std::wstring(listed);
            }
            break;
        }
    }
    if (path.empty() && !system.windowsFolder.empty() &&
        StartsWithIgnoringCase(listed, std::wstring(kSystemRoot) + L"\\")) {
        path = L"\\\\?\\" + system.windowsFolder + std::wstring(listed.substr(kSystemRoot.size()));
    }
    if (path.empty() && StartsWithIgnoringCase(listed, L"\\Device\\")) {
        const std::size_t deviceEnd = listed.find(L'\\', 8);
        for (const auto& [device, reachedBy] : system.volumeDevices) {
            if (deviceEnd == device.size() && StartsWithIgnoringCase(listed, device)) {
                path = L"\\\\?\\" + reachedBy + std::wstring(listed.substr(deviceEnd));
                break;
            }
        }
    }
    if (path.empty()) {
        return path;
    }
    std::replace(path.begin() + 4, path.end(), L'/', L'\\');
    while (path.size() > 4 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

ListedName LeadsByText(std::wstring_view path, std::wstring_view filePath, NamesEqual equal) {
    const std::size_t root = VolumeRootLength(filePath);
    if (root == 0 || path.size() < root || path.size() > filePath.size()) {
        return ListedName::kElsewhere;
    }
    if (path.size() == filePath.size()) {
        return equal(path, filePath) ? ListedName::kTheFile : ListedName::kElsewhere;
    }
    return filePath[path.size()] == L'\\' && equal(path, filePath.substr(0, path.size()))
               ? ListedName::kConcernsIt
               : ListedName::kElsewhere;
}

ListedName NameOfTheFile(std::wstring_view longPath, const std::vector<std::wstring>& ownNames,
                         NamesEqual equal) {
    const bool own = std::any_of(ownNames.begin(), ownNames.end(), [&](const std::wstring& name) {
        return !name.empty() && LeadsByText(longPath, name, equal) == ListedName::kTheFile;
    });
    return own ? ListedName::kTheFile : ListedName::kConcernsIt;
}

PendingFor WhatIsPending(std::wstring_view list, const SystemNames& system,
                         const std::function<ListedName(const std::wstring&)>& leadsTo, std::wstring* other) {
    const auto what = [&](std::wstring_view listed) {
        const std::wstring path = PathOfListedName(listed, system);
        if (path.empty()) {
            const std::wstring_view name = WithoutMarks(listed);
            return !name.empty() && name.front() == L'\\' ? ListedName::kConcernsIt : ListedName::kElsewhere;
        }
        return leadsTo(path);
    };
    bool removal = false;
    bool damaged = false;
    while (!list.empty()) {
        const std::wstring_view from = NextName(list);
        if (from.empty()) {
            damaged = !list.empty();  // the restart reads no further
            break;
        }
        if (list.empty()) {
            damaged = true;  // a last name without its partner
            break;
        }
        const std::wstring_view to = NextName(list);
        const ListedName source = what(from);
        if (to.empty() && source == ListedName::kTheFile) {
            removal = true;
        } else if (source != ListedName::kElsewhere || (!to.empty() && what(to) != ListedName::kElsewhere)) {
            if (other != nullptr) {
                // The operation's other name; a folder's own removal has none but the folder.
                const std::wstring_view named = source == ListedName::kElsewhere || to.empty() ? from : to;
                const std::wstring path = PathOfListedName(named, system);
                *other = path.empty() ? std::wstring(named) : OrdinaryPath(path);
            }
            return PendingFor::kOtherOperation;
        }
    }
    if (removal) {
        return PendingFor::kRemoval;
    }
    return damaged ? PendingFor::kDamagedList : PendingFor::kNothing;
}

}  // namespace tarvolen
