#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/CommandLine.h"
#include "platform/Components.h"
#include "platform/FileKit.h"
#include "platform/FormControls.h"
#include "platform/MessageBoxService.h"
#include "platform/MoveFileApi.h"
#include "platform/ShellKit.h"
#include "platform/filekit/PathForms.h"
#include "startup/ModMain.h"

namespace tarvolen::testing {

// Everything the fakes are asked, in one ordered log, so tests can check the order of calls.
using CallLog = std::vector<std::wstring>;

// A fake that writes what it is asked into the shared log.
class Logging {
public:
    explicit Logging(CallLog& log) : log_(log) {}

protected:
    CallLog& log_;
};

struct ShownBox {
    std::wstring text;
    unsigned style;
    std::optional<std::wstring> title;
};

class FakeMessageBox final : public MessageBoxService, Logging {
public:
    using Logging::Logging;
    int Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) override {
        shown.push_back(
            {std::wstring(text), style, title ? std::optional<std::wstring>(*title) : std::nullopt});
        log_.push_back(L"box");
        if (answers.empty()) {
            return kAnswerOk;
        }
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<ShownBox> shown;
    std::vector<int> answers;  // given in turn; OK once they run out
};

class FakeCommandLine final : public CommandLine {
public:
    explicit FakeCommandLine(std::wstring text) : text_(std::move(text)) {}
    std::wstring ArgumentText() const override { return text_; }

private:
    std::wstring text_;
};

class FakeWindow final : public ReplacerWindowShower, Logging {
public:
    using Logging::Logging;
    void Show() override { log_.push_back(L"window.Show"); }
};

struct OpenDialogCall {
    std::wstring initialPath;
    std::wstring title;
    WindowHandle owner;
    std::wstring filter;
    std::int32_t filterIndex, extraFlags, reserved;
    KitFlag fileMustExist;
};

class FakeShellKit final : public ShellKit, Logging {
public:
    using Logging::Logging;
    std::wstring PathFromCommandLine(std::wstring text) override {
        log_.push_back(L"PathFromCommandLine(" + text + L")");
        return resolved ? *resolved : text;
    }
    std::wstring GetSpecialFolder(std::int32_t csidl, std::int32_t token, std::int32_t flags) override {
        log_.push_back(L"GetSpecialFolder(" + std::to_wstring(csidl) + L"," + std::to_wstring(token) + L"," +
                       std::to_wstring(flags) + L")");
        return specialFolder;
    }
    std::wstring ShowOpenDialog(std::wstring& initialPath, std::wstring title, WindowHandle owner,
                                std::wstring filter, std::int32_t filterIndex, std::int32_t extraFlags,
                                std::int32_t reserved, KitFlag fileMustExist) override {
        log_.push_back(L"ShowOpenDialog");
        dialogs.push_back(
            {initialPath, title, owner, filter, filterIndex, extraFlags, reserved, fileMustExist});
        if (chosenPath) {
            initialPath = *chosenPath;
        }
        return L"result that nobody should use";
    }
    std::optional<std::wstring> resolved;
    std::wstring specialFolder = L"C:\\windows";
    std::optional<std::wstring> chosenPath;  // nothing: the user cancels
    std::vector<OpenDialogCall> dialogs;
};

class FakeFileKit final : public FileKit, Logging {
public:
    using Logging::Logging;
    KitFlag FileExists(std::wstring path) override {
        log_.push_back(L"FileExists(" + path + L")");
        return exists;
    }
    KitFlag RemoveFile(std::wstring path, KitFlag clearReadOnly, KitFlag allowRestart,
                       KitFlag& scheduledForRestart, std::wstring& errorText) override {
        log_.push_back(L"RemoveFile(" + path + L"," + std::to_wstring(clearReadOnly) + L"," +
                       std::to_wstring(allowRestart) + L")");
        scheduledForRestart = scheduled;
        errorText = error;
        return removed;
    }
    std::wstring HeldBy() override {
        log_.push_back(L"HeldBy");
        return heldBy;
    }
    KitFlag exists = kKitTrue;
    KitFlag removed = kKitTrue;
    KitFlag scheduled = kKitFalse;
    std::wstring error;
    std::wstring heldBy;
};

// The two components made by factories that count how often they ran; the fakes stay reachable.
struct FakeComponents {
    explicit FakeComponents(CallLog& log)
        : components{SharedInstance<ShellKit>([this, &log] {
                         ++shellKitsMade;
                         auto kit = std::make_unique<FakeShellKit>(log);
                         shell = kit.get();
                         return kit;
                     }),
                     SharedInstance<FileKit>([this, &log] {
                         ++fileKitsMade;
                         return std::make_unique<FakeFileKit>(log);
                     })} {}

    FakeShellKit& Shell() { return static_cast<FakeShellKit&>(components.shellKit.Get()); }
    FakeFileKit& Files() { return static_cast<FakeFileKit&>(components.fileKit.Get()); }

    Components components;
    FakeShellKit* shell = nullptr;
    int shellKitsMade = 0;
    int fileKitsMade = 0;
};

class FakeForm final : public FormControls, Logging {
public:
    using Logging::Logging;
    std::wstring GetText(int id) override {
        log_.push_back(L"GetText(" + std::to_wstring(id) + L")");
        return texts[id];
    }
    void SetText(int id, std::wstring_view text) override {
        log_.push_back(L"SetText(" + std::to_wstring(id) + L")");
        texts[id] = std::wstring(text);
    }
    int GetValue(int id) override { return values[id]; }
    WindowHandle Handle() override { return handle; }

    std::map<int, std::wstring> texts;
    std::map<int, int> values;
    WindowHandle handle = reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(0x1234));
};

struct MoveCall {
    std::optional<std::string> existing;
    std::optional<std::string> newName;  // nothing: a null pointer was passed
    std::uint32_t flags;
};

class FakeMoveFile final : public MoveFileApi, Logging {
public:
    using Logging::Logging;
    std::int32_t MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) override {
        log_.push_back(L"MoveFileExA");
        calls.push_back({existing ? std::optional<std::string>(existing) : std::nullopt,
                         newName ? std::optional<std::string>(newName) : std::nullopt, flags});
        return result;
    }
    // Resolves names as the system does for a program whose current folder is C:\cwd, then applies the
    // program's rule.
    bool IsDiskFileName(const char* name) override {
        const std::wstring text(name, name + std::char_traits<char>::length(name));
        const bool absolute = text.starts_with(L"\\") || (text.size() > 2 && text[1] == L':');
        return text.empty() || NamesADiskFile(ExtendedLengthPath(absolute ? text : L"C:\\cwd\\" + text));
    }
    std::vector<MoveCall> calls;
    std::int32_t result = 1;
};

// Converts plain ASCII; anything else has no exact equivalent, as in a code page that lacks it.
class FakeAnsiCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsiExactly(std::wstring_view text) override {
        std::string converted;
        for (const wchar_t c : text) {
            if (c > 0x7F) {
                return std::nullopt;
            }
            converted.push_back(static_cast<char>(c));
        }
        return converted;
    }
};

}  // namespace tarvolen::testing
