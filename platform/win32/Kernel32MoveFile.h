#pragma once
// The program's one A-function call: kernel32's MoveFileExA behind the MoveFileApi interface.

#include <windows.h>

#include <cstdint>

#include "platform/FsRedirection.h"
#include "platform/MoveFileApi.h"

namespace tarvolen::win32 {

// kernel32's MoveFileExA, looked up at the first call and kept. The call itself runs with file-system
// redirection off, so that it acts on the paths as given.
class Kernel32MoveFile final : public MoveFileApi {
public:
    explicit Kernel32MoveFile(FsRedirection& redirection) : redirection_(redirection) {}
    std::int32_t MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) override;

private:
    using MoveFileExAFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    FsRedirection& redirection_;
    MoveFileExAFunction function_ = nullptr;
};

}  // namespace tarvolen::win32
