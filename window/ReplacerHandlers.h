#pragma once

#include <cstdint>

#include "platform/FormControls.h"
#include "platform/MessageBoxService.h"
#include "platform/AnsiCodePage.h"
#include "platform/MoveFileApi.h"
#include "platform/Components.h"

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
