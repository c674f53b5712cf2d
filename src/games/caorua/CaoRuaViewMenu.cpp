// What the Cao Rua table opens over itself: the seat menu, gifts, the sheets and the
// mailbox.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/caorua/CaoRuaService.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "table/base/ActionController.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/TableRules.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/PlayerInfo.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuSetup.h"
#include "table/sheets/menuSoNguoi.h"

#include <algorithm>

namespace kavo {

namespace {

// The five buttons of a seat's menu fade in one after another, 0.1 s apart.
constexpr double kFadeDelay = 0.1;
constexpr double kFadeLength = 0.2;

} // namespace

void CaoRuaView::clickShowActionPlayer(platform::ui::Button& seatButton) {
    if (!seatButton.titleForState(platform::ui::ControlState::Normal).empty()) {
        // An empty seat shows the invite text: the invitations open instead.
        GlobalService::getInstance().requestWaitingList();
        inviteView()->setTypeInvite(0);
        openSheet(inviteView());
        view()->bringSubviewToFront(inviteView()->view().get());
        return;
    }
    if (seatButton.tag() == 0) {
        if (auto me = UIController::myInfo()) doShowUserInfo(me->IDDB());
        return;
    }
    view()->bringSubviewToFront(viewPlayerMenu_.get());
    viewPlayerMenu_->setHidden(false);
    viewPlayerMenu_->setAlpha(1.0);
    animationForActionPlayerMenu(seatButton);
}

void CaoRuaView::animationForActionPlayerMenu(platform::ui::Button& seatButton) {
    listViewOfPlayer_.clear();
    if (!seatButton.titleForState(platform::ui::ControlState::Normal).empty()) return;
    const int s = seatButton.tag();
    // The seat is checked before any player is read.
    if (s < 1 || s >= kSeats) return;
    setCurrentControlPlayer(playerAtSeat(s));
    auto& seat = seatViews_[size_t(s)];
    // The chosen seat stays visible above the menu's backdrop: its views move into the
    // layer, each remembering its stacking place in its tag.
    const std::vector<platform::ui::ViewPtr> lifted = {seat.avatar,   seat.btnSeat,    seat.btnUsername,
                                                       seat.btnMoney, seat.btnPresent, seat.ok};
    const auto& stack = view()->subviews();
    liftedBelow_.clear();
    for (const auto& widget : lifted) {
        const auto at = std::find(stack.begin(), stack.end(), widget);
        widget->setTag(at == stack.end() ? int(stack.size()) : int(at - stack.begin()));
        liftedBelow_.push_back(at == stack.end() || at == stack.begin() ? std::weak_ptr<platform::ui::View>()
                                                                        : std::weak_ptr<platform::ui::View>(*(at - 1)));
        listViewOfPlayer_.push_back(widget);
    }
    for (const auto& widget : lifted)
        viewPlayerMenu_->addSubview(widget);
    seat.btnSeat->removeFromSuperview();
    const std::vector<std::shared_ptr<platform::ui::Button>> buttons = {seat.btnInfo, seat.btnPresentGift, seat.btnAdd,
                                                                        seat.btnKick, seat.btnBuzz};
    for (const auto& button : buttons)
        viewPlayerMenu_->bringSubviewToFront(button.get());
    auto chosen = CurrentControlPlayer();
    seat.btnAdd->setEnabled(chosen && !chosen->isFriend());
    seat.btnKick->setEnabled(isMe(ownerId()));
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto fade = [button = buttons[i]](CaoRuaView& self) {
            if (self.viewPlayerMenu_->isHidden()) return;
            platform::ui::View::animate(kFadeLength, [button] { button->setAlpha(1.0); });
        };
        if (i == 0)
            fade(*this);
        else
            flyTimers_.push_back(later(kFadeDelay * double(i), fade));
    }
}

void CaoRuaView::hideActionPlayerMenu() {
    viewPlayerMenu_->setHidden(true);
    viewPlayerMenu_->setAlpha(0);
    for (const auto& seat : seatViews_) {
        for (const auto& button : {seat.btnInfo, seat.btnPresentGift, seat.btnAdd, seat.btnKick, seat.btnBuzz})
            if (button) button->setAlpha(0);
    }
    // Back at the stored places, lowest first, so every view regains its own: above
    // the view that lay below it (views the table moved meanwhile do not shift it),
    // else at the index kept in its tag.
    std::vector<size_t> order(listViewOfPlayer_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return listViewOfPlayer_[a]->tag() < listViewOfPlayer_[b]->tag(); });
    for (size_t i : order) {
        const auto& widget = listViewOfPlayer_[i];
        widget->removeFromSuperview();
        auto below = i < liftedBelow_.size() ? liftedBelow_[i].lock() : nullptr;
        const size_t count = view()->subviews().size();
        const int at = widget->tag();
        if (below && below->superview() == view().get())
            view()->insertSubviewAbove(widget, below.get());
        else if (at >= 0 && size_t(at) <= count)
            view()->insertSubview(widget, size_t(at));
        else
            view()->addSubview(widget);
    }
    listViewOfPlayer_.clear();
    liftedBelow_.clear();
    for (int s = 0; s < kSeats; ++s) {
        seatViews_[size_t(s)].btnSeat->setTag(s);
        seatViews_[size_t(s)].btnPresent->setTag(s);
    }
}

// Each action closes the menu first: the seat's views it put back then lie under what the
// action opens.
void CaoRuaView::clickShowPlayerInfo() {
    hideActionPlayerMenu();
    if (auto player = CurrentControlPlayer()) doShowUserInfo(player->IDDB());
}

void CaoRuaView::clickPresentForPlayer(platform::ui::Button& sender) {
    setCurrentControlPlayer(playerAtSeat(sender.tag()));
    hideActionPlayerMenu();
    ActionController::doPresentGift();
}

void CaoRuaView::clickAddFriend(platform::ui::Button& sender) {
    if (!sender.isEnabled()) return;
    ActionController::doAddFriend();
    hideActionPlayerMenu();
}

void CaoRuaView::clickKick(platform::ui::Button& sender) {
    if (!sender.isEnabled()) return;
    ActionController::doKick();
    hideActionPlayerMenu();
}

void CaoRuaView::clickBuzz() {
    ActionController::doBuzz();
    hideActionPlayerMenu();
}

// ---------------------------------------------------------------- gifts

void CaoRuaView::onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) {
    GameTableView::onShowGift(itemId, fromUser, toUser);
    view();
    const int from = getSeatFromID(fromUser);
    const int to = getSeatFromID(toUser);
    auto picture = Resources::getInstance().getExistedImageWithKey(itemId);
    const auto& list = players();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if ((*it)->IDDB() != toUser) continue;
        keepGift(**it, picture, getPlayerNameFromID(fromUser));
        break;
    }
    auto flying = platform::ui::ImageView::make(
        picture ? platform::ui::Rect{0, 0, picture->size().width, picture->size().height} : platform::ui::Rect{});
    flying->setImage(picture);
    flying->setAccessibilityIdentifier("flyingGift");
    if (from >= 0) {
        flying->setFrame({0, 0, 24, 24});
        flying->setCenter(seatViews_[size_t(from)].avatar->center());
    }
    view()->addSubview(flying);
    const auto target = to >= 0 ? seatViews_[size_t(to)].btnPresent->center() : flying->center();
    platform::ui::View::animate(
        1.0, [flying, target] { flying->setCenter(target); }, completion([flying, to, picture](CaoRuaView& self) {
            flying->removeFromSuperview();
            if (to >= 0) self.seatViews_[size_t(to)].btnPresent->setImage(picture);
        }));
}

void CaoRuaView::addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player) {
    if (!player || !player->gift()) return;
    const int s = getSeatFromID(player->IDDB());
    if (s >= 0) seatViews_[size_t(s)].btnPresent->setImage(player->gift());
}

void CaoRuaView::clickGiftDetail(platform::ui::Button& sender) {
    // The tag names a seat: the giver of its player's gift is kept with the gift.
    const int32_t id = getIDAtSeat(sender.tag());
    if (id == -1) return;
    // The same record the gift went to: the last with that id.
    const auto& list = players();
    const auto it = std::find_if(list.rbegin(), list.rend(), [id](const auto& player) { return player->IDDB() == id; });
    if (it != list.rend()) showGiftGiver(it->get());
}

// ---------------------------------------------------------------- sheets

void CaoRuaView::clickConfig() {
    openSheet(setupView_);
}

void CaoRuaView::onRequestDetail(const platform::Value& details) {
    UIController::showUserInfo(details);
}

void CaoRuaView::showCuoc() {
    if (UIController::gameType() != GameTypes::kCaoRua) return;
    if (isGameEnd())
        openSheet(betView());
    else
        showChatWithSeat(kCentreBubble, text("KAVO_playingBoard"));
}

void CaoRuaView::showSetupSoNguoi() {
    openSheet(menuSoNguoi::getInstance());
}

void CaoRuaView::showSetupPassword() {
    openSheet(menuPassword::getInstance());
}

void CaoRuaView::requestMaxPlayers(int8_t max) {
    CaoRuaService::getInstance().setMaxPlayerWithRoomId(roomId(), boardId(), max);
}

void CaoRuaView::clickChatBoardOfMe() {
    openSheet(chatView());
}

void CaoRuaView::clickMailBox() {
    MessageView::pushNew();
}

void CaoRuaView::clickViewPlayerInfo(platform::ui::Button& sender) {
    const std::string title = sender.titleForState(platform::ui::ControlState::Normal);
    if (title.empty()) return;
    const int32_t id = int32_t(platform::parseLeadingInteger(title));
    GlobalService::getInstance().requestInfoOfWithIDDB(id);
    for (const auto& player : players())
        if (player->IDDB() == id) PlayerInfo::setAva(int16_t(player->avatar()));
}

} // namespace kavo
