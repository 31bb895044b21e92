// SharedInstance: a component made on first use, or the program's end when it cannot be made.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Failure.h"
#include "platform/FileKit.h"
#include "platform/SharedInstance.h"

namespace tarvolen {

// The native tests' end of an unexpected failure: thrown, so that a test can see what ended the program.
struct Ended {
    std::string what;
    unsigned long code;
};
void EndOnFailure(const char* what, unsigned long code) { throw Ended{what, code}; }

namespace {

TEST(SharedInstanceTest, AComponentThatCannotBeMadeEndsTheProgram) {
    SharedInstance<FileKit> files([] { return std::unique_ptr<FileKit>(); });
    try {
        files.Get();
        ADD_FAILURE() << "the program went on";
    } catch (const Ended& ended) {
        EXPECT_EQ(ended.what, "a component could not be created");
    }
    EXPECT_FALSE(files.IsCreated());
}

}  // namespace
}  // namespace tarvolen
