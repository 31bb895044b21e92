// The "..." buttons with the real file-open dialog, pressed, read and answered from outside as a user
// would: what the dialog starts with, and what each way of closing it leaves in the window's boxes.
#include <gtest/gtest.h>

#include "tests/wine/OpenDialog.h"
#include "window/ReplacerLayout.h"

#include <optional>
#include <string>
#include <tuple>

namespace tarvolen::wintest {
namespace {

class BrowseTest : public ::testing::Test {
protected:
    OpenDialog PressBrowse(int button) { return wintest::PressBrowse(driver, button); }
    std::wstring WaitForBoxText(int box, const std::wstring& expected) {
        return wintest::WaitForBoxText(driver, box, expected);
    }

    bool WindowTakesInputAgain() {
        return WaitFor([&] { return ::IsWindowEnabled(driver.Window()) != FALSE; }, 10s);
    }

    // A file picked by its full path lands exactly in the button's own box; the other box is left alone.
    void ExpectPickFillsOnlyItsOwnBox(int button, int ownBox, int otherBox) {
        WriteFileBytes(folder / L"picked file.txt", "picked");
        driver.SetText(ownBox, L"C:\\earlier\\name.txt");
        driver.SetText(otherBox, L"C:\\left\\alone.txt");

        const OpenDialog dialog = PressBrowse(button);
        ASSERT_TRUE(dialog.IsOpen());
        Pick(dialog, folder / L"picked file.txt");

        EXPECT_EQ(WaitForBoxText(ownBox, folder / L"picked file.txt"), folder / L"picked file.txt");
        EXPECT_EQ(AskedText(driver.Control(otherBox)), L"C:\\left\\alone.txt");
        EXPECT_TRUE(WindowTakesInputAgain());
        EXPECT_EQ(ReadFileBytes(folder / L"picked file.txt"), "picked") << "picking a file must not touch it";
    }

    TempFolder folder;
    ReplacerDriver driver{folder.Path()};  // runs in `folder`
    const std::wstring startPattern = WindowsFolder() + L"\\*.exe";
};

using BrowseButtons = BrowseTest;

TEST_F(BrowseButtons, EachButtonOpensAModalOpenDialogAtTheExeFilesOfTheWindowsFolder) {
    EXPECT_FALSE(HasModuleLoaded(driver.Program().Handle(), L"comdlg32.dll"))
        << "loaded before it was needed";

    for (const int button : {kCmdBrowse0, kCmdBrowse1}) {
        SCOPED_TRACE(button == kCmdBrowse0 ? "first button" : "second button");
        const OpenDialog dialog = PressBrowse(button);
        ASSERT_TRUE(dialog.IsOpen());

        EXPECT_EQ(TextOf(dialog.Window()), L"Open...");
        EXPECT_EQ(::GetWindow(dialog.Window(), GW_OWNER), driver.Window());
        EXPECT_FALSE(::IsWindowEnabled(driver.Window())) << "the window still takes input behind the dialog";
        EXPECT_EQ(VisibleTopWindows(driver.Program().Id()).size(), 2u) << "only the window and the dialog";

        EXPECT_EQ(dialog.FileName(), L"*.exe");
        EXPECT_PRED2(SameNames, dialog.Folder(), WindowsFolder());
        EXPECT_EQ(dialog.FileType(), L"*.*");
        EXPECT_EQ(dialog.FileTypeCount(), 1) << "one file type only";
        EXPECT_TRUE(HasModuleLoaded(driver.Program().Handle(), L"comdlg32.dll"));

        Cancel(dialog);
        EXPECT_TRUE(WindowTakesInputAgain());
    }
}

// A function the program cannot do without that cannot be bound ends it the way every unexpected
// failure does, through the fail-fast report: here the shell's library, which a "..." button loads first
// (SHGetFolderPathW), replaced by a stand-in without its functions (planted_library.dll, which marks
// that it was loaded). No box or dialog is shown, and the file in the box is left as it was.
TEST(BrowseButtonsEnd, AShellLibraryWithoutItsFunctionsEndsTheProgramThroughFailFast) {
    TempFolder folder;
    WriteFileBytes(folder / L"asked.txt", "asked");
    const StandInLibrary standIn(L"shell32.dll", L"planted_library.dll");
    ReplacerDriver driver;
    driver.SetText(kTxtSource, folder / L"asked.txt");
    driver.Click(kCmdBrowse0);
    bool boxShown = false;
    WaitFor([&] {
        for (const HWND window : VisibleTopWindows(driver.Program().Id())) {
            boxShown = boxShown || ClassOf(window) == L"#32770";
        }
        return !driver.Program().IsRunning();
    });
    EXPECT_EQ(driver.Program().WaitForExit(), std::optional<DWORD>(win32::kFailFastStatus));
    EXPECT_FALSE(boxShown);
    EXPECT_TRUE(::DeleteFileW((standIn.Path() + L".loaded").c_str())) << "the stand-in was not loaded";
    EXPECT_EQ(ReadFileBytes(folder / L"asked.txt"), "asked");
}

TEST_F(BrowseButtons, FirstButtonPutsThePickedFileIntoTheSourceBoxOnly) {
    ExpectPickFillsOnlyItsOwnBox(kCmdBrowse0, kTxtSource, kTxtTarget);
}

TEST_F(BrowseButtons, SecondButtonPutsThePickedFileIntoTheTargetBoxOnly) {
    ExpectPickFillsOnlyItsOwnBox(kCmdBrowse1, kTxtTarget, kTxtSource);
}

TEST_F(BrowseButtons, CancelLeavesTheStartPatternInTheButtonsBox) {
    for (const auto& [button, ownBox, otherBox] :
         {std::tuple{kCmdBrowse0, kTxtSource, kTxtTarget}, std::tuple{kCmdBrowse1, kTxtTarget, kTxtSource}}) {
        SCOPED_TRACE(button == kCmdBrowse0 ? "first button" : "second button");
        driver.SetText(ownBox, L"");
        driver.SetText(otherBox, L"C:\\left\\alone.txt");

        const OpenDialog dialog = PressBrowse(button);
        ASSERT_TRUE(dialog.IsOpen());
        Cancel(dialog);

        EXPECT_PRED2(SameNames, WaitForBoxText(ownBox, startPattern), startPattern);
        EXPECT_EQ(AskedText(driver.Control(otherBox)), L"C:\\left\\alone.txt");
        EXPECT_TRUE(WindowTakesInputAgain());
    }
}

TEST_F(BrowseButtons, APathAlreadyInTheBoxChangesNeitherWhereTheDialogStartsNorWhatCancelLeaves) {
    WriteFileBytes(folder / L"earlier.txt", "earlier");
    driver.SetText(kTxtSource, folder / L"earlier.txt");

    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.FileName(), L"*.exe");
    EXPECT_PRED2(SameNames, dialog.Folder(), WindowsFolder());
    Cancel(dialog);

    EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, startPattern), startPattern);
    EXPECT_EQ(ReadFileBytes(folder / L"earlier.txt"), "earlier");
}

TEST_F(BrowseButtons, ABareNameIsTakenFromTheWindowsFolder) {
    const std::wstring notepad = WindowsFolder() + L"\\notepad.exe";
    ASSERT_TRUE(PathExists(notepad));

    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    Pick(dialog, L"notepad.exe");

    EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, notepad), notepad);
}

TEST_F(BrowseButtons, AMissingFileIsRefusedAndTheDialogStaysOpen) {
    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    dialog.TypeFileName(folder / L"missing.txt");
    dialog.Press(IDOK);

    // The dialog answers with a message box of its own and does not close.
    HWND warning = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const HWND window : VisibleTopWindows(driver.Program().Id())) {
                if (window != dialog.Window() && ClassOf(window) == L"#32770" &&
                    ::GetWindow(window, GW_OWNER) == dialog.Window()) {
                    warning = window;
                    return true;
                }
            }
            return false;
        },
        kDialogTimeout))
        << "no warning about the missing file";
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(AskedText(driver.Control(kTxtSource)), L"") << "the box changed while the dialog was open";

    PressButton(warning, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(warning); }, 10s));
    EXPECT_TRUE(dialog.IsOpen());
    Cancel(dialog);
    EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, startPattern), startPattern);
    EXPECT_FALSE(PathExists(folder / L"missing.txt"));
}

TEST_F(BrowseButtons, ClosingTheWindowUnderTheDialogEndsTheProgramNormally) {
    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    // What a log-off or taskkill without /f does: the window is asked to close, not the dialog.
    ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(driver.Program().WaitForExit(kDialogTimeout), std::optional<DWORD>(0));
}

TEST_F(BrowseButtons, TheStartFolderRenamedWhileTheDialogIsOpenLeavesTheWindowUsable) {
    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    // The folder the program started in goes away meanwhile; it is put back for the clean-up.
    const std::wstring moved = folder.Path() + L"-moved";
    ASSERT_TRUE(::MoveFileW(folder.Path().c_str(), moved.c_str()));
    Cancel(dialog);
    EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, startPattern), startPattern);
    EXPECT_TRUE(WindowTakesInputAgain());
    ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(driver.Program().WaitForExit(kDialogTimeout), std::optional<DWORD>(0));
    EXPECT_TRUE(::MoveFileW(moved.c_str(), folder.Path().c_str()));
}

TEST_F(BrowseButtons, TheDialogLeavesTheProgramsCurrentFolderAsItFoundIt) {
    // The program runs in `folder`; the user browses into a folder that holds a file of the same name.
    // However the dialog ends, a name without a folder then still means the file where the program runs.
    const std::wstring browsed = folder / L"browsed";
    ASSERT_TRUE(::CreateDirectoryW(browsed.c_str(), nullptr));
    WriteFileBytes(browsed + L"\\picked.txt", "picked");
    WriteFileBytes(browsed + L"\\same.txt", "browsed");

    for (const bool pick : {true, false}) {
        SCOPED_TRACE(pick ? "picked" : "cancelled");
        WriteFileBytes(folder / L"same.txt", "started");
        auto expected = folder.Snapshot();

        const OpenDialog dialog = PressBrowse(kCmdBrowse0);
        ASSERT_TRUE(dialog.IsOpen());
        dialog.TypeFileName(browsed);
        dialog.Press(IDOK);
        ASSERT_TRUE(WaitFor([&] { return SameNames(dialog.Folder(), browsed); }, kDialogTimeout))
            << dialog.Folder();
        ASSERT_TRUE(dialog.IsOpen()) << "a folder's name opens the folder, not the dialog's answer";
        if (pick) {
            Pick(dialog, L"picked.txt");
            EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, browsed + L"\\picked.txt"),
                         browsed + L"\\picked.txt");
        } else {
            Cancel(dialog);
            EXPECT_PRED2(SameNames, WaitForBoxText(kTxtSource, startPattern), startPattern);
        }
        ASSERT_TRUE(WindowTakesInputAgain());

        const std::wstring moved = pick ? L"moved after a pick.txt" : L"moved after a cancel.txt";
        EXPECT_EQ(driver.Action(L"same.txt", moved, false, false, false), L"1");
        expected[moved] = expected[L"same.txt"];
        expected.erase(L"same.txt");
        EXPECT_EQ(folder.Snapshot(), expected);
    }
}

TEST_F(BrowseButtons, APickedSourceIsWhatActionMoves) {
    WriteFileBytes(folder / L"a.bin", std::string("A\0bytes\r\n", 9));
    WriteFileBytes(folder / L"neighbour.txt", "n");
    auto expected = folder.Snapshot();

    const OpenDialog dialog = PressBrowse(kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    Pick(dialog, folder / L"a.bin");
    ASSERT_EQ(WaitForBoxText(kTxtSource, folder / L"a.bin"), folder / L"a.bin");
    ASSERT_TRUE(WindowTakesInputAgain());

    driver.SetText(kTxtTarget, folder / L"b.bin");
    EXPECT_EQ(driver.Action(), L"1");

    EXPECT_FALSE(PathExists(folder / L"a.bin"));
    expected[L"b.bin"] = expected[L"a.bin"];
    expected.erase(L"a.bin");
    EXPECT_EQ(folder.Snapshot(), expected);
}

}  // namespace
}  // namespace tarvolen::wintest
