// Enter and Escape inside an open chooser: the startup-file chooser while it is shown, the
// browser chooser while its list is dropped down. There Escape closes the chooser without a
// choice and Enter takes the highlighted entry as a click on it would; neither reaches the
// dialog. Outside an open chooser every key goes on as usual.
#pragma once

enum class ChooserKeyAction { passOn, closeWithoutChoice, takeHighlighted };

namespace ChooserKey {
constexpr unsigned enter = 0x0D;   // the virtual-key codes of the platform
constexpr unsigned escape = 0x1B;
}  // namespace ChooserKey

ChooserKeyAction ChooserKeyActionFor(unsigned virtualKey, bool chooserOpen);
