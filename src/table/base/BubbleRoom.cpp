#include "table/base/BubbleRoom.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

namespace {

bool blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Where a label draws its text, in window points (a label is often wider than its text).
ui::Rect drawnText(const ui::Label& label) {
    const std::vector<std::string> lines = label.displayLines();
    const ui::Font font = label.fittedFont();
    const ui::Rect bounds = label.bounds();
    double width = 0;
    for (const std::string& line : lines)
        width = std::max(width, font.measure(line).width);
    width = std::min(width, bounds.width());
    const double height = std::min(bounds.height(), font.lineHeight() * double(lines.size()));
    double x = bounds.minX();
    if (label.textAlignment() == ui::TextAlignment::Center) x = bounds.midX() - width / 2;
    if (label.textAlignment() == ui::TextAlignment::Right) x = bounds.maxX() - width;
    return label.convertRect({x, bounds.minY() + (bounds.height() - height) / 2, width, height}, nullptr);
}

// A picture this large carries a bubble (the felt, the board, the window's background): a
// card, a piece or an avatar is smaller, on the tablet too.
constexpr double kCarrierWidth = 240;
constexpr double kCarrierHeight = 160;

struct Walk {
    const ui::View& table;
    const ui::View& bubble;
    std::span<const std::shared_ptr<ui::ImageView>> bubbles;
    BubbleRoom room{};

    bool isBubble(const ui::View& view) const {
        return std::any_of(bubbles.begin(), bubbles.end(), [&](const auto& one) { return one.get() == &view; });
    }

    void gather(const ui::View& view) {
        if (view.isHidden() || view.alpha() <= 0.01 || &view == &bubble) return;
        // A sheet or panel laid over the table belongs to its own controller, as does every
        // other screen; the window's own controls over every screen (the back button, the
        // top bar) are looked at.
        if (view.viewController() && &view != &table && !table.isDescendantOf(&view)) return;
        const ui::Rect frame = view.convertRect(view.bounds(), nullptr);
        if (isBubble(view)) {
            room.clearOf.push_back(frame);
            room.othersShown = true;
            return;
        }
        if (auto* button = dynamic_cast<const ui::Button*>(&view)) {
            if (button->isUserInteractionEnabled() || !blank(button->currentTitle()) || button->currentImage() ||
                button->currentBackgroundImage())
                room.clearOf.push_back(frame);
        } else if (auto* label = dynamic_cast<const ui::Label*>(&view)) {
            if (!blank(label->text())) room.clearOf.push_back(drawnText(*label));
            return;
        } else if (auto* picture = dynamic_cast<const ui::ImageView*>(&view); picture && picture->image()) {
            const bool carries = frame.width() >= kCarrierWidth && frame.height() >= kCarrierHeight;
            (carries ? room.carriers : room.rather).push_back(frame);
        }
        for (const ui::ViewPtr& child : view.subviews())
            gather(*child);
    }
};

} // namespace

BubbleRoom BubbleRoom::around(const ui::View& table, const ui::View& bubble,
                              std::span<const std::shared_ptr<ui::ImageView>> bubbles) {
    Walk walk{table, bubble, bubbles};
    const ui::View* root = &table;
    while (root->superview())
        root = root->superview();
    walk.gather(*root);
    return std::move(walk.room);
}

} // namespace kavo
