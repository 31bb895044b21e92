// The Windows implementations of ShellKit, FileKit and the ANSI conversion, on real files.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/win32/Win32Platform.h"
#include "tests/wine/WinTestSupport.h"

// After <windows.h>, which the support header brings in.
#include <commdlg.h>

namespace tarvolen::wintest {
namespace {

using win32::Win32FileKit;
using win32::Win32ShellKit;

class FileKitTest : public ::testing::Test {
protected:
    KitFlag Remove(const std::wstring& path, KitFlag clearReadOnly = kKitTrue,
                   KitFlag allowRestart = kKitTrue) {
        scheduled = 12345;
        errorText = L"left over";
        return kit.RemoveFile(path, clearReadOnly, allowRestart, scheduled, errorText);
    }

    TempFolder folder;
    win32::Wow64Redirection redirection;
    Win32FileKit kit{redirection};
    KitFlag scheduled = 0;
    std::wstring errorText;
};

TEST_F(FileKitTest, ExistsOnlyForRegularFiles) {
    WriteFileBytes(folder / L"plain.txt", "x");
    WriteFileBytes(folder / L"locked.txt", "x");
    SetReadOnly(folder / L"locked.txt", true);
    ::CreateDirectoryW((folder / L"sub").c_str(), nullptr);

    EXPECT_NE(kit.FileExists(folder / L"plain.txt"), kKitFalse);
    EXPECT_NE(kit.FileExists(folder / L"locked.txt"), kKitFalse);
    EXPECT_EQ(kit.FileExists(folder / L"sub"), kKitFalse);
    EXPECT_EQ(kit.FileExists(folder / L"missing.txt"), kKitFalse);
    EXPECT_EQ(kit.FileExists(L""), kKitFalse);
    // A pattern is not a file, even when a file matches it.
    EXPECT_EQ(kit.FileExists(folder / L"*.txt"), kKitFalse);
    EXPECT_EQ(kit.FileExists(folder / L"plain.tx?"), kKitFalse);
    for (const wchar_t* device : {L"NUL", L"CON", L"COM1", L"nul.txt"}) {
        EXPECT_EQ(kit.FileExists(folder / device), kKitFalse) << device;
        EXPECT_EQ(kit.FileExists(std::wstring(L"\\\\.\\") + device), kKitFalse) << device;
    }
    SetReadOnly(folder / L"locked.txt", false);
}

TEST_F(FileKitTest, RemovesAFileAtOnce) {
    WriteFileBytes(folder / L"old.txt", "old");
    WriteFileBytes(folder / L"other.txt", "other");
    EXPECT_NE(Remove(folder / L"old.txt"), kKitFalse);
    EXPECT_EQ(scheduled, kKitFalse);
    EXPECT_EQ(errorText, L"");
    EXPECT_FALSE(PathExists(folder / L"old.txt"));
    EXPECT_EQ(folder.Snapshot().size(), 1u);
}

TEST_F(FileKitTest, ClearsTheReadOnlyAttributeOnlyWhenAskedTo) {
    WriteFileBytes(folder / L"ro.txt", "ro");
    SetReadOnly(folder / L"ro.txt", true);

    EXPECT_EQ(Remove(folder / L"ro.txt", kKitFalse, kKitTrue), kKitFalse);
    EXPECT_NE(errorText, L"");
    EXPECT_EQ(scheduled, kKitFalse);
    EXPECT_TRUE(IsReadOnly(folder / L"ro.txt"));
    EXPECT_FALSE(IsPendingForRestart(folder / L"ro.txt"));

    EXPECT_NE(Remove(folder / L"ro.txt"), kKitFalse);
    EXPECT_EQ(scheduled, kKitFalse);
    EXPECT_FALSE(PathExists(folder / L"ro.txt"));
}

TEST_F(FileKitTest, FailureNamesTheReasonAndLeavesTheFileAsItWas) {
    EXPECT_EQ(Remove(folder / L"missing.txt"), kKitFalse);
    EXPECT_EQ(scheduled, kKitFalse);
    EXPECT_NE(errorText, L"");
    EXPECT_EQ(errorText.find_last_of(L"\r\n"), std::wstring::npos) << "no trailing line break";

    ::CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    EXPECT_EQ(Remove(folder / L"sub"), kKitFalse);
    EXPECT_NE(errorText, L"");
    EXPECT_TRUE(PathExists(folder / L"sub"));
}

TEST_F(FileKitTest, FileInUseWithoutRestartIsRefusedAndKeepsItsAttribute) {
    WriteFileBytes(folder / L"busy.txt", "busy");
    SetReadOnly(folder / L"busy.txt", true);
    FileHolder holder(folder / L"busy.txt");
    EXPECT_NE(kit.FileExists(folder / L"busy.txt"), kKitFalse);
    EXPECT_EQ(Remove(folder / L"busy.txt", kKitTrue, kKitFalse), kKitFalse);
    EXPECT_NE(errorText, L"");
    EXPECT_EQ(scheduled, kKitFalse);
    EXPECT_TRUE(PathExists(folder / L"busy.txt"));
    EXPECT_TRUE(IsReadOnly(folder / L"busy.txt")) << "the attribute is put back";
    holder.Release();
    SetReadOnly(folder / L"busy.txt", false);
}

TEST_F(FileKitTest, FileInUseIsRemovedAtTheRestart) {
    WriteFileBytes(folder / L"busy.dll", "busy");
    WriteFileBytes(folder / L"neighbour.dll", "stays");
    FileHolder holder(folder / L"busy.dll");

    EXPECT_NE(Remove(folder / L"busy.dll"), kKitFalse);
    EXPECT_NE(scheduled, kKitFalse);
    EXPECT_TRUE(PathExists(folder / L"busy.dll"));
    EXPECT_TRUE(IsPendingForRestart(folder / L"busy.dll"));

    holder.Release();
    EXPECT_TRUE(PathExists(folder / L"busy.dll")) << "nothing happens before the restart";
    RestartSystem();
    EXPECT_FALSE(PathExists(folder / L"busy.dll"));
    EXPECT_EQ(ReadFileBytes(folder / L"neighbour.dll"), "stays");
}

TEST_F(FileKitTest, ReadOnlyFileWithASecondNameKeepsItsAttributeThroughThatName) {
    WriteFileBytes(folder / L"first.txt", "shared");
    ASSERT_TRUE(
        ::CreateHardLinkW((folder / L"second.txt").c_str(), (folder / L"first.txt").c_str(), nullptr));
    SetReadOnly(folder / L"first.txt", true);
    ASSERT_NE(kit.FileExists(folder / L"first.txt"), kKitFalse);

    // In use, it is not left for the restart, which could only remove it without the attribute.
    std::optional<FileHolder> holder(std::in_place, folder / L"first.txt");
    EXPECT_EQ(Remove(folder / L"first.txt"), kKitFalse);
    EXPECT_NE(errorText.find(L"weitere Namen"), std::wstring::npos) << errorText;
    EXPECT_FALSE(IsPendingForRestart(folder / L"first.txt"));
    EXPECT_TRUE(IsReadOnly(folder / L"second.txt"));
    holder.reset();

    EXPECT_NE(Remove(folder / L"first.txt"), kKitFalse);
    EXPECT_FALSE(PathExists(folder / L"first.txt"));
    EXPECT_EQ(ReadFileBytes(folder / L"second.txt"), "shared");
    EXPECT_TRUE(IsReadOnly(folder / L"second.txt")) << "the file lives on and keeps its attribute";
}

TEST(ShellKitTest, PathFromCommandLineMakesTheTextAnAbsolutePath) {
    TempFolder folder;
    ::SetCurrentDirectoryW(folder.Path().c_str());
    Win32ShellKit kit;
    EXPECT_EQ(kit.PathFromCommandLine(L"a.txt"), folder / L"a.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"  \"a b.txt\"  "), folder / L"a b.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"sub\\..\\c.txt"), folder / L"c.txt");
    EXPECT_EQ(kit.PathFromCommandLine(folder / L"d.txt"), folder / L"d.txt");
    EXPECT_EQ(kit.PathFromCommandLine(L"   "), L"");
    // The "\\?\" form is taken as it is, a last dot or space included.
    for (const wchar_t* literal :
         {L"\\\\?\\C:\\d\\report.pdf ", L"\\\\?\\C:\\d\\report.pdf.", L"\\\\?\\C:\\d\\..\\e"}) {
        EXPECT_EQ(kit.PathFromCommandLine(L" \"" + std::wstring(literal) + L"\" "), literal);
    }

    // Longer than the classic 260-character limit, and not cut short.
    const std::wstring longName = std::wstring(300, L'n') + L".txt";
    EXPECT_EQ(kit.PathFromCommandLine(L"\"" + longName + L"\""), folder / longName);
    ::SetCurrentDirectoryW(BuildFolder().c_str());
}

TEST(ShellKitTest, TextNamingSeveralFilesResolvesToNoExistingFile) {
    TempFolder folder;
    WriteFileBytes(folder / L"a.txt", "a");
    WriteFileBytes(folder / L"b.txt", "b");
    Win32ShellKit shell;
    win32::Wow64Redirection redirection;
    Win32FileKit files{redirection};
    for (const std::wstring& text : {L"\"" + (folder / L"a.txt") + L"\" \"" + (folder / L"b.txt") + L"\"",
                                     (folder / L"a.txt") + L" " + (folder / L"b.txt"), folder / L"?.txt"}) {
        EXPECT_EQ(files.FileExists(shell.PathFromCommandLine(text)), kKitFalse) << text;
    }
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

TEST(ShellKitTest, AFailingOpenDialogIsNoCancel) {
    Win32ShellKit kit;
    std::wstring path = L"C:\\*.exe";
    // Asked for a dialog template that the program does not have, the dialog fails instead of opening.
    // Should it open after all, it is cancelled, so that the test ends.
    std::atomic<bool> done = false;
    std::thread canceller([&] {
        WaitFor([&] {
            const HWND dialog = WaitForWindow(::GetCurrentProcessId(), L"#32770", 100ms);
            if (dialog != nullptr) {
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            return done.load();
        });
    });
    EXPECT_THROW(
        kit.ShowOpenDialog(path, L"Open...", nullptr, L"*.*|*.*", 1, OFN_ENABLETEMPLATE, 0, kKitTrue),
        std::runtime_error);
    done = true;
    canceller.join();
    EXPECT_EQ(path, L"C:\\*.exe");
}

}  // namespace
}  // namespace tarvolen::wintest
