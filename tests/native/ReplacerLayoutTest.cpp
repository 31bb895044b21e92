#include <gtest/gtest.h>

#include <set>

#include "tests/common/ReplacerPlacesAt96Dpi.h"
#include "window/ReplacerLayout.h"

namespace tarvolen {
namespace {

TEST(TwipsTest, ConvertsByTheDotsPerInchAndRoundsToTheNearestPixel) {
    EXPECT_EQ(TwipsToPixels(4680, 96), 312);
    EXPECT_EQ(TwipsToPixels(3195, 96), 213);
    EXPECT_EQ(TwipsToPixels(15, 96), 1);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1);
    EXPECT_EQ(TwipsToPixels(3195, 144), 320);  // 319.5
    EXPECT_EQ(TwipsToPixels(4680, 120), 390);
    EXPECT_EQ(TwipsToPixels(0, 144), 0);
    EXPECT_EQ(TwipsToPixels(-15, 96), -1);
    EXPECT_EQ(TwipsToPixels(2000000000, 96), 133333333);  // twips times dpi beyond 32 bits
}

TEST(ReplacerLayoutTest, EveryControlAtItsPixelPlaceAt96Dpi) {
    for (const expected::ControlPlace& e : expected::kReplacerPlacesAt96Dpi) {
        const ControlLayout* control = FindControl(e.id);
        ASSERT_NE(control, nullptr) << e.id;
        EXPECT_EQ(ControlRectInPixels(*control, 96, 96), e.at96) << "control " << e.id;
    }
}

TEST(ReplacerLayoutTest, BrowseButtonsShareTheRightEdgeOfTheirBoxAtAnyDpi) {
    for (const int dpi : {96, 120, 144, 192}) {
        const PixelRect source = ControlRectInPixels(*FindControl(kTxtSource), dpi, dpi);
        const PixelRect target = ControlRectInPixels(*FindControl(kTxtTarget), dpi, dpi);
        const PixelRect browse0 = ControlRectInPixels(*FindControl(kCmdBrowse0), dpi, dpi);
        const PixelRect browse1 = ControlRectInPixels(*FindControl(kCmdBrowse1), dpi, dpi);
        EXPECT_EQ(browse0.right, source.right) << dpi;
        EXPECT_EQ(browse1.right, target.right) << dpi;
        // Each button overlaps its box's lower right corner.
        EXPECT_LT(browse0.top, source.bottom) << dpi;
        EXPECT_LT(browse1.top, target.bottom) << dpi;
    }
}

TEST(ReplacerLayoutTest, NoControlAnswersToTheDialogKeysOkAndCancel) {
    std::set<int> ids;
    for (const ControlLayout& control : kReplacerLayout) {
        EXPECT_NE(control.id, 1);
        EXPECT_NE(control.id, 2);
        ids.insert(control.id);
    }
    EXPECT_EQ(ids.size(), kReplacerLayout.size());
}

TEST(KeyboardOrderTest, TabRunsThroughTheControlsInTheirOrderAndWraps) {
    const int order[] = {kTxtSource,  kTxtTarget,  kChkOverwrite, kChkReboot,
                         kCmdBrowse0, kCmdBrowse1, kCommand1,     kChkKill};
    EXPECT_EQ(FirstInKeyboardOrder(), kTxtSource);
    int current = kTxtSource;
    for (std::size_t i = 1; i <= std::size(order); ++i) {
        current = NextInKeyboardOrder(current, false);
        EXPECT_EQ(current, order[i % std::size(order)]) << "step " << i;
    }
    for (std::size_t i = std::size(order); i > 0; --i) {
        EXPECT_EQ(NextInKeyboardOrder(order[i % std::size(order)], true), order[i - 1]) << "back from " << i;
    }
}

TEST(KeyboardOrderTest, LabelsAndStrangersNeverGetTheFocus) {
    EXPECT_EQ(NextInKeyboardOrder(kLabel1, false), kTxtSource);
    EXPECT_EQ(NextInKeyboardOrder(0, false), kTxtSource);
    EXPECT_EQ(NextInKeyboardOrder(0, true), kChkKill);
}

}  // namespace
}  // namespace tarvolen
