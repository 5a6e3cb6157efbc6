// Where the log tail of the "Unexpected process exit" box starts.
#include "supervision/BackendWatch.h"

#include <gtest/gtest.h>

namespace {

TEST(ExitBoxTail, ACutTailStartsAtItsFirstWholeLineAWholeFileAtItsStart) {
    EXPECT_EQ(ExitBoxTailStart("ting up\r\nline two\r\nline three\r\n", true), 9u);
    EXPECT_EQ(ExitBoxTailStart("\nline two\n", true), 1u) << "cut between CR and LF";
    EXPECT_EQ(ExitBoxTailStart("first line\r\nsecond line\r\n", false), 0u);
    // No line break, or no line after it: cutting would leave nothing to show.
    EXPECT_EQ(ExitBoxTailStart(std::string(1023, 'x'), true), 0u);
    EXPECT_EQ(ExitBoxTailStart("the end of one long line\r\n", true), 0u);
}

}  // namespace
