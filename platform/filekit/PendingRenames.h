#pragma once
// A removal recorded for the restart must not undo what a setup program or an update recorded there
// before: this reads that list and tells what already waits for a file.

#include <string>
#include <string_view>
#include <vector>

namespace tarvolen {

// One operation the restart carries out, in the order recorded: `from` is renamed to `to`, or removed
// where `to` is empty. `to` is unknown where the list ends after a `from`.
struct PendingRename {
    std::wstring from;
    std::wstring to;
    bool toKnown = true;
};

// The operations of a PendingFileRenameOperations value, given as its characters, the nulls between
// the names included: pairs of names, each ended by a null, the list itself ended by one more. Other
// programs write the value, so any text is taken: a last name without its null, an odd count.
std::vector<PendingRename> ParsePendingRenames(std::wstring_view value);

enum class PendingFor {
    kNothing,         // nothing waits for the file: its removal may be recorded
    kRemoval,         // its removal already waits: nothing needs to be recorded again
    kOtherOperation,  // another file is to take its place, or it is to be moved away: leave it be
};

// What waits for the restart for the file named `names` (its "\\?\" forms; empty ones are skipped).
// Names are compared in the "\??\" form the list uses, with the "!" that asks for a replacement dropped
// and ASCII letters compared without their case.
PendingFor WhatIsPending(const std::vector<PendingRename>& operations,
                         const std::vector<std::wstring>& names);

}  // namespace tarvolen
