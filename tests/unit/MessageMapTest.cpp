#include "app/MessageMap.h"

#include <gtest/gtest.h>

namespace {

using Entry = MessageMapEntry<int>;
constexpr unsigned wmPaint = 0x000F, wmMouseMove = 0x0200, bnClicked = 0, nmDblclk = static_cast<unsigned>(-3);

const Entry table[] = {
    {wmPaint, 0, 0, 0, 1},
    {messageMapCommand, bnClicked, 1002, 1002, 2},
    {messageMapCommand, bnClicked, 1004, 1013, 3},
    {messageMapNotify, nmDblclk, 1000, 1000, 4},
    {messageMapNotify, nmDblclk, 1001, 1001, 5},
    {messageMapCommand, bnClicked, 1002, 1005, 6},  // shadowed for 1002 and 1004-1005
    {wmPaint, 0, 0, 0, 7},                         // never reached
};

int Route(unsigned message, unsigned code = 0, unsigned id = 0) {
    const Entry* entry = FindMessageMapEntry(table, {message, code, id});
    return entry ? entry->handler : 0;
}

TEST(MessageMap, FirstMatchingEntryWins) {
    EXPECT_EQ(Route(wmPaint), 1);
    EXPECT_EQ(Route(messageMapCommand, bnClicked, 1002), 2);
    EXPECT_EQ(Route(messageMapCommand, bnClicked, 1003), 6);
}

TEST(MessageMap, IdRangesIncludeBothEnds) {
    EXPECT_EQ(Route(messageMapCommand, bnClicked, 1004), 3);
    EXPECT_EQ(Route(messageMapCommand, bnClicked, 1013), 3);
    EXPECT_EQ(Route(messageMapCommand, bnClicked, 1014), 0);
}

TEST(MessageMap, NotificationCodeAndControlMustBothMatch) {
    EXPECT_EQ(Route(messageMapNotify, nmDblclk, 1000), 4);
    EXPECT_EQ(Route(messageMapNotify, nmDblclk, 1001), 5);
    EXPECT_EQ(Route(messageMapNotify, static_cast<unsigned>(-2), 1001), 0);  // NM_CLICK
    EXPECT_EQ(Route(messageMapCommand, 8, 1002), 0);                          // CBN_CLOSEUP
}

TEST(MessageMap, UnroutedMessagesFindNothing) {
    EXPECT_EQ(Route(wmMouseMove), 0);
}

}  // namespace
