// What already waits in the restart's list for the file, read from the list's text: nothing, its
// removal, another operation that concerns it, or a damaged list.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/filekit/PendingRenames.h"
#include "tests/native/TextCases.h"

namespace tarvolen {
namespace {

// The list as MoveFileEx writes it (pairs of names, an empty target for a removal, "!" before a
// target that may be replaced, "*" and digits before names on current Windows, one more null at the
// end), and as other programs may have left it. Names that cannot be opened are judged by their text,
// in any form and letter case; the file here has two names, as a drive and a volume path.
TEST(PendingRenamesTest, AnOperationWaitingForTheFileKeepsItsRemovalFromBeingRecorded) {
    using namespace std::string_view_literals;
    struct Case {
        std::wstring_view list;
        PendingFor expected;
        std::wstring_view other = {};  // the other name of the operation that waits, as a user reads it
    };
    const Case cases[] = {
        {L""sv, PendingFor::kNothing},
        {L"\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\0\0\\??\\C:\\App\\app.dll\0\0\0"sv, PendingFor::kDamagedList},  // an empty pair
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll.new\0!\\??\\c:\\app\\APP.DLL\0\0"sv,
         PendingFor::kOtherOperation, L"C:\\App\\app.dll.new"},
        {L"\\??\\C:\\App\\app.dll\0\\??\\C:\\App\\old.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\old.dll"},
        {L"\\??\\C:\\App\\app.dll\0\0\\??\\C:\\n\0\\??\\C:\\App\\app.dll\0"sv, PendingFor::kOtherOperation,
         L"C:\\n"},
        {L"\\??\\C:\\x\0\0\\??\\C:\\App\\app.dll"sv, PendingFor::kDamagedList},  // no target, no null
        {L"\\??\\C:\\App\\app.dll.new\0\\??\\C:\\App\\app.dll2\0\0"sv, PendingFor::kNothing},
        {L"C:\\App\\app.dll\0\0"sv, PendingFor::kNothing},  // not the list's form
        // The marks of current Windows, alone and with "!".
        {L"*1\\??\\C:\\App\\app.dll\0\0\0"sv, PendingFor::kRemoval},
        {L"*2\\??\\C:\\App\\app.dll\0*1\\??\\C:\\App\\app.old\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\app.old"},
        {L"*1\\??\\C:\\App\\new.dll\0*12!\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\new.dll"},
        {L"*1\\??\\C:\\App\\new.dll\0!*1\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\new.dll"},
        {L"*\\??\\C:\\App\\app.dll\0\0"sv, PendingFor::kNothing},  // no digits: no mark
        // The other prefixes, forward slashes, letters beyond ASCII in another case.
        {L"\\DosDevices\\c:\\app\\APP.DLL\0\0"sv, PendingFor::kRemoval},
        {L"\\GLOBAL??\\C:/App/app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00c4pp\\APP.dll\0\0"sv,
         PendingFor::kRemoval},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll.new\0!"
         L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00c4PP\\app.dll\0\0"sv,
         PendingFor::kOtherOperation,
         L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll.new"},
        {L"\\??\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pps\\app.dll\0\0"sv,
         PendingFor::kNothing},
        // A folder on the file's way moved, removed or replaced; the volume's root is none.
        {L"\\??\\C:\\App\0\\??\\C:\\App.old\0\\??\\C:\\App.new\0\\??\\C:\\App\0\0"sv,
         PendingFor::kOtherOperation, L"C:\\App.old"},
        {L"\\??\\C:\\App.new\0!\\??\\c:\\APP\\\0\0"sv, PendingFor::kOtherOperation, L"C:\\App.new"},
        {L"\\??\\C:\\App\0\0"sv, PendingFor::kOtherOperation, L"C:\\App"},
        {L"\\??\\C:\\Apps\\x\0\0\\??\\C:\\\0\0\\??\\C:\0\0"sv, PendingFor::kNothing},
        // Where the restart stops: the list's end, a damaged list, the file's own removal before that.
        {L"\\??\\C:\\x\0\0\0"sv, PendingFor::kNothing},
        {L"\0"sv, PendingFor::kNothing},
        {L"\0\0"sv, PendingFor::kDamagedList},
        {L"\\??\\C:\\x\0\0\\??\\C:\\y\0"sv, PendingFor::kDamagedList},
        {L"\\??\\C:\\App\\app.dll\0\0\0\\??\\C:\\x\0\0\0"sv, PendingFor::kRemoval},
        {L"\\??\\C:\\x\0\0\0\\??\\C:\\App\\app.dll\0\\??\\C:\\y\0\0"sv, PendingFor::kDamagedList},
        // Other names of the file: a hard link in another folder, a stream; the short form is its own.
        {L"\\??\\C:\\Other\\app.dll\0\0"sv, PendingFor::kOtherOperation, L"C:\\Other\\app.dll"},
        {L"\\??\\C:\\App\\app.dll:s\0\0"sv, PendingFor::kOtherOperation, L"C:\\App\\app.dll:s"},
        {L"\\??\\C:\\APP~1\\app.dll\0\0"sv, PendingFor::kRemoval},
        // The system's own forms; a rooted name in none of them may name the file.
        {L"\\SystemRoot\\app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\systemroot\\n.dll\0!\\Device\\HarddiskVolume3\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation,
         L"C:\\App\\n.dll"},
        {L"\\Device\\HarddiskVolume3\\Apps\0\0\\??\\UNC\\s\\App\\app.dll\0\0"sv, PendingFor::kNothing},
        {L"\\??\\GLOBALROOT\\Device\\HarddiskVolume7\\\u00c4pp\\app.dll\0\0"sv, PendingFor::kRemoval},
        {L"\\Device\\HarddiskVolume30\\App\\app.dll\0\0"sv, PendingFor::kOtherOperation,
         L"\\Device\\HarddiskVolume30\\App\\app.dll"},
        {L"\\Windows\\x.dll\0\0"sv, PendingFor::kOtherOperation, L"\\Windows\\x.dll"},
    };
    // The Windows folder is C:\App here; volume 3 is drive C.
    const SystemNames system{
        L"C:\\App",
        {{L"\\Device\\HarddiskVolume3", L"C:"},
         {L"\\Device\\HarddiskVolume7", L"Volume{0123abcd-4567-89ef-0123-456789abcdef}"}}};
    const auto leadsTo = [](std::wstring path) {
        if (const std::size_t shortName = path.find(L"APP~1"); shortName != std::wstring::npos) {
            path.replace(shortName, 5, L"App");  // its long form
        }
        if (path.ends_with(L"\\Other\\app.dll") || path.ends_with(L":s")) {  // what opens to the file
            return NameOfTheFile(path, {L"\\\\?\\C:\\App\\app.dll"}, SameNamesForTests);
        }
        for (const std::wstring_view name :
             {L"\\\\?\\C:\\App\\app.dll"sv,
              L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\\u00e4pp\\app.dll"sv}) {
            if (const ListedName found = LeadsByText(path, name, SameNamesForTests);
                found != ListedName::kElsewhere) {
                return found;
            }
        }
        return ListedName::kElsewhere;
    };
    for (const Case& c : cases) {
        std::wstring other;
        EXPECT_EQ(WhatIsPending(c.list, system, leadsTo, &other), c.expected) << "case " << &c - cases;
        EXPECT_EQ(other, c.other) << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace tarvolen
