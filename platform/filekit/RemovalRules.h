#pragma once
// When deletion mode may remove the file it found, and when it may leave it for the restart.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/filekit/FileIdentity.h"

namespace tarvolen {

// Whether the file now under the name may be removed as the one the user confirmed: only when the
// file confirmed, the held file as it is now and the file under the name are all known and all the
// same. The held file is asked again because on FAT and exFAT drives an ID is the place of a file's
// directory entry: a file renamed away while held, and a new one written into the freed entry, trade
// IDs. Returns the refusal, or nothing.
std::wstring_view IdentityRefusal(const std::optional<FileIdentity>& confirmed,
                                  const std::optional<FileIdentity>& heldNow,
                                  const std::optional<FileIdentity>& found);

// The system's numbers for the errors that the first look at a name can end in and that do not mean
// that nothing is there.
namespace system_error {
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
}  // namespace system_error

// Whether a failed first look at a name (its attributes, or opening it) still shows that a file is
// there. A file that other programs hold (a sharing or lock violation: pagefile.sys, say) is there. So
// is a name whose look is refused (access denied, as in a folder the user may not list): "not found"
// would be untrue of a file that may well exist, and the removal then says why it failed. Every other
// error means that no file is there.
bool FailureShowsAFile(std::uint32_t systemError);

// What is known of a file in use when its removal at the next restart is considered.
struct RestartFacts {
    bool reparsePoint = false;                  // the name itself is a reparse point ...
    std::optional<std::uint32_t> reparseTag{};  // ... with this tag, where it could be read
    bool readOnly = false;                      // the file had the read-only attribute
    bool readOnlyCleared = false;               // ... and it has been cleared
    std::uint32_t nameCount = 1;                // hard links to the file, this name included
    bool removableMedium = false;               // on a drive the system calls removable
};

// Whether a reparse point with this tag is a link: a symbolic link, junction or mount point leads to
// another name. Other tags (cloud files kept by OneDrive, deduplicated or system-compressed files) mark
// files like any other. Windows' IsReparseTagNameSurrogate tells the two apart by one bit of the tag.
bool IsLinkTag(std::uint32_t reparseTag);

// Why the file must not be left for the restart, or nothing: the boot-time removal acts on a name
// without asking, follows no rules about links and cannot remove a read-only file; and under the
// drive letter of a removable medium it may find another medium, or none. A reparse point
// whose tag could not be read counts as a link.
std::wstring_view RestartRefusal(const RestartFacts& facts);

// The name under which a file's removal at the next restart is recorded, or why there is none. Exactly
// one of the two is non-empty.
struct RestartName {
    std::wstring name;
    std::wstring_view refusal;
};

// Chooses that name from the final paths of an open handle of the file, which hold no links and no
// drive letters of the user's session: `dosPath` with the drive letter the mount manager gives the
// volume ("\\?\C:\") or as a network name ("\\?\UNC\server\share\"), `guidPath` with the volume named
// by its GUID ("\\?\Volume{...}\", empty when there is none that leads to the file). The drive-letter
// form is what installers record and what the restart is known to resolve, so it comes first; the GUID
// form serves a volume without a letter; a file on the network is refused, as the network is not up
// when the restart works.
RestartName RestartNameFor(std::wstring_view guidPath, std::wstring_view dosPath);

// What the user is told when recording the removal for the restart failed: only administrators may
// write the list the restart works through.
std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated);

}  // namespace tarvolen
