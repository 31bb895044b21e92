// The program started with a file's name on its command line, driven through its message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "tests/wine/DeletionDialog.h"
#include "tests/wine/StandInRestartManager.h"
#include "tests/wine/WinTestSupport.h"

namespace tarvolen::wintest {
namespace {

void ExpectEnds(Process& program) {
    const std::optional<DWORD> code = program.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0u);
}

TEST(DeletionMode, MissingFileIsReportedAndNothingElseHappens) {
    TempFolder folder;
    WriteFileBytes(folder / L"neighbour.txt", "n");
    const auto before = folder.Snapshot();
    Process program = StartTarvolen(L"\"" + (folder / L"missing file.txt") + L"\"");

    const MessageBoxView box = NextBox(program);
    EXPECT_EQ(box.title, L"Fehler");
    EXPECT_EQ(box.text, L"Datei nicht gefunden - \"" + (folder / L"missing file.txt") + L"\".");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.icon, BoxIcon::Exclamation) << Name(box.icon);
    PressButton(box.window, IDOK);
    ExpectEnds(program);
    EXPECT_EQ(folder.Snapshot(), before);
}

// Starts the program with `argumentText`, expects the question to name `asked`, and answers No:
// nothing in the folder changes.
void ExpectAskedAboutAndKept(const TempFolder& folder, const std::wstring& argumentText,
                             const std::wstring& asked) {
    const auto before = folder.Snapshot();
    Process program = StartTarvolen(argumentText);
    const MessageBoxView box = NextBox(program);
    ExpectConfirmation(box, asked);
    PressButton(box.window, IDNO);
    ExpectEnds(program);
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST(DeletionMode, NoKeepsTheFile) {
    TempFolder folder;
    WriteFileBytes(folder / L"keep.txt", "keep");
    ExpectAskedAboutAndKept(folder, folder / L"keep.txt", folder / L"keep.txt");
}

TEST(DeletionMode, YesRemovesTheFileAndOnlyThatFile) {
    TempFolder folder;
    WriteFileBytes(folder / L"old file.txt", "old");
    WriteFileBytes(folder / L"old.txt", "neighbour");
    // The command line exactly as a shell might pass it: blanks around a quoted name.
    Process program = StartTarvolen(L"  \"" + (folder / L"old file.txt") + L"\"  ");

    const MessageBoxView done = AnswerYes(program, folder / L"old file.txt");
    EXPECT_EQ(done.title, L"Hinweis");
    EXPECT_EQ(done.text, L"Die Datei wurde gel\u00f6scht.");
    EXPECT_EQ(done.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(done.icon, BoxIcon::Information) << Name(done.icon);
    EXPECT_FALSE(PathExists(folder / L"old file.txt"));
    EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"rstrtmgr.dll")) << "only a file in use needs it";
    PressButton(done.window, IDOK);
    ExpectEnds(program);
    EXPECT_EQ(folder.Snapshot(), (std::map<std::wstring, std::string>{{L"old.txt", "neighbour"}}));
}

// Whether this system takes a name away as soon as the handle that removes it closes, while others
// still hold the file (POSIX semantics), tried on a file of the test's own.
bool RemovesNamesAtOnce(const TempFolder& folder) {
    WriteFileBytes(folder / L"probe", "p");
    struct {
        DWORD flags = 0x1 | 0x2;  // delete, POSIX semantics
    } disposition;
    const UniqueFile probe(
        ::CreateFileW((folder / L"probe").c_str(), DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return ::SetFileInformationByHandle(probe.get(), static_cast<FILE_INFO_BY_HANDLE_CLASS>(21), &disposition,
                                        sizeof disposition) != FALSE;
}

// While the question is up the file is held with the right to read it: a program that opens it letting
// no one else read it is refused until the answer, and may open it once the program has let go.
TEST(DeletionMode, AnOpenerLettingNoOneReadIsRefusedWhileAsked) {
    TempFolder folder;
    const std::wstring file = folder / L"asked.txt";
    WriteFileBytes(file, "asked");
    DWORD error = 0;
    const auto openLettingNoOneRead = [&] {
        UniqueFile opened(::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        error = ::GetLastError();
        return static_cast<bool>(opened);
    };
    Process program = StartTarvolen(file);
    const MessageBoxView box = NextBox(program);
    ExpectConfirmation(box, file);
    EXPECT_FALSE(openLettingNoOneRead());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    PressButton(box.window, IDNO);
    ExpectEnds(program);
    EXPECT_TRUE(openLettingNoOneRead()) << error;
    EXPECT_EQ(ReadFileBytes(file), "asked");
}

// Indexers, virus scanners and previews hold files open letting everyone read, write and delete them.
// "Removed" is said when the name is gone, where the system can take it away at once; elsewhere the
// name goes when the last holder lets go.
TEST(DeletionMode, AFileOthersHoldLettingThemDeleteIsGoneWhenTheBoxSaysSo) {
    TempFolder folder;
    const bool atOnce = RemovesNamesAtOnce(folder);
    EXPECT_TRUE(atOnce || sizeof(void*) == 8) << "the 32-bit runner's Wine removes names at once";
    WriteFileBytes(folder / L"indexed.txt", "indexed");
    UniqueFile holder(::CreateFileW((folder / L"indexed.txt").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Process program = StartTarvolen(folder / L"indexed.txt");

    const MessageBoxView done = AnswerYes(program, folder / L"indexed.txt");
    EXPECT_EQ(done.text, L"Die Datei wurde gel\u00f6scht.");
    if (atOnce) {
        EXPECT_FALSE(PathExists(folder / L"indexed.txt")) << "the name is still there while the file is held";
    }
    PressButton(done.window, IDOK);
    ExpectEnds(program);
    holder.reset();
    EXPECT_FALSE(PathExists(folder / L"indexed.txt"));
}

TEST(DeletionMode, ReadOnlyFileIsRemoved) {
    TempFolder folder;
    WriteFileBytes(folder / L"ro.txt", "ro");
    SetReadOnly(folder / L"ro.txt", true);
    Process program = StartTarvolen(folder / L"ro.txt");

    const MessageBoxView done = AnswerYes(program, folder / L"ro.txt");
    EXPECT_EQ(done.text, L"Die Datei wurde gel\u00f6scht.");
    PressButton(done.window, IDOK);
    ExpectEnds(program);
    EXPECT_FALSE(PathExists(folder / L"ro.txt"));
}

TEST(DeletionMode, RelativeNameIsShownAsTheResolvedPath) {
    TempFolder folder;
    WriteFileBytes(folder / L"rel.txt", "rel");
    Process program = StartTarvolen(L"rel.txt", {}, {}, folder.Path());

    const MessageBoxView box = WaitForMessageBox(program.Id());
    EXPECT_EQ(box.text, L"Datei \"" + (folder / L"rel.txt") + L"\"" + kConfirmTail);
    PressButton(box.window, IDNO);
    ExpectEnds(program);
    EXPECT_TRUE(PathExists(folder / L"rel.txt"));
}

// Without a Restart Manager that names anyone (Wine's) the box is as it always was; with one that does,
// the holders are named below it, as plain text of one line, and rstrtmgr is loaded only once the file
// is found in use. The Restart Manager is asked about the file's own path, one that leads to it as
// Windows reads it (nul.txt is the device \\.\nul unless named in the "\\?\" form), always with WoW64
// redirection on. Microsoft, "Using Restart Manager": "Installers should not disable file system
// redirection before calling the Restart Manager API." Wow64DisableWow64FsRedirection, Remarks: "DLL
// loading depends on file system redirection, so disabling file system redirection will cause DLL
// loading to fail. Also, many feature implementations use delayed loading and will fail while
// redirection is disabled."
TEST(DeletionMode, FileInUseIsRemovedAtTheRestart) {
    TempFolder folder;
    WriteFileBytes(folder / L"busy.txt", "busy");
    WriteFileBytes(folder / L"other.txt", "other");
    FileHolder holder(folder / L"busy.txt");
    const std::wstring device = L"\\\\?\\" + (folder / L"nul.txt");
    WriteFileBytes(device, "not a device");
    FileHolder deviceHolder(device);
    // In use too, but read-only with a second name, so that it cannot wait for the restart.
    WriteFileBytes(folder / L"shared.txt", "shared");
    ASSERT_TRUE(
        ::CreateHardLinkW((folder / L"second.txt").c_str(), (folder / L"shared.txt").c_str(), nullptr));
    SetReadOnly(folder / L"shared.txt", true);
    FileHolder sharedHolder(folder / L"shared.txt");
    TempFolder log;
    for (const bool standIn : {true, false}) {
        SCOPED_TRACE(standIn ? "a Restart Manager that names the holders" : "Wine's Restart Manager");
        std::optional<StandInRestartManager> restartManager;
        if (standIn) {
            restartManager.emplace(log / L"asked.txt");
        }
        for (const std::wstring& name : {folder / L"busy.txt", device}) {
            Process program = StartTarvolen(name);
            const MessageBoxView confirm = NextBox(program);
            EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"rstrtmgr.dll"));
            PressButton(confirm.window, IDYES);
            WaitFor([&] { return !::IsWindow(confirm.window); });

            const MessageBoxView later = NextBox(program);
            EXPECT_EQ(later.title, L"Hinweis");
            EXPECT_EQ(later.text, L"Die Datei wird beim n\u00e4chsten Neustart entfernt." +
                                      (standIn ? L"\r\n" + StandInRestartManager::HoldersLine() : L""));
            EXPECT_EQ(later.buttons, std::vector<int>{IDOK});
            EXPECT_EQ(later.icon, BoxIcon::Information) << Name(later.icon);
            EXPECT_TRUE(HasModuleLoaded(program.Handle(), L"rstrtmgr.dll"));
            PressButton(later.window, IDOK);
            ExpectEnds(program);
        }

        // A holder whose name holds a line separator and a right-to-left override, to pose as two.
        ::SetEnvironmentVariableW(L"TARVOLEN_TEST_RM_HOLDER", L"Editor (4321)\u2028Word\u202e");
        Process refused = StartTarvolen(folder / L"shared.txt");
        const MessageBoxView failure = AnswerYes(refused, folder / L"shared.txt");
        ::SetEnvironmentVariableW(L"TARVOLEN_TEST_RM_HOLDER", nullptr);
        EXPECT_EQ(failure.title, L"Fehler");
        EXPECT_EQ(failure.text.ends_with(L"nicht vorgemerkt.\r\n" +
                                         StandInRestartManager::HoldersLine(L"Editor (4321) Word ")),
                  standIn)
            << failure.text;
        EXPECT_EQ(failure.text.find_first_of(L"\u2028\u202e"), std::wstring::npos);
        PressButton(failure.window, IDOK);
        ExpectEnds(refused);
    }
    sharedHolder.Release();
    SetReadOnly(folder / L"shared.txt", false);
    const std::wstring expected = (folder / L"busy.txt\n") + device + L"\n" + (folder / L"shared.txt\n");
    EXPECT_TRUE(StandInRestartManager::WasAsked(log / L"asked.txt", expected)) << "asked about another name";

    holder.Release();
    deviceHolder.Release();
    EXPECT_TRUE(PathExists(folder / L"busy.txt")) << "still there before the restart";
    EXPECT_TRUE(IsPendingForRestart(folder / L"busy.txt"));
    // Recorded under the file's own name (Wine's restart leaves a file of this name in place).
    EXPECT_TRUE(IsPendingForRestart(folder / L"nul.txt"));
    RestartSystem();
    EXPECT_FALSE(PathExists(folder / L"busy.txt"));
    ::DeleteFileW(device.c_str());
    EXPECT_EQ(ReadFileBytes(folder / L"other.txt"), "other");
}

// Names ending in a space or a dot mean themselves, in the "\\?\" form or without it, as Send to hands
// them over: the question shows the name as given, and Yes removes that file, not the one whose name
// lacks the last character.
TEST(DeletionMode, NamesEndingInASpaceOrADotAreRemovedExactly) {
    for (const wchar_t* prefix : {L"\\\\?\\", L""}) {
        for (const wchar_t* tail : {L" ", L"."}) {
            SCOPED_TRACE(std::wstring(L"name ending in [") + tail + L"], given as [" + prefix + L"]");
            TempFolder folder;
            const std::wstring named = prefix + (folder / L"report.pdf") + tail;
            WriteFileBytes(L"\\\\?\\" + (folder / L"report.pdf") + tail, "named");
            WriteFileBytes(folder / L"report.pdf", "look-alike");
            Process program = StartTarvolen(L"\"" + named + L"\"");

            const MessageBoxView done = AnswerYes(program, named);
            EXPECT_EQ(done.text, L"Die Datei wurde gel\u00f6scht.");
            PressButton(done.window, IDOK);
            ExpectEnds(program);
            EXPECT_EQ(folder.Snapshot(),
                      (std::map<std::wstring, std::string>{{L"report.pdf", "look-alike"}}));
        }
    }
}

// x\file.txt is the file to confirm, other\file.txt one of the same name elsewhere.
void MakeFolderToSwap(const TempFolder& folder) {
    for (const wchar_t* name : {L"x", L"other"}) {
        ::CreateDirectoryW((folder / name).c_str(), nullptr);
    }
    WriteFileBytes(folder / L"x\\file.txt", "confirmed");
    WriteFileBytes(folder / L"other\\file.txt", "other");
}

// What another process does while the question is up: x becomes x-old, and a link to other takes
// its place.
void SwapFolder(const TempFolder& folder, std::optional<UnixSymlink>& link) {
    if (!::MoveFileW((folder / L"x").c_str(), (folder / L"x-old").c_str())) {
        throw std::runtime_error("the folder could not be renamed");
    }
    link.emplace(folder / L"x", L"other");
    if (ReadFileBytes(folder / L"x\\file.txt") != "other") {
        throw std::runtime_error("the swap did not happen");
    }
}

// Names x\file.txt, swaps the folder while the question is up, answers Yes: the removal is refused
// because another file now lies under the name, and the program ends.
void ExpectRefusedAfterTheSwap(const TempFolder& folder, std::optional<UnixSymlink>& link) {
    Process program = StartTarvolen(folder / L"x\\file.txt");
    const MessageBoxView box = AnswerYes(program, folder / L"x\\file.txt", [&] { SwapFolder(folder, link); });
    EXPECT_EQ(box.title, L"Fehler");
    EXPECT_EQ(box.text,
              L"Datei konnte nicht gel\u00f6scht werden.\r\nUnter diesem Namen liegt jetzt eine andere "
              L"Datei als die best\u00e4tigte. Es wurde nichts gel\u00f6scht.");
    EXPECT_EQ(box.icon, BoxIcon::Exclamation) << Name(box.icon);
    PressButton(box.window, IDOK);
    ExpectEnds(program);
}

TEST(DeletionMode, FolderSwappedWhileAskedRemovesNothing) {
    TempFolder folder;
    MakeFolderToSwap(folder);
    std::optional<UnixSymlink> link;
    ExpectRefusedAfterTheSwap(folder, link);
    EXPECT_EQ(ReadFileBytes(folder / L"x-old\\file.txt"), "confirmed");
    EXPECT_EQ(ReadFileBytes(folder / L"other\\file.txt"), "other");
}

TEST(DeletionMode, FolderSwappedWhileAskedForAFileInUseLeavesNothingForTheRestart) {
    TempFolder folder;
    MakeFolderToSwap(folder);
    std::optional<UnixSymlink> link;
    FileHolder confirmedHolder(folder / L"x\\file.txt");
    FileHolder otherHolder(folder / L"other\\file.txt");
    ExpectRefusedAfterTheSwap(folder, link);
    for (const std::wstring& entry : PendingFileRenameOperations()) {
        EXPECT_EQ(entry.find(folder.Path().substr(folder.Path().find_last_of(L'\\'))), std::wstring::npos)
            << entry;
    }

    confirmedHolder.Release();
    otherHolder.Release();
    RestartSystem();
    EXPECT_EQ(ReadFileBytes(folder / L"x-old\\file.txt"), "confirmed");
    EXPECT_EQ(ReadFileBytes(folder / L"other\\file.txt"), "other");
}

// A folder on the path made a link before the program starts (while User Account Control asks, say):
// the question names the folder the file really lies in, and No leaves everything as it was.
TEST(DeletionMode, AFolderLinkOnThePathIsNamedByWhereItLeads) {
    TempFolder folder;
    MakeFolderToSwap(folder);
    const UnixSymlink link(folder / L"x-link", L"other");
    ExpectAskedAboutAndKept(folder, folder / L"x-link\\file.txt", folder / L"other\\file.txt");
}

// A link at the end of the name, which Wine follows to its target although the program opens the name
// as itself: Yes removes nothing, and the target stays.
TEST(DeletionMode, ALinkAtTheEndOfTheNameLeavesItsTargetAlone) {
    TempFolder folder;
    WriteFileBytes(folder / L"target.txt", "target");
    const UnixSymlink link(folder / L"endlink.txt", L"target.txt");
    Process program = StartTarvolen(folder / L"endlink.txt");
    const MessageBoxView box = AnswerYes(program, folder / L"endlink.txt");
    EXPECT_EQ(box.text,
              L"Datei konnte nicht gel\u00f6scht werden.\r\nUnter diesem Namen liegt jetzt eine andere "
              L"Datei als die best\u00e4tigte. Es wurde nichts gel\u00f6scht.");
    PressButton(box.window, IDOK);
    ExpectEnds(program);
    EXPECT_EQ(ReadFileBytes(folder / L"target.txt"), "target");
    EXPECT_TRUE(PathExists(folder / L"endlink.txt"));
}

// Writes `names` (each ended by its null) as the restart's list, as another program might, where the
// list is empty.
void WriteTheRestartsList(std::wstring names) {
    ASSERT_TRUE(PendingFileRenameOperations().empty());
    names += L'\0';
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                                L"PendingFileRenameOperations", REG_MULTI_SZ, names.data(),
                                static_cast<DWORD>(names.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

struct WaitingCase {
    const wchar_t* asked;     // the name given to the program, which the question names
    std::wstring expected;    // what the box says, in part
    std::wstring named = {};  // the operation's other file, named on a line of its own
};

// Asks for each case's file in `folder`, held by another program, to be removed, and checks the box.
void ExpectBoxes(const std::wstring& folder, std::initializer_list<WaitingCase> cases) {
    std::vector<std::unique_ptr<FileHolder>> holders;
    for (const WaitingCase& c : cases) {
        holders.push_back(std::make_unique<FileHolder>(folder + L"\\" + c.asked));
    }
    for (const WaitingCase& c : cases) {
        Process program = StartTarvolen(folder + L"\\" + c.asked);
        const MessageBoxView box = AnswerYes(program, folder + L"\\" + c.asked);
        EXPECT_NE(box.text.find(c.expected), std::wstring::npos) << box.text;
        EXPECT_TRUE(c.named.empty() ||
                    box.text.ends_with(L"\r\nDie andere Datei dieses Vorgangs: " + c.named))
            << box.text;
        PressButton(box.window, IDOK);
        ExpectEnds(program);
    }
}

// A setup program has recorded that app.dll.new takes the place of app.dll, which is in use, at the
// restart. Removing app.dll would undo the update: nothing is recorded, the box says why, and the
// restart puts the new file in place. The same where the update names the file in another form: its
// folder in other capitals (letters beyond ASCII), through a folder link, by swapping the folder that
// holds it, with the marks current Windows writes before the names, or in the system's own forms of the
// Windows folder and of a volume. The removal of another name of the file (a hard link elsewhere) waits as
// such an update does. Where the file's removal is what waits, that is the restart box, and it is not
// recorded twice. A list with an empty pair before its end, at which the restart stops, gets no promise of a
// removal.
TEST(DeletionMode, AnUpdateWaitingForTheRestartIsNotUndone) {
    TempFolder folder;
    for (const wchar_t* name : {L"\u00c4", L"real", L"app", L"app.new", L"a", L"b"}) {
        ::CreateDirectoryW((folder / name).c_str(), nullptr);
    }
    for (const wchar_t* name : {L"app.dll", L"\u00c4\\u.dll", L"real\\l.dll", L"app\\x.dll", L"moved.dll",
                                L"a\\x.dll", L"dev.dll"}) {
        WriteFileBytes(folder / name, "old");
    }
    for (const wchar_t* name :
         {L"app.dll.new", L"\u00c4\\u.dll.new", L"real\\l.dll.new", L"app.new\\x.dll"}) {
        WriteFileBytes(folder / name, "new");
    }
    WriteFileBytes(folder / L"stale.dll", "stale");
    ASSERT_TRUE(::CreateHardLinkW((folder / L"b\\x.dll").c_str(), (folder / L"a\\x.dll").c_str(), nullptr));
    std::wstring windows(MAX_PATH, L'\0');
    windows.resize(::GetSystemWindowsDirectoryW(windows.data(), MAX_PATH));
    const std::wstring update = L"tarvolen-update-" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
    WriteFileBytes(windows + L"\\" + update, "old");
    wchar_t device[MAX_PATH] = {};  // the drive's volume, as "\Device\HarddiskVolume1"
    ::QueryDosDeviceW(folder.Path().substr(0, 2).c_str(), device, MAX_PATH);
    const std::wstring byDevice = device + folder.Path().substr(2) + L"\\dev.dll";
    const UnixSymlink link(folder / L"lnk", L"real");
    WriteTheRestartsList(L"*1\\??\\" + (folder / L"moved.dll") + L'\0' + L"*1\\??\\" +
                         (folder / L"away.dll") + L'\0' + L"\\SystemRoot\\" + update + L".new" + L'\0' +
                         L"!\\SystemRoot\\" + update + L'\0' + byDevice + L".new" + L'\0' + L'!' + byDevice +
                         L'\0');
    const auto replace = [&](const std::wstring& from, const std::wstring& to) {
        ASSERT_TRUE(::MoveFileExW((folder / from).c_str(), (folder / to).c_str(),
                                  MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
    };
    replace(L"app.dll.new", L"app.dll");
    replace(L"\u00e4\\u.dll.new", L"\u00e4\\u.dll");
    replace(L"lnk\\l.dll.new", L"lnk\\l.dll");
    replace(L"app", L"app.old");
    replace(L"app.new", L"app");
    ASSERT_TRUE(::MoveFileExW((folder / L"stale.dll").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    ASSERT_TRUE(::MoveFileExW((folder / L"b\\x.dll").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));

    const wchar_t* waiting = L"wartet bereits ein anderer Vorgang auf den Neustart";
    ExpectBoxes(windows, {{update.c_str(), waiting, windows + L"\\" + update + L".new"}});
    ExpectBoxes(folder.Path(), {{L"app.dll", waiting, folder / L"app.dll.new"},
                                {L"\u00c4\\u.dll", waiting},
                                {L"real\\l.dll", waiting},
                                {L"app\\x.dll", waiting},
                                {L"moved.dll", waiting, folder / L"away.dll"},
                                {L"a\\x.dll", waiting, folder / L"b\\x.dll"},
                                {L"dev.dll", waiting, folder / L"dev.dll.new"},
                                {L"stale.dll", L"Die Datei wird beim n\u00e4chsten Neustart entfernt."}});
    const std::vector<std::wstring> entries = PendingFileRenameOperations();
    const std::wstring stale = folder.Path().substr(folder.Path().find_last_of(L'\\')) + L"\\stale.dll";
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [&](const std::wstring& entry) { return entry.ends_with(stale); }),
              1);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [&](const std::wstring& entry) { return entry.ends_with(update); }),
              1)
        << "a removal recorded behind the update";

    RestartSystem();
    auto after = folder.Snapshot();
    after.erase(L"lnk\\");
    after.erase(L"lnk\\l.dll");
    after.erase(L"moved.dll");  // what the restart makes of a "*1" entry is the system's matter
    after.erase(L"away.dll");
    EXPECT_EQ(after, (std::map<std::wstring, std::string>{{L"app.dll", "new"},
                                                          {L"\u00c4\\", "<folder>"},
                                                          {L"\u00c4\\u.dll", "new"},
                                                          {L"real\\", "<folder>"},
                                                          {L"real\\l.dll", "new"},
                                                          {L"app\\", "<folder>"},
                                                          {L"app\\x.dll", "new"},
                                                          {L"app.old\\", "<folder>"},
                                                          {L"app.old\\x.dll", "old"},
                                                          {L"a\\", "<folder>"},
                                                          {L"a\\x.dll", "old"},
                                                          {L"b\\", "<folder>"},
                                                          {L"dev.dll", "old"}}));
    ::DeleteFileW((windows + L"\\" + update).c_str());
    EXPECT_TRUE(PathExists(folder / L"moved.dll") || PathExists(folder / L"away.dll"));

    WriteFileBytes(folder / L"busy.dll", "busy");
    WriteTheRestartsList(L"\\??\\" + (folder / L"gone.dll") + L'\0' + L'\0' + L'\0' + L'\0' + L"\\??\\" +
                         (folder / L"app.dll") + L'\0' + L'\0');
    const std::vector<std::wstring> damaged = PendingFileRenameOperations();
    ExpectBoxes(folder.Path(),
                {{L"busy.dll", L"Liste der Vorg\u00e4nge f\u00fcr den Neustart ist besch\u00e4digt"}});
    EXPECT_EQ(PendingFileRenameOperations(), damaged) << "nothing recorded";
    RestartSystem();
    EXPECT_EQ(ReadFileBytes(folder / L"busy.dll"), "busy");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                         L"PendingFileRenameOperations");
}

// The number the file system gives the file at `path`, or nothing.
std::optional<std::uint64_t> FileNumber(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information)) {
        return std::nullopt;
    }
    return (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
}

// A log rotated while the question is up: another program deletes the confirmed file and writes a new
// one under its name. The new file is never removed, and "removed" is said only of the confirmed file.
TEST(DeletionMode, AFileMadeAnewUnderTheNameWhileAskedIsNeverRemoved) {
    TempFolder folder;
    const std::wstring log = folder / L"app.log";
    WriteFileBytes(log, "confirmed");
    const std::optional<std::uint64_t> confirmedNumber = FileNumber(log);
    Process program = StartTarvolen(log);

    bool remade = false;
    std::optional<std::uint64_t> newNumber;
    const MessageBoxView box = AnswerYes(program, log, [&] {
        ASSERT_TRUE(::DeleteFileW(log.c_str()));
        const UniqueFile fresh(
            ::CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        remade = fresh && ::WriteFile(fresh.get(), "new", 3, &written, nullptr) && written == 3;
        newNumber = FileNumber(log);
    });
    const auto number = [](const std::optional<std::uint64_t>& n) { return n ? std::to_string(*n) : "?"; };
    std::cout << "The confirmed file's number was " << number(confirmedNumber) << "; "
              << (remade ? "the new file's is " + number(newNumber)
                         : std::string("no new file could be made under the name while the question was up"))
              << ".\n";
    PressButton(box.window, IDOK);
    ExpectEnds(program);
    if (remade) {
        EXPECT_EQ(ReadFileBytes(log), "new") << "a file made after the question was removed";
        EXPECT_NE(box.text, L"Die Datei wurde gel\u00f6scht.");
        EXPECT_EQ(box.title, L"Fehler");
    } else {
        EXPECT_FALSE(PathExists(log));
    }
    EXPECT_EQ(folder.Snapshot().size(), remade ? 1u : 0u);
}

// Deep folders that Explorer gives up on: the path is over 260 characters long.
TEST(DeletionMode, AFileWhosePathIsLongerThan260CharactersIsRemoved) {
    TempFolder folder;
    std::wstring deep = folder.Path();
    // Words, so that the question box can break the path into lines that fit on the screen.
    while (deep.size() < 280) {
        deep += L"\\a folder of old backups " + std::to_wstring(deep.size());
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    const std::wstring file = deep + L"\\long.txt";
    WriteFileBytes(L"\\\\?\\" + file, "long");
    Process program = StartTarvolen(L"\"" + file + L"\"");

    const MessageBoxView done = AnswerYes(program, file);
    EXPECT_EQ(done.text, L"Die Datei wurde gel\u00f6scht.");
    PressButton(done.window, IDOK);
    ExpectEnds(program);
    EXPECT_FALSE(PathExists(L"\\\\?\\" + file));
    EXPECT_TRUE(PathExists(L"\\\\?\\" + deep));
}

TEST(DeletionMode, LoadsNeitherTheShellNorTheDialogLibrary) {
    TempFolder folder;
    WriteFileBytes(folder / L"x.txt", "x");
    Process program = StartTarvolen(folder / L"x.txt");
    const MessageBoxView box = NextBox(program);
    EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"comdlg32.dll"));
    EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"shell32.dll"));
    PressButton(box.window, IDNO);
    ExpectEnds(program);
}

}  // namespace
}  // namespace tarvolen::wintest
