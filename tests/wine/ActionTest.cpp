// The "Action" button on real files: one MoveFileExA call, its number in a box, and the files after it.
#include <gtest/gtest.h>

#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

using Files = std::map<std::wstring, std::string>;

// What Windows records for the restart is a pair of entries: the file's NT name, then what becomes of
// it: "" for a removal, the new NT name for a move, led by "!" when an existing target is replaced.
std::optional<std::wstring> PendingTarget(const std::wstring& source) {
    const std::vector<std::wstring> entries = PendingFileRenameOperations();
    for (std::size_t at = 0; at + 1 < entries.size(); at += 2) {
        if (::lstrcmpiW(entries[at].c_str(), (L"\\??\\" + source).c_str()) == 0) {
            return entries[at + 1];
        }
    }
    return std::nullopt;
}

class ActionTest : public ::testing::Test {
protected:
    // Sets the boxes and options, presses Action and checks that nothing of the window changed.
    std::wstring Act(const std::wstring& source, const std::wstring& target, bool overwrite, bool reboot,
                     bool kill) {
        const std::wstring result = driver.Action(source, target, overwrite, reboot, kill);
        EXPECT_EQ(driver.Text(kTxtSource), source);
        EXPECT_EQ(driver.Text(kTxtTarget), target);
        EXPECT_EQ(driver.IsChecked(kChkOverwrite), overwrite);
        EXPECT_EQ(driver.IsChecked(kChkReboot), reboot);
        EXPECT_EQ(driver.IsChecked(kChkKill), kill);
        return result;
    }

    TempFolder folder;
    ReplacerDriver driver;
};

TEST_F(ActionTest, MovesToAnotherFolderAndRenamesInPlace) {
    WriteFileBytes(folder / L"a.txt", "alpha");
    WriteFileBytes(folder / L"b.txt", "beta");
    ::CreateDirectoryW((folder / L"sub").c_str(), nullptr);

    EXPECT_EQ(Act(folder / L"a.txt", folder / L"sub\\moved.txt", false, false, false), L"1");
    EXPECT_EQ(folder.Snapshot(),
              (Files{{L"b.txt", "beta"}, {L"sub\\", "<folder>"}, {L"sub\\moved.txt", "alpha"}}));

    EXPECT_EQ(Act(folder / L"b.txt", folder / L"renamed.txt", false, false, false), L"1");
    EXPECT_EQ(folder.Snapshot(),
              (Files{{L"renamed.txt", "beta"}, {L"sub\\", "<folder>"}, {L"sub\\moved.txt", "alpha"}}));
}

TEST_F(ActionTest, ExistingTargetIsReplacedOnlyWithOverwrite) {
    WriteFileBytes(folder / L"new.txt", "new");
    WriteFileBytes(folder / L"old.txt", "old");
    const Files before = folder.Snapshot();

    EXPECT_EQ(Act(folder / L"new.txt", folder / L"old.txt", false, false, false), L"0");
    EXPECT_EQ(folder.Snapshot(), before);

    EXPECT_EQ(Act(folder / L"new.txt", folder / L"old.txt", true, false, false), L"1");
    EXPECT_EQ(folder.Snapshot(), (Files{{L"old.txt", "new"}}));
}

// A call Windows does not document; Wine's answer (8 and 10 alike) is to remove the source at once.
TEST_F(ActionTest, DeleteAloneRemovesTheSourceAtOnceAndLeavesTheTarget) {
    WriteFileBytes(folder / L"victim.txt", "v");
    WriteFileBytes(folder / L"target.txt", "t");
    EXPECT_EQ(Act(folder / L"victim.txt", folder / L"target.txt", false, false, true), L"1");
    EXPECT_EQ(folder.Snapshot(), (Files{{L"target.txt", "t"}}));
}

TEST_F(ActionTest, DeleteAtRestartWaitsForTheRestart) {
    WriteFileBytes(folder / L"later.txt", "later");
    WriteFileBytes(folder / L"stays.txt", "stays");
    const Files before = folder.Snapshot();

    EXPECT_EQ(Act(folder / L"later.txt", L"", false, true, true), L"1");
    EXPECT_EQ(folder.Snapshot(), before) << "nothing happens before the restart";
    EXPECT_EQ(PendingTarget(folder / L"later.txt"), L"");
    RestartSystem();
    EXPECT_EQ(folder.Snapshot(), (Files{{L"stays.txt", "stays"}}));
}

TEST_F(ActionTest, MoveAtRestartWaitsForTheRestart) {
    WriteFileBytes(folder / L"from.txt", "payload");
    WriteFileBytes(folder / L"to.txt", "replaced");
    const Files before = folder.Snapshot();

    EXPECT_EQ(Act(folder / L"from.txt", folder / L"to.txt", true, true, false), L"1");
    EXPECT_EQ(folder.Snapshot(), before);
    EXPECT_EQ(PendingTarget(folder / L"from.txt"), L"!\\??\\" + (folder / L"to.txt"));
    RestartSystem();
    EXPECT_EQ(folder.Snapshot(), (Files{{L"to.txt", "payload"}}));
}

TEST_F(ActionTest, EmptyBoxesMakeTheCallAndChangeNothing) {
    WriteFileBytes(folder / L"x.txt", "x");
    const Files before = folder.Snapshot();
    EXPECT_EQ(Act(L"", L"", false, false, false), L"0");
    EXPECT_EQ(Act(L"", L"", true, false, true), L"0");
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(ActionTest, PressingTwiceMakesTwoCallsWithTwoBoxes) {
    WriteFileBytes(folder / L"one.txt", "1");
    EXPECT_EQ(Act(folder / L"one.txt", folder / L"two.txt", false, false, false), L"1");
    // The same entries again: the source is gone now, so the second call fails and says so.
    EXPECT_EQ(Act(folder / L"one.txt", folder / L"two.txt", false, false, false), L"0");
    EXPECT_EQ(folder.Snapshot(), (Files{{L"two.txt", "1"}}));
}

TEST_F(ActionTest, ClosingTheWindowUnderTheResultBoxEndsTheProgramNormally) {
    WriteFileBytes(folder / L"from.txt", "payload");
    driver.SetText(kTxtSource, folder / L"from.txt");
    driver.SetText(kTxtTarget, folder / L"to.txt");
    driver.Click(kCommand1);
    const MessageBoxView box = WaitForMessageBox(driver.Program().Id());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, L"1");

    ::PostMessageW(driver.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(driver.Program().WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(folder.Snapshot(), (Files{{L"to.txt", "payload"}})) << "the one move asked for, nothing more";
}

// Started as an administrator, the program must not act as one towards a pipe's server: a named pipe as
// the source, the target or the name deleted gets the refused call's 0, and its server no client.
TEST_F(ActionTest, ANamedPipeIsNeverContacted) {
    WriteFileBytes(folder / L"a.txt", "a");
    const std::wstring pipe = L"\\\\.\\pipe\\tarvolen-action-" + std::to_wstring(::GetCurrentProcessId());
    const UniqueFile server(::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                               PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr));
    ASSERT_TRUE(server);
    const Files before = folder.Snapshot();
    EXPECT_EQ(Act(pipe, folder / L"b.txt", false, false, false), L"0");
    EXPECT_EQ(Act(folder / L"a.txt", pipe, true, false, false), L"0");
    EXPECT_EQ(Act(pipe, L"", false, true, true), L"0");
    EXPECT_EQ(folder.Snapshot(), before);

    // A client that came and went leaves ERROR_NO_DATA, one still there ERROR_PIPE_CONNECTED.
    OVERLAPPED overlapped{};
    const UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    overlapped.hEvent = event.get();
    EXPECT_FALSE(::ConnectNamedPipe(server.get(), &overlapped));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING)) << "the pipe's server got a client";
    ::CancelIo(server.get());
}

// A name with characters the ANSI code page lacks, and the look-alike name that a best-fit conversion
// makes of it (under code page 1252, "Łódź.txt" becomes "Lódz.txt").
struct LookAlikes {
    std::wstring typed = L"\u0141\u00f3d\u017a.txt";
    std::wstring bestFit;
};

LookAlikes MakeLookAlikes() {
    LookAlikes names;
    const std::wstring& typed = names.typed;
    const int length = ::WideCharToMultiByte(CP_ACP, 0, typed.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, typed.c_str(), -1, narrow.data(), length, nullptr, nullptr);
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0);
    names.bestFit.resize(static_cast<std::size_t>(wideLength));
    ::MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, names.bestFit.data(), wideLength);
    names.bestFit.resize(names.bestFit.find(L'\0'));
    return names;
}

class LookAlikeNames : public ActionTest {
protected:
    void SetUp() override {
        ASSERT_NE(names.bestFit, names.typed) << "code page " << ::GetACP() << " holds the name exactly";
        WriteFileBytes(folder / names.typed, "typed");
        WriteFileBytes(folder / names.bestFit, "look-alike");
        before = folder.Snapshot();
    }
    LookAlikes names = MakeLookAlikes();
    Files before;
};

TEST_F(LookAlikeNames, RenameNeverTouchesTheLookAlike) {
    EXPECT_EQ(Act(folder / names.typed, folder / L"renamed.txt", true, false, false), L"0");
    EXPECT_EQ(folder.Snapshot(), before);
    // The other way round too: a target name that cannot be written exactly is no target.
    EXPECT_EQ(Act(folder / L"..\\nothing.txt", folder / names.typed, true, false, false), L"0");
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(LookAlikeNames, DeleteNeverTouchesTheLookAlike) {
    EXPECT_EQ(Act(folder / names.typed, L"", false, false, true), L"0");
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(LookAlikeNames, DeleteAtRestartNeverTouchesTheLookAlike) {
    EXPECT_EQ(Act(folder / names.typed, L"", false, true, true), L"0");
    EXPECT_FALSE(IsPendingForRestart(folder / names.bestFit));
    RestartSystem();
    EXPECT_EQ(folder.Snapshot(), before);
}

}  // namespace
}  // namespace tarvolen::wintest
