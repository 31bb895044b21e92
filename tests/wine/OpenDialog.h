// The system's file-open dialog of a running program, found, read, filled in and closed from outside as a
// user would; shared by the tests of the "..." buttons.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32/Files.h"
#include "tests/wine/WinTestSupport.h"

// After <windows.h>, which the support header brings in.
#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <vector>

namespace tarvolen::wintest {

// The system's explorer-style open dialog. Its file name box is a ComboBoxEx (cmb13) holding a combo
// box holding the edit that takes the typing, all three with the same id; older layouts use a plain
// edit (edt1) instead.
inline constexpr int kFileNameBox = cmb13;
inline constexpr int kPlainFileNameBox = edt1;
inline constexpr int kFileTypeBox = cmb1;

inline constexpr auto kDialogTimeout = 30s;

inline std::wstring WindowsFolder() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, ::GetWindowsDirectoryW(path, MAX_PATH));
}

using win32::SameNames;  // names compared as the file system compares them, ignoring case

// What a control says when asked: the control answers itself, which for edits and combo boxes is the
// text shown, not just the caption it was created with.
inline std::wstring AskedText(HWND control) {
    std::vector<wchar_t> text(32768, L'\0');
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 5000, &length)) {
        return L"<no answer>";
    }
    return std::wstring(text.data(), length);
}

inline BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

// A file-open dialog of the program, found among its top-level windows.
class OpenDialog {
public:
    OpenDialog(Process& program, HWND dialog) : program_(program), dialog_(dialog) {}

    HWND Window() const { return dialog_; }
    bool IsOpen() const { return ::IsWindow(dialog_) && ::IsWindowVisible(dialog_); }

    // The edit the file name is typed into.
    HWND FileNameEdit() const {
        std::vector<HWND> children;
        ::EnumChildWindows(dialog_, &CollectChild, reinterpret_cast<LPARAM>(&children));
        for (const HWND child : children) {
            const int id = ::GetDlgCtrlID(child);
            if (_wcsicmp(ClassOf(child).c_str(), L"Edit") == 0 &&
                (id == kFileNameBox || id == kPlainFileNameBox)) {
                return child;
            }
        }
        return nullptr;
    }
    std::wstring FileName() const {
        const HWND edit = FileNameEdit();
        return edit != nullptr ? AskedText(edit) : L"<no file name box>";
    }
    std::wstring FileType() const { return AskedText(::GetDlgItem(dialog_, kFileTypeBox)); }
    LRESULT FileTypeCount() const {
        return ::SendMessageW(::GetDlgItem(dialog_, kFileTypeBox), CB_GETCOUNT, 0, 0);
    }

    // The folder the dialog shows. The dialog writes it into a buffer of the caller's, which has to lie
    // in the program's own memory: the message is not carried across processes.
    std::wstring Folder() const {
        constexpr std::size_t kChars = 32768;
        void* remote = ::VirtualAllocEx(program_.Handle(), nullptr, kChars * sizeof(wchar_t),
                                        MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (remote == nullptr) {
            return L"<no buffer>";
        }
        std::wstring folder = L"<no answer>";
        DWORD_PTR length = 0;
        if (::SendMessageTimeoutW(dialog_, CDM_GETFOLDERPATH, kChars, reinterpret_cast<LPARAM>(remote),
                                  SMTO_ABORTIFHUNG, 5000, &length) &&
            static_cast<LONG_PTR>(length) > 0) {
            std::vector<wchar_t> local(kChars, L'\0');
            SIZE_T read = 0;
            ::ReadProcessMemory(program_.Handle(), remote, local.data(), local.size() * sizeof(wchar_t),
                                &read);
            folder.assign(local.data());
        }
        ::VirtualFreeEx(program_.Handle(), remote, 0, MEM_RELEASE);
        return folder;
    }

    // Ready once it shows a folder and has filled in its file name box.
    bool WaitUntilReady() const {
        return WaitFor(
            [&] {
                const std::wstring folder = Folder();
                return !FileName().empty() && !folder.empty() && folder.front() != L'<';
            },
            kDialogTimeout);
    }

    void TypeFileName(const std::wstring& text) const {
        ::SendMessageW(FileNameEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Press(int buttonId) const { ::PostMessageW(::GetDlgItem(dialog_, buttonId), BM_CLICK, 0, 0); }
    bool WaitUntilClosed() const {
        return WaitFor([&] { return !::IsWindow(dialog_); }, kDialogTimeout);
    }

private:
    Process& program_;
    HWND dialog_;
};

// Presses a "..." button and waits for the dialog it opens to be ready for input.
inline OpenDialog PressBrowse(ReplacerDriver& driver, int button) {
    driver.Click(button);
    const HWND window = WaitForWindow(driver.Program().Id(), L"#32770", kDialogTimeout);
    if (window == nullptr) {
        ADD_FAILURE() << "no dialog opened";
        return OpenDialog(driver.Program(), nullptr);
    }
    OpenDialog dialog(driver.Program(), window);
    EXPECT_TRUE(dialog.WaitUntilReady()) << "the dialog never showed a folder and a file name: folder "
                                         << dialog.Folder() << ", name " << dialog.FileName();
    return dialog;
}

// Types a name into the dialog and presses Open; the dialog is expected to close.
inline void Pick(const OpenDialog& dialog, const std::wstring& name) {
    ASSERT_NE(dialog.FileNameEdit(), nullptr);
    dialog.TypeFileName(name);
    ASSERT_TRUE(WaitFor([&] { return dialog.FileName() == name; }, 5s)) << dialog.FileName();
    dialog.Press(IDOK);
    ASSERT_TRUE(dialog.WaitUntilClosed()) << "Open did not close the dialog";
}

inline void Cancel(const OpenDialog& dialog) {
    dialog.Press(IDCANCEL);
    ASSERT_TRUE(dialog.WaitUntilClosed()) << "Cancel did not close the dialog";
}

// Waits for a box of the window to settle on a text; the window fills it after the dialog is gone.
inline std::wstring WaitForBoxText(const ReplacerDriver& driver, int box, const std::wstring& expected) {
    WaitFor([&] { return SameNames(AskedText(driver.Control(box)), expected); }, 10s);
    return AskedText(driver.Control(box));
}

}  // namespace tarvolen::wintest
