// DecimalText: the numbers the boxes show, at the edges where hand-written digits go wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/DecimalText.h"
#include "tests/native/TextCases.h"

namespace tarvolen {
namespace {

// Each case is a number's own text, read in at one width and written back.
TEST(DecimalTextTest, WritesZeroSignsAndTheExtremesOfEachWidth) {
    const TextCase signed32[] = {
        {L"0", L"0"},
        {L"1", L"1"},
        {L"-1", L"-1"},
        {L"10", L"10"},
        {L"-2147483648", L"-2147483648"},
        {L"2147483647", L"2147483647"},
    };
    ExpectEachCase(signed32, [](const wchar_t* text) { return DecimalText(std::int32_t{std::stoi(text)}); });
    const TextCase unsigned32[] = {{L"0", L"0"}, {L"4294967295", L"4294967295"}};
    ExpectEachCase(unsigned32, [](const wchar_t* text) {
        return DecimalText(static_cast<std::uint32_t>(std::stoul(text)));
    });
    const TextCase signed64[] = {{L"-9223372036854775808", L"-9223372036854775808"},
                                 {L"9223372036854775807", L"9223372036854775807"}};
    ExpectEachCase(signed64, [](const wchar_t* text) { return DecimalText(std::int64_t{std::stoll(text)}); });
}

}  // namespace
}  // namespace tarvolen
