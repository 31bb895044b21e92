#pragma once
// ShellKit and FileKit, which both modes reach, each made once when first used.

#include "platform/FileKit.h"
#include "platform/SharedInstance.h"
#include "platform/ShellKit.h"

namespace tarvolen {

// The two outside components, shared by both modes.
// Their implementations are made in WinMain.cpp of the startup folder, where the program is put together.
struct Components {
    SharedInstance<ShellKit> shellKit;
    SharedInstance<FileKit> fileKit;
};

}  // namespace tarvolen
