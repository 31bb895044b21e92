// Odd text thrown at the functions that turn command-line text into the names the file functions get:
// none of them may throw or trip a sanitizer, and what they make keeps its promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>

#include "platform/CommandLine.h"
#include "platform/filekit/PathForms.h"
#include "platform/filekit/PendingRenames.h"
#include "platform/filekit/RemovalRules.h"

namespace {

using tarvolen::ExtendedLengthPath;

// One text of the input, up to a 0 byte: ASCII as it is (so that the dictionary's pieces arrive whole),
// bytes 0x80 to 0xef as characters that paths are made of, and from 0xf0 on the next two bytes as any
// UTF-16 unit.
std::wstring Text(const std::uint8_t*& data, const std::uint8_t* end) {
    static constexpr std::wstring_view kPathCharacters =
        L"\\\\\\/?.:\"  \tCcUNVolume{}-0123456789$*\u00e9\u0141";
    std::wstring text;
    while (data < end && *data != 0) {
        const std::uint8_t byte = *data++;
        if (byte < 0x80) {
            text += static_cast<wchar_t>(byte);
        } else if (byte < 0xf0 || end - data < 2) {
            text += kPathCharacters[byte % kPathCharacters.size()];
        } else {
            text += static_cast<wchar_t>(data[0] | (data[1] << 8));
            data += 2;
        }
    }
    if (data < end) {
        ++data;  // the 0 that ends this text
    }
    return text;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* const end = data + size;
    const std::wstring text = Text(data, end);
    const std::wstring second = Text(data, end);

    const std::wstring path = tarvolen::StripCommandLineDecoration(text);
    Check(path.size() <= text.size());
    (void)tarvolen::NamesAStream(path);

    // The long form of a long form is itself, and it keeps the drive or the share it was given.
    const std::wstring longForm = ExtendedLengthPath(path);
    Check(ExtendedLengthPath(longForm) == longForm);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && std::iswalpha(path[0]) && path[0] < 0x80) {
        Check(longForm == L"\\\\?\\" + path);
        Check(tarvolen::OrdinaryPath(longForm) == path);
    } else if (StartsWith(path, L"\\\\") && path.size() > 2 && path[2] != L'?' && path[2] != L'.' &&
               path[2] != L'\\') {
        Check(longForm == L"\\\\?\\UNC\\" + path.substr(2));
        Check(tarvolen::OrdinaryPath(longForm) == path);
    } else {
        Check(longForm == path);
    }
    // Only a drive, volume or share is a disk file; the device namespace never is.
    if (tarvolen::NamesADiskFile(longForm)) {
        Check(StartsWith(longForm, L"\\\\?\\") && !StartsWith(longForm, L"\\\\?\\GLOBALROOT"));
    }

    // A restart name is only ever the form of a drive-letter or volume path.
    const tarvolen::RestartName restart = tarvolen::RestartNameFor(text, second);
    Check(restart.name.empty() != restart.refusal.empty());
    if (!restart.name.empty()) {
        Check((tarvolen::IsDriveFinalPath(restart.name) || tarvolen::IsVolumeGuidPath(restart.name)) &&
              tarvolen::NamesADiskFile(restart.name));
    }
    // Only marks are added to keep the ends of names, and the real place keeps the name given.
    std::wstring marked = tarvolen::MarkNameEnds(path);
    if (path.find(L'|') == std::wstring::npos) {
        std::erase(marked, L'|');
    }
    Check(marked == path);
    if (const auto real = tarvolen::RelocatedPath(longForm, second)) {
        Check(real->ends_with(longForm.substr(longForm.find_last_of(L'\\') + 1)));
    }

    // The restart's list is written by other programs: any value is read, marks and all, and only a name
    // in the "\\?\" form is ever found in it.
    const std::wstring list = text + std::wstring(1, L'\0') + second;
    const tarvolen::SystemNames system{L"C:\\Windows", {{L"\\Device\\HarddiskVolume1", L"C:"}}};
    const std::wstring listed = tarvolen::PathOfListedName(text, system);
    Check(listed.empty() || tarvolen::IsLiteralPath(listed));
    const auto equal = [](std::wstring_view a, std::wstring_view b) { return a == b; };
    const tarvolen::PendingFor pending = tarvolen::WhatIsPending(list, system, [&](const std::wstring& name) {
        Check(tarvolen::IsLiteralPath(name));
        return tarvolen::LeadsByText(name, longForm, equal);
    });
    // A rooted name in no known form may be any file, so only the file's own removal needs its name.
    if (pending == tarvolen::PendingFor::kRemoval) {
        Check(tarvolen::IsLiteralPath(longForm));
    }
    return 0;
}
