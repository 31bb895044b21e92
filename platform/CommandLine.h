#pragma once
// Deletion mode starts from the program's argument text, exactly as it was given.

#include <string>
#include <string_view>

namespace tarvolen {

// The argument text of the program's own process.
class CommandLine {
public:
    virtual ~CommandLine() = default;

    // The whole argument text as one unparsed string, exactly as the platform hands it over
    // (quotation marks and inner blanks included); empty when the program was started bare.
    virtual std::wstring ArgumentText() const = 0;
};

// Cuts the program's name off a full process command line, the way the C runtime does for WinMain:
// a quoted name ends right after its closing quotation mark, an unquoted one at the first blank; the
// blanks after the name are skipped and everything else is returned untouched.
std::wstring ArgumentTextOf(std::wstring_view fullCommandLine);

// The text part of resolving command-line text to a path: drops the blanks around the text (spaces,
// tabs, line breaks), then one pair of quotation marks that encloses all of it. Inner text, including
// further quotation marks, is kept as it is.
std::wstring StripCommandLineDecoration(std::wstring_view text);

}  // namespace tarvolen
