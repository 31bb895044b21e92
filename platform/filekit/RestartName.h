#pragma once
// The name a removal at the next restart is recorded under must mean the same file when the system boots.

#include <string>
#include <string_view>

namespace tarvolen {

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

// Whether `path` is a final path with a drive letter ("\\?\C:\...").
bool IsDriveFinalPath(std::wstring_view path);

}  // namespace tarvolen
