// The Replacer window built from its layout, and its messages handled.
#include "window/win32/frmReplacer.h"

#include <memory>
#include <utility>

#include "platform/win32/TextAndErrors.h"
#include "platform/win32/UserInterface.h"
#include "resources/resource.h"
#include "window/ReplacerHandlers.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TarvolenReplacer";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT, 0};
    case ControlKind::TextBox:
        return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    }
    EndOnFailure("unknown control kind", ERROR_INVALID_PARAMETER);
}

struct SystemDpi {
    int x;
    int y;
};

SystemDpi QuerySystemDpi() {
    const UniqueScreenDc screen = ScreenDc();
    return {::GetDeviceCaps(screen.get(), LOGPIXELSX), ::GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

// The program's icons belong to the class rather than to the window (WM_SETICON): the title bar, the
// task bar and Alt+Tab show them all the same, and the window is not made to hand its icons over to the
// window manager a second and third time while it is being built.
void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure, HICON bigIcon, HICON smallIcon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, kWindowClass, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&windowClass)) {
        EndOnLastError("the window class could not be registered");
    }
}

// The classic 8-point dialog font, for which the layout's sizes were made, at the system's dpi.
UniqueFont CreateControlFont(int dpiY) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(8, dpiY, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    ::wcscpy_s(font.lfFaceName, L"MS Sans Serif");
    return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueIcon LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return UniqueIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TARVOLEN), IMAGE_ICON,
                                                      ::GetSystemMetrics(widthMetric),
                                                      ::GetSystemMetrics(heightMetric), 0)));
}

}  // namespace

frmReplacer::frmReplacer(HINSTANCE instance, Components& components, MoveFileApi& moveFile,
                         AnsiCodePage& ansiCodePage, MessageBoxFactory messageBoxes)
    : instance_(instance),
      components_(components),
      moveFile_(moveFile),
      ansiCodePage_(ansiCodePage),
      messageBoxes_(std::move(messageBoxes)),
      focusedControl_(FirstInKeyboardOrder()) {}

void frmReplacer::Show() {
    if (!window_) {
        // The class is registered once, with the icons of the program's only Replacer window; they
        // stay loaded as long as it exists.
        if (!bigIcon_ && !smallIcon_) {
            bigIcon_ = LoadProgramIcon(instance_, SM_CXICON, SM_CYICON);
            smallIcon_ = LoadProgramIcon(instance_, SM_CXSMICON, SM_CYSMICON);
        }
        RegisterWindowClass(instance_, &frmReplacer::WindowProc, bigIcon_.get(), smallIcon_.get());
        const SystemDpi dpi = QuerySystemDpi();
        font_ = CreateControlFont(dpi.y);
        RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi.x), TwipsToPixels(kClientHeightTwips, dpi.y)};
        ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
        const std::wstring caption(kReplacerCaption);
        // WM_NCCREATE hands the window to window_, so it is owned from its first message on.
        ::CreateWindowExW(kWindowExStyle, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                          instance_, this);
        if (!window_) {
            EndOnLastError("the window could not be created");
        }
    }
    ::ShowWindow(window_.get(), SW_SHOWNORMAL);
    ::UpdateWindow(window_.get());
    ::SetFocus(Control(focusedControl_));
}

LRESULT CALLBACK frmReplacer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmReplacer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.reset(window);
    }
    auto* self = reinterpret_cast<frmReplacer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT frmReplacer::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            OnClick(LOWORD(wParam));
        }
        return 0;  // IDOK and IDCANCEL from Enter and Escape land here too, and do nothing
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            if (focus != nullptr && ::IsChild(window, focus)) {
                focusedControl_ = ::GetDlgCtrlID(focus);
            }
        } else {
            ::SetFocus(Control(focusedControl_));
        }
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(Control(focusedControl_));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        // The system destroys the window; nothing is left to release.
        window_.release();
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void frmReplacer::CreateControls(HWND window) {
    const SystemDpi dpi = QuerySystemDpi();
    for (const ControlLayout& layout : kReplacerLayout) {
        const ControlClass kind = ClassFor(layout.kind);
        const PixelRect rect = ControlRectInPixels(layout, dpi.x, dpi.y);
        const std::wstring caption(layout.caption);
        const HWND control =
            ::CreateWindowExW(kind.exStyle, kind.className, caption.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance_, nullptr);
        if (control == nullptr) {
            EndOnLastError("a control could not be created");
        }
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (layout.kind == ControlKind::TextBox) {
            ::SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
        }
    }
    // The "..." buttons overlap the text boxes' lower right corners and are drawn on top of them.
    for (const ControlLayout& layout : kReplacerLayout) {
        if (layout.arrayIndex >= 0) {
            ::SetWindowPos(Control(layout.id), HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void frmReplacer::OnClick(int controlId) {
    const ControlLayout* layout = FindControl(controlId);
    if (layout == nullptr) {
        return;
    }
    const std::unique_ptr<MessageBoxService> messageBox = messageBoxes_(window_.get());
    ReplacerContext context{*this, *messageBox, moveFile_, ansiCodePage_, components_};
    if (controlId == kCommand1) {
        Command1_Click(context);
    } else if (layout->arrayIndex >= 0) {
        cmdBrowse_Click(context, static_cast<std::int16_t>(layout->arrayIndex));
    }
}

bool frmReplacer::PreTranslate(MSG& message) {
    const HWND window = window_.get();
    if (window == nullptr || (message.hwnd != window && !::IsChild(window, message.hwnd))) {
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        MoveFocus(::GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return ::IsDialogMessageW(window, &message) != FALSE;
}

void frmReplacer::MoveFocus(bool backward) {
    const HWND focus = ::GetFocus();
    const int current = focus != nullptr && ::IsChild(window_.get(), focus) ? ::GetDlgCtrlID(focus) : 0;
    const int next = NextInKeyboardOrder(current, backward);
    const HWND control = Control(next);
    ::SetFocus(control);
    if (FindControl(next)->kind == ControlKind::TextBox) {
        ::SendMessageW(control, EM_SETSEL, 0, -1);  // like dialog navigation: the text is selected
    }
}

HWND frmReplacer::Control(int controlId) const {
    const HWND control = ::GetDlgItem(window_.get(), controlId);
    if (control == nullptr) {
        EndOnLastError("a control of the window is missing");
    }
    return control;
}

// A handler that goes on after the window was closed under its box or dialog finishes without it: it
// reads empty boxes and clear options, which name no file and ask for nothing, and its writes go nowhere.

std::wstring frmReplacer::GetText(int controlId) {
    return window_ ? WindowText(Control(controlId)) : std::wstring();
}

void frmReplacer::SetText(int controlId, std::wstring_view text) {
    if (!window_) {
        return;
    }
    const std::wstring copy(text);
    if (!::SetWindowTextW(Control(controlId), copy.c_str())) {
        EndOnLastError("a control's text could not be set");
    }
}

int frmReplacer::GetValue(int controlId) {
    return window_ ? static_cast<int>(::SendMessageW(Control(controlId), BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

WindowHandle frmReplacer::Handle() { return window_.get(); }

}  // namespace tarvolen::win32
