// The Mau Binh parts of the shared four-seat layout: the three layers over the whole
// screen (touch points are compared with card frames in the screen's coordinates),
// the thirteen places inside the three hand regions and the thirteen slots of the
// arranging screen.
#include "app/Util.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/ui/Font.h"
#include "table/base/TableWidgets.h"

namespace kavo {

using platform::ui::Rect;

namespace {

template <class T> std::shared_ptr<T> outlet(platform::ui::View& root, const std::string& id) {
    for (const auto& child : root.subviews())
        if (child->accessibilityIdentifier() == id) return std::dynamic_pointer_cast<T>(child);
    return nullptr;
}

// Place centres (phone points): front 3 in the front region, middle 5 and back 5 in
// theirs.
constexpr double kPlaceY[3] = {105, 152, 202};
constexpr double kPlaceX[5] = {168, 204, 240, 276, 312};
// Slot centres of the arranging screen.
constexpr double kSlotY[3] = {50, 125, 200};
constexpr double kSlotX[5] = {170, 230, 290, 350, 410};

// Row and column of place i: front 0-2 in the three middle columns.
std::pair<int, int> cell(int i) {
    if (i < 3) return {0, i + 1};
    if (i < 8) return {1, i - 3};
    return {2, i - 8};
}

} // namespace

void MauBinhView::layoutMauBinh() {
    auto& root = *view();
    regionMyCard_ = phoneRect(30, 230, 420, 65);
    regionChi1_ = phoneRect(170, 80, 140, 50);
    regionChi2_ = phoneRect(140, 130, 200, 50);
    regionChi3_ = phoneRect(140, 170, 200, 50);

    vBoardView_ = outlet<platform::ui::View>(root, "vBoardView");
    vResultView_ = outlet<platform::ui::View>(root, "vResultView");
    vBackGroundView_ = outlet<platform::ui::View>(root, "vBackGroundView");
    for (const auto& layer : {vBoardView_, vResultView_, vBackGroundView_}) {
        layer->setFrame(phoneRect(0, 0, 480, 320));
        // The screen handles the touches itself; the buttons under the layers stay live.
        layer->setUserInteractionEnabled(false);
    }
    // The arranging screen leaves the action bar uncovered and takes the touches over
    // its slots (they reach the screen through the responder chain).
    vBackGroundView_->setFrame(phoneRect(0, 0, 480, 280));
    vBackGroundView_->setUserInteractionEnabled(true);
    vBackGroundView_->setBackgroundColor(platform::ui::Color::clear());
    vBackGroundView_->setHidden(false);
    vBackGroundView_->removeFromSuperview();
    vResultView_->setHidden(false);
    vResultView_->setAlpha(0);
    vBoardView_->addSubview(vResultView_);

    const auto card = CardViewPhom::widgetSize();
    for (int i = 0; i < kCards; ++i) {
        const auto [row, column] = cell(i);
        auto place = outlet<platform::ui::ImageView>(root, "imgCard" + std::to_string(i));
        place->setFrame(phoneRect(kPlaceX[column] - 14, kPlaceY[row] - 18, 28, 36));
        place->setImage(Util::getImageWithName("maubinh_trang.png"));
        place->setHidden(true);
        place->setTag(0);
        // Under the cards, which lie in the board layer.
        vBoardView_->insertSubview(place, 0);
        cardPlaces_.push_back(place);
        auto slot = outlet<platform::ui::ImageView>(root, "imgBigCard" + std::to_string(i));
        slot->setFrame({0, 0, card.width, card.height});
        slot->setCenter(Util::changePointFromPoint({kSlotX[column], kSlotY[row]}));
        slot->setImage(Util::getImageWithName("maubinh_trang.png"));
        slot->setHidden(false);
        slot->setTag(i);
        vBackGroundView_->addSubview(slot);
        bigSlots_.push_back(slot);
    }
    for (int chi = 1; chi <= 3; ++chi) {
        auto label = outlet<platform::ui::Label>(root, "cufChi" + std::to_string(chi));
        label->setFrame(phoneRect(10, kSlotY[chi - 1] - 10, 120, 20));
        label->setTextColor(platform::ui::Color::rgba(255, 220, 0));
        label->setFont(platform::ui::Font::boldSystem(13 * Util::iPad()));
        label->setHidden(true);
        cufChi_[size_t(chi - 1)] = label;
    }
    cufLung_ = outlet<platform::ui::Label>(root, "cufLung");
    cufLung_->setFrame(phoneRect(10, 240, 120, 24));
    cufLung_->setTextColor(platform::ui::Color::rgba(255, 40, 40));
    cufLung_->setFont(platform::ui::Font::boldSystem(16 * Util::iPad()));
    cufLung_->setHidden(true);

    btnFire()->onTouchUpInside([this] { clickFire(); });
    btnSkip()->onTouchUpInside([this] { clickSkip(); });
    btnSkip()->setTag(0);
    // Finish, sort and auto-arrange come with a deal and go with its result: none stands
    // beside Start before one.
    for (const auto& button : {btnFire(), btnSkip(), btnAutoSelected()})
        button->setHidden(true);
}

} // namespace kavo
