#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "harness/winprobe/WinProbe.h"
#include "platform/win32/Handles.h"
#include "platform/win32/TextAndErrors.h"

// Helpers for the Windows-side tests: real files in a folder of their own, the program started with an
// exact command line, and its windows and message boxes found, read and pressed from outside.
namespace tarvolen::wintest {

using win32::ScreenDc;
using win32::UniqueFile;
using win32::UniqueHandle;
using win32::UniqueScreenDc;
using winprobe::AllTopWindows;
using winprobe::ClassOf;
using winprobe::Process;
using winprobe::ReadFileBytes;
using winprobe::TempFolder;
using winprobe::TextOf;
using winprobe::VisibleTopWindows;
using winprobe::WriteFileBytes;
using namespace std::chrono_literals;

// The folder the test programs and tarvolen.exe were built into.
std::wstring BuildFolder();

bool PathExists(const std::wstring& path);
void SetReadOnly(const std::wstring& path, bool readOnly);
bool IsReadOnly(const std::wstring& path);

// For EXPECT_EXIT: the process ended the way an unexpected failure ends the program, through the
// fail-fast report, whose exit status is STATUS_FAIL_FAST_EXCEPTION.
inline bool EndedThroughFailFast(int status) { return static_cast<DWORD>(status) == win32::kFailFastStatus; }

// Polls `condition` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s);

// Starts tarvolen.exe with exactly this argument text after its quoted name (none when empty); `exe`
// names another copy of it; `environment` and `currentFolder` are as for Process.
Process StartTarvolen(const std::wstring& argumentText, const std::wstring& exe = {},
                      const std::wstring& environment = {}, const std::wstring& currentFolder = {});

// Waits for a visible top-level window of the process with this class.
HWND WaitForWindow(DWORD processId, const std::wstring& className, std::chrono::milliseconds timeout = 15s);

enum class BoxIcon { None, Question, Exclamation, Information, Error, Unknown };
const char* Name(BoxIcon icon);

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons;  // ids of the visible buttons, e.g. IDYES and IDNO
    BoxIcon icon = BoxIcon::Unknown;
};

// Waits for a message box of the process and reads it.
MessageBoxView WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout = 15s);
// Presses a button of a box by its id.
void PressButton(HWND box, int buttonId);

// Whether the process has loaded a module of this name (e.g. L"shell32.dll").
bool HasModuleLoaded(HANDLE process, const std::wstring& moduleName);

// The machine's PendingFileRenameOperations, each entry as stored.
std::vector<std::wstring> PendingFileRenameOperations();
bool IsPendingForRestart(const std::wstring& path);
// The restart that carries out pending file operations.
void RestartSystem();

// A Unix symbolic link, made and removed from the Linux side as another program would: Wine shows it
// as a folder or file at `link` (a Windows path), leading to `target` (relative to the link's folder).
class UnixSymlink {
public:
    UnixSymlink(const std::wstring& link, const std::wstring& target);
    ~UnixSymlink();
    UnixSymlink(const UnixSymlink&) = delete;
    UnixSymlink& operator=(const UnixSymlink&) = delete;

private:
    std::wstring link_;
    std::wstring unixLink_;
};

// A stand-in from the build folder (`standIn`) in the system folder in place of Windows' library
// `name`, for the life of the object: tarvolen.exe, loading that library by its full path there, gets
// the stand-in, as Wine is told to prefer the file to its own library for that program. In a 32-bit
// test, redirection takes it to SysWOW64, where the 32-bit program loads from.
class StandInLibrary {
public:
    StandInLibrary(const std::wstring& name, const std::wstring& standIn);
    ~StandInLibrary();
    StandInLibrary(const StandInLibrary&) = delete;
    StandInLibrary& operator=(const StandInLibrary&) = delete;
    const std::wstring& Path() const { return system_; }

private:
    void PutBack() const;
    std::wstring system_;
    std::wstring saved_;
    bool hadOwn_ = false;
};

// Keeps a file open without delete sharing from another process until it is released.
class FileHolder {
public:
    explicit FileHolder(const std::wstring& path);
    ~FileHolder();
    void Release();

private:
    UniqueHandle held_;
    UniqueHandle release_;
    std::optional<Process> process_;
};

// tarvolen.exe in window mode, driven from outside as a user would: typing into its boxes, clicking its
// check boxes and buttons, reading and closing the boxes it shows.
class ReplacerDriver {
public:
    // Starts the program in window mode, in `currentFolder` when given.
    explicit ReplacerDriver(const std::wstring& currentFolder = {});
    // Drives a program already started in window mode.
    explicit ReplacerDriver(Process program);
    ~ReplacerDriver();

    Process& Program() { return program_; }
    HWND Window() const { return window_; }
    HWND Control(int controlId) const { return ::GetDlgItem(window_, controlId); }

    void SetText(int controlId, const std::wstring& text);
    std::wstring Text(int controlId) const;
    void SetChecked(int controlId, bool checked);  // clicks the check box when it is not as wanted
    bool IsChecked(int controlId) const;
    // Clicks a button; returns at once, without waiting for what the click opens.
    void Click(int controlId);
    // Clicks "Action" and returns the text of the result box, which it closes with OK; "<no box>"
    // when no box appeared.
    std::wstring Action();
    // Fills both boxes, sets the three options, then clicks "Action" as above.
    std::wstring Action(const std::wstring& source, const std::wstring& target, bool overwrite, bool reboot,
                        bool kill);

private:
    Process program_;
    HWND window_ = nullptr;
};

}  // namespace tarvolen::wintest
