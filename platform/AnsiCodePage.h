#pragma once
// The ANSI form of a path for MoveFileExA, refused when it would name another file.

#include <optional>
#include <string>
#include <string_view>

namespace tarvolen {

// Conversion of a path to the system's ANSI code page for MoveFileExA.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;

    // The text in the ANSI code page, or nothing when some character has no exact equivalent there.
    // A path is never swapped for a look-alike: the name MoveFileExA gets must be the name typed.
    virtual std::optional<std::string> ToAnsiExactly(std::wstring_view text) = 0;
};

}  // namespace tarvolen
