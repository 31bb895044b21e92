#pragma once
// The modal boxes through which both modes ask and report.

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/WindowHandle.h"

namespace tarvolen {

// Style numbers of a message box: an icon value plus a button value.
namespace box_style {
inline constexpr unsigned kOkOnly = 0;
inline constexpr unsigned kYesNo = 4;
inline constexpr unsigned kQuestion = 32;
inline constexpr unsigned kExclamation = 48;
inline constexpr unsigned kInformation = 64;
}  // namespace box_style

// Button numbers a message box answers with.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// The title of every box that is given none.
inline constexpr std::wstring_view kApplicationTitle = L"Tarvolen";

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;

    // Shows a modal box and waits for it; returns the number of the button pressed, or 0 when the box
    // could not be shown at all. Without a title the box carries kApplicationTitle.
    virtual int Show(std::wstring_view text, unsigned style,
                     std::optional<std::wstring_view> title = std::nullopt) = 0;
};

// Makes a box service whose boxes are modal to `owner` (none when it is null).
using MessageBoxFactory = std::function<std::unique_ptr<MessageBoxService>(WindowHandle owner)>;

}  // namespace tarvolen
