#pragma once
// Numbers the program shows as text, written without the C runtime's formatted output, which would
// bring its whole printf machinery into the executable for two numbers.

#include <concepts>
#include <limits>
#include <string>
#include <type_traits>

namespace tarvolen {

// `value` in decimal digits, with a leading '-' when it is negative: "0", "1", "-1", "4294967295".
// Digits are worked out at the width of `value`'s own type, so a 32-bit number needs no 64-bit division.
template <std::integral Number>
std::wstring DecimalText(Number value) {
    using Magnitude = std::make_unsigned_t<Number>;
    // The magnitude in unsigned arithmetic, which also holds that of the most negative value.
    Magnitude magnitude = static_cast<Magnitude>(value);
    bool negative = false;
    if constexpr (std::is_signed_v<Number>) {
        negative = value < 0;
    }
    if (negative) {
        magnitude = static_cast<Magnitude>(0 - magnitude);
    }
    wchar_t digits[std::numeric_limits<Magnitude>::digits10 + 2];
    wchar_t* first = std::end(digits);
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        *--first = L'-';
    }
    return std::wstring(first, std::end(digits));
}

}  // namespace tarvolen
