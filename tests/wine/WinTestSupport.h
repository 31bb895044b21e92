#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/UniqueResource.h"

// Helpers for the Windows-side tests: real files in a folder of their own, the program started with an
// exact command line, and its windows and message boxes found, read and pressed from outside.
namespace tarvolen::wintest {

using win32::UniqueHandle;
using namespace std::chrono_literals;

// The folder the test programs and tarvolen.exe were built into.
std::wstring BuildFolder();

// A new, empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Every file below the folder (relative name) with its contents.
    std::map<std::wstring, std::string> Snapshot() const;

private:
    std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
void SetReadOnly(const std::wstring& path, bool readOnly);
bool IsReadOnly(const std::wstring& path);

// Polls `condition` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s);

// A started process; killed at the end if it is still running. It runs in `currentFolder`, or in this
// process's current folder when that is empty.
class Process {
public:
    Process(const std::wstring& application, const std::wstring& commandLine,
            const std::wstring& currentFolder = {});
    ~Process();
    Process(Process&&) = default;

    DWORD Id() const { return id_; }
    DWORD ThreadId() const { return threadId_; }
    HANDLE Handle() const { return process_.get(); }
    // The exit code, or nothing when the process is still running after `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 15s);
    bool IsRunning();

private:
    UniqueHandle process_;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
};

// Starts tarvolen.exe with exactly this argument text after its quoted name (none when empty).
Process StartTarvolen(const std::wstring& argumentText, const std::wstring& currentFolder = {});

// The visible top-level windows of a process.
std::vector<HWND> VisibleTopWindows(DWORD processId);
// All top-level windows of a process, hidden ones included.
std::vector<HWND> AllTopWindows(DWORD processId);
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

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
    explicit ReplacerDriver(const std::wstring& currentFolder = {});
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
