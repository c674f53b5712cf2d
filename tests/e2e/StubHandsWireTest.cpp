// Hand after hand at the portal stub's tables over a plain wire connection: each hand
// ends with every player's money at the joined board's stake, the stub players get
// ready again and the owner's next start deals again. The stubs' pauses are shortened
// through their environment settings; nothing here waits on a clock of its own.
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace kavo::test {
namespace {

constexpr int32_t kLan = 4001;
constexpr int32_t kMinh = 4002;
constexpr int32_t kHoa = 4003;

struct Bonus {
    int32_t amount;
    std::string description;
};

// The 52s of a hand, by player (room, board, player, amount, description).
class HandsWire : public StubWire {
protected:
    using StubWire::StubWire;

    std::map<int32_t, Bonus> bonuses(size_t count, int8_t board) {
        std::map<int32_t, Bonus> byPlayer;
        for (size_t i = 0; i < count; ++i) {
            auto bonus = next(52);
            if (!bonus) break;
            EXPECT_EQ(bonus->readByte(), 1) << "room";
            EXPECT_EQ(bonus->readByte(), board);
            const int32_t who = bonus->readInt();
            const int32_t amount = bonus->readInt();
            byPlayer[who] = {amount, bonus->readUTF()};
        }
        return byPlayer;
    }
    // The players who got ready (16, ready) among the next `count` 16s.
    std::set<int32_t> readyAgain(size_t count) {
        std::set<int32_t> ready;
        for (size_t i = 0; i < count; ++i) {
            auto message = next(16);
            if (!message) break;
            const int32_t who = message->readInt();
            if (message->readBool()) ready.insert(who);
        }
        return ready;
    }
    // Every amount of `money` is a win of `win` or a loss of `stake`, and they add up to nothing.
    static void expectSettled(const std::map<int32_t, Bonus>& money, int32_t win, int32_t stake) {
        int32_t total = 0;
        for (const auto& [who, bonus] : money) {
            total += bonus.amount;
            EXPECT_TRUE(bonus.amount == win || bonus.amount == -stake) << who << ": " << bonus.amount;
        }
        EXPECT_EQ(total, 0) << "what one wins the others lose";
    }
};

// Tien Len (3) and Tien Len MB (12) share the stub's table.
class TienLenHands : public HandsWire, public ::testing::WithParamInterface<int8_t> {
protected:
    TienLenHands() : HandsWire({{"KAVO_STUB_TIENLEN_PAUSE", "0.05"}}) {}

    // Passes at every turn of mine until the game is over (the stub plays my lowest
    // card when I may not pass); false when the end never came.
    [[nodiscard]] bool passUntilTheEnd(int32_t me) {
        for (int moves = 0; moves < 200; ++moves) {
            auto message = nextOf({21, 49, 50});
            if (!message) return false;
            if (message->commandId() == 50) return true;
            message->readDataWithIntLength(6); // room, board, mover
            if (message->commandId() == 21) {
                const int count = message->readByte();
                for (int i = 0; i < count; ++i)
                    message->readByte();
            }
            if (message->readInt() == me) send(49, {1, 1});
        }
        return false;
    }
};

TEST_P(TienLenHands, TheWinnerTakesTheBoardsStakeFromEachPlayerAndTheNextGameIsDealt) {
    const int32_t me = signInAndChoose("an", GetParam());
    ASSERT_NE(me, 0);
    EXPECT_EQ(stakeAtJoin(1), 100) << "board 1 of the list plays for 100";
    ASSERT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));

    for (int game = 1; game <= 2; ++game) {
        SCOPED_TRACE("game " + std::to_string(game));
        std::map<int32_t, int64_t> before;
        for (int32_t id : {me, kLan, kMinh})
            before[id] = amountOf(id);
        send(20, {1, 1});
        auto dealt = next(20);
        ASSERT_TRUE(dealt);
        dealt->readDataWithIntLength(3); // room, board, turn time
        std::vector<uint8_t> hand;
        for (int i = 0; i < 13; ++i)
            hand.push_back(uint8_t(dealt->readByte()));
        if (dealt->readInt() == me) {
            // The first game: I hold the three of spades and open with it.
            ASSERT_EQ(game, 1);
            send(21, Bytes().byte(1).byte(1).byte(1).byte(0).data());
        }
        ASSERT_TRUE(passUntilTheEnd(me));
        auto money = bonuses(3, 1);
        ASSERT_EQ(money.size(), 3u);
        int winners = 0;
        for (const auto& [who, bonus] : money) {
            if (bonus.amount > 0) {
                ++winners;
                EXPECT_EQ(bonus.amount, 200) << "the stake of each other player";
                EXPECT_EQ(bonus.description, "Thắng");
            } else {
                EXPECT_EQ(bonus.amount, -100);
                EXPECT_EQ(bonus.description, "Thua");
            }
        }
        EXPECT_EQ(winners, 1);
        EXPECT_LT(money[me].amount, 0) << "I passed throughout";
        EXPECT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh})) << "the stub players are ready again";
        // Every seat's money moved, the stub players' as much as mine.
        for (const auto& [who, bonus] : money)
            EXPECT_EQ(amountOf(who), before[who] + bonus.amount) << who;
    }
}

TEST_P(TienLenHands, ABoardCreatedForTwoPlayersSeatsTheOwnerAndOneStubPlayerAndDealsToThem) {
    const int32_t me = signInAndChoose("an", GetParam());
    ASSERT_NE(me, 0);
    send(2702, Bytes().int32(0).int32(300).byte(2).utf("").data());
    auto joined = next(8);
    ASSERT_TRUE(joined) << "create opens the new board";
    EXPECT_EQ(joined->readByte(), 1);
    const int8_t board = joined->readByte();
    EXPECT_EQ(board, 7);
    EXPECT_EQ(joined->readInt(), me) << "owner";
    EXPECT_EQ(joined->readInt(), 300) << "stake";
    // Place 0: me, place 1: one stub player (id, name, money, level, score, ready); places 2
    // and 3 empty.
    for (const auto& [id, name] : {std::pair{me, "an"}, std::pair{kLan, "lan"}}) {
        EXPECT_EQ(joined->readInt(), id);
        EXPECT_EQ(joined->readUTF(), name);
        joined->readDataWithIntLength(15); // money, avatar, experience, ready
    }
    EXPECT_EQ(joined->readInt(), -1) << "place 2";
    EXPECT_EQ(joined->readInt(), -1) << "place 3";
    EXPECT_FALSE(joined->available()) << "nothing after place 3";
    ASSERT_EQ(readyAgain(1), (std::set<int32_t>{kLan}));

    send(20, Bytes().byte(1).byte(board).data());
    auto dealt = next(20);
    ASSERT_TRUE(dealt);
    dealt->readDataWithIntLength(3); // room, board, turn time
    for (int i = 0; i < 13; ++i)
        dealt->readByte();
    ASSERT_EQ(dealt->readInt(), me) << "the first game: I hold the three of spades";
    send(21, Bytes().byte(1).byte(board).byte(1).byte(0).data());
    // Every turn after mine is the stub player's or mine again.
    std::set<int32_t> movers;
    bool over = false;
    for (int moves = 0; moves < 200 && !over; ++moves) {
        auto message = nextOf({21, 49, 50});
        ASSERT_TRUE(message);
        if (message->commandId() == 50) {
            over = true;
            break;
        }
        message->readShort(); // room, board
        movers.insert(message->readInt());
        if (message->commandId() == 21) {
            const int count = message->readByte();
            for (int i = 0; i < count; ++i)
                message->readByte();
        }
        const int32_t nextUp = message->readInt();
        if (nextUp != -1) movers.insert(nextUp); // -1: the game's last move
        if (nextUp == me) send(49, Bytes().byte(1).byte(board).data());
    }
    ASSERT_TRUE(over);
    EXPECT_EQ(movers, (std::set<int32_t>{me, kLan}));
    // Two players settle: the winner takes the stake from the one other player.
    auto money = bonuses(2, board);
    ASSERT_EQ(money.size(), 2u);
    ASSERT_TRUE(money.count(me) && money.count(kLan));
    EXPECT_EQ(money[me].amount + money[kLan].amount, 0);
    EXPECT_EQ(std::abs(money[me].amount), 300);
    EXPECT_EQ(readyAgain(1), (std::set<int32_t>{kLan})) << "only the seated stub player gets ready again";
}

INSTANTIATE_TEST_SUITE_P(TienLenAndTienLenMB, TienLenHands, ::testing::Values(int8_t(3), int8_t(12)),
                         [](const ::testing::TestParamInfo<int8_t>& info) {
                             return std::string(info.param == 3 ? "TienLen" : "TienLenMB");
                         });

// A turn left alone ends on time, with a turn of a second: at Tien Len my lead is
// played for me (my lowest card), at Mau Binh my cards are arranged for me and judged.
struct TimedTurn {
    const char* name;
    int8_t gameType;
    const char* setting; // the turn's time
    int sub;             // of the message (21, or 47 with this sub) that ends my turn
};

class TurnsRunOut : public HandsWire, public ::testing::WithParamInterface<TimedTurn> {
protected:
    TurnsRunOut() : HandsWire({{GetParam().setting, "1"}, {"KAVO_STUB_TIENLEN_PAUSE", "0.05"}}) {}
};

TEST_P(TurnsRunOut, ATurnLeftAloneIsEndedForThePlayer) {
    const int32_t me = signInAndChoose("an", GetParam().gameType);
    ASSERT_NE(me, 0);
    send(8, Bytes().byte(1).byte(1).utf("").data());
    ASSERT_TRUE(next(8));
    EXPECT_EQ(readyAgain(2).size(), 2u);
    send(20, {1, 1});
    const bool tienLen = GetParam().sub == -1;
    auto ended = next(tienLen ? 21 : 47, GetParam().sub, 30);
    ASSERT_TRUE(ended) << "my turn was ended for me";
    tienLen ? void(ended->readShort()) : void(ended->readByte()); // room and board, or the sub
    EXPECT_EQ(ended->readInt(), me);
    if (tienLen) {
        EXPECT_EQ(ended->readShort(), 0x0100) << "one card, the three of spades";
    }
}

INSTANTIATE_TEST_SUITE_P(TienLenAndMauBinh, TurnsRunOut,
                         ::testing::Values(TimedTurn{"TienLen", 3, "KAVO_STUB_TIENLEN_TURN", -1},
                                           TimedTurn{"MauBinh", 16, "KAVO_STUB_MAUBINH_TIME", 40}),
                         [](const auto& turn) { return std::string(turn.param.name); });

// The stake tables' pauses a tenth as long.
class StakeHands : public HandsWire {
protected:
    StakeHands() : HandsWire({{"KAVO_STUB_STAKE_PAUSE", "0.1"}}) {}
};
using BaiCaoHands = StakeHands;
using XiZachHands = StakeHands;

TEST_F(BaiCaoHands, TwoHandsEndWhenTheirTimeIsUpAndSettleAtTheBoardsStake) {
    const int32_t me = signInAndChoose("an", 11);
    ASSERT_NE(me, 0);
    EXPECT_EQ(stakeAtJoin(5), 10000) << "board 5 of the list plays for 10,000";
    ASSERT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));
    for (int hand = 1; hand <= 2; ++hand) {
        SCOPED_TRACE("hand " + std::to_string(hand));
        send(20, {1, 5});
        ASSERT_TRUE(next(20));
        // I turn nothing: the stub players turn theirs and the time limit ends the hand.
        auto money = bonuses(3, 5);
        ASSERT_EQ(money.size(), 3u);
        expectSettled(money, 20000, 10000);
        EXPECT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));
    }
}

TEST_F(XiZachHands, EveryHandSettlesAtTheBoardsStakeAndTheStubPlayersGetReadyAgain) {
    const int32_t me = signInAndChoose("an", 2);
    ASSERT_NE(me, 0);
    EXPECT_EQ(stakeAtJoin(2), 500) << "board 2 of the list plays for 500";
    ASSERT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));

    for (int hand = 1; hand <= 2; ++hand) {
        SCOPED_TRACE("hand " + std::to_string(hand));
        send(20, {1, 2});
        ASSERT_TRUE(next(20));
        // The stub players draw and stand; then the turn is mine and I stand.
        bool myTurn = false;
        while (!myTurn) {
            auto turn = next(21);
            ASSERT_TRUE(turn);
            turn->readShort(); // room, board
            myTurn = turn->readByte() == 1 && turn->readInt() == me;
        }
        // In the second hand I let my time run out: the stub stands for me.
        if (hand == 1) send(21, {1, 2, 1});
        auto money = bonuses(3, 2);
        ASSERT_EQ(money.size(), 3u);
        expectSettled(money, 1000, 500);
        for (const auto& [who, bonus] : money)
            EXPECT_EQ(bonus.description, bonus.amount > 0 ? "Thắng" : "Thua");
        EXPECT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));
    }
}

// The same, with the results told on the stub's output.
class ToldHands : public HandsWire {
protected:
    ToldHands() : HandsWire({{"KAVO_STUB_STAKE_PAUSE", "0.1"}, {"KAVO_STUB_TELL_RESULTS", "1"}}) {}
};

// Once a Xi Zach hand's money has all gone out, the stub's output names the number on the
// connection of the result's last message: my money, told after the scores, the hands and
// the other seats' money.
TEST_F(ToldHands, AHandsResultIsToldWithTheNumberOfItsLastMessageOnTheConnection) {
    const int32_t me = signInAndChoose("an", 2);
    ASSERT_NE(me, 0);
    ASSERT_EQ(stakeAtJoin(2), 500);
    ASSERT_EQ(readyAgain(2), (std::set<int32_t>{kLan, kMinh}));
    send(20, {1, 2});
    ASSERT_TRUE(next(20));
    for (bool myTurn = false; !myTurn;) {
        auto turn = next(21);
        ASSERT_TRUE(turn);
        turn->readShort(); // room, board
        myTurn = turn->readByte() == 1 && turn->readInt() == me;
    }
    send(21, {1, 2, 1}); // I stand: the hand ends
    ASSERT_EQ(bonuses(3, 2).size(), 3u);

    const auto line = stub_->readLine(30);
    ASSERT_TRUE(line) << "the stub told the result";
    const std::string told = "the result of a hand of Xi Zach went out whole with message ";
    const size_t at = line->find(told);
    ASSERT_NE(at, std::string::npos) << *line;
    const size_t number = std::strtoul(line->c_str() + at + told.size(), nullptr, 10);
    const auto received = listener_.messages();
    ASSERT_GE(received.size(), number);
    ASSERT_GT(number, 0u);
    Message last(received[number - 1].commandId, received[number - 1].body);
    ASSERT_EQ(last.commandId(), 52) << "the last message of the result is a seat's money";
    last.readShort(); // room, board
    EXPECT_EQ(last.readInt(), me) << "mine, the last seat's";
    size_t money = 0;
    for (size_t i = 0; i < number; ++i)
        money += received[i].commandId == 52;
    EXPECT_EQ(money, 3u) << "every seat's money came by then";
}

class CaoRuaHands : public HandsWire {
protected:
    CaoRuaHands() : HandsWire({{"KAVO_STUB_CAORUA_PAUSE", "1"}}) {}
};

TEST_F(CaoRuaHands, EveryHandSettlesAtTheBoardsStakeAndTheStubPlayersGetReadyAgain) {
    const int32_t me = signInAndChoose("an", 17);
    ASSERT_NE(me, 0);
    EXPECT_EQ(stakeAtJoin(4), 5000) << "board 4 of the list plays for 5,000";

    int64_t mine = 0;
    for (int hand = 1; hand <= 2; ++hand) {
        SCOPED_TRACE("hand " + std::to_string(hand));
        send(20, {1, 4});
        auto dealt = next(20);
        ASSERT_TRUE(dealt);
        dealt->readDataWithIntLength(3); // room, board, turn time
        EXPECT_EQ(dealt->readInt(), 5000) << "the deal names the stake";
        auto score = next(91);
        ASSERT_TRUE(score);
        score->readInt();
        EXPECT_NE(score->readUTF().find(" nút"), std::string::npos) << "the points in Vietnamese";
        auto money = bonuses(4, 4);
        ASSERT_EQ(money.size(), 4u);
        expectSettled(money, 15000, 5000);
        EXPECT_EQ(readyAgain(3), (std::set<int32_t>{kLan, kMinh, kHoa}));
        mine += money[me].amount;
    }
    EXPECT_EQ(myMoneyAtJoin(4), 1000000 + mine) << "the next join shows what the hands left me";
}

// A hand of the default time limit waits for me while the stub players have turned
// theirs, and ends once my cards are up too.
TEST_F(HandsWire, ACaoRuaHandLastsItsTimeUnlessEveryoneTurnsUp) {
    ASSERT_NE(signInAndChoose("an", 17), 0);
    send(8, Bytes().byte(1).byte(1).utf("").data());
    ASSERT_TRUE(next(8));
    send(20, {1, 1});
    auto dealt = next(20);
    ASSERT_TRUE(dealt);
    ASSERT_EQ(dealt->data().size(), 10u);
    EXPECT_EQ(dealt->data()[2], 30) << "time to read the table";
    for (int32_t stubPlayer : {kLan, kMinh, kHoa}) {
        auto turned = next(21);
        ASSERT_TRUE(turned);
        turned->readShort(); // room, board
        EXPECT_EQ(turned->readInt(), stubPlayer);
    }
    // The reveal must not come before my cards are up.
    EXPECT_TRUE(nothingComesWithin(0.5, 50)) << "my cards are still down";
    send(21, Bytes().byte(1).byte(1).raw({dealt->data()[7], dealt->data()[8], dealt->data()[9]}).data());
    EXPECT_TRUE(next(50)) << "every hand is up: the reveal";
    EXPECT_EQ(bonuses(4, 1).size(), 4u);
}

} // namespace
} // namespace kavo::test
