// A ZOVA_TARGET that cannot be read stops the library instead of letting it
// fall back to broadcasting. ZOVA_Start sends nothing, so even a failure of
// this test sends nothing; a refused start leaves the library unstarted, so
// each value is tried in turn.
#include "zova/zova.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(LibraryTarget, UnreadableTargetRefusesToStart) {
    for (const char* value :
         {"", "127.0.0.1", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:99999", "127.0.0.1:17400 ",
          "127.0.0.1;17400", "127.0.0.1:17400-and-more-text-than-the-library-reads-at-once-xx"}) {
        ASSERT_TRUE(SetEnvironmentVariableA("ZOVA_TARGET", value));
        ASSERT_EQ(ZOVA_Start(), 0) << '"' << value << '"';
    }
    EXPECT_EQ(ZOVA_SendModuleScan(), 0) << "nothing goes out from a library that did not start";
}

}  // namespace
