#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/Province.h"
#include "tests/portal/PortalTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>
#include <tuple>

namespace kavo::test {
namespace {

// Watches what the dispatcher delivers for the account-side replies.
class AccountRecorder : public GlobalLogicHandler {
public:
    std::vector<std::string> calls;
    std::vector<int64_t> numbers; // the scalar arguments of the last call
    std::vector<std::string> texts;
    PlayerList players;
    platform::Value value;
    std::vector<int32_t> achievement;
    int32_t achievementOf = 0;
    std::shared_ptr<User> user;
    AvatarList avatars;
    ItemInfoList items;
    AssetList assets;
    ChargeMoneyList channels;
    platform::Bytes picture;
    KavoMessageList messages;
    std::vector<std::shared_ptr<HistoryLog>> history;
    std::vector<std::shared_ptr<Ranking>> rankings;
    std::vector<std::shared_ptr<Province>> provinces;
    std::vector<std::string> categories;
    std::vector<std::shared_ptr<TransactionLog>> transactions;
    std::vector<std::shared_ptr<MyLotto>> lottos;
    std::shared_ptr<UserItemsOfCategory> userItems;
    std::shared_ptr<ItemsOfCategory> giftItems;
    std::shared_ptr<UserAvatarDetail> avatarDetail;
    std::vector<std::shared_ptr<UsingAvatar>> usingAvatars;
    std::vector<std::shared_ptr<CategoryShopInfo>> shopCategories;
    std::shared_ptr<Avatar> avatar;

    void call(std::string name, std::vector<int64_t> args = {}, std::vector<std::string> strings = {}) {
        calls.push_back(std::move(name));
        numbers = std::move(args);
        texts = std::move(strings);
    }
    // Records the call and keeps what it carried.
    template <typename T> void keep(T& slot, T value, std::string name, std::vector<int64_t> args = {}) {
        call(std::move(name), std::move(args));
        slot = std::move(value);
    }

    void onAddFriendWithResult(int r) override { call("addFriend", {r}); }
    void onDelFriendResult(int r) override { call("delFriend", {r}); }
    void onSearchResult(PlayerList p) override { keep(players, std::move(p), "search"); }
    void onShowResultFriendRequest(const std::string& t) override { call("friendRequestResult", {}, {t}); }
    void onShowResultFriendInvite(const std::string& t) override { call("friendInviteResult", {}, {t}); }
    void onGetInviteList(PlayerList p) override { keep(players, std::move(p), "inviteList"); }
    void onGetRequestMakeFriendList(PlayerList p) override { keep(players, std::move(p), "askedList"); }
    void onGetHistoryLogList(std::vector<std::shared_ptr<HistoryLog>> h) override {
        keep(history, std::move(h), "history");
    }
    void onShowDeleteHistoryResult(int8_t r) override { call("historyDeleted", {r}); }
    void onShowFriendsSortedByMoney(PlayerList p) override { keep(players, std::move(p), "friendsByMoney"); }
    void onShowFriendsSortedByExp(PlayerList p) override { keep(players, std::move(p), "friendsByExp"); }
    void doBuyGiftForFriendComplete(const std::string& t) override { call("giftBought", {}, {t}); }
    void onFriendList(PlayerList p) override { keep(players, std::move(p), "friends"); }
    void onWaitingList(PlayerList p) override { keep(players, std::move(p), "waiting"); }
    void onPlayerDetail(platform::Value v) override { keep(value, std::move(v), "detail"); }
    void onListFriendRequests(KavoMessageList m) override { keep(messages, std::move(m), "friendRequests"); }

    void onRichestListWithPage(int8_t page, PlayerList p) override { keep(players, std::move(p), "richest", {page}); }
    void onStrongestListWithPage(int8_t page, int8_t game, PlayerList p) override {
        keep(players, std::move(p), "strongest", {page, game});
    }
    void onGetTopLit(std::vector<std::shared_ptr<Ranking>> r) override { keep(rankings, std::move(r), "topList"); }

    void onMyUserDataWithUser(std::shared_ptr<User> u) override { keep(user, std::move(u), "user"); }
    void onMyAchievement(std::vector<int32_t> a) override { keep(achievement, std::move(a), "achievement"); }
    void onOtherUserAchivement(int32_t userId, std::vector<int32_t> a) override {
        call("otherAchievement");
        achievementOf = userId;
        achievement = std::move(a);
    }
    void onMyAssets(AssetList a) override { keep(assets, std::move(a), "assets"); }
    void onSetMyUserData() override { call("userDataSet"); }
    void onChangePass(bool ok) override { call("changePass", {ok}); }
    void onChangeAvatarSuccess() override { call("avatarChanged"); }
    void onShowMyAvatars(AvatarList a) override { keep(avatars, std::move(a), "myAvatars"); }
    void onProvinceList(std::vector<std::shared_ptr<Province>> p) override {
        keep(provinces, std::move(p), "provinces");
    }
    void onReceiveReportCategory(std::vector<std::string> c) override {
        keep(categories, std::move(c), "reportCategories");
    }
    void onShowTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> t) override {
        keep(transactions, std::move(t), "transactions");
    }
    void onAvatar(std::shared_ptr<Avatar> a) override { keep(avatar, std::move(a), "avatarPicture"); }
    void onItemImageWithItemId(int32_t id, platform::Bytes b) override {
        keep(picture, std::move(b), "itemPicture", {id});
    }

    void onTransferMoneyWithNewMoney(int64_t money, const std::string& t) override { call("transfer", {money}, {t}); }

    void onAvatarList(AvatarList a, int32_t pages, int32_t type) override {
        keep(avatars, std::move(a), "avatarList", {pages, type});
    }
    void onItemsList(ItemInfoList i, int32_t category, int8_t gender, int32_t pages) override {
        keep(items, std::move(i), "itemsList", {category, gender, pages});
    }
    void onGetAllItem(ItemInfoList i, int32_t pages) override { keep(items, std::move(i), "allItems", {pages}); }
    void onGetAllAvatarsList(AvatarList a, int32_t pages) override {
        keep(avatars, std::move(a), "allAvatars", {pages});
    }
    void onBuyAvatarSuccessWithId(int32_t id) override { call("avatarBought", {id}); }
    void onBuyAvatarSuccessWithPayment(int32_t price) override { call("itemBought", {price}); }
    void onBuyAvatarFail(const std::string& t) override { call("buyFailed", {}, {t}); }
    void onDeleteItemFail(const std::string& t) override { call("deleteFailed", {}, {t}); }
    void onUpdateDeleteItem(int32_t id) override { call("deleted", {id}); }
    void onUpdateSetUsing() override { call("using"); }
    void onUserAvatarDetail(std::shared_ptr<UserAvatarDetail> d) override {
        keep(avatarDetail, std::move(d), "avatarDetail");
    }
    void onListUsingAvatar(std::vector<std::shared_ptr<UsingAvatar>> a) override {
        keep(usingAvatars, std::move(a), "usingAvatars");
    }
    void onUserItemsOfCategoryInfo(std::shared_ptr<UserItemsOfCategory> u) override {
        keep(userItems, std::move(u), "userItems");
    }
    void onGetListItemsEvent(AssetList a) override { keep(assets, std::move(a), "eventItems"); }
    void onListGift(std::vector<std::shared_ptr<CategoryShopInfo>> c) override {
        keep(shopCategories, std::move(c), "giftCategories");
    }
    void onItemsOfGiftInfo(std::shared_ptr<ItemsOfCategory> i) override { keep(giftItems, std::move(i), "giftItems"); }
    void onOpenGift(int8_t code, const std::string& t, int32_t money) override { call("openGift", {code, money}, {t}); }
    void onGiveGiftWithItem(int32_t item, int32_t from, int32_t to) override { call("giveGift", {item, from, to}); }

    void onMoneyInfo(ChargeMoneyList c) override { keep(channels, std::move(c), "moneyInfo"); }
    void onPurchaseInfo(platform::Value v) override { keep(value, std::move(v), "purchase"); }

    void onGetTimeNextRound(int32_t s) override { call("nextRound", {s}); }
    void onGetLottoHistory(platform::Value v) override { keep(value, std::move(v), "lottoHistory"); }
    void onGetMyLottoHistory(std::vector<std::shared_ptr<MyLotto>> l) override {
        keep(lottos, std::move(l), "myLotto");
    }
    void onGetBuyLotto(bool ok, int32_t money, const std::string& t) override { call("buyLotto", {ok, money}, {t}); }
    void onRegisterInfoWithUsername(const std::string& u, bool avail, const std::string& prefix,
                                    const std::string& to) override {
        call("register", {avail}, {u, prefix, to});
    }
    void onGetSMSSyntaxWithSubId(int8_t sub, const std::string& data, const std::string& to) override {
        call("smsSyntax", {sub}, {data, to});
    }
    void onInvalidLoginSN() override { call("invalidSN"); }
    void onCreateKavoAccount() override { call("createAccount"); }
    void onUpdateUsername(const std::string& name) override { call("username", {}, {name}); }
    void onGetInfoWithSubId(int sub, const std::string& info) override { call("info", {sub}, {info}); }
    void onAdminCommandResponseWithText(const std::string& t) override { call("admin", {}, {t}); }
    void onReceivedLottoResult(int32_t r, const std::string& t) override { call("lottoResult", {r}, {t}); }
};

using Calls = std::vector<std::string>;
using Numbers = std::vector<int64_t>;
using Texts = std::vector<std::string>;

class AccountReplies : public ::testing::Test {
protected:
    PortalEnvironment env;
    AccountRecorder logic;

    AccountReplies() {
        GlobalMessageHandler::getInstance().setGlobalLogicHandler(&logic);
        Resources::getInstance().loadLanguage();
        Province::setList({});
        Resources::getInstance().setListMyFriends({});
    }
    ~AccountReplies() override {
        PortalEnvironment::runMainThread();
        Province::setList({});
        Resources::getInstance().setListMyFriends({});
    }

    static std::string text(const char* key) { return Resources::getInstance().textWithKey(key); }
};

Bytes rankedRow(int32_t id, const std::string& name, int64_t money, int16_t avatar, int32_t exp,
                const std::string& status) {
    Bytes row;
    row.int32(id).utf(name).int64(money).int16(avatar).int32(exp).utf(status);
    return row;
}

// --------------------------------------------------------------- rankings and players

TEST_F(AccountReplies, StrongestListCarriesGameAndPageAndRankedRows) {
    Bytes body;
    body.byte(3).byte(2).raw(rankedRow(7, "an", 5000000000LL, 4, 350, "vui")).raw(rankedRow(8, "bình", 1, 0, 0, ""));
    deliver(30, body);
    ASSERT_EQ(logic.calls, Calls{"strongest"});
    EXPECT_EQ(logic.numbers, (Numbers{2, 3}));
    ASSERT_EQ(logic.players.size(), 2u);
    const Player& an = *logic.players[0];
    EXPECT_EQ(an.IDDB(), 7);
    EXPECT_EQ(an.name(), "an");
    EXPECT_EQ(an.money(), 5000000000LL);
    EXPECT_EQ(an.avatar(), 4);
    EXPECT_EQ(an.exp(), 350);
    EXPECT_EQ(an.level().lv, 3);
    EXPECT_EQ(an.userProfile()->status(), "vui");
    EXPECT_EQ(an.isReady(), 1);
    EXPECT_EQ(logic.players[1]->name(), "bình");
}

TEST_F(AccountReplies, RichestRowsEndWithThreeUnusedBytes) {
    Bytes body;
    body.byte(1).raw(rankedRow(7, "an", 10, 1, 0, "a")).raw({9, 9, 9}).raw(rankedRow(8, "bo", 20, 2, 0, "b"));
    body.raw({9, 9, 9});
    deliver(31, body);
    ASSERT_EQ(logic.calls, Calls{"richest"});
    EXPECT_EQ(logic.numbers, Numbers{1});
    ASSERT_EQ(logic.players.size(), 2u);
    EXPECT_EQ(logic.players[1]->IDDB(), 8);
    EXPECT_EQ(logic.players[1]->money(), 20);

    // A last row without its three bytes is cut short: dropped.
    deliver(31, prefix(body, body.data().size() - 1));
    EXPECT_EQ(logic.players.size(), 1u);
}

TEST_F(AccountReplies, FriendResultsAreUnsignedBytes) {
    deliver(32, {0x02});
    deliver(33, {0xFF});
    EXPECT_EQ(logic.calls, (Calls{"addFriend", "delFriend"}));
    EXPECT_EQ(logic.numbers, Numbers{255});
}

TEST_F(AccountReplies, PlayerDetailIsEightValuesAndIdMinusOneIsNobody) {
    Bytes body;
    body.int32(-1).utf("x").int64(1).int16(1).int32(1).int32(1).int32(1).int32(1).int32(1);
    deliver(34, body);
    EXPECT_TRUE(logic.calls.empty());

    Bytes detail;
    detail.int32(12).utf("an").int64(7000000000LL).int16(5).int32(120).int32(10).int32(4).int32(2).int32(1);
    deliver(34, detail);
    ASSERT_EQ(logic.calls, Calls{"detail"});
    ASSERT_EQ(logic.value.size(), 8u);
    EXPECT_EQ(logic.value.at(0).stringValue(), "an");
    EXPECT_EQ(logic.value.at(1).int64Value(), 7000000000LL);
    EXPECT_EQ(logic.value.at(2).intValue(), 5);
    EXPECT_EQ(logic.value.at(3).intValue(), 120);
    EXPECT_EQ(logic.value.at(7).intValue(), 1);
}

TEST_F(AccountReplies, SearchRowsAreIdsAndNames) {
    deliver(36, Bytes().int32(1).utf("an").int32(2).utf("An"));
    ASSERT_EQ(logic.players.size(), 2u);
    EXPECT_EQ(logic.players[1]->IDDB(), 2);
    EXPECT_EQ(logic.players[1]->name(), "An"); // not lowered: the search compares exactly
}

TEST_F(AccountReplies, RankingFamilyBySubCommand) {
    deliver(78, Bytes().byte(1).byte(3).utf("Tiến lên").byte(5).utf("Cờ tướng"));
    ASSERT_EQ(logic.rankings.size(), 2u);
    EXPECT_EQ(logic.rankings[1]->gameId(), 5);
    EXPECT_EQ(logic.rankings[1]->info(), "Cờ tướng");

    deliver(78, Bytes().byte(2).raw(rankedRow(4, "chờ", 1, 1, 1, "s")));
    EXPECT_EQ(logic.calls.back(), "waiting");
    ASSERT_EQ(logic.players.size(), 1u);
    EXPECT_EQ(logic.players[0]->userProfile()->status(), "s");

    deliver(78, Bytes().byte(3).byte(1).utf("Hà Nội").byte(-1).utf("Khác"));
    EXPECT_EQ(logic.calls.back(), "provinces");
    ASSERT_EQ(logic.provinces.size(), 2u);
    EXPECT_EQ(logic.provinces[1]->pId(), -1);

    // Subs 4 and 6 are read and not delivered; an unknown sub does nothing.
    logic.calls.clear();
    deliver(78, Bytes().byte(4).int32(1).utf("a").int32(3));
    deliver(78, Bytes().byte(6).int32(1).utf("a"));
    deliver(78, Bytes().byte(9).int32(1));
    EXPECT_TRUE(logic.calls.empty());
}

// --------------------------------------------------------------- friends

Bytes onlineFriend(int32_t id, const std::string& name, int8_t room, int8_t board, int8_t game,
                   const std::string& status) {
    Bytes row;
    row.int32(id).utf(name).int64(100).int16(3).byte(1).byte(room).byte(board).byte(game).utf(status);
    return row;
}

Bytes offlineFriend(int32_t id, const std::string& name, const std::string& status) {
    Bytes row;
    row.int32(id).utf(name).int64(50).int16(2).byte(0).utf(status);
    return row;
}

TEST_F(AccountReplies, FriendListReplacesTheAppWideListAndReadsBothRowLayouts) {
    auto stale = std::make_shared<Player>();
    stale->setIDDB(99);
    Resources::getInstance().setListMyFriends({stale});

    Bytes body;
    body.raw(onlineFriend(1, "an", 2, 7, 3, "bận"))
        .raw(onlineFriend(2, "bo", 2, 7, 77, "đang chơi"))
        .raw(offlineFriend(3, "cu", "đi vắng"));
    deliver(104, Bytes().byte(5).raw(body));
    ASSERT_EQ(logic.calls, Calls{"friends"});
    ASSERT_EQ(logic.players.size(), 3u);
    const Player& an = *logic.players[0];
    EXPECT_EQ(an.isReady(), 1);
    EXPECT_EQ(an.userProfile()->status(), Util::formatStatusOnlineWithRoomId(2, 7, 3));
    EXPECT_FALSE(an.userProfile()->status().empty());
    // A game without a name here: the friend's own text stands.
    EXPECT_EQ(logic.players[1]->userProfile()->status(), "đang chơi");
    EXPECT_EQ(logic.players[2]->isReady(), 0);
    EXPECT_EQ(logic.players[2]->userProfile()->status(), "đi vắng");
    EXPECT_EQ(logic.players[2]->money(), 50);

    deliver(104, {5});
    EXPECT_EQ(logic.calls, (Calls{"friends", "friends"}));
    EXPECT_TRUE(logic.players.empty());
}

TEST_F(AccountReplies, FriendRequestsArriveLastRowFirst) {
    auto oldRequest = std::make_shared<KavoMessage>();
    oldRequest->setType(KavoMessage::kTypeFriendRequest);
    oldRequest->setIsRequestAddFriend(1);
    UIController::setListMessage({oldRequest});

    deliver(104, Bytes().byte(4).int32(5).utf("AN").int32(6).utf("Bình"));
    ASSERT_EQ(logic.calls, Calls{"friendRequests"});
    ASSERT_EQ(logic.messages.size(), 2u);
    const KavoMessage& newest = *logic.messages[0];
    EXPECT_EQ(newest.fromID(), 6);
    EXPECT_EQ(newest.fromName(), "bình");
    EXPECT_EQ(newest.type(), KavoMessage::kTypeFriendRequest);
    EXPECT_EQ(newest.isRequestAddFriend(), 1);
    EXPECT_EQ(newest.message(), "bình " + text("KAVO_wantAddFriend"));
    EXPECT_EQ(logic.messages[1]->fromName(), "an");
    // The stored requests are replaced on the main thread, not here.
    EXPECT_EQ(UIController::listMessage(), KavoMessageList{oldRequest});

    // No rows: nothing is delivered.
    deliver(104, {4});
    EXPECT_EQ(logic.calls.size(), 1u);
    EXPECT_EQ(UIController::listMessage().size(), 1u);
}

TEST_F(AccountReplies, SentFriendRequestAsksForTheFriendListAgain) {
    deliver(104, Bytes().byte(2).utf("Đã gửi"));
    EXPECT_EQ(logic.calls, Calls{"friendRequestResult"});
    EXPECT_EQ(logic.texts, Texts{"Đã gửi"});
    ASSERT_EQ(env.client().commands(), std::vector<int16_t>{104});
    EXPECT_EQ(env.client().last().body, (ByteVector{5}));

    deliver(104, Bytes().byte(3).utf("Đồng ý"));
    deliver(104, Bytes().byte(15).byte(1).utf("Đã mời"));
    EXPECT_EQ(logic.calls, (Calls{"friendRequestResult", "friendRequestResult", "friendInviteResult"}));
    EXPECT_EQ(logic.texts, Texts{"Đã mời"});
    EXPECT_EQ(env.client().commands().size(), 1u);
}

TEST_F(AccountReplies, HistoryRowsCarryPictureTextsFromTypeThree) {
    deliver(
        104,
        Bytes().byte(7).int32(1).utf("an").utf("bo").int32(2).int32(2).utf("an").utf("cu").int32(3).utf("av.png").utf(
            "it.png"));
    ASSERT_EQ(logic.history.size(), 2u);
    EXPECT_EQ(logic.history[0]->type(), 2);
    EXPECT_EQ(logic.history[0]->strAvatar(), "");
    EXPECT_EQ(logic.history[1]->historyLogID(), 2);
    EXPECT_EQ(logic.history[1]->friendname(), "cu");
    EXPECT_EQ(logic.history[1]->strAvatar(), "av.png");
    EXPECT_EQ(logic.history[1]->strItem(), "it.png");
    EXPECT_EQ(logic.history[1]->avatarID(), 0);
    EXPECT_EQ(logic.history[1]->itemID(), 0);
}

TEST_F(AccountReplies, GiftForAFriendCompletesWithTheLocalisedText) {
    deliver(104, {8});
    deliver(104, {9});
    EXPECT_EQ(logic.calls, (Calls{"giftBought", "giftBought"}));
    EXPECT_EQ(logic.texts, Texts{text("KAVO_PresentCompleted")});
    EXPECT_FALSE(logic.texts[0].empty());
}

TEST_F(AccountReplies, FriendListsSortedByMoneyAndByExperience) {
    deliver(104, Bytes().byte(16).raw(onlineFriend(1, "an", 1, 2, 3, "x")).raw(offlineFriend(2, "bo", "y")));
    EXPECT_EQ(logic.calls.back(), "friendsByMoney");
    EXPECT_EQ(logic.players.size(), 2u);

    // Sub 17: an extra int after the name, and the place bytes even for offline friends.
    Bytes sub17;
    sub17.byte(17);
    sub17.int32(1).utf("an").int32(777).int64(900).int16(4).byte(1).byte(2).byte(7).byte(3).utf("bận");
    sub17.int32(2).utf("bo").int32(777).int64(800).int16(5).byte(0).byte(2).byte(7).byte(3).utf("ngủ");
    deliver(104, sub17);
    EXPECT_EQ(logic.calls.back(), "friendsByMoney");
    ASSERT_EQ(logic.players.size(), 2u);
    EXPECT_EQ(logic.players[0]->money(), 900);
    EXPECT_EQ(logic.players[0]->avatar(), 4);
    EXPECT_EQ(logic.players[0]->userProfile()->status(), Util::formatStatusOnlineWithRoomId(2, 7, 3));
    EXPECT_EQ(logic.players[1]->isReady(), 0);
    EXPECT_EQ(logic.players[1]->userProfile()->status(), "ngủ");

    // Sub 20: the experience and place only for online friends.
    Bytes sub20;
    sub20.byte(20);
    sub20.int32(1).utf("an").int64(900).int16(4).byte(1).int32(650).byte(2).byte(7).byte(3).utf("bận");
    sub20.int32(2).utf("bo").int64(800).int16(5).byte(0).utf("ngủ");
    deliver(104, sub20);
    EXPECT_EQ(logic.calls.back(), "friendsByExp");
    ASSERT_EQ(logic.players.size(), 2u);
    EXPECT_EQ(logic.players[0]->exp(), 650);
    EXPECT_EQ(logic.players[0]->roomID(), 2);
    EXPECT_EQ(logic.players[0]->boardID(), 7);
    EXPECT_EQ(logic.players[0]->gameID(), 3);
    EXPECT_EQ(logic.players[0]->userProfile()->status(), "bận");
    EXPECT_EQ(logic.players[1]->exp(), 0);
    EXPECT_EQ(logic.players[1]->userProfile()->status(), "ngủ");
}

TEST_F(AccountReplies, InviteAndAskedListsAndHistoryDeletion) {
    deliver(104, Bytes().byte(6).int32(1).utf("an"));
    EXPECT_EQ(logic.calls.back(), "inviteList");
    deliver(104, Bytes().byte(14).int32(1).utf("an").int32(12).int32(2).utf("bo").int32(13));
    EXPECT_EQ(logic.calls.back(), "askedList");
    ASSERT_EQ(logic.players.size(), 2u);
    EXPECT_EQ(logic.players[1]->avatar(), 13);
    deliver(104, {12, 1});
    EXPECT_EQ(logic.calls.back(), "historyDeleted");
    EXPECT_EQ(logic.numbers, Numbers{1});
}

TEST_F(AccountReplies, FriendNoticesGoToTheOneButtonDialog) {
    logic.calls.clear();
    deliver(104, Bytes().byte(1).byte(1).utf("Xin chào"));
    deliver(104, Bytes().byte(1).byte(0).utf("không hiện"));
    deliver(104, Bytes().byte(13).byte(4).utf("Thông báo"));
    EXPECT_TRUE(logic.calls.empty());
    PortalEnvironment::runMainThread();
    EXPECT_EQ(openDialogCode(), -1);
}

// --------------------------------------------------------------- profile

Bytes fullProfile(int8_t provinceId, const std::string& provinceName) {
    Bytes body;
    body.int32(42).utf("an").int64(123456789012LL).utf("Nguyễn An").byte(1).boolean(true).int16(1990);
    body.utf("Hà Nội").utf("0123").boolean(false).utf("vui").utf("0909").byte(provinceId).utf(provinceName);
    body.byte(5).byte(17).boolean(true).int32(80).boolean(true).utf("12h").int32(33);
    return body;
}

TEST_F(AccountReplies, FullProfileReadsEveryFieldAndLearnsTheProvince) {
    deliver(1005, fullProfile(9, "Huế"));
    ASSERT_EQ(logic.calls, Calls{"user"});
    const User& user = *logic.user;
    EXPECT_EQ(user.IDDB(), 42);
    EXPECT_EQ(user.nickname(), "an");
    EXPECT_EQ(user.dmoney(), 123456789012LL);
    EXPECT_EQ(user.fullname(), "Nguyễn An");
    EXPECT_EQ(user.gender(), 1);
    EXPECT_EQ(user.genderStatus(), 1);
    EXPECT_EQ(user.birthYear(), 1990);
    EXPECT_EQ(user.address(), "Hà Nội");
    EXPECT_EQ(user.idnumber(), "0123");
    EXPECT_EQ(user.idnumberStatus(), 0);
    EXPECT_EQ(user.status(), "vui");
    EXPECT_EQ(user.phoneNum(), "0909");
    EXPECT_EQ(user.provinceId(), 9);
    EXPECT_EQ(user.birthMonth(), 5);
    EXPECT_EQ(user.birthDay(), 17);
    EXPECT_EQ(user.birthStatus(), 1);
    EXPECT_EQ(user.percent(), 80);
    EXPECT_EQ(user.isSentGift(), 1);
    EXPECT_EQ(user.playingTime(), "12h");
    EXPECT_EQ(user.avatarId(), 33);
    // The province is learned on the main thread.
    EXPECT_TRUE(Province::list().empty());
    PortalEnvironment::runMainThread();
    EXPECT_EQ(Province::getProviceNameWithId(9), "Huế");

    // A known province keeps its name.
    deliver(1005, fullProfile(9, "Khác"));
    PortalEnvironment::runMainThread();
    EXPECT_EQ(Province::getProviceNameWithId(9), "Huế");
}

TEST_F(AccountReplies, FullProfileWithoutProvinceStillCarriesAName) {
    deliver(1005, fullProfile(-1, "không"));
    ASSERT_EQ(logic.calls, Calls{"user"});
    EXPECT_EQ(logic.user->provinceId(), -1);
    // The fields after the name are where they should be.
    EXPECT_EQ(logic.user->birthDay(), 17);
    EXPECT_EQ(logic.user->avatarId(), 33);
    PortalEnvironment::runMainThread();
    EXPECT_TRUE(Province::list().empty());
}

TEST_F(AccountReplies, MyProfileWithoutProvinceHasNoNameOnTheWire) {
    deliver(40, Bytes().byte(1).utf("An").byte(0).int16(1991).utf("đc").utf("cmnd").utf("st").utf("sđt").byte(-1));
    ASSERT_EQ(logic.calls, Calls{"user"});
    EXPECT_EQ(logic.user->fullname(), "An");
    EXPECT_EQ(logic.user->birthYear(), 1991);
    EXPECT_EQ(logic.user->phoneNum(), "sđt");
    EXPECT_EQ(logic.user->provinceId(), -1);
    PortalEnvironment::runMainThread();
    EXPECT_TRUE(Province::list().empty());

    deliver(40, Bytes().byte(1).utf("An").byte(0).int16(1991).utf("").utf("").utf("").utf("").byte(4).utf("Huế"));
    EXPECT_EQ(logic.user->provinceId(), 4);
    PortalEnvironment::runMainThread();
    EXPECT_EQ(Province::getProviceNameWithId(4), "Huế");
}

TEST_F(AccountReplies, AssetsAndAchievements) {
    deliver(40, Bytes().byte(2).int32(1).utf("Nhẫn").utf("vàng").int32(3));
    EXPECT_EQ(logic.calls.back(), "assets");
    ASSERT_EQ(logic.assets.size(), 1u);
    EXPECT_EQ(logic.assets[0]->description(), "vàng");
    EXPECT_EQ(logic.assets[0]->amount(), 3);

    deliver(40, Bytes().byte(3).byte(5).int32(10).int32(20).int32(30).int32(40).int32(50));
    EXPECT_EQ(logic.calls.back(), "achievement");
    EXPECT_EQ(logic.achievement, (std::vector<int32_t>{5, 10, 20, 30, 40, 50}));
}

TEST_F(AccountReplies, AchievementsOfMyOwnIdAreDroppedThoseOfOthersDelivered) {
    UIController::myInfo()->setIDDB(77);
    Bytes mine;
    mine.byte(5).int32(77).byte(3).int32(1).int32(2).int32(3).int32(4).int32(5).int32(99);
    deliver(40, mine);
    EXPECT_TRUE(logic.calls.empty());

    Bytes other;
    other.byte(5).int32(78).byte(3).int32(1).int32(2).int32(3).int32(4).int32(5).int32(99);
    deliver(40, other);
    ASSERT_EQ(logic.calls, Calls{"otherAchievement"});
    EXPECT_EQ(logic.achievementOf, 78);
    EXPECT_EQ(logic.achievement, (std::vector<int32_t>{3, 1, 2, 3, 4, 5}));

    // A row cut short is dropped.
    Bytes cut;
    cut.byte(5).int32(78).byte(3).int32(1).int32(2);
    deliver(40, cut);
    EXPECT_EQ(logic.calls.size(), 1u);
}

TEST_F(AccountReplies, PasswordAndAvatarAnswers) {
    deliver(41);
    deliver(1003, {1});
    deliver(1003, {0});
    EXPECT_EQ(logic.calls, (Calls{"userDataSet", "changePass", "changePass"}));
    EXPECT_EQ(logic.numbers, Numbers{0});

    deliver(1008, Bytes().int32(21));
    EXPECT_EQ(logic.calls.back(), "avatarChanged");
    PortalEnvironment::runMainThread();
    EXPECT_EQ(UIController::myInfo()->avatar(), 21);
}

// --------------------------------------------------------------- sign-in answers among these replies

TEST_F(AccountReplies, RegistrationRecoveryAndSocialNetworkAnswers) {
    deliver(35, Bytes().utf("an").boolean(true).utf("KAVO DK an").utf("8x85"));
    EXPECT_EQ(logic.numbers, Numbers{1});
    EXPECT_EQ(logic.texts, (Texts{"an", "KAVO DK an", "8x85"}));
    deliver(73, Bytes().byte(1).utf("KAVO MK?x").utf("8x86"));
    EXPECT_EQ(logic.numbers, Numbers{1});
    EXPECT_EQ(logic.texts, (Texts{"KAVO MK?x", "8x86"}));
    deliver(2302);
    deliver(2303);
    deliver(147, utf("ok"));
    EXPECT_EQ(logic.calls, (Calls{"register", "smsSyntax", "invalidSN", "createAccount", "admin"}));
}

TEST_F(AccountReplies, NewNameBecomesTheSignedInPlayersOnTheMainThread) {
    deliver(2306, Bytes().int32(501).utf("an_moi"));
    EXPECT_EQ(logic.calls, Calls{"username"});
    EXPECT_EQ(logic.texts, Texts{"an_moi"});
    PortalEnvironment::runMainThread();
    EXPECT_EQ(UIController::myInfo()->IDDB(), 501);
    EXPECT_EQ(UIController::myInfo()->name(), "an_moi");
}

TEST_F(AccountReplies, ServerInformationStartingWith255HasTheSubNextAndNoText) {
    deliver(72, Bytes().byte(2).utf("19001234"));
    EXPECT_EQ(logic.numbers, Numbers{2});
    EXPECT_EQ(logic.texts, Texts{"19001234"});
    deliver(72, Bytes().byte(-1).byte(11).utf("not read"));
    EXPECT_EQ(logic.numbers, Numbers{11});
    EXPECT_EQ(logic.texts, Texts{""});
}

// --------------------------------------------------------------- pictures and avatars

TEST_F(AccountReplies, AvatarPictureIsDecodedAndACutOneDropped) {
    const platform::Bytes png = sourceFileBytes("resources/images/av0.png");
    ASSERT_FALSE(png.empty());
    ASSERT_LT(png.size(), 32768u);
    Bytes body;
    body.int16(12).int16(int16_t(png.size())).raw(png);
    deliver(38, body);
    ASSERT_EQ(logic.calls, Calls{"avatarPicture"});
    EXPECT_EQ(logic.avatar->avatarId(), 12);
    EXPECT_NE(logic.avatar->img(), nullptr);

    deliver(38, prefix(body, body.data().size() - 1));
    deliver(38, Bytes().int16(12).int16(-5));
    EXPECT_EQ(logic.calls.size(), 1u);
}

TEST_F(AccountReplies, ItemPictureNeedsItsBytes) {
    deliver(79, Bytes().byte(1).int32(300).int16(3).raw({1, 2, 3}));
    deliver(79, Bytes().byte(4).int32(301).int16(2).raw({7, 8}));
    EXPECT_EQ(logic.calls, (Calls{"itemPicture", "itemPicture"}));
    EXPECT_EQ(logic.numbers, Numbers{301});
    EXPECT_EQ(logic.picture, (platform::Bytes{7, 8}));

    logic.calls.clear();
    deliver(79, {});
    deliver(79, Bytes().byte(1).int32(300).int16(0));
    deliver(79, Bytes().byte(1).int32(300).int16(-1));
    deliver(79, Bytes().byte(1).int32(300).int16(4).raw({1, 2}));
    deliver(79, Bytes().byte(2).int32(300).int16(1).raw({1}));
    EXPECT_TRUE(logic.calls.empty());
}

TEST_F(AccountReplies, AvatarListsOfTheShopAndOfThePlayer) {
    deliver(1010,
            Bytes().int32(9).int32(1).int32(11).utf("Mèo").utf("dễ thương").int32(1).int32(12).utf("Chó").utf(""));
    EXPECT_EQ(logic.calls.back(), "myAvatars");
    ASSERT_EQ(logic.avatars.size(), 2u);
    EXPECT_EQ(logic.avatars[0]->userId(), 1);
    EXPECT_EQ(logic.avatars[0]->desc(), "dễ thương");

    Bytes shopAvatars;
    shopAvatars.int32(4).int32(11).utf("Mèo").int32(500).int32(2).int32(30);
    deliver(1201, shopAvatars.int32(12).utf("Chó").int32(600).int32(3).int32(7));
    EXPECT_EQ(logic.calls.back(), "avatarList");
    EXPECT_EQ(logic.numbers, (Numbers{4, 3})); // the type of the last row
    EXPECT_EQ(logic.avatars[1]->expireDay(), 7);

    deliver(1201, Bytes().int32(4));
    EXPECT_EQ(logic.numbers, (Numbers{4, 0}));

    deliver(1202, Bytes().int32(11));
    EXPECT_EQ(logic.calls.back(), "avatarBought");

    deliver(1203, Bytes().int32(6).int32(11).utf("Mèo").int32(500).int32(30));
    EXPECT_EQ(logic.calls.back(), "allAvatars");
    EXPECT_EQ(logic.numbers, Numbers{6});
    EXPECT_EQ(logic.avatars[0]->price(), 500);
    EXPECT_EQ(logic.avatars[0]->expireDay(), 30);
}

// --------------------------------------------------------------- shop and gifts

Bytes itemRow(int32_t id, const std::string& name, int32_t price, const std::string& desc, bool bought) {
    Bytes row;
    row.int32(id).utf(name).int32(price).utf(desc).boolean(bought);
    return row;
}

TEST_F(AccountReplies, ShopItemsPagesAndAllItems) {
    Bytes items;
    items.byte(2).int32(7).byte(1).int32(3).raw(itemRow(1, "Mũ", 100, "đẹp", true));
    deliver(101, items.raw(itemRow(2, "Áo", 200, "", false)));
    EXPECT_EQ(logic.calls.back(), "itemsList");
    EXPECT_EQ(logic.numbers, (Numbers{7, 1, 3}));
    ASSERT_EQ(logic.items.size(), 2u);
    EXPECT_EQ(logic.items[0]->function_desc(), "đẹp");
    EXPECT_EQ(logic.items[0]->is_bought(), 1);

    deliver(101, Bytes().byte(21).int32(5).raw(itemRow(3, "Giày", 300, "", false)));
    EXPECT_EQ(logic.calls.back(), "allItems");
    EXPECT_EQ(logic.numbers, Numbers{5});
    EXPECT_EQ(logic.items[0]->price(), 300);
}

TEST_F(AccountReplies, PlayersItemsOfACategory) {
    deliver(101, Bytes().byte(3).int32(7).byte(0).int32(2).int32(90).int32(1).utf("Mũ").int32(100).utf("ngắn").boolean(
                     true));
    ASSERT_EQ(logic.calls, Calls{"userItems"});
    EXPECT_EQ(logic.userItems->categoryId(), 7);
    EXPECT_EQ(logic.userItems->totalPage(), 2);
    ASSERT_EQ(logic.userItems->userItemsList().size(), 1u);
    EXPECT_EQ(logic.userItems->userItemsList()[0]->userItemId(), 90);
    EXPECT_EQ(logic.userItems->userItemsList()[0]->is_using(), 1);
}

TEST_F(AccountReplies, BuyingAndDeletingSucceedOrSayWhy) {
    deliver(101, Bytes().byte(6).byte(1).utf("Không đủ tiền"));
    deliver(101, Bytes().byte(6).byte(0).int32(250));
    deliver(101, Bytes().byte(10).int32(5).byte(1).utf("Không xoá được"));
    deliver(101, Bytes().byte(10).int32(5).byte(0));
    deliver(101, Bytes().byte(11).byte(1).utf("lỗi"));
    deliver(101, Bytes().byte(11).byte(0));
    EXPECT_EQ(logic.calls, (Calls{"buyFailed", "itemBought", "deleteFailed", "deleted", "using"}));
    EXPECT_EQ(logic.numbers, Numbers{});
}

TEST_F(AccountReplies, GiftGivenAtATableOrRefused) {
    deliver(101, Bytes().byte(7).byte(0).int32(10).int32(300).int32(20));
    ASSERT_EQ(logic.calls, Calls{"giveGift"});
    EXPECT_EQ(logic.numbers, (Numbers{300, 10, 20})); // item, from, to

    deliver(101, Bytes().byte(7).byte(1).utf("Không tặng được"));
    EXPECT_EQ(logic.calls.size(), 1u);
}

TEST_F(AccountReplies, AvatarDetailUsingAvatarsAndGiftLists) {
    Bytes detail;
    detail.byte(9).int32(90).int32(1).utf("Mũ").utf("2030-01-01").byte(2).boolean(true).int16(5).int16(-3).int16(4);
    detail.int32(7).int16(2);
    deliver(101, detail);
    EXPECT_EQ(logic.calls.back(), "avatarDetail");
    EXPECT_EQ(logic.avatarDetail->expire_date(), "2030-01-01");
    EXPECT_EQ(logic.avatarDetail->avatar_x(), -3);
    EXPECT_EQ(logic.avatarDetail->z_index(), 2);

    deliver(101, Bytes().byte(12).int32(0).byte(0).int32(1).int32(7).int32(2).int32(8));
    EXPECT_EQ(logic.calls.back(), "usingAvatars");
    ASSERT_EQ(logic.usingAvatars.size(), 2u);
    EXPECT_EQ(logic.usingAvatars[1]->categoryId(), 8);

    deliver(101, Bytes().byte(14).int32(1).utf("Hoa").int32(0).int32(2).utf("Quà").int32(1));
    EXPECT_EQ(logic.calls.back(), "giftCategories");
    ASSERT_EQ(logic.shopCategories.size(), 2u);
    EXPECT_EQ(logic.shopCategories[1]->parentId(), 1);

    deliver(101, Bytes().byte(15).int32(2).int32(4).int32(300).utf("Hoa hồng").int32(50));
    EXPECT_EQ(logic.calls.back(), "giftItems");
    EXPECT_EQ(logic.giftItems->categoryId(), 2);
    EXPECT_EQ(logic.giftItems->totalPage(), 4);
    ASSERT_EQ(logic.giftItems->itemList().size(), 1u);
    EXPECT_EQ(logic.giftItems->itemList()[0]->price(), 50);

    deliver(101, Bytes().byte(16).int32(1).int32(301).utf("Bánh").utf("ngon"));
    EXPECT_EQ(logic.calls.back(), "eventItems");
    EXPECT_EQ(logic.assets[0]->imgAssetId(), 301);
}

TEST_F(AccountReplies, OpenedGiftCarriesMoneyOnlyWhenItWorked) {
    deliver(101, Bytes().byte(17).byte(0).utf("Được 500").int32(500));
    EXPECT_EQ(logic.numbers, (Numbers{0, 500}));
    deliver(101, Bytes().byte(17).byte(2).utf("Hết hạn"));
    EXPECT_EQ(logic.numbers, (Numbers{2, 0}));
    EXPECT_EQ(logic.texts, Texts{"Hết hạn"});
}

TEST_F(AccountReplies, QuietShopSubCommandsDeliverNothing) {
    deliver(101, Bytes().byte(1).int32(1).utf("Mũ").int32(0));
    Bytes avatarDetail;
    avatarDetail.byte(5).int32(1).utf("Mũ").int32(1).int16(1).int16(1).int32(1).byte(1).boolean(true).boolean(false);
    avatarDetail.int16(1).int16(1).int32(1).int16(1);
    deliver(101, avatarDetail);
    for (uint8_t sub : {4, 8, 13, 18, 19, 20, 22, 200})
        deliver(101, {sub, 1, 2, 3});
    deliver(101, {});
    EXPECT_TRUE(logic.calls.empty());
}

// --------------------------------------------------------------- money, payments, lottery, reports

TEST_F(AccountReplies, TransferredMoneyAndTopUpChannels) {
    deliver(17, Bytes().int64(9000000000LL).utf("Đã chuyển"));
    EXPECT_EQ(logic.calls.back(), "transfer");
    EXPECT_EQ(logic.numbers, Numbers{9000000000LL});

    Bytes channels;
    channels.byte(1).byte(3).utf("Viettel").utf("NAP").utf("8x01");
    channels.byte(5).utf("Thẻ").utf("").utf("");
    channels.byte(8).byte(9).utf("Giảm").utf("KM").utf("8x02");
    deliver(44, channels);
    EXPECT_EQ(logic.calls.back(), "moneyInfo");
    ASSERT_EQ(logic.channels.size(), 3u);
    EXPECT_EQ(logic.channels[0]->subId(), 3);
    EXPECT_EQ(logic.channels[0]->smsTo(), "8x01");
    EXPECT_EQ(logic.channels[1]->type(), 5);
    EXPECT_EQ(logic.channels[1]->subId(), -1);
    EXPECT_EQ(logic.channels[1]->info(), "Thẻ");
    EXPECT_EQ(logic.channels[2]->subId(), 9);
}

TEST_F(AccountReplies, PurchaseAnswerIsTextAndMoneyMayBeMissing) {
    deliver(71, Bytes().byte(0).byte(1).utf("Thành công").utf("r-1").int64(123456789012LL));
    ASSERT_EQ(logic.calls, Calls{"purchase"});
    EXPECT_EQ(logic.value["status"].stringValue(), "1");
    EXPECT_EQ(logic.value["message"].stringValue(), "Thành công");
    EXPECT_EQ(logic.value["receiptString"].stringValue(), "r-1");
    EXPECT_EQ(logic.value["money"].stringValue(), "123456789012");

    deliver(71, Bytes().byte(0).byte(3).utf("Lỗi").utf("r-2"));
    EXPECT_EQ(logic.calls.size(), 2u);
    EXPECT_EQ(logic.value["status"].stringValue(), "3");
    EXPECT_FALSE(logic.value.contains("money"));
}

TEST_F(AccountReplies, LotteryReplies) {
    deliver(1400, Bytes().int32(95));
    EXPECT_EQ(logic.numbers, Numbers{95});

    deliver(1401, Bytes().int32(12).utf("Kỳ 1").int32(34).utf("Kỳ 2"));
    EXPECT_EQ(logic.calls.back(), "lottoHistory");
    ASSERT_EQ(logic.value.size(), 4u);
    EXPECT_EQ(logic.value.at(0).intValue(), 12);
    EXPECT_EQ(logic.value.at(1).stringValue(), "Kỳ 1");
    EXPECT_EQ(logic.value.at(3).stringValue(), "Kỳ 2");

    deliver(1402, Bytes().int32(7).int32(1000).boolean(true).int32(8).int32(2000).boolean(false));
    ASSERT_EQ(logic.lottos.size(), 2u);
    EXPECT_EQ(logic.lottos[0]->isUsed(), 1);
    EXPECT_EQ(logic.lottos[1]->money(), 2000);

    deliver(1403, Bytes().boolean(true).int32(1000).utf("Đã mua"));
    EXPECT_EQ(logic.numbers, (Numbers{1, 1000}));
    EXPECT_EQ(logic.texts, Texts{"Đã mua"});
    deliver(1404, Bytes().int32(2).utf("Trúng"));
    EXPECT_EQ(logic.calls.back(), "lottoResult");
    EXPECT_EQ(logic.texts, Texts{"Trúng"});
}

TEST_F(AccountReplies, ReportSubCommandIsAnInt) {
    deliver(2703, Bytes().int32(0).utf("Gian lận").utf("Chửi bậy"));
    EXPECT_EQ(logic.calls.back(), "reportCategories");
    EXPECT_EQ(logic.categories, (Texts{"Gian lận", "Chửi bậy"}));

    deliver(2703, Bytes().int32(2).utf("10:00").utf("+500"));
    EXPECT_EQ(logic.calls.back(), "transactions");
    ASSERT_EQ(logic.transactions.size(), 1u);
    EXPECT_EQ(logic.transactions[0]->content(), "+500");

    // A byte sub 0 followed by text is not sub 0: the int reads otherwise.
    logic.calls.clear();
    deliver(2703, Bytes().byte(0).utf("Gian lận"));
    deliver(2703, Bytes().int32(1).byte(1));
    deliver(2703, Bytes().int32(3).utf("x"));
    deliver(2800, utf("ghi lại"));
    EXPECT_TRUE(logic.calls.empty());
}

// --------------------------------------------------------------- cut bodies

// Every prefix of every list reply parses without a fault and delivers only whole rows.
TEST_F(AccountReplies, CutListRepliesKeepOnlyWholeRows) {
    struct ListReply {
        int16_t command;
        Bytes head;
        Bytes row;
        const char* call;
        std::function<size_t()> count;
    };
    AccountRecorder& r = logic;
    const std::vector<ListReply> replies = {
        {30, Bytes().byte(3).byte(1), rankedRow(7, "an", 1, 2, 3, "st"), "strongest", [&] { return r.players.size(); }},
        {36, Bytes(), Bytes().int32(1).utf("an"), "search", [&] { return r.players.size(); }},
        {104, Bytes().byte(5), onlineFriend(1, "an", 1, 2, 3, "x"), "friends", [&] { return r.players.size(); }},
        {104, Bytes().byte(16), offlineFriend(1, "an", "x"), "friendsByMoney", [&] { return r.players.size(); }},
        {104, Bytes().byte(7), Bytes().int32(1).utf("a").utf("b").int32(4).utf("c").utf("d"), "history",
         [&] { return r.history.size(); }},
        {40, Bytes().byte(2), Bytes().int32(1).utf("a").utf("b").int32(2), "assets", [&] { return r.assets.size(); }},
        {1201, Bytes().int32(2), Bytes().int32(1).utf("a").int32(1).int32(1).int32(1), "avatarList",
         [&] { return r.avatars.size(); }},
        {101, Bytes().byte(21).int32(2), itemRow(1, "Mũ", 1, "d", true), "allItems", [&] { return r.items.size(); }},
        {44, Bytes(), Bytes().byte(2).byte(1).utf("a").utf("b").utf("c"), "moneyInfo",
         [&] { return r.channels.size(); }},
        {1402, Bytes(), Bytes().int32(1).int32(2).boolean(true), "myLotto", [&] { return r.lottos.size(); }},
        {2703, Bytes().int32(2), Bytes().utf("t").utf("c"), "transactions", [&] { return r.transactions.size(); }},
    };
    for (const auto& reply : replies) {
        Bytes body;
        body.raw(reply.head);
        for (int i = 0; i < 3; ++i)
            body.raw(reply.row);
        const size_t head = reply.head.data().size();
        const size_t row = reply.row.data().size();
        for (size_t n = head; n <= body.data().size(); ++n) {
            r.calls.clear();
            deliver(reply.command, prefix(body, n));
            ASSERT_EQ(r.calls, Calls{reply.call}) << reply.command << " at " << n;
            EXPECT_EQ(reply.count(), (n - head) / row) << reply.command << " at " << n;
        }
    }
}

// A reply of one record (or a list's head) cut anywhere delivers, shows and sends
// nothing; whole, it is delivered.
TEST_F(AccountReplies, CutRecordRepliesAreDropped) {
    Bytes avatarDetail;
    avatarDetail.byte(9).int32(90).int32(1).utf("M").utf("d").byte(2).boolean(true).int16(5).int16(-3).int16(4);
    avatarDetail.int32(7).int16(2);
    const std::vector<std::tuple<int16_t, ByteVector, Calls>> replies = {
        {101, Bytes().byte(6).byte(0).int32(250), {"itemBought"}},
        {101, Bytes().byte(6).byte(1).utf("x"), {"buyFailed"}},
        {101, Bytes().byte(7).byte(0).int32(10).int32(300).int32(20), {"giveGift"}},
        {101, Bytes().byte(7).byte(1).utf("x"), {"notice"}},
        {101, Bytes().byte(10).int32(5).byte(0), {"deleted"}},
        {101, Bytes().byte(10).int32(5).byte(1).utf("x"), {"deleteFailed"}},
        {101, Bytes().byte(11).byte(0), {"using"}},
        {101, Bytes().byte(17).byte(0).utf("x").int32(500), {"openGift"}},
        {101, Bytes().byte(17).byte(1).utf("x"), {"openGift"}},
        {101, Bytes().byte(2).int32(7).byte(1).int32(3), {"itemsList"}},
        {101, Bytes().byte(3).int32(7).byte(0).int32(2), {"userItems"}},
        {101, avatarDetail, {"avatarDetail"}},
        {101, Bytes().byte(12).int32(0).byte(0), {"usingAvatars"}},
        {101, Bytes().byte(15).int32(2).int32(4), {"giftItems"}},
        {101, Bytes().byte(21).int32(5), {"allItems"}},
        {30, Bytes().byte(3).byte(2), {"strongest"}},
        {31, {1}, {"richest"}},
        {32, {2}, {"addFriend"}},
        {33, {2}, {"delFriend"}},
        {34, Bytes().int32(12).utf("a").int64(7).int16(5).int32(1).int32(2).int32(3).int32(4).int32(5), {"detail"}},
        {40, Bytes().byte(1).utf("A").byte(0).int16(1991).utf("").utf("").utf("").utf("").byte(4).utf("H"), {"user"}},
        {40, Bytes().byte(3).byte(5).int32(10).int32(20).int32(30).int32(40).int32(50), {"achievement"}},
        {1005, fullProfile(9, "Huế"), {"user"}},
        {104, Bytes().byte(1).byte(1).utf("x"), {"notice"}},
        {104, Bytes().byte(2).utf("x"), {"friendRequestResult"}},
        {104, Bytes().byte(3).utf("x"), {"friendRequestResult"}},
        {104, {12, 1}, {"historyDeleted"}},
        {104, Bytes().byte(13).byte(4).utf("x"), {"notice"}},
        {104, Bytes().byte(15).byte(1).utf("x"), {"friendInviteResult"}},
        {1003, {1}, {"changePass"}},
        {1008, Bytes().int32(21), {"avatarChanged"}},
        {1010, Bytes().int32(9), {"myAvatars"}},
        {1201, Bytes().int32(4), {"avatarList"}},
        {1202, Bytes().int32(11), {"avatarBought"}},
        {1203, Bytes().int32(6), {"allAvatars"}},
        {71, Bytes().byte(0).byte(1).utf("a").utf("r"), {"purchase"}},
        {72, Bytes().byte(2).utf("x"), {"info"}},
        {72, Bytes().byte(-1).byte(11), {"info"}},
        {1400, Bytes().int32(95), {"nextRound"}},
        {1403, Bytes().boolean(true).int32(1000).utf("x"), {"buyLotto"}},
        {1404, Bytes().int32(2).utf("x"), {"lottoResult"}},
        {35, Bytes().utf("an").boolean(true).utf("p").utf("t"), {"register"}},
        {73, Bytes().byte(1).utf("d").utf("t"), {"smsSyntax"}},
        {2306, Bytes().int32(501).utf("an"), {"username"}},
        {147, utf("ok"), {"admin"}},
        {2703, Bytes().int32(1).byte(1), {"notice"}},
    };
    const auto delivered = [&](int16_t command, const ByteVector& body) {
        logic.calls.clear();
        UIController::closeDialog();
        deliver(command, body);
        PortalEnvironment::runMainThread();
        return UIController::currentDialog() ? Calls{"notice"} : logic.calls;
    };
    for (const auto& [command, body, calls] : replies) {
        for (size_t n = 0; n < body.size(); ++n)
            EXPECT_EQ(delivered(command, prefix(body, n)), Calls{}) << command << " cut at " << n;
        EXPECT_EQ(delivered(command, body), calls) << command;
    }
    // Only the whole 104 sub 2 asks for the friend list again.
    EXPECT_EQ(env.client().commands(), std::vector<int16_t>{104});
}

TEST_F(AccountReplies, ShortRepliesNeverFault) {
    for (int16_t command :
         {17,  30,   31,   32,   33,   34,   35,   36,   38,   40,   41,   44,   71,   72,   73,   78,   79,   101, 104,
          147, 1003, 1005, 1008, 1010, 1201, 1202, 1203, 1400, 1401, 1402, 1403, 1404, 2302, 2303, 2306, 2703, 2800}) {
        deliver(command, {});
        deliver(command, {0x01});
        deliver(command, {0x05, 0x00});
    }
    PortalEnvironment::runMainThread();
    // A whole reply afterwards is read as usual.
    logic.calls.clear();
    deliver(17, Bytes().int64(5000).utf("xong"));
    EXPECT_EQ(logic.calls, Calls{"transfer"});
}

} // namespace
} // namespace kavo::test
