#pragma once
// Functions that only some Windows versions' kernel32 has are looked up by name, not imported.

#include <windows.h>

namespace tarvolen::win32 {

// A function of kernel32, which is in every process and stays loaded, so the module handle needs no
// release; null when this Windows lacks it.
template <class Function>
Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace tarvolen::win32
