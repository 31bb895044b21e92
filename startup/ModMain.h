#pragma once
// The program's start: which mode runs, and deletion mode from question to report.

#include "platform/CommandLine.h"
#include "platform/Components.h"
#include "platform/MessageBoxService.h"
#include "window/ReplacerWindowShower.h"

namespace tarvolen {

// Everything the start-up procedure reaches.
struct MainContext {
    const CommandLine& commandLine;
    MessageBoxService& messageBox;
    Components& components;
    ReplacerWindowShower& replacerWindow;
};

// The program's start: an empty command line opens the Replacer window and returns at once; any other
// text names one file, which is resolved, confirmed, removed (now or at the next restart) and reported.
void Main(MainContext& context);

}  // namespace tarvolen
