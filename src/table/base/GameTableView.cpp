#include "table/base/GameTableView.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "portal/model/Chat.h"
#include "table/base/TableRootView.h"
#include "table/registry/TableRules.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuGift.h"
#include "table/sheets/menuPlayer.h"

#include <algorithm>

namespace kavo {

GameTableView::GameTableView(int8_t gameType, const std::string& nibName, std::string titleKey)
    : KavoViewController(nibName), gameType_(gameType), titleKey_(std::move(titleKey)),
      inviteView_(std::make_shared<InviteView>()), chatView_(std::make_shared<boardChat>()),
      giftView_(std::make_shared<menuGift>()), betView_(std::make_shared<menuCuoc>()) {}

GameTableView::~GameTableView() {
    // A table popped and then replaced must not leave its timer firing into a dead screen.
    if (updateTimer_) updateTimer_->invalidate();
    if (inviteView_) inviteView_->stopCountTimer();
}

bool GameTableView::isMatchRunning() const {
    const auto* rule = tableRule(gameType_);
    return rule && rule->isBoardGame ? isInBoard_ : !isGameEnd_;
}

void GameTableView::openSheet(const std::shared_ptr<platform::ui::ViewController>& sheet) {
    if (!sheet) return;
    view()->addSubview(sheet->view());
    sheet->viewWillAppear(false);
}

void GameTableView::openPlayerMenu(std::shared_ptr<Player> player) {
    if (!player) return;
    setCurrentControlPlayer(std::move(player));
    if (!playerMenu_) playerMenu_ = std::make_shared<menuPlayer>();
    openSheet(playerMenu_);
}

void GameTableView::showGiftView() {
    auto player = chosenPlayer();
    if (!player) return;
    giftView_->setSelectedUserId(player->IDDB());
    openSheet(giftView_);
}

void GameTableView::onShowListGift(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories) {
    giftView_->drawCategoryMenuWithCategoryList(categories);
}

void GameTableView::onShowItemsWithGift(const std::shared_ptr<ItemsOfCategory>& items) {
    if (!items) return;
    menuGift::cacheItems(items->categoryId(), giftView_->currentPage(), items);
    giftView_->setGiftSelected(items);
    giftView_->updateItemsOfGift();
}

void GameTableView::onChatFromMeWithText(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return; // only white space: dropped
    const auto last = line.find_last_not_of(" \t\r\n");
    const std::string trimmed = line.substr(first, last - first + 1);
    GlobalService::getInstance().chatToBoardWithRoom(roomId(), boardId(), trimmed);
    auto me = UIController::myInfo();
    chatView_->appendHistory(me ? me->name() : std::string(), trimmed);
}

void GameTableView::loadView() {
    setView(std::make_shared<TableRootView>(platform::ui::Screen::bounds()));
}

void GameTableView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(20, 90, 50));

    // Below the event ticker's strip (the top left 240 x 30) and beside the back button,
    // above the table: nothing runs over it.
    lblTitle_ = platform::ui::Label::make(Util::changeRectFromRect({40, 30, 168, 20}));
    lblTitle_->setAccessibilityIdentifier("lblTitle");
    lblTitle_->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
    lblTitle_->setAdjustsFontSizeToFitWidth(true);
    lblTitle_->setMinimumFontSize(9 * Util::iPad());
    lblTitle_->setTextColor(platform::ui::Color::white());
    lblTitle_->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(lblTitle_);

    lblDetail_ = platform::ui::Label::make(Util::changeRectFromRect({10, 70, 300, 20}));
    lblDetail_->setAccessibilityIdentifier("lblDetail");
    lblDetail_->setFont(platform::ui::Font::system(13 * Util::iPad()));
    lblDetail_->setTextColor(platform::ui::Color::white());
    lblDetail_->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(lblDetail_);
}

void GameTableView::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    if (lblTitle_) lblTitle_->setText(text(titleKey_.c_str()));
}

void GameTableView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const std::vector<std::shared_ptr<Player>>& players) {
    roomId_ = roomId;
    boardId_ = boardId;
    ownerId_ = ownerId;
    money_ = money;
    players_.clear();
    for (const auto& player : players) {
        if (player) players_.push_back(player);
    }
}

std::shared_ptr<Player> GameTableView::playerWithId(int32_t userId) const {
    auto it = std::find_if(players_.begin(), players_.end(), [&](const auto& p) { return p->IDDB() == userId; });
    return it == players_.end() ? nullptr : *it;
}

void GameTableView::onRequestDetail(const platform::Value& details) {
    // name, money, avatar, exp, wins, losses, draws, give-ups
    if (!details.isArray() || details.arrayValue().size() < 2) {
        platform::log("table: player detail without name and money dropped");
        return;
    }
    lastDetailText_ =
        details.at(0).stringValue() + ": " + Util::formatNumber(details.at(1).int64Value()) + " " + text("KAVO_zel");
    if (lblDetail_) lblDetail_->setText(lastDetailText_);
}

void GameTableView::onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) {
    auto name = [this](int32_t id) {
        auto player = playerWithId(id);
        return player ? player->name() : std::to_string(id);
    };
    lastGiftText_ =
        name(fromUser) + " -> " + (toUser == -1 ? text("KAVO_tangAll") : name(toUser)) + " #" + std::to_string(itemId);
    platform::log("table: gift " + lastGiftText_);
}

void GameTableView::keepGift(Player& receiver, platform::ui::ImagePtr picture, std::string giver) {
    receiver.setGift(std::move(picture));
    receiver.setGiftGiver(std::move(giver));
}

void GameTableView::showGiftGiver(const Player* receiver) {
    if (!receiver || receiver->IDDB() == -1 || receiver->giftGiver().empty()) return;
    UIController::showNotice(receiver->giftGiver() + " " + text("KAVO_whoGift"));
}

void GameTableView::updateMoneyWithUserId(int32_t userId, int64_t money) {
    auto player = playerWithId(userId);
    if (!player) return;
    player->setMoney(money);
    showMoneyAtSeat(*player);
}

bool GameTableView::addHandAmount(int32_t userId, int64_t amount) {
    const auto me = UIController::myInfo();
    if (me && me->IDDB() == userId) me->addMoney(amount);
    auto player = playerWithId(userId);
    if (!player) return false;
    if (player != me) player->addMoney(amount);
    showHandAmount(player, amount);
    return true;
}

void GameTableView::sendStake(int32_t amount) {
    GlobalService::getInstance().setMoneyWithRoomId(roomId(), boardId(), amount);
}

void GameTableView::doLeaveBoard() {
    if (isPlaying_) {
        UIController::startCancelOkDlg(text("KAVO_doYouWantExit"), text("KAVO_no"), text("KAVO_yes"),
                                       {UIController::kActionLeaveBoard});
        return;
    }
    progressLeaveBoard();
}

bool GameTableView::leavingAsks(bool holdsCards, bool ready) const {
    const auto me = UIController::myInfo();
    const bool owner = me && me->IDDB() == ownerId_;
    return (holdsCards && !isGameEnd_) || (ready && !owner);
}

void GameTableView::progressLeaveBoard() {
    stopUpdateAction();
    GlobalService::getInstance().leaveBoardWithRoomId(roomId_, boardId_);
    auto* nav = navigationController();
    if (nav && nav->topViewController().get() == this) nav->popViewController(true);
}

const GameRecord& GameTableView::record() const {
    return gameRecordOrNone(gameType_);
}

bool GameTableView::leaveAfterQuestion() {
    GlobalService::getInstance().leaveBoardWithRoomId(roomId_, boardId_);
    return true;
}

void GameTableView::startUpdateAction(double interval) {
    stopUpdateAction();
    std::weak_ptr<ViewController> weak = weak_from_this();
    updateTimer_ = platform::Timer::scheduled(interval, true, [weak] {
        if (auto self = std::dynamic_pointer_cast<GameTableView>(weak.lock())) self->updateAction();
    });
}

void GameTableView::stopUpdateAction() {
    if (updateTimer_) updateTimer_->invalidate();
    updateTimer_.reset();
}

} // namespace kavo
