#pragma once
// Deletion mode removes the file the user confirmed, whatever names lead to it; this tells that file.

#include <array>
#include <cstdint>

namespace tarvolen {

// What tells one file from every other on the machine, whatever names lead to it: the serial number
// of its volume and its 128-bit file ID there. Where the system gives only the 64-bit file index, it
// fills the low eight bytes and `wide` is false, so that the two kinds never compare equal.
struct FileIdentity {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};
    bool wide = false;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace tarvolen
