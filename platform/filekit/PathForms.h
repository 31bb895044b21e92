#pragma once
// The names FileKit hands to the file functions, and what a name says by itself before anything is opened.

#include <optional>
#include <string>
#include <string_view>

namespace tarvolen {

// Whether two names are the same name, letter case compared as the file system compares it (on
// Windows CompareStringOrdinal with case ignored, which knows letters beyond ASCII).
using NamesEqual = bool (*)(std::wstring_view, std::wstring_view);

// Whether `path` has the "\\?\" form, which asks the system to take the name as it is: not made
// absolute, no dots or spaces at its end dropped.
inline bool IsLiteralPath(std::wstring_view path) { return path.substr(0, 4) == L"\\\\?\\"; }

// The "\\?\" form of an absolute path ("C:\d\f" becomes "\\?\C:\d\f", "\\server\share\f" becomes
// "\\?\UNC\server\share\f"), which the file functions take at any length, not only up to 260
// characters. `path` must already be normalised (no "." or ".." parts, backslashes only); a name in that
// form already, a device name ("\\.\NUL") and anything not absolute are given back unchanged.
std::wstring ExtendedLengthPath(std::wstring_view path);

// Whether `path`, in the "\\?\" form the file functions get, names a file on a disk or a network share:
// "\\?\C:\...", "\\?\Volume{GUID}\..." or "\\?\UNC\server\share\...". Anything else leads
// elsewhere and is never opened: the device namespace ("\\.\COM1", "\\?\GLOBALROOT\..."), and
// named pipes and mailslots, also where a server offers them as a share ("\\?\UNC\server\pipe\...").
bool NamesADiskFile(std::wstring_view path);

// Whether `path` begins with a volume named by its GUID: "\\?\Volume{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}\".
bool IsVolumeGuidPath(std::wstring_view path);

// The form a user reads and types of a "\\?\" drive or network path ("\\?\C:\d\f" becomes
// "C:\d\f", "\\?\UNC\server\share\f" becomes "\\server\share\f"); any other text unchanged.
std::wstring OrdinaryPath(std::wstring_view path);

// Whether `path` is a final path with a drive letter ("\\?\C:\...").
bool IsDriveFinalPath(std::wstring_view path);

// Whether `text` begins with `prefix`, ASCII letters compared without their case, as the system
// compares the fixed parts of names ("\\?\UNC\", "Volume{").
bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix);

// `path` with a mark ("|", which no name can hold) after each of its names, other than "." and "..",
// that ends in a dot or a space, so that Windows' path normalisation, which drops such ends unless the
// path has the "\\?\" form, keeps them; nothing is marked in a text that holds the mark already.
std::wstring MarkNameEnds(std::wstring_view path);

// Where the file opened under `name` really lies, when that is another folder than `name` gives: the
// folder of `finalPath` (the open file's final path, links and substituted drives resolved) followed by
// the last name of `name`, kept as given, so that a link at the end stays itself and a name ending in a
// dot keeps it. Both are in the "\\?\" form. Nothing where the folders agree, ASCII letter case aside,
// or where `finalPath` is empty.
std::optional<std::wstring> RelocatedPath(std::wstring_view name, std::wstring_view finalPath);

// The length of the volume's root at the start of a disk-file name in the "\\?\" form ("\\?\C:\",
// "\\?\UNC\server\share\", "\\?\Volume{...}\"), its last backslash included; 0 for any other text.
std::size_t VolumeRootLength(std::wstring_view path);

// Whether the file whose name on its volume is `fileName` (as the file system tells it of the open
// file, "\d\f.txt", with no link in it) lies in the folder that the disk-file name `path` gives.
// `rootName` is the name on the volume of the folder that `path`'s root opens: "\" for a drive's own
// root, "\d" for a drive substituted for the folder d. The last names are not compared, so that a
// link at the end and a name ending in a dot count as themselves; ASCII letter case aside. Where the
// file lies on a volume mounted in a folder, `rootLength` is the length of `path`'s part up to that
// folder's last backslash ("\\?\C:\mnt\"), and `rootName` the name of that volume's root; 0 stands for
// the volume's root at the start of `path`.
bool LiesInNamedFolder(std::wstring_view path, std::wstring_view rootName, std::wstring_view fileName,
                       std::size_t rootLength = 0);

// Whether the last name of `path`, the name a file was asked about, is `lastOnVolume`, the last name
// that the file system gives the file held open under it; where they differ, a link at the end was
// followed to another file. A stream's name counts as its file's; a name given with a dot or a space
// at its end also matches a last name reported without it, as Wine reports such names.
bool SameLastName(std::wstring_view path, std::wstring_view lastOnVolume, NamesEqual equal);

// The last name of a path: what follows its last backslash.
std::wstring_view LastName(std::wstring_view path);

// Whether `path` names a stream of a file ("C:\d\f.txt:notes") rather than the file itself.
bool NamesAStream(std::wstring_view path);

}  // namespace tarvolen
