#pragma once
// The program's own argument text, as the Windows process hands it over.

#include <string>

#include "platform/CommandLine.h"

namespace tarvolen::win32 {

// GetCommandLineW with the program's name cut off.
class Win32CommandLine final : public CommandLine {
public:
    std::wstring ArgumentText() const override;
};

}  // namespace tarvolen::win32
