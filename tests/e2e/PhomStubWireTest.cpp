// The portal stub's Phom table over a plain wire connection: a bare socket client signs
// in, sits, starts and plays a round against the three stub players, with no screens.
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kLan = 4001, kMinh = 4002, kHoa = 4003;

class PhomStubWire : public StubWire {
protected:
    // The stub players act at once in these tests.
    explicit PhomStubWire(Environment environment = {{"KAVO_STUB_PHOM_PAUSE", "0"}})
        : StubWire(std::move(environment)) {}
    // The text of the next refusal (54: board, room, text).
    std::string refusal() {
        auto refused = next(54);
        if (!refused) return "no refusal";
        refused->readShort(); // board, room
        return refused->readUTF();
    }

    // Signs in, picks Phom and joins board `board` of room 1; returns my id.
    int32_t sit(int8_t board) {
        EXPECT_NE(signInAndChoose("an", 13), 0);
        auto joined = join(board);
        EXPECT_TRUE(joined);
        if (!joined) return -1;
        joined->readDataWithIntLength(8); // owner, stake
        return joined->readInt();
    }
    // The cards of the next 20 that deals to me.
    std::vector<int8_t> dealt() {
        send(20, {1, 1});
        auto start = next(20);
        std::vector<int8_t> hand;
        if (!start) return hand;
        for (int i = 0; i < 11; ++i)
            start->readByte();
        while (start->available())
            hand.push_back(start->readByte());
        return hand;
    }
};

TEST_F(PhomStubWire, ADealIsStartedAndARoundPlayedWithRefusalsOutOfTurn) {
    ASSERT_NE(signInAndChoose("an", 13), 0);
    send(8, Bytes().byte(1).byte(1).utf("").data());

    auto joined = next(8);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->readByte(), 1);
    EXPECT_EQ(joined->readByte(), 1);
    const int32_t me = joined->readInt();
    EXPECT_EQ(joined->readInt(), 100) << "board 1's stake";
    EXPECT_EQ(joined->readInt(), me) << "I sit first and own the table";
    EXPECT_EQ(joined->readUTF(), "an");
    joined->readDataWithIntLength(14); // money, avatar, experience
    EXPECT_EQ(joined->readBool(), 0);
    for (int32_t id : {kLan, kMinh, kHoa}) {
        EXPECT_EQ(joined->readInt(), id);
        joined->readUTF();
        joined->readDataWithIntLength(14); // money, avatar, experience
        EXPECT_EQ(joined->readBool(), 1) << "ready";
    }
    EXPECT_FALSE(joined->available());

    send(20, {1, 1});
    auto start = next(20);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->readByte(), 1);
    EXPECT_EQ(start->readByte(), 1);
    EXPECT_EQ(start->readByte(), 30);
    EXPECT_EQ(start->readInt(), me) << "I play first";
    EXPECT_EQ(start->readInt(), me);
    std::vector<int8_t> hand;
    while (start->available())
        hand.push_back(start->readByte());
    ASSERT_EQ(hand.size(), 10u);

    send(68, {1, 1, 0});
    send(63, {1, 1});
    EXPECT_EQ(refusal(), "Chưa đến lượt") << "I fire before I draw";

    send(21, {1, 1, uint8_t(hand[0])});
    auto fired = next(21);
    ASSERT_TRUE(fired);
    EXPECT_EQ(fired->data(), Bytes().byte(1).byte(1).int32(me).int32(kLan).byte(hand[0]).byte(0).data());
    int8_t hoasCard = -1;
    for (int32_t stub : {kLan, kMinh, kHoa}) {
        auto drew = next(63);
        ASSERT_TRUE(drew);
        EXPECT_EQ(drew->data(), Bytes().byte(1).byte(1).int32(stub).byte(-1).data()) << "no card shown";
        auto theirs = next(21);
        ASSERT_TRUE(theirs);
        theirs->readShort(); // room, board
        EXPECT_EQ(theirs->readInt(), stub);
        EXPECT_EQ(theirs->readInt(), stub == kHoa ? me : stub + 1);
        hoasCard = theirs->readByte();
        EXPECT_EQ(theirs->readByte(), 0) << "the first slot";
    }

    send(21, {1, 1, uint8_t(hand[1])});
    EXPECT_EQ(refusal(), "Chưa đến lượt") << "I draw or eat before I fire";
    send(64, {1, 1, uint8_t(hoasCard), uint8_t(hand[1]), uint8_t(hand[1])});
    EXPECT_EQ(refusal(), "Không thành phỏm");

    send(63, {1, 1});
    auto drawn = next(63);
    ASSERT_TRUE(drawn);
    drawn->readShort(); // room, board
    EXPECT_EQ(drawn->readInt(), me);
    const int8_t card = drawn->readByte();
    EXPECT_TRUE(card >= 0 && card < 52);
    EXPECT_EQ(std::count(hand.begin(), hand.end(), card), 0);

    send(65, {1, 1, 1, uint8_t(hand[1]), uint8_t(hand[2]), uint8_t(hand[3]), 255});
    auto laid = next(65);
    ASSERT_TRUE(laid);
    EXPECT_EQ(laid->data(), Bytes().byte(1).byte(1).byte(hand[1]).byte(hand[2]).byte(hand[3]).byte(-1).data())
        << "room, board and the melds, without the count";
    send(67, {1, 1, uint8_t(hand[9])});
    EXPECT_EQ(refusal(), "Không gửi được");
    // An answer to the grouping must not come.
    EXPECT_TRUE(nothingComesWithin(0.3, 68)) << "the grouping gets no answer";
}

TEST_F(PhomStubWire, FourDiscardsEachEndTheDealWithScoresMoneyAndReadyPlayersForTheNext) {
    const int32_t me = sit(1);
    auto hand = dealt();
    ASSERT_EQ(hand.size(), 10u);
    for (int turn = 0; turn < 4; ++turn) {
        if (turn > 0) {
            send(63, {1, 1});
            auto drawn = next(63);
            ASSERT_TRUE(drawn);
            drawn->readDataWithIntLength(6); // room, board, drawer
            hand.push_back(drawn->readByte());
        }
        send(21, {1, 1, uint8_t(hand.front())});
        hand.erase(hand.begin());
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(next(21)) << "turn " << turn;
    }
    // 51 for each player in place order: the score is the sum of the loose cards' values.
    int lowest = 1000;
    int32_t winner = -1;
    for (int32_t id : {me, kLan, kMinh, kHoa}) {
        auto finished = next(51);
        ASSERT_TRUE(finished);
        finished->readShort(); // room, board
        EXPECT_EQ(finished->readInt(), id);
        const int32_t score = finished->readInt();
        finished->readInt();
        const int count = uint8_t(finished->readByte());
        int sum = 0;
        for (int i = 0; i < count; ++i)
            sum += finished->readByte() / 4 + 1;
        EXPECT_EQ(score, sum);
        if (id == me) {
            EXPECT_EQ(count, 9) << "I laid nothing: my whole hand is loose";
        }
        if (score < lowest) {
            lowest = score;
            winner = id;
        }
    }
    for (int32_t id : {me, kLan, kMinh, kHoa}) {
        auto bonus = next(52);
        ASSERT_TRUE(bonus);
        bonus->readShort(); // room, board
        EXPECT_EQ(bonus->readInt(), id);
        EXPECT_EQ(bonus->readInt(), id == winner ? 300 : -100) << "three stakes of board 1 to the winner";
        EXPECT_EQ(bonus->readUTF(), id == winner ? "Nhất" : "Thua");
    }
    for (int32_t id : {kLan, kMinh, kHoa}) {
        auto ready = next(16);
        ASSERT_TRUE(ready);
        EXPECT_EQ(ready->data(), Bytes().int32(id).boolean(true).data());
    }
    // The table waits for the owner's start; the next deal is dealt afresh: a deal must not
    // come before the start.
    EXPECT_TRUE(nothingComesWithin(0.3, 21));
    EXPECT_EQ(dealt().size(), 10u);
}

// My turns last half a second and I never act; the first deal gives me three fives.
class PhomTurnClock : public PhomStubWire {
protected:
    PhomTurnClock()
        : PhomStubWire({{"KAVO_STUB_PHOM_PAUSE", "0"}, {"KAVO_STUB_PHOM_TURN", "0.5"}, {"KAVO_STUB_PHOM_SEED", "1"}}) {}
};

// My last turn runs out: the stub lays my meld for me, and it does not count as loose cards.
TEST_F(PhomTurnClock, ATurnLeftAloneIsPlayedForThePlayerAndTheDealStillEndsAndSettles) {
    const int32_t me = sit(1);
    const auto hand = dealt();
    ASSERT_EQ(hand.size(), 10u);
    std::vector<int8_t> laid;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (round > 0) {
            auto drawn = next(63);
            ASSERT_TRUE(drawn);
            EXPECT_EQ(drawn->data().size(), 7u);
            EXPECT_LT(drawn->data()[6], 52) << "the card drawn for me is shown to me";
        }
        if (round == 3) {
            auto melds = next(65);
            ASSERT_TRUE(melds) << "my melds are laid for me";
            melds->readShort(); // room, board
            while (melds->available())
                if (const int8_t card = melds->readByte(); card != -1) laid.push_back(card);
            EXPECT_GE(laid.size(), 3u);
        }
        for (int32_t firer : {me, kLan, kMinh, kHoa}) {
            auto fired = next(21);
            ASSERT_TRUE(fired);
            fired->readShort(); // room, board
            EXPECT_EQ(fired->readInt(), firer);
            fired->readInt();
            const int8_t card = fired->readByte();
            if (round == 0 && firer == me) {
                EXPECT_EQ(std::count(hand.begin(), hand.end(), card), 1) << "a card of mine";
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        auto finished = next(51);
        ASSERT_TRUE(finished);
        finished->readShort();
        if (finished->readInt() != me) continue;
        finished->readInt();
        finished->readInt();
        for (int count = finished->readByte(); count > 0; --count)
            EXPECT_EQ(std::count(laid.begin(), laid.end(), finished->readByte()), 0) << "a laid card counted loose";
    }
    int32_t mine = 0;
    for (int i = 0; i < 4; ++i) {
        auto bonus = next(52);
        ASSERT_TRUE(bonus);
        bonus->readShort(); // room, board
        const int32_t who = bonus->readInt();
        if (who == me) mine = bonus->readInt();
    }
    EXPECT_EQ(myMoneyAtJoin(1), 1000000 + mine) << "the next join shows the deal's money";
}

TEST_F(PhomStubWire, AStakeChangeIsAnsweredAndTheStubPlayersGetReadyAgain) {
    sit(1);
    send(19, Bytes().byte(1).byte(1).int32(5000).data());
    auto stake = next(19);
    ASSERT_TRUE(stake);
    EXPECT_EQ(stake->data(), Bytes().byte(1).byte(1).int32(5000).data());
    for (int32_t id : {kLan, kMinh, kHoa}) {
        auto ready = next(16);
        ASSERT_TRUE(ready);
        EXPECT_EQ(ready->data(), Bytes().int32(id).boolean(true).data());
    }
}

TEST_F(PhomStubWire, ThePlayingBoardShowsTheStubPlayersDealInProgress) {
    ASSERT_NE(signInAndChoose("an", 13), 0);
    auto joined = join(2);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->readInt(), kLan) << "a stub player owns the running table";
    auto playing = next(62);
    ASSERT_TRUE(playing);
    Bytes deal;
    deal.byte(1).byte(2).byte(30).int32(kMinh).int32(kLan);
    // Each stub player's two rows of cards, as counted lists.
    deal.int32(kLan).byte(4).raw({44, 37, 30, 9}).byte(3).raw({16, 17, 18});
    deal.int32(kMinh).byte(4).raw({48, 41, 2, 19}).byte(3).raw({32, 33, 35});
    deal.int32(kHoa).byte(4).raw({50, 23, 14, 6}).byte(3).raw({3, 7, 11});
    EXPECT_EQ(playing->data(), deal.data());
}

} // namespace
} // namespace kavo::test
