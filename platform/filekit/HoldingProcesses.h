#pragma once
// A file in use: which programs hold it, put into the one line of German the boxes show below their
// text, and the name the question about it is asked with.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tarvolen {

// A process that holds a file, as Windows' Restart Manager lists it.
struct HoldingProcess {
    std::uint32_t id = 0;
    std::wstring appName;    // the application's name as the Restart Manager gives it; may be empty
    std::wstring imagePath;  // the full path of its program file, where the process told it; may be empty
};

// The line that names the processes holding a file: "Die Datei wird verwendet von: ,,Editor'' (1234),
// ,,Word'' (5678), ,,Explorer'' (42) und 2 weiteren." (German quotation marks drawn as ,, and ''). Each
// by the application's name, else its program file's name, in quotation marks, as plain text of one
// line of at most 64 characters, else as an unknown program; then its process number; at most three,
// then how many more. The process `ownId` (this program, which may hold the file while it asks) is
// never named. Empty when no one else is listed.
std::wstring HoldersLine(std::span<const HoldingProcess> holders, std::uint32_t ownId);

// How the system makes a name absolute (GetFullPathNameW): the path the Restart Manager, and the
// programs that hold the file, take an ordinary name for.
using FullPathOf = std::function<std::wstring(const std::wstring&)>;

// The name the Restart Manager is asked about for the file whose final path is `finalPath`
// ("\\?\C:\d\f.txt"): the ordinary form ("C:\d\f.txt"), which is what programs have open, where
// the system reads it as exactly that path (shorter than 260 characters; no name ending in a dot or a
// space, which would be dropped; no device name such as nul.txt or COM1.log, which would be read as
// \\.\nul or \\.\COM1); else the final path itself, which names the file whatever its names.
std::wstring NameToAskAbout(std::wstring_view finalPath, const FullPathOf& fullPath);

// The name by which a 32-bit program, with WoW64 redirection on, reaches a file of the 64-bit system
// folder: `name` ("C:\Windows\System32\x.dll", or in the "\\?\" form) with the system folder
// `systemFolder` ("C:\Windows\System32") at its start turned into its alias "Sysnative"
// ("C:\Windows\Sysnative\x.dll"); empty where `name` does not lie in that folder.
std::wstring SysnativeName(std::wstring_view name, std::wstring_view systemFolder);

}  // namespace tarvolen
