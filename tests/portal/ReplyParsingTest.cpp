#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalMessageHandler.h"
#include "tests/portal/PortalTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace kavo::test {
namespace {

// Watches what the dispatcher delivers, without touching any screen.
class RecordingLogic : public GlobalLogicHandler {
public:
    std::vector<std::string> calls;
    std::vector<std::shared_ptr<RoomInfo>> rooms;
    std::vector<std::shared_ptr<Board>> boards;
    int8_t roomId = 0;
    int32_t maxBet = 0;
    KavoMessageList messages;
    std::vector<std::shared_ptr<Asset>> presents;
    std::vector<std::string> texts;
    int8_t gameType = 0;
    std::vector<int> invitation;
    std::shared_ptr<Player> me;

    // Records the call and keeps what it carried.
    template <typename T> void keep(T& slot, T value, const char* name) {
        calls.push_back(name);
        slot = std::move(value);
    }

    void onConnectFail() override { calls.push_back("connectFail"); }
    void onDisconnect() override { calls.push_back("disconnect"); }
    void onSetClientInfoOK() override { calls.push_back("clientInfoOK"); }
    void onLoginSuccess(std::shared_ptr<Player> player) override { keep(me, std::move(player), "loginSuccess"); }
    void onSetMoneyErrorWithError(const std::string& error) override {
        calls.push_back("moneyError");
        texts.push_back(error);
    }
    void onVersionWithInfo(const std::string& info, const std::string& url) override {
        keep(texts, {info, url}, "version");
    }
    void onSetGameTypeSuccessWithGame(int8_t type, bool showRoomList) override {
        keep(gameType, type, showRoomList ? "gameType+rooms" : "gameType");
    }
    void onRoomList(std::vector<std::shared_ptr<RoomInfo>> list) override { keep(rooms, std::move(list), "rooms"); }
    void onBoardListWithRoomId(int8_t room, std::vector<std::shared_ptr<Board>> list) override {
        calls.push_back("boards");
        roomId = room;
        boards = std::move(list);
    }
    void onLoadBoardList(std::vector<std::shared_ptr<Board>> list, int32_t bet) override {
        calls.push_back("pickBoards");
        boards = std::move(list);
        maxBet = bet;
    }
    void onInvitedJoinBoardWithGameId(int8_t gameId, int8_t room, int8_t board, const std::string& password,
                                      const std::string& message, int8_t levelRoom, int32_t inviterId) override {
        calls.push_back("invited");
        invitation = {gameId, room, board, levelRoom, inviterId};
        texts = {password, message};
    }
    void onChatFromWithMessage(std::shared_ptr<KavoMessage> message) override { keep(messages, {message}, "chat"); }
    void onChatOnRoomWithMessage(std::shared_ptr<KavoMessage> message) override {
        keep(messages, {message}, "roomChat");
    }
    void onListNewMessage(KavoMessageList list) override { keep(messages, std::move(list), "mail"); }
    void onPresentReceived(std::vector<std::shared_ptr<Asset>> list) override {
        keep(presents, std::move(list), "presents");
    }
};

class FakeGameHandler : public IGameMessageHandler {
public:
    bool isGameType(int8_t) const override { return true; }
    void onMessage(Message& message) override {
        received.push_back(message.commandId());
        if (message.commandId() == 99) throw std::runtime_error("bad move");
    }
    void onPostSetupGameType() override {}
    std::vector<int16_t> received;
};

class Replies : public ::testing::Test {
protected:
    PortalEnvironment env;
    RecordingLogic logic;

    Replies() { GlobalMessageHandler::getInstance().setGlobalLogicHandler(&logic); }
    ~Replies() override { PortalEnvironment::runMainThread(); }

    std::vector<std::string> callsAfterMainThread() {
        PortalEnvironment::runMainThread();
        return logic.calls;
    }
};

using Calls = std::vector<std::string>;

TEST_F(Replies, ClientInformationAcceptedOrRefused) {
    deliver(220, {0x01});
    deliver(220, {0x00});
    deliver(220, {}); // reads as 0: the same path as a failed connection
    EXPECT_EQ(logic.calls, (Calls{"clientInfoOK", "connectFail", "connectFail"}));
}

TEST_F(Replies, RoomListRowsBecomeRooms) {
    deliver(6, fromHex("01 05 02 00  02 00 03 01"));
    ASSERT_EQ(logic.rooms.size(), 2u);
    EXPECT_EQ(logic.rooms[1]->roomId(), 2);
    EXPECT_EQ(logic.rooms[1]->roomFree(), 0);
    EXPECT_EQ(logic.rooms[1]->roomWait(), 3);
    EXPECT_EQ(logic.rooms[1]->lv(), 1);
}

TEST_F(Replies, BoardListOfARoomLeavesTheRowsRoomZero) {
    const ByteVector body =
        Bytes().byte(4).byte(1).byte(2).boolean(true).int32(500).byte(2).byte(0).boolean(false).int32(0);
    deliver(7, body);
    EXPECT_EQ(logic.roomId, 4);
    ASSERT_EQ(logic.boards.size(), 2u);
    EXPECT_EQ(logic.boards[0]->roomId(), 0);
    EXPECT_EQ(logic.boards[0]->boardId(), 1);
    EXPECT_EQ(logic.boards[0]->nPlayer(), 2);
    EXPECT_EQ(logic.boards[0]->isPass(), 1);
    EXPECT_EQ(logic.boards[0]->money(), 500);
}

ByteVector pickRow(int8_t room, int8_t board, int32_t money) {
    Bytes row;
    row.byte(room).byte(board).boolean(true).int32(money).int32(money * 10).boolean(true).byte(3).byte(4).byte(0x7f);
    return row;
}

TEST_F(Replies, BoardSearchRowsCarryStakesSeatsAndState) {
    Bytes body;
    body.int32(50000).int32(2).raw(pickRow(1, 7, 1000)).raw(pickRow(2, 8, 2000));
    deliver(2700, body);
    EXPECT_EQ(logic.maxBet, 50000);
    ASSERT_EQ(logic.boards.size(), 2u);
    const Board& b = *logic.boards[1];
    EXPECT_EQ(b.roomId(), 2);
    EXPECT_EQ(b.boardId(), 8);
    EXPECT_EQ(b.isPass(), 1);
    EXPECT_EQ(b.money(), 2000);
    EXPECT_EQ(b.maxBetMoney(), 20000);
    EXPECT_EQ(b.isPlaying(), 1);
    EXPECT_EQ(b.nPlayer(), 3);
    EXPECT_EQ(b.maxPlayer(), 4);
}

// Every prefix of a list reply parses without a fault and keeps only whole rows.
TEST_F(Replies, CutListRepliesStopAtTheLastWholeRow) {
    Bytes rooms;
    for (int i = 0; i < 3; ++i)
        rooms.raw({uint8_t(i), 1, 2, 3});
    for (size_t n = 0; n <= rooms.data().size(); ++n) {
        deliver(6, prefix(rooms, n));
        EXPECT_EQ(logic.rooms.size(), n / 4) << n;
    }

    Bytes boards;
    boards.byte(9);
    for (int i = 0; i < 3; ++i)
        boards.byte(int8_t(i)).byte(1).boolean(false).int32(i);
    for (size_t n = 1; n <= boards.data().size(); ++n) {
        deliver(7, prefix(boards, n));
        EXPECT_EQ(logic.boards.size(), (n - 1) / 7) << n;
    }

    Bytes picks;
    picks.int32(9).int32(3);
    for (int i = 0; i < 3; ++i)
        picks.raw(pickRow(1, int8_t(i), i));
    for (size_t n = 0; n <= picks.data().size(); ++n) {
        logic.boards.clear();
        deliver(2700, prefix(picks, n));
        EXPECT_EQ(logic.boards.size(), n < 8 ? 0 : (n - 8) / 15) << n;
    }
}

Bytes mailRow(int32_t type, int64_t time, int32_t from, const std::string& name, const std::string& text) {
    Bytes row;
    row.int32(type).int64(time).int32(from).utf(name).utf(text);
    return row;
}

TEST_F(Replies, MailboxBatchArrivesNewestFirst) {
    auto older = std::make_shared<KavoMessage>();
    older->setType(4);
    UIController::setListMessage({older});

    Bytes body;
    body.raw(mailRow(1, 10, 1, "AN", "a"))
        .raw(mailRow(4, 20, 2, "BÌNH", "b"))
        .raw(mailRow(2, 0x100000000LL, 3, "c", "c"));
    deliver(1701, body);

    ASSERT_EQ(logic.calls, Calls{"mail"});
    ASSERT_EQ(logic.messages.size(), 3u);
    EXPECT_EQ(logic.messages[0]->type(), 2);
    EXPECT_EQ(logic.messages[0]->time(), 0x100000000LL);
    EXPECT_EQ(logic.messages[1]->type(), 4);
    EXPECT_EQ(logic.messages[1]->fromName(), "bình");
    EXPECT_EQ(logic.messages[2]->type(), 1);
    EXPECT_EQ(logic.messages[2]->fromName(), "an");
    EXPECT_EQ(logic.messages[2]->isRequestAddFriend(), 0);
    // The stored mail is left to the main thread.
    EXPECT_EQ(UIController::listMessage(), KavoMessageList{older});
}

TEST_F(Replies, EmptyMailboxDeliversNothing) {
    deliver(1701, {});
    EXPECT_TRUE(logic.calls.empty());
}

TEST_F(Replies, CutMailboxDeliversOnlyWholeRows) {
    Bytes body;
    std::vector<size_t> rowEnds;
    for (int i = 0; i < 3; ++i) {
        body.raw(mailRow(1, i, i, "người " + std::to_string(i), "tin nhắn"));
        rowEnds.push_back(body.data().size());
    }
    for (size_t n = 0; n <= body.data().size(); ++n) {
        logic.calls.clear();
        logic.messages.clear();
        deliver(1701, prefix(body, n));
        size_t whole = 0;
        while (whole < rowEnds.size() && rowEnds[whole] <= n)
            ++whole;
        EXPECT_EQ(logic.messages.size(), whole) << n;
        EXPECT_EQ(logic.calls.size(), whole ? 1u : 0u) << n;
    }
}

TEST_F(Replies, PrivateAndRoomChatLowerTheSenderName) {
    deliver(5, Bytes().int32(42).utf("ĐỨC Anh").utf("chào"));
    ASSERT_EQ(logic.messages.size(), 1u);
    EXPECT_EQ(logic.messages[0]->fromID(), 42);
    EXPECT_EQ(logic.messages[0]->fromName(), "đức anh");
    EXPECT_EQ(logic.messages[0]->message(), "chào");
    EXPECT_EQ(logic.messages[0]->type(), 0);
    EXPECT_EQ(logic.messages[0]->time(), 0);

    deliver(1707, Bytes().int64(0x123456789LL).int32(7).utf("Bo").utf("hi"));
    EXPECT_EQ(logic.calls.back(), "roomChat");
    EXPECT_EQ(logic.messages[0]->time(), 0x123456789LL);
    EXPECT_EQ(logic.messages[0]->fromName(), "bo");
}

TEST_F(Replies, ConfirmedGameTypeIsSetOnTheReaderThreadAndTheBoardListFollows) {
    deliver(61, {0x0d});
    EXPECT_EQ(logic.calls, Calls{"gameType+rooms"});
    EXPECT_EQ(logic.gameType, 13);
    EXPECT_EQ(UIController::gameType(), 0); // the board list's part waits for the main thread
    PortalEnvironment::runMainThread();
    EXPECT_EQ(UIController::gameType(), 13);
}

TEST_F(Replies, RefusedSignInShowsTheReasonAndDisconnects) {
    deliver(4, utf("Sai mật khẩu"));
    EXPECT_EQ(env.client().closes(), 1);
    PortalEnvironment::runMainThread();
    EXPECT_EQ(openDialogCode(), -1);
}

TEST_F(Replies, StakeErrorAndVersionNotices) {
    deliver(10, utf("Không đủ tiền"));
    deliver(48, Bytes().utf("Bản mới").utf("kavo.vn/app"));
    EXPECT_EQ(logic.calls, (Calls{"moneyError", "version"}));
    EXPECT_EQ(logic.texts, (std::vector<std::string>{"Bản mới", "kavo.vn/app"}));
}

TEST_F(Replies, ServerNoticesBySubCommand) {
    deliver(45, Bytes().byte(2).utf("info").utf("url"));
    deliver(45, Bytes().byte(4).utf("ignored"));
    deliver(45, Bytes().byte(-1).utf("ignored"));
    deliver(45, {});
    deliver(45, Bytes().byte(0).utf("notice"));
    deliver(45, Bytes().byte(1).utf("event"));
    EXPECT_EQ(callsAfterMainThread(), Calls{"version"});

    Bytes presents;
    presents.byte(3).int32(11).utf("Hoa").int32(12).utf("Bánh");
    for (size_t n = 1; n <= presents.data().size(); ++n) {
        logic.presents.clear();
        deliver(45, prefix(presents, n));
        PortalEnvironment::runMainThread();
        EXPECT_EQ(logic.presents.size(), n == presents.data().size() ? 2u : (n >= 10 ? 1u : 0u)) << n;
    }
    EXPECT_EQ(logic.presents[1]->assetId(), 12);
    EXPECT_EQ(logic.presents[1]->name(), "Bánh");
}

// Whether an invitation is welcome (invitations on, none being asked) is decided on
// the main thread, where the switch and the open dialog change: the reader passes each on.
TEST_F(Replies, EveryInvitationIsReadWholeAndPassedOn) {
    const ByteVector body = Bytes().byte(3).byte(2).byte(9).utf("pw").utf("Vào chơi").byte(1).int32(77);
    deliver(74, body);
    EXPECT_EQ(logic.calls, Calls{"invited"});
    EXPECT_EQ(logic.invitation, (std::vector<int>{3, 2, 9, 1, 77}));
    EXPECT_EQ(logic.texts, (std::vector<std::string>{"pw", "Vào chơi"}));

    UIController::setInviting(false);
    deliver(74, body);
    UIController::setInviting(true);
    UIController::startCancelOkDlg("Vào chơi", "Không", "OK", {UIController::kActionInvitation});
    deliver(74, body);
    EXPECT_EQ(logic.calls, (Calls{"invited", "invited", "invited"}));
}

TEST_F(Replies, AcceptedPushTokenIsForgotten) {
    platform::UserDefaults::standard().setString("<ab>", "PNDT");
    deliver(2601);
    PortalEnvironment::runMainThread();
    EXPECT_TRUE(platform::UserDefaults::standard().objectForKey("PNDT").isNull());
}

TEST_F(Replies, TextListWithAnOversizedCountIsReadSafely) {
    deliver(55, Bytes().byte(-56).utf("one"));
    deliver(55, Bytes().byte(2).raw({0x7f, 0xff, 0x41}));
    deliver(29, {1, 2, 3});
    deliver(76, {});
    EXPECT_TRUE(logic.calls.empty());
}

TEST_F(Replies, SignInBuildsThePlayerAndAsksForTheRest) {
    platform::UserDefaults::standard().setString("An", "KAVO_LOGIN_USERNAME");
    deliver(3, Bytes().int32(1234).int64(0x1'0000'0005LL).int16(17).int32(250));

    ASSERT_EQ(logic.calls, Calls{"loginSuccess"});
    const auto me = logic.me;
    EXPECT_EQ(me->IDDB(), 1234);
    EXPECT_EQ(me->money(), 0x1'0000'0005LL);
    EXPECT_EQ(me->avatar(), 17);
    EXPECT_EQ(me->level(), (LevelDetail{2, 150, 200, 75}));
    EXPECT_EQ(me->name(), "An");
    EXPECT_EQ(env.client().commands(), (std::vector<int16_t>{221, 72, 2800}));
    EXPECT_EQ(toHex(env.client().sent()[1].body), "0b");
    // The reader thread only parsed: the player is taken on the main thread.
    EXPECT_NE(UIController::myInfo(), me);
}

TEST_F(Replies, OtherCommandsGoToTheGameHandlerAndItsFailuresStayThere) {
    deliver(49, {1, 2}); // no game handler yet: dropped
    auto game = std::make_shared<FakeGameHandler>();
    GlobalMessageHandler::getInstance().setGameMessageHandler(game);
    deliver(99, {});
    deliver(49, {1, 2});
    deliver(104, {5}); // a portal reply not parsed yet: never a game's
    deliver(2302, {});
    EXPECT_EQ(game->received, (std::vector<int16_t>{99, 49}));
}

// A reply of one record (or a list's head) cut anywhere delivers, shows and sends
// nothing. The whole replies are read in the tests above.
TEST_F(Replies, CutRecordRepliesAreDropped) {
    const std::vector<std::pair<int16_t, ByteVector>> replies = {
        {3, Bytes().int32(1234).int64(5).int16(17).int32(250)},
        {4, utf("x")},
        {5, Bytes().int32(42).utf("a").utf("b")},
        {7, {4}},
        {10, utf("x")},
        {45, Bytes().byte(0).utf("x")},
        {45, Bytes().byte(2).utf("a").utf("b")},
        {48, Bytes().utf("a").utf("b")},
        {74, Bytes().byte(3).byte(2).byte(9).utf("pw").utf("m").byte(1).int32(77)},
        {1707, Bytes().int64(1).int32(7).utf("a").utf("b")},
        {2700, Bytes().int32(9).int32(3)},
    };
    UIController::closeDialog(); // one an earlier test left
    for (const auto& [command, body] : replies) {
        for (size_t n = 0; n < body.size(); ++n) {
            deliver(command, prefix(body, n));
            EXPECT_EQ(callsAfterMainThread(), Calls{}) << command << " cut at " << n;
            EXPECT_FALSE(UIController::currentDialog()) << command << " cut at " << n;
        }
    }
    EXPECT_TRUE(env.client().commands().empty());
    EXPECT_EQ(env.client().closes(), 0);
}

} // namespace
} // namespace kavo::test
