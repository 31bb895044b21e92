// The "Action" button on real files.
#include <gtest/gtest.h>

#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

TEST(ActionButton, Placeholder) {}

}  // namespace
}  // namespace tarvolen::wintest
