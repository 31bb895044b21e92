// The Windows FileKit on real files: which names are files, and removal now or at the restart.
#include <gtest/gtest.h>

#include <optional>

#include "platform/filekit/RemovalReasons.h"
#include "platform/win32/Files.h"
#include "platform/win32/Win32FileKit.h"
#include "tests/wine/WinTestSupport.h"

namespace tarvolen::wintest {
namespace {

using win32::Win32FileKit;

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

    // On a drive the system calls removable (the tests' R:, which Wine reports as a floppy) nothing is
    // recorded: the restart may find another medium under that letter, or none. GetDriveTypeW:
    // DRIVE_REMOVABLE "The drive has removable media; for example, a floppy drive, thumb drive, or flash
    // card reader."
    const std::wstring removable = L"R:\\tarvolen-" + std::to_wstring(::GetCurrentProcessId()) + L".dll";
    WriteFileBytes(removable, "removable");
    std::optional<FileHolder> removableHolder(removable);
    EXPECT_EQ(Remove(removable), kKitFalse);
    EXPECT_TRUE(errorText.ends_with(removal_reason::kRemovableMedium)) << errorText;
    EXPECT_FALSE(IsPendingForRestart(removable));
    removableHolder.reset();
    EXPECT_TRUE(::DeleteFileW(removable.c_str()));

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

}  // namespace
}  // namespace tarvolen::wintest
