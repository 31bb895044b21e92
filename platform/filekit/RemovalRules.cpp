// The refusals of deletion mode, decided from what is known of the file.
#include "platform/filekit/RemovalRules.h"

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

std::wstring_view RestartRefusal(const RestartFacts& facts) {
    if (facts.isLink) {
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

std::wstring_view ScheduleFailureReason(bool accessDenied, bool elevated) {
    return accessDenied && !elevated ? removal_reason::kRunAsAdministrator : std::wstring_view();
}

}  // namespace tarvolen
