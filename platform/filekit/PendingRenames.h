#pragma once
// A removal recorded for the restart must not undo what a setup program or an update recorded there
// before: this reads that list and tells what already waits for a file.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/filekit/PathForms.h"

namespace tarvolen {

enum class PendingFor {
    kNothing,         // nothing waits for the file: its removal may be recorded
    kRemoval,         // its removal already waits: nothing needs to be recorded again
    kOtherOperation,  // another file is to take its place, or it is to be moved away: leave it be
    kDamagedList,     // the restart would stop before the list's end: what is added there is never done
};

// What a name of the list leads to, seen from the file whose removal is considered.
enum class ListedName {
    kElsewhere,
    kTheFile,
    kConcernsIt,  // a folder on the file's way (moving it takes the file along), or another name of it
};

// What the system's own names of places stand for on this system, as the restart reads them: the
// Windows folder ("C:\Windows"), which "\SystemRoot" names, and for each volume's device
// ("\Device\HarddiskVolume2") the drive or volume it is reached by ("C:" or "Volume{GUID}"; the first where
// several are). Empty where unknown: a name led by an unknown one cannot be judged.
struct SystemNames {
    std::wstring windowsFolder{};
    std::vector<std::pair<std::wstring, std::wstring>> volumeDevices{};
};

// The name a name of the list gives, in the "\\?\" form the file functions take ("\\?\C:\d\f"), or
// empty where it is in no form the program knows. The list writes names in the system's own namespace,
// led by "\??\", "\DosDevices\" or "\GLOBAL??\" (any letter case; "GLOBALROOT\" after it leads to a
// device), by "\SystemRoot\" or by a volume's device ("\Device\HarddiskVolume2\"), both read as
// `system` says; before that may stand marks that are no part of the name: "!", which asks for an
// existing target to be replaced, and "*" followed by digits, which current Windows writes. Forward
// slashes are taken as the separators they are there.
std::wstring PathOfListedName(std::wstring_view listed, const SystemNames& system = {});

// What `path` (the "\\?\" form of a listed name) leads to, told from its text alone, for a name that
// cannot be opened: the file whose path is `filePath` (in the same form), one of its folders (a volume's
// root is none: it never moves), or neither. `equal` compares names as the system does.
ListedName LeadsByText(std::wstring_view path, std::wstring_view filePath, NamesEqual equal);

// What `longPath` (the "\\?\" form of a listed name, short names made long) is where it opens the very
// file whose own names, the final paths it is known by on its volume, are `ownNames`: the file itself
// only under one of them (every folder, the last name and a stream's name compared); any other name of
// it (a hard link in another folder, one of its streams) concerns it.
ListedName NameOfTheFile(std::wstring_view longPath, const std::vector<std::wstring>& ownNames,
                         NamesEqual equal);

// What waits for the restart for one file, according to `list`, a PendingFileRenameOperations value
// given as its characters, the nulls between the names included, and `leadsTo`, which tells what the
// "\\?\" form of a listed name leads to (`system` as PathOfListedName takes it). The list holds pairs of
// names, each ended by a null: the first is renamed to the second, or removed where the second is empty. The
// restart stops at the first empty name where a pair is due, so that is the list's end; anything after it, or
// a last name without its partner, makes the list damaged. Any text is taken, as other programs write the
// value. An operation on the file or one of its folders before the end outweighs everything; only the file's
// own removal there is kRemoval. A name led by a backslash in no form PathOfListedName knows may be any file,
// this one too, and so concerns it. For such an operation, `other` (where given) gets its other name in the
// form a user reads ("C:\d\app.dll.new"): the file to take this one's place, or the name it is to be
// moved to, or the folder to be removed.
PendingFor WhatIsPending(std::wstring_view list, const SystemNames& system,
                         const std::function<ListedName(const std::wstring&)>& leadsTo,
                         std::wstring* other = nullptr);

}  // namespace tarvolen
