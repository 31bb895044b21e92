// The message boxes of deletion mode, read and answered from outside; shared by the tests that start
// the program with a file's name on its command line.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "tests/wine/WinTestSupport.h"

namespace tarvolen::wintest {

inline constexpr wchar_t kConfirmTail[] = L" wirklich l\u00f6schen?";

// No window but message boxes ever shows in deletion mode, and the Replacer window is never made.
inline void ExpectOnlyMessageBoxes(const Process& program) {
    for (const HWND window : VisibleTopWindows(program.Id())) {
        EXPECT_EQ(ClassOf(window), L"#32770") << "a window that is no message box: " << TextOf(window);
    }
    for (const HWND window : AllTopWindows(program.Id())) {
        EXPECT_NE(ClassOf(window), L"TarvolenReplacer");
    }
}

inline MessageBoxView NextBox(Process& program) {
    MessageBoxView box = WaitForMessageBox(program.Id());
    EXPECT_NE(box.window, nullptr) << "no message box appeared";
    ExpectOnlyMessageBoxes(program);
    return box;
}

inline void ExpectConfirmation(const MessageBoxView& box, const std::wstring& path) {
    EXPECT_EQ(box.title, L"Tarvolen");
    EXPECT_EQ(box.text, L"Datei \"" + path + L"\"" + kConfirmTail);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.icon, BoxIcon::Question) << Name(box.icon);
}

// Confirms the deletion of `path` with Yes and returns the box that reports the outcome. `whileAsked`
// runs while the question is up, before Yes is pressed.
inline MessageBoxView AnswerYes(Process& program, const std::wstring& path,
                                const std::function<void()>& whileAsked = {}) {
    const MessageBoxView confirm = NextBox(program);
    ExpectConfirmation(confirm, path);
    if (whileAsked) {
        whileAsked();
    }
    PressButton(confirm.window, IDYES);
    WaitFor([&] { return !::IsWindow(confirm.window); });
    return NextBox(program);
}

}  // namespace tarvolen::wintest
