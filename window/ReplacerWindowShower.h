#pragma once

namespace tarvolen {

// Opens the Replacer window without an owner and without waiting for it.
class ReplacerWindowShower {
public:
    virtual ~ReplacerWindowShower() = default;
    virtual void Show() = 0;
};

}  // namespace tarvolen
