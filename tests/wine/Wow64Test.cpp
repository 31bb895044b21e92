// The 32-bit program on 64-bit Windows: a name under System32 means the file in System32, never its
// twin in SysWOW64, whichever way the file is removed or moved.
#include <gtest/gtest.h>

#include "platform/win32/Files.h"
#include "platform/win32/Libraries.h"
#include "platform/win32/TextAndErrors.h"
#include "platform/win32/Win32FileKit.h"
#include "tests/wine/DeletionDialog.h"
#include "tests/wine/OpenDialog.h"
#include "tests/wine/StandInRestartManager.h"
#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

// Files in System32, each with a twin of the same name and other contents in SysWOW64. This test
// program is 32-bit too, so it reaches the real System32 through "Sysnative".
class Wow64Twins : public ::testing::Test {
protected:
    void SetUp() override {
        BOOL wow64 = FALSE;
        ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64) << "not a 32-bit process";
        MakeTwins(first);
    }
    void TearDown() override {
        for (const std::wstring& name : made) {
            ::DeleteFileW(Native(name).c_str());
            ::DeleteFileW(Twin(name).c_str());
        }
    }

    void MakeTwins(const std::wstring& name) {
        WriteFileBytes(Native(name), "named");
        WriteFileBytes(Twin(name), "twin");
        made.push_back(name);
    }
    static std::wstring Named(const std::wstring& name) { return L"C:\\windows\\system32\\" + name; }
    static std::wstring Native(const std::wstring& name) { return L"C:\\windows\\sysnative\\" + name; }
    static std::wstring Twin(const std::wstring& name) { return L"C:\\windows\\syswow64\\" + name; }

    static void ExpectNamedGoneAndTwinUntouched(const std::wstring& name) {
        EXPECT_FALSE(PathExists(Native(name))) << "the named file is still there";
        ASSERT_TRUE(PathExists(Twin(name))) << "the twin in SysWOW64 was removed";
        EXPECT_EQ(ReadFileBytes(Twin(name)), "twin");
    }

    // Deletion mode for the named file, answered Yes; the text of the box that reports the outcome.
    static std::wstring DeleteFromCommandLine(const std::wstring& name) {
        Process program = StartTarvolen(L"\"" + Named(name) + L"\"");
        const MessageBoxView outcome = AnswerYes(program, Named(name));
        PressButton(outcome.window, IDOK);
        program.WaitForExit();
        return outcome.text;
    }

    // Sets the window's boxes and options and presses Action; the window opens at the first use.
    std::wstring Act(const std::wstring& source, const std::wstring& target, bool reboot, bool kill) {
        ReplacerDriver& driver = window ? *window : window.emplace();
        return driver.Action(source, target, false, reboot, kill);
    }

    const std::wstring first = L"tarvolen-twin-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    std::vector<std::wstring> made;
    TempFolder folder;
    std::optional<ReplacerDriver> window;
};

TEST_F(Wow64Twins, FileKitLooksAtSystem32AndLeavesRedirectionOnAfterwards) {
    win32::Wow64Redirection redirection;
    win32::Win32FileKit kit{redirection};
    const std::wstring onlyInWow64 = first + L".wow64-only";
    WriteFileBytes(Twin(onlyInWow64), "twin");
    made.push_back(onlyInWow64);
    EXPECT_EQ(kit.FileExists(Named(onlyInWow64)), kKitFalse);
    EXPECT_NE(kit.FileExists(Named(first)), kKitFalse);
    EXPECT_TRUE(PathExists(Named(onlyInWow64))) << "redirection was left off";

    // No library is loaded while redirection is off, where a 32-bit program would get a 64-bit one;
    // once it is back on, the same function is bound.
    EXPECT_EXIT(WithoutRedirection(redirection, [] { win32::Bound<win32::SystemFunction::RmGetList>(); }),
                EndedThroughFailFast, "");
    EXPECT_NE(win32::Bound<win32::SystemFunction::RmGetList>(), nullptr);
}

TEST_F(Wow64Twins, DeletionModeRemovesTheNamedFile) {
    EXPECT_EQ(DeleteFromCommandLine(first), L"Die Datei wurde gel\u00f6scht.");
    ExpectNamedGoneAndTwinUntouched(first);
}

TEST_F(Wow64Twins, ActionMovesAndDeletesTheNamedFile) {
    EXPECT_EQ(Act(Named(first), folder / L"moved.txt", false, false), L"1");
    EXPECT_EQ(ReadFileBytes(folder / L"moved.txt"), "named");
    ExpectNamedGoneAndTwinUntouched(first);

    WriteFileBytes(Native(first), "named again");
    EXPECT_EQ(Act(Named(first), L"", false, true), L"1");
    ExpectNamedGoneAndTwinUntouched(first);
}

// The dialog of this 32-bit program shows SysWOW64's files under the name System32. The file picked
// there is the one the window names and Action moves: the twin, never the System32 file of that name.
TEST_F(Wow64Twins, TheDialogsPickIsTheFileItShowed) {
    ReplacerDriver& driver = window.emplace(folder.Path());
    const OpenDialog dialog = PressBrowse(driver, kCmdBrowse0);
    ASSERT_TRUE(dialog.IsOpen());
    Pick(dialog, Named(first));
    EXPECT_PRED2(SameNames, WaitForBoxText(driver, kTxtSource, Twin(first)), Twin(first));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(driver.Window()) != FALSE; }, 10s));

    driver.SetText(kTxtTarget, folder / L"moved.txt");
    EXPECT_EQ(driver.Action(), L"1");
    EXPECT_EQ(ReadFileBytes(folder / L"moved.txt"), "twin");
    EXPECT_EQ(ReadFileBytes(Native(first)), "named") << "the System32 file was touched";
    EXPECT_FALSE(PathExists(Twin(first)));
}

TEST_F(Wow64Twins, NamedFilesAreRemovedAtTheRestart) {
    // Delete with "Delay until reboot" in the window.
    EXPECT_EQ(Act(Named(first), L"", true, true), L"1");
    EXPECT_TRUE(IsPendingForRestart(Named(first)));

    // Deletion mode for a named file in use, which only the restart can remove. The Restart Manager,
    // with redirection on as it must be, is asked by the name that leads to the named file then:
    // "32-bit applications can access the native system directory by substituting %windir%\Sysnative
    // for %windir%\System32" (Microsoft, "File System Redirector"); never about the twin.
    const std::wstring held = first + L".held";
    MakeTwins(held);
    {
        FileHolder holder(Native(held));
        const StandInRestartManager restartManager(folder / L"asked.txt");
        EXPECT_EQ(DeleteFromCommandLine(held), L"Die Datei wird beim n\u00e4chsten Neustart entfernt.\r\n" +
                                                   StandInRestartManager::HoldersLine());
    }
    EXPECT_TRUE(StandInRestartManager::WasAsked(folder / L"asked.txt", Native(held) + L"\n"));
    EXPECT_EQ(ReadFileBytes(Native(first)), "named") << "nothing happens before the restart";
    EXPECT_EQ(ReadFileBytes(Native(held)), "named") << "nothing happens before the restart";

    RestartSystem();
    ExpectNamedGoneAndTwinUntouched(first);
    ExpectNamedGoneAndTwinUntouched(held);
}

}  // namespace
}  // namespace tarvolen::wintest
