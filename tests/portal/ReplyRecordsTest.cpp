#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/Province.h"
#include "tests/portal/PortalTestSupport.h"

#include <gtest/gtest.h>
#include <sstream>
#include <type_traits>

namespace kavo::test {
namespace {

// Writes every record a reply delivers as one line of its fields, so that a table
// can pin each field of each row to its place in the body.
class FieldRecorder : public GlobalLogicHandler {
public:
    std::vector<std::string> lines;

    void onLoginSuccess(std::shared_ptr<Player> me, StoredMailbox) override { player("signedIn", *me); }
    void onRoomList(std::vector<std::shared_ptr<RoomInfo>> rooms) override {
        for (const auto& r : rooms)
            add("room", r->roomId(), r->roomFree(), r->roomWait(), r->lv());
    }
    void onBoardListWithRoomId(int8_t roomId, std::vector<std::shared_ptr<Board>> boards) override {
        add("boardsOfRoom", roomId);
        this->boards(boards);
    }
    void onLoadBoardList(std::vector<std::shared_ptr<Board>> boards, int32_t maxBet) override {
        add("pickedBoards", maxBet);
        this->boards(boards);
    }
    void onChatFromWithMessage(std::shared_ptr<KavoMessage> m) override { message("chat", *m); }
    void onChatOnRoomWithMessage(std::shared_ptr<KavoMessage> m) override { message("roomChat", *m); }
    void onListNewMessage(KavoMessageList list) override {
        for (const auto& m : list)
            message("mail", *m);
    }
    void onListFriendRequests(KavoMessageList list) override {
        for (const auto& m : list)
            message("friendRequest", *m);
    }
    void onPresentReceived(std::vector<std::shared_ptr<Asset>> presents) override { assets("present", presents); }
    void onStrongestListWithPage(int8_t page, int8_t gameId, PlayerList list) override {
        add("strongest", page, gameId);
        players("ranked", list);
    }
    void onRichestListWithPage(int8_t page, PlayerList list) override {
        add("richest", page);
        players("ranked", list);
    }
    void onWaitingList(PlayerList list) override { players("waiting", list); }
    void onSearchResult(PlayerList list) override { players("found", list); }
    void onGetInviteList(PlayerList list) override { players("invitable", list); }
    void onGetRequestMakeFriendList(PlayerList list) override { players("asked", list); }
    void onFriendList(PlayerList list) override { players("friend", list); }
    void onShowFriendsSortedByMoney(PlayerList list) override { players("byMoney", list); }
    void onShowFriendsSortedByExp(PlayerList list) override { players("byExp", list); }
    void onGetTopLit(std::vector<std::shared_ptr<Ranking>> rankings) override {
        for (const auto& r : rankings)
            add("ranking", r->gameId(), r->info());
    }
    void onProvinceList(std::vector<std::shared_ptr<Province>> provinces) override {
        for (const auto& p : provinces)
            add("province", p->pId(), p->name());
    }
    void onGetHistoryLogList(std::vector<std::shared_ptr<HistoryLog>> logs) override {
        for (const auto& l : logs)
            add("history", l->historyLogID(), l->username(), l->friendname(), l->type(), l->strAvatar(), l->strItem());
    }
    void onMyUserDataWithUser(std::shared_ptr<User> u) override {
        add("profile", u->fullname(), u->gender(), u->birthYear(), u->address(), u->idnumber(), u->status(),
            u->phoneNum(), u->provinceId());
    }
    void onMyAssets(AssetList list) override { assets("asset", list); }
    void onMyAchievement(std::vector<int32_t> a) override {
        add("achievement", a.at(0), a.at(1), a.at(2), a.at(3), a.at(4), a.at(5));
    }
    void onShowMyAvatars(AvatarList list) override {
        for (const auto& a : list)
            add("myAvatar", a->userId(), a->avatarId(), a->name(), a->desc());
    }
    void onAvatarList(AvatarList list, int32_t pages, int32_t type) override {
        add("avatarPage", pages, type);
        for (const auto& a : list)
            add("avatar", a->avatarId(), a->name(), a->price(), a->type(), a->expireDay());
    }
    void onGetAllAvatarsList(AvatarList list, int32_t totalPage) override {
        add("allAvatars", totalPage);
        for (const auto& a : list)
            add("avatar", a->avatarId(), a->name(), a->price(), a->expireDay());
    }
    void onItemsList(ItemInfoList list, int32_t categoryId, int8_t gender, int32_t pages) override {
        add("itemPage", categoryId, gender, pages);
        items(list);
    }
    void onGetAllItem(ItemInfoList list, int32_t totalPage) override {
        add("allItems", totalPage);
        items(list);
    }
    void onUserItemsOfCategoryInfo(std::shared_ptr<UserItemsOfCategory> page) override {
        add("userItemPage", page->categoryId(), page->gender(), page->totalPage());
        for (const auto& i : page->userItemsList())
            add("userItem", i->userItemId(), i->itemId(), i->name(), i->price(), i->short_desc(), i->is_using());
    }
    void onUserAvatarDetail(std::shared_ptr<UserAvatarDetail> d) override {
        add("avatarDetail", d->userItemId(), d->itemId(), d->name(), d->expire_date(), d->is_buy_give(), d->is_using(),
            d->time_used(), d->avatar_x(), d->avatar_y(), d->category_id(), d->z_index());
    }
    void onListUsingAvatar(std::vector<std::shared_ptr<UsingAvatar>> list) override {
        for (const auto& a : list)
            add("using", a->itemId(), a->categoryId());
    }
    void onListGift(std::vector<std::shared_ptr<CategoryShopInfo>> list) override {
        for (const auto& c : list)
            add("giftCategory", c->categoryId(), c->name(), c->parentId());
    }
    void onItemsOfGiftInfo(std::shared_ptr<ItemsOfCategory> page) override {
        add("giftPage", page->categoryId(), page->totalPage());
        for (const auto& i : page->itemList())
            add("gift", i->itemId(), i->name(), i->price());
    }
    void onGetListItemsEvent(AssetList list) override { assets("eventItem", list); }
    void onMoneyInfo(ChargeMoneyList list) override {
        for (const auto& c : list)
            add("channel", c->type(), c->subId(), c->info(), c->smsContent(), c->smsTo());
    }
    void onGetMyLottoHistory(std::vector<std::shared_ptr<MyLotto>> list) override {
        for (const auto& l : list)
            add("lotto", l->number(), l->money(), l->isUsed());
    }
    void onReceiveReportCategory(std::vector<std::string> list) override {
        for (const auto& c : list)
            add("reportCategory", c);
    }
    void onShowTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> list) override {
        for (const auto& t : list)
            add("transaction", t->time(), t->content());
    }

private:
    // Numbers as numbers (an int8_t is not a character here), texts as they are.
    template <typename Value> static void put(std::ostringstream& line, const Value& value) {
        if constexpr (std::is_arithmetic_v<Value>)
            line << int64_t(value);
        else
            line << value;
    }
    template <typename... Values> void add(const char* what, const Values&... values) {
        std::ostringstream line;
        line << what;
        ((line << '|', put(line, values)), ...);
        lines.push_back(line.str());
    }
    void player(const char* what, const Player& p) {
        add(what, p.IDDB(), p.name(), p.money(), p.avatar(), p.exp(), p.isReady(), p.userProfile()->status(),
            p.roomID(), p.boardID(), p.gameID());
    }
    void players(const char* what, const PlayerList& list) {
        for (const auto& p : list)
            player(what, *p);
    }
    void boards(const std::vector<std::shared_ptr<Board>>& list) {
        for (const auto& b : list)
            add("board", b->roomId(), b->boardId(), b->isPass(), b->money(), b->maxBetMoney(), b->isPlaying(),
                b->nPlayer(), b->maxPlayer());
    }
    void message(const char* what, const KavoMessage& m) {
        add(what, m.type(), m.time(), m.fromID(), m.fromName(), m.message(), m.isRequestAddFriend());
    }
    void assets(const char* what, const AssetList& list) {
        for (const auto& a : list)
            add(what, a->assetId(), a->imgAssetId(), a->name(), a->description(), a->amount());
    }
    void items(const ItemInfoList& list) {
        for (const auto& i : list)
            add("item", i->itemId(), i->name(), i->price(), i->function_desc(), i->is_bought());
    }
};

class ReplyRecords : public ::testing::Test {
protected:
    PortalEnvironment env;
    FieldRecorder logic;
    ReplyRecords() { GlobalMessageHandler::getInstance().setGlobalLogicHandler(&logic); }
};

// One body from its parts, in order.
Bytes join(std::initializer_list<Bytes> parts) {
    Bytes body;
    for (const Bytes& part : parts)
        body.raw(part);
    return body;
}

// How most rows of players begin: int IDDB, UTF name, long money, short avatar.
Bytes head(int32_t id, const char* name, int64_t money, int16_t avatar) {
    return Bytes().int32(id).utf(name).int64(money).int16(avatar);
}

struct RecordCase {
    const char* name;
    int16_t command;
    Bytes body;
    std::vector<std::string> lines;
};

// Each row: a whole reply and the records it must become, every field spelled out
// in the order the recorder writes it (see FieldRecorder).
TEST_F(ReplyRecords, EveryFieldOfEveryRowLandsWhereItBelongs) {
    platform::UserDefaults::standard().setString("lan", "KAVO_LOGIN_USERNAME");
    const std::string wants = Resources::getInstance().textWithKey("KAVO_wantAddFriend");
    const std::vector<RecordCase> cases = {
        {"sign-in",
         3,
         Bytes().int32(1234).int64(987654321012LL).int16(17).int32(250),
         {"signedIn|1234|lan|987654321012|17|250|0||0|0|0"}},
        {"rooms", 6, Bytes().raw({1, 5, 2, 0, 2, 0, 3, 1}), {"room|1|5|2|0", "room|2|0|3|1"}},
        {"boards of a room",
         7,
         Bytes().byte(4).byte(9).byte(3).boolean(true).int32(5000),
         {"boardsOfRoom|4", "board|0|9|1|5000|0|0|3|0"}},
        {"picked boards",
         2700,
         join({Bytes().int32(100000).int32(1).raw({3, 9, 0}), Bytes().int32(20000).int32(80000).raw({1, 2, 4, 77})}),
         {"pickedBoards|100000", "board|3|9|0|20000|80000|1|2|4"}},
        {"private chat", 5, Bytes().int32(42).utf("ĐỨC Anh").utf("chào"), {"chat|0|0|42|đức anh|chào|0"}},
        {"room chat",
         1707,
         Bytes().int64(0x123456789LL).int32(7).utf("Bo").utf("hi"),
         {"roomChat|0|4886718345|7|bo|hi|0"}},
        {"mailbox, last row first",
         1701,
         join({Bytes().int32(4).int64(11).int32(5).utf("AN").utf("một"),
               Bytes().int32(6).int64(12).int32(8).utf("Bo").utf("hai")}),
         {"mail|6|12|8|bo|hai|0", "mail|4|11|5|an|một|0"}},
        {"presents",
         45,
         Bytes().byte(3).int32(11).utf("Hoa").int32(12).utf("Bánh"),
         {"present|11|0|Hoa||0", "present|12|0|Bánh||0"}},
        {"strongest",
         30,
         join({Bytes().raw({5, 2}), head(7, "an", 900, 3).int32(40).utf("vui")}),
         {"strongest|2|5", "ranked|7|an|900|3|40|1|vui|0|0|0"}},
        {"richest, three unused bytes a row",
         31,
         join({Bytes().byte(1), head(7, "an", 900, 3).int32(40).utf("vui").raw({9, 9, 9}),
               head(8, "bo", 800, 4).int32(50).utf("").raw({9, 9, 9})}),
         {"richest|1", "ranked|7|an|900|3|40|1|vui|0|0|0", "ranked|8|bo|800|4|50|1||0|0|0"}},
        {"search",
         36,
         Bytes().int32(1).utf("an").int32(2).utf("An"),
         {"found|1|an|0|0|0|0||0|0|0", "found|2|An|0|0|0|0||0|0|0"}},
        {"top list",
         78,
         Bytes().byte(1).byte(3).utf("Tiến lên").byte(5).utf("Cờ tướng"),
         {"ranking|3|Tiến lên", "ranking|5|Cờ tướng"}},
        {"waiting",
         78,
         join({Bytes().byte(2), head(4, "chờ", 1, 2).int32(3).utf("s")}),
         {"waiting|4|chờ|1|2|3|1|s|0|0|0"}},
        {"provinces",
         78,
         Bytes().byte(3).byte(1).utf("Hà Nội").byte(-1).utf("Khác"),
         {"province|1|Hà Nội", "province|-1|Khác"}},
        {"friend requests, last row first",
         104,
         Bytes().byte(4).int32(5).utf("AN").int32(6).utf("Bình"),
         {"friendRequest|3|0|6|bình|bình " + wants + "|1", "friendRequest|3|0|5|an|an " + wants + "|1"}},
        {"friends",
         104,
         join({Bytes().byte(5), head(1, "an", 100, 3).raw({1, 2, 7, 77}).utf("bận"),
               head(3, "cu", 50, 2).byte(0).utf("đi vắng")}),
         {"friend|1|an|100|3|0|1|bận|2|7|77", "friend|3|cu|50|2|0|0|đi vắng|0|0|0"}},
        {"invitable", 104, Bytes().byte(6).int32(1).utf("an"), {"invitable|1|an|0|0|0|0||0|0|0"}},
        {"history",
         104,
         join({Bytes().byte(7).int32(1).utf("a").utf("b").int32(2), Bytes().int32(3).utf("c").utf("d").int32(4),
               Bytes().utf("e").utf("f")}),
         {"history|1|a|b|2||", "history|3|c|d|4|e|f"}},
        {"asked",
         104,
         Bytes().byte(14).int32(1).utf("an").int32(12).int32(2).utf("bo").int32(13),
         {"asked|1|an|0|12|0|0||0|0|0", "asked|2|bo|0|13|0|0||0|0|0"}},
        {"by money",
         104,
         join({Bytes().byte(16), head(2, "bo", 50, 2).byte(0).utf("y"),
               head(1, "an", 100, 3).raw({1, 2, 7, 77}).utf("x")}),
         {"byMoney|2|bo|50|2|0|0|y|0|0|0", "byMoney|1|an|100|3|0|1|x|2|7|77"}},
        {"by money with the place",
         104,
         join({Bytes().byte(17).int32(1).utf("an").int32(777).int64(900).int16(4).raw({1, 2, 7, 77}).utf("bận"),
               Bytes().int32(2).utf("bo").int32(777).int64(800).int16(5).raw({0, 2, 7, 3}).utf("ngủ")}),
         {"byMoney|1|an|900|4|0|1|bận|2|7|77", "byMoney|2|bo|800|5|0|0|ngủ|0|0|0"}},
        {"by experience",
         104,
         join({Bytes().byte(20), head(1, "an", 900, 4).byte(1).int32(650).raw({2, 7, 3}).utf("bận"),
               head(2, "bo", 800, 5).byte(0).utf("ngủ")}),
         {"byExp|1|an|900|4|650|1|bận|2|7|3", "byExp|2|bo|800|5|0|0|ngủ|0|0|0"}},
        {"my profile",
         40,
         join({Bytes().byte(1).utf("An").byte(1).int16(1991),
               Bytes().utf("đc").utf("cmnd").utf("st").utf("sđt").byte(-1)}),
         {"profile|An|1|1991|đc|cmnd|st|sđt|-1"}},
        {"my assets", 40, Bytes().byte(2).int32(1).utf("Nhẫn").utf("vàng").int32(3), {"asset|1|0|Nhẫn|vàng|3"}},
        {"my achievement",
         40,
         Bytes().byte(3).byte(5).int32(10).int32(20).int32(30).int32(40).int32(50),
         {"achievement|5|10|20|30|40|50"}},
        {"my avatars",
         1010,
         join({Bytes().int32(9).int32(1).int32(11).utf("Mèo").utf("dễ thương"),
               Bytes().int32(2).int32(12).utf("Chó").utf("")}),
         {"myAvatar|1|11|Mèo|dễ thương", "myAvatar|2|12|Chó|"}},
        {"avatar list",
         1201,
         Bytes().int32(4).int32(11).utf("Mèo").int32(500).int32(2).int32(30),
         {"avatarPage|4|2", "avatar|11|Mèo|500|2|30"}},
        {"all avatars",
         1203,
         Bytes().int32(6).int32(11).utf("Mèo").int32(500).int32(30),
         {"allAvatars|6", "avatar|11|Mèo|500|30"}},
        {"shop items",
         101,
         join({Bytes().byte(2).int32(7).byte(1).int32(3),
               Bytes().int32(1).utf("Mũ").int32(100).utf("đẹp").boolean(true)}),
         {"itemPage|7|1|3", "item|1|Mũ|100|đẹp|1"}},
        {"player's items",
         101,
         join({Bytes().byte(3).int32(7).byte(1).int32(2),
               Bytes().int32(90).int32(1).utf("Mũ").int32(100).utf("ngắn").boolean(true)}),
         {"userItemPage|7|1|2", "userItem|90|1|Mũ|100|ngắn|1"}},
        {"avatar detail",
         101,
         join({Bytes().byte(9).int32(90).int32(1).utf("Mũ").utf("2030-01-01"), Bytes().byte(2).boolean(true).int16(5),
               Bytes().int16(-3).int16(4).int32(7).int16(2)}),
         {"avatarDetail|90|1|Mũ|2030-01-01|2|1|5|-3|4|7|2"}},
        {"avatars in use",
         101,
         Bytes().byte(12).int32(0).byte(0).int32(1).int32(7).int32(2).int32(8),
         {"using|1|7", "using|2|8"}},
        {"gift categories",
         101,
         Bytes().byte(14).int32(1).utf("Hoa").int32(0).int32(2).utf("Quà").int32(1),
         {"giftCategory|1|Hoa|0", "giftCategory|2|Quà|1"}},
        {"gifts",
         101,
         Bytes().byte(15).int32(2).int32(4).int32(300).utf("Hoa hồng").int32(50),
         {"giftPage|2|4", "gift|300|Hoa hồng|50"}},
        {"event items",
         101,
         Bytes().byte(16).int32(1).int32(301).utf("Bánh").utf("ngon"),
         {"eventItem|1|301|Bánh|ngon|0"}},
        {"all items",
         101,
         Bytes().byte(21).int32(5).int32(3).utf("Giày").int32(300).utf("").boolean(false),
         {"allItems|5", "item|3|Giày|300||0"}},
        {"top-up channels",
         44,
         join({Bytes().byte(2).byte(6).utf("thẻ").utf("NAP").utf("8x85"),
               Bytes().byte(3).utf("ngân hàng").utf("").utf("")}),
         {"channel|2|6|thẻ|NAP|8x85", "channel|3|-1|ngân hàng||"}},
        {"my lottery numbers",
         1402,
         Bytes().int32(7).int32(1000).boolean(true).int32(8).int32(2000).boolean(false),
         {"lotto|7|1000|1", "lotto|8|2000|0"}},
        {"report categories",
         2703,
         Bytes().int32(0).utf("Gian lận").utf("Chửi bậy"),
         {"reportCategory|Gian lận", "reportCategory|Chửi bậy"}},
        {"transactions", 2703, Bytes().int32(2).utf("10:00").utf("+500"), {"transaction|10:00|+500"}},
    };
    for (const auto& c : cases) {
        logic.lines.clear();
        deliver(c.command, c.body);
        PortalEnvironment::runMainThread();
        EXPECT_EQ(logic.lines, c.lines) << c.name;
    }
}

// The texts the server asks to show in the one-button notice reach it unchanged.
TEST_F(ReplyRecords, ServerTextsReachTheOneButtonNotice) {
    struct NoticeCase {
        const char* name;
        int16_t command;
        Bytes body;
        const char* text;
    };
    const std::vector<NoticeCase> cases = {
        {"refused sign-in", 4, Bytes().utf("Sai mật khẩu"), "Sai mật khẩu"},
        {"server notice", 45, Bytes().byte(0).utf("Bảo trì lúc 2 giờ"), "Bảo trì lúc 2 giờ"},
        {"friend notice", 104, Bytes().byte(1).byte(1).utf("Xin chào"), "Xin chào"},
        {"second friend notice", 104, Bytes().byte(13).byte(4).utf("Thông báo"), "Thông báo"},
        {"gift refused", 101, Bytes().byte(7).byte(1).utf("Không tặng được"), "Không tặng được"},
    };
    for (const auto& c : cases) {
        UIController::closeDialog();
        deliver(c.command, c.body);
        PortalEnvironment::runMainThread();
        const auto dialog = UIController::currentDialog();
        ASSERT_TRUE(dialog) << c.name;
        EXPECT_EQ(dialog->message(), c.text) << c.name;
    }
}

} // namespace
} // namespace kavo::test
