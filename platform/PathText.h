#pragma once
// What a path's text says by itself, before the system is asked about it.

#include <string>
#include <string_view>

namespace tarvolen {

// The text part of resolving command-line text to a path: drops the blanks around the text (spaces,
// tabs, line breaks), then one pair of quotation marks that encloses all of it. Inner text, including
// further quotation marks, is kept as it is.
std::wstring StripCommandLineDecoration(std::wstring_view text);

// Whether `path` has the "\\?\" form, which asks the system to take the name as it is: not made
// absolute, no dots or spaces at its end dropped.
inline bool IsLiteralPath(std::wstring_view path) { return path.substr(0, 4) == L"\\\\?\\"; }

// The "\\?\" form of an absolute path ("C:\d\f" becomes "\\?\C:\d\f", "\\server\share\f" becomes
// "\\?\UNC\server\share\f"), which the file functions take at any length, not only up to 260
// characters. `path` must already be normalised (no "." or ".." parts, backslashes only); a name in that
// form already, a device name ("\\.\NUL") and anything not absolute are given back unchanged.
std::wstring ExtendedLengthPath(std::wstring_view path);

// Whether `path` names a stream of a file ("C:\d\f.txt:notes") rather than the file itself.
bool NamesAStream(std::wstring_view path);

}  // namespace tarvolen
