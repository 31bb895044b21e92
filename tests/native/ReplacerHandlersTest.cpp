#include <gtest/gtest.h>

#include "tests/native/Fakes.h"
#include "window/ReplacerHandlers.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::testing {
namespace {

class ReplacerHandlersTest : public ::testing::Test {
protected:
    CallLog log;
    FakeForm form{log};
    FakeMessageBox box{log};
    FakeMoveFile moveFile{log};
    FakeAnsiCodePage ansi;
    FakeComponents fakes{log};
    ReplacerContext context{form, box, moveFile, ansi, fakes.components};
};

}  // namespace
}  // namespace tarvolen::testing
