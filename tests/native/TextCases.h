// Tables of text in and text expected out, and the one loop that checks a text function against them.
#pragma once

#include <gtest/gtest.h>

#include <string>

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

}  // namespace tarvolen
