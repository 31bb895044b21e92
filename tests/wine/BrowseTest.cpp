// The "..." buttons with the real file-open dialog.
#include <gtest/gtest.h>

#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

TEST(BrowseButtons, Placeholder) {}

}  // namespace
}  // namespace tarvolen::wintest
