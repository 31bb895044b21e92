// The program started with an empty command line: its window, looked at and driven from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <thread>

#include "tests/common/ReplacerPlacesAt96Dpi.h"
#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* caption;
};

const ExpectedControl kControls[] = {
    {kLabel1, L"Static", L"Souce file:"},
    {kTxtSource, L"Edit", L""},
    {kCmdBrowse0, L"Button", L"..."},
    {kLabel2, L"Static", L"Target file:"},
    {kTxtTarget, L"Edit", L""},
    {kCmdBrowse1, L"Button", L"..."},
    {kChkOverwrite, L"Button", L"Overwrite target"},
    {kChkReboot, L"Button", L"Delay until reboot"},
    {kChkKill, L"Button", L"Delete"},
    {kCommand1, L"Button", L"Action"},
};

int ExpectedDpi() {
    const char* value = std::getenv("TARVOLEN_EXPECT_DPI");
    return value != nullptr ? std::atoi(value) : 96;
}

// A 96-dpi pixel figure at another dpi, rounded half up.
LONG Scaled(LONG pixelsAt96, int dpi) { return (pixelsAt96 * dpi * 2 + 96) / (96 * 2); }

RECT ClientRectOf(HWND control, HWND window) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A button's own measure of its caption (BCM_GETIDEALSIZE): the size that fits its text in the font it
// draws with. The control writes the answer into its own process, so the SIZE is placed there.
SIZE IdealSize(HANDLE process, HWND button) {
    const auto release = [process](void* at) { ::VirtualFreeEx(process, at, 0, MEM_RELEASE); };
    const std::unique_ptr<void, decltype(release)> remote(
        ::VirtualAllocEx(process, nullptr, sizeof(SIZE), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), release);
    SIZE size{};  // zero width asks for the ideal width as well as the height
    if (!remote || !::WriteProcessMemory(process, remote.get(), &size, sizeof size, nullptr) ||
        !::SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(remote.get())) ||
        !::ReadProcessMemory(process, remote.get(), &size, sizeof size, nullptr)) {
        return {-1, -1};
    }
    return size;
}

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool HasFontFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::wcscpy_s(wanted.lfFaceName, face);
    bool found = false;
    ::EnumFontFamiliesExW(ScreenDc().get(), &wanted, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

class ReplacerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = WaitForWindow(program.Id(), L"TarvolenReplacer");
        ASSERT_NE(window, nullptr) << "the window did not open";
    }
    HWND Control(int id) const { return ::GetDlgItem(window, id); }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(program.ThreadId(), &info);
        return info.hwndFocus;
    }
    // Presses a key in the control that has the focus, as the keyboard would deliver it.
    void PressKey(WPARAM key) {
        const HWND focus = Focus();
        ::PostMessageW(focus, WM_KEYDOWN, key, 1);
        ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    }
    bool MessageBoxAppears() {
        return WaitFor([&] { return WaitForWindow(program.Id(), L"#32770", 0ms) != nullptr; }, 1500ms);
    }

    Process program = StartTarvolen(L"");
    HWND window = nullptr;
};

using ReplacerWindowLayout = ReplacerWindowTest;

TEST_F(ReplacerWindowLayout, EveryControlSitsWhereTheLayoutSaysAtTheSystemDpi) {
    const int dpi = ::GetDeviceCaps(ScreenDc().get(), LOGPIXELSY);
    ASSERT_EQ(dpi, ExpectedDpi());

    EXPECT_EQ(TextOf(window), L"Tarvolen (NT only)");
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scaled(312, dpi));
    EXPECT_EQ(client.bottom, Scaled(213, dpi));

    for (const expected::ControlPlace& place : expected::kReplacerPlacesAt96Dpi) {
        const HWND control = Control(place.id);
        ASSERT_NE(control, nullptr) << place.id;
        const RECT at = ClientRectOf(control, window);
        EXPECT_EQ(at.left, Scaled(place.at96.left, dpi)) << TextOf(control) << " " << place.id;
        EXPECT_EQ(at.top, Scaled(place.at96.top, dpi)) << place.id;
        EXPECT_EQ(at.right, Scaled(place.at96.right, dpi)) << place.id;
        EXPECT_EQ(at.bottom, Scaled(place.at96.bottom, dpi)) << place.id;
    }
}

// The program draws its controls in "MS Sans Serif", the classic dialog face the layout's sizes were made
// for; where the face is missing another one is drawn, and captions are cut.
TEST_F(ReplacerWindowLayout, CaptionsFitTheirControlsInTheFaceTheProgramAsksFor) {
    EXPECT_TRUE(HasFontFace(L"MS Sans Serif")) << "the system has no \"MS Sans Serif\"";
    for (const int id : {kChkOverwrite, kChkReboot, kChkKill, kCommand1}) {
        RECT client{};
        ::GetClientRect(Control(id), &client);
        const SIZE ideal = IdealSize(program.Handle(), Control(id));
        ASSERT_GT(ideal.cx, 0) << TextOf(Control(id)) << ": no ideal size";
        EXPECT_LE(ideal.cx, client.right) << TextOf(Control(id)) << ": caption wider than its control";
        EXPECT_LE(ideal.cy, client.bottom) << TextOf(Control(id)) << ": caption higher than its control";
    }
}

TEST_F(ReplacerWindowLayout, BrowseButtonsAreDrawnOnTopOfTheBoxesTheyOverlap) {
    for (const auto& [button, box] :
         {std::pair{kCmdBrowse0, kTxtSource}, std::pair{kCmdBrowse1, kTxtTarget}}) {
        const RECT buttonRect = ClientRectOf(Control(button), window);
        const RECT boxRect = ClientRectOf(Control(box), window);
        // A point that lies in both: what is there is the button.
        const POINT shared{(buttonRect.left + buttonRect.right) / 2, (buttonRect.top + boxRect.bottom) / 2};
        ASSERT_LT(shared.y, boxRect.bottom);
        EXPECT_EQ(::ChildWindowFromPointEx(window, shared, CWP_SKIPINVISIBLE), Control(button));
    }
}

TEST_F(ReplacerWindowTest, OpensEmptyWithEveryControlInItsFirstState) {
    for (const ExpectedControl& expected : kControls) {
        const HWND control = Control(expected.id);
        ASSERT_NE(control, nullptr);
        wchar_t className[64] = {};
        ::GetClassNameW(control, className, 64);
        EXPECT_EQ(_wcsicmp(className, expected.className), 0) << className;
        EXPECT_EQ(TextOf(control), expected.caption);
        EXPECT_TRUE(::IsWindowVisible(control));
        EXPECT_TRUE(::IsWindowEnabled(control));
    }
    for (const int box : {kChkOverwrite, kChkReboot, kChkKill}) {
        EXPECT_EQ(::SendMessageW(Control(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(::GetWindowLongW(Control(box), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
    for (const int button : {kCmdBrowse0, kCmdBrowse1, kCommand1}) {
        EXPECT_EQ(::GetWindowLongW(Control(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON)
            << "no default button";
    }
    // The text boxes take text of any length.
    EXPECT_GT(::SendMessageW(Control(kTxtSource), EM_GETLIMITTEXT, 0, 0), 32767);
    // The window may become the active one a moment after it is shown.
    EXPECT_TRUE(WaitFor([&] { return Focus() == Control(kTxtSource); }, 3s)) << TextOf(Focus());
    EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"comdlg32.dll"));
    EXPECT_FALSE(HasModuleLoaded(program.Handle(), L"shell32.dll"));
}

TEST_F(ReplacerWindowTest, TabFollowsTheKeyboardOrderAndWraps) {
    const int order[] = {kTxtSource,  kTxtTarget, kChkOverwrite, kChkReboot, kCmdBrowse0,
                         kCmdBrowse1, kCommand1,  kChkKill,      kTxtSource};
    ASSERT_TRUE(WaitFor([&] { return Focus() == Control(kTxtSource); }, 3s)) << TextOf(Focus());
    for (std::size_t i = 1; i < std::size(order); ++i) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return Focus() == Control(order[i]); }, 3s))
            << "step " << i << ": focus on " << TextOf(Focus());
    }
}

TEST_F(ReplacerWindowTest, EnterAndEscapeStartNothingAndKeepTheWindowOpen) {
    TempFolder folder;
    WriteFileBytes(folder / L"source.txt", "source");
    const auto before = folder.Snapshot();
    ::SendMessageW(Control(kTxtSource), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>((folder / L"source.txt").c_str()));
    ::SendMessageW(Control(kTxtTarget), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>((folder / L"target.txt").c_str()));

    for (const int box : {kTxtSource, kTxtTarget}) {
        ASSERT_TRUE(WaitFor([&] { return Focus() == Control(box); }, 3s)) << TextOf(Focus());
        PressKey(VK_RETURN);
        EXPECT_FALSE(MessageBoxAppears()) << "Enter started something";
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(MessageBoxAppears()) << "Escape started something";
        PressKey(VK_TAB);
    }
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(ReplacerWindowTest, ClosingTheWindowEndsTheProgram) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const std::optional<DWORD> code = program.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the program is still running";
    EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace tarvolen::wintest
