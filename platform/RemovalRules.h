#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolen {

// What tells one file from every other on the machine, whatever names lead to it: the serial number
// of its volume and its 128-bit file ID there. Where the system gives only the 64-bit file index, it
// fills the low eight bytes and `wide` is false, so that the two kinds never compare equal.
struct FileIdentity {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};
    bool wide = false;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Why a confirmed file was not removed or not left for the restart, in the words the user reads.
namespace removal_reason {
inline constexpr std::wstring_view kAnotherFile =
    L"Unter diesem Namen liegt jetzt eine andere Datei als die best\u00e4tigte. Es wurde nichts "
    L"gel\u00f6scht.";
inline constexpr std::wstring_view kGone =
    L"Unter diesem Namen ist die best\u00e4tigte Datei nicht mehr zu finden. Es wurde nichts gel\u00f6scht.";
inline constexpr std::wstring_view kDeletedMeanwhile =
    L"Die best\u00e4tigte Datei wird bereits von einem anderen Programm gel\u00f6scht.";
inline constexpr std::wstring_view kNotIdentified =
    L"Die Datei l\u00e4sst sich nicht eindeutig erkennen (kein Zugriff auf ihre Eigenschaften). Es wurde "
    L"nichts gel\u00f6scht.";
inline constexpr std::wstring_view kNetwork =
    L"Die Datei liegt im Netzwerk, das beim Neustart noch nicht verbunden ist; ihr Entfernen wurde nicht "
    L"vorgemerkt.";
inline constexpr std::wstring_view kNoLastingName =
    L"F\u00fcr den Neustart l\u00e4sst sich kein Name bestimmen, der sicher diese Datei meint; ihr Entfernen "
    L"wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kReadOnlyWithOtherNames =
    L"Die Datei ist schreibgesch\u00fctzt und hat weitere Namen, die den Schreibschutz behalten sollen; ihr "
    L"Entfernen wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kReadOnlyKept =
    L"Der Schreibschutz der Datei l\u00e4sst sich nicht aufheben, und beim Neustart kann sie mit ihm nicht "
    L"entfernt werden; ihr Entfernen wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kLink =
    L"Der Name ist ein Link. Beim Neustart k\u00f6nnte statt seiner das Ziel entfernt werden; sein Entfernen "
    L"wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kRunAsAdministrator =
    L"Das Entfernen beim n\u00e4chsten Neustart l\u00e4sst sich nur vormerken, wenn Tarvolen mit \u201eAls "
    L"Administrator ausf\u00fchren\u201c gestartet wird.";
inline constexpr std::wstring_view kReadOnlyNotRestored =
    L"Der Schreibschutz der Datei lie\u00df sich nicht wiederherstellen; sie ist jetzt nicht mehr "
    L"schreibgesch\u00fctzt.";
}  // namespace removal_reason

// Whether the file now under the name may be removed as the one the user confirmed: only when both
// are known and are the same file. Returns the refusal, or nothing.
std::wstring_view IdentityRefusal(const std::optional<FileIdentity>& confirmed,
                                  const std::optional<FileIdentity>& found);

// What is known of a file in use when its removal at the next restart is considered.
struct RestartFacts {
    bool isLink = false;           // the name itself is a link (a reparse point)
    bool readOnly = false;         // the file had the read-only attribute
    bool readOnlyCleared = false;  // ... and it has been cleared
    std::uint32_t nameCount = 1;   // hard links to the file, this name included
};

// Why the file must not be left for the restart, or nothing: the boot-time removal acts on a name
// without asking, follows no rules about links and cannot remove a read-only file.
std::wstring_view RestartRefusal(const RestartFacts& facts);

// What the user is told when recording the removal for the restart failed: only administrators may
// write the list the restart works through.
std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated);

// The name under which a file's removal at the next restart is recorded, or why there is none. Exactly
// one of the two is non-empty.
struct RestartName {
    std::wstring name;
    std::wstring_view refusal;
};

// Chooses that name from the final paths of an open handle of the file, which hold no links and no
// drive letters of the user's session: `dosPath` with the drive letter the mount manager gives the
// volume ("\\?\C:\") or as a network name ("\\?\UNC\server\share\"), `guidPath` with the volume named
// by its GUID ("\\?\Volume{...}\", empty when there is none that leads to the file). The drive-letter
// form is what installers record and what the restart is known to resolve, so it comes first; the GUID
// form serves a volume without a letter; a file on the network is refused, as the network is not up
// when the restart works.
RestartName RestartNameFor(std::wstring_view guidPath, std::wstring_view dosPath);

// Whether `path` is a final path with a drive letter ("\\?\C:\...").
bool IsDriveFinalPath(std::wstring_view path);

}  // namespace tarvolen
