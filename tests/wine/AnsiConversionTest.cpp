// The exact conversion of paths to an ANSI code page, which refuses look-alikes, and the end of an
// unexpected failure.
#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <new>
#include <optional>
#include <string>

#include "platform/win32/TextAndErrors.h"
#include "tests/wine/WinTestSupport.h"

namespace tarvolen {
namespace {

// An allocation that the system refuses ends the program through the fail-fast report, as every
// unexpected failure does, and so does a misused container of the C++ runtime.
TEST(UnexpectedFailureTest, ARefusedAllocationOrAMisusedContainerEndsThroughFailFast) {
    volatile std::size_t tooMuch = std::numeric_limits<std::size_t>::max() - 4096;
    EXPECT_EXIT(::operator delete(::operator new(tooMuch)), wintest::EndedThroughFailFast, "");
    EXPECT_EXIT(std::wstring(L"text").substr(5), wintest::EndedThroughFailFast, "");
}

TEST(AnsiConversionTest, ExactTextPassesAndLookAlikesAreRefused) {
    EXPECT_EQ(win32::ConvertExactly(L"", 1252), std::string());
    EXPECT_EQ(win32::ConvertExactly(L"C:\\dir\\a b.txt", 1252), std::string("C:\\dir\\a b.txt"));
    EXPECT_EQ(win32::ConvertExactly(L"caf\u00e9.txt", 1252), std::string("caf\xe9.txt"));
    // Characters code page 1252 lacks, which a best-fit conversion would swap for look-alikes.
    EXPECT_EQ(win32::ConvertExactly(L"\u0141\u00f3d\u017a.txt", 1252), std::nullopt);
    EXPECT_EQ(win32::ConvertExactly(L"\uff21.txt", 1252), std::nullopt);
    EXPECT_EQ(win32::ConvertExactly(L"\u4e2d.txt", 1252), std::nullopt);
    // In code page 932 the yen sign would become a backslash, a path separator.
    EXPECT_EQ(win32::ConvertExactly(L"a\u00a5b.txt", 932), std::nullopt);
    EXPECT_EQ(win32::ConvertExactly(L"\u4e2d.txt", 932), std::string("\x92\x86.txt"));
    // A lone surrogate has no equivalent anywhere, not even in UTF-8.
    EXPECT_EQ(win32::ConvertExactly(std::wstring(L"a") + wchar_t(0xD800) + L".txt", CP_UTF8), std::nullopt);
    EXPECT_EQ(win32::ConvertExactly(L"\u0141\u00f3d\u017a.txt", CP_UTF8),
              std::string("\xc5\x81\xc3\xb3\x64\xc5\xba.txt"));
}

}  // namespace
}  // namespace tarvolen
