// Tables of text in and text expected out, and the one loop that checks a text function against them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <string_view>

namespace tarvolen {

struct TextCase {
    const wchar_t* input;
    const wchar_t* expected;
};

// Checks `transform` on every case; a failure names the input.
template <std::size_t N, class Transform>
void ExpectEachCase(const TextCase (&cases)[N], Transform transform) {
    for (const TextCase& c : cases) {
        EXPECT_EQ(transform(c.input), std::wstring(c.expected)) << "input: [" << c.input << "]";
    }
}

// Names compared as Windows compares them, for the letters the tables use: ASCII and Latin-1 letters
// in either case are one.
inline bool SameNamesForTests(std::wstring_view a, std::wstring_view b) {
    const auto upper = [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)
                   ? static_cast<wchar_t>(c - 0x20)
                   : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](wchar_t x, wchar_t y) { return upper(x) == upper(y); });
}

}  // namespace tarvolen
