#include "harness/winprobe/WinProbe.h"

#include <stdexcept>

#include "platform/win32/Handles.h"

namespace tarvolen::winprobe {

using win32::UniqueFile;

namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

void CollectFiles(const std::wstring& root, const std::wstring& relative,
                  std::map<std::wstring, std::string>& files) {
    WIN32_FIND_DATAW entry{};
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[child + L"\\"] = "<folder>";
            CollectFiles(root, child, files);
        } else {
            files[child] = ReadFileBytes(root + L"\\" + child);
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD processId, bool visibleOnly) {
    std::vector<HWND> all;
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> mine;
    for (const HWND window : all) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (!visibleOnly || ::IsWindowVisible(window))) {
            mine.push_back(window);
        }
    }
    return mine;
}

}  // namespace

TempFolder::TempFolder() {
    std::wstring temp(MAX_PATH + 1, L'\0');
    temp.resize(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
    static int counter = 0;
    path_ = temp + L"tarvolen-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"-" + std::to_wstring(::GetTickCount64());
    if (!::CreateDirectoryW(path_.c_str(), nullptr)) {
        throw std::runtime_error("cannot create a test folder");
    }
}

// Cleaned and read through the "\\?\" form, so that names ending in a dot or a space mean themselves.
TempFolder::~TempFolder() { RemoveTree(L"\\\\?\\" + path_); }

std::map<std::wstring, std::string> TempFolder::Snapshot() const {
    std::map<std::wstring, std::string> files;
    CollectFiles(L"\\\\?\\" + path_, L"", files);
    return files;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot write a test file");
    }
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadFileBytes(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return "<unreadable>";
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

Process::Process(const std::wstring& application, const std::wstring& commandLine,
                 const std::wstring& environment, const std::wstring& currentFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;
    std::wstring mutableEnvironment = environment;
    void* const block = environment.empty() ? nullptr : mutableEnvironment.data();
    if (!::CreateProcessW(application.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT, block,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start a process");
    }
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    id_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
}

Process::~Process() {
    if (process_ && IsRunning()) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) {
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool Process::IsRunning() { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::vector<HWND> VisibleTopWindows(DWORD processId) { return TopWindows(processId, true); }
std::vector<HWND> AllTopWindows(DWORD processId) { return TopWindows(processId, false); }

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    // Asked with WM_GETTEXT, which reaches into another process's control (GetWindowText does not).
    const auto length = static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    return win32::FillGrowingBuffer(length + 1,
                                    [window](wchar_t* buffer, std::size_t capacity) {
                                        return win32::LengthOrNeeded(
                                            static_cast<std::size_t>(::SendMessageW(
                                                window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                                reinterpret_cast<LPARAM>(buffer))),
                                            capacity);
                                    })
        .text;
}

}  // namespace tarvolen::winprobe
