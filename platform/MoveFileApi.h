#pragma once
// The window's one system call, MoveFileExA, as the click handler sees it.

#include <cstdint>

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

    // Whether MoveFileExA would take `name` (in the ANSI code page) for a file on a disk or a network
    // share, as the file functions of deletion mode only ever do: not for a device, a named pipe or a
    // mailslot, whose server the call would contact. An empty name reaches nothing and counts as one.
    virtual bool IsDiskFileName(const char* name) = 0;
};

}  // namespace tarvolen
