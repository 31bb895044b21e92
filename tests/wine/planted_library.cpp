// A stand-in for a system library, planted under that library's name where a program might look for it.
// When it is loaded it leaves a marker beside itself, named after itself ("uxtheme.dll.loaded"), and does
// nothing else. It stays loaded: the program goes on as far as it can, so that the markers show every
// library it took from the wrong place, not only the first one.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size())));
    const HANDLE marker = ::CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        ::CloseHandle(marker);
    }
    return TRUE;
}
