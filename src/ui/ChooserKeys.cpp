#include "ui/ChooserKeys.h"

ChooserKeyAction ChooserKeyActionFor(unsigned virtualKey, bool chooserOpen) {
    if (!chooserOpen) return ChooserKeyAction::passOn;
    if (virtualKey == ChooserKey::escape) return ChooserKeyAction::closeWithoutChoice;
    if (virtualKey == ChooserKey::enter) return ChooserKeyAction::takeHighlighted;
    return ChooserKeyAction::passOn;
}
