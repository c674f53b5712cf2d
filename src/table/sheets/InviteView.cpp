#include "table/sheets/InviteView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/ui/Font.h"
#include "portal/GlobalService.h"
#include "table/sheets/SheetPanel.h"

#include <algorithm>

namespace kavo {

using platform::ui::Rect;

namespace {

constexpr const char* kTabSelected = "button_tang_qua_selected.png";
constexpr const char* kTabUnselected = "button_tang_qua_unselected.png";

// A name or money line under a seat frame.
std::shared_ptr<platform::ui::Button> captionButton(double top, const std::string& title, platform::ui::Color color) {
    auto button = platform::ui::Button::make({0, top, 80 * Util::iPadX(), 18 * Util::iPadY()});
    button->setBackgroundImage(Util::getImageWithName("p_slide_value.png"));
    button->titleLabel()->setFont(platform::ui::Font::system(10 * Util::iPad()));
    button->setTitleColor(color);
    button->setTitle(title);
    button->setUserInteractionEnabled(false);
    return button;
}

} // namespace

InviteView::InviteView() : CustomUIActionSheetViewController("InviteView") {}

InviteView::~InviteView() {
    stopCountTimer();
}

void InviteView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {80, 10, 320, 300}, "");
    setActionSheetView(panel);
    btnWaitRoom_ = SheetPanel::addButton(*panel, {20, 8, 130, 30}, "btnWaitRoom", "", [this] { clickWaitRoom(); });
    btnFriend_ = SheetPanel::addButton(*panel, {170, 8, 130, 30}, "btnFriend", "", [this] { clickFriend(); });
    lblWaitRoom_ = SheetPanel::addLabel(*panel, {20, 8, 130, 30}, "lblWaitRoom", "");
    lblWaitRoom_->setTextAlignment(platform::ui::TextAlignment::Center);
    lblWaitRoom_->setUserInteractionEnabled(false);
    lblFriend_ = SheetPanel::addLabel(*panel, {170, 8, 130, 30}, "lblFriend", "");
    lblFriend_->setTextAlignment(platform::ui::TextAlignment::Center);
    lblFriend_->setUserInteractionEnabled(false);
    imgSelectedTab_ = platform::ui::ImageView::make(Util::changeRectFromRect({20, 38, 130, 4}));
    imgSelectedTab_->setImage(Util::getImageWithName(kTabSelected));
    imgSelectedTab_->setAccessibilityIdentifier("imgSelectedTab");
    panel->addSubview(imgSelectedTab_);
    scrollViewContent_ = platform::ui::ScrollView::make(Util::changeRectFromRect({15, 46, 290, 210}));
    scrollViewContent_->setAccessibilityIdentifier("scrollViewContent");
    panel->addSubview(scrollViewContent_);
    btnInvite_ = SheetPanel::addButton(*panel, {20, 262, 130, 32}, "btnInvite", "", [this] { clicInvite(); });
    setDefaultButton(btnInvite_);
    SheetPanel::addButton(*panel, {170, 262, 130, 32}, "slideOut", text("KAVO_cancel"), [this] { slideOut(); });
}

void InviteView::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    if (const auto& back = KavoOnlineAppDelegate::getInstance().btnBack()) back->setHidden(true);
    lblWaitRoom_->setText(text("KAVO_waitingList"));
    lblFriend_->setText(text("KAVO_friendI"));
    btnInvite_->setTitle(text("KAVO_invite"));
    numOfColumn_ = 3;
    Util::showLoadingOnView(scrollViewContent_);
    btnFriend_->setBackgroundImage(Util::getImageWithName(kTabUnselected));
    btnWaitRoom_->setBackgroundImage(Util::getImageWithName(kTabSelected));
    imgSelectedTab_->setCenter({btnWaitRoom_->center().x, imgSelectedTab_->center().y});
}

void InviteView::clickWaitRoom() {
    if (typeInvite_ != 0) switchTab(0);
}

void InviteView::clickFriend() {
    if (typeInvite_ != 1) switchTab(1);
}

void InviteView::switchTab(int type) {
    scrollViewContent_->removeAllSubviews();
    const auto& chosen = type == 0 ? btnWaitRoom_ : btnFriend_;
    const auto& other = type == 0 ? btnFriend_ : btnWaitRoom_;
    chosen->setBackgroundImage(Util::getImageWithName(kTabSelected));
    other->setBackgroundImage(Util::getImageWithName(kTabUnselected));
    platform::ui::View::animate(0.4, [this, x = chosen->center().x] {
        imgSelectedTab_->setCenter({x, imgSelectedTab_->center().y});
    });
    Util::hideLoadingOnView(scrollViewContent_);
    Util::showLoadingOnView(scrollViewContent_);
    if (type == 0)
        GlobalService::getInstance().requestWaitingList();
    else
        GlobalService::getInstance().requestFriendList(int8_t(5));
    startLoading();
    typeInvite_ = type;
}

void InviteView::startLoading() {
    stopCountTimer();
    // Each wait counts its own ticks from 0.
    countWait_ = 0;
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    countTimer_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto self = std::dynamic_pointer_cast<InviteView>(weak.lock())) self->countTime();
    });
}

void InviteView::countTime() {
    ++countWait_;
    if (countWait_ >= 11) {
        stopCountTimer();
        if (scrollViewContent_) Util::hideLoadingOnView(scrollViewContent_);
    }
}

void InviteView::stopCountTimer() {
    if (countTimer_) countTimer_->invalidate();
    countTimer_.reset();
}

void InviteView::resetListPlayer() {
    listPlayers_.clear();
}

void InviteView::setListPlayers(std::vector<std::shared_ptr<Player>> players) {
    listPlayers_.clear();
    for (auto& player : players) {
        if (player) listPlayers_.push_back(std::move(player));
    }
}

int InviteView::numberRowInView() const {
    if (numOfColumn_ <= 0) return 0;
    return int((listPlayers_.size() + size_t(numOfColumn_) - 1) / size_t(numOfColumn_));
}

double InviteView::heightOfView() const {
    return numberRowInView() * 120.0;
}

void InviteView::showWithTypeInvite(int type) {
    typeInvite_ = type;
    if (type != 2 || !isViewLoaded()) return;
    for (const auto& part :
         std::initializer_list<platform::ui::ViewPtr>{btnWaitRoom_, btnFriend_, lblWaitRoom_, lblFriend_, btnInvite_})
        part->removeFromSuperview();
    Util::hideLoadingOnView(scrollViewContent_);
}

void InviteView::showDataTableView() {
    stopCountTimer();
    listSelectedInvitor_.clear();
    if (!isViewLoaded()) return; // drawn when the sheet opens
    scrollViewContent_->removeAllSubviews();
    scrollViewContent_->setContentSize({0, 0});
    scrollViewContent_->setContentSize(Util::changeSizeFromSize({290, heightOfView()}));
    const int columns = std::max(1, numOfColumn_);
    for (size_t i = 0; i < listPlayers_.size(); ++i) {
        const auto& player = listPlayers_[i];
        const int c = int(i) % columns;
        const int r = int(i) / columns;
        auto cell = platform::ui::View::make(Util::changeRectFromRect({c * 100.0 + 5, r * 110.0, 80, 100}));
        auto seat = platform::ui::ImageView::make(Util::changeRectFromRect({15, 0, 50, 60}));
        seat->setImage(Util::getImageWithName("tl_border_seat.png"));
        cell->addSubview(seat);
        auto frameImage = platform::ui::ImageView::make({{0, 0}, Util::changeSizeFromSize({44, 54})});
        frameImage->setImage(Util::getImageWithName("tl_khung_avatar.png"));
        frameImage->setCenter(seat->center());
        auto avatar = platform::ui::ImageView::make(Util::changeRectFromRect({2, 7, 40, 40}));
        avatar->setContentMode(platform::ui::ContentMode::ScaleAspectFit);
        Resources::getInstance().assignAvatarId(player->avatar(), avatar);
        frameImage->addSubview(avatar);
        cell->addSubview(frameImage);
        auto choose = platform::ui::Button::make({{0, 0}, Util::changeSizeFromSize({48, 58})});
        choose->setCenter(seat->center());
        choose->setTag(0);
        choose->titleLabel()->setTag(int(i));
        // The cells have no field name of their own: each carries its action's name, in row order.
        choose->setAccessibilityIdentifier("doInviteBoard");
        platform::ui::Button* raw = choose.get();
        choose->onTouchUpInside([this, raw] { doInviteBoard(*raw); });
        cell->addSubview(choose);
        const double seatHeight = seat->frame().height();
        auto name = captionButton(seatHeight + 1, player->name(), platform::ui::Color::white());
        cell->addSubview(name);
        cell->addSubview(captionButton(seatHeight + name->frame().height() + 1, Util::formatNumber(player->money()),
                                       platform::ui::Color::rgba(255, 255, 0)));
        scrollViewContent_->addSubview(cell);
    }
    Util::hideLoadingOnView(scrollViewContent_);
}

void InviteView::doInviteBoard(platform::ui::Button& cell) {
    const int index = cell.titleLabel()->tag();
    if (index < 0 || size_t(index) >= listPlayers_.size()) return;
    const auto& player = listPlayers_[size_t(index)];
    if (cell.tag() == 0) {
        cell.setTag(1);
        cell.setBackgroundImage(Util::getImageWithName("invite_border_selected.png"));
        listSelectedInvitor_.push_back(player);
    } else {
        cell.setTag(0);
        cell.setBackgroundImage(nullptr);
        listSelectedInvitor_.erase(std::remove(listSelectedInvitor_.begin(), listSelectedInvitor_.end(), player),
                                   listSelectedInvitor_.end());
    }
}

void InviteView::clicInvite() {
    for (const auto& player : listSelectedInvitor_)
        GlobalService::getInstance().requestInviteWithUserId(player->IDDB());
    slideOut();
}

} // namespace kavo
