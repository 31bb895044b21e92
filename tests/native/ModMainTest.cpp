#include <gtest/gtest.h>

#include "startup/ModMain.h"
#include "tests/native/Fakes.h"

namespace tarvolen::testing {
namespace {

class MainTest : public ::testing::Test {
protected:
    void Run(std::wstring commandLine) {
        FakeCommandLine line(std::move(commandLine));
        MainContext context{line, box, fakes.components, window};
        Main(context);
    }
    // Makes the components exist before Main runs, so their settings can be given.
    FakeShellKit& Shell() { return fakes.Shell(); }
    FakeFileKit& Files() { return fakes.Files(); }

    CallLog log;
    FakeMessageBox box{log};
    FakeWindow window{log};
    FakeComponents fakes{log};
};

TEST_F(MainTest, EmptyCommandLineOpensTheWindowAndNothingElse) {
    Run(L"");
    EXPECT_EQ(log, CallLog{L"window.Show"});
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(fakes.shellKitsMade, 0);
    EXPECT_EQ(fakes.fileKitsMade, 0);
}

TEST_F(MainTest, AnyTextSelectsDeletionModeAndNeverOpensTheWindow) {
    for (const wchar_t* text : {L" ", L"\"\"", L"C:\\x.txt", L"-h"}) {
        log.clear();
        box.answers = {kAnswerNo};
        Run(text);
        EXPECT_EQ(std::count(log.begin(), log.end(), L"window.Show"), 0) << text;
        EXPECT_FALSE(box.shown.empty()) << text;
    }
    // Both components were made once and then shared by every later call.
    EXPECT_EQ(fakes.shellKitsMade, 1);
    EXPECT_EQ(fakes.fileKitsMade, 1);
}

TEST_F(MainTest, MissingFileShowsOnlyTheNotFoundBox) {
    Shell().resolved = L"C:\\data\\gone.txt";
    Files().exists = kKitFalse;
    Run(L"\"gone.txt\"");
    EXPECT_EQ(log,
              (CallLog{L"PathFromCommandLine(\"gone.txt\")", L"FileExists(C:\\data\\gone.txt)", L"box"}));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, L"Datei nicht gefunden - \"C:\\data\\gone.txt\".");
    EXPECT_EQ(box.shown[0].style, 48u);
    EXPECT_EQ(box.shown[0].title, L"Fehler");
}

TEST_F(MainTest, NoLeavesTheFileAloneAndShowsNothingMore) {
    Shell().resolved = L"C:\\data\\keep.txt";
    box.answers = {kAnswerNo};
    Run(L"keep.txt");
    EXPECT_EQ(log, (CallLog{L"PathFromCommandLine(keep.txt)", L"FileExists(C:\\data\\keep.txt)", L"box"}));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, L"Datei \"C:\\data\\keep.txt\" wirklich l\u00f6schen?");
    EXPECT_EQ(box.shown[0].style, 36u);
    EXPECT_EQ(box.shown[0].title, std::nullopt);
}

TEST_F(MainTest, OnlyAnExplicitYesRemovesTheFile) {
    // 0 is what a box that could not be shown answers; nobody said Yes, so nothing may be removed.
    for (const int answer : {0, kAnswerOk, 2, kAnswerNo, -1}) {
        log.clear();
        box.shown.clear();
        box.answers = {answer};
        Run(L"C:\\data\\precious.txt");
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const std::wstring& call) { return call.rfind(L"RemoveFile", 0) == 0; }),
                  0)
            << "answer " << answer;
        EXPECT_EQ(box.shown.size(), 1u) << "answer " << answer;
    }
}

TEST_F(MainTest, YesRemovesWithBothFlagsSetAndReportsTheRemoval) {
    Shell().resolved = L"C:\\data\\old.txt";
    box.answers = {kAnswerYes};
    Run(L"old.txt");
    EXPECT_EQ(log, (CallLog{L"PathFromCommandLine(old.txt)", L"FileExists(C:\\data\\old.txt)", L"box",
                            L"RemoveFile(C:\\data\\old.txt,-1,-1)", L"box"}));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text, L"Die Datei wurde gel\u00f6scht.");
    EXPECT_EQ(box.shown[1].style, 64u);
    EXPECT_EQ(box.shown[1].title, L"Hinweis");
}

TEST_F(MainTest, RemovalLeftForTheRestartGetsItsOwnNotice) {
    Files().scheduled = kKitTrue;
    box.answers = {kAnswerYes};
    Run(L"C:\\in use.dll");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text, L"Die Datei wird beim n\u00e4chsten Neustart entfernt.");
    EXPECT_EQ(box.shown[1].style, 64u);
    EXPECT_EQ(box.shown[1].title, L"Hinweis");

    // The programs holding the file go on a line of their own below it.
    Files().heldBy = L"Die Datei wird verwendet von: \u201eEditor\u201c (1234).";
    box.shown.clear();
    box.answers = {kAnswerYes};
    Run(L"C:\\in use.dll");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text,
              L"Die Datei wird beim n\u00e4chsten Neustart entfernt.\r\nDie Datei wird verwendet von: "
              L"\u201eEditor\u201c (1234).");
    EXPECT_EQ(log.back(), L"box");
    EXPECT_EQ(log[log.size() - 2], L"HeldBy");
}

TEST_F(MainTest, AnyNonZeroFlagCountsAsTrue) {
    Files().exists = 1;
    Files().removed = 1;
    Files().scheduled = 2;
    box.answers = {kAnswerYes};
    Run(L"C:\\x");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text, L"Die Datei wird beim n\u00e4chsten Neustart entfernt.");
}

TEST_F(MainTest, RefusedRemovalShowsTheReasonOnALineOfItsOwn) {
    Files().removed = kKitFalse;
    Files().error = L"Zugriff verweigert";
    box.answers = {kAnswerYes};
    Run(L"C:\\locked.txt");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text, L"Datei konnte nicht gel\u00f6scht werden.\r\nZugriff verweigert");
    EXPECT_EQ(box.shown[1].style, 48u);
    EXPECT_EQ(box.shown[1].title, L"Fehler");

    // A refusal whose reason is empty still ends with the line break.
    Files().error.clear();
    box.shown.clear();
    box.answers = {kAnswerYes};
    Run(L"C:\\locked.txt");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text, L"Datei konnte nicht gel\u00f6scht werden.\r\n");
}

TEST_F(MainTest, BoxesShowTheResolvedPathNotTheRawText) {
    Shell().resolved = L"C:\\stripped.txt";
    box.answers = {kAnswerYes};
    Run(L"  \"stripped.txt\"  ");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].text, L"Datei \"C:\\stripped.txt\" wirklich l\u00f6schen?");
    EXPECT_EQ(log[1], L"FileExists(C:\\stripped.txt)");
    EXPECT_EQ(log[3], L"RemoveFile(C:\\stripped.txt,-1,-1)");
}

TEST_F(MainTest, QuotationMarksInsideThePathAreShownUnchanged) {
    Shell().resolved = L"C:\\a \"b\" c.txt";
    Files().exists = kKitFalse;
    Run(L"x");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, L"Datei nicht gefunden - \"C:\\a \"b\" c.txt\".");
}

}  // namespace
}  // namespace tarvolen::testing
