#include "account/GiftPageView.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr const char* kFrame = "khung_qua_tang.png";
constexpr const char* kFrameSelected = "khung_qua_tang_selected.png";

} // namespace

GiftPageView::GiftPageView(int pageNumber, std::shared_ptr<ItemsOfCategory> itemsOfCategory)
    : pageNumber_(pageNumber), itemsOfCategory_(std::move(itemsOfCategory)) {}

std::shared_ptr<GiftPageView> GiftPageView::initWithPageNumber(int pageNumber,
                                                               std::shared_ptr<ItemsOfCategory> itemsOfCategory) {
    return std::make_shared<GiftPageView>(pageNumber, std::move(itemsOfCategory));
}

void GiftPageView::setMnuGift(std::shared_ptr<GiftChoice> choice) {
    choice_ = std::move(choice);
    if (choice_) choice_->addPage(std::static_pointer_cast<GiftPageView>(shared_from_this()));
    if (isViewLoaded()) refreshMarks();
}

void GiftPageView::viewDidLoad() {
    auto& page = *view();
    page.setAccessibilityIdentifier("GiftPageView" + std::to_string(pageNumber_));
    const auto old = page.subviews();
    for (const auto& subview : old)
        subview->removeFromSuperview();
    const double x = Util::iPadX(), y = Util::iPadY(), s = Util::iPad();
    const auto& items = itemsOfCategory_ ? itemsOfCategory_->itemList() : std::vector<std::shared_ptr<ItemInfo>>{};
    shownItems_ = 0;
    for (size_t k = 0; k < items.size() && k < size_t(kRows * kColumns); ++k) {
        const auto& item = items[k];
        if (!item) continue;
        const int row = int(k) / kColumns, column = int(k) % kColumns;
        const ui::Rect cell{20 * x + column * 70 * x, 15 + row * (70 * y + 15), 50 * x, 70 * y};
        auto frame = ui::ImageView::make(cell);
        frame->setImage(Util::getImageWithName(kFrame));
        frame->setContentMode(ui::ContentMode::ScaleAspectFill);
        frame->setTag(item->itemId());
        page.addSubview(frame);
        auto picture = ui::ImageView::make({0, 0, 36 * x, 36 * y});
        picture->setCenter(cell.center());
        picture->setContentMode(ui::ContentMode::ScaleAspectFill);
        picture->setTag(0);
        Resources::getInstance().assignAvatarId(item->itemId(), picture);
        page.addSubview(picture);
        // As wide as the item's column (the frame and the gaps beside it): a price in Zel
        // is longer than the frame; the dearest draw a little smaller.
        auto price = ui::Label::make({cell.x() - 10 * x, cell.maxY() - 10 * y, 70 * x, 10 * y});
        price->setAdjustsFontSizeToFitWidth(true);
        price->setMinimumFontSize(9 * s);
        price->setBackgroundColor(ui::Color::clear());
        price->setTextColor(ui::Color::rgba(255, 255, 0));
        price->setFont(ui::Font::boldSystem(12 * s));
        price->setTextAlignment(ui::TextAlignment::Center);
        // Money as the rest of the client writes it: grouped digits and "Zel".
        price->setText(Util::formatNumber(item->price()) + " " + text("KAVO_zel"));
        page.addSubview(price);
        auto button = ui::Button::make(cell);
        button->setAccessibilityIdentifier("gift" + std::to_string(item->itemId()));
        button->setBackgroundImage(picture->image());
        button->setTag(item->itemId());
        button->setShowsTouchWhenHighlighted(true);
        button->onTouchUpInside([this, raw = button.get()] { itemClicked(*raw); });
        page.addSubview(button);
        ++shownItems_;
    }
    page.setUserInteractionEnabled(true);
    refreshMarks();
}

void GiftPageView::itemClicked(const ui::Button& button) {
    if (!choice_) return;
    const int itemId = button.tag();
    // The sheet's choice tells every page built so far to redraw its marks.
    choice_->setSelectedGiftId(choice_->selectedGiftId() == itemId ? GiftChoice::kNone : itemId);
}

void GiftPageView::refreshMarks() {
    if (!isViewLoaded()) return;
    const int chosen = choice_ ? choice_->selectedGiftId() : GiftChoice::kNone;
    marked_ = GiftChoice::kNone;
    for (const auto& subview : view()->subviews()) {
        auto* frame = dynamic_cast<ui::ImageView*>(subview.get());
        if (!frame || frame->tag() == 0) continue;
        // The first frame of the chosen item is marked, every other one is not.
        const bool mark = chosen != GiftChoice::kNone && frame->tag() == chosen && marked_ == GiftChoice::kNone;
        frame->setImage(Util::getImageWithName(mark ? kFrameSelected : kFrame));
        if (mark) marked_ = chosen;
    }
}

} // namespace kavo
