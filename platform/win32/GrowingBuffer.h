#pragma once
// Windows calls that fill a caller's buffer of a size not known beforehand are asked again until it fits.

#include <cstddef>
#include <optional>
#include <string>

namespace tarvolen::win32 {

// Calls `fill(buffer, capacity)` with a buffer of `capacity` characters (its terminating null
// included), starting at `initialCapacity`, until the text fits. `fill` answers as the Windows calls
// do:
//  - a length below `capacity`: the text fit, and has that many characters;
//  - a length above `capacity`: the buffer was too small, and that many characters are needed;
//  - exactly `capacity`: the text was cut short at that size (GetModuleFileNameW), so twice as many
//    are tried;
//  - 0: the call failed, or there is no text.
// Returns the text, or nothing for an answer of 0.
template <class Fill>
std::optional<std::wstring> FillGrowingBuffer(std::size_t initialCapacity, Fill&& fill) {
    std::wstring buffer(initialCapacity, L'\0');
    for (;;) {
        const auto length = static_cast<std::size_t>(fill(buffer.data(), buffer.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length > buffer.size() ? length : buffer.size() * 2);
    }
}

}  // namespace tarvolen::win32
