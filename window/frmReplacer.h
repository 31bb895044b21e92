#pragma once

#include <windows.h>

#include "platform/FormControls.h"
#include "platform/SharedInstance.h"
#include "platform/win32/UniqueResource.h"
#include "platform/win32/Win32Platform.h"
#include "window/ReplacerWindowShower.h"

namespace tarvolen::win32 {

// The Replacer window: source and target boxes, three options, two "..." buttons and "Action".
// It only lays out its controls and passes the button clicks to the click handlers.
class frmReplacer final : public ReplacerWindowShower, private FormControls {
public:
    frmReplacer(HINSTANCE instance, Components& components, FsRedirection& redirection);
    frmReplacer(const frmReplacer&) = delete;
    frmReplacer& operator=(const frmReplacer&) = delete;

    // Opens the window without an owner and returns at once.
    void Show() override;

    bool IsOpen() const { return static_cast<bool>(window_); }

    // Gives the window the first look at a message taken from the queue: its own keyboard order for
    // Tab and Shift+Tab, then the usual dialog keys. True when the message needs no further dispatch.
    bool PreTranslate(MSG& message);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HWND window);
    void OnClick(int controlId);
    void MoveFocus(bool backward);
    HWND Control(int controlId) const;

    std::wstring GetText(int controlId) override;
    void SetText(int controlId, std::wstring_view text) override;
    int GetValue(int controlId) override;
    WindowHandle Handle() override;

    HINSTANCE instance_;
    Components& components_;
    Kernel32MoveFile moveFile_;
    Win32AnsiCodePage ansiCodePage_;
    int focusedControl_;
    // The font and icons outlive the window that uses them.
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;
};

// Runs the window's message loop until the window is gone; returns at once when no window was opened.
int RunMessageLoop(frmReplacer& replacer);

}  // namespace tarvolen::win32
