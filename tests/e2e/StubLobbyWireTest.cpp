// The portal stub's lobby and account answers over a plain wire connection: play now and
// create open a table, a sign-in, create or join the server would refuse is answered
// with the reason, the stub's rules refuse and pay what a server's do, the lottery's
// result reaches only a player who bet, every reply about a player gives his one id,
// name and amount (the name search too), a person's id is never a stub player's, the
// stub's texts follow the language the client names, a friend answers a private message
// with a line of his own, several clients are served at once, each in a session of its
// own, every account's money outlives a connection, and a killed stub's state folder
// goes when the next stub starts.
#include "tests/e2e/StubWire.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <sys/socket.h>
#include <tuple>
#include <unistd.h>

namespace kavo::test {
namespace {

// The owner and the stake of a join answer (8): room, board, owner, stake.
struct Joined {
    int8_t room;
    int8_t board;
    int32_t owner;
    int32_t stake;
};

class LobbyWire : public StubWire {
protected:
    // The stake tables' pauses a tenth as long.
    explicit LobbyWire(Environment environment = {{"KAVO_STUB_STAKE_PAUSE", "0.1"}},
                       const std::vector<std::string>& options = {})
        : StubWire(std::move(environment), options) {}
    // The balance the next balance reply (17) tells.
    int64_t balanceTold() {
        auto answer = next(17);
        return answer ? answer->readLong() : -1;
    }
    // The text of the next one-button notice (45 sub 0).
    std::string notice() {
        auto answer = next(45, 0);
        if (!answer) return "no notice";
        answer->readByte();
        return answer->readUTF();
    }
    // The client names its language: the event notice (46) the stub answers with.
    std::string speak(const std::string& language) {
        send(2800, languageBody(language));
        auto answer = next(46);
        return answer ? answer->readUTF() : "no event notice";
    }
    std::optional<Joined> joined() {
        auto answer = next(8);
        if (!answer) return std::nullopt;
        Joined j;
        j.room = answer->readByte();
        j.board = answer->readByte();
        j.owner = answer->readInt();
        j.stake = answer->readInt();
        return j;
    }
};

TEST_F(LobbyWire, PlayNowSeatsThePlayerAtAFreeBoardOfTheChosenGame) {
    const int32_t me = signInAndChoose("an", 3);
    ASSERT_NE(me, 0);
    send(28, {});
    auto table = joined();
    ASSERT_TRUE(table) << "play now opens a table";
    EXPECT_EQ(table->room, 1);
    EXPECT_EQ(table->board, 1);
    EXPECT_EQ(table->owner, me);
    EXPECT_EQ(table->stake, 100) << "board 1's stake";
}

TEST_F(LobbyWire, PlayNowAtChineseChessSeatsThePlayerBesideTheStubPlayer) {
    const int32_t me = signInAndChoose("an", 5);
    ASSERT_NE(me, 0);
    send(28, {});
    auto table = joined();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->owner, me);
    auto ready = next(16);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->data(), Bytes().int32(77777).boolean(true).data()) << "the stub player is ready";
}

TEST_F(LobbyWire, CreateOpensANewBoardWithTheStakeGivenAndThePlayerAsItsOwner) {
    const int32_t me = signInAndChoose("an", 11);
    ASSERT_NE(me, 0);
    send(2702, Bytes().int32(0).int32(2500).byte(4).utf("abc").data());
    auto table = joined();
    ASSERT_TRUE(table) << "create opens the new table";
    EXPECT_EQ(table->room, 1);
    EXPECT_EQ(table->board, 7) << "a board after the six of the list";
    EXPECT_EQ(table->owner, me);
    EXPECT_EQ(table->stake, 2500);
    send(2702, Bytes().int32(0).int32(7000).byte(2).utf("").data());
    table = joined();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->board, 8);
    EXPECT_EQ(table->stake, 7000);

    // The created board plays for its stake: a Bai Cao hand settles at 7,000 when its
    // time is up.
    send(20, {1, 8});
    ASSERT_TRUE(next(20));
    auto bonus = next(52);
    ASSERT_TRUE(bonus);
    bonus->readDataWithIntLength(6); // room, board, player
    const int32_t amount = bonus->readInt();
    EXPECT_TRUE(amount == 14000 || amount == -7000) << amount;
}

// A create without a stake, or above the highest, is refused in the player's language
// (the set-money error, 10); one cut short is dropped.
TEST_F(LobbyWire, ACreateWithoutAStakeOrAboveTheHighestIsRefusedAndOpensNothing) {
    ASSERT_NE(signInAndChoose("an", 3), 0);
    const std::tuple<const char*, int32_t, const char*> creates[] = {
        {"vi", 0, "Mức cược phải lớn hơn 0 Zel"},
        {"en", -100, "The stake must be more than 0 Zel"},
        {"en", 100001, "The highest stake is 100,000 Zel"},
        {"vi", INT32_MAX, "Mức cược tối đa là 100.000 Zel"}};
    for (const auto& [language, stake, refusal] : creates) {
        SCOPED_TRACE(stake);
        ASSERT_NE(speak(language), "no event notice");
        send(2702, Bytes().int32(0).int32(stake).byte(4).utf("").data());
        auto refused = next(10);
        ASSERT_TRUE(refused) << "the create is answered";
        EXPECT_EQ(refused->readUTF(), refusal);
    }
    send(2702, Bytes().int32(0).data()); // cut short
    send(28, {});
    auto table = joined();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->board, 1) << "the first answer is play now's: the bad creates opened nothing";
}

// A number from the wire is checked before it is counted with: the gifts of a category
// past every one listed (whose ids would pass the range of an int) are none, and a
// table's stake above the highest is refused and kept out of every result.
TEST_F(LobbyWire, ANumberFromTheWireIsCheckedBeforeItIsCountedWith) {
    ASSERT_NE(signInAndChoose("an", 3), 0);
    send(101, Bytes().byte(15).int32(21474837).byte(0).data());
    auto gifts = next(101, 15);
    ASSERT_TRUE(gifts) << "the session goes on";
    gifts->readDataWithIntLength(9); // sub, category, pages
    EXPECT_FALSE(gifts->available()) << "no gift";
    ASSERT_TRUE(join(1));
    send(19, Bytes().byte(1).byte(1).int32(INT32_MAX).data());
    EXPECT_EQ(notice(), "Mức cược tối đa là 100.000 Zel");
}

// The list's locked board (its password is "kavo") and a board created with a password
// seat only those who give it.
TEST_F(LobbyWire, ALockedBoardSeatsOnlyThoseWhoGiveItsPassword) {
    const int32_t me = signInAndChoose("an", 3);
    ASSERT_NE(me, 0);
    send(2702, Bytes().int32(0).int32(2000).byte(4).utf("mo cua").data());
    auto created = joined();
    ASSERT_TRUE(created);
    EXPECT_EQ(created->board, 7);
    const std::tuple<int8_t, std::string, int32_t> locked[] = {{7, "mo cua", 2000}, {3, "kavo", 1000}};
    for (const auto& [board, password, stake] : locked) {
        SCOPED_TRACE(int(board));
        for (const std::string& wrong : {std::string(), password.substr(0, 2), password + " ", std::string("MO CUA")}) {
            send(8, Bytes().byte(1).byte(board).utf(wrong).data());
            EXPECT_EQ(notice(), "Sai mật khẩu bàn") << wrong;
        }
        send(28, {});
        auto next = joined();
        ASSERT_TRUE(next);
        EXPECT_EQ(next->board, 1) << "the first answer is play now's: the wrong passwords sat nowhere";
        send(8, Bytes().byte(1).byte(board).utf(password).data());
        auto again = joined();
        ASSERT_TRUE(again);
        EXPECT_EQ(again->board, board);
        EXPECT_EQ(again->stake, stake);
        EXPECT_EQ(again->owner, me);
    }
}

TEST_F(LobbyWire, ABoardCreatedWithoutAPasswordAndAnOpenListedBoardTakeAnyPassword) {
    ASSERT_NE(signInAndChoose("an", 3), 0);
    send(2702, Bytes().int32(0).int32(3000).byte(4).utf("").data());
    auto created = joined();
    ASSERT_TRUE(created);
    ASSERT_EQ(created->board, 7);
    for (int8_t board : {int8_t(7), int8_t(2)}) {
        send(8, Bytes().byte(1).byte(board).utf("bat ky").data());
        auto table = joined();
        ASSERT_TRUE(table);
        EXPECT_EQ(table->board, board);
    }
}

// At Caro and Tetris, which no table of the stub plays, a join of a board is followed by
// the details (34) of the opponent the board seats there, giang, as a server sends them;
// the card table's join, which seats the card games, does not take these boards.
TEST_F(LobbyWire, AJoinAtCaroOrTetrisBringsTheOpponentsDetails) {
    for (const int8_t game : {int8_t(1), int8_t(8)}) {
        SCOPED_TRACE(int(game));
        ASSERT_NE(signInAndChoose("khach", game), 0);
        send(8, Bytes().byte(1).byte(1).utf("").data());
        auto details = next(34);
        ASSERT_TRUE(details) << "no details after the join";
        EXPECT_EQ(details->readInt(), 205);
        EXPECT_EQ(details->readUTF(), "giang");
    }
}

// A request a player makes and what its answer says: the balance after it (-1: none
// told) and its note.
struct Rule {
    const char* what;
    int16_t command;
    ByteVector body;
    int64_t balance;
    std::string note;
};

// Each rule in turn on one account: the balance each answer (or the balance reply, 17,
// that follows a ticket) tells is what the rules before it left.
TEST_F(LobbyWire, TheStubRefusesAndPaysAsAServerDoes) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    const Rule rules[] = {
        {"a transfer above the balance", 17, Bytes().utf("an").int32(1000001).data(), 1000000, "Không đủ tiền"},
        {"a transfer of nothing", 17, Bytes().utf("an").int32(0).data(), 1000000, "Số tiền phải lớn hơn 0 Zel"},
        {"a transfer below nothing", 17, Bytes().utf("an").int32(-1000).data(), 1000000, "Số tiền phải lớn hơn 0 Zel"},
        {"a transfer to nobody", 17, Bytes().utf("ai do").int32(10).data(), 1000000, "Không có người chơi ai do"},
        {"a transfer", 17, Bytes().utf("lan").int32(1000).data(), 999000, "Đã chuyển 1.000 Zel cho lan"},
        {"a ticket above the balance", 1403, Bytes().int32(5).int32(999001).data(), -1, "Không đủ tiền"},
        {"a ticket past 99", 1403, Bytes().int32(100).int32(10).data(), -1, "Số phải từ 00 đến 99"},
        {"a ticket of nothing", 1403, Bytes().int32(5).int32(0).data(), -1, "Số tiền phải lớn hơn 0 Zel"},
        {"a ticket below nothing", 1403, Bytes().int32(5).int32(-500).data(), -1, "Số tiền phải lớn hơn 0 Zel"},
        {"a ticket", 1403, Bytes().int32(5).int32(1000).data(), 998000, "Đã mua số 5"},
        {"a card that is not one", 71, Bytes().byte(2).byte(1).utf("12ab").utf("34").data(), 998000,
         "Thẻ không hợp lệ"},
        {"a card", 71, Bytes().byte(2).byte(1).utf("1234").utf("5678").data(), 1048000,
         "Nạp thẻ thành công 50.000 Zel"},
        {"a text message", 57, Bytes().utf("KAVO NAP khach").utf("8777").data(), 1058000,
         "Nạp SMS thành công 10.000 Zel"},
        {"a join of a full board", 8, Bytes().byte(1).byte(6).utf("").data(), -1, "Bàn đã đủ người"},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.what);
        send(rule.command, rule.body);
        int64_t balance = -1;
        std::string note;
        if (rule.command == 8) {
            note = notice();
        } else if (auto answer = next(rule.command == 57 ? 71 : rule.command)) {
            if (rule.command == 17) balance = answer->readLong();
            if (answer->commandId() == 71) answer->readShort(); // type, status
            const bool bought = rule.command == 1403 && answer->readBool();
            if (rule.command == 1403) answer->readInt();
            note = answer->readUTF();
            if (answer->commandId() == 71) answer->readUTF(), balance = answer->readLong();
            if (bought) balance = balanceTold();
        }
        EXPECT_EQ(note, rule.note);
        EXPECT_EQ(balance, rule.balance);
    }
    EXPECT_EQ(myMoneyAtJoin(1), 1058000) << "the table shows what the rules left";
}

// Every amount the stub writes groups its digits as the client's language does, "." in
// Vietnamese and "," in English: the store rows of the top-up list, a card's and a text
// message's top-up and a transfer.
TEST_F(LobbyWire, EveryAmountTheStubWritesGroupsItsDigitsAsTheClientsLanguage) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    const std::tuple<const char*, const char*, std::vector<std::string>> languages[] = {
        {"vi", ".", {"Nạp thẻ thành công 50.000 Zel", "Nạp SMS thành công 10.000 Zel", "Đã chuyển 1.000 Zel cho lan"}},
        {"en",
         ",",
         {"Card accepted: 50,000 Zel added", "Text message top-up accepted: 10,000 Zel added",
          "Sent 1,000 Zel to lan"}}};
    int serial = 1;
    for (const auto& [language, separator, told] : languages) {
        SCOPED_TRACE(language);
        ASSERT_NE(speak(language), "no event notice");
        send(44, {});
        auto channels = next(44);
        ASSERT_TRUE(channels);
        const std::string list(channels->data().begin(), channels->data().end());
        for (const std::string amount : {"20", "50"})
            EXPECT_NE(list.find(amount + separator + "000 Zel"), std::string::npos) << amount;
        send(71, Bytes().byte(2).byte(1).utf(std::to_string(serial++)).utf("5678").data());
        auto card = next(71);
        ASSERT_TRUE(card);
        card->readShort();
        EXPECT_EQ(card->readUTF(), told[0]);
        send(57, Bytes().utf("KAVO NAP khach").utf("8777").data());
        auto sms = next(71);
        ASSERT_TRUE(sms);
        sms->readShort();
        EXPECT_EQ(sms->readUTF(), told[1]);
        send(17, Bytes().utf("lan").int32(1000).data());
        auto sent = next(17);
        ASSERT_TRUE(sent);
        sent->readLong();
        EXPECT_EQ(sent->readUTF(), told[2]);
    }
}

class LotteryWire : public LobbyWire {
protected:
    // A draw every eight seconds: the first well after a test's tickets.
    LotteryWire() : LobbyWire({}, {"--lottery-period", "8"}) {}
    // The newest draw's number in the history (1401).
    int32_t newestDraw() {
        send(1401, {});
        auto history = next(1401);
        return history ? history->readInt() : -1;
    }
};

// A ticket on every number: the bettor hears the draw, one ticket wins at seventy
// times its stake (the amount's digits grouped as every amount's are), and the balance
// reply tells the new balance.
TEST_F(LotteryWire, AWinningTicketPaysSeventyTimesItsStake) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    for (int32_t number = 0; number < 100; ++number)
        send(1403, Bytes().int32(number).int32(100).data());
    auto result = next(1404, -1, 30);
    ASSERT_TRUE(result);
    const int32_t winning = result->readInt();
    EXPECT_EQ(result->readUTF(), "Số trúng: " + std::to_string(winning) + " +7.000 Zel");
    EXPECT_EQ(balanceTold(), 1000000 - 100 * 100 + 7000);
}

TEST_F(LotteryWire, APlayerWithoutABetIsNotToldOfTheDraw) {
    ASSERT_NE(signInAndChoose("an", 3), 0);
    const int32_t before = newestDraw();
    // The history changes when a draw has been made (every 8 s); asked again every 50 ms, up
    // to a bound far above the period.
    int32_t after = before;
    ASSERT_TRUE(lookUntil([&] { return (after = newestDraw()) != before; }, 60, 0.05)) << "a draw was made";
    for (const auto& message : listener_.messages())
        EXPECT_NE(message.commandId, 1404) << "no result for a player who did not bet";
}

TEST_F(LobbyWire, TheStubsTextsFollowTheClientsLanguage) {
    ASSERT_NE(signInAndChoose("an", 3), 0);
    const std::tuple<const char*, int32_t, const char*, const char*> languages[] = {
        {"vi", 7, "Sự kiện: nhân đôi Zel cho mọi ván thắng cuối tuần này!", "Đã mua số 7"},
        {"en", 8, "Event: double Zel for every win this weekend!", "Bought number 8"}};
    for (const auto& [language, number, event, ticket] : languages) {
        SCOPED_TRACE(language);
        EXPECT_EQ(speak(language), event);
        send(1403, Bytes().int32(number).int32(100).data());
        auto bought = next(1403);
        ASSERT_TRUE(bought);
        bought->readDataWithIntLength(5); // bought, money
        EXPECT_EQ(bought->readUTF(), ticket);
        ASSERT_TRUE(next(17)) << "the balance after the ticket";
    }
    // In English now: no amount is told as such, not as a want of money.
    send(17, Bytes().utf("lan").int32(0).data());
    auto sent = next(17);
    ASSERT_TRUE(sent);
    sent->readLong();
    EXPECT_EQ(sent->readUTF(), "The amount must be more than 0 Zel");
    send(1403, Bytes().int32(9).int32(-1).data());
    auto ticketOfNothing = next(1403);
    ASSERT_TRUE(ticketOfNothing);
    ticketOfNothing->readDataWithIntLength(5); // bought, money
    EXPECT_EQ(ticketOfNothing->readUTF(), "The amount must be more than 0 Zel");
    send(44, {});
    auto channels = next(44);
    ASSERT_TRUE(channels);
    channels->readByte(); // the text message row: type, three texts
    for (int i = 0; i < 3; ++i)
        channels->readUTF();
    channels->readShort(); // the first scratch card's type and id
    EXPECT_EQ(channels->readUTF(), "gate card");
    send(101, {21, 0});
    auto items = next(101, 21);
    ASSERT_TRUE(items);
    items->readDataWithIntLength(9); // sub-id, pages, the first item's id
    EXPECT_EQ(items->readUTF(), "Item 100");
}

// Every key of information (72) the client asks for is answered under its own key, in
// the player's language where it is a text: before a sign-in as the client asks for them
// while it connects, and after one. Key 8 names the version the client information gave.
TEST_F(LobbyWire, EveryInformationKeyTheClientAsksForIsAnswered) {
    send(222, Bytes().int32(1).int32(2).utf("1.0.0").utf("vi").utf("1.0.0;iPhone;5.0").data());
    ASSERT_TRUE(next(220));
    const std::string pages = "http://127.0.0.1:" + std::to_string(stub_->httpPort());
    const std::string list = "Kavo Local|127.0.0.1:" + std::to_string(stub_->port());
    const std::tuple<const char*, int8_t, std::string> keys[] = {
        {"vi", 2, "19001234"},
        {"vi", 3, pages + "/more-games.html"},
        {"vi", 8, "1-1.0.0"},
        {"vi", 11, list},
        {"vi", 13, "Nạp thẻ khuyến mãi được thêm 20% Zel."},
        {"en", 3, pages + "/more-games-en.html"},
        {"en", 13, "Promotion cards give 20% more Zel."},
    };
    for (const bool signedIn : {false, true}) {
        if (signedIn) {
            ASSERT_NE(signInAndChoose("an", 3), 0);
        }
        for (const auto& [language, key, text] : keys) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(key));
            speak(language);
            send(72, {uint8_t(key)});
            auto answer = next(72);
            ASSERT_TRUE(answer);
            EXPECT_EQ(answer->data(), Bytes().byte(key).utf(text).data());
        }
    }
}

// Where players are listed: a request, the bytes before the rows and the bytes of a
// row after its id, name and amount.
struct Listing {
    const char* what;
    int8_t gameType;
    int16_t command;
    ByteVector body;
    int16_t reply;
    int16_t head;
    int16_t tail;
};

// Every reply about a player gives his one name and amount: the seats of the tables,
// the rankings, the waiting list and the friends, his profile (1005) and his details (34).
TEST_F(LobbyWire, EveryReplyAboutAPlayerGivesHisOneNameAndAmount) {
    const int32_t me = signInAndChoose("khach", 3);
    ASSERT_NE(me, 0);
    const ByteVector boardOne = Bytes().byte(1).byte(1).utf("").data();
    const Listing listings[] = {
        {"the Tien Len seats", 3, 8, boardOne, 8, 10, 7},
        {"the Cao Rua seats", 17, 8, boardOne, 8, 10, 7},
        {"the Chinese chess seats", 5, 1900, boardOne, 8, 10, 7},
        {"the richest", 3, 31, {0}, 31, 1, 11},
        {"the waiting list", 3, 78, {2}, 78, 1, 8},
        {"the friends", 3, 104, {5}, 104, 1, 2},
    };
    for (const Listing& listing : listings) {
        SCOPED_TRACE(listing.what);
        send(61, {uint8_t(listing.gameType)});
        ASSERT_TRUE(next(61));
        send(listing.command, listing.body);
        auto rows = next(listing.reply);
        ASSERT_TRUE(rows);
        rows->readDataWithIntLength(listing.head);
        int players = 0;
        while (rows->available()) {
            const int32_t id = rows->readInt();
            if (id == -1) continue; // an empty place
            const std::string name = rows->readUTF();
            const int64_t money = rows->readLong();
            rows->readDataWithIntLength(listing.tail);
            if (listing.reply == 104 && rows->readByte()) rows->readDataWithIntLength(3); // where he plays
            if (listing.reply == 104) rows->readUTF();
            ++players;
            for (int16_t command : {int16_t(1005), int16_t(34)}) {
                SCOPED_TRACE(name + " in " + std::to_string(command));
                send(command, Bytes().int32(id).data());
                auto about = next(command);
                ASSERT_TRUE(about);
                EXPECT_EQ(about->readInt(), id);
                EXPECT_EQ(about->readUTF(), name);
                EXPECT_EQ(about->readLong(), money);
            }
            if (id == me) continue;
            // The name search (as "Kết bạn" sends it) finds every stub player under that id.
            send(36, Bytes().utf(name).data());
            auto found = next(36);
            ASSERT_TRUE(found);
            std::set<std::pair<int32_t, std::string>> rows;
            while (found->available()) {
                const int32_t foundId = found->readInt();
                rows.emplace(foundId, found->readUTF());
            }
            EXPECT_TRUE(rows.count({id, name})) << name << " found by name as " << id;
        }
        EXPECT_GE(players, 2);
    }
}

TEST_F(LobbyWire, AFriendAnswersAPrivateMessageWithALineOfHisOwn) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    // "an" (201) is one of the stub's friends; the answer names him once, as sender.
    send(5, Bytes().int32(201).utf("xin chào").data());
    auto answer = next(5);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->readInt(), 201);
    EXPECT_EQ(answer->readUTF(), "an");
    const std::string line = answer->readUTF();
    EXPECT_FALSE(line.empty());
    EXPECT_NE(line, "xin chào") << "not the player's own words";
    EXPECT_FALSE(answer->available()) << "the text alone";
}

// A sign-in without a name, or with one that is not UTF-8 text, is refused as a banned
// name is, with a reason in the player's language, and signs nobody in.
TEST_F(LobbyWire, ASignInWithoutANameIsRefusedAsABannedNameIs) {
    const ByteVector notText = Bytes().int16(2).raw({0xc3, 0x28}).utf("123").utf("1.0").data();
    const std::tuple<const char*, ByteVector, const char*> signIns[] = {
        {"an empty body", {}, "Bạn chưa nhập tên đăng nhập"},
        {"an empty name", signInBody(""), "Bạn chưa nhập tên đăng nhập"},
        {"a name of blanks", signInBody("  "), "Bạn chưa nhập tên đăng nhập"},
        {"the name banned", signInBody("banned"), "Tài khoản này đã bị khoá"},
        {"a name that is not UTF-8", notText, "Tên đăng nhập không hợp lệ"},
        {"en", notText, "The user name is not valid"},
    };
    for (const auto& [what, body, reason] : signIns) {
        SCOPED_TRACE(what);
        if (std::string(what) == "en") {
            ASSERT_NE(speak("en"), "no event notice");
        }
        send(1, body);
        auto refused = next(4);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->readUTF(), reason);
    }
    for (const auto& message : listener_.messages())
        EXPECT_NE(message.commandId, 3) << "nobody was signed in";
}

// The names no person can read: control characters (a line break among them, which would
// forge a line of the log), the separators some readers break a line at (in names short
// enough for the length alone to pass them), and names longer than the client's name fields
// show (twenty characters).
const std::pair<const char*, std::string> kUnreadableNames[] = {
    {"a tab", "an\tna"},
    {"a bell", "an\x07na"},
    {"an escape", "an\x1b[31mna"},
    {"a carriage return", "eve\rportal-stub: forged"},
    {"a line break", "eve\nportal-stub: forged"},
    {"a NUL inside", std::string("an\0na", 5)},
    {"U+0085", "eve\xc2\x85"
               "forged"},
    {"U+2028", "eve\xe2\x80\xa8"
               "forged"},
    {"U+2029", "eve\xe2\x80\xa9"
               "forged"},
    {"twenty-one characters", "Nguyễn Văn Hải Đăng1x"},
    {"ten thousand characters", std::string(10000, 'a')},
};

// Whether a line of the stub's log starts as the log writes each line: its time and thread.
bool startsAsALogLine(const std::string& line) {
    return line.size() > 14 && std::isdigit(static_cast<unsigned char>(line[0])) && line[2] == ':' && line[5] == ':' &&
           line[8] == '.' && line.compare(12, 2, " [") == 0;
}

// Each such name is refused by registration (35) and by sign-in (1) as not valid, without
// the name in the answer, and signs nobody in; the stub's log writes one line for each
// registration and each sign-in, whatever the name holds, and no line of its own from a
// name.
TEST(StubNames, ANameNoPersonCanReadIsRefusedAndTheLogKeepsOneLinePerEvent) {
    TestFolder folder;
    const std::string log = folder.path + "/stub.log";
    {
        StubProcess stub({}, {}, log);
        ASSERT_TRUE(stub.ready());
        StubPerson person(stub.port());
        ASSERT_TRUE(person.connected());
        for (const auto& [what, name] : kUnreadableNames) {
            SCOPED_TRACE(what);
            person.send(35, Bytes().utf(name).utf("123").data());
            auto registered = person.next(35);
            ASSERT_TRUE(registered);
            EXPECT_EQ(registered->data(),
                      Bytes().utf("").boolean(false).utf("Tên đăng nhập không hợp lệ").utf("").data());
            person.send(1, signInBody(name));
            auto refused = person.next(4);
            ASSERT_TRUE(refused);
            EXPECT_EQ(refused->readUTF(), "Tên đăng nhập không hợp lệ");
        }
        // Past every answer: a readable name signs in, the first to.
        ASSERT_EQ(person.signIn("eve"), 1000000);
        size_t signedIn = 0;
        for (const auto& message : person.listener().messages())
            signedIn += message.commandId == 3;
        EXPECT_EQ(signedIn, 1u) << "none of the unreadable names signed in";
    }
    std::ifstream file(log);
    size_t registrations = 0, signIns = 0;
    for (std::string line; std::getline(file, line);) {
        EXPECT_TRUE(startsAsALogLine(line)) << line.substr(0, 80);
        EXPECT_EQ(line.find("\xc2\x85"), std::string::npos) << line;
        EXPECT_EQ(line.find("\xe2\x80\xa8"), std::string::npos) << line;
        EXPECT_EQ(line.find("\xe2\x80\xa9"), std::string::npos) << line;
        registrations += line.find("registration of \"") != std::string::npos;
        signIns += line.find("sign-in of \"") != std::string::npos;
    }
    EXPECT_EQ(registrations, std::size(kUnreadableNames));
    EXPECT_EQ(signIns, std::size(kUnreadableNames) + 1);
}

// The avatar each stub player wears in a reply, found by his record in it: his id, his
// name and his amount, then the avatar (the records of the details, the rankings, the
// friends' lists, the waiting list and a table's seats all begin so).
void noteAvatars(const Message& reply, std::map<std::string, std::set<int>>& worn) {
    const ByteVector body(reply.data().begin(), reply.data().end());
    for (const portalstub::StubPlayer& player : portalstub::kStubPlayers) {
        const ByteVector named = Bytes().int32(player.id).utf(player.name).data();
        const auto at = std::search(body.begin(), body.end(), named.begin(), named.end());
        const size_t avatar = size_t(at - body.begin()) + named.size() + 8;
        if (at == body.end() || avatar + 2 > body.size()) continue;
        worn[player.name].insert(int16_t(body[avatar] << 8 | body[avatar + 1]));
    }
}

// A stub player wears one avatar in every reply that names him: his details, the
// rankings, the friends ranked and listed, the waiting list, his profile and his seat at
// each table.
TEST_F(LobbyWire, AStubPlayerWearsOneAvatarInEveryReplyThatNamesHim) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    std::map<std::string, std::set<int>> worn;
    const std::tuple<int16_t, ByteVector, int> asked[] = {
        {31, {0}, -1},   {31, {2}, -1},      {31, {3}, -1}, {30, {3, 0}, -1}, {30, {3, 1}, -1},
        {104, {16}, 16}, {104, {20, 3}, 20}, {104, {5}, 5}, {78, {2}, 2},
    };
    for (const auto& [command, body, sub] : asked) {
        send(command, body);
        auto reply = next(command, sub);
        ASSERT_TRUE(reply) << command;
        noteAvatars(*reply, worn);
    }
    for (const portalstub::StubPlayer& player : portalstub::kStubPlayers) {
        send(34, Bytes().int32(player.id).data());
        auto details = next(34);
        ASSERT_TRUE(details) << player.name;
        noteAvatars(*details, worn);
        send(1005, Bytes().int32(player.id).data());
        auto profile = next(1005);
        ASSERT_TRUE(profile) << player.name;
        const ByteVector record(profile->data().begin(), profile->data().end());
        ASSERT_GE(record.size(), 4u);
        worn[player.name].insert(int32_t(record[record.size() - 4] << 24 | record[record.size() - 3] << 16 |
                                         record[record.size() - 2] << 8 | record[record.size() - 1]));
    }
    for (const auto& [game, command] : {std::pair<int8_t, int16_t>{3, 8}, {13, 8}, {17, 8}, {5, 1900}}) {
        send(61, {uint8_t(game)});
        ASSERT_TRUE(next(61));
        send(command, Bytes().byte(1).byte(1).utf("").data());
        auto joined = next(8);
        ASSERT_TRUE(joined) << int(game);
        noteAvatars(*joined, worn);
    }
    for (const auto& [name, avatars] : worn)
        EXPECT_EQ(avatars.size(), 1u) << name << " wears " << avatars.size() << " avatars";
    for (const char* seated : {"lan", "minh", "hoa", "May"})
        EXPECT_TRUE(worn.count(seated)) << seated << " was seen at a table";
}

// Names that read as something else: blank (a zero-width space, a no-break space, an
// ideographic space, the Hangul filler alone), turned around or marked by a character no
// one sees ("\u202Enal" shows as "lan", a stub player's name; U+200E, U+200F, U+2066 to
// U+2069, U+061C, a leading byte-order mark), a letter under nineteen combining marks. Each
// is refused by registration and by sign-in (a blank one as no name) and signs nobody in;
// a Vietnamese name written with its marks apart, and one with an emoji's variation
// selector, are names that open accounts.
TEST(StubNames, ANameThatReadsAsSomethingElseIsRefusedByRegistrationAndSignIn) {
    const std::string notValid = "Tên đăng nhập không hợp lệ";
    const std::string noName = "Bạn chưa nhập tên đăng nhập";
    std::string marked = "e";
    for (int i = 0; i < 19; ++i)
        marked += "\xcc\x81"; // U+0301
    const std::tuple<const char*, std::string, std::string> refused[] = {
        {"a zero-width space", "\xe2\x80\x8b", noName},
        {"a no-break space", "\xc2\xa0", noName},
        {"an ideographic space", "\xe3\x80\x80", noName},
        {"the Hangul filler", "\xe3\x85\xa4", noName},
        {"blanks and a mark", " \xcc\x81 ", noName},
        {"U+202E", "\xe2\x80\xaenal", notValid},
        {"U+200E", "an\xe2\x80\x8e", notValid},
        {"U+200F",
         "\xe2\x80\x8f"
         "an",
         notValid},
        {"U+2066 to U+2069",
         "\xe2\x81\xa6"
         "an\xe2\x81\xa9",
         notValid},
        {"U+2067",
         "\xe2\x81\xa7"
         "an",
         notValid},
        {"U+2068", "a\xe2\x81\xa8n", notValid},
        {"U+061C", "\xd8\x9cnal", notValid},
        {"a leading byte-order mark", "\xef\xbb\xbfkhach", notValid},
        {"the Hangul filler inside",
         "kh\xe3\x85\xa4"
         "ach",
         notValid},
        {"nineteen combining marks", marked, notValid},
    };
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    StubPerson person(stub.port());
    ASSERT_TRUE(person.connected());
    for (const auto& [what, name, atSignIn] : refused) {
        SCOPED_TRACE(what);
        person.send(35, Bytes().utf(name).utf("123").data());
        auto registered = person.next(35);
        ASSERT_TRUE(registered);
        EXPECT_EQ(registered->data(), Bytes().utf("").boolean(false).utf(notValid).utf("").data());
        person.send(1, signInBody(name));
        auto answer = person.next(4);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->readUTF(), atSignIn);
    }
    for (const auto& message : person.listener().messages())
        EXPECT_NE(message.commandId, 3) << "nobody was signed in";
    // Each is answered under the name its account is kept as: in its normal form, the marks composed.
    const std::pair<std::string, std::string> names[] = {{"Nguye\xcc\x82\xcc\x83n", "Nguy\xe1\xbb\x85n"},
                                                         {"an\xe2\x9d\xa4\xef\xb8\x8f", "an\xe2\x9d\xa4\xef\xb8\x8f"}};
    for (const auto& [name, kept] : names) {
        person.send(35, Bytes().utf(name).utf("123").data());
        auto registered = person.next(35);
        ASSERT_TRUE(registered);
        EXPECT_EQ(registered->data(), Bytes().utf(kept).boolean(true).utf("KAVO DK " + kept).utf("8777").data());
    }
}

// A name from the wire is repeated no further than the client's name field shows it
// (twenty characters): a transfer to, and a message for, a name of 10,020 characters that no
// one has are refused with its first twenty, in the answer and in the log; a message for a
// player someone is goes; a name search and a report of that name find no one and are
// logged with its first twenty too.
TEST(StubNames, ANameFromTheWireIsRepeatedNoFurtherThanItsFieldShows) {
    TestFolder folder;
    const std::string log = folder.path + "/stub.log";
    const std::string shown = "Nguyễn Văn Hải Đăng1";
    const std::string name = shown + std::string(10000, 'x');
    {
        StubProcess stub({}, {}, log);
        ASSERT_TRUE(stub.ready());
        StubPerson person(stub.port());
        ASSERT_EQ(person.signIn("khach"), 1000000);
        person.send(17, Bytes().utf(name).int32(1000).data());
        auto transfer = person.next(17);
        ASSERT_TRUE(transfer);
        EXPECT_EQ(transfer->readLong(), 1000000);
        EXPECT_EQ(transfer->readUTF(), "Không có người chơi " + shown);
        const std::tuple<std::string, int, std::string> messages[] = {{name, 0, "Không có người chơi " + shown},
                                                                      {"lan", 1, "Đã gửi tin nhắn cho lan"}};
        for (const auto& [to, status, told] : messages) {
            person.send(104, Bytes().byte(13).utf(to).utf("chào").data());
            auto answer = person.next(104, 13);
            ASSERT_TRUE(answer);
            EXPECT_EQ(answer->data(), Bytes().byte(13).byte(int8_t(status)).utf(told).data());
        }
        person.send(36, Bytes().utf(name).data());
        auto found = person.next(36);
        ASSERT_TRUE(found);
        EXPECT_FALSE(found->available()) << "no stub player is named so";
        person.send(2703, Bytes().int32(1).utf(name).utf("Gian lận").utf("chơi gian").data());
        ASSERT_TRUE(person.next(2703));
    }
    std::ifstream file(log);
    std::set<std::string> named;
    for (std::string line; std::getline(file, line);) {
        EXPECT_EQ(line.find(shown + "x"), std::string::npos) << line.substr(0, 120);
        for (const std::string what : {"message to ", "name search: ", "report of "})
            if (line.find(what + shown) != std::string::npos) named.insert(what);
    }
    EXPECT_EQ(named, (std::set<std::string>{"message to ", "name search: ", "report of "}))
        << "the log names whom the message was for, what was searched for and whom the report was of";
}

// A person's id is his name's, the same at every sign-in, and never a stub player's
// ("khacheyt7" is not taken for May at Chinese chess, nor the person "an" for the stub
// player an).
TEST_F(LobbyWire, APersonNeverSignsInUnderAStubPlayersId) {
    std::set<int32_t> ids;
    for (const char* name : {"khacheyt7", "an", "May", "khach"}) {
        SCOPED_TRACE(name);
        const int32_t id = signInAndChoose(name, 5);
        EXPECT_EQ(signInAndChoose(name, 5), id) << "the same at the next sign-in";
        for (const portalstub::StubPlayer& player : portalstub::kStubPlayers)
            EXPECT_NE(id, player.id) << player.name;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 4u);
}

// The access token the stub's login page hands out, read from its redirect.
std::string tokenFrom(uint16_t httpPort) {
    Fd page = connectToLoopback(httpPort);
    if (!page.valid()) return "";
    const std::string request = "GET /dialog/oauth HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    if (!sendAll(page.get(), reinterpret_cast<const uint8_t*>(request.data()), request.size())) return "";
    const std::string answer = readUntilClosed(page.get());
    const size_t start = answer.find("access_token=");
    if (start == std::string::npos) return "";
    const size_t end = answer.find('&', start);
    return answer.substr(start + 13, end == std::string::npos ? std::string::npos : end - start - 13);
}

// The login page and the game server are different processes (one per client): a
// token from the page signs in on the game server, a made-up one does not.
TEST_F(LobbyWire, ATokenFromTheLoginPageSignsInAndAMadeUpOneIsRefused) {
    const std::string token = tokenFrom(stub_->httpPort());
    ASSERT_EQ(token.rfind("stub-1-", 0), 0u) << token;
    for (const std::string& forged : {std::string("stub-1"), std::string("stub-1-0000000000000000"),
                                      std::string("stub-2") + token.substr(6), token + "0", std::string("")}) {
        send(2301, Bytes().utf(forged).data());
        EXPECT_TRUE(next(2302)) << "refused: " << forged;
    }
    send(2301, Bytes().utf(token).data());
    auto signedIn = next(3);
    ASSERT_TRUE(signedIn);
    auto named = next(2306);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->readInt(), signedIn->readInt());
    EXPECT_EQ(named->readUTF(), "sn1");
}

// A client that signs in while another is leaving is served.
TEST(StubClients, ASecondClientIsServedWhileTheFirstLeaves) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    std::optional<StubPerson> first(std::in_place, stub.port());
    ASSERT_NE(first->signIn("an"), -1) << "the first is signed in";
    StubPerson second(stub.port());
    ASSERT_TRUE(second.connected());
    second.send(1, signInBody("binh"));
    first.reset();
    EXPECT_TRUE(second.next(3)) << "the second is signed in";
}

struct Sitter {
    const char* name;
    const char* language;
    const char* win;
    const char* lose;
};

// Two people connected at the same time each sign in, sit at the same Bai Cao board and
// play a hand: each gets its own answers (itself the board's owner, its own deal, the
// hand's money with itself among the players, in its own language).
TEST(StubClients, TwoClientsAtOnceSignInAndSit) {
    ::setenv("KAVO_STUB_STAKE_PAUSE", "0.1", 1);
    StubProcess stub;
    ::unsetenv("KAVO_STUB_STAKE_PAUSE");
    ASSERT_TRUE(stub.ready());
    const Sitter sitters[] = {{"an", "en", "Win", "Lose"}, {"binh", "vi", "Thắng", "Thua"}};
    StubPerson first(stub.port());
    StubPerson second(stub.port());
    StubPerson* people[] = {&first, &second};
    int32_t ids[2] = {};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sitters[i].name);
        auto signedIn = people[i]->signInReply(sitters[i].name);
        ASSERT_TRUE(signedIn) << "signed in while the other is connected";
        ids[i] = signedIn->readInt();
        people[i]->send(2800, languageBody(sitters[i].language));
        people[i]->send(61, {11});
        ASSERT_TRUE(people[i]->next(61));
    }
    ASSERT_NE(ids[0], ids[1]);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sitters[i].name);
        people[i]->send(8, Bytes().byte(1).byte(5).utf("").data());
        auto joined = people[i]->next(8);
        ASSERT_TRUE(joined) << "the join is answered";
        EXPECT_EQ(joined->readByte(), 1);
        EXPECT_EQ(joined->readByte(), 5);
        EXPECT_EQ(joined->readInt(), ids[i]) << "each owns its own table";
        EXPECT_EQ(joined->readInt(), 10000);
    }
    for (auto* person : people)
        person->send(20, {1, 5});
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sitters[i].name);
        ASSERT_TRUE(people[i]->next(20)) << "dealt";
        std::set<int32_t> players;
        for (int j = 0; j < 3; ++j) {
            auto bonus = people[i]->next(52);
            ASSERT_TRUE(bonus) << "the hand's money";
            EXPECT_EQ(bonus->readByte(), 1);
            EXPECT_EQ(bonus->readByte(), 5);
            players.insert(bonus->readInt());
            const int32_t amount = bonus->readInt();
            EXPECT_EQ(bonus->readUTF(), amount > 0 ? sitters[i].win : sitters[i].lose);
        }
        EXPECT_TRUE(players.count(ids[i])) << "the player's own money is settled";
        EXPECT_FALSE(players.count(ids[1 - i])) << "not the other client's";
    }
}

// Each connection is served by a process of its own: an account's money outlives it,
// the person's by his name and a stub player's wherever he is listed next.
TEST(StubClients, EveryAccountsMoneyOutlivesAConnection) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    {
        StubPerson first(stub.port());
        ASSERT_EQ(first.signIn("khach"), 1000000);
        first.send(101, Bytes().byte(6).int32(1).int32(100).data()); // item 100, for 1,000
        auto balance = first.next(17);
        EXPECT_EQ(balance ? balance->readLong() : -1, 999000) << "a purchase tells the new balance";
        first.send(17, Bytes().utf("lan").int32(2000).data());
        ASSERT_TRUE(first.next(17));
    }
    const std::pair<const char*, int64_t> accounts[] = {{"khach", 997000}, {"khach2", 1000000}};
    for (const auto& [name, money] : accounts) {
        SCOPED_TRACE(name);
        StubPerson again(stub.port());
        EXPECT_EQ(again.signIn(name), money);
        again.send(34, Bytes().int32(4001).data());
        auto lan = again.next(34);
        ASSERT_TRUE(lan);
        lan->readInt();
        EXPECT_EQ(lan->readUTF(), "lan");
        EXPECT_EQ(lan->readLong(), 39500000 + 2000) << "lan keeps what he was sent";
    }
}

// The state folders under `folder`, by name.
std::set<std::string> stateFoldersIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A stub killed before it could remove its state folder leaves it behind; the next stub
// to start removes it and leaves a running stub's.
TEST(StubClients, ANewStubRemovesTheStateFolderOfAKilledOne) {
    std::string temporary = std::filesystem::temp_directory_path() / "stub-folders-XXXXXX";
    ASSERT_TRUE(::mkdtemp(temporary.data()));
    const std::map<std::string, std::string> environment = {{"TMPDIR", temporary}};
    StubProcess killed({}, environment);
    ASSERT_TRUE(killed.ready());
    const auto killedFolder = stateFoldersIn(temporary);
    StubProcess running({}, environment);
    ASSERT_TRUE(running.ready());
    const auto both = stateFoldersIn(temporary);
    ASSERT_EQ(killedFolder.size(), 1u);
    ASSERT_EQ(both.size(), 2u);
    killed.kill();
    EXPECT_EQ(stateFoldersIn(temporary), both) << "the killed stub left its folder";
    StubProcess next({}, environment);
    ASSERT_TRUE(next.ready());
    const auto after = stateFoldersIn(temporary);
    EXPECT_FALSE(after.count(*killedFolder.begin())) << "the killed stub's folder is gone";
    EXPECT_EQ(after.size(), 2u) << "the running stub's and the new one's stay";
    auto runningFolder = both;
    runningFolder.erase(*killedFolder.begin());
    EXPECT_TRUE(after.count(*runningFolder.begin())) << "the running stub's folder stays";
    running.kill();
    next.kill();
    std::filesystem::remove_all(temporary);
}

} // namespace
} // namespace kavo::test
