// SharedInstance: a component made on first use, or an error when it cannot be made.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/FileKit.h"
#include "platform/SharedInstance.h"

namespace tarvolen {
namespace {

TEST(SharedInstanceTest, AComponentThatCannotBeMadeIsAnError) {
    SharedInstance<FileKit> files([] { return std::unique_ptr<FileKit>(); });
    EXPECT_THROW(files.Get(), ComponentNotCreated);
    EXPECT_FALSE(files.IsCreated());
}

}  // namespace
}  // namespace tarvolen
