// What the card tables open over themselves: the per-seat menu, gifts, the sheets and
// the mailbox.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "table/base/ActionController.h"
#include "table/base/GameCardView.h"
#include "table/registry/GameRecords.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/PlayerInfo.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"

#include <algorithm>

namespace kavo {

void GameCardView::clickShowActionPlayer(platform::ui::Button& seatButton) {
    if (seatButton.titleForState(platform::ui::ControlState::Normal).empty()) {
        view()->bringSubviewToFront(viewPlayerMenu_.get());
        viewPlayerMenu_->setHidden(false);
        platform::ui::Button* raw = &seatButton;
        std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
        platform::ui::View::animate(
            0.4, [this] { viewPlayerMenu_->setAlpha(1.0); },
            [weak, raw](bool) {
                if (auto self = std::dynamic_pointer_cast<GameCardView>(weak.lock()))
                    self->animationForActionPlayerMenu(*raw);
            });
        return;
    }
    GlobalService::getInstance().requestWaitingList();
    inviteView()->setTypeInvite(0);
    openSheet(inviteView());
    view()->bringSubviewToFront(inviteView()->view().get());
}

void GameCardView::animationForActionPlayerMenu(platform::ui::Button& seatButton) {
    listViewOfPlayer_.clear();
    const int s = seatButton.tag();
    if (!seatButton.titleForState(platform::ui::ControlState::Normal).empty() || s < 0 || s >= kSeats) return;
    setCurrentControlPlayer(playerAtSeat(s));
    auto& seat = seatViews_[size_t(s)];
    auto fadeIn = [](const std::shared_ptr<platform::ui::Button>& button, double seconds) {
        platform::ui::View::animate(seconds, [button] { button->setAlpha(1.0); });
    };
    if (s == 0) {
        viewPlayerMenu_->bringSubviewToFront(seat.btnPlayerInfo.get());
        viewPlayerMenu_->bringSubviewToFront(seat.btnPlayerPresent.get());
        fadeIn(seat.btnPlayerInfo, 0.2);
        fadeIn(seat.btnPlayerPresent, 0.2);
        return;
    }
    // The chosen seat stays visible above the menu's backdrop: its widgets move into
    // the menu, each remembering its stacking place in its tag.
    const std::vector<platform::ui::ViewPtr> widgets = {seat.cpiSeat,  seat.ava,      seat.btnSeat,    seat.btnName,
                                                        seat.btnMoney, seat.isFriend, seat.btnPresent, seat.ok};
    const auto& stack = view()->subviews();
    for (const auto& widget : widgets) {
        const auto at = std::find(stack.begin(), stack.end(), widget);
        widget->setTag(at == stack.end() ? int(stack.size()) : int(at - stack.begin()));
        listViewOfPlayer_.push_back(widget);
    }
    for (const auto& widget : widgets)
        viewPlayerMenu_->addSubview(widget);
    view()->addSubview(seat.btnSeat);
    // The seat's button closes the menu, but its gift heart keeps its own click above it.
    view()->addSubview(seat.btnPresent);
    const std::vector<std::shared_ptr<platform::ui::Button>> buttons = {
        seat.btnPlayerInfo, seat.btnPlayerPresent, seat.btnPlayerFriend, seat.btnPlayerKick, seat.btnPlayerBuzz};
    for (const auto& button : buttons)
        viewPlayerMenu_->bringSubviewToFront(button.get());
    auto chosen = CurrentControlPlayer();
    seat.btnPlayerFriend->setEnabled(chosen && !chosen->isFriend());
    auto me = UIController::myInfo();
    seat.btnPlayerKick->setEnabled(me && me->IDDB() == ownerId());
    for (size_t i = 0; i < buttons.size(); ++i)
        fadeIn(buttons[i], s == 1 || i >= 3 ? 0.2 : 0.3);
}

void GameCardView::hideForActionPlayerMenu() {
    viewPlayerMenu_->setHidden(true);
    viewPlayerMenu_->setAlpha(0);
    for (const auto& seat : seatViews_) {
        for (const auto& button :
             {seat.btnPlayerInfo, seat.btnPlayerPresent, seat.btnPlayerFriend, seat.btnPlayerKick, seat.btnPlayerBuzz})
            if (button) button->setAlpha(0);
    }
    // Back at the stored place, or on top when that place no longer exists.
    for (const auto& widget : listViewOfPlayer_) {
        const size_t count = view()->subviews().size();
        const int at = widget->tag();
        if (at >= 0 && size_t(at) <= count)
            view()->insertSubview(widget, size_t(at));
        else
            view()->addSubview(widget);
    }
    listViewOfPlayer_.clear();
    for (int s = 0; s < kSeats; ++s) {
        seatViews_[size_t(s)].btnSeat->setTag(s);
        seatViews_[size_t(s)].btnPresent->setTag(s);
    }
}

// Each action closes the menu first: the seat's views it put back then lie under what the
// action opens.
void GameCardView::clickShowPlayerInfo() {
    hideForActionPlayerMenu();
    if (auto player = CurrentControlPlayer()) doShowUserInfo(player->IDDB());
}

void GameCardView::clickPresentForPlayer(int seat) {
    setCurrentControlPlayer(playerAtSeat(seat));
    hideForActionPlayerMenu();
    ActionController::doPresentGift();
}

void GameCardView::clickAddFriend(platform::ui::Button& button) {
    if (!button.isEnabled()) return;
    hideForActionPlayerMenu();
    ActionController::doAddFriend();
}

void GameCardView::clickKick(platform::ui::Button& button) {
    if (!button.isEnabled()) return;
    hideForActionPlayerMenu();
    ActionController::doKick();
}

void GameCardView::clickBuzz() {
    hideForActionPlayerMenu();
    ActionController::doBuzz();
}

// ---------------------------------------------------------------- gifts

void GameCardView::onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) {
    GameTableView::onShowGift(itemId, fromUser, toUser);
    view();
    const int from = getSeatFromID(fromUser);
    const int to = getSeatFromID(toUser);
    auto picture = Resources::getInstance().getExistedImageWithKey(itemId);
    if (to >= 0) {
        if (auto receiver = playerAtSeat(to)) keepGift(*receiver, picture, getPlayerNameFromID(fromUser));
    }
    auto flying = platform::ui::ImageView::make({0, 0, 24, 24});
    flying->setImage(picture);
    flying->setAccessibilityIdentifier("flyingGift");
    if (from >= 0) {
        const auto start = seatPoint(from, true);
        flying->setFrame({start.x, start.y, 24, 24});
    }
    view()->addSubview(flying);
    const auto target = to >= 0 ? seatViews_[size_t(to)].btnPresent->center() : flying->center();
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    platform::ui::View::animate(
        1.0, [flying, target] { flying->setCenter(target); },
        [weak, flying, to, picture](bool) {
            flying->removeFromSuperview();
            auto self = std::dynamic_pointer_cast<GameCardView>(weak.lock());
            if (self && to >= 0) self->seatViews_[size_t(to)].btnPresent->setImage(picture);
        });
}

void GameCardView::addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player) {
    if (!player) return;
    const int seat = getSeatFromID(player->IDDB());
    if (seat >= 0) seatViews_[size_t(seat)].btnPresent->setImage(player->gift());
}

void GameCardView::clickGiftDetail(int seat) {
    showGiftGiver(playerAtSeat(seat).get());
}

void GameCardView::upIconPresent() {
    const auto& button = seatViews_[0].btnPresent;
    button->setCenter({button->center().x, 220});
}

void GameCardView::downIconPresent() {
    const auto& button = seatViews_[0].btnPresent;
    button->setCenter({button->center().x, 252});
}

// ---------------------------------------------------------------- sheets

void GameCardView::clickChatBoardOfMe() {
    openSheet(chatView());
}

void GameCardView::clickMailBox() {
    MessageView::pushNew();
}

void GameCardView::showCuoc() {
    auto me = UIController::myInfo();
    switch (gameRecordOrNone(gameType()).stakeSetting) {
    case StakeSetting::ByTheOwner:
        if (me && me->IDDB() == ownerId() && isGameEnd()) openSheet(betView());
        break;
    case StakeSetting::ByEachPlayer:
        if (isGameEnd())
            openSheet(betView());
        else
            showChatWithSeat(4, text("KAVO_playingBoard"));
        break;
    case StakeSetting::None:
        break;
    }
}

void GameCardView::clickViewPlayerInfo(platform::ui::Button& button) {
    const std::string title = button.titleForState(platform::ui::ControlState::Normal);
    if (title.empty()) return;
    const int32_t id = int32_t(platform::parseLeadingInteger(title));
    for (const auto& player : players())
        if (player->IDDB() == id) PlayerInfo::setAva(int16_t(player->avatar()));
    GlobalService::getInstance().requestInfoOfWithIDDB(id);
}

void GameCardView::onRequestDetail(const platform::Value& details) {
    UIController::showUserInfo(details);
}

} // namespace kavo
