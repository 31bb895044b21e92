#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvolen {

// What tells one file from every other on the machine, whatever names lead to it: the serial number
// of its volume and its index there.
struct FileIdentity {
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileIndex = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Why a confirmed file was not removed or not left for the restart, in the words the user reads.
namespace removal_reason {
inline constexpr std::wstring_view kAnotherFile =
    L"Unter diesem Namen liegt jetzt eine andere Datei als die best\u00e4tigte. Es wurde nichts "
    L"gel\u00f6scht.";
inline constexpr std::wstring_view kGone =
    L"Unter diesem Namen ist die best\u00e4tigte Datei nicht mehr zu finden. Es wurde nichts gel\u00f6scht.";
inline constexpr std::wstring_view kNetwork =
    L"Die Datei liegt im Netzwerk, das beim Neustart noch nicht verbunden ist; ihr Entfernen wurde nicht "
    L"vorgemerkt.";
inline constexpr std::wstring_view kNoLastingName =
    L"F\u00fcr den Neustart l\u00e4sst sich kein Name bestimmen, der sicher diese Datei meint; ihr Entfernen "
    L"wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kReadOnlyWithOtherNames =
    L"Die Datei ist schreibgesch\u00fctzt und hat weitere Namen, die den Schreibschutz behalten sollen; ihr "
    L"Entfernen wurde nicht vorgemerkt.";
}  // namespace removal_reason

// The name under which a file's removal at the next restart is recorded, or why there is none. Exactly
// one of the two is non-empty.
struct RestartName {
    std::wstring name;
    std::wstring_view refusal;
};

// Chooses that name from the final paths of an open handle of the file, which hold no links and no
// drive letters of the user's session: `guidPath` with the volume named by its GUID ("\\?\Volume{...}\",
// empty when the volume has none that leads to the file), `dosPath` with the drive letter of the volume
// ("\\?\C:\") or as a network name ("\\?\UNC\server\share\"). The restart looks names up before anyone
// logs on and before the network is up, so the GUID path is preferred, a local drive letter is the
// fall-back, and a file on the network is refused.
RestartName RestartNameFor(std::wstring_view guidPath, std::wstring_view dosPath);

}  // namespace tarvolen
