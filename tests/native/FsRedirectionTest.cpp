// Redirection is off exactly while a file operation runs, and back on however it ends.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/FsRedirection.h"

namespace tarvolen::testing {
namespace {

// Keeps the redirection state as a stack, the way Windows pairs each switch-off with its revert.
class FakeRedirection final : public FsRedirection {
public:
    bool Disable(void*& previous) override {
        ++disableCalls;
        if (!available) {
            return false;
        }
        previous = off ? &offToken : &onToken;
        off = true;
        return true;
    }
    void Revert(void* previous) override {
        ++revertCalls;
        off = (previous == &offToken);
    }

    bool available = true;
    bool off = false;
    int disableCalls = 0;
    int revertCalls = 0;

private:
    int offToken = 0;
    int onToken = 0;
};

TEST(FsRedirectionTest, OffOnlyWhileTheOperationRunsAndBackOnAfterAResultOrAnError) {
    FakeRedirection redirection;
    EXPECT_EQ(WithoutRedirection(redirection, [&] { return redirection.off ? 1 : 0; }), 1);
    EXPECT_FALSE(redirection.off);

    EXPECT_THROW(WithoutRedirection(redirection,
                                    [&]() -> int {
                                        EXPECT_TRUE(redirection.off);
                                        throw std::runtime_error("the operation failed");
                                    }),
                 std::runtime_error);
    EXPECT_FALSE(redirection.off) << "an error must not leave redirection off";

    // Nested use puts back the state it found, not simply "on".
    WithoutRedirection(redirection, [&] {
        WithoutRedirection(redirection, [] {});
        EXPECT_TRUE(redirection.off);
    });
    EXPECT_FALSE(redirection.off);
    {  // back on for a moment, to load a library, and off again after
        RedirectionOff off(redirection);
        EXPECT_FALSE(off.WhileOn([&] { return redirection.off; }));
        EXPECT_TRUE(redirection.off);
    }
    EXPECT_FALSE(redirection.off);
    EXPECT_EQ(redirection.disableCalls, redirection.revertCalls);
}

TEST(FsRedirectionTest, WithoutRedirectionToSwitchOffTheOperationStillRunsAndNothingIsReverted) {
    FakeRedirection redirection;
    redirection.available = false;
    bool ran = false;
    WithoutRedirection(redirection, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(redirection.revertCalls, 0);
}

}  // namespace
}  // namespace tarvolen::testing
