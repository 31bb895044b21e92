#pragma once
// The Replacer window as Windows sees it: its controls, its messages and its keyboard.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "platform/Components.h"
#include "platform/FormControls.h"
#include "platform/MessageBoxService.h"
#include "platform/MoveFileApi.h"
#include "platform/win32/Handles.h"
#include "window/ReplacerWindowShower.h"

namespace tarvolen::win32 {

// The Replacer window: source and target boxes, three options, two "..." buttons and "Action".
// It lays out its controls, runs its own keyboard order, gives the focus back to the control that had it
// when the window is activated again, and passes the button clicks to the click handlers with what
// they reach: the controls, a box owned by the window, MoveFileExA and the ANSI code page.
class frmReplacer final : public ReplacerWindowShower, private FormControls {
public:
    frmReplacer(HINSTANCE instance, Components& components, MoveFileApi& moveFile, AnsiCodePage& ansiCodePage,
                MessageBoxFactory messageBoxes);
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
    MoveFileApi& moveFile_;
    AnsiCodePage& ansiCodePage_;
    MessageBoxFactory messageBoxes_;
    int focusedControl_;
    // The font and icons outlive the window that uses them.
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;
};

}  // namespace tarvolen::win32
