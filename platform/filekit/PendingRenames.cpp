// The restart's list of file operations, read from its text, and what in it concerns one file.
#include "platform/filekit/PendingRenames.h"

#include <algorithm>

#include "platform/filekit/PathForms.h"

namespace tarvolen {

namespace {

// A name of the list as the file functions' "\\?\" form: "\??\C:\f" is "\\?\C:\f", and "!" before a
// name only asks that an existing file there be replaced.
std::wstring_view WithoutMark(std::wstring_view name) {
    if (!name.empty() && name.front() == L'!') {
        name.remove_prefix(1);
    }
    return name;
}

bool SameName(std::wstring_view listed, std::wstring_view name) {
    listed = WithoutMark(listed);
    const bool ntForm = listed.substr(0, 4) == L"\\??\\";
    return ntForm && IsLiteralPath(name) && listed.size() == name.size() &&
           StartsWithIgnoringCase(listed.substr(4), name.substr(4));
}

}  // namespace

std::vector<PendingRename> ParsePendingRenames(std::wstring_view value) {
    std::vector<std::wstring_view> names;
    while (!value.empty()) {
        const std::size_t end = std::min(value.find(L'\0'), value.size());
        names.push_back(value.substr(0, end));
        value.remove_prefix(std::min(end + 1, value.size()));
    }
    // The null that ends the list reads as one more, empty name.
    if (names.size() % 2 == 1 && names.back().empty()) {
        names.pop_back();
    }
    std::vector<PendingRename> operations;
    for (std::size_t i = 0; i < names.size(); i += 2) {
        const bool paired = i + 1 < names.size();
        operations.push_back({.from = std::wstring(names[i]),
                              .to = paired ? std::wstring(names[i + 1]) : std::wstring(),
                              .toKnown = paired});
    }
    return operations;
}

PendingFor WhatIsPending(const std::vector<PendingRename>& operations,
                         const std::vector<std::wstring>& names) {
    const auto isThisFile = [&](std::wstring_view listed) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::wstring& name) { return !name.empty() && SameName(listed, name); });
    };
    PendingFor pending = PendingFor::kNothing;
    for (const PendingRename& operation : operations) {
        const bool removal = operation.toKnown && operation.to.empty();
        if (!removal && (isThisFile(operation.from) || isThisFile(operation.to))) {
            return PendingFor::kOtherOperation;
        }
        if (removal && isThisFile(operation.from)) {
            pending = PendingFor::kRemoval;
        }
    }
    return pending;
}

}  // namespace tarvolen
