// The Chinese chess table's chat bubbles, table chat, buzzes, gifts, player menu,
// taking a seat and leaving.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "app/widgets/SubSeatView.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/CoTuongView.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "table/base/ActionController.h"
#include "table/base/ChessPlayer.h"
#include "table/base/LeavingTable.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"

namespace kavo {

namespace ui = platform::ui;

// ---------------------------------------------------------------- bubbles

void CoTuongView::setUpBubbles() {
    using Anchor = BubblePlace::Anchor;
    // My seat's bubble, the opponent's, and the board's own line in its middle.
    std::vector<SeatBubbles::Look> looks{{"friend_chat.png", false, Anchor::Origin, 3.0, 0},
                                         {"friend_chat.png", true, Anchor::Origin, 3.0, 1},
                                         {"friend_chat.png", true, Anchor::Centre, 3.0, -1}};
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    bubbles_.setUp(
        {chat_.begin(), chat_.end()}, std::move(looks),
        [weak](double seconds, int slot) {
            return platform::Timer::scheduled(seconds, false, [weak, slot] {
                if (auto self = std::dynamic_pointer_cast<CoTuongView>(weak.lock())) self->showChatAtSeat(slot);
            });
        },
        [this] {
            std::vector<ui::Rect> seats;
            for (const auto& seat : {btnSeat0_, btnSeat2_})
                seats.push_back(seat->convertRect(seat->bounds(), nullptr));
            return seats;
        });
    bubbles_.setStandPoints(0, Util::isPad() ? ui::Point{512, 384} : ui::Point{300, 140});
}

void CoTuongView::showChatWithSeat(int slot, const std::string& line) {
    if (slot < 0 || slot > 2) return;
    view();
    bubbles_.queue(slot, line);
}

void CoTuongView::showChatAtSeat(int slot) {
    bubbles_.showNext(slot);
}

void CoTuongView::hideChat(int slot) {
    bubbles_.hide(slot);
}

// ---------------------------------------------------------------- chat

void CoTuongView::onChatFromWithId(int32_t id, const std::string& line) {
    std::string speaker;
    if (isMe(id)) {
        showChatWithSeat(0, line);
        speaker = UIController::myInfo()->name();
    } else if (auto player = getPlayerWithID(id); player && id != -1) {
        showChatWithSeat(1, line);
        speaker = player->name();
    } else {
        // The server's own texts have no speaker and stay out of the history.
        showChatWithSeat(2, line);
        return;
    }
    chatView()->appendHistory(speaker, line);
    isNewAdd_ = true;
}

void CoTuongView::onChatFromMeWithText(const std::string& line) {
    if (platform::trimWhitespace(line).empty()) return;
    GlobalService::getInstance().chatToBoardWithRoom(roomID(), boardID(), line);
    onChatFromWithId(UIController::myInfo()->IDDB(), line);
}

void CoTuongView::onBuzzWithContent(const std::string& line) {
    Util::callRung();
    showChatWithSeat(2, line);
}

void CoTuongView::clickChatBoardOfMe() {
    if (!isSeated()) return;
    openSheet(chatView());
}

// ---------------------------------------------------------------- player menu

void CoTuongView::clickShowActionPlayer(int tag) {
    if (!isSeated()) return;
    auto button = tag == 0 ? btnSeat0_ : btnSeat2_;
    const bool emptyLabel = button->currentTitle().empty();
    if (tag == 0 && emptyLabel) {
        doShowUserInfo(UIController::myInfo()->IDDB());
        return;
    }
    if (emptyLabel) {
        view()->bringSubviewToFront(viewPlayerMenu_.get());
        viewPlayerMenu_->setHidden(false);
        auto menu = viewPlayerMenu_;
        ui::View::animate(0.5, [menu] { menu->setAlpha(1); });
        animationForActionPlayerMenu(tag);
        return;
    }
    GlobalService::getInstance().requestWaitingList();
    if (auto invite = inviteView()) {
        invite->setTypeInvite(0);
        view()->addSubview(invite->view());
        invite->viewWillAppear(true);
        view()->bringSubviewToFront(invite->view().get());
    }
}

void CoTuongView::liftIntoMenu(const ui::ViewPtr& lifted) {
    if (!lifted) return;
    viewPlayerMenu_->addSubview(lifted);
    listViewOfPlayer_.push_back(lifted);
}

namespace {

void fadeIn(const std::shared_ptr<ui::Button>& button, double duration, double delay) {
    ui::View::animate(duration, delay, ui::AnimationOptions{}, [button] { button->setAlpha(1); });
}

} // namespace

void CoTuongView::animationForActionPlayerMenu(int tag) {
    listViewOfPlayer_.clear();
    if (tag == 0) {
        setCurrentControlPlayer(UIController::myInfo());
        for (const ui::ViewPtr& lifted : std::vector<ui::ViewPtr>{btnSeat0_, btnPresent0_, ok0_})
            liftIntoMenu(lifted);
        btnPlayerInfo0_->setHidden(false);
        btnPlayerPresent0_->setHidden(false);
        fadeIn(btnPlayerInfo0_, 0.2, 0);
        fadeIn(btnPlayerPresent0_, 0.2, 0.1);
        return;
    }
    setCurrentControlPlayer(nullptr);
    for (const auto& player : players_) {
        if (!isMe(player->IDDB())) {
            setCurrentControlPlayer(player);
            break;
        }
    }
    for (const ui::ViewPtr& lifted : std::vector<ui::ViewPtr>{cpiSeat2_, ava2_, btnSeat2_, btnName2_, btnMoney2_,
                                                              imgIsFriend2_, btnPresent2_, ok2_})
        liftIntoMenu(lifted);
    for (const auto& button :
         {btnPlayerInfo1_, btnPlayerPresent1_, btnPlayerFriend1_, btnPlayerKick1_, btnPlayerBuzz1_}) {
        button->setHidden(false);
        viewPlayerMenu_->bringSubviewToFront(button.get());
    }
    btnPlayerFriend1_->setEnabled(!(CurrentControlPlayer() && CurrentControlPlayer()->isFriend()));
    btnPlayerKick1_->setEnabled(isMe(ownerID()));
    fadeIn(btnPlayerInfo1_, 0.2, 0);
    fadeIn(btnPlayerPresent1_, 0.2, 0.1);
    fadeIn(btnPlayerFriend1_, 0.2, 0.2);
    fadeIn(btnPlayerKick1_, 0.3, 0.3);
    fadeIn(btnPlayerBuzz1_, 0.4, 0.4);
}

void CoTuongView::hideForActionPlayerMenu() {
    if (!viewPlayerMenu_) return;
    viewPlayerMenu_->setHidden(true);
    for (const auto& button : {btnPlayerInfo0_, btnPlayerPresent0_, btnPlayerInfo1_, btnPlayerPresent1_,
                               btnPlayerFriend1_, btnPlayerKick1_, btnPlayerBuzz1_}) {
        button->setAlpha(0);
        button->setHidden(true);
    }
    for (const auto& lifted : listViewOfPlayer_)
        view()->addSubview(lifted);
    listViewOfPlayer_.clear();
    if (board_) view()->bringSubviewToFront(viewCuoc_.get());
}

// Each action closes the menu first: the seat's views it put back then lie under what the
// action opens.
void CoTuongView::clickShowPlayerInfo() {
    hideForActionPlayerMenu();
    if (CurrentControlPlayer()) doShowUserInfo(CurrentControlPlayer()->IDDB());
}

void CoTuongView::clickAddFriend() {
    ActionController::doAddFriend();
    hideForActionPlayerMenu();
}

void CoTuongView::clickKick() {
    if (isSeated() && btnPlayerKick1_->isEnabled()) ActionController::doKick();
    hideForActionPlayerMenu();
}

void CoTuongView::clickBuzz() {
    if (isSeated()) ActionController::doBuzz();
    hideForActionPlayerMenu();
}

void CoTuongView::clickPresentForPlayer(int tag) {
    hideForActionPlayerMenu();
    if (!isSeated()) return;
    if (tag == 0) {
        setCurrentControlPlayer(UIController::myInfo());
    } else {
        for (const auto& player : players_)
            if (!isMe(player->IDDB())) setCurrentControlPlayer(player);
    }
    ActionController::doPresentGift();
}

// ---------------------------------------------------------------- gifts

void CoTuongView::onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) {
    GameTableView::onShowGift(itemId, fromUser, toUser);
    std::shared_ptr<ChessPlayer> receiver;
    for (const auto& player : players_)
        if (player->IDDB() == toUser) receiver = player;
    auto picture = Resources::getInstance().getExistedImageWithKey(itemId);
    if (!receiver || !picture) return;
    keepGift(*receiver, picture, getPlayerNameFromID(fromUser));
    const double side = 24;
    auto flying = ui::ImageView::make(ui::Rect{0, 0, side, side});
    flying->setImage(picture);
    flying->setCenter((isMe(fromUser) ? btnPresent0_ : btnPresent2_)->center());
    view()->addSubview(flying);
    auto target = isMe(toUser) ? btnPresent0_ : btnPresent2_;
    const ui::Point end = target->center();
    ui::View::animate(
        1.0, [flying, end] { flying->setCenter(end); },
        [flying, target, picture](bool) {
            flying->removeFromSuperview();
            target->setImage(picture);
        });
}

void CoTuongView::addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player) {
    if (!player || !player->gift()) return;
    (isMe(player->IDDB()) ? btnPresent0_ : btnPresent2_)->setImage(player->gift());
}

namespace {

void moveToPhoneY(const ui::ViewPtr& view, double phoneY) {
    const double y = Util::changePointFromPoint({0, phoneY}).y;
    view->setCenter({view->center().x, y});
}

} // namespace

void CoTuongView::upIconPresent() {
    moveToPhoneY(btnPresent0_, 220);
    moveToPhoneY(ok0_, 220);
}

void CoTuongView::downIconPresent() {
    moveToPhoneY(btnPresent0_, 252);
    moveToPhoneY(ok0_, 252);
}

void CoTuongView::clickGiftDetail(int tag) {
    // The tag names the seat's player: the gift's giver is kept with his gift.
    showGiftGiver(getPlayerWithID(tag).get());
}

// ---------------------------------------------------------------- seat and leaving

void CoTuongView::clickSitDown() {
    GlobalService::getInstance().joinBoardWithroomId(roomID(), boardID(), "");
}

void CoTuongView::doLeaveBoard() {
    if (isInBoard() && isSeated()) {
        askToLeaveTable();
        return;
    }
    auto table = GameController::getTableView(gameType());
    if (table)
        GlobalService::getInstance().leaveBoardWithRoomId(table->roomId(), table->boardId());
    else
        GlobalService::getInstance().leaveBoardWithRoomId(roomID(), boardID());
    onLeftTable();
    if (auto* nav = navigationController()) nav->popViewController(true);
}

void CoTuongView::onLeftTable() {
    if (board_) board_->cancelDelayedSteps();
    setTimerWithSeat(-1);
}

void CoTuongView::viewWillAppear(bool animated) {
    GameTableView::viewWillAppear(animated);
    if (auto title = KavoOnlineAppDelegate::getInstance().lblWindowTitle()) {
        title->setText(text(titleKey().c_str()) + ", " + text("KAVO_room") + " " + std::to_string(roomID()) + ", " +
                       text("KAVO_board") + " " + std::to_string(boardID()));
        title->setFont(ui::Font::boldSystem(10 * Util::iPad()));
    }
}

void CoTuongView::viewWillDisappear(bool animated) {
    GameTableView::viewWillDisappear(animated);
    if (chatView()) chatView()->historyChat().clear();
    hideForActionPlayerMenu();
    if (inviteView() && inviteView()->isViewLoaded() && inviteView()->view()->superview()) inviteView()->slideOut();
    // Delayed board steps of this table end when the player leaves it.
    if (board_) board_->cancelDelayedSteps();
    if (auto title = KavoOnlineAppDelegate::getInstance().lblWindowTitle())
        title->setFont(ui::Font::boldSystem(15 * Util::iPad()));
}

} // namespace kavo
