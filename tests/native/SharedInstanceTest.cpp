// SharedInstance: a component made on first use, or the program's end when it cannot be made.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Failure.h"
#include "platform/FileKit.h"
#include "platform/SharedInstance.h"

namespace tarvolen {

// The native tests' end of an unexpected failure: thrown, so that a test sees the program end.
struct Ended {};
void EndOnFailure(const char*, unsigned long) { throw Ended{}; }

namespace {

TEST(SharedInstanceTest, AComponentThatCannotBeMadeEndsTheProgram) {
    SharedInstance<FileKit> files([] { return std::unique_ptr<FileKit>(); });
    EXPECT_THROW(files.Get(), Ended);
    EXPECT_FALSE(files.IsCreated());
}

}  // namespace
}  // namespace tarvolen
