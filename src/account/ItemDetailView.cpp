#include "account/ItemDetailView.h"

#include "app/Util.h"

namespace kavo {

namespace ui = platform::ui;

void ItemDetailView::viewDidLoad() {
    auto& root = *view();
    auto place = [&root](const auto& control, ui::Rect frame, const char* identifier) {
        control->setFrame(Util::changeRectFromRect(frame));
        control->setAccessibilityIdentifier(identifier);
        root.addSubview(control);
    };
    imgViewItemImage_ = ui::ImageView::make();
    place(imgViewItemImage_, {20, 20, 100, 100}, "imgViewItemImage");
    imgViewItemMoney_ = ui::ImageView::make();
    place(imgViewItemMoney_, {20, 130, 24, 24}, "imgViewItemMoney");
    lblMoney_ = ui::Label::make();
    place(lblMoney_, {50, 130, 100, 24}, "lblMoney");
    txvItemDEscription_ = ui::TextView::make();
    place(txvItemDEscription_, {140, 20, 320, 200}, "txvItemDEscription");
    btnGift_ = ui::Button::make();
    place(btnGift_, {140, 240, 100, 34}, "btnGift");
    btnCart_ = ui::Button::make();
    place(btnCart_, {250, 240, 100, 34}, "btnCart");
    btnPurchase_ = ui::Button::make();
    place(btnPurchase_, {360, 240, 100, 34}, "btnPurchase");
}

void ItemDetailView::viewDidUnload() {
    imgViewItemImage_ = imgViewItemMoney_ = nullptr;
    lblMoney_ = nullptr;
    btnGift_ = btnCart_ = btnPurchase_ = nullptr;
    txvItemDEscription_ = nullptr;
}

} // namespace kavo
