#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace kavo {

// Puts the unread-mail badge (its picture and counter) against the right edge of the
// mailbox button, `button` given in the badge's superview's coordinates: beside the
// title rather than over it when the screen leaves room there, and always wholly on the
// screen (on a tablet the button reaches the screen's corner).
void placeMessageBadge(platform::ui::ImageView& badge, platform::ui::Label& counter, platform::ui::Rect button);

} // namespace kavo
