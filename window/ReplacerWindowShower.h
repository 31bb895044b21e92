#pragma once
// Start-up opens the window through this, so that it needs no window system itself.

namespace tarvolen {

// Opens the Replacer window without an owner and without waiting for it.
class ReplacerWindowShower {
public:
    virtual ~ReplacerWindowShower() = default;
    virtual void Show() = 0;
};

}  // namespace tarvolen
