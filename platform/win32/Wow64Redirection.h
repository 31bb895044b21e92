#pragma once
// Switching off WoW64 file-system redirection, so that a 32-bit program's System32 is System32.

#include <windows.h>

#include "platform/FsRedirection.h"

namespace tarvolen::win32 {

// kernel32's Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection, looked up at the first
// use. The 64-bit build has no redirection to switch off, and a 32-bit Windows without WoW64 lacks the
// functions: there both do nothing.
class Wow64Redirection final : public FsRedirection {
public:
    bool Disable(void*& previous) override;
    void Revert(void* previous) override;

private:
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    bool lookedUp_ = false;
    DisableFunction disable_ = nullptr;
    RevertFunction revert_ = nullptr;
};

}  // namespace tarvolen::win32
