#pragma once
// What the Replacer window's two kinds of button do, apart from any window system.

#include <cstdint>

#include "platform/AnsiCodePage.h"
#include "platform/Components.h"
#include "platform/FormControls.h"
#include "platform/MessageBoxService.h"
#include "platform/MoveFileApi.h"

namespace tarvolen {

// What the Replacer window's click handlers reach.
struct ReplacerContext {
    FormControls& form;
    MessageBoxService& messageBox;
    MoveFileApi& moveFile;
    AnsiCodePage& ansiCodePage;
    Components& components;
};

// "Action": one MoveFileExA call with the paths and options as the user left them, then a box with the
// number it returned.
void Command1_Click(ReplacerContext& context);

// "...": a file-open dialog that starts in the Windows directory; its path goes into the source box
// (Index 0) or the target box (Index 1).
void cmdBrowse_Click(ReplacerContext& context, std::int16_t Index);

}  // namespace tarvolen
