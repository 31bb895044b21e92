// WoW64 redirection switched off and back through kernel32, where this Windows has it.
#include "platform/win32/Wow64Redirection.h"

#include "platform/win32/Kernel32Function.h"

namespace tarvolen::win32 {

bool Wow64Redirection::Disable(void*& previous) {
#if defined(_WIN64)
    (void)previous;
    return false;
#else
    if (!lookedUp_) {
        disable_ = Kernel32Function<DisableFunction>("Wow64DisableWow64FsRedirection");
        revert_ = Kernel32Function<RevertFunction>("Wow64RevertWow64FsRedirection");
        lookedUp_ = true;
    }
    // Outside WoW64 the call fails and there is nothing to put back.
    return disable_ != nullptr && revert_ != nullptr && disable_(&previous) != FALSE;
#endif
}

void Wow64Redirection::Revert(void* previous) {
    if (revert_ != nullptr) {
        revert_(previous);
    }
}

}  // namespace tarvolen::win32
