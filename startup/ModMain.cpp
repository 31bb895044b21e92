// Start-up chooses the mode; deletion mode resolves, confirms, removes and reports the file it was given.
#include "startup/ModMain.h"

#include <string>

namespace tarvolen {

namespace {

constexpr std::wstring_view kTitleError = L"Fehler";
constexpr std::wstring_view kTitleNotice = L"Hinweis";

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace

void Main(MainContext& context) {
    std::wstring path = context.commandLine.ArgumentText();
    if (path.empty()) {
        context.replacerWindow.Show();
        return;
    }

    MessageBoxService& box = context.messageBox;
    path = context.components.shellKit.Get().PathFromCommandLine(path);

    FileKit& fileKit = context.components.fileKit.Get();
    if (fileKit.FileExists(path) == kKitFalse) {
        box.Show(L"Datei nicht gefunden - " + Quoted(path) + L".", box_style::kExclamation, kTitleError);
        return;
    }

    // Only an explicit Yes removes the file. A box that could not be shown answers 0, and that must
    // not count as consent.
    const int answer = box.Show(L"Datei " + Quoted(path) + L" wirklich l\u00f6schen?",
                                box_style::kQuestion + box_style::kYesNo);
    if (answer != kAnswerYes) {
        return;
    }

    KitFlag scheduledForRestart = kKitFalse;
    std::wstring errorText;
    const KitFlag removed = fileKit.RemoveFile(path, kKitTrue, kKitTrue, scheduledForRestart, errorText);
    if (removed == kKitFalse) {
        box.Show(L"Datei konnte nicht gel\u00f6scht werden.\r\n" + errorText, box_style::kExclamation,
                 kTitleError);
    } else if (scheduledForRestart != kKitFalse) {
        // Below it, the programs to close for the file to go now, where Windows names any.
        std::wstring text = L"Die Datei wird beim n\u00e4chsten Neustart entfernt.";
        if (const std::wstring heldBy = fileKit.HeldBy(); !heldBy.empty()) {
            text += L"\r\n" + heldBy;
        }
        box.Show(text, box_style::kInformation, kTitleNotice);
    } else {
        box.Show(L"Die Datei wurde gel\u00f6scht.", box_style::kInformation, kTitleNotice);
    }
}

}  // namespace tarvolen
