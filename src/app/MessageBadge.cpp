#include "app/MessageBadge.h"

#include "app/Util.h"
#include "platform/ui/Screen.h"

#include <algorithm>

namespace kavo {

void placeMessageBadge(platform::ui::ImageView& badge, platform::ui::Label& counter, platform::ui::Rect button) {
    const double size = Util::isPad() ? 30 : 16;
    const double radius = size / 2;
    const platform::ui::Rect screen = platform::ui::Screen::bounds();
    // Just past the button's right edge, touching its border, so the caption stays readable.
    const double x = std::min(button.maxX() + radius - 1, screen.maxX() - radius - 1);
    const double y = std::max(button.minY(), radius + 1);
    badge.setFrame({x - radius, y - radius, size, size});
    badge.layer().setCornerRadius(radius);
    counter.setFrame(badge.frame());
    counter.setFont(platform::ui::Font::boldSystem(Util::isPad() ? 18 : 10));
    counter.setAdjustsFontSizeToFitWidth(true);
    counter.setMinimumFontSize(Util::isPad() ? 12 : 7);
}

} // namespace kavo
