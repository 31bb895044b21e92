// The text part of turning command-line text into a path, and the path forms FileKit works with.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "platform/CommandLine.h"
#include "platform/filekit/PathForms.h"
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

    const TextCase ordinary[] = {
        {L"\\\\?\\C:\\d\\f.txt", L"C:\\d\\f.txt"},
        {L"\\\\?\\unc\\server\\share\\f", L"\\\\server\\share\\f"},
        {L"\\\\?\\C:", L"\\\\?\\C:"},  // the volume itself, no file
        {L"\\\\?\\Volume{0}\\f", L"\\\\?\\Volume{0}\\f"},
        {L"C:\\f", L"C:\\f"},
    };
    ExpectEachCase(ordinary, OrdinaryPath);

    EXPECT_TRUE(NamesAStream(L"C:\\d\\f.txt:notes"));
    EXPECT_TRUE(NamesAStream(L"\\\\?\\C:\\d\\f.txt:notes:$DATA"));
    EXPECT_FALSE(NamesAStream(L"\\\\?\\C:\\d\\f.txt"));
    EXPECT_FALSE(NamesAStream(L"\\\\?\\UNC\\server\\share\\f.txt"));
}

// Only names of files on a disk or a file share are ever opened; devices, pipes and mailslots, however
// they are written, are refused before anything is contacted.
TEST(NamesADiskFileTest, DevicesPipesAndMailslotsAreNoDiskFiles) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"\\\\?\\C:\\d\\f.txt", true},
        {L"\\\\?\\z:\\", true},
        {L"\\\\?\\UNC\\server\\share\\f.txt", true},
        {L"\\\\?\\unc\\server\\share", true},
        {L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789ABCDEF}\\f.txt", true},
        {L"\\\\?\\C:", false},  // the volume device
        {L"\\\\?\\C:f.txt", false},
        {L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789ABCDEF}", false},
        {L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789ABCDEX}\\f", false},
        {L"\\\\?\\Volume{}\\f", false},
        {L"\\\\?\\GLOBALROOT\\Device\\NamedPipe\\x", false},
        {L"\\\\?\\globalroot\\Device\\HarddiskVolume1\\f.txt", false},
        {L"\\\\?\\pipe\\x", false},
        {L"\\\\?\\COM1", false},
        {L"\\\\?\\PhysicalDrive0", false},
        {L"\\\\?\\UNC\\server\\pipe\\x", false},
        {L"\\\\?\\UNC\\server\\PIPE", false},
        {L"\\\\?\\UNC\\server\\MailSlot\\x", false},
        {L"\\\\?\\UNC\\server\\ipc$\\x", false},
        {L"\\\\?\\UNC\\.\\share\\x", false},
        {L"\\\\?\\UNC\\server", false},
        {L"\\\\?\\UNC\\\\share\\f", false},
        {L"\\\\.\\pipe\\x", false},
        {L"\\\\.\\COM1", false},
        {L"\\\\.\\C:\\f.txt", false},
        {L"\\??\\C:\\f.txt", false},
        {L"\\\\server\\share\\f.txt", false},  // only the "\\?\" form the file functions get
        {L"C:\\f.txt", false},
        {L"", false},
    };
    for (const auto& [path, disk] : cases) {
        EXPECT_EQ(NamesADiskFile(path), disk) << "path: [" << path << "]";
    }
}

// Windows' normalisation drops a dot or a space at the end of a name; a mark behind it keeps it
// there, while ".", ".." and names that end otherwise are left to be resolved as Windows resolves them.
TEST(ExactNamesTest, NamesEndingInADotOrASpaceAreMarkedToBeKept) {
    const TextCase cases[] = {
        {L"C:\\d\\report.pdf.", L"C:\\d\\report.pdf.|"},
        {L"C:\\d \\.\\..\\x/a. ", L"C:\\d |\\.\\..\\x/a. |"},
        {L"a...\\b", L"a...|\\b"},
        {L"C:\\d\\report.pdf", L"C:\\d\\report.pdf"},
        {L"C:\\d.\\|", L"C:\\d.\\|"},  // the mark itself names nothing
        {L"", L""},
    };
    ExpectEachCase(cases, MarkNameEnds);
}

// The question names the folder the file really lies in, and the name as given: a link at the end
// stays itself, a dot at its end stays, and letter case alone is no other place.
TEST(ExactNamesTest, AnotherFolderInTheFinalPathIsTheRealPlace) {
    struct Case {
        const wchar_t *name, *finalPath, *expected;  // expected null: the name already says where
    };
    const Case cases[] = {
        {L"\\\\?\\Z:\\t\\link\\f.txt", L"\\\\?\\Z:\\t\\real\\f.txt", L"\\\\?\\Z:\\t\\real\\f.txt"},
        {L"\\\\?\\S:\\report.pdf.", L"\\\\?\\C:\\subst\\report.pdf", L"\\\\?\\C:\\subst\\report.pdf."},
        {L"\\\\?\\C:\\PROGRA~1\\f", L"\\\\?\\C:\\Program Files\\f", L"\\\\?\\C:\\Program Files\\f"},
        {L"\\\\?\\c:\\users\\f.txt", L"\\\\?\\C:\\Users\\F.TXT", nullptr},
        {L"\\\\?\\C:\\d\\link", L"\\\\?\\C:\\d\\link", nullptr},
        {L"\\\\?\\C:\\d\\f", L"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::wstring> real = RelocatedPath(c.name, c.finalPath);
        EXPECT_EQ(real.value_or(L"<none>"), c.expected ? c.expected : L"<none>")
            << "name: [" << c.name << "]";
    }

    // The same told by the file system's name of the file on its volume, which holds no links; and the
    // last name, which differs where a link at the end was followed.
    struct Named {
        const wchar_t *path, *rootName, *fileName;
        bool there, sameLastName = true;
        std::size_t rootLength = 0;  // where a volume mounted in a folder begins
    };
    const Named named[] = {
        {L"\\\\?\\C:\\d\\link\\f.dll", L"\\", L"\\Windows\\System32\\f.dll", false},
        {L"\\\\?\\c:\\D\\report.pdf.", L"\\", L"\\d\\report.pdf", true},
        {L"\\\\?\\S:\\f", L"\\subst\\", L"\\subst\\f", true},
        {L"\\\\?\\S:\\f", L"\\", L"\\subst\\f", false},
        {L"\\\\?\\UNC\\server\\share\\d\\f", L"\\server\\share", L"\\server\\share\\d\\f", true},
        {L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\f", L"\\", L"\\f", true},
        {L"\\\\.\\C:\\f", L"\\", L"\\f", false},
        {L"\\\\?\\C:\\sl\\endlink.txt", L"\\", L"\\sl\\target.txt", true, false},
        {L"\\\\?\\C:\\d\\\u00c4rger.txt", L"\\", L"\\d\\\u00e4RGER.txt", true},
        {L"\\\\?\\C:\\d\\f.txt:notes", L"\\", L"\\d\\F.txt:notes", true},
        {L"\\\\?\\C:\\d\\f.txt", L"\\", L"\\d\\f.txt.", true, false},
        {L"\\\\?\\C:\\d\\f.txt .", L"\\", L"\\d\\f.txt", true},
        {L"\\\\?\\C:\\d\\f.txt2", L"\\", L"\\d\\f.txt", true, false},
        {L"\\\\?\\C:\\mnt\\d\\f", L"\\", L"\\d\\f", true, true, 11},
        {L"\\\\?\\C:\\mnt\\d\\f", L"\\", L"\\d\\f", false},
    };
    for (const Named& n : named) {
        EXPECT_EQ(LiesInNamedFolder(n.path, n.rootName, n.fileName, n.rootLength), n.there)
            << "path: [" << n.path << "]";
        EXPECT_EQ(SameLastName(n.path, LastName(n.fileName), SameNamesForTests), n.sameLastName)
            << "path: [" << n.path << "]";
    }
}

}  // namespace
}  // namespace tarvolen
