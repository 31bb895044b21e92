#pragma once
// The program's own German words for why a confirmed file was not removed or not left for the restart.

#include <string_view>

namespace tarvolen {

// The pieces of the line below a box that names the programs holding a file in use (HoldersLine).
namespace holders_line {
inline constexpr std::wstring_view kUsedBy = L"Die Datei wird verwendet von: ";
inline constexpr std::wstring_view kAnd = L" und ";
inline constexpr std::wstring_view kAndOneMore = L" und einem weiteren";
inline constexpr std::wstring_view kMore = L" weiteren";
inline constexpr std::wstring_view kUnknownProgram = L"unbekanntes Programm";
// Around each name a program gave itself, and at the end of one cut short.
inline constexpr std::wstring_view kOpeningQuote = L"\u201e";
inline constexpr std::wstring_view kClosingQuote = L"\u201c";
inline constexpr std::wstring_view kCut = L"\u2026";
}  // namespace holders_line

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
inline constexpr std::wstring_view kRemovableMedium =
    L"Die Datei liegt auf einem Wechseldatentr\u00e4ger, und beim Neustart kann unter diesem "
    L"Laufwerksbuchstaben ein anderer Datentr\u00e4ger oder keiner liegen; ihr Entfernen wurde nicht "
    L"vorgemerkt.";
inline constexpr std::wstring_view kNoLastingName =
    L"F\u00fcr den Neustart l\u00e4sst sich kein Name bestimmen, der sicher diese Datei meint; ihr Entfernen "
    L"wurde nicht vorgemerkt.";
inline constexpr std::wstring_view kOperationWaiting =
    L"F\u00fcr diese Datei wartet bereits ein anderer Vorgang auf den Neustart, etwa ein Update, das sie "
    L"ersetzt; ihr Entfernen wurde nicht vorgemerkt.";
// Followed by the name, as the restart's list gives it: the file that is to take this one's place, or
// the name this one is to be moved to.
inline constexpr std::wstring_view kOperationsOtherFile = L"Die andere Datei dieses Vorgangs: ";
inline constexpr std::wstring_view kDamagedList =
    L"Die Liste der Vorg\u00e4nge f\u00fcr den Neustart ist besch\u00e4digt und w\u00fcrde nicht bis zum "
    L"Ende ausgef\u00fchrt; das Entfernen der Datei wurde nicht vorgemerkt.";
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

}  // namespace tarvolen
