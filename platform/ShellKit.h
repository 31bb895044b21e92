#pragma once
// Both modes reach the shell through this: the path deletion mode is given, and the browse dialog.

#include <cstdint>
#include <string>

#include "platform/KitTypes.h"
#include "platform/WindowHandle.h"

namespace tarvolen {

// Shell services: turning the command-line text into a path, special folders and the file-open dialog.
class ShellKit {
public:
    virtual ~ShellKit() = default;

    // The absolute path of the one file that the raw command-line text names. Blanks around the text
    // and one pair of enclosing quotation marks are dropped; nothing is guessed, so text that names
    // several things resolves to a path that does not exist.
    virtual std::wstring PathFromCommandLine(std::wstring text) = 0;

    // The path of a shell special folder given by its CSIDL number; token and flags go to the shell
    // unchanged (0 and 0: the current user's folder as it is now).
    virtual std::wstring GetSpecialFolder(std::int32_t csidl, std::int32_t token, std::int32_t flags) = 0;

    // A modal file-open dialog owned by `owner` and titled `title`.
    //  - `initialPath`: the dialog's starting file text (folder and pattern); on Open it receives the
    //    full path of the file chosen, naming the folder that file really is in (a 32-bit program's
    //    dialog shows SysWOW64 as System32); on Cancel it is left as it was.
    //  - `filter`: display text and pattern pairs, all separated by '|'.
    //  - `filterIndex`: which pair is selected at the start, counted from 1.
    //  - `extraFlags`: further OFN_* option bits for the dialog, 0 for none.
    //  - `reserved`: must be 0.
    //  - `fileMustExist`: non-zero lets only existing files (in existing folders) be chosen.
    // Returns the chosen path, or an empty string when the user cancelled or the owner was closed. The
    // process's current folder is the same after the dialog as before it. A dialog that fails ends the
    // program.
    virtual std::wstring ShowOpenDialog(std::wstring& initialPath, std::wstring title, WindowHandle owner,
                                        std::wstring filter, std::int32_t filterIndex,
                                        std::int32_t extraFlags, std::int32_t reserved,
                                        KitFlag fileMustExist) = 0;
};

}  // namespace tarvolen
