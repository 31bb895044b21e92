#pragma once
// When deletion mode may remove the file it found, and when it may leave it for the restart.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/FileIdentity.h"

namespace tarvolen {

// Whether the file now under the name may be removed as the one the user confirmed: only when both
// are known and are the same file. Returns the refusal, or nothing.
std::wstring_view IdentityRefusal(const std::optional<FileIdentity>& confirmed,
                                  const std::optional<FileIdentity>& found);

// What is known of a file in use when its removal at the next restart is considered.
struct RestartFacts {
    bool isLink = false;           // the name itself is a link (a reparse point)
    bool readOnly = false;         // the file had the read-only attribute
    bool readOnlyCleared = false;  // ... and it has been cleared
    std::uint32_t nameCount = 1;   // hard links to the file, this name included
};

// Why the file must not be left for the restart, or nothing: the boot-time removal acts on a name
// without asking, follows no rules about links and cannot remove a read-only file.
std::wstring_view RestartRefusal(const RestartFacts& facts);

// What the user is told when recording the removal for the restart failed: only administrators may
// write the list the restart works through.
std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated);

}  // namespace tarvolen
