#include "table/GiftPageView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "table/menuGift.h"

namespace kavo {

GiftPageView::GiftPageView(int pageNumber, std::shared_ptr<ItemsOfCategory> items)
    : pageNumber_(pageNumber), items_(std::move(items)) {}

const std::shared_ptr<platform::ui::View>& GiftPageView::view() {
    if (!view_) build();
    return view_;
}

void GiftPageView::build() {
    view_ = platform::ui::View::make();
    if (!items_) return;
    const double cell = 80 * Util::iPadX();
    double x = 10 * Util::iPadX();
    for (const auto& item : items_->itemList()) {
        if (!item) continue;
        auto button = platform::ui::Button::make({x, 6 * Util::iPadY(), cell - 8, 100 * Util::iPadY()});
        // The rows have no design field: each carries its action's name.
        button->setAccessibilityIdentifier("doSelectGift");
        button->setTitle(item->name());
        button->titleLabel()->setFont(platform::ui::Font::system(10 * Util::iPad()));
        // The name under the picture.
        button->setTitleEdgeInsets({60 * Util::iPad(), 0, 0, 0});
        auto picture = platform::ui::ImageView::make(
            {(cell - 8 - 50 * Util::iPad()) / 2, 4, 50 * Util::iPad(), 50 * Util::iPad()});
        picture->setContentMode(platform::ui::ContentMode::ScaleAspectFit);
        Resources::getInstance().assignAvatarId(item->itemId(), picture);
        button->addSubview(picture);
        const int32_t itemId = item->itemId();
        button->onTouchUpInside([this, itemId] {
            if (mnuGift_) mnuGift_->setSelectedGiftId(itemId);
        });
        view_->addSubview(button);
        x += cell;
    }
}

} // namespace kavo
