// Twips turned into pixels at the system's dpi, and Tab's way through the controls.
#include "window/ReplacerLayout.h"

#include <algorithm>
#include <vector>

namespace tarvolen {

namespace {

constexpr int kTwipsPerInch = 1440;

bool TakesFocus(const ControlLayout& control) { return control.kind != ControlKind::Label; }

std::vector<int> KeyboardOrder() {
    std::vector<const ControlLayout*> focusable;
    for (const ControlLayout& control : kReplacerLayout) {
        if (TakesFocus(control)) {
            focusable.push_back(&control);
        }
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlLayout* a, const ControlLayout* b) { return a->tabIndex < b->tabIndex; });
    std::vector<int> ids;
    for (const ControlLayout* control : focusable) {
        ids.push_back(control->id);
    }
    return ids;
}

}  // namespace

// Whole inches first, then the rest, so that the product stays within 32 bits and the 32-bit program
// needs none of the C runtime's 64-bit division; halves round away from zero.
int TwipsToPixels(int twips, int dpi) {
    const bool negative = (twips < 0) != (dpi < 0);
    const auto magnitude = [](int value) {
        return value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    };
    const unsigned perInch = kTwipsPerInch;
    const unsigned length = magnitude(twips);
    const unsigned dots = magnitude(dpi);
    const unsigned pixels = length / perInch * dots + (length % perInch * dots + perInch / 2) / perInch;
    return negative ? -static_cast<int>(pixels) : static_cast<int>(pixels);
}

PixelRect ControlRectInPixels(const ControlLayout& control, int dpiX, int dpiY) {
    return PixelRect{TwipsToPixels(control.left, dpiX), TwipsToPixels(control.top, dpiY),
                     TwipsToPixels(control.left + control.width, dpiX),
                     TwipsToPixels(control.top + control.height, dpiY)};
}

const ControlLayout* FindControl(int id) {
    const auto found = std::find_if(kReplacerLayout.begin(), kReplacerLayout.end(),
                                    [id](const ControlLayout& control) { return control.id == id; });
    return found == kReplacerLayout.end() ? nullptr : &*found;
}

int NextInKeyboardOrder(int currentId, bool backward) {
    const std::vector<int> order = KeyboardOrder();
    const auto at = std::find(order.begin(), order.end(), currentId);
    if (at == order.end()) {
        return backward ? order.back() : order.front();
    }
    const std::size_t position = static_cast<std::size_t>(at - order.begin());
    const std::size_t count = order.size();
    return order[backward ? (position + count - 1) % count : (position + 1) % count];
}

int FirstInKeyboardOrder() { return KeyboardOrder().front(); }

}  // namespace tarvolen
