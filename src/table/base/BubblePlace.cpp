#include "table/base/BubblePlace.h"

#include "app/widgets/CustomLabel.h"
#include "platform/ui/View.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The bubble's picture points down at its seat: the text stands a little above the middle.
constexpr double kTail = 4;
// Above and below the text, together.
constexpr double kPadding = 20;

} // namespace

ui::Point BubblePlace::home(ui::Point origin) {
    const bool ours = moved_ && origin.x == at_.x && origin.y == at_.y;
    moved_ = false;
    return ours ? home_ : origin;
}

void BubblePlace::show(ui::View& bubble, CustomLabel& label, const Stand& stand, ui::Size window) {
    label.setNumberOfLines(0);
    const ui::Size text = label.sizeThatFits({kTextWidth, 10000});
    const double width = text.width + 2 * kInset;
    const double height = std::max(kLowest, text.height + kPadding);
    const ui::Point layout = home(bubble.frame().origin);
    ui::Point origin = layout;
    switch (stand.anchor) {
    case Anchor::Origin:
        break;
    case Anchor::RightEdge:
        origin.x = window.width - stand.margin - width;
        break;
    case Anchor::Centre:
        origin = {stand.centre.x - width / 2, stand.centre.y - height / 2};
        break;
    }
    origin.x = std::clamp(origin.x, 0.0, std::max(0.0, window.width - width));
    origin.y = std::clamp(origin.y, 0.0, std::max(0.0, window.height - height));
    for (const ui::Rect& clear : stand.clearOf) {
        if (!ui::Rect{origin.x, origin.y, width, height}.intersects(clear)) continue;
        origin.y = clear.minY() - height >= 0 ? clear.minY() - height : std::min(clear.maxY(), window.height - height);
    }
    if (stand.anchor != Anchor::Centre && (origin.x != layout.x || origin.y != layout.y)) {
        moved_ = true;
        home_ = layout;
        at_ = origin;
    }
    bubble.setFrame({origin.x, origin.y, width, height});
    label.setFrame({kInset, (height - kTail - text.height) / 2, text.width, text.height});
}

void BubblePlace::hide(ui::View& bubble) {
    const ui::Rect frame = bubble.frame();
    const ui::Point origin = home(frame.origin);
    bubble.setFrame({origin.x, origin.y, frame.width(), frame.height()});
}

} // namespace kavo
