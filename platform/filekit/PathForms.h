#pragma once
// The names FileKit hands to the file functions, and what a name says by itself before anything is opened.

#include <string>
#include <string_view>

namespace tarvolen {

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

// Whether `path` names a stream of a file ("C:\d\f.txt:notes") rather than the file itself.
bool NamesAStream(std::wstring_view path);

}  // namespace tarvolen
