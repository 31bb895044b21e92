#pragma once

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

}  // namespace tarvolen
