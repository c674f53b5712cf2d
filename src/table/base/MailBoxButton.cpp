#include "table/base/MailBoxButton.h"

#include "app/Resources.h"
#include "app/Util.h"

namespace kavo {

std::shared_ptr<platform::ui::Button> MailBoxButton::add(platform::ui::View& root, std::function<void()> action) {
    auto button = platform::ui::Button::make(Util::changeRectFromRect({406, 30, 70, 22}));
    button->setAccessibilityIdentifier("clickMailBox");
    button->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
    button->setTitle(Resources::getInstance().textWithKey("KAVO_chat"));
    button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    button->titleLabel()->setMinimumFontSize(7 * Util::iPad());
    button->onTouchUpInside(std::move(action));
    root.addSubview(button);
    return button;
}

} // namespace kavo
