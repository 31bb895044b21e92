// DecimalText of the unsigned error codes an unknown error's text shows; the result box's signed numbers,
// the most negative among them, are checked through the box in ReplacerHandlersTest.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/DecimalText.h"
#include "tests/native/TextCases.h"

namespace tarvolen {
namespace {

TEST(DecimalTextTest, WritesUnsignedNumbersFromZeroToTheLargest) {
    const TextCase cases[] = {{L"0", L"0"}, {L"10", L"10"}, {L"4294967295", L"4294967295"}};
    ExpectEachCase(
        cases, [](const wchar_t* text) { return DecimalText(static_cast<std::uint32_t>(std::stoul(text))); });
}

}  // namespace
}  // namespace tarvolen
