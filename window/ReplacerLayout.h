#pragma once
// The Replacer window's controls, their places in twips and their keyboard order.

#include <array>
#include <optional>
#include <string_view>

namespace tarvolen {

inline constexpr std::wstring_view kReplacerCaption = L"Tarvolen (NT only)";

// Control ids of the Replacer window. None of them is 1 (IDOK) or 2 (IDCANCEL): dialog navigation
// turns Enter and Escape into those, and no control may answer to them.
enum ReplacerControl : int {
    kLabel1 = 101,
    kTxtSource,
    kCmdBrowse0,
    kLabel2,
    kTxtTarget,
    kCmdBrowse1,
    kChkOverwrite,
    kChkReboot,
    kChkKill,
    kCommand1,
};

enum class ControlKind { Label, TextBox, PushButton, CheckBox };

// One control, placed in twips relative to the client area's top-left corner.
struct ControlLayout {
    int id;
    ControlKind kind;
    std::wstring_view caption;
    int left, top, width, height;
    int tabIndex;    // keyboard order, lowest first; labels take no focus
    int arrayIndex;  // Index within the cmdBrowse array, -1 for other controls
};

inline constexpr int kClientWidthTwips = 4680;
inline constexpr int kClientHeightTwips = 3195;

// In the order the controls are created; the "..." buttons are raised above the text boxes they
// overlap afterwards, so the keyboard order is kept apart from the painting order.
inline constexpr std::array<ControlLayout, 10> kReplacerLayout{{
    {kLabel1, ControlKind::Label, L"Souce file:", 120, 120, 3135, 255, 1, -1},
    {kTxtSource, ControlKind::TextBox, L"", 120, 360, 4455, 285, 0, -1},
    {kCmdBrowse0, ControlKind::PushButton, L"...", 4200, 600, 375, 255, 6, 0},
    {kLabel2, ControlKind::Label, L"Target file:", 120, 840, 2175, 255, 2, -1},
    {kTxtTarget, ControlKind::TextBox, L"", 120, 1080, 4455, 285, 3, -1},
    {kCmdBrowse1, ControlKind::PushButton, L"...", 4200, 1320, 375, 255, 7, 1},
    {kChkOverwrite, ControlKind::CheckBox, L"Overwrite target", 120, 1560, 1575, 255, 4, -1},
    {kChkReboot, ControlKind::CheckBox, L"Delay until reboot", 120, 1800, 1695, 255, 5, -1},
    {kChkKill, ControlKind::CheckBox, L"Delete", 120, 2040, 1095, 255, 9, -1},
    {kCommand1, ControlKind::PushButton, L"Action", 1200, 2400, 1935, 375, 8, -1},
}};

struct PixelRect {
    int left, top, right, bottom;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Twips to pixels at `dpi` dots per inch (1440 twips to the inch), rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

// A control's rectangle in client pixels. Edges are converted, not sizes, so controls whose edges
// line up in twips still line up in pixels.
PixelRect ControlRectInPixels(const ControlLayout& control, int dpiX, int dpiY);

const ControlLayout* FindControl(int id);

// The control that Tab (or Shift+Tab when `backward`) moves the focus to from `currentId`; wraps
// around at either end. From a control outside the keyboard order it starts at the first (or last).
int NextInKeyboardOrder(int currentId, bool backward);

// The control that has the focus when the window opens.
int FirstInKeyboardOrder();

}  // namespace tarvolen
