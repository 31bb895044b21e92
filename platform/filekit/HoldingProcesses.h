#pragma once
// A file in use: which programs hold it, put into the one line of German the boxes show below their
// text, and the name the question about it is asked with.

#include <cstdint>
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

// The line that names the processes holding a file: "Die Datei wird verwendet von: Editor (1234),
// Word (5678), Explorer (42) und 2 weiteren." Each by the application's name, else its program file's
// name, else as an unknown program, with its process number; at most three, then how many more. The
// process `ownId` (this program, which may hold the file while it asks) is never named. Empty when no
// one else is listed.
std::wstring HoldersLine(std::span<const HoldingProcess> holders, std::uint32_t ownId);

// The name the Restart Manager is asked about for the file whose final path is `finalPath`
// ("\\?\C:\d\f.txt"): the ordinary form ("C:\d\f.txt"), which is what programs have open, where it
// names the same file (shorter than 260 characters, no name in it ending in a dot or a space); else
// the final path itself.
std::wstring NameToAskAbout(std::wstring_view finalPath);

}  // namespace tarvolen
