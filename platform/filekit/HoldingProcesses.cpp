// The German line naming the programs that hold a file, and the name they are looked up by.
#include "platform/filekit/HoldingProcesses.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/DecimalText.h"
#include "platform/filekit/PathForms.h"
#include "platform/filekit/RemovalReasons.h"

namespace tarvolen {

namespace {

constexpr std::size_t kNamedAtMost = 3;
constexpr std::size_t kNameAtMost = 64;  // characters of one name, the cut's mark included
constexpr std::size_t kOrdinaryPathLimit = 260;

// The characters of Unicode's categories Cc (controls), Cf (format: direction marks and embeddings,
// invisible joiners, the byte-order mark, tags), Zl (line separator) and Zp (paragraph separator), as
// of Unicode 15, in ascending ranges. Windows' text drawing breaks lines at U+0085, U+2028 and U+2029
// and turns the order of what follows at the direction marks.
struct CodeRange {
    char32_t first;
    char32_t last;
};
constexpr CodeRange kInvisibleOrBreaking[] = {
    {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},
    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},
    {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
};

bool IsInvisibleOrBreaking(char32_t c) {
    return std::any_of(std::begin(kInvisibleOrBreaking), std::end(kInvisibleOrBreaking),
                       [c](const CodeRange& range) { return range.first <= c && c <= range.last; });
}

// A name other programs chose, as plain text of one line: each character that would break the line,
// turn the direction of what follows or hide is a space, and the line's own quotation marks are plain
// ones, so that no name can close its quotation and open another; at most kNameAtMost characters (a
// surrogate pair is one), cut with an ellipsis.
std::wstring PlainName(std::wstring_view name) {
    std::wstring plain;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        std::size_t length = 1;
        char32_t c = name[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
            name[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            length = 2;
        }
        if (++characters == kNameAtMost && i + length < name.size()) {
            return plain + std::wstring(holders_line::kCut);
        }
        const bool lineQuote = name.substr(i, length) == holders_line::kOpeningQuote ||
                               name.substr(i, length) == holders_line::kClosingQuote;
        plain += IsInvisibleOrBreaking(c) ? std::wstring_view(L" ")
                 : lineQuote              ? std::wstring_view(L"\"")
                                          : name.substr(i, length);
        i += length - 1;
    }
    return plain;
}

// How the process is called in the line: its name in quotation marks, so that no name can pose as
// two, or as the box's own words; then its number.
std::wstring NameOf(const HoldingProcess& process) {
    std::wstring_view name = process.appName;
    if (name.empty()) {
        name = process.imagePath;
        name.remove_prefix(std::min(name.size(), name.find_last_of(L"\\/") + 1));
    }
    const std::wstring named = name.empty() ? std::wstring(holders_line::kUnknownProgram)
                                            : std::wstring(holders_line::kOpeningQuote) + PlainName(name) +
                                                  std::wstring(holders_line::kClosingQuote);
    return named + L" (" + DecimalText(process.id) + L")";
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

std::wstring NameToAskAbout(std::wstring_view finalPath, const FullPathOf& fullPath) {
    std::wstring ordinary = OrdinaryPath(finalPath);
    if (ordinary.size() < kOrdinaryPathLimit && fullPath(ordinary) == ordinary) {
        return ordinary;
    }
    return std::wstring(finalPath);
}

std::wstring SysnativeName(std::wstring_view name, std::wstring_view systemFolder) {
    const std::wstring_view prefix = name.substr(0, IsLiteralPath(name) ? 4 : 0);
    const std::wstring_view rest = name.substr(prefix.size());
    const std::size_t parentEnd = systemFolder.find_last_of(L'\\');
    if (parentEnd == std::wstring_view::npos || rest.size() <= systemFolder.size() ||
        rest[systemFolder.size()] != L'\\' || !StartsWithIgnoringCase(rest, systemFolder)) {
        return {};
    }
    return std::wstring(prefix) + std::wstring(systemFolder.substr(0, parentEnd)) + L"\\Sysnative" +
           std::wstring(rest.substr(systemFolder.size()));
}

}  // namespace tarvolen
