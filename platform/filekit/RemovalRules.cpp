// The refusals of deletion mode and the name for the restart, decided from what is known of the file.
#include "platform/filekit/RemovalRules.h"

#include "platform/filekit/PathForms.h"
#include "platform/filekit/RemovalReasons.h"

namespace tarvolen {

std::wstring_view IdentityRefusal(const std::optional<FileIdentity>& confirmed,
                                  const std::optional<FileIdentity>& heldNow,
                                  const std::optional<FileIdentity>& found) {
    if (!confirmed || !heldNow || !found) {
        return removal_reason::kNotIdentified;
    }
    return *confirmed == *heldNow && *heldNow == *found ? std::wstring_view() : removal_reason::kAnotherFile;
}

bool FailureShowsAFile(std::uint32_t systemError) {
    return systemError == system_error::kAccessDenied || systemError == system_error::kSharingViolation ||
           systemError == system_error::kLockViolation;
}

bool IsLinkTag(std::uint32_t reparseTag) {
    constexpr std::uint32_t kNameSurrogate = 0x20000000;
    return (reparseTag & kNameSurrogate) != 0;
}

std::wstring_view RestartRefusal(const RestartFacts& facts) {
    if (facts.removableMedium) {
        return removal_reason::kRemovableMedium;
    }
    if (facts.reparsePoint && (!facts.reparseTag || IsLinkTag(*facts.reparseTag))) {
        return removal_reason::kLink;
    }
    if (facts.readOnly && facts.nameCount > 1) {
        return removal_reason::kReadOnlyWithOtherNames;
    }
    if (facts.readOnly && !facts.readOnlyCleared) {
        return removal_reason::kReadOnlyKept;
    }
    return {};
}

RestartName RestartNameFor(std::wstring_view guidPath, std::wstring_view dosPath) {
    if (StartsWithIgnoringCase(dosPath, L"\\\\?\\UNC\\")) {
        return {{}, removal_reason::kNetwork};
    }
    if (IsDriveFinalPath(dosPath)) {
        return {std::wstring(dosPath), {}};
    }
    if (IsVolumeGuidPath(guidPath)) {
        return {std::wstring(guidPath), {}};
    }
    return {{}, removal_reason::kNoLastingName};
}

std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated) {
    return accessDenied && !elevated ? removal_reason::kRunAsAdministrator : std::wstring_view();
}

}  // namespace tarvolen
