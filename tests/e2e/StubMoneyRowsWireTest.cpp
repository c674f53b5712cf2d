// Every row of the portal stub's table that moves money or ownership, read from the stub
// itself (`portal-stub --table`), walked over plain wire connections with each request of
// it that must take nothing: the same proof again (a card, a receipt, a draw's result),
// from a second connection and after the stub started anew on the same accounts; a
// receiver who does not exist or is not where the row needs him; something already owned;
// an amount of nothing, below nothing or above the balance; a message that tops nothing
// up. Each is answered with why, and nothing of money or ownership moves in the accounts
// file: no balance, nothing owned, no line of history, no ticket, receipt or card. A row
// the stub marks that the walk has no requests for fails it, and so does one the walk
// knows that the stub no longer marks: a money row cannot be added without the walk.
#include "platform/foundation/SqliteDatabase.h"
#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/StubWire.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {
namespace {

constexpr int64_t kStart = 1000000;
constexpr double kStateWait = 30;
// A poor player's money: each price or amount the walk names is above it. The walker keeps
// his own, so that a request of his that a missing check let through would be paid.
constexpr int64_t kLeft = 500;
constexpr int32_t kLan = 4001; // a stub player at the walker's table
constexpr int32_t kAn = 201;   // a stub player at no table of his
constexpr int kDrawSeconds = 10;

// The rows of the stub's table that move money, as it lists them: "command C sub S game G".
std::set<std::string> moneyRowsOfTheStub(const std::string& log) {
    ChildProcess table;
    std::set<std::string> rows;
    if (!table.start({KAVO_PORTAL_STUB, "--table"}, {}, true, log)) return rows;
    while (auto line = table.readLine(kStateWait)) {
        std::istringstream words(*line);
        std::string command, sub, game, rule, money;
        std::string word;
        words >> word >> command >> word >> sub >> word >> game >> word >> rule >> word >> money;
        if (money == "yes") rows.insert("command " + command + " sub " + sub + " game " + game);
    }
    EXPECT_EQ(table.wait(kStateWait), 0) << "the table is sound";
    return rows;
}

// What the accounts file holds of money and ownership: the balance of every account by its
// key, and every thing owned (by a person or a stub player), line of history, ticket,
// receipt and card, each as a line of text.
struct Holdings {
    std::map<std::string, int64_t> balances;
    std::vector<std::string> rest;
};

Holdings holdingsOf(const std::string& file) {
    Holdings held;
    platform::SqliteDatabase accounts;
    if (!accounts.open(file)) return held;
    auto balances = accounts.prepare("SELECT key, money FROM accounts ORDER BY key");
    while (balances.step() == platform::SqliteDatabase::kRow)
        held.balances[balances.columnText(0)] = balances.columnInt(1);
    // Each query and its number of columns.
    const std::pair<const char*, int> others[] = {
        {"SELECT 'owned', person, kind, id FROM owned ORDER BY rowid", 4},
        {"SELECT 'stub owned', player, kind, id FROM stub_owned ORDER BY rowid", 4},
        {"SELECT 'history', person, kind, subject, amount FROM history ORDER BY rowid", 5},
        {"SELECT 'ticket', person, draw, number, stake, settled FROM tickets ORDER BY rowid", 6},
        {"SELECT 'receipt', receipt, person FROM receipts ORDER BY receipt", 3},
        {"SELECT 'card', carrier, serial, person FROM cards ORDER BY carrier, serial", 4}};
    for (const auto& [query, columns] : others) {
        auto rows = accounts.prepare(query);
        while (rows.step() == platform::SqliteDatabase::kRow) {
            std::string line;
            for (int column = 0; column < columns; ++column)
                line += rows.columnText(column) + "|";
            held.rest.push_back(line);
        }
    }
    return held;
}

// The money an account opens with (a read of one not yet asked about opens it): a
// person's start money, or a stub player's.
int64_t openingMoney(const std::string& key) {
    for (const portalstub::StubPlayer& player : portalstub::kStubPlayers)
        if (key == "s" + std::string(player.name)) return player.startMoney;
    return kStart;
}

// What moved between two looks at the accounts ("" when nothing did): a balance changed,
// an account opened with other than its opening money, or a thing owned, a line of history,
// a ticket, a receipt or a card that came or went.
std::string movedBetween(const Holdings& before, const Holdings& after) {
    std::string moved;
    for (const auto& [key, money] : after.balances) {
        const auto was = before.balances.find(key);
        const int64_t expected = was == before.balances.end() ? openingMoney(key) : was->second;
        if (money != expected)
            moved += "the balance of " + key + ": " + std::to_string(expected) + " -> " + std::to_string(money) + "; ";
    }
    for (const auto& [key, money] : before.balances)
        if (!after.balances.count(key)) moved += "the account " + key + " went; ";
    if (after.rest != before.rest) {
        for (const std::string& line : after.rest)
            if (std::find(before.rest.begin(), before.rest.end(), line) == before.rest.end())
                moved += "came: " + line + "; ";
        for (const std::string& line : before.rest)
            if (std::find(after.rest.begin(), after.rest.end(), line) == after.rest.end())
                moved += "went: " + line + "; ";
    }
    return moved;
}

// What the stub answered a request: whether it says the request was made, and its text.
struct Told {
    bool made = false;
    std::string text;
};

// The answer to a request of `command` (of `sub` when not -1) from `person`: the row's own
// reply, or the one-button notice a refusal is told in where the reply has no place for it
// (an avatar, a present). A made purchase, present or ticket is followed by the balance,
// which is read past too. Anything else that comes meanwhile (the table's players getting
// ready, a balance told after an earlier change) is passed over.
std::optional<Told> answerOf(StubPerson& person, int16_t command, int sub) {
    const int16_t reply = command == 57 ? 71 : command;
    for (auto answer = person.nextAny(); answer; answer = person.nextAny()) {
        const auto& body = answer->data();
        if (answer->commandId() == 45) {
            answer->readByte();
            return Told{false, answer->readUTF()};
        }
        if (answer->commandId() != reply) continue;
        Told told;
        switch (reply) {
        case 17: // the transfer's answer: the balance, then its note (a balance told alone has none)
            answer->readLong();
            told.text = answer->readUTF();
            if (told.text.empty()) continue;
            told.made = told.text.rfind("Đã chuyển", 0) == 0;
            return told;
        case 1403:
            told.made = answer->readBool();
            answer->readInt();
            told.text = answer->readUTF();
            break;
        case 71:
            answer->readByte();
            told.made = answer->readByte() == 1;
            told.text = answer->readUTF();
            return told;
        case 101:
        case 104:
            if (body.empty() || int8_t(body[0]) != sub) continue;
            answer->readByte();
            told.made = reply == 104 || answer->readByte() == 0;
            if (!told.made) told.text = answer->readUTF();
            break;
        default: // 1202: the avatar bought
            told.made = true;
            break;
        }
        if (told.made && !person.next(17)) return std::nullopt;
        return told;
    }
    return std::nullopt;
}

// A request the walk sends: what it is, its command and body, and the sub its reply names.
struct Request {
    const char* what;
    int16_t command;
    ByteVector body;
    int sub = -1;
};

// Who sends a request: the walker, the walker from a gift sheet left open after he left
// the table, or the poor player (kLeft Zel).
enum class Sender { Walker, WalkerAfterLeaving, Poor };

// A request of a money row that must take nothing, the text that says why, and who sends it.
struct MustTakeNothing {
    Request request;
    std::string why;
    Sender sender = Sender::Walker;
};

ByteVector transfer(const std::string& to, int32_t amount) {
    return Bytes().utf(to).int32(amount).data();
}
ByteVector textMessage(const std::string& text, const std::string& to) {
    return Bytes().utf(text).utf(to).data();
}
ByteVector card(int8_t channel, const std::string& serial, const std::string& code) {
    return Bytes().byte(channel).byte(channel == 8 ? 5 : 1).utf(serial).utf(code).data();
}
ByteVector receipt(const std::string& proof) {
    return Bytes().byte(5).utf(proof).data();
}
ByteVector cart(int32_t count, int32_t item) {
    Bytes body;
    body.byte(6).int32(count);
    for (int32_t i = 0; i < count; ++i)
        body.int32(item);
    return body.data();
}
ByteVector tableGift(int8_t board, int32_t gift, int32_t to) {
    return Bytes().byte(7).byte(1).byte(board).int32(gift).int32(to).data();
}
ByteVector itemFor(int32_t item, const std::string& to) {
    return Bytes().byte(8).int32(item).int32(0).utf(to).data();
}
ByteVector avatarFor(int16_t avatar, const std::string& to) {
    return Bytes().byte(9).int16(avatar).utf(to).int32(0).data();
}
ByteVector ticket(int32_t number, int32_t stake) {
    return Bytes().int32(number).int32(stake).data();
}

// The walk: a stub on a kept state folder, a walker who makes one request of each money
// row (the proofs and things owned the requests after it name), a poor player who sent all
// but kLeft away, and a person the presents go to.
class MoneyRowsWalk : public ::testing::Test {
protected:
    void SetUp() override { startStub(); }

    void startStub() {
        stub_.reset();
        stub_ = std::make_unique<StubProcess>(
            std::vector<std::string>{"--state-dir", state_, "--lottery-period", std::to_string(kDrawSeconds)},
            std::map<std::string, std::string>{}, folder_.path + "/stub.log");
        ASSERT_TRUE(stub_->ready());
    }
    Holdings holdings() const { return holdingsOf(state_ + "/accounts.sqlite"); }

    // Signs `person` in as `name`, chooses Tien Len and sits at board 1 beside lan: his id.
    static int32_t seat(StubPerson& person, const std::string& name) {
        auto signedIn = person.signInReply(name);
        if (!signedIn) return 0;
        const int32_t id = signedIn->readInt();
        person.send(61, {3});
        if (!person.next(61)) return 0;
        return sitAtBoard1(person) ? id : 0;
    }
    static bool sitAtBoard1(StubPerson& person) {
        person.send(8, Bytes().byte(1).byte(1).utf("").data());
        return person.next(8).has_value();
    }

    // Sends `request` and expects it made.
    static void made(StubPerson& person, const Request& request) {
        person.send(request.command, request.body);
        const auto told = answerOf(person, request.command, request.sub);
        ASSERT_TRUE(told) << request.what;
        EXPECT_TRUE(told->made) << request.what << ": " << told->text;
    }

    TestFolder folder_;
    std::string state_ = folder_.path + "/accounts";
    std::unique_ptr<StubProcess> stub_;
};

TEST_F(MoneyRowsWalk, EveryRowThatMovesMoneyTakesNothingForWhatMustTakeNothing) {
    const std::set<std::string> marked = moneyRowsOfTheStub(folder_.path + "/table.log");
    ASSERT_FALSE(marked.empty()) << "the stub lists its table";

    int32_t receiverId = 0;
    {
        StubPerson receiver(stub_->port());
        auto signedIn = receiver.signInReply("nhanvao");
        ASSERT_TRUE(signedIn);
        receiverId = signedIn->readInt();
    }
    auto walker = std::make_unique<StubPerson>(stub_->port());
    const int32_t me = seat(*walker, "divao");
    ASSERT_NE(me, 0);

    // A ticket on the number the open draw will draw, settled when the draw is made: its
    // result, told once, is a draw closed that nothing may pay again.
    walker->send(1401, {});
    auto draws = walker->next(1401);
    ASSERT_TRUE(draws);
    int32_t openDraw = 1;
    if (draws->available()) {
        draws->readInt();
        const std::string newest = draws->readUTF(); // "Kỳ N"
        openDraw = std::stoi(newest.substr(newest.rfind(' ') + 1)) + 1;
    }
    walker->send(1403, ticket(int32_t((int64_t(openDraw) * 37 + 11) % 100), 1000));
    auto bought = walker->next(1403);
    ASSERT_TRUE(bought);
    ASSERT_TRUE(bought->readBool()) << "a ticket";
    // The balance told after the ticket may come before the draw's result or after it.
    ASSERT_TRUE(walker->next(1404, -1, kDrawSeconds + kStateWait)) << "the draw was made and told";

    // One request of each money row made: the proofs and what is owned that come again below.
    const Request madeOnce[] = {
        {"a transfer", 17, transfer("lan", 1000)},
        {"a text message's top-up", 57, textMessage("KAVO NAP divao", "8777")},
        {"a card", 71, card(2, "900001", "5678")},
        {"a promotion card", 71, card(8, "900002", "5678")},
        {"a store receipt", 71, receipt("walk-receipt")},
        {"a cart", 101, cart(1, 100), 6},
        {"a gift at the table", 101, tableGift(1, 4101, kLan), 7},
        {"an item for a person", 104, itemFor(100, "nhanvao"), 8},
        {"an avatar for a person", 104, avatarFor(22, "nhanvao"), 9},
        {"an avatar for a stub player", 104, avatarFor(22, "an"), 9},
        {"an avatar", 1202, Bytes().int32(21).data()},
    };
    for (const Request& request : madeOnce)
        made(*walker, request);
    auto poor = std::make_unique<StubPerson>(stub_->port());
    const int32_t poorId = seat(*poor, "ngheo");
    ASSERT_NE(poorId, 0);
    made(*poor, {"all but what is left sent away", 17, transfer("lan", int32_t(kStart - kLeft))});

    const std::string tooDear = "Không đủ tiền";
    const std::string tooDearAGift = "Không đủ tiền tặng quà cho nhanvao";
    const std::string notSold = "Cửa hàng không bán món này";
    const std::string noAmount = "Số tiền phải lớn hơn 0 Zel";
    const std::string noTopUp = "Tin nhắn này không phải tin nạp Zel";
    const std::string notHere = "Bạn không ngồi ở bàn này";
    const std::string notWithYou = "Người chơi này không ngồi cùng bàn với bạn";
    const std::string noOne = "Không có người chơi khongai";
    const auto poorOne = Sender::Poor;
    const std::map<std::string, std::vector<MustTakeNothing>> walk = {
        {"command 17 sub every game every",
         {{{"a transfer of nothing", 17, transfer("lan", 0)}, noAmount},
          {{"a transfer below nothing", 17, transfer("lan", -1000)}, noAmount},
          {{"a transfer above the balance", 17, transfer("lan", kLeft + 1)}, tooDear, poorOne},
          {{"a transfer to no one", 17, transfer("khongai", 100)}, noOne},
          {{"a transfer to a person, not a stub player", 17, transfer("nhanvao", 100)},
           "Không có người chơi nhanvao"}}},
        {"command 57 sub every game every",
         {{{"a registration's message", 57, textMessage("KAVO DK divao2", "8777")}, noTopUp},
          {{"a password's message", 57, textMessage("KAVO MK divao", "8777")}, noTopUp},
          {{"a top-up to another number", 57, textMessage("KAVO NAP divao", "9999")}, noTopUp},
          {{"a top-up naming another player", 57, textMessage("KAVO NAP nhanvao", "8777")}, noTopUp},
          {{"an empty message", 57, textMessage("", "")}, noTopUp}}},
        {"command 71 sub 2 game every",
         {{{"the same card again", 71, card(2, "900001", "5678")}, "Thẻ này đã được sử dụng"},
          {{"a card of letters", 71, card(2, "12ab", "34")}, "Thẻ không hợp lệ"},
          {{"a card without a serial", 71, card(2, "", "5678")}, "Thẻ không hợp lệ"}}},
        {"command 71 sub 8 game every",
         {{{"the same promotion card again", 71, card(8, "900002", "5678")}, "Thẻ này đã được sử dụng"},
          {{"a promotion card of letters", 71, card(8, "ab", "cd")}, "Thẻ không hợp lệ"}}},
        {"command 71 sub 5 game every",
         {{{"the same receipt again", 71, receipt("walk-receipt")}, "Giao dịch này đã được nạp trước đó"},
          {{"an empty receipt", 71, receipt("")}, "Biên nhận không hợp lệ"}}},
        {"command 101 sub 6 game every",
         {{{"a cart of nothing", 101, cart(0, 100), 6}, "Hãy chọn vật phẩm trước"},
          {{"a cart counted below nothing", 101, Bytes().byte(6).int32(-1).data(), 6}, notSold},
          {{"an item never listed", 101, cart(1, 999), 6}, notSold},
          {{"a cart above the balance", 101, cart(1, 100), 6}, tooDear, poorOne}}},
        {"command 101 sub 7 game every",
         {{{"a gift to no one's id", 101, tableGift(1, 4101, 999999), 7}, notWithYou},
          {{"a gift to id 0", 101, tableGift(1, 4101, 0), 7}, notWithYou},
          {{"a gift to id -1", 101, tableGift(1, 4101, -1), 7}, notWithYou},
          {{"a gift to a stub player at no table of his", 101, tableGift(1, 4101, kAn), 7}, notWithYou},
          {{"a gift to a person at another table", 101, tableGift(1, 4101, poorId), 7}, notWithYou},
          {{"a gift to a person at no table", 101, tableGift(1, 4101, receiverId), 7}, notWithYou},
          {{"a gift at a table he does not sit at", 101, tableGift(2, 4101, kLan), 7}, notHere},
          {{"a gift from a sheet left open after he left", 101, tableGift(1, 4101, kLan), 7},
           notHere,
           Sender::WalkerAfterLeaving},
          {{"a gift never listed", 101, tableGift(1, 4199, kLan), 7}, notSold},
          {{"a gift above the balance", 101, tableGift(1, 4101, kLan), 7}, tooDear, poorOne}}},
        {"command 104 sub 8 game every",
         {{{"an item for no one", 104, itemFor(100, "khongai"), 8}, noOne},
          {{"an item never listed", 104, itemFor(-9, "nhanvao"), 8}, notSold},
          {{"an item above the balance", 104, itemFor(100, "nhanvao"), 8}, tooDearAGift, poorOne}}},
        {"command 104 sub 9 game every",
         {{{"an avatar a person has", 104, avatarFor(22, "nhanvao"), 9}, "nhanvao đã có ảnh đại diện này"},
          {{"an avatar a stub player has", 104, avatarFor(22, "an"), 9}, "an đã có ảnh đại diện này"},
          {{"an avatar for no one", 104, avatarFor(23, "khongai"), 9}, noOne},
          {{"an avatar never listed", 104, avatarFor(5, "nhanvao"), 9}, notSold},
          {{"an avatar above the balance", 104, avatarFor(23, "nhanvao"), 9}, tooDearAGift, poorOne}}},
        {"command 1202 sub every game every",
         {{{"an avatar he has", 1202, Bytes().int32(21).data()}, "Bạn đã có ảnh đại diện này"},
          {{"an avatar never listed", 1202, Bytes().int32(5).data()}, notSold},
          {{"an avatar above the balance", 1202, Bytes().int32(29).data()}, tooDear, poorOne}}},
        {"command 1403 sub every game every",
         {{{"a ticket of nothing", 1403, ticket(7, 0)}, noAmount},
          {{"a ticket below nothing", 1403, ticket(7, -1000)}, noAmount},
          {{"a ticket above the balance", 1403, ticket(7, int32_t(kLeft) + 1)}, tooDear, poorOne},
          {{"a ticket past 99", 1403, ticket(100, 100)}, "Số phải từ 00 đến 99"},
          {{"a ticket below 00", 1403, ticket(-1, 100)}, "Số phải từ 00 đến 99"}}},
    };
    for (const std::string& row : marked)
        EXPECT_TRUE(walk.count(row)) << row << " moves money: the walk needs the requests of it that take nothing";
    for (const auto& [row, requests] : walk)
        EXPECT_TRUE(marked.count(row)) << row << " is walked but the stub does not mark it as moving money";

    // Each request that must take nothing, on the connections that made the first ones, on
    // second connections, and after the stub started anew on the same accounts. Each
    // sign-in and seat takes nothing either: the draw closed above pays no more.
    for (const char* where : {"on the first connections", "on second connections", "after a restart"}) {
        SCOPED_TRACE(where);
        Holdings before = holdings();
        if (std::string(where) == "after a restart") {
            walker.reset();
            poor.reset();
            startStub();
        }
        if (std::string(where) != "on the first connections") {
            walker = std::make_unique<StubPerson>(stub_->port());
            ASSERT_EQ(seat(*walker, "divao"), me);
            poor = std::make_unique<StubPerson>(stub_->port());
            ASSERT_EQ(seat(*poor, "ngheo"), poorId);
            EXPECT_EQ(movedBetween(before, holdings()), "") << "the sign-ins after the draw closed";
        }
        for (const auto& [row, requests] : walk) {
            if (!marked.count(row)) continue;
            for (const MustTakeNothing& request : requests) {
                SCOPED_TRACE(row + ": " + request.request.what);
                StubPerson& sender = request.sender == Sender::Poor ? *poor : *walker;
                if (request.sender == Sender::WalkerAfterLeaving) sender.send(15, Bytes().byte(1).byte(1).data());
                before = holdings();
                sender.send(request.request.command, request.request.body);
                const auto told = answerOf(sender, request.request.command, request.request.sub);
                ASSERT_TRUE(told) << "no answer";
                EXPECT_EQ(told->text, request.why);
                EXPECT_EQ(movedBetween(before, holdings()), "");
                if (request.sender == Sender::WalkerAfterLeaving) {
                    ASSERT_TRUE(sitAtBoard1(sender));
                }
            }
        }
    }
}

} // namespace
} // namespace kavo::test
