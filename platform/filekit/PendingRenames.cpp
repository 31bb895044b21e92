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

std::wstring PathOfListedName(std::wstring_view listed) {
    listed = WithoutMarks(listed);
    for (const std::wstring_view prefix : {L"\\??\\", L"\\DosDevices\\", L"\\GLOBAL??\\"}) {
        if (StartsWithIgnoringCase(listed, prefix)) {
            std::wstring path = L"\\\\?\\" + std::wstring(listed.substr(prefix.size()));
            std::replace(path.begin() + 4, path.end(), L'/', L'\\');
            while (path.size() > 4 && path.back() == L'\\') {
                path.pop_back();
            }
            return path;
        }
    }
    return {};
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

PendingFor WhatIsPending(std::wstring_view list,
                         const std::function<ListedName(const std::wstring&)>& leadsTo, std::wstring* other) {
    const auto what = [&](std::wstring_view listed) {
        const std::wstring path = PathOfListedName(listed);
        return path.empty() ? ListedName::kElsewhere : leadsTo(path);
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
                const std::wstring path = PathOfListedName(named);
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
