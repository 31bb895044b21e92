// The least program that shows what tarvolen.exe shows in window mode: a top-level window of the same
// style and size with the same controls (classes, styles, captions and places), laid out at the
// system's dpi. It has no fonts, icons or handlers of its own, so its start-up is the floor that the
// real program is measured against.
#include <windows.h>

#include "platform/win32/Handles.h"
#include "window/ReplacerLayout.h"

namespace {

using namespace tarvolen;

constexpr wchar_t kClassName[] = L"TarvolenFloor";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr wchar_t kCaption[] = L"Tarvolen (NT only)";
static_assert(kReplacerCaption == kCaption);

int g_dpiX = 96;
int g_dpiY = 96;

int Pixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

void CreateControls(HWND window, HINSTANCE instance) {
    for (const ControlLayout& layout : kReplacerLayout) {
        const wchar_t* className = L"BUTTON";
        DWORD style = WS_TABSTOP;
        DWORD exStyle = 0;
        switch (layout.kind) {
        case ControlKind::Label:
            className = L"STATIC";
            style = SS_LEFT;
            break;
        case ControlKind::TextBox:
            className = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PushButton:
            style |= BS_PUSHBUTTON;
            break;
        case ControlKind::CheckBox:
            style |= BS_AUTOCHECKBOX;
            break;
        }
        const int left = Pixels(layout.left, g_dpiX);
        const int top = Pixels(layout.top, g_dpiY);
        // The captions are views into null-terminated literals.
        ::CreateWindowExW(exStyle, className, layout.caption.data(),
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, left, top,
                          Pixels(layout.left + layout.width, g_dpiX) - left,
                          Pixels(layout.top + layout.height, g_dpiY) - top, window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    {
        const tarvolen::win32::UniqueScreenDc screen = tarvolen::win32::ScreenDc();
        g_dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
        g_dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);

    RECT frame{0, 0, Pixels(kClientWidthTwips, g_dpiX), Pixels(kClientHeightTwips, g_dpiY)};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    // The window lives until the process ends; the system destroys it then.
    const HWND window = ::CreateWindowExW(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                          frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                          nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
