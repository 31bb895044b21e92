#pragma once
// Where the Replacer window's controls must sit at 96 dpi: the layout's sums and the real window are
// both held to these figures.

#include <array>

#include "window/ReplacerLayout.h"

namespace tarvolen::expected {

struct ControlPlace {
    int id;
    PixelRect at96;  // client pixels: left, top, right, bottom
};

inline constexpr std::array<ControlPlace, 10> kReplacerPlacesAt96Dpi{{
    {kLabel1, {8, 8, 217, 25}},
    {kTxtSource, {8, 24, 305, 43}},
    {kCmdBrowse0, {280, 40, 305, 57}},
    {kLabel2, {8, 56, 153, 73}},
    {kTxtTarget, {8, 72, 305, 91}},
    {kCmdBrowse1, {280, 88, 305, 105}},
    {kChkOverwrite, {8, 104, 113, 121}},
    {kChkReboot, {8, 120, 121, 137}},
    {kChkKill, {8, 136, 81, 153}},
    {kCommand1, {80, 160, 209, 185}},
}};

}  // namespace tarvolen::expected
