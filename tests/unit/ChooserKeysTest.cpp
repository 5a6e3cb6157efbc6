// Enter and Escape inside an open chooser never reach the dialog.
#include "ui/ChooserKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooserKeys, EnterTakesAndEscapeCancelsOnlyWhileTheChooserIsOpen) {
    EXPECT_EQ(ChooserKeyActionFor(ChooserKey::escape, true), ChooserKeyAction::closeWithoutChoice);
    EXPECT_EQ(ChooserKeyActionFor(ChooserKey::enter, true), ChooserKeyAction::takeHighlighted);
    // Arrow keys, letters and Tab go on to the chooser as usual.
    for (unsigned key : {0x26u, 0x28u, 0x41u, 0x09u, 0x11u}) EXPECT_EQ(ChooserKeyActionFor(key, true), ChooserKeyAction::passOn) << key;
    // A closed chooser keeps nothing back: the dialog decides.
    for (unsigned key : {ChooserKey::escape, ChooserKey::enter, 0x28u})
        EXPECT_EQ(ChooserKeyActionFor(key, false), ChooserKeyAction::passOn) << key;
}

}  // namespace
