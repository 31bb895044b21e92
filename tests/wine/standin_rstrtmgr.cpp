// A stand-in for Windows' Restart Manager (rstrtmgr.dll), put into the system folder of the tests'
// prefix, where Wine's own names no process. Every file it is asked about is held by the asking
// process ("Tarvolen") and by that process's parent, the test, whose name it leaves out, so that the
// asker must find it by the program file, unless TARVOLEN_TEST_RM_HOLDER gives it a name. Where
// TARVOLEN_TEST_RM_ASKED names a file, each name it was asked about is added to it, a line each, and a
// line for each call made with WoW64 redirection off.
#include <windows.h>
// After windows.h, whose types they use.
#include <restartmanager.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>

namespace {

DWORD ParentId() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId()) {
            parent = entry.th32ParentProcessID;
        }
    }
    ::CloseHandle(snapshot);
    return parent;
}

RM_UNIQUE_PROCESS Unique(DWORD id) {
    RM_UNIQUE_PROCESS unique{id, {}};
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    FILETIME unused{};
    ::GetProcessTimes(process, &unique.ProcessStartTime, &unused, &unused, &unused);
    ::CloseHandle(process);
    return unique;
}

// Adds `line` to the file that TARVOLEN_TEST_RM_ASKED names, where it names one.
void Note(const std::wstring& line) {
    wchar_t log[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"TARVOLEN_TEST_RM_ASKED", log, MAX_PATH) == 0) {
        return;
    }
    const HANDLE file =
        ::CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
}

// Notes a call made with redirection off. The test puts a marker into its system folder, which for a
// 32-bit test (redirection on) is SysWOW64: a 32-bit caller sees it under the system folder's name
// only with redirection on. A 64-bit caller has no redirection, and always sees it.
void NoteRedirection(const wchar_t* call) {
    wchar_t folder[MAX_PATH] = {};
    const std::wstring marker =
        std::wstring(folder, ::GetSystemDirectoryW(folder, MAX_PATH)) + L"\\rstrtmgr-standin.marker";
    if (::GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Note(std::wstring(L"redirection off in ") + call + L"\n");
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI RmStartSession(DWORD* session, DWORD, WCHAR key[]) {
    NoteRedirection(L"RmStartSession");
    *session = 1;
    key[0] = L'\0';
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI
    RmRegisterResources(DWORD, UINT fileCount, LPCWSTR files[], UINT, RM_UNIQUE_PROCESS[], UINT, LPCWSTR[]) {
    NoteRedirection(L"RmRegisterResources");
    for (UINT i = 0; i < fileCount; ++i) {
        Note(std::wstring(files[i]) + L"\n");
    }
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI
    RmGetList(DWORD, UINT* needed, UINT* count, RM_PROCESS_INFO apps[], LPDWORD reasons) {
    NoteRedirection(L"RmGetList");
    *needed = 2;
    *reasons = RmRebootReasonNone;
    if (*count < 2 || apps == nullptr) {
        *count = 0;
        return ERROR_MORE_DATA;
    }
    apps[0] = RM_PROCESS_INFO{};
    apps[0].Process = Unique(::GetCurrentProcessId());
    std::wcscpy(apps[0].strAppName, L"Tarvolen");
    apps[1] = RM_PROCESS_INFO{};
    apps[1].Process = Unique(ParentId());
    ::GetEnvironmentVariableW(L"TARVOLEN_TEST_RM_HOLDER", apps[1].strAppName, CCH_RM_MAX_APP_NAME);
    *count = 2;
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI RmEndSession(DWORD) {
    NoteRedirection(L"RmEndSession");
    return ERROR_SUCCESS;
}

}  // extern "C"
