#pragma once
// A removal recorded for the restart must not undo what a setup program or an update recorded there
// before: this reads that list and tells what already waits for a file.

#include <initializer_list>
#include <string_view>

namespace tarvolen {

enum class PendingFor {
    kNothing,         // nothing waits for the file: its removal may be recorded
    kRemoval,         // its removal already waits: nothing needs to be recorded again
    kOtherOperation,  // another file is to take its place, or it is to be moved away: leave it be
};

// What waits for the restart for the file named `names` (its "\\?\" forms; empty ones are skipped),
// according to `list`, a PendingFileRenameOperations value given as its characters, the nulls between
// the names included. The list holds pairs of names, each ended by a null: the first is renamed to the
// second, or removed where the second is empty; one more null ends the list. Names are compared in the
// "\??\" form the list uses, with the "!" that asks for a replacement dropped and ASCII letters
// compared without their case. Other programs write the value, so any text is taken: a last name
// without its null or its partner counts as an operation whose target is unknown.
PendingFor WhatIsPending(std::wstring_view list, std::initializer_list<std::wstring_view> names);

}  // namespace tarvolen
