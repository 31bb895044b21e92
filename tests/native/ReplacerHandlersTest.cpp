#include <gtest/gtest.h>

#include <algorithm>

#include "tests/native/Fakes.h"
#include "window/ReplacerHandlers.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::testing {
namespace {

class ReplacerHandlersTest : public ::testing::Test {
protected:
    CallLog log;
    FakeForm form{log};
    FakeMessageBox box{log};
    FakeMoveFile moveFile{log};
    FakeAnsiCodePage ansi;
    FakeComponents fakes{log};
    ReplacerContext context{form, box, moveFile, ansi, fakes.components};

    void Check(int box, bool checked) { form.values[box] = checked ? 1 : 0; }
    bool WasRead(int box) const {
        return std::find(log.begin(), log.end(), L"GetText(" + std::to_wstring(box) + L")") != log.end();
    }
};

TEST_F(ReplacerHandlersTest, OptionsGiveTheFlagsAndDeleteDropsTheTarget) {
    struct Case {
        bool overwrite, reboot, kill;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {false, false, false, 0}, {true, false, false, 1}, {false, true, false, 4}, {true, true, false, 5},
        {false, false, true, 0},  {true, false, true, 1},  {false, true, true, 4},  {true, true, true, 5},
    };
    for (const Case& c : cases) {
        log.clear();
        moveFile.calls.clear();
        form.texts = {{kTxtSource, L"C:\\a.txt"}, {kTxtTarget, L"D:\\b.txt"}};
        Check(kChkOverwrite, c.overwrite);
        Check(kChkReboot, c.reboot);
        Check(kChkKill, c.kill);
        Command1_Click(context);

        const std::string where =
            std::to_string(c.overwrite) + std::to_string(c.reboot) + std::to_string(c.kill);
        ASSERT_EQ(moveFile.calls.size(), 1u) << where;
        EXPECT_EQ(moveFile.calls[0].flags, c.flags) << where;
        EXPECT_EQ(moveFile.calls[0].existing, "C:\\a.txt") << where;
        if (c.kill) {
            // No target at all: a null pointer, and the target box is not even read.
            EXPECT_EQ(moveFile.calls[0].newName, std::nullopt) << where;
            EXPECT_FALSE(WasRead(kTxtTarget)) << where;
            EXPECT_EQ(log, (CallLog{L"GetText(102)", L"MoveFileExA", L"box"})) << where;
        } else {
            EXPECT_EQ(moveFile.calls[0].newName, "D:\\b.txt") << where;
            EXPECT_EQ(log, (CallLog{L"GetText(102)", L"GetText(105)", L"MoveFileExA", L"box"})) << where;
        }
    }
}

TEST_F(ReplacerHandlersTest, TheResultIsShownAsABareNumberInAPlainBox) {
    for (const std::int32_t result : {1, 0, -1, 2147483647, -2147483647 - 1}) {
        box.shown.clear();
        moveFile.result = result;
        Command1_Click(context);
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, std::to_wstring(result));
        EXPECT_EQ(box.shown[0].style, 0u);
        EXPECT_EQ(box.shown[0].title, std::nullopt);
    }
}

TEST_F(ReplacerHandlersTest, EmptyBoxesStillMakeTheCall) {
    moveFile.result = 0;
    Command1_Click(context);
    ASSERT_EQ(moveFile.calls.size(), 1u);
    EXPECT_EQ(moveFile.calls[0].existing, "");
    EXPECT_EQ(moveFile.calls[0].newName, "");
    EXPECT_EQ(box.shown.at(0).text, L"0");
}

TEST_F(ReplacerHandlersTest, EveryPressMakesOneCallAndOneBoxAndLeavesTheEntriesAlone) {
    form.texts = {{kTxtSource, L"a"}, {kTxtTarget, L"b"}};
    Check(kChkOverwrite, true);
    Command1_Click(context);
    Command1_Click(context);
    EXPECT_EQ(moveFile.calls.size(), 2u);
    EXPECT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::wstring& call) { return call.rfind(L"SetText", 0) == 0; }),
              0);
    EXPECT_EQ(fakes.shellKitsMade + fakes.fileKitsMade, 0);
}

// Nor is a name that leads to no file but to a device, named pipe or mailslot, whose server the call
// would contact.
TEST_F(ReplacerHandlersTest, APathWithoutAnExactAnsiFormIsNeverPassedOn) {
    // Source, then target, then the deleted source: each without an exact equivalent, then no file.
    const std::wstring lookAlike = L"C:\\\u0141\u00f3d\u017a.txt";
    const struct {
        std::wstring source, target;
        bool kill;
    } cases[] = {{lookAlike, L"C:\\b.txt", false},
                 {L"C:\\a.txt", lookAlike, false},
                 {lookAlike, L"", true},
                 {L"\\\\.\\pipe\\name", L"C:\\b.txt", false},
                 {L"C:\\a.txt", L"\\\\server\\PIPE\\name", false},
                 {L"\\\\?\\GLOBALROOT\\Device\\Null", L"", true},
                 {L"\\\\.\\COM1", L"", true},
                 {L"\\\\?\\UNC\\server\\mailslot\\m", L"", true}};
    for (const auto& c : cases) {
        box.shown.clear();
        form.texts = {{kTxtSource, c.source}, {kTxtTarget, c.target}};
        Check(kChkKill, c.kill);
        Check(kChkReboot, true);
        Command1_Click(context);
        EXPECT_TRUE(moveFile.calls.empty());
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, L"0");
        EXPECT_EQ(box.shown[0].style, 0u);
    }
}

TEST_F(ReplacerHandlersTest, BrowseWritesOnlyItsOwnBox) {
    fakes.Shell().specialFolder = L"C:\\WINDOWS";
    fakes.Shell().chosenPath = L"D:\\picked file.exe";
    for (const std::int16_t index : {std::int16_t{0}, std::int16_t{1}}) {
        form.texts = {{kTxtSource, L"old source"}, {kTxtTarget, L"old target"}};
        cmdBrowse_Click(context, index);
        EXPECT_EQ(form.texts[index == 0 ? kTxtSource : kTxtTarget], L"D:\\picked file.exe") << index;
        EXPECT_EQ(form.texts[index == 0 ? kTxtTarget : kTxtSource],
                  index == 0 ? L"old target" : L"old source");
    }
    for (const std::int16_t index : {std::int16_t{-1}, std::int16_t{2}, std::int16_t{7}}) {
        form.texts = {{kTxtSource, L"s"}, {kTxtTarget, L"t"}};
        cmdBrowse_Click(context, index);
        EXPECT_EQ(form.texts, (std::map<int, std::wstring>{{kTxtSource, L"s"}, {kTxtTarget, L"t"}})) << index;
    }
    EXPECT_EQ(fakes.shellKitsMade, 1);
}

TEST_F(ReplacerHandlersTest, BrowseAlwaysStartsInTheWindowsFolderWithTheSameArguments) {
    fakes.Shell().specialFolder = L"C:\\WINDOWS";
    form.texts = {{kTxtSource, L"C:\\somewhere\\else.txt"}};
    log.clear();
    cmdBrowse_Click(context, 0);
    cmdBrowse_Click(context, 0);
    EXPECT_EQ(log, (CallLog{L"GetSpecialFolder(36,0,0)", L"ShowOpenDialog", L"SetText(102)",
                            L"GetSpecialFolder(36,0,0)", L"ShowOpenDialog", L"SetText(102)"}));
    ASSERT_EQ(fakes.shell->dialogs.size(), 2u);
    for (const OpenDialogCall& call : fakes.shell->dialogs) {
        EXPECT_EQ(call.initialPath, L"C:\\WINDOWS\\*.exe");
        EXPECT_EQ(call.title, L"Open...");
        EXPECT_EQ(call.owner, form.handle);
        EXPECT_EQ(call.filter, L"*.*|*.*");
        EXPECT_EQ(call.filterIndex, 1);
        EXPECT_EQ(call.extraFlags, 0);
        EXPECT_EQ(call.reserved, 0);
        EXPECT_EQ(call.fileMustExist, -1);
    }
    // Cancelled: the box receives the start pattern, as the dialog left it.
    EXPECT_EQ(form.texts[kTxtSource], L"C:\\WINDOWS\\*.exe");
}

}  // namespace
}  // namespace tarvolen::testing
