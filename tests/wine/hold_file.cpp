// Holds a file open without delete sharing until told to let go:
//   hold_file.exe PATH NAME   sets event NAME-held once the file is open, closes it when NAME-release is set
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::wstring name = argv[2];
    const HANDLE file =
        ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const HANDLE held = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + L"-held").c_str());
    const HANDLE release = ::OpenEventW(SYNCHRONIZE, FALSE, (name + L"-release").c_str());
    if (held == nullptr || release == nullptr) {
        return 1;
    }
    ::SetEvent(held);
    ::WaitForSingleObject(release, 120000);
    ::CloseHandle(file);
    ::CloseHandle(held);
    ::CloseHandle(release);
    return 0;
}
