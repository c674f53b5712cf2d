#include "account/LottoView.h"
#include "account/PendingReceipts.h"
#include "account/ProfileSubView.h"
#include "account/ProfileView.h"
#include "account/Profile_AssetsView.h"
#include "account/Profile_TransactionView.h"
#include "account/ShopView.h"
#include "account/TopupActions.h"
#include "account/TopupZelByCardView.h"
#include "account/TopupZelView.h"
#include "account/WaitingGifts.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/TopupPanelLookup.h"
#include "app/UIController.h"
#include "app/URLParser.h"
#include "app/Util.h"
#include "lobby/BoardView.h"
#include "lobby/GameView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/HttpClient.h"
#include "platform/foundation/TextFormat.h"
#include "platform/foundation/Url.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "portal/IGiftListListener.h"
#include "social/FriendSearch.h"
#include "social/LeaderboardView.h"
#include "social/MessageView.h"
#include "table/base/GameTableView.h"
#include "table/sheets/InviteView.h"

// The account side of the logic handler: friends, rankings, profile, money, shop,
// gifts, top-up and lottery. Each on-operation runs on the connection's reader
// thread and only hands its parsed values to its main-thread twin (or drops them);
// the twin changes the records (the player's money, the picture cache, the report
// categories) and what a screen shows, lists included, looking at the top screen
// first and dropping the reply when it is not for that screen.

namespace kavo {

namespace {

// The table on top when it takes invitations and player details.
std::shared_ptr<GameTableView> inviteTableOnTop() {
    auto table = topScreenAs<GameTableView>();
    if (!table || !table->record().takesInvitations) return nullptr;
    return table;
}

// A panel is showing when its view lies in the top screen's view (the screen
// base adds the shop's view over itself), or when it is the top screen.
bool isShowingOnTop(platform::ui::ViewController& panel) {
    auto top = topScreen();
    if (!top) return false;
    if (top.get() == &panel) return true;
    return panel.isViewLoaded() && top->isViewLoaded() && panel.view()->isDescendantOf(top->view().get());
}

bool isShopOnTop() {
    return isShowingOnTop(*ShopView::getInstance());
}

// The profile panel that the top screen has slid in, if any.
std::shared_ptr<ProfileSubView> profilePanelOnTop() {
    auto screen = topScreenAs<KavoViewController>();
    return screen ? screen->profileSubView() : nullptr;
}

// The store answer's pieces are URL queries; they are read as the query of an
// address of our own.
constexpr const char* kStoreAnswerBase = "http://localhost/store?";
// Products of the store are top-up channels of this type.
constexpr int8_t kStoreChannel = 5;
// The purchase answer's statuses that mean the money arrived.
bool purchaseSucceeded(int status) {
    return status == 1 || status == 2;
}

} // namespace

// ================================================================ friends

void GlobalLogicHandler::onAddFriendWithResult(int result) {
    platform::runOnMainThread([this, result] { onGameControllerAddFriendResult(result); });
}

void GlobalLogicHandler::onGameControllerAddFriendResult(int result) {
    KAVO_ASSERT_MAIN_THREAD();
    FriendSearch::showResult(result, UIController::kActionNone);
}

void GlobalLogicHandler::onDelFriendResult(int /*result*/) {}

void GlobalLogicHandler::onSearchResult(PlayerList players) {
    platform::runOnMainThread([this, players = std::move(players)] {
        // The screen that started the search stored the name it looks for, on this thread.
        const std::string wanted = platform::UserDefaults::standard().stringForKey("REQUEST_ADD_FRIEND");
        for (const auto& player : players) {
            if (player->name() == wanted) {
                GlobalService::getInstance().addFriendWithId(player->IDDB(), player->name(), 15);
                return;
            }
        }
        showAlertViewWithMessage(text("KAVO_notFoundNick"));
    });
}

void GlobalLogicHandler::onShowResultFriendRequest(const std::string& message) {
    showAlertViewWithMessage(message);
}

void GlobalLogicHandler::onShowResultFriendInvite(const std::string& message) {
    showAlertViewWithMessage(message);
}

void GlobalLogicHandler::onShowResultSendingMessageToStranger(int /*code*/, const std::string& message) {
    showAlertViewWithMessage(message);
}

void GlobalLogicHandler::onGetInviteList(PlayerList /*players*/) {}
void GlobalLogicHandler::onGetRequestMakeFriendList(PlayerList /*players*/) {}
void GlobalLogicHandler::onGetHistoryLogList(std::vector<std::shared_ptr<HistoryLog>> /*logs*/) {}
void GlobalLogicHandler::onShowDeleteHistoryResult(int8_t /*result*/) {}

void GlobalLogicHandler::onShowFriendsSortedByMoney(PlayerList players) {
    platform::runOnMainThread([this, players = std::move(players)] { doShowFriendsSortedByMoney(players); });
}

void GlobalLogicHandler::doShowFriendsSortedByMoney(const PlayerList& players) {
    KAVO_ASSERT_MAIN_THREAD();
    auto leaderboard = topScreenAs<LeaderboardView>();
    if (!leaderboard) return;
    leaderboard->set_listTopRichestsBetweenFriend(players);
    leaderboard->forceReloadDataDanhSach();
}

void GlobalLogicHandler::onShowFriendsSortedByExp(PlayerList players) {
    platform::runOnMainThread([this, players = std::move(players)] { doShowFriendsSortedByExp(players); });
}

void GlobalLogicHandler::doShowFriendsSortedByExp(const PlayerList& players) {
    KAVO_ASSERT_MAIN_THREAD();
    auto leaderboard = topScreenAs<LeaderboardView>();
    if (!leaderboard) return;
    leaderboard->set_listTopPlayersBetweenFriends(players);
    leaderboard->forceReloadDataDanhSach();
}

void GlobalLogicHandler::doBuyGiftForFriendComplete(const std::string& message) {
    platform::runOnMainThread([this, message] { buyGiftForFriendComplete(message); });
}

void GlobalLogicHandler::buyGiftForFriendComplete(const std::string& message) {
    KAVO_ASSERT_MAIN_THREAD();
    // Each answer pays for the oldest gift still waiting, not for the panel opened last.
    if (const auto price = WaitingGifts::takeGiven()) {
        UIController::myInfo()->addMoney(-int64_t(*price));
        updateMyMoney();
    } else {
        platform::log("gift answer without a gift waiting for it; the money stays");
    }
    showAlertViewWithMessage(message);
}

void GlobalLogicHandler::onFriendList(PlayerList friends) {
    platform::runOnMainThread([this, friends = std::move(friends)] { showFriendList(friends); });
}

void GlobalLogicHandler::showFriendList(const PlayerList& friends) {
    KAVO_ASSERT_MAIN_THREAD();
    Resources::getInstance().setListMyFriends(friends);
    const auto& mailbox = MessageView::getInstance();
    if (mailbox && mailbox->messageViewLoaded()) {
        mailbox->set_listAllFriends(friends);
        mailbox->forceReloadFriendList();
    }
    // A mailbox pushed from a table or a notice asked for the list too.
    if (auto pushed = topScreenAs<MessageView>(); pushed && pushed != mailbox && pushed->messageViewLoaded()) {
        pushed->set_listAllFriends(friends);
        pushed->forceReloadFriendList();
    }
    if (auto table = inviteTableOnTop()) {
        const auto& invite = table->inviteView();
        if (!invite) return;
        invite->resetListPlayer();
        if (table->record().invitesFriends) {
            for (const auto& player : friends)
                if (player->isReady()) invite->listPlayers().push_back(player);
        }
        invite->forceReloadTableView();
        if (table->record().friendListEndsCount) invite->stopCountTimer();
        return;
    }
    if (auto grid = topScreenAs<GameView>()) {
        grid->set_arrayAllFriends(friends);
        grid->forceReloadData();
    }
}

void GlobalLogicHandler::onWaitingList(PlayerList players) {
    platform::runOnMainThread([this, players = std::move(players)] { showWaitingList(players); });
}

void GlobalLogicHandler::showWaitingList(const PlayerList& players) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto table = inviteTableOnTop()) {
        if (const auto& invite = table->inviteView()) {
            invite->setListPlayers(players);
            invite->forceReloadTableView();
        }
    } else if (auto boards = topScreenAs<BoardView>()) {
        boards->reloadBoardList();
    }
}

void GlobalLogicHandler::onPlayerDetail(platform::Value detail) {
    platform::runOnMainThread([this, detail = std::move(detail)] { onViewPlayerDetail(detail); });
}

void GlobalLogicHandler::onViewPlayerDetail(const platform::Value& detail) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto table = inviteTableOnTop()) table->onRequestDetail(detail);
}

// ================================================================ rankings

void GlobalLogicHandler::onRichestListWithPage(int8_t /*page*/, PlayerList players) {
    platform::runOnMainThread([this, players = std::move(players)] { onRichestList(players); });
}

void GlobalLogicHandler::onRichestList(const PlayerList& players) {
    KAVO_ASSERT_MAIN_THREAD();
    auto leaderboard = topScreenAs<LeaderboardView>();
    if (!leaderboard) return;
    auto& list = leaderboard->listTopRichests();
    list.insert(list.end(), players.begin(), players.end());
    leaderboard->forceReloadDataDanhSach();
}

void GlobalLogicHandler::onStrongestListWithPage(int8_t /*page*/, int8_t gameId, PlayerList players) {
    platform::runOnMainThread(
        [this, gameId, players = std::move(players)] { updateTopListOnProfileView(gameId, players); });
}

void GlobalLogicHandler::updateTopListOnProfileView(int8_t gameId, const PlayerList& players) {
    KAVO_ASSERT_MAIN_THREAD();
    auto leaderboard = topScreenAs<LeaderboardView>();
    if (!leaderboard) return;
    // A game without a list appends nothing, but the board still reloads.
    if (auto* list = leaderboard->listTopForGame(gameId)) list->insert(list->end(), players.begin(), players.end());
    leaderboard->forceReloadDataDanhSach();
}

void GlobalLogicHandler::onGetTopLit(std::vector<std::shared_ptr<Ranking>> /*rankings*/) {}

// ================================================================ profile

void GlobalLogicHandler::onMyUserDataWithUser(std::shared_ptr<User> user) {
    platform::runOnMainThread([this, user = std::move(user)] { onViewMyUserDataWithUser(user); });
}

void GlobalLogicHandler::onViewMyUserDataWithUser(const std::shared_ptr<User>& user) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto profile = topScreenAs<ProfileView>()) {
        profile->onMyUserDataWithUser(user);
    } else if (auto panel = profilePanelOnTop()) {
        panel->onOtherUserDataWithUser(user);
    }
}

void GlobalLogicHandler::onMyAchievement(std::vector<int32_t> achievement) {
    platform::runOnMainThread([this, achievement = std::move(achievement)] { onViewMyAchievement(achievement); });
}

void GlobalLogicHandler::onViewMyAchievement(const std::vector<int32_t>& achievement) {
    KAVO_ASSERT_MAIN_THREAD();
    if (achievement.empty()) return;
    const int gameType = achievement.front();
    if (auto profile = topScreenAs<ProfileView>()) {
        profile->onMyAchievementWithGameId(gameType, achievement);
    } else if (auto panel = profilePanelOnTop()) {
        panel->onOtherAchievementWithGameId(UIController::myInfo()->IDDB(), gameType, achievement);
    }
}

void GlobalLogicHandler::onMyAssets(AssetList /*assets*/) {}
void GlobalLogicHandler::onOtherUserAchivement(int32_t userId, std::vector<int32_t> achievement) {
    platform::runOnMainThread([userId, achievement = std::move(achievement)] {
        if (achievement.empty()) return;
        if (auto panel = profilePanelOnTop())
            panel->onOtherAchievementWithGameId(userId, achievement.front(), achievement);
    });
}

void GlobalLogicHandler::onSetMyUserData() {
    platform::runOnMainThread([this] {
        // A plain profile edit carried no password: nothing to remember, nothing to say.
        auto& defaults = platform::UserDefaults::standard();
        const std::string newPass = defaults.stringForKey("KAVO_LOGIN_NEWPASS");
        if (newPass.empty()) return;
        defaults.setString(newPass, "KAVO_LOGIN_OLDPASS");
        defaults.removeObjectForKey("KAVO_LOGIN_NEWPASS");
        defaults.synchronize();
        showAlertViewWithMessage(text("KAVO_changePassSuccess"));
    });
}

void GlobalLogicHandler::onChangePass(bool ok) {
    platform::runOnMainThread([ok] {
        const auto newPass = GlobalService::getInstance().takePendingNewPassword();
        auto& defaults = platform::UserDefaults::standard();
        // The log-in form must not offer a password that no longer works.
        if (!ok || !newPass || !defaults.boolForKey("savednextLogin")) return;
        defaults.setString(*newPass, "password");
        defaults.setString(*newPass, "KAVO_LOGIN_OLDPASS");
        defaults.synchronize();
    });
    showAlertViewWithMessage(text(ok ? "KAVO_changePassSuccess" : "KAVO_changePassUnSuccess"));
}

void GlobalLogicHandler::onChangeAvatarSuccess() {
    showAlertViewWithMessage(text("KAVO_Change_Avatar_Success"));
}

void GlobalLogicHandler::onShowMyAvatars(AvatarList avatars) {
    platform::runOnMainThread([this, avatars = std::move(avatars)] { showMyAvatars(avatars); });
}

void GlobalLogicHandler::showMyAvatars(const AvatarList& avatars) {
    KAVO_ASSERT_MAIN_THREAD();
    auto profile = topScreenAs<ProfileView>();
    if (!profile || !profile->assetsView()) return;
    profile->assetsView()->set_listBoughtAvatars(avatars);
    profile->assetsView()->forceReloadTableView();
}

void GlobalLogicHandler::onProvinceList(std::vector<std::shared_ptr<Province>> provinces) {
    platform::runOnMainThread([provinces = std::move(provinces)] { Province::setList(provinces); });
}

void GlobalLogicHandler::onProvinceOfProfile(int8_t provinceId, const std::string& name) {
    if (uint8_t(provinceId) == 0xFF) return;
    platform::runOnMainThread([provinceId, name] {
        if (Province::getProviceNameWithId(provinceId) == std::to_string(int(provinceId)))
            Province::addIfUnknown(provinceId, name);
    });
}

void GlobalLogicHandler::onReceiveReportCategory(std::vector<std::string> categories) {
    platform::runOnMainThread([categories = std::move(categories)]() mutable {
        Resources::getInstance().setListReportCategory(std::move(categories));
    });
}

void GlobalLogicHandler::onShowTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> logs) {
    platform::runOnMainThread([this, logs = std::move(logs)] { doShowTransactionLog(logs); });
}

void GlobalLogicHandler::doShowTransactionLog(const std::vector<std::shared_ptr<TransactionLog>>& logs) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto profile = topScreenAs<ProfileView>()) {
        if (!profile->transactionView()) return;
        profile->transactionView()->setTransactionList(logs);
        profile->transactionView()->forceReloadData();
        return;
    }
    const auto& shop = ShopView::getInstance();
    shop->set_listTransactionLogs(logs);
    shop->forceReloadDataInShopView();
}

// ================================================================ pictures

// The picture cache is read by the screens: pictures are stored on the main thread.
void GlobalLogicHandler::onAvatar(std::shared_ptr<Avatar> avatar) {
    if (!avatar) return;
    platform::runOnMainThread(
        [avatar] { Resources::getInstance().setAvatarWithImage(avatar->img(), avatar->avatarId()); });
}

void GlobalLogicHandler::onItemImageWithItemId(int32_t itemId, platform::Bytes image) {
    platform::runOnMainThread(
        [itemId, image = std::move(image)] { Resources::getInstance().setAssetWithImage(image, itemId); });
}

void GlobalLogicHandler::onItemImageWithId(int32_t itemId, platform::Bytes image) {
    platform::runOnMainThread(
        [itemId, image = std::move(image)] { Resources::getInstance().setItemWithImage(image, itemId); });
}

// ================================================================ money

void GlobalLogicHandler::onTransferMoneyWithNewMoney(int64_t newMoney, const std::string& info) {
    platform::runOnMainThread([this, newMoney, info] {
        UIController::myInfo()->setMoney(newMoney);
        if (info.empty()) {
            updateMyMoney();
            return;
        }
        onTransferMoneyWithInfo(info);
    });
}

void GlobalLogicHandler::onTransferMoneyWithInfo(const std::string& info) {
    KAVO_ASSERT_MAIN_THREAD();
    updateMyMoney();
    showAlertViewWithMessage(info);
}

void GlobalLogicHandler::onUpdateMyMoney(int64_t /*money*/) {}

// The grid and the own profile set the money when they appear; one left up, or under a
// panel (the shop, the top-up panel, the lottery), shows a change at once as well. At a
// table the player's seat record takes it: the table's own results add to that record
// (and to `myInfo` alike), so a seat left behind would show the old amount again at the
// next deal and count the next result from it.
void GlobalLogicHandler::updateMyMoney() {
    KAVO_ASSERT_MAIN_THREAD();
    const auto me = UIController::myInfo();
    if (auto table = topScreenAs<GameTableView>()) table->updateMoneyWithUserId(me->IDDB(), me->money());
    if (auto grid = topScreenAs<GameView>()) grid->showMyMoney();
    if (auto profile = topScreenAs<ProfileView>()) profile->showMyMoney();
}

// ================================================================ shop, items and gifts

void GlobalLogicHandler::onAvatarList(AvatarList avatars, int32_t /*pages*/, int32_t /*type*/) {
    platform::runOnMainThread([this, avatars = std::move(avatars)] { showAvatarList(avatars); });
}

void GlobalLogicHandler::showAvatarList(const AvatarList& avatars) {
    KAVO_ASSERT_MAIN_THREAD();
    if (isShopOnTop()) ShopView::getInstance()->set_listAvatars(avatars);
}

void GlobalLogicHandler::onItemsList(ItemInfoList items, int32_t /*categoryId*/, int8_t /*gender*/, int32_t /*pages*/) {
    platform::runOnMainThread([this, items = std::move(items)] { showItemsList(items); });
}

void GlobalLogicHandler::showItemsList(const ItemInfoList& items) {
    KAVO_ASSERT_MAIN_THREAD();
    if (isShopOnTop()) ShopView::getInstance()->set_listItems(items);
}

void GlobalLogicHandler::onGetAllItem(ItemInfoList items, int32_t /*totalPage*/) {
    platform::runOnMainThread([this, items = std::move(items)] { onShowAllItemsWithList(items); });
}

void GlobalLogicHandler::onShowAllItemsWithList(const ItemInfoList& items) {
    KAVO_ASSERT_MAIN_THREAD();
    ShopView::getInstance()->forceReloadDataWithListItemInfo(items);
}

void GlobalLogicHandler::onGetAllAvatarsList(AvatarList avatars, int32_t /*totalPage*/) {
    // Avatars go to the shop's avatar list, never into its item list: an item row has an
    // id, a description and a bought flag that an avatar row lacks, so the item list
    // would show them wrong.
    platform::runOnMainThread([this, avatars = std::move(avatars)] { onShowAllAvatarsList(avatars); });
}

void GlobalLogicHandler::onShowAllAvatarsList(const AvatarList& avatars) {
    KAVO_ASSERT_MAIN_THREAD();
    ShopView::getInstance()->forceReloadDataWithListAvatar(avatars);
}

void GlobalLogicHandler::onBuyAvatarSuccessWithId(int32_t /*avatarId*/) {
    platform::runOnMainThread([this] { buyAvatarSuccess(); });
}

void GlobalLogicHandler::buyAvatarSuccess() {
    KAVO_ASSERT_MAIN_THREAD();
    // Only the shop knows what the avatar cost: bought elsewhere, nothing changes. A bought
    // avatar is owned, not worn: the server keeps the one he wears until he chooses this
    // one in his profile, which tells it (1008).
    if (isShopOnTop()) {
        const ShopEntry& item = ShopView::getInstance()->selectedItem();
        if (!item.empty()) UIController::myInfo()->addMoney(-int64_t(item.price()));
        updateMyMoney();
    }
    showAlertViewWithMessage(text("KAVO_buyAvatarOK"));
}

void GlobalLogicHandler::onBuyAvatarSuccessWithPayment(int32_t price) {
    platform::runOnMainThread([this, price] {
        UIController::myInfo()->addMoney(-int64_t(price));
        updateMyMoney();
    });
    showAlertViewWithMessage(text("KAVO_buyItemOK"));
}

// A refusal is a notice like any other: its one button says OK, not cancel (there is
// nothing left to cancel).
void GlobalLogicHandler::onBuyAvatarFail(const std::string& reason) {
    showAlertViewWithMessage(reason);
}

void GlobalLogicHandler::onDeleteItemFail(const std::string& reason) {
    showAlertViewWithMessage(reason);
}

void GlobalLogicHandler::onUpdateDeleteItem(int32_t /*itemId*/) {}
void GlobalLogicHandler::onUpdateSetUsing() {}
void GlobalLogicHandler::onUserAvatarDetail(std::shared_ptr<UserAvatarDetail> /*detail*/) {}
void GlobalLogicHandler::onListUsingAvatar(std::vector<std::shared_ptr<UsingAvatar>> /*avatars*/) {}

void GlobalLogicHandler::onUserItemsOfCategoryInfo(std::shared_ptr<UserItemsOfCategory> items) {
    platform::runOnMainThread([this, items = std::move(items)] { showUserItemsOfCategory(items); });
}

void GlobalLogicHandler::showUserItemsOfCategory(const std::shared_ptr<UserItemsOfCategory>& items) {
    KAVO_ASSERT_MAIN_THREAD();
    auto profile = topScreenAs<ProfileView>();
    if (!profile || !profile->assetsView() || !items) return;
    profile->assetsView()->set_listBoughtItems(items->userItemsList());
    profile->assetsView()->forceReloadTableView();
}

void GlobalLogicHandler::onGetListItemsEvent(AssetList items) {
    platform::runOnMainThread([this, items = std::move(items)] { getListItemsEvent(items); });
}

void GlobalLogicHandler::getListItemsEvent(const AssetList& items) {
    KAVO_ASSERT_MAIN_THREAD();
    auto profile = topScreenAs<ProfileView>();
    if (!profile || !profile->assetsView()) return;
    profile->assetsView()->set_listEventItems(items);
    profile->assetsView()->forceReloadTableView();
}

void GlobalLogicHandler::onListGift(std::vector<std::shared_ptr<CategoryShopInfo>> categories) {
    platform::runOnMainThread([this, categories = std::move(categories)] { showListGift(categories); });
}

void GlobalLogicHandler::showListGift(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto screen = topScreenAs<IGiftListListener>()) screen->onShowListGift(categories);
}

void GlobalLogicHandler::onItemsOfGiftInfo(std::shared_ptr<ItemsOfCategory> items) {
    platform::runOnMainThread([this, items = std::move(items)] { showItemsOfGift(items); });
}

void GlobalLogicHandler::showItemsOfGift(const std::shared_ptr<ItemsOfCategory>& items) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto screen = topScreenAs<IGiftListListener>()) screen->onShowItemsWithGift(items);
}

void GlobalLogicHandler::onOpenGift(int8_t returnCode, const std::string& message, int32_t money) {
    platform::runOnMainThread([this, returnCode, message, money] { openGift(returnCode, message, money); });
}

void GlobalLogicHandler::openGift(int8_t returnCode, const std::string& message, int32_t money) {
    KAVO_ASSERT_MAIN_THREAD();
    showAlertViewWithMessage(message);
    if (returnCode != 0) return;
    UIController::myInfo()->addMoney(money);
    updateMyMoney();
}

void GlobalLogicHandler::onGiveGiftWithItem(int32_t itemId, int32_t fromUser, int32_t toUser) {
    platform::runOnMainThread([this, itemId, fromUser, toUser] { giveGift(itemId, fromUser, toUser); });
}

void GlobalLogicHandler::giveGift(int32_t itemId, int32_t fromUser, int32_t toUser) {
    KAVO_ASSERT_MAIN_THREAD();
    // The table draws the item's picture, so the gift waits for it (asked from the
    // server once); a picture that never comes lets the gift show without it.
    auto show = [itemId, fromUser, toUser] {
        if (auto table = topScreenAs<GameTableView>()) table->onShowGift(itemId, fromUser, toUser);
    };
    if (Resources::getInstance().getItemImageWithKey(itemId)) {
        show();
        return;
    }
    // Two timers: one looks for the picture, the other ends the wait. Whichever
    // comes first shows the gift and stops both.
    struct Wait {
        std::weak_ptr<platform::Timer> look;
        std::weak_ptr<platform::Timer> deadline;
        void stop() const {
            if (auto timer = look.lock()) timer->invalidate();
            if (auto timer = deadline.lock()) timer->invalidate();
        }
    };
    auto wait = std::make_shared<Wait>();
    wait->look = platform::Timer::scheduled(kGiftPictureLook, true, [wait, itemId, show] {
        if (!Resources::getInstance().getExistedImageWithKey(itemId)) return;
        wait->stop();
        show();
    });
    wait->deadline = platform::Timer::scheduled(kGiftPictureWait, false, [wait, itemId, show] {
        platform::log("gift " + std::to_string(itemId) + " shown without its picture");
        wait->stop();
        show();
    });
}

// ================================================================ top-up and in-app purchase

void GlobalLogicHandler::onMoneyInfo(ChargeMoneyList channels) {
    platform::runOnMainThread([this, channels = std::move(channels)] { showListMoney(channels); });
}

void GlobalLogicHandler::showListMoney(const ChargeMoneyList& channels) {
    KAVO_ASSERT_MAIN_THREAD();
    // The reply is the whole list: it replaces the shop's rows rather than adding to them.
    const auto& shop = ShopView::getInstance();
    shop->setChannels(channels);
    shop->forceReloadDataInShopView();
    if (auto panel = topupPanelOnTop()) {
        panel->set_listMoney(channels);
        panel->forceReloadData();
    }
}

void GlobalLogicHandler::onPurchaseInfo(platform::Value info) {
    platform::runOnMainThread([this, info = std::move(info)] { showAlertInAppPurchase(info); });
}

void GlobalLogicHandler::showAlertInAppPurchase(const platform::Value& info) {
    KAVO_ASSERT_MAIN_THREAD();
    // Answered whatever is open: a receipt confirmed while no panel shows must still
    // leave the pending list, and several answers in a row each clear their own.
    auto panel = topupPanelOnTop();
    const std::string receipt = info["receiptString"].stringValue();
    if (panel) panel->setReceiptStringFromServer(receipt);
    const std::string message = info["message"].stringValue();
    const bool sentAgain = TopupActions::takeAnswerToReceiptSentAgain(receipt);
    if (purchaseSucceeded(info["status"].intValue())) {
        // An answer without a balance leaves the money as it is.
        if (info.contains("money")) UIController::myInfo()->setMoney(info["money"].int64Value());
        PendingReceipts::removeConfirmed(PendingReceipts::currentUser(), receipt);
        TopupZelByCardView::topUpAccepted();
        updateMyMoney();
        UIController::startOKDlg(message, {UIController::kActionPurchaseConfirmed});
    } else if (!sentAgain) {
        UIController::showNotice(message);
    }
    if (panel) Util::hideLoadingOnView(panel);
}

void GlobalLogicHandler::loadInApp(ChargeMoneyList list) {
    getChargeMoneyForAppStore([list = std::move(list)](std::optional<ChargeMoneyList> products) {
        const ChargeMoneyList channels = products ? putStoreProductsInFront(list, *products) : list;
        if (auto panel = topupPanelOnTop()) {
            panel->set_listMoney(channels);
            panel->forceReloadData();
        }
    });
}

ChargeMoneyList GlobalLogicHandler::putStoreProductsInFront(ChargeMoneyList list, const ChargeMoneyList& products) {
    for (const auto& product : products)
        list.insert(list.begin(), product);
    return list;
}

void GlobalLogicHandler::getChargeMoneyForAppStore(std::function<void(std::optional<ChargeMoneyList>)> completion) {
    Resources& resources = Resources::getInstance();
    fetchStoreProducts(paymentAddress(resources.configString("PaymentUrl"), UIController::myInfo()->name(),
                                      GlobalService::PROVIDER(), resources.currentLanguage()),
                       platform::Bundle::main().objectForInfoKey("CFBundleIdentifier").stringValue(),
                       std::move(completion));
}

void GlobalLogicHandler::fetchStoreProducts(const std::string& address, const std::string& bundleIdentifier,
                                            std::function<void(std::optional<ChargeMoneyList>)> completion) {
    platform::HttpRequest request = platform::HttpRequest::get(address);
    request.totalTimeout = kStoreFetchTimeout;
    platform::HttpClient::performAsync(std::move(request), [completion = std::move(completion),
                                                            bundleIdentifier](const platform::HttpResponse& response) {
        if (!response.ok()) {
            platform::log("store products: no answer (" + std::to_string(response.status) + " " + response.error + ")");
            completion(std::nullopt);
            return;
        }
        completion(storeProductsFromAnswer(response.body, bundleIdentifier));
    });
}

std::string GlobalLogicHandler::paymentAddress(const std::string& pattern, const std::string& name, int provider,
                                               const std::string& language) {
    // The pattern is configuration text: it only ever has values put into it, never
    // handed to printf, and each value is encoded so it cannot change the address.
    return platform::formatText(pattern, {platform::percentEncode(name), provider, platform::percentEncode(language)});
}

ChargeMoneyList GlobalLogicHandler::storeProductsFromAnswer(const std::string& answer,
                                                            const std::string& bundleIdentifier) {
    ChargeMoneyList products;
    size_t start = 0;
    while (start <= answer.size()) {
        const size_t end = std::min(answer.find(';', start), answer.size());
        const std::string piece = answer.substr(start, end - start);
        start = end + 1;
        if (piece.empty()) continue;
        URLParser query(std::string(kStoreAnswerBase) + piece);
        const auto id = query.valueForVariable("id");
        if (!id) {
            platform::log("store products: no id in \"" + piece + "\"");
            continue;
        }
        auto product = std::make_shared<ChargeMoneyInfo>(kStoreChannel);
        product->setSmsContent(bundleIdentifier + "." + *id);
        product->setInfo(query.valueForVariable("messenge").value_or(""));
        products.push_back(std::move(product));
    }
    return products;
}

// ================================================================ lottery

void GlobalLogicHandler::onGetTimeNextRound(int32_t seconds) {
    platform::runOnMainThread([this, seconds] { getTimeNextRound(seconds); });
}

void GlobalLogicHandler::getTimeNextRound(int32_t seconds) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto lotto = topScreenAs<LottoView>()) {
        lotto->showTimer(seconds);
    } else if (auto screen = topScreenAs<KavoViewController>()) {
        screen->showRemainTimer(seconds);
    }
}

void GlobalLogicHandler::onGetLottoHistory(platform::Value history) {
    platform::runOnMainThread([this, history = std::move(history)] { getLottoHistory(history); });
}

void GlobalLogicHandler::getLottoHistory(const platform::Value& history) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto lotto = topScreenAs<LottoView>()) {
        lotto->showLottoHistory(history);
    } else if (auto screen = topScreenAs<KavoViewController>()) {
        screen->reloadDataLottoHistory(history);
    }
}

void GlobalLogicHandler::onGetMyLottoHistory(std::vector<std::shared_ptr<MyLotto>> numbers) {
    platform::runOnMainThread([this, numbers = std::move(numbers)] { getMyLottoHistory(numbers); });
}

void GlobalLogicHandler::getMyLottoHistory(const std::vector<std::shared_ptr<MyLotto>>& numbers) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto lotto = topScreenAs<LottoView>()) lotto->showBoughtNumbers(numbers);
    // The lottery board opens over the panel of the screen it was opened from, which stays
    // up under it: that panel lists a ticket bought on the board as well.
    auto navigation = KavoOnlineAppDelegate::getInstance().navigationController();
    if (!navigation) return;
    for (const auto& screen : navigation->viewControllers())
        if (auto carrier = std::dynamic_pointer_cast<KavoViewController>(screen)) carrier->reloadDataMyHistory(numbers);
}

void GlobalLogicHandler::onGetBuyLotto(bool ok, int32_t money, const std::string& note) {
    platform::runOnMainThread([this, ok, money, note] { getBuyLotto(ok, money, note); });
}

void GlobalLogicHandler::getBuyLotto(bool ok, int32_t money, const std::string& note) {
    KAVO_ASSERT_MAIN_THREAD();
    showAlertViewWithMessage(note);
    if (!ok) return;
    if (auto lotto = topScreenAs<LottoView>()) lotto->showBoughtNumber(lotto->selectedNumber(), money);
}

void GlobalLogicHandler::onReceivedLottoResult(int32_t /*result*/, const std::string& note) {
    showAlertViewWithMessage(note);
}

// ================================================================ administrators

void GlobalLogicHandler::onAdminCommandResponseWithText(const std::string& /*text*/) {}

} // namespace kavo
