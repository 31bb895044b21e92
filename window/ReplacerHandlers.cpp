// Action's one MoveFileExA call and the browse buttons' dialog.
#include "window/ReplacerHandlers.h"

#include <string>

#include "platform/DecimalText.h"
#include "window/ReplacerLayout.h"

namespace tarvolen {

namespace {

constexpr int kChecked = 1;
constexpr std::int32_t kCsidlWindows = 36;

// The result MoveFileExA gives for a call it refuses.
constexpr std::int32_t kRefused = 0;

// The name MoveFileExA gets for a box's text, or nothing where the call must not be made with it. A path
// that the ANSI code page cannot carry exactly would reach the system as another name, and could move
// or remove a file the user never named. A device, named pipe or mailslot is no file: the call would
// contact whatever serves it, as the user (administrator, where started so). Either way the call is not
// made, and counts as refused.
std::optional<std::string> CallableName(ReplacerContext& context, const std::wstring& text) {
    std::optional<std::string> name = context.ansiCodePage.ToAnsiExactly(text);
    if (name && !context.moveFile.IsDiskFileName(name->c_str())) {
        name.reset();
    }
    return name;
}

}  // namespace

void Command1_Click(ReplacerContext& context) {
    FormControls& form = context.form;
    std::uint32_t flags = 0;
    if (form.GetValue(kChkOverwrite) == kChecked) {
        flags = kMoveFileReplaceExisting;
    }
    if (form.GetValue(kChkReboot) == kChecked) {
        flags |= kMoveFileDelayUntilReboot;
    }
    const bool deleteSource = form.GetValue(kChkKill) == kChecked;

    std::int32_t result = kRefused;
    const std::optional<std::string> source = CallableName(context, form.GetText(kTxtSource));
    if (deleteSource) {
        if (source) {
            result = context.moveFile.MoveFileExA(source->c_str(), nullptr, flags);
        }
    } else {
        const std::optional<std::string> target = CallableName(context, form.GetText(kTxtTarget));
        if (source && target) {
            result = context.moveFile.MoveFileExA(source->c_str(), target->c_str(), flags);
        }
    }
    context.messageBox.Show(DecimalText(result), box_style::kOkOnly);
}

void cmdBrowse_Click(ReplacerContext& context, std::int16_t Index) {
    ShellKit& shellKit = context.components.shellKit.Get();
    const std::wstring folder = shellKit.GetSpecialFolder(kCsidlWindows, 0, 0);
    std::wstring initialPath = folder + L"\\*.exe";
    const WindowHandle owner = context.form.Handle();
    shellKit.ShowOpenDialog(initialPath, L"Open...", owner, L"*.*|*.*", 1, 0, 0, kKitTrue);
    if (Index == 0) {
        context.form.SetText(kTxtSource, initialPath);
    } else if (Index == 1) {
        context.form.SetText(kTxtTarget, initialPath);
    }
}

}  // namespace tarvolen
