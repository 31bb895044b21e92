// StripCommandLineDecoration: the text part of turning command-line text into a path.
#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "tests/native/TextCases.h"

namespace tarvolen {
namespace {

// Blanks around the text and one enclosing pair of quotation marks go; nothing inside is touched.
TEST(StripCommandLineDecorationTest, DropsBlanksAndOneEnclosingPairOfQuotes) {
    const TextCase cases[] = {
        {L"", L""},
        {L"   ", L""},
        {L"a.txt", L"a.txt"},
        {L"  a.txt\t\r\n", L"a.txt"},
        {L"\"C:\\my file.txt\"", L"C:\\my file.txt"},
        {L"  \"C:\\my file.txt\"  ", L"C:\\my file.txt"},
        {L"\"\"C:\\a.txt\"\"", L"\"C:\\a.txt\""},
        {L"\"\"", L""},
        {L"\"", L"\""},
        {L"\"C:\\a.txt", L"\"C:\\a.txt"},
        {L"C:\\a.txt\"", L"C:\\a.txt\""},
        {L"\" padded \"", L" padded "},
        // Two names are not one file: the text stays whole and will not name an existing file.
        {L"\"a.txt\" \"b.txt\"", L"a.txt\" \"b.txt"},
        {L"a.txt b.txt", L"a.txt b.txt"},
        {L"C:\\\u0141\u00f3d\u017a.txt", L"C:\\\u0141\u00f3d\u017a.txt"},
    };
    ExpectEachCase(cases, StripCommandLineDecoration);
}

// The file functions get the "\\?\" form, which no 260-character limit applies to; what the user sees
// stays as it was resolved.
TEST(ExtendedLengthPathTest, DriveAndNetworkPathsGetTheLiteralFormAndNothingElseChanges) {
    const TextCase cases[] = {
        {L"C:\\d\\f.txt", L"\\\\?\\C:\\d\\f.txt"},
        {L"z:\\", L"\\\\?\\z:\\"},
        {L"\\\\server\\share\\f.txt", L"\\\\?\\UNC\\server\\share\\f.txt"},
        {L"\\\\?\\C:\\d\\f.txt ", L"\\\\?\\C:\\d\\f.txt "},
        {L"\\\\?\\UNC\\server\\share\\f", L"\\\\?\\UNC\\server\\share\\f"},
        {L"\\\\.\\NUL", L"\\\\.\\NUL"},
        {L"C:f.txt", L"C:f.txt"},
        {L"f.txt", L"f.txt"},
        {L"", L""},
    };
    ExpectEachCase(cases, ExtendedLengthPath);
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\f.txt";
    EXPECT_EQ(ExtendedLengthPath(deep), L"\\\\?\\" + deep);

    EXPECT_TRUE(NamesAStream(L"C:\\d\\f.txt:notes"));
    EXPECT_TRUE(NamesAStream(L"\\\\?\\C:\\d\\f.txt:notes:$DATA"));
    EXPECT_FALSE(NamesAStream(L"\\\\?\\C:\\d\\f.txt"));
    EXPECT_FALSE(NamesAStream(L"\\\\?\\UNC\\server\\share\\f.txt"));
}

}  // namespace
}  // namespace tarvolen
