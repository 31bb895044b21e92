// The restart's list of file operations, read from its text, and what in it concerns one file.
#include "platform/filekit/PendingRenames.h"

#include <algorithm>

#include "platform/filekit/PathForms.h"

namespace tarvolen {

namespace {

// Whether `listed`, a name of the list ("\??\C:\f", perhaps after a "!"), is the "\\?\" name `name`.
bool SameName(std::wstring_view listed, std::wstring_view name) {
    if (!listed.empty() && listed.front() == L'!') {
        listed.remove_prefix(1);
    }
    return listed.substr(0, 4) == L"\\??\\" && IsLiteralPath(name) && listed.size() == name.size() &&
           StartsWithIgnoringCase(listed.substr(4), name.substr(4));
}

}  // namespace

PendingFor WhatIsPending(std::wstring_view list, std::initializer_list<std::wstring_view> names) {
    const auto isThisFile = [&](std::wstring_view listed) {
        return std::any_of(names.begin(), names.end(),
                           [&](std::wstring_view name) { return !name.empty() && SameName(listed, name); });
    };
    PendingFor pending = PendingFor::kNothing;
    std::wstring_view from;
    bool targetDue = false;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(L'\0'), list.size());
        const std::wstring_view name = list.substr(0, end);
        list.remove_prefix(std::min(end + 1, list.size()));
        if (!targetDue) {
            from = name;
            targetDue = true;
            // A source last in the list has no known target; an empty one there is the list's end.
            if (list.empty() && !name.empty() && isThisFile(from)) {
                return PendingFor::kOtherOperation;
            }
            continue;
        }
        targetDue = false;
        if (!name.empty() && (isThisFile(from) || isThisFile(name))) {
            return PendingFor::kOtherOperation;
        }
        if (name.empty() && isThisFile(from)) {
            pending = PendingFor::kRemoval;
        }
    }
    return pending;
}

}  // namespace tarvolen
