#pragma once
// The click handlers read and write the window's controls without knowing Windows.

#include <string>
#include <string_view>

#include "platform/WindowHandle.h"

namespace tarvolen {

// The controls of a window as click handlers see them, addressed by control id. Once the window is
// gone (closed while a handler waited in a box or dialog), texts read empty, check boxes clear and the
// handle null, and writes do nothing.
class FormControls {
public:
    virtual ~FormControls() = default;

    virtual std::wstring GetText(int controlId) = 0;
    virtual void SetText(int controlId, std::wstring_view text) = 0;
    // A check box's value: 0 clear, 1 checked.
    virtual int GetValue(int controlId) = 0;
    // The window's own handle.
    virtual WindowHandle Handle() = 0;
};

}  // namespace tarvolen
