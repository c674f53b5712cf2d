// The Phom replies read from bytes and handed to the table screen: which screen call
// each command reaches, the table checks, the caps, the bonus, kick and leave flows.
#include "app/UIController.h"
#include "games/phom/PhomNewLogicHandler.h"
#include "games/phom/PhomNewMessageHandler.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/support/CallLine.h"
#include "tests/support/StateWaits.h"
#include "tests/table/TableTestSupport.h"

#include <atomic>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace kavo::test {
namespace {

template <class List> std::string join(const List& list, size_t count) {
    std::ostringstream out;
    out << "[";
    for (size_t i = 0; i < count && i < list.size(); ++i)
        out << (i ? " " : "") << int(list[i]);
    out << "]";
    return out.str();
}

// A Phom table that notes each event the logic handler delivers instead of acting.
class RecordingPhom : public PhomNewView {
public:
    void note(const std::string& line) {
        std::lock_guard lock(mutex);
        calls.push_back(line);
    }
    std::vector<std::string> taken() {
        std::lock_guard lock(mutex);
        return std::exchange(calls, {});
    }
    void start(int interval, const std::vector<int8_t>& cards, int32_t first, int32_t firstHa) override {
        note(line("start", interval, join(cards, cards.size()), first, firstHa));
    }
    void onFire(int32_t by, int32_t next, int8_t card, int slot) override { note(line("fire", by, next, card, slot)); }
    void onEatCard(bool isEat, int numEat, int32_t firHa, int nCard) override {
        note(line("eat", isEat, numEat, firHa, nCard));
    }
    void onSkipPlayer(int32_t next, int32_t firHa) override { note(line("skip", next, firHa)); }
    void onGetCard(int8_t card) override { note(line("get", card)); }
    void moveErrorWithInfo(const std::string& info) override { note(line("error", info)); }
    void playerLeaveWithId(int32_t id) override {
        note(line("leave", id));
        PhomNewView::playerLeaveWithId(id);
    }
    void onHaPhom(bool isHa, const std::array<int8_t, 12>& cards, bool isU, const std::array<int32_t, 4>& order,
                  int32_t curId) override {
        note(line("haPhom", isHa, join(cards, 12), isU, join(order, 4), curId));
    }
    void onAddCard(int32_t user, int8_t cardId, const std::vector<int32_t>& cards, int len) override {
        note(line("addCard", user, cardId, join(cards, cards.size()), len));
    }
    void onUWithUserID(int32_t user, int kind, const std::array<int8_t, 12>& cards, int len) override {
        note(line("u", user, kind, join(cards, 12), len));
    }
    void onDenBai(int32_t win, int32_t order) override { note(line("denBai", win, order)); }
    void onOnceWin(int32_t money) override { note(line("onceWin", money)); }
    void onFinish(int32_t score, const std::vector<int32_t>& cards, int32_t user, int count) override {
        note(line("finish", score, join(cards, cards.size()), user, count));
    }
    void onPlaying(int interval, int32_t cur, int32_t first, const PhomPlaying& playing) override {
        std::string rows;
        for (size_t k = 0; k < 4; ++k)
            rows +=
                " " + std::to_string(playing.userIds[k]) + join(playing.cardShow[k], 4) + join(playing.cardEat[k], 3);
        note("playing " + std::to_string(interval) + " " + std::to_string(cur) + " " + std::to_string(first) + rows);
    }
    void setMoneyOnBoard(int32_t money) override { note(line("stake", money)); }
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t money) override {
        note(line("money", player->IDDB(), int32_t(money)));
    }

    std::mutex mutex;
    std::vector<std::string> calls;
};

std::shared_ptr<TienLenPlayer> player(int32_t id, const std::string& name, int64_t money = 5000) {
    return playerRecord<TienLenPlayer>(id, name, money);
}

Bytes rb() {
    return Bytes().byte(2).byte(5);
}

Bytes cards(Bytes bytes, int count, int first = 0) {
    for (int i = 0; i < count; ++i)
        bytes.byte(int8_t(first + i));
    return bytes;
}

class PhomTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(7, "me", 100000);
        UIController::setMyInfo(me);
        UIController::setGameType(PhomNewMessageHandler::kGameType);
    }
    // A recording table at room 2, board 5: me, an (8), binh (9), cuong (10).
    std::shared_ptr<RecordingPhom> recordingTable() {
        auto table = std::make_shared<RecordingPhom>();
        table->setRoomId(2);
        table->setBoardId(5);
        GameController::setTableView(table);
        push(table);
        table->resetView();
        table->setupPlayersWithRoom(2, 5, 7, 100, {me, player(8, "an"), player(9, "binh"), player(10, "cuong")});
        client.clear();
        return table;
    }
    static void deliver(int16_t command, const Bytes& body) {
        Message message = body.message(command);
        PhomNewMessageHandler::getInstance()->onMessage(message);
        runMainThread();
    }
    // The real screen, joined through the handler: me, an (8, right), binh (9, top), cuong (10, left).
    static std::shared_ptr<PhomNewView> joinedTable() {
        Bytes join = Bytes().byte(2).byte(5).int32(7).int32(100);
        for (const auto& [id, name] : {std::pair{7, "me"}, {8, "an"}, {9, "binh"}, {10, "cuong"}})
            join.int32(id).utf(name).int64(50000).int16(1).int32(10).boolean(true);
        Message message = join.message(8);
        PhomNewMessageHandler::getInstance()->onMessage(message);
        runMainThread();
        platform::RunLoop::main().advance(1.0);
        return GameController::getPhomNewView();
    }
    std::shared_ptr<TienLenPlayer> me;
};

TEST_F(PhomTable, EveryReplyReachesItsScreenCallWithTheListsCapped) {
    auto table = recordingTable();
    struct Case {
        int16_t command;
        Bytes body;
        std::string call;
    };
    Bytes playing = rb().byte(20).int32(8).int32(9);
    for (int k = 0; k < 5; ++k) {
        playing.int32(8 + k).byte(5);
        playing = cards(playing, 5, 10 * k);
        playing.byte(4);
        playing = cards(playing, 4, 10 * k + 5);
    }
    const Case cases[] = {
        {20, cards(rb().byte(30).int32(7).int32(8), 3, 4), "start 30 [4 5 6] 7 8"},
        {21, rb().int32(8).int32(7).byte(13).byte(2), "fire 8 7 13 2"},
        {49, rb().int32(7).int32(8), "skip 7 8"},
        {64, rb().int32(9), "eat 1 2 9 0"},
        {63, rb().int32(8).byte(40), "get 40"},
        {65, cards(rb(), 14, 1), "haPhom 1 [1 2 3 4 5 6 7 8 9 10 11 12] 0 [-1 -1 -1 -1] 0"},
        {65, cards(rb(), 4, 1), "haPhom 1 [1 2 3 4 -1 -1 -1 -1 -1 -1 -1 -1] 0 [-1 -1 -1 -1] 0"},
        {66, cards(rb().int32(8).byte(1), 14, 1), "u 8 1 [1 2 3 4 5 6 7 8 9 10 11 12] 12"},
        {67, cards(rb().int32(9).byte(12), 14, 1), "addCard 9 12 [1 2 3 4 5 6 7 8 9 10 11 12] 12"},
        {67, rb().int32(9).byte(12), "addCard 9 12 [] 0"},
        {69, rb().int32(8).int32(500), "denBai 8 500"},
        {70, rb().int32(300), "onceWin 300"},
        {51, cards(rb().int32(8).int32(12).int32(77).byte(3), 3, 20), "finish 12 [20 21 22] 8 3"},
        {62, playing,
         "playing 20 8 9 8[0 1 2 3][5 6 7] 9[10 11 12 13][15 16 17] 10[20 21 22 23][25 26 27] 11[30 31 32 33][35 36 "
         "37]"},
        {54, Bytes().byte(5).byte(2).utf("sai"), "error sai"},
        {19, rb().int32(500), "stake 500"},
    };
    for (const auto& c : cases) {
        deliver(c.command, c.body);
        EXPECT_EQ(table->taken(), std::vector<std::string>{c.call}) << "command " << c.command;
    }
    // 68 from the server, and commands of other games, change nothing.
    for (int16_t other : {68, 10, 13, 15, 50, 53, 60})
        deliver(other, cards(rb(), 6));
    EXPECT_TRUE(table->taken().empty());
}

TEST_F(PhomTable, EventsOfAnotherTableAreDroppedButADrawStillTurnsReadyOff) {
    auto table = recordingTable();
    deliver(21, Bytes().byte(2).byte(6).int32(8).int32(7).byte(13).byte(2));
    deliver(54, Bytes().byte(2).byte(5).utf("room first"));
    deliver(65, cards(Bytes().byte(3).byte(5), 3));
    deliver(20, cards(Bytes().byte(5).byte(2).byte(30).int32(7).int32(7), 3));
    EXPECT_TRUE(table->taken().empty());
    ASSERT_FALSE(table->disableReady());
    deliver(63, Bytes().byte(2).byte(6).int32(8).byte(40));
    EXPECT_TRUE(table->disableReady());
    EXPECT_TRUE(table->taken().empty());
    // A command cut short reaches nobody.
    deliver(21, rb().int32(8).int32(7).byte(13));
    EXPECT_TRUE(table->taken().empty());
}

TEST_F(PhomTable, ABonusOfZeroIsIgnoredAndMineIsAddedBeforeTheNameIsLookedUp) {
    auto table = recordingTable();
    deliver(52, rb().int32(7).int32(0).utf("nothing"));
    EXPECT_EQ(me->money(), 100000);
    deliver(52, Bytes().byte(2).byte(6).int32(7).int32(500).utf("other board"));
    EXPECT_EQ(me->money(), 100000);
    deliver(52, rb().int32(99).int32(500).utf("not here"));
    EXPECT_TRUE(table->taken().empty());
    deliver(52, rb().int32(8).int32(300).utf("an wins"));
    EXPECT_EQ(table->taken(), std::vector<std::string>{"money 8 300"});
    EXPECT_EQ(me->money(), 100000);
    // My record is the one the table holds: the bonus is added once, before the lookup.
    deliver(52, rb().int32(7).int32(500).utf("me"));
    EXPECT_EQ(me->money(), 100500);
    EXPECT_EQ(table->taken(), std::vector<std::string>{"money 7 500"});
}

TEST_F(PhomTable, AKickEmptiesTheSeatOrTakesMeBackBeneathTheTable) {
    auto table = recordingTable();
    deliver(11, rb().int32(9));
    EXPECT_EQ(table->getSeatFromID(9), -1);
    EXPECT_EQ(top(), table);
    EXPECT_EQ(dialogText(), "");

    // Kicked while another screen is pushed above the table.
    auto above = std::make_shared<KavoViewController>();
    push(above);
    deliver(11, rb().int32(7));
    runMainThread();
    EXPECT_NE(top(), table);
    EXPECT_NE(top(), above);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

TEST_F(PhomTable, AKickOfMeWithNoTableInTheStackOnlyShowsTheDialog) {
    auto table = std::make_shared<RecordingPhom>();
    table->setRoomId(2);
    table->setBoardId(5);
    GameController::setTableView(table);
    table->resetView();
    table->setupPlayersWithRoom(2, 5, 7, 100, {me, player(8, "an")});
    const auto before = top();
    deliver(11, rb().int32(7));
    EXPECT_EQ(top(), before);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

TEST_F(PhomTable, TheReaderWaitsUntilALeaveIsApplied) {
    auto table = recordingTable();
    std::vector<std::string> seenByReader;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        Message leave = Bytes().int32(9).int32(7).message(14);
        PhomNewMessageHandler::getInstance()->onMessage(leave);
        seenByReader = table->taken();
        done = true;
    });
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return done.load(); }, kavo::test::kStateWait));
    reader.join();
    EXPECT_EQ(seenByReader, std::vector<std::string>{"leave 9"});
    EXPECT_EQ(table->getSeatFromID(9), -1);
}

size_t shown(const PhomNewView& table) {
    size_t count = 0;
    for (const auto& card : table.playersCards(0))
        count += card->isHidden() ? 0 : 1;
    return count;
}

TEST_F(PhomTable, LeavingTheTableStopsTheDealHalfway) {
    auto table = joinedTable();
    ASSERT_TRUE(table);
    deliver(20, cards(rb().byte(30).int32(8).int32(8), 10, 12));
    platform::RunLoop::main().advance(0.25);
    const size_t dealt = shown(*table);
    EXPECT_GE(dealt, 2u);
    EXPECT_LT(dealt, 10u);
    table->onLeftTable();
    platform::RunLoop::main().advance(3.0);
    EXPECT_EQ(shown(*table), dealt);
    EXPECT_TRUE(table->waitingChiaBai());
}

TEST_F(PhomTable, AnEatKeepsAFullEatenRowAndAnEaterWithoutASeatChangesNothing) {
    auto table = joinedTable();
    ASSERT_TRUE(table);
    deliver(20, cards(rb().byte(30).int32(8).int32(8), 10, 12));
    platform::RunLoop::main().advance(2.5);
    deliver(21, rb().int32(9).int32(10).byte(3).byte(0));
    EXPECT_EQ(table->cardShow()[2][0], 3);
    table->showCardEat()[3] = {40, 41, 42};
    deliver(64, rb().int32(10));
    EXPECT_EQ(table->cardShow()[2][0], -1) << "the eaten card left binh's row";
    EXPECT_EQ(table->showCardEat()[3], (std::array<int, 3>{40, 41, 42}));

    deliver(21, rb().int32(10).int32(99).byte(4).byte(0));
    const auto rows = table->cardShow();
    const auto eaten = table->showCardEat();
    deliver(64, rb().int32(10));
    EXPECT_EQ(table->cardShow(), rows);
    EXPECT_EQ(table->showCardEat(), eaten);
}

TEST_F(PhomTable, RandomBodiesCrashNothingAndTheNextValidReplyStillApplies) {
    std::mt19937 random(13);
    for (int16_t command : {9, 11, 12, 14, 16, 19, 20, 21, 49, 51, 52, 54, 62, 63, 64, 65, 66, 67, 69, 70, 103, 8}) {
        auto table = recordingTable();
        const int rounds = command == 8 ? 20 : 200;
        for (int round = 0; round < rounds; ++round) {
            std::vector<uint8_t> body(random() % 48);
            for (auto& byte : body)
                byte = uint8_t(random());
            if (body.size() >= 2 && round % 2) body[0] = 2, body[1] = 5; // often this table
            Message message(command, body);
            PhomNewMessageHandler::getInstance()->onMessage(message);
        }
        runMainThread();
        auto current = recordingTable();
        deliver(54, Bytes().byte(5).byte(2).utf("ok"));
        EXPECT_EQ(current->taken(), std::vector<std::string>{"error ok"}) << "after command " << command;
    }
}

} // namespace
} // namespace kavo::test

namespace kavo::test {
namespace {

std::string startTitle(const PhomNewView& table) {
    return table.btnStart()->isHidden() ? "" : table.btnStart()->titleForState(platform::ui::ControlState::Normal);
}

TEST_F(PhomTable, TheReadyPauseAndTheMoneyMuteEndWithTheTable) {
    auto table = joinedTable();
    ASSERT_TRUE(table);
    table->stopGame();
    EXPECT_EQ(startTitle(*table), TableTest::text("KAVO_continuee"));
    // The ready offer comes 0.1 s later, on a timer.
    table->resetReady();
    EXPECT_FALSE(table->playerWithId(8)->isReady());
    platform::RunLoop::main().advance(0.05);
    EXPECT_EQ(startTitle(*table), TableTest::text("KAVO_continuee"));
    platform::RunLoop::main().advance(0.1);
    EXPECT_EQ(startTitle(*table), TableTest::text("KAVO_ready"));
    // A reset in between: the pending ready does nothing.
    table->stopGame();
    table->resetReady();
    table->reset();
    platform::RunLoop::main().advance(0.5);
    EXPECT_EQ(startTitle(*table), TableTest::text("KAVO_continuee"));

    table->addHandAmount(8, 700);
    EXPECT_TRUE(table->waitToPlayNextSound());
    EXPECT_EQ(table->playerWithId(8)->money(), 50700);
    table->reset();
    EXPECT_FALSE(table->waitToPlayNextSound());
    table->addHandAmount(8, -200);
    EXPECT_EQ(table->playerWithId(8)->money(), 50500);
    platform::RunLoop::main().advance(1.6);
    EXPECT_FALSE(table->waitToPlayNextSound());
}

TEST_F(PhomTable, EventsForPlayersWithoutASeatChangeNoRow) {
    auto table = joinedTable();
    ASSERT_TRUE(table);
    deliver(12, Bytes().byte(4).int32(1234).utf("giang").int64(700).int16(2).int32(40));
    EXPECT_EQ(table->getSeatFromID(1234), -1) << "place 4 of four is dropped";
    table->setCurrentPlayer(1234);
    std::array<int8_t, 12> laid;
    laid.fill(-1);
    laid[0] = 4;
    laid[1] = 5;
    laid[2] = 6;
    table->onHaPhom(true, laid, false, {-1, -1, -1, -1}, 0);
    table->onAddCard(1234, 7, {7}, 1);
    table->onUWithUserID(1234, 0, laid, 3);
    table->onFinish(12, {1, 2}, 1234, 2);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(table->showHaPhom()[size_t(s)],
                  (std::array<int, 12>{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
        EXPECT_TRUE(table->playersPhomCards(s).empty());
        EXPECT_TRUE(table->seat(s).point->isHidden());
    }
    // Cards outside the deck are not laid either.
    table->setCurrentPlayer(9);
    laid[1] = 60;
    table->onHaPhom(true, laid, false, {-1, -1, -1, -1}, 0);
    EXPECT_EQ(table->showHaPhom()[2], (std::array<int, 12>{4, -1, 6, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(PhomTable, AFinishOfAPlayerMovesMoneyAndExperienceAndAKickGoesToTheServer) {
    auto table = joinedTable();
    ASSERT_TRUE(table);
    client.clear();
    table->finishWithWho(8, 1, 500, -20);
    auto an = std::dynamic_pointer_cast<TienLenPlayer>(table->playerWithId(8));
    EXPECT_EQ(an->money(), 50500);
    EXPECT_EQ(an->exp(), 0);
    EXPECT_EQ(an->finishPosition(), 1);
    EXPECT_FALSE(an->isReady());
    EXPECT_EQ(table->seat(1).btnMoney->titleForState(platform::ui::ControlState::Normal), "50,500 Zel");

    table->setMoneyWithMoney(300);
    EXPECT_EQ(table->money(), 300);
    EXPECT_FALSE(table->playerWithId(9)->isReady());

    table->kickPlayer(9);
    EXPECT_TRUE(client.sentOnce(11, Bytes().byte(2).byte(5).int32(9).data()));
}

} // namespace
} // namespace kavo::test
