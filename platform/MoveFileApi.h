#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolen {

// dwFlags bits of MoveFileExA that the program uses.
inline constexpr std::uint32_t kMoveFileReplaceExisting = 1;
inline constexpr std::uint32_t kMoveFileDelayUntilReboot = 4;

// The platform's MoveFileExA: moves, renames, replaces or (with no new name) removes a file.
class MoveFileApi {
public:
    virtual ~MoveFileApi() = default;

    // `newName` is a null pointer to remove `existing`. Returns the platform's result unchanged:
    // non-zero on success, 0 on failure.
    virtual std::int32_t MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) = 0;
};

// Conversion of a path to the system's ANSI code page for MoveFileExA.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;

    // The text in the ANSI code page, or nothing when some character has no exact equivalent there.
    // A path is never swapped for a look-alike: the name MoveFileExA gets must be the name typed.
    virtual std::optional<std::string> ToAnsiExactly(std::wstring_view text) = 0;
};

}  // namespace tarvolen
