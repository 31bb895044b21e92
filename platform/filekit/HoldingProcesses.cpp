// The German line naming the programs that hold a file, and the name they are looked up by.
#include "platform/filekit/HoldingProcesses.h"

#include <vector>

#include "platform/DecimalText.h"
#include "platform/filekit/PathForms.h"
#include "platform/filekit/RemovalReasons.h"

namespace tarvolen {

namespace {

constexpr std::size_t kNamedAtMost = 3;
constexpr std::size_t kOrdinaryPathLimit = 260;

// How the process is called in the line. Other programs choose these names: a line break or other
// control character in one would make it look like a line of the box's own, so each becomes a space.
std::wstring NameOf(const HoldingProcess& process) {
    std::wstring name = process.appName;
    if (name.empty()) {
        name = process.imagePath.substr(process.imagePath.find_last_of(L"\\/") + 1);
    }
    if (name.empty()) {
        name = holders_line::kUnknownProgram;
    }
    for (wchar_t& c : name) {
        if (c < L' ' || c == L'\x7f') {
            c = L' ';
        }
    }
    return name + L" (" + DecimalText(process.id) + L")";
}

}  // namespace

std::wstring HoldersLine(std::span<const HoldingProcess> holders, std::uint32_t ownId) {
    std::vector<std::wstring> names;
    std::size_t more = 0;
    for (const HoldingProcess& process : holders) {
        if (process.id == ownId) {
            continue;
        }
        if (names.size() == kNamedAtMost) {
            ++more;
        } else {
            names.push_back(NameOf(process));
        }
    }
    if (names.empty()) {
        return {};
    }
    std::wstring line(holders_line::kUsedBy);
    for (std::size_t i = 0; i < names.size(); ++i) {
        // The last two are joined by "und", not by a comma.
        line += i == 0 ? L"" : i + 1 == names.size() && more == 0 ? holders_line::kAnd : L", ";
        line += names[i];
    }
    if (more == 1) {
        line += holders_line::kAndOneMore;
    } else if (more > 1) {
        line += std::wstring(holders_line::kAnd) + DecimalText(more) + std::wstring(holders_line::kMore);
    }
    return line + L".";
}

std::wstring NameToAskAbout(std::wstring_view finalPath) {
    std::wstring ordinary = OrdinaryPath(finalPath);
    if (ordinary.size() < kOrdinaryPathLimit && MarkNameEnds(ordinary) == ordinary) {
        return ordinary;
    }
    return std::wstring(finalPath);
}

}  // namespace tarvolen
