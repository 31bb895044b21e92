// ArgumentTextOf: the program's own argument text out of its full command line.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"
#include "tests/native/TextCases.h"

namespace tarvolen {
namespace {

// The program's name is cut off as the C runtime does it; the arguments stay exactly as typed.
TEST(ArgumentTextOfTest, CutsTheProgramNameAndKeepsTheRestVerbatim) {
    const TextCase cases[] = {
        {L"", L""},
        {L"tarvolen.exe", L""},
        {L"\"C:\\Program Files\\tarvolen.exe\"", L""},
        {L"tarvolen.exe   ", L""},
        {L"tarvolen.exe C:\\a.txt", L"C:\\a.txt"},
        {L"tarvolen.exe \t  C:\\a.txt", L"C:\\a.txt"},
        {L"\"C:\\Program Files\\tarvolen.exe\" \"C:\\my file.txt\"", L"\"C:\\my file.txt\""},
        {L"\"C:\\Program Files\\tarvolen.exe\"\"x\"", L"\"x\""},
        {L"\"C:\\x y\\tarvolen.exe\"x", L"x"},
        {L"\"C:\\x y\\tarvolen.exe\"x rest", L"x rest"},
        {L"tarvolen.exe a  b \"c\" ", L"a  b \"c\" "},
        {L"\"unterminated name", L""},
        {L"tarvolen.exe \"", L"\""},
    };
    ExpectEachCase(cases, ArgumentTextOf);
}

}  // namespace
}  // namespace tarvolen
