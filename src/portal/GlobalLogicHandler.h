#pragma once

#include "app/StoredMailbox.h"
#include "platform/foundation/Value.h"
#include "portal/model/AccountRecords.h"
#include "portal/model/Asset.h"
#include "portal/model/Avatar.h"
#include "portal/model/Board.h"
#include "portal/model/ChargeMoneyInfo.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/Player.h"
#include "portal/model/Province.h"
#include "portal/model/RoomInfo.h"
#include "portal/model/ShopRecords.h"
#include "portal/model/User.h"
#include "table/registry/IGameMessageHandler.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

using PlayerList = std::vector<std::shared_ptr<Player>>;
using AvatarList = std::vector<std::shared_ptr<Avatar>>;
using AssetList = std::vector<std::shared_ptr<Asset>>;
using ChargeMoneyList = std::vector<std::shared_ptr<ChargeMoneyInfo>>;

// The logic half of the portal-wide replies. The reply dispatcher parses a reply
// on the connection's reader thread and calls one on-operation here with the
// parsed values. The operation hands the values, in one closure, to a main-thread
// twin that checks which screen is on top and changes every piece of app-wide
// state that screens read (the player, the mailbox, friends, money, provinces,
// board rows, pictures). Closures run on the main thread in arrival order, so two
// replies always apply in the order they came. On the reader thread only the game
// handler slot changes (reply 61).
//
// It also keeps the registry of the game message handlers and picks the current
// one when the server confirms a game type.
//
// The on-operations are virtual so a test can watch what the dispatcher delivers.
class GlobalLogicHandler {
public:
    static GlobalLogicHandler& getInstance();
    virtual ~GlobalLogicHandler() = default;

    // --- Game handler registry (filled at start-up, read afterwards) ---
    // A copy of the registered handlers, in registration order.
    static std::vector<std::shared_ptr<IGameMessageHandler>> getGameMessageHandlers();
    // Appends the handler unless it is registered already.
    void addGameMessageHandler(std::shared_ptr<IGameMessageHandler> handler);
    // The last registered handler that accepts the type, or nullptr.
    static std::shared_ptr<IGameMessageHandler> lastGameMessageHandlerFor(int8_t gameType);

    static bool getIsTryGetIPFromWap();
    static void setIsTryGetIPFromWap(bool value);

    // --- Connection ---
    virtual void onConnectFail();
    virtual void onDisconnect();
    // Reply 220 with status 1.
    virtual void onSetClientInfoOK();
    // Tells the screen waiting for the accepted connection, once.
    virtual void onConnectOK();

    // --- Sign-in ---
    // Reply 3, with the player's stored mailbox read on this thread. Waits until the main
    // thread has taken `me` as the signed-in player, taken in that mailbox and opened the
    // game grid.
    virtual void onLoginSuccess(std::shared_ptr<Player> me, StoredMailbox mailbox);
    virtual void onLoginFailWithReason(const std::string& reason);
    virtual void onSetMoneyErrorWithError(const std::string& error);
    virtual void onVersionWithInfo(const std::string& info, const std::string& url);

    // --- Sign-in replies (registration, recovery, social-network log-in, server information) ---
    // Reply 35: the answer to a registration; a free name leads to the registration
    // text message (composer, or the syntax dialog with action code 17).
    virtual void onRegisterInfoWithUsername(const std::string& username, bool avail, const std::string& prefix,
                                            const std::string& to);
    // Reply 73: the recovery text message; only sub-id 1 is handled.
    virtual void onGetSMSSyntaxWithSubId(int8_t subId, const std::string& data, const std::string& address);
    // A one-button notice with the text message's syntax.
    void onGetSMSSyntax(const std::string& text);
    // Reply 2302: the social-network log-in was refused.
    virtual void onInvalidLoginSN();
    // Reply 2303: the server asks for an account bound to the social-network log-in.
    virtual void onCreateKavoAccount();
    // Reply 2306: the player's new name, shown 0.5 s later on the main thread.
    virtual void onUpdateUsername(const std::string& name);
    // Reply 72: a text of the server by sub-id (hotline, more games, SMS switch,
    // server list, link, top-up information).
    virtual void onGetInfoWithSubId(int subId, const std::string& info);
    // Sub-id 8: the SMS switch is on when the last "1-<version>" piece names this
    // version, off when it names another; unchanged without such a piece.
    static std::optional<bool> smsSwitchFromInfo(const std::string& info, const std::string& version);
    // Sub-id 11: keeps a new server-list text (one without a usable entry is ignored).
    static void updateServers(const std::string& list);

    // --- Lobby and game choice ---
    // Sets the game type and installs the last registered handler accepting it.
    virtual void onSetGameTypeSuccessWithGame(int8_t gameType, bool isShowRoomList);
    virtual void onRoomList(std::vector<std::shared_ptr<RoomInfo>> rooms);
    virtual void onBoardListWithRoomId(int8_t roomId, std::vector<std::shared_ptr<Board>> boards);
    // Keeps the rows as the board list's data (boardList(), maxBetValue()).
    virtual void onLoadBoardList(std::vector<std::shared_ptr<Board>> boards, int32_t maxBet);

    // --- Invitations ---
    virtual void onInvitedJoinBoardWithGameId(int8_t gameId, int8_t roomId, int8_t boardId, const std::string& password,
                                              const std::string& message, int8_t levelRoom, int32_t inviterId);

    // --- Chat, mail and presents ---
    virtual void onChatFromWithMessage(std::shared_ptr<KavoMessage> message);
    virtual void onChatOnRoomWithMessage(std::shared_ptr<KavoMessage> message);
    // Reply 1701, newest first. A batch holding mail of the latest-only type first
    // removes that type's stored mail: only the newest batch of it is kept.
    virtual void onListNewMessage(KavoMessageList messages);
    // Reply 104 sub 4, the last row first: replaces every friend request the mailbox held.
    virtual void onListFriendRequests(KavoMessageList requests);
    virtual void onPresentReceived(std::vector<std::shared_ptr<Asset>> presents);

    // --- Notices ---
    // A one-button notice with no action.
    void showAlertViewWithMessage(const std::string& text);
    // The same for a refusal (10) or a one-button notice (45 sub 0): the answer to what the
    // player waits on, so every bounded wait still up ends first (each puts back what it
    // changed). Any other text ends no wait. A gift it refuses (it names the gift's friend)
    // costs nothing. Main thread.
    void showAnswerToWaits(const std::string& text);

    // ================================================================ account side
    // Friends, rankings, profile, money, shop, gifts, top-up and lottery. Lists that a
    // screen shows are changed on the main thread only; a reply for a screen that is
    // not on top is dropped, except where a singleton (the shop, the picture cache,
    // the provinces) keeps it.

    // --- Friends ---
    // An OK notice: added (0), too many friends (2), already a friend (anything else).
    virtual void onAddFriendWithResult(int result);
    virtual void onDelFriendResult(int result);
    // Asks to befriend the first row named as the search asked ("REQUEST_ADD_FRIEND"),
    // or says nobody has that name.
    virtual void onSearchResult(PlayerList players);
    virtual void onShowResultFriendRequest(const std::string& text);
    virtual void onShowResultFriendInvite(const std::string& text);
    virtual void onShowResultSendingMessageToStranger(int code, const std::string& text);
    virtual void onGetInviteList(PlayerList players);
    virtual void onGetRequestMakeFriendList(PlayerList players);
    virtual void onGetHistoryLogList(std::vector<std::shared_ptr<HistoryLog>> logs);
    virtual void onShowDeleteHistoryResult(int8_t result);
    // The leaderboard, when on top, shows the friends by money or by experience.
    virtual void onShowFriendsSortedByMoney(PlayerList players);
    virtual void onShowFriendsSortedByExp(PlayerList players);
    // A gift bought for a friend: its price leaves the balance, then the notice.
    virtual void doBuyGiftForFriendComplete(const std::string& text);
    // The friend list: the open mailbox and the invite list of the table on top.
    virtual void onFriendList(PlayerList friends);
    // The players waiting for a table, for the invite list on top.
    virtual void onWaitingList(PlayerList players);
    // A player's details for the table on top: name, money, avatar, experience,
    // wins, losses, draws, give-ups.
    virtual void onPlayerDetail(platform::Value detail);

    // --- Rankings (appended to the leaderboard on top, never cleared here) ---
    virtual void onRichestListWithPage(int8_t page, PlayerList players);
    virtual void onStrongestListWithPage(int8_t page, int8_t gameId, PlayerList players);
    virtual void onGetTopLit(std::vector<std::shared_ptr<Ranking>> rankings);

    // --- Profile, password and avatar ---
    virtual void onMyUserDataWithUser(std::shared_ptr<User> user);
    // The first number is the game type.
    virtual void onMyAchievement(std::vector<int32_t> achievement);
    virtual void onMyAssets(AssetList assets);
    // Another player's row (40/5): only the open player panel showing that player takes it.
    virtual void onOtherUserAchivement(int32_t userId, std::vector<int32_t> achievement);
    // The new password is the one to remember; then the notice.
    virtual void onSetMyUserData();
    virtual void onChangePass(bool ok);
    virtual void onChangeAvatarSuccess();
    virtual void onShowMyAvatars(AvatarList avatars);
    virtual void onProvinceList(std::vector<std::shared_ptr<Province>> provinces);
    // Replies 1005 and 40 sub 1 name a profile's province: one the list does not know
    // yet is learned ("no province", -1, is not).
    virtual void onProvinceOfProfile(int8_t provinceId, const std::string& name);
    virtual void onReceiveReportCategory(std::vector<std::string> categories);
    virtual void onShowTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> logs);

    // --- Pictures the server sends (into the picture cache) ---
    virtual void onAvatar(std::shared_ptr<Avatar> avatar);
    virtual void onItemImageWithItemId(int32_t itemId, platform::Bytes image);
    virtual void onItemImageWithId(int32_t itemId, platform::Bytes image);

    // --- Money ---
    virtual void onTransferMoneyWithNewMoney(int64_t newMoney, const std::string& info);
    virtual void onUpdateMyMoney(int64_t money);
    // Called after the player's money (`myInfo`) changed: the table, the game grid or the
    // own profile on top shows it.
    void updateMyMoney();

    // --- Shop, items and gifts ---
    virtual void onAvatarList(AvatarList avatars, int32_t pages, int32_t type);
    virtual void onItemsList(ItemInfoList items, int32_t categoryId, int8_t gender, int32_t pages);
    virtual void onGetAllItem(ItemInfoList items, int32_t totalPage);
    virtual void onGetAllAvatarsList(AvatarList avatars, int32_t totalPage);
    virtual void onBuyAvatarSuccessWithId(int32_t avatarId);
    virtual void onBuyAvatarSuccessWithPayment(int32_t price);
    virtual void onBuyAvatarFail(const std::string& reason);
    virtual void onDeleteItemFail(const std::string& reason);
    virtual void onUpdateDeleteItem(int32_t itemId);
    virtual void onUpdateSetUsing();
    virtual void onUserAvatarDetail(std::shared_ptr<UserAvatarDetail> detail);
    virtual void onListUsingAvatar(std::vector<std::shared_ptr<UsingAvatar>> avatars);
    virtual void onUserItemsOfCategoryInfo(std::shared_ptr<UserItemsOfCategory> items);
    virtual void onGetListItemsEvent(AssetList items);
    virtual void onListGift(std::vector<std::shared_ptr<CategoryShopInfo>> categories);
    virtual void onItemsOfGiftInfo(std::shared_ptr<ItemsOfCategory> items);
    virtual void onOpenGift(int8_t returnCode, const std::string& text, int32_t money);
    // A gift given at a table: shown once the item's picture is here, or without it
    // after kGiftPictureWait seconds.
    virtual void onGiveGiftWithItem(int32_t itemId, int32_t fromUser, int32_t toUser);
    static constexpr double kGiftPictureWait = 10.0;
    static constexpr double kGiftPictureLook = 0.33;

    // --- Top-up and in-app purchase ---
    virtual void onMoneyInfo(ChargeMoneyList channels);
    // Text values under "status", "message", "receiptString", "money".
    virtual void onPurchaseInfo(platform::Value info);
    // Fetches the store's products and puts them in front of `list` (last product
    // first), then gives the list to the top-up panel of the top screen.
    void loadInApp(ChargeMoneyList list);
    // The store's products from the configured payment address, fetched off the main
    // thread with a time-out; the completion runs on the main thread with nothing
    // when no answer came.
    static void getChargeMoneyForAppStore(std::function<void(std::optional<ChargeMoneyList>)> completion);
    // The same fetch from any address.
    static void fetchStoreProducts(const std::string& address, const std::string& bundleIdentifier,
                                   std::function<void(std::optional<ChargeMoneyList>)> completion);
    static constexpr double kStoreFetchTimeout = 15.0;
    // Each product goes to the front of the list in turn, so the last product ends up first.
    static ChargeMoneyList putStoreProductsInFront(ChargeMoneyList list, const ChargeMoneyList& products);
    // The configured payment address with the player's name, the provider and the
    // language put in its placeholders ("%@", "%d"), each percent-encoded.
    static std::string paymentAddress(const std::string& pattern, const std::string& name, int provider,
                                      const std::string& language);
    // "id=..&messenge=..;id=..&messenge=.." -> products of type 5.
    static ChargeMoneyList storeProductsFromAnswer(const std::string& answer, const std::string& bundleIdentifier);

    // --- Lottery ---
    virtual void onGetTimeNextRound(int32_t seconds);
    // Flat: number, text, number, text ...
    virtual void onGetLottoHistory(platform::Value history);
    virtual void onGetMyLottoHistory(std::vector<std::shared_ptr<MyLotto>> numbers);
    virtual void onGetBuyLotto(bool ok, int32_t money, const std::string& note);
    virtual void onReceivedLottoResult(int32_t result, const std::string& note);

    // --- Administrators ---
    // The answer to an administrator's command; nothing is shown for it.
    virtual void onAdminCommandResponseWithText(const std::string& text);

    // The rows and highest stake of the last board-list reply (main thread).
    std::vector<std::shared_ptr<Board>> boardList() const;
    int32_t maxBetValue() const;

    // "http://" in front of an address that lacks it.
    static std::string normalizeUrl(const std::string& url);

protected:
    GlobalLogicHandler() = default;

private:
    // Main-thread twins. Those with only a comment are filled with the screens.
    // Closes any dialog and pushes the game grid.
    void loginSuccess();
    // Shows the refusal's reason in a one-button notice.
    void loginFailWithReason(const std::string& reason);
    // On the log-in screen: reloads the server list when it may still come from its
    // address, else hides its overlay; elsewhere: back to the root screen. Then the
    // "KAVO_connectFail" notice (text given).
    void connectFail(const std::string& text);
    // Back to the root screen (the log-in screen hides its overlay); the lost-signal
    // notice unless the client itself disconnected (empty text then).
    void disconnected(const std::string& lostSignalText);
    // What a connection leaves behind when it ends: the mailbox, waiting gift prices,
    // the shop's pages.
    void connectionEnded();
    // Fills the log-in form from the cache when the log-in screen is on top, then the notice.
    void setMoneyError(const std::string& error);
    // The register answer on the main thread.
    void showRegisterAnswer(const std::string& username, bool avail, const std::string& prefix, const std::string& to);
    // The log-in screen opens the registration bound to the social network.
    void createKavoAcccount();
    void updateUsername(const std::string& name);
    // Reply 72 sub 3: the game grid offers the other games.
    void showInfo(const std::string& text);
    // Reply 72 sub 12: the top screen's spinner goes and the address opens.
    void showLink(const std::string& url);
    // Reply 72 sub 13: the shop's usage information.
    void showInfoEventTopup(const std::string& text);
    // Asks whether to download the new version (action code 12, context the address).
    void showVersion(const std::string& info, const std::string& url);
    // No room screen is ever shown.
    void showListRoom(const std::vector<std::shared_ptr<RoomInfo>>& rooms);
    // Nothing is shown for it.
    void showListBoard(int8_t roomId, const std::vector<std::shared_ptr<Board>>& boards);
    // The board list, when on top, takes the new rows and reloads.
    void loadBoardList();
    // Unless the log-in screen or a table is on top: the invitation question
    // (action code 1, dialog kind 1, context the invitation).
    void onInvitedJoinBoard(int8_t gameId, int8_t roomId, int8_t boardId, const std::string& password,
                            const std::string& message, int8_t levelRoom, int32_t inviterId);
    // The open mailbox shows it; the board list drops it; elsewhere it goes into the
    // mailbox and the unread-mail button goes.
    void onViewControllerChatFromWithMessage(const std::shared_ptr<KavoMessage>& message);
    // Nothing is shown for it.
    void onChatOnRoom(const std::shared_ptr<KavoMessage>& message);
    // The open mailbox takes every message of the batch; an open profile chat with
    // the sender shows the newest; elsewhere the mail goes into the mailbox and the
    // unread badge reloads; an empty batch removes the button.
    void setListNewMessage(const KavoMessageList& messages);
    // The presents float over the screen.
    void showPresentReceived(const std::vector<std::shared_ptr<Asset>>& presents);

    // Main-thread twins of the account side (GlobalLogicHandlerAccount.cpp).
    void onGameControllerAddFriendResult(int result);
    void doShowFriendsSortedByMoney(const PlayerList& players);
    void doShowFriendsSortedByExp(const PlayerList& players);
    void buyGiftForFriendComplete(const std::string& text);
    void showFriendList(const PlayerList& friends);
    void showWaitingList(const PlayerList& players);
    void onViewPlayerDetail(const platform::Value& detail);
    void onRichestList(const PlayerList& players);
    void updateTopListOnProfileView(int8_t gameId, const PlayerList& players);
    void onViewMyUserDataWithUser(const std::shared_ptr<User>& user);
    void onViewMyAchievement(const std::vector<int32_t>& achievement);
    void showMyAvatars(const AvatarList& avatars);
    void doShowTransactionLog(const std::vector<std::shared_ptr<TransactionLog>>& logs);
    void onTransferMoneyWithInfo(const std::string& info);
    void showAvatarList(const AvatarList& avatars);
    void showItemsList(const ItemInfoList& items);
    void onShowAllItemsWithList(const ItemInfoList& items);
    void onShowAllAvatarsList(const AvatarList& avatars);
    void buyAvatarSuccess();
    void showUserItemsOfCategory(const std::shared_ptr<UserItemsOfCategory>& items);
    void getListItemsEvent(const AssetList& items);
    void showListGift(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories);
    void showItemsOfGift(const std::shared_ptr<ItemsOfCategory>& items);
    void openGift(int8_t returnCode, const std::string& text, int32_t money);
    void giveGift(int32_t itemId, int32_t fromUser, int32_t toUser);
    void showListMoney(const ChargeMoneyList& channels);
    void showAlertInAppPurchase(const platform::Value& info);
    void getTimeNextRound(int32_t seconds);
    void getLottoHistory(const platform::Value& history);
    void getMyLottoHistory(const std::vector<std::shared_ptr<MyLotto>>& numbers);
    void getBuyLotto(bool ok, int32_t money, const std::string& note);

    // Main thread only.
    std::vector<std::shared_ptr<Board>> boardList_;
    int32_t maxBetValue_ = 0;
};

} // namespace kavo
