#include "social/MessageHeaderView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <string>

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;

namespace {

struct BarGeometry {
    double barHeight, spacing, headerWidth, extra;
    Rect icon, title, badge;
    double font;
};

const BarGeometry kPhone{33, 33, 158, 50, {9, 7, 20, 20}, {32, 6, 94, 21}, {133, 7, 18, 18}, 10};
const BarGeometry kTablet{80, 75, 337, 80, {19, 17, 42, 48}, {68, 14, 200, 51}, {283, 17, 38, 43}, 20};

const BarGeometry& geometry() {
    return Util::isPad() ? kTablet : kPhone;
}

std::shared_ptr<platform::ui::Label> centredLabel(Rect frame, const std::string& text, double size) {
    auto label = platform::ui::Label::make(frame, text);
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setTextColor(Color::white());
    label->setBackgroundColor(Color::clear());
    label->setFont(Font::boldSystem(size));
    return label;
}

} // namespace

double MessageHeaderView::height(const Counts& counts) {
    const int bars = (counts.invites > 0) + (counts.admin > 0) + (counts.system > 0);
    return geometry().barHeight * bars;
}

std::shared_ptr<platform::ui::View> MessageHeaderView::make(const Counts& counts, double width,
                                                            std::function<void()> onInvites,
                                                            std::function<void(int tag)> onMessages) {
    const BarGeometry& g = geometry();
    auto header = platform::ui::View::make();
    header->setAccessibilityIdentifier("headerView");
    struct Bar {
        int count;
        const char* titleKey;
        const char* identifier;
        int tag;
    };
    const Bar bars[] = {{counts.invites, "KAVO_Chat_LoiMoiKetBan", "showFriendInviteView", -1},
                        {counts.admin, "KAVO_Chat_TinNhanAdmin", "showMessageFromAdmin", 1},
                        {counts.system, "KAVO_Chat_TinNhanHeThong", "showMessageFromSystem", 0}};
    double offset = 0;
    for (const Bar& bar : bars) {
        if (bar.count <= 0) continue;
        auto view = platform::ui::View::make(Rect{0, offset, width, g.barHeight});
        auto button = platform::ui::Button::make(Rect{0, 0, width, g.barHeight});
        button->setAccessibilityIdentifier(bar.identifier);
        button->setBackgroundImage(Util::getImageWithName("chat_tap_loimoiketban.png"));
        if (bar.tag < 0) {
            button->onTouchUpInside(onInvites);
        } else {
            button->setTag(bar.tag);
            const int tag = bar.tag;
            button->onTouchUpInside([onMessages, tag] { onMessages(tag); });
        }
        view->addSubview(button);
        auto icon = platform::ui::ImageView::make(g.icon);
        icon->setImage(Util::getImageWithName("chat_icon_loimoiketban.png"));
        icon->setUserInteractionEnabled(false);
        view->addSubview(icon);
        auto title = centredLabel(g.title, Resources::getInstance().textWithKey(bar.titleKey), g.font);
        // A title too wide for one line ("Tin nhắn từ quản trị viên") takes the bar's
        // second line, a little smaller, instead of being cut.
        title->setAdjustsFontSizeToFitWidth(true);
        title->setMinimumFontSize(g.font * 0.8);
        title->setWrapsWhenShrunk(true);
        title->setUserInteractionEnabled(false);
        view->addSubview(title);
        auto badge = platform::ui::ImageView::make(g.badge);
        badge->setImage(Util::getImageWithName("chat_frame_soluong.png"));
        badge->setUserInteractionEnabled(false);
        view->addSubview(badge);
        auto number = centredLabel(g.badge, std::to_string(bar.count), g.font);
        number->setAccessibilityIdentifier(std::string(bar.identifier) + "Count");
        number->setUserInteractionEnabled(false);
        view->addSubview(number);
        header->addSubview(view);
        offset += g.spacing;
    }
    header->setFrame(Rect{0, 0, g.headerWidth, offset + g.extra});
    return header;
}

} // namespace kavo
