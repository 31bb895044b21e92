#pragma once

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

// Another program seen from outside: started with an exact command line, its top-level windows found
// and read; and files of its own in a folder that goes away at the end. Used by the Windows-side tests
// and by the start-up benchmark.
namespace tarvolen::winprobe {

using namespace std::chrono_literals;

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

// A started process; killed at the end if it is still running.
class Process {
public:
    // `environment` is a whole environment block ("NAME=value", each ending in a null, one more null at
    // the end); empty: this process's own. The process runs in `currentFolder`, or in this process's
    // current folder when that is empty.
    Process(const std::wstring& application, const std::wstring& commandLine,
            const std::wstring& environment = {}, const std::wstring& currentFolder = {});
    ~Process();
    Process(Process&&) = default;

    DWORD Id() const { return id_; }
    DWORD ThreadId() const { return threadId_; }
    HANDLE Handle() const { return process_.get(); }
    // The exit code, or nothing when the process is still running after `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 15s);
    bool IsRunning();

private:
    win32::UniqueHandle process_;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
};

// The visible top-level windows of a process.
std::vector<HWND> VisibleTopWindows(DWORD processId);
// All top-level windows of a process, hidden ones included.
std::vector<HWND> AllTopWindows(DWORD processId);
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

}  // namespace tarvolen::winprobe
