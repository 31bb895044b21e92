#pragma once
// A 32-bit program on 64-bit Windows must touch the file it names, not its SysWOW64 twin.

#include <type_traits>
#include <utility>

namespace tarvolen {

// File-system redirection of a 32-bit process on 64-bit Windows, which silently sends names under the
// System32 folder to SysWOW64. The program switches it off around its own file operations only, so
// that the file it names is the file it touches. Loading a library or showing a box or dialog must
// never happen while it is off: a 32-bit process would then get 64-bit DLLs.
class FsRedirection {
public:
    virtual ~FsRedirection() = default;

    // Switches redirection off for the calling thread. Returns false when the process has no
    // redirection (or it could not be switched off); `previous` is then left unused.
    virtual bool Disable(void*& previous) = 0;
    // Puts back the state that `Disable` saved in `previous`.
    virtual void Revert(void* previous) = 0;
};

// Redirection off for the life of the object, and back on on every way out, exceptions included.
class RedirectionOff {
public:
    explicit RedirectionOff(FsRedirection& redirection)
        : redirection_(redirection), disabled_(redirection.Disable(previous_)) {}
    ~RedirectionOff() {
        if (disabled_) {
            redirection_.Revert(previous_);
        }
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;
    // Whether there was redirection to switch off: false in a process that has none.
    bool WasOn() const { return disabled_; }

    // Runs `operation` with redirection back on (to load a library, which never happens while it is
    // off), and switches it off again before this returns.
    template <class Operation>
    std::invoke_result_t<Operation> WhileOn(Operation&& operation) {
        if (disabled_) {
            redirection_.Revert(previous_);
        }
        struct OffAgain {
            RedirectionOff& off;
            ~OffAgain() { off.disabled_ = off.disabled_ && off.redirection_.Disable(off.previous_); }
        } offAgain{*this};
        return std::forward<Operation>(operation)();
    }

private:
    FsRedirection& redirection_;
    void* previous_ = nullptr;
    bool disabled_;
};

// Runs `operation` with redirection off and returns its result.
template <class Operation>
std::invoke_result_t<Operation> WithoutRedirection(FsRedirection& redirection, Operation&& operation) {
    const RedirectionOff off(redirection);
    return std::forward<Operation>(operation)();
}

}  // namespace tarvolen
