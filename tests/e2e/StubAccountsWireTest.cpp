// What the portal stub keeps of an account, over plain wire connections: nothing before
// a sign-in, money is checked and spent in one step (two connections of one name never
// spend one balance twice), a busy accounts file is a failure and not a refusal, the shop
// sells only what it lists and what the balance covers, a gift costs its giver its price,
// the lottery's draws count from 1, only an invitation sent makes a friend, and a person's
// friends, tickets, results, shop history and notices outlive his connection.
#include "games/maubinh/MauBinhRules.h"
#include "platform/foundation/SqliteDatabase.h"
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace kavo::test {
namespace {

constexpr int64_t kStart = 1000000;
constexpr int32_t kLan = 4001;
constexpr int32_t kDung = 204;
constexpr int32_t kDearestItem = 109; // 10,000 Zel
// A number no draw of the stub's first minutes wins.
constexpr int32_t kLosingNumber = 42;

// A cart of `count` of one item (101 sub 6).
ByteVector cart(int32_t count, int32_t item = kDearestItem) {
    Bytes body;
    body.byte(6).int32(count);
    for (int32_t i = 0; i < count; ++i)
        body.int32(item);
    return body.data();
}

// A spend that takes all or nearly all of a balance, so that it can be paid once.
struct Spend {
    const char* name;
    int16_t command;
    ByteVector (*request)(int64_t balance);
    int64_t (*amount)(int64_t balance);
};

const Spend kSpends[] = {
    {"Transfer", 17, [](int64_t b) { return Bytes().utf("lan").int32(int32_t(b)).data(); },
     [](int64_t b) { return b; }},
    {"LotteryTicket", 1403, [](int64_t b) { return Bytes().int32(7).int32(int32_t(b)).data(); },
     [](int64_t b) { return b; }},
    {"Purchase", 101, [](int64_t b) { return cart(int32_t(b / 10000)); }, [](int64_t b) { return b / 10000 * 10000; }},
};

// Whether a connection's spend was made, and the balance its answer told (-1: none).
std::pair<bool, int64_t> outcome(StubPerson& person, int16_t command) {
    auto answer = person.next(command, command == 101 ? 6 : -1);
    if (!answer) return {false, -1};
    if (command == 17) {
        const int64_t money = answer->readLong();
        return {answer->readUTF().rfind("Đã chuyển", 0) == 0, money};
    }
    if (command == 101) answer->readByte();
    const bool made = command == 1403 ? answer->readBool() : answer->readByte() == 0;
    if (!made) return {false, -1};
    auto balance = person.next(17);
    return {true, balance ? balance->readLong() : -1};
}

// A stub whose state folder lies in a temporary folder of the test's own, so that the
// test can open its accounts file; the folder goes after the stub.
struct StubWithFile {
    TestFolder folder;
    StubProcess stub{{}, {{"TMPDIR", folder.path}}};
    std::string file() const {
        for (const auto& made : std::filesystem::directory_iterator(folder.path))
            return made.path() / "accounts.sqlite";
        return "";
    }
};

class TwoConnectionsSpend : public ::testing::TestWithParam<Spend> {};

// Two connections of one name send the same spend at the same moment, round after
// round, each time of a balance that covers it once: one is made, the other refused,
// and no balance told is below 0. The stub pauses between a spend's check and its
// debit, so that a check and a debit that were two steps would be caught every round.
TEST_P(TwoConnectionsSpend, OneBalanceIsNeverSpentTwice) {
    const Spend& spend = GetParam();
    StubProcess stub({}, {{"KAVO_STUB_SPEND_PAUSE", "200"}});
    ASSERT_TRUE(stub.ready());
    StubPerson first(stub.port());
    StubPerson second(stub.port());
    ASSERT_EQ(first.signIn("doi"), kStart);
    ASSERT_EQ(second.signIn("doi"), kStart);
    int64_t balance = kStart;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        first.send(spend.command, spend.request(balance));
        second.send(spend.command, spend.request(balance));
        const auto one = outcome(first, spend.command);
        const auto other = outcome(second, spend.command);
        ASSERT_EQ(int(one.first) + int(other.first), 1) << "made once";
        balance -= spend.amount(balance);
        EXPECT_EQ(one.first ? one.second : other.second, balance) << "the balance told";
        // A card's 50,000 for the next round: a card of its own each round, as a card pays once.
        first.send(71, Bytes().byte(2).byte(1).utf(std::to_string(1000 + round)).utf("5678").data());
        auto topUp = first.next(71);
        ASSERT_TRUE(topUp);
        topUp->readShort();
        topUp->readUTF();
        topUp->readUTF();
        balance += 50000;
        ASSERT_EQ(topUp->readLong(), balance);
    }
}

INSTANTIATE_TEST_SUITE_P(EverySpend, TwoConnectionsSpend, ::testing::ValuesIn(kSpends),
                         [](const auto& info) { return std::string(info.param.name); });

// The pid of the process that serves the `nth` connection (from 0), as the stub's log
// names it; -1 when the log does not (yet).
pid_t sessionProcess(const std::string& log, size_t nth) {
    std::ifstream file(log);
    const std::string said = "a client connected, served by process ";
    size_t seen = 0;
    for (std::string line; std::getline(file, line);) {
        const size_t at = line.find(said);
        if (at != std::string::npos && seen++ == nth) return pid_t(std::atoi(line.c_str() + at + said.size()));
    }
    return -1;
}

// A session killed in the middle of a spend, while it holds the writers' lock, leaves the
// lock to the next process at once: another connection's transfer is made, not failed
// after the wait, and the killed one's spend, never committed, took nothing. Only giua's
// spends pause, for longer than the test: nothing but the kill ends that pause.
TEST(StubAccounts, ASessionKilledInTheMiddleOfASpendLeavesTheLockAndTakesNothing) {
    TestFolder folder;
    const std::string log = folder.path + "/stub.log";
    StubProcess stub({}, {{"KAVO_STUB_SPEND_PAUSE", "120000"}, {"KAVO_STUB_SPEND_PAUSE_OF", "giua"}}, log);
    ASSERT_TRUE(stub.ready());
    StubPerson holder(stub.port());
    ASSERT_EQ(holder.signIn("giua"), kStart);
    StubPerson other(stub.port());
    ASSERT_EQ(other.signIn("khac"), kStart);
    const pid_t held = sessionProcess(log, 0);
    ASSERT_GT(held, 0);
    holder.send(17, Bytes().utf("lan").int32(1000).data());
    // Inside the pause between the check and the debit, with the lock held: the process
    // that the stub says pauses is the holder's own.
    ASSERT_EQ(processPausingASpendOf(log, "giua", 60), held);
    ASSERT_EQ(::kill(held, SIGKILL), 0);
    other.send(17, Bytes().utf("lan").int32(1000).data());
    auto answer = other.next(17, -1, 30);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->readLong(), kStart - 1000);
    EXPECT_EQ(answer->readUTF(), "Đã chuyển 1.000 Zel cho lan");
    // Taken from its dead holder, which the system tells the next taker at once, not
    // after the lock's whole wait.
    std::ifstream written(log);
    const std::string lines((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_NE(lines.find("a process died holding the accounts' lock; the lock goes on"), std::string::npos) << lines;
    StubPerson again(stub.port());
    EXPECT_EQ(again.signIn("giua"), kStart) << "the killed spend took nothing";
}

// The rows of the accounts file's tables (accounts, friends, notices had, history, tickets).
int64_t rowsOf(const std::string& file) {
    platform::SqliteDatabase accounts;
    if (!accounts.open(file)) return -1;
    auto count = accounts.prepare("SELECT (SELECT count(*) FROM accounts) + (SELECT count(*) FROM friends) + "
                                  "(SELECT count(*) FROM had) + (SELECT count(*) FROM history) + "
                                  "(SELECT count(*) FROM tickets)");
    return count.step() == platform::SqliteDatabase::kRow ? count.columnInt(0) : -1;
}

// Before a sign-in there is no account: every request of a player's own (money, shop,
// lottery, friends, mail, profile, tables) is dropped unanswered (the server list asked
// after it is the next answer), and the accounts file keeps nothing.
TEST(StubAccounts, NothingIsAnyonesBeforeASignIn) {
    StubWithFile state;
    ASSERT_TRUE(state.stub.ready());
    StubPerson stranger(state.stub.port());
    ASSERT_TRUE(stranger.connected());
    const std::tuple<const char*, int16_t, ByteVector> requests[] = {
        {"a transfer", 17, Bytes().utf("lan").int32(1000).data()},
        {"a text message top-up", 57, Bytes().utf("KAVO NAP khach").utf("8777").data()},
        {"a card top-up", 71, Bytes().byte(2).byte(1).utf("1234").utf("5678").data()},
        {"a store top-up", 71, Bytes().byte(5).utf("receipt").data()},
        {"a cart", 101, cart(1, 100)},
        {"his items", 101, Bytes().byte(3).int32(1).byte(0).byte(0).data()},
        {"a gift at a table", 101, Bytes().byte(7).byte(1).byte(1).int32(4102).int32(kLan).data()},
        {"an avatar", 1202, Bytes().int32(20).data()},
        {"his avatars", 1010, {}},
        {"an avatar chosen", 1008, Bytes().int32(3).data()},
        {"an item for a friend", 104, Bytes().byte(8).int32(100).int32(201).utf("an").data()},
        {"a lottery ticket", 1403, Bytes().int32(kLosingNumber).int32(1000).data()},
        {"his tickets", 1402, {}},
        {"the next draw", 1400, {}},
        {"his history", 2703, Bytes().int32(2).data()},
        {"his friends", 104, {5}},
        {"an invitation accepted", 104, Bytes().byte(2).int32(kDung).data()},
        {"a friend asked for by name", 104, Bytes().byte(15).int32(201).utf("an").data()},
        {"a private message", 5, Bytes().int32(201).utf("chào").data()},
        {"his profile", 1005, Bytes().int32(0).data()},
        {"his profile saved", 1002, Bytes().utf("A").byte(1).int16(1990).utf("").utf("").utf("").raw({1, 1, 1}).data()},
        {"the richest", 31, {0}},
        {"a game chosen", 61, {3}},
        {"the board list", 2700, Bytes().int64(-1).data()},
        {"a board joined", 8, Bytes().byte(1).byte(1).utf("").data()},
        {"play now", 28, {}},
        {"a board created", 2702, Bytes().int32(0).int32(1000).byte(4).utf("").data()},
    };
    for (const auto& [what, command, body] : requests) {
        SCOPED_TRACE(what);
        stranger.send(command, body);
        stranger.send(72, {11});
        auto answer = stranger.nextAny();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->commandId(), 72) << "the request was answered with " << answer->commandId();
        if (answer->commandId() != 72) {
            ASSERT_TRUE(stranger.next(72)); // past the answers to this request
        }
    }
    EXPECT_EQ(rowsOf(state.file()), 0) << "nothing kept";
}

// A spend or a top-up while another process holds the accounts file beyond the wait
// fails, and is told as a failure ("try again later"), not as a refusal for want of
// money, with the balance as it is. Each comes from a connection of its own, so that
// their waits run side by side.
TEST(StubAccounts, ABusyAccountsFileIsAFailureNotPoverty) {
    StubWithFile state;
    ASSERT_TRUE(state.stub.ready());
    // Each: the request, its answer's sub (-1: none) and the bytes of the answer before its text.
    const std::tuple<int16_t, ByteVector, int, int32_t> spends[] = {
        {17, Bytes().utf("lan").int32(1000).data(), -1, 8},
        {1403, Bytes().int32(kLosingNumber).int32(1000).data(), -1, 5},
        {101, cart(1, 100), 6, 2},
        {71, Bytes().byte(2).byte(1).utf("1234").utf("5678").data(), -1, 2}};
    std::vector<std::unique_ptr<StubPerson>> people;
    for (size_t i = 0; i < std::size(spends); ++i) {
        people.push_back(std::make_unique<StubPerson>(state.stub.port()));
        ASSERT_EQ(people.back()->signIn("ban"), kStart);
    }
    platform::SqliteDatabase holder;
    ASSERT_TRUE(holder.open(state.file()));
    ASSERT_TRUE(holder.exec("PRAGMA busy_timeout = 10000") && holder.exec("BEGIN IMMEDIATE"));
    for (size_t i = 0; i < std::size(spends); ++i)
        people[i]->send(std::get<0>(spends[i]), std::get<1>(spends[i]));
    for (size_t i = 0; i < std::size(spends); ++i) {
        const auto& [command, body, sub, before] = spends[i];
        SCOPED_TRACE(command);
        auto answer = people[i]->next(command, sub, 60);
        ASSERT_TRUE(answer);
        const int64_t told = command == 17 ? answer->readLong() : kStart;
        answer->setIdx(before);
        EXPECT_EQ(answer->readUTF(), "Máy chủ đang bận, vui lòng thử lại sau");
        EXPECT_EQ(told, kStart) << "the balance as it is";
    }
    holder.exec("ROLLBACK");
}

class ShopWire : public StubWire {};

// A purchase, a gift or a refusal, in turn on one account: the refusal the answer gives
// ("": bought) and the balance after it.
struct Purchase {
    const char* what;
    int16_t command;
    ByteVector body;
    int16_t answer; // the reply that says bought or refused
    int sub;
    std::string refusal;
    int64_t balance;
};

TEST_F(ShopWire, TheShopSellsWhatItListsForWhatTheBalanceCoversAndAGiftIsItsGiversToPay) {
    const int32_t me = signInAndChoose("khach", 3);
    ASSERT_NE(me, 0);
    ASSERT_TRUE(join(1)) << "the gifts are given at the table, where lan sits";
    const std::string notSold = "Cửa hàng không bán món này";
    const std::string tooDear = "Không đủ tiền";
    const Purchase purchases[] = {
        {"an item never listed, at a price below 0", 101, cart(1, -9), 101, 6, notSold, kStart},
        {"an item past the list", 101, cart(1, 999), 101, 6, notSold, kStart},
        {"a cart of nothing", 101, cart(0), 101, 6, "Hãy chọn vật phẩm trước", kStart},
        {"a cart that holds fewer items than it counts", 101, Bytes().byte(6).int32(3).int32(100).data(), 101, 6,
         notSold, kStart},
        {"a cart above the balance", 101, cart(101), 101, 6, tooDear, kStart},
        {"an avatar never listed", 1202, Bytes().int32(5).data(), 45, 0, notSold, kStart},
        {"an item given that was never listed", 104, Bytes().byte(8).int32(-9).int32(201).utf("an").data(), 45, 0,
         notSold, kStart},
        {"a gift never listed", 101, Bytes().byte(7).byte(1).byte(1).int32(4199).int32(kLan).data(), 101, 7, notSold,
         kStart},
        {"a cart", 101, cart(2), 101, 6, "", kStart - 20000},
        {"an avatar", 1202, Bytes().int32(20).data(), 1202, -1, "", kStart - 21000},
        {"a gift at the table", 101, Bytes().byte(7).byte(1).byte(1).int32(4102).int32(kLan).data(), 101, 7, "",
         kStart - 23000},
        {"the rest sent away", 17, Bytes().utf("lan").int32(kStart - 24000).data(), 17, -1, "", 1000},
        {"an avatar above the balance", 1202, Bytes().int32(29).data(), 45, 0, tooDear, 1000},
        {"a gift above the balance", 101, Bytes().byte(7).byte(1).byte(1).int32(4104).int32(kLan).data(), 101, 7,
         tooDear, 1000},
    };
    for (const Purchase& purchase : purchases) {
        SCOPED_TRACE(purchase.what);
        send(purchase.command, purchase.body);
        auto answer = next(purchase.answer, purchase.sub);
        ASSERT_TRUE(answer);
        std::string refusal;
        if (purchase.sub != -1) answer->readByte();
        if (purchase.answer == 45 || (purchase.answer == 101 && answer->readByte() != 0)) refusal = answer->readUTF();
        EXPECT_EQ(refusal, purchase.refusal);
        if (purchase.sub == 7 && refusal.empty()) {
            EXPECT_EQ(answer->readInt(), me) << "the giver";
            EXPECT_EQ(answer->readInt(), 4102);
            EXPECT_EQ(answer->readInt(), kLan);
        }
        if (refusal.empty() && purchase.command != 17) {
            auto told = next(17);
            EXPECT_EQ(told ? told->readLong() : -1, purchase.balance) << "the balance told";
        }
        EXPECT_EQ(amountOf(me), purchase.balance);
    }
}

// The body of the answer (`command` or else `reply`, with `sub`) to a request of `person`
// (a StubWire or a StubPerson).
template <class Person>
ByteVector answerTo(Person& person, int16_t command, const ByteVector& request, int sub = -1, int16_t reply = 0) {
    person.send(command, request);
    auto answer = person.next(reply ? reply : command, sub);
    return answer ? ByteVector(answer->data().begin(), answer->data().end()) : ByteVector{};
}

// The shop's first and last listed items are sold at their listed prices; a ticket is
// listed as not drawn until its draw is made (the stub's first draw is ten minutes away).
TEST_F(ShopWire, TheFirstAndLastItemListedAreSoldAndATicketWaitsForItsDraw) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    Message first(101, answerTo(*this, 101, {21, 0}, 21));
    first.readByte();
    const int32_t pages = first.readInt();
    const int32_t firstId = first.readInt();
    first.readUTF();
    const int32_t firstPrice = first.readInt();
    Message last(101, answerTo(*this, 101, {21, uint8_t(pages - 1)}, 21));
    last.readDataWithIntLength(5); // sub, pages
    int32_t lastId = 0;
    int32_t lastPrice = 0;
    while (last.available()) {
        lastId = last.readInt();
        last.readUTF();
        lastPrice = last.readInt();
        last.readUTF();
        last.readBool();
    }
    for (const auto& [id, price] : {std::pair{firstId, firstPrice}, std::pair{lastId, lastPrice}})
        EXPECT_EQ(answerTo(*this, 101, cart(1, id), 6), Bytes().byte(6).byte(0).int32(price).data()) << id;
    send(1403, Bytes().int32(kLosingNumber).int32(1000).data());
    ASSERT_TRUE(next(1403));
    EXPECT_EQ(answerTo(*this, 1402, {}), Bytes().int32(kLosingNumber).int32(1000).boolean(false).data());
}

// Registration and password recovery are answered: a free name becomes an account that
// signs in with the start money, a taken one is answered as taken, and a blank one or one
// longer than the registration field shows (twenty characters) as not valid, without the
// name; recovery gives the text message to send.
class RegistrationWire : public StubWire {};

TEST_F(RegistrationWire, AFreeNameIsRegisteredOnceAndRecoveryGivesItsTextMessage) {
    enum Outcome { Opened, Taken, NotValid };
    const std::string twenty = "Nguyễn Văn Hải Đăng1"; // twenty characters, 27 bytes
    const struct {
        std::string name;
        Outcome outcome;
    } names[] = {{"moi", Opened},          {"moi", Taken},
                 {"lan", Taken},           {"banned", Taken},
                 {" ", NotValid},          {"", NotValid},
                 {" \t ", NotValid},       {twenty, Opened},
                 {twenty + "x", NotValid}, {std::string(10000, 'a'), NotValid}};
    for (const auto& [name, outcome] : names) {
        SCOPED_TRACE(name.substr(0, 30));
        Bytes told;
        if (outcome == Opened)
            told.utf(name).boolean(true).utf("KAVO DK " + name).utf("8777");
        else if (outcome == Taken)
            told.utf(name).boolean(false).utf("").utf("");
        else
            told.utf("").boolean(false).utf("Tên đăng nhập không hợp lệ").utf("");
        EXPECT_EQ(answerTo(*this, 35, Bytes().utf(name).utf("123").data()), told.data());
    }
    EXPECT_EQ(answerTo(*this, 73, {1}), Bytes().byte(1).utf("KAVO MK ?").utf("8777").data());
    StubPerson registered(stub_->port());
    EXPECT_EQ(registered.signIn("moi"), kStart);
}

// What a person's own profile shows (1005): what he entered, his playing time and the
// avatar he wears.
struct Shown {
    std::string fullname;
    int gender;
    int year;
    std::string address, idnumber, phone;
    int month, day;
    std::string time;
    int32_t avatar;
    bool operator==(const Shown&) const = default;
};

template <class Person> Shown profileOf(Person& person, int32_t id) {
    Message record(1005, answerTo(person, 1005, Bytes().int32(id).data()));
    record.readInt();
    record.readUTF();
    record.readLong();
    Shown shown{};
    shown.fullname = record.readUTF();
    shown.gender = record.readByte();
    record.readBool();
    shown.year = record.readShort();
    shown.address = record.readUTF();
    shown.idnumber = record.readUTF();
    record.readBool();
    record.readUTF();
    shown.phone = record.readUTF();
    record.readByte();
    record.readUTF();
    shown.month = record.readByte();
    shown.day = record.readByte();
    record.readDataWithIntLength(6); // birth flag, level, gift flag
    shown.time = record.readUTF();
    shown.avatar = record.readInt();
    return shown;
}

// What the answer to a store receipt (71 type 5) tells: its status (1: confirmed), the
// receipt it names and the balance.
std::tuple<int, std::string, int64_t> storeAnswer(StubPerson& person, const std::string& receipt) {
    person.send(71, Bytes().byte(5).utf(receipt).data());
    auto answer = person.next(71);
    if (!answer) return {-1, "no answer", -1};
    answer->readByte();
    const int status = answer->readByte();
    answer->readUTF();
    const std::string named = answer->readUTF();
    return {status, named, answer->readLong()};
}

// A store receipt is credited once, however often it comes: the client sends a receipt
// again until it is confirmed, after a reconnection too. Sent twice on one connection,
// again on a second connection of the same person, by another person, and again after
// the stub was started anew on the same accounts, it adds 20,000 Zel once and is confirmed
// every time; another receipt adds its own.
TEST(StubAccounts, AStoreReceiptIsCreditedOnceAndConfirmedEveryTime) {
    TestFolder folder;
    const std::vector<std::string> kept = {"--state-dir", folder.path + "/accounts"};
    const auto confirmed = [](const std::string& receipt, int64_t balance) {
        return std::tuple<int, std::string, int64_t>{1, receipt, balance};
    };
    {
        StubProcess stub(kept);
        ASSERT_TRUE(stub.ready());
        StubPerson first(stub.port());
        ASSERT_EQ(first.signIn("muaban"), kStart);
        EXPECT_EQ(storeAnswer(first, "r1"), confirmed("r1", kStart + 20000));
        EXPECT_EQ(storeAnswer(first, "r1"), confirmed("r1", kStart + 20000)) << "sent again";
        StubPerson second(stub.port());
        ASSERT_EQ(second.signIn("muaban"), kStart + 20000);
        EXPECT_EQ(storeAnswer(second, "r1"), confirmed("r1", kStart + 20000)) << "from a second connection";
        StubPerson other(stub.port());
        ASSERT_EQ(other.signIn("khac"), kStart);
        EXPECT_EQ(storeAnswer(other, "r1"), confirmed("r1", kStart)) << "from another person";
    }
    StubProcess again(kept);
    ASSERT_TRUE(again.ready());
    StubPerson after(again.port());
    ASSERT_EQ(after.signIn("muaban"), kStart + 20000) << "the accounts outlived the stub";
    EXPECT_EQ(storeAnswer(after, "r1"), confirmed("r1", kStart + 20000)) << "after the stub's restart";
    EXPECT_EQ(storeAnswer(after, "r2"), confirmed("r2", kStart + 40000)) << "another receipt";
    EXPECT_EQ(historyOf(after),
              (std::vector<std::string>{"Nạp Zel qua cửa hàng (+20.000 Zel)", "Nạp Zel qua cửa hàng (+20.000 Zel)"}));
}

// What the answer to a card (71 of a card's channel, its carrier, serial and code) tells:
// its status (1: added), its text and the balance.
std::tuple<int, std::string, int64_t> cardAnswer(StubPerson& person, int8_t channel, const std::string& serial,
                                                 const std::string& code = "5678") {
    person.send(71, Bytes().byte(channel).byte(channel == 8 ? 5 : 1).utf(serial).utf(code).data());
    auto answer = person.next(71);
    if (!answer) return {-1, "no answer", -1};
    answer->readByte();
    const int status = answer->readByte();
    const std::string text = answer->readUTF();
    answer->readUTF();
    return {status, text, answer->readLong()};
}

// A scratch card pays once, however often it comes: a player whose answer was lost types
// it again. Sent twice on one connection, again from a second connection of the same
// person, by another person and after the stub was started anew on the same accounts, it
// adds 50,000 Zel once and is refused as used (in the player's language) with the balance
// as it is; another card, a promotion card among them, adds its own. An empty store
// receipt is no receipt: refused, nothing added.
TEST(StubAccounts, AScratchCardPaysOnceAndIsRefusedAsUsedAfter) {
    TestFolder folder;
    const std::vector<std::string> kept = {"--state-dir", folder.path + "/accounts"};
    const std::string added = "Nạp thẻ thành công 50.000 Zel";
    const std::string used = "Thẻ này đã được sử dụng";
    using Told = std::tuple<int, std::string, int64_t>;
    {
        StubProcess stub(kept);
        ASSERT_TRUE(stub.ready());
        StubPerson first(stub.port());
        ASSERT_EQ(first.signIn("napthe"), kStart);
        EXPECT_EQ(cardAnswer(first, 2, "1111"), (Told{1, added, kStart + 50000}));
        EXPECT_EQ(cardAnswer(first, 2, "1111"), (Told{0, used, kStart + 50000})) << "sent again";
        StubPerson second(stub.port());
        ASSERT_EQ(second.signIn("napthe"), kStart + 50000);
        EXPECT_EQ(cardAnswer(second, 2, "1111"), (Told{0, used, kStart + 50000})) << "from a second connection";
        StubPerson other(stub.port());
        ASSERT_EQ(other.signIn("khac"), kStart);
        other.send(2800, languageBody("en"));
        EXPECT_EQ(cardAnswer(other, 2, "1111"), (Told{0, "This card has already been used", kStart}))
            << "from another person";
        other.send(71, Bytes().byte(5).utf("").data());
        auto receipt = other.next(71);
        ASSERT_TRUE(receipt);
        EXPECT_EQ(receipt->data(),
                  Bytes().byte(5).byte(0).utf("The receipt is not valid").utf("").int64(kStart).data());
    }
    StubProcess again(kept);
    ASSERT_TRUE(again.ready());
    StubPerson after(again.port());
    ASSERT_EQ(after.signIn("napthe"), kStart + 50000) << "the accounts outlived the stub";
    EXPECT_EQ(cardAnswer(after, 2, "1111"), (Told{0, used, kStart + 50000})) << "after the stub's restart";
    EXPECT_EQ(cardAnswer(after, 2, "2222"), (Told{1, added, kStart + 100000})) << "another card";
    EXPECT_EQ(cardAnswer(after, 8, "1111"), (Told{1, added, kStart + 150000})) << "a promotion card";
    EXPECT_EQ(cardAnswer(after, 8, "1111"), (Told{0, used, kStart + 150000})) << "the promotion card again";
    EXPECT_EQ(historyOf(after).size(), 3u) << "a line for each card added";
}

// What he has already, or a gift to a name no one has, is paid for nothing: an avatar he
// bought, bought again, and an item or an avatar given to such a name (the name in the
// refusal no longer than its field shows) are refused in his language with a notice, take
// nothing and leave no line in his history; a gift to a stub player, or to a person with
// an account, is given and paid.
TEST_F(ShopWire, WhatHeHasOrAGiftToNoOneIsRefusedAndTakesNothing) {
    StubPerson friendOf(stub_->port());
    ASSERT_EQ(friendOf.signIn("nguoinhan"), kStart);
    const int32_t me = signInAndChoose("khach", 3);
    ASSERT_NE(me, 0);
    const std::string longName = "Nguyễn Văn Hải Đăng1" + std::string(30, 'x');
    const struct {
        const char* what;
        int16_t command;
        ByteVector body;
        std::string refusal; // "" for bought, then the balance after
        int64_t balance;
    } purchases[] = {
        {"an avatar", 1202, Bytes().int32(21).data(), "", kStart - 2000},
        {"the avatar again", 1202, Bytes().int32(21).data(), "Bạn đã có ảnh đại diện này", kStart - 2000},
        {"an item for no one", 104, Bytes().byte(8).int32(100).int32(0).utf("khongai").data(),
         "Không có người chơi khongai", kStart - 2000},
        {"an avatar for no one", 104, Bytes().byte(9).int16(22).utf(longName).int32(0).data(),
         "Không có người chơi Nguyễn Văn Hải Đăng1", kStart - 2000},
        {"an item for a stub player", 104, Bytes().byte(8).int32(100).int32(201).utf("an").data(), "", kStart - 3000},
        {"an avatar for a person", 104, Bytes().byte(9).int16(22).utf("nguoinhan").int32(0).data(), "", kStart - 6000},
    };
    for (const auto& purchase : purchases) {
        SCOPED_TRACE(purchase.what);
        send(purchase.command, purchase.body);
        if (purchase.refusal.empty()) {
            ASSERT_TRUE(next(purchase.command, purchase.command == 104 ? purchase.body[0] : -1));
            auto told = next(17);
            EXPECT_EQ(told ? told->readLong() : -1, purchase.balance) << "the balance told";
        } else {
            auto refused = next(45);
            ASSERT_TRUE(refused);
            EXPECT_EQ(refused->data(), Bytes().byte(0).utf(purchase.refusal).data());
        }
        EXPECT_EQ(amountOf(me), purchase.balance);
    }
    EXPECT_EQ(historyOf(*this),
              (std::vector<std::string>{"Mua Avatar 21 (-2.000 Zel)", "Tặng Vật phẩm 100 cho an (-1.000 Zel)",
                                        "Tặng Avatar 22 cho nguoinhan (-3.000 Zel)"}));
    send(2800, languageBody("en"));
    send(1202, Bytes().int32(21).data());
    auto refused = next(45);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->data(), Bytes().byte(0).utf("You already have this avatar").data());
    send(104, Bytes().byte(8).int32(100).int32(0).utf("khongai").data());
    refused = next(45);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->data(), Bytes().byte(0).utf("No player named khongai").data());
    EXPECT_EQ(amountOf(me), kStart - 6000);
}

// The profile's assets and his achievements at Bai Cao, as bodies: his avatars (1010),
// items (101 sub 3), event gifts (101 sub 16) and record (40 sub 3).
template <class Person> std::vector<ByteVector> assetsOf(Person& person) {
    return {answerTo(person, 1010, {}), answerTo(person, 101, Bytes().byte(3).int32(2).byte(0).byte(0).data(), 3),
            answerTo(person, 101, {16}, 16), answerTo(person, 40, {3, 11}, 3)};
}

class ProfileWire : public StubWire {
protected:
    ProfileWire() : StubWire({{"KAVO_STUB_STAKE_PAUSE", "0.1"}}) {}
};

// A new person's profile holds nothing he did not enter, buy or play; what he saves,
// buys, wears, spends and plays is his profile at his next sign-in.
TEST_F(ProfileWire, TheProfileIsThePersonsOwnAndOutlivesHisConnection) {
    const int32_t me = signInAndChoose("moi", 11);
    ASSERT_NE(me, 0);
    EXPECT_EQ(profileOf(*this, me), (Shown{"", 0, 0, "", "", "", 0, 0, "0 giờ 0 phút", 1}));
    const ByteVector noWins = Bytes().byte(3).byte(11).int32(0).int32(0).int32(0).int32(0).int32(0).data();
    EXPECT_EQ(assetsOf(*this),
              (std::vector<ByteVector>{
                  Bytes().int32(0).data(), Bytes().byte(3).int32(2).byte(0).int32(1).data(), {16}, noWins}));
    EXPECT_TRUE(historyOf(*this).empty());

    send(
        1002,
        Bytes().utf("Lê Mới").byte(2).int16(1995).utf("3 Hàng Bài").utf("").utf("0912").byte(2).byte(6).byte(9).data());
    ASSERT_TRUE(next(41));
    EXPECT_EQ(answerTo(*this, 1008, Bytes().int32(20).data(), -1, 45),
              Bytes().byte(0).utf("Bạn chưa mua ảnh đại diện này").data())
        << "an avatar not bought is not worn";
    const std::pair<int16_t, ByteVector> spends[] = {{17, Bytes().utf("lan").int32(5000).data()},
                                                     {1202, Bytes().int32(20).data()},
                                                     {1008, Bytes().int32(20).data()},
                                                     {101, cart(1, 100)},
                                                     {1403, Bytes().int32(kLosingNumber).int32(1000).data()},
                                                     {71, Bytes().byte(2).byte(1).utf("1234").utf("5678").data()}};
    for (const auto& [command, body] : spends)
        EXPECT_FALSE(answerTo(*this, command, body, command == 101 ? 6 : -1).empty()) << command;
    EXPECT_EQ(stakeAtJoin(5), 10000);
    ASSERT_TRUE(next(16) && next(16)) << "the stub players are ready";
    send(20, {1, 5});
    const ByteVector mine = Bytes().byte(1).byte(5).int32(me).data();
    ASSERT_TRUE(nextMatching(listener_, seen_, [&](int16_t id, const ByteVector& body) {
        return id == 52 && body.size() > mine.size() && std::equal(mine.begin(), mine.end(), body.begin());
    })) << "my hand of Bai Cao ended";

    StubPerson again(stub_->port());
    auto signedIn = again.signInReply("moi");
    ASSERT_TRUE(signedIn);
    signedIn->readDataWithIntLength(12); // id, money
    EXPECT_EQ(signedIn->readShort(), 20) << "the avatar he wears";
    EXPECT_EQ(profileOf(again, me), (Shown{"Lê Mới", 2, 1995, "3 Hàng Bài", "", "0912", 6, 9, "0 giờ 0 phút", 20}));
    const auto assets = assetsOf(again);
    EXPECT_EQ(assets[0], Bytes().int32(1).int32(me).int32(20).utf("Avatar 20").utf("30 ngày").data());
    Bytes items = Bytes().byte(3).int32(2).byte(0).int32(1); // the request echoed and one page
    EXPECT_EQ(assets[1], items.int32(1).int32(100).utf("Vật phẩm 100").int32(1000).utf("").boolean(false).data());
    Message played(40, assets[3]);
    played.readShort();
    EXPECT_GT(played.readInt(), 0) << "experience";
    EXPECT_EQ(played.readInt() + played.readInt(), 1) << "one hand won or lost";
    EXPECT_EQ(historyOf(again), (std::vector<std::string>{"Chuyển cho lan (-5.000 Zel)", "Mua Avatar 20 (-1.000 Zel)",
                                                          "Mua Vật phẩm 100 (-1.000 Zel)", "Mua vé số 42 (-1.000 Zel)",
                                                          "Nạp Zel: Thẻ gate (+50.000 Zel)"}));
}

// What moved the money, and the history line it makes in each language: a present names
// the present and the player it went to as the gift sheet and the table name them, an item
// and a card as the shop lists them.
struct HistoryCase {
    int16_t command;
    ByteVector request;
    int sub;
    const char* vietnamese;
    const char* english;
};

const HistoryCase kHistoryCases[] = {
    {1202, Bytes().int32(22).data(), -1, "Mua Avatar 22 (-3.000 Zel)", "Bought Avatar 22 (-3,000 Zel)"},
    {101, cart(2, 100), 6, "Mua Vật phẩm 100, Vật phẩm 100 (-2.000 Zel)", "Bought Item 100, Item 100 (-2,000 Zel)"},
    {104, Bytes().byte(8).int32(101).int32(201).utf("an").data(), 8, "Tặng Vật phẩm 101 cho an (-2.000 Zel)",
     "Gave Item 101 to an (-2,000 Zel)"},
    {104, Bytes().byte(9).int16(21).utf("binh").data(), 9, "Tặng Avatar 21 cho binh (-2.000 Zel)",
     "Gave Avatar 21 to binh (-2,000 Zel)"},
    {101, Bytes().byte(7).byte(1).byte(1).int32(4101).int32(4002).data(), 7, "Tặng Quà 41-1 cho minh (-1.000 Zel)",
     "Gave Gift 41-1 to minh (-1,000 Zel)"},
    {17, Bytes().utf("lan").int32(5000).data(), -1, "Chuyển cho lan (-5.000 Zel)", "Sent to lan (-5,000 Zel)"},
    {1403, Bytes().int32(kLosingNumber).int32(1000).data(), -1, "Mua vé số 42 (-1.000 Zel)",
     "Lottery ticket 42 (-1,000 Zel)"},
    {71, Bytes().byte(2).byte(2).utf("1234").utf("5678").data(), -1, "Nạp Zel: Thẻ viettel (+50.000 Zel)",
     "Top-up: viettel card (+50,000 Zel)"},
    {71, Bytes().byte(5).utf("receipt").data(), -1, "Nạp Zel qua cửa hàng (+20.000 Zel)",
     "Top-up from the store (+20,000 Zel)"},
};

// The history keeps what moved the money, not its words: each line reads in the language
// of the client that asks, the lines kept while he spoke Vietnamese too.
TEST(StubAccounts, TheHistoryReadsWholeInTheLanguageOfTheClientThatAsks) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    StubPerson person(stub.port());
    ASSERT_EQ(person.signIn("sach"), kStart);
    // At board 1 of Tien Len, where minh sits: the gift at the table is his.
    ASSERT_FALSE(answerTo(person, 8, Bytes().byte(1).byte(1).utf("").data()).empty());
    std::vector<std::string> vietnamese, english;
    for (const HistoryCase& spent : kHistoryCases) {
        EXPECT_FALSE(answerTo(person, spent.command, spent.request, spent.sub).empty()) << spent.english;
        vietnamese.push_back(spent.vietnamese);
        english.push_back(spent.english);
    }
    // A text message's top-up is answered as a card's.
    EXPECT_FALSE(answerTo(person, 57, Bytes().utf("KAVO NAP sach").utf("8777").data(), -1, 71).empty());
    vietnamese.push_back("Nạp Zel qua SMS (+10.000 Zel)");
    english.push_back("Top-up by text message (+10,000 Zel)");
    EXPECT_EQ(historyOf(person), vietnamese);
    person.send(2800, languageBody("en"));
    EXPECT_EQ(historyOf(person), english);
}

// A purchase whose item is not recorded as his is not paid for: while the accounts file
// refuses every item owned (a trigger of the test's own), an avatar and a cart are
// answered as a failure, his balance stays and his history and avatars hold nothing; once
// the file keeps them again, the same avatar is bought and paid.
TEST(StubAccounts, APurchaseWhoseItemIsNotRecordedIsNotCharged) {
    StubWithFile state;
    ASSERT_TRUE(state.stub.ready());
    StubPerson person(state.stub.port());
    ASSERT_EQ(person.signIn("mua"), kStart);
    platform::SqliteDatabase file;
    ASSERT_TRUE(file.open(state.file()));
    ASSERT_TRUE(file.exec("PRAGMA busy_timeout = 10000") &&
                file.exec("CREATE TRIGGER shelf_full BEFORE INSERT ON owned BEGIN SELECT RAISE(ABORT, 'full'); END"));
    const std::string busy = "Máy chủ đang bận, vui lòng thử lại sau";
    EXPECT_EQ(answerTo(person, 1202, Bytes().int32(20).data(), -1, 45), Bytes().byte(0).utf(busy).data());
    EXPECT_EQ(answerTo(person, 101, cart(2, 100), 6), Bytes().byte(6).byte(1).utf(busy).data());
    EXPECT_EQ(historyOf(person), std::vector<std::string>{});
    EXPECT_EQ(answerTo(person, 1010, {}), Bytes().int32(0).data()) << "no avatar is his";
    StubPerson again(state.stub.port());
    EXPECT_EQ(again.signIn("mua"), kStart) << "nothing was paid";

    ASSERT_TRUE(file.exec("DROP TRIGGER shelf_full"));
    EXPECT_EQ(answerTo(person, 1202, Bytes().int32(20).data()), Bytes().int32(20).data());
    EXPECT_EQ(historyOf(person), std::vector<std::string>{"Mua Avatar 20 (-1.000 Zel)"});
    StubPerson last(state.stub.port());
    EXPECT_EQ(last.signIn("mua"), kStart - 1000);
}

// One Mau Binh hand at board 1 on a connection of its own, finished with the arrangement
// `arrange` makes of the cards dealt: the cards dealt, each stub player's arranged hand
// and my chi, as the result (47 sub 40) tells them.
struct MauBinhHand {
    std::vector<int> dealt;
    std::vector<std::vector<int>> theirs;
    int32_t chi = 0;
};

template <class Arrange> std::optional<MauBinhHand> playMauBinh(StubPerson& person, Arrange arrange) {
    person.send(61, {16});
    person.send(8, Bytes().byte(1).byte(1).utf("").data());
    if (!person.next(8) || !person.next(16) || !person.next(16)) return std::nullopt;
    person.send(20, {1, 1});
    auto start = person.next(47, 20);
    if (!start) return std::nullopt;
    MauBinhHand hand;
    start->readDataWithIntLength(4); // sub, room, board, time
    for (int i = 0; i < 13; ++i)
        hand.dealt.push_back(start->readByte());
    Bytes finish = Bytes().raw({1, 1, 30});
    for (int id : arrange(hand.dealt))
        finish.byte(int8_t(id));
    person.send(47, finish.data());
    auto result = person.next(47, 40);
    if (!result) return std::nullopt;
    result->readDataWithIntLength(9); // sub, my id and money
    hand.chi = result->readInt();
    result->readByte();
    while (result->available()) {
        result->readDataWithIntLength(12); // id, money, chi
        std::vector<int> cards;
        for (int i = 0; i < 13; ++i)
            cards.push_back(result->readByte());
        hand.theirs.push_back(cards);
        result->readDataWithIntLength(7); // special, the rows from my side, the rest
    }
    return hand;
}

// An arrangement of `cards` (front, middle, back) whose rows win as many rows as they lose
// against `theirs`, as the table judges rows: an even hand; empty when there is none.
std::vector<int> evenArrangement(const std::vector<int>& cards, const std::vector<std::vector<int>>& theirs) {
    namespace rules = MauBinhRules;
    for (uint32_t back = 0; back < (1u << 13); ++back) {
        if (std::popcount(back) != 5) continue;
        for (uint32_t middle = 0; middle < (1u << 13); ++middle) {
            if (std::popcount(middle) != 5 || (middle & back)) continue;
            std::vector<int> front, mid, behind;
            for (int i = 0; i < 13; ++i)
                (back >> i & 1 ? behind : middle >> i & 1 ? mid : front).push_back(cards[size_t(i)]);
            std::vector<int> arrangement = front;
            arrangement.insert(arrangement.end(), mid.begin(), mid.end());
            arrangement.insert(arrangement.end(), behind.begin(), behind.end());
            int total = 0;
            for (const auto& other : theirs)
                for (int chi = 1; chi <= 3; ++chi) {
                    const int judged =
                        rules::compareWith(rules::handOfChi(arrangement, chi), rules::handOfChi(other, chi));
                    total += judged == rules::kFirstStronger ? 1 : judged == rules::kSecondStronger ? -1 : 0;
                }
            if (total == 0) return arrangement;
        }
    }
    return {};
}

// A hand that moved his money neither up nor down is an even hand in his achievements,
// not a win: a first connection's Mau Binh hand shows the stub players' rows of the deal
// every connection is dealt first, and a second person arranges his so that he wins as
// many rows as he loses.
TEST(StubAccounts, AnEvenHandCountsAsADrawNotAWin) {
    StubProcess stub({}, {{"KAVO_STUB_MAUBINH_PAUSE", "0.5"}});
    ASSERT_TRUE(stub.ready());
    StubPerson first(stub.port());
    ASSERT_GT(first.signIn("xem"), 0);
    const auto shown = playMauBinh(first, [](const std::vector<int>& cards) { return cards; });
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->theirs.size(), 2u);
    const std::vector<int> even = evenArrangement(shown->dealt, shown->theirs);
    ASSERT_EQ(even.size(), 13u) << "the deal has an even arrangement";

    StubPerson second(stub.port());
    ASSERT_GT(second.signIn("hoavon"), 0);
    const auto played = playMauBinh(second, [&](const std::vector<int>& cards) {
        EXPECT_EQ(cards, shown->dealt) << "the same first deal";
        return even;
    });
    ASSERT_TRUE(played);
    ASSERT_EQ(played->chi, 0) << "an even hand";
    // Experience 5 for a draw; no win, no loss.
    EXPECT_EQ(answerTo(second, 40, {3, 16}, 3),
              Bytes().byte(3).byte(16).int32(5).int32(0).int32(0).int32(1).int32(0).data());
}

// The draws listed at the stub's start are numbered from 1 up, the newest first.
TEST_F(ShopWire, TheLotterysDrawsAreNumberedFromOne) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    send(1401, {});
    auto history = next(1401);
    ASSERT_TRUE(history);
    std::vector<std::string> draws;
    while (history->available()) {
        history->readInt();
        draws.push_back(history->readUTF());
    }
    EXPECT_EQ(draws, (std::vector<std::string>{"Kỳ 5", "Kỳ 4", "Kỳ 3", "Kỳ 2", "Kỳ 1"}));
}

// What a connection's sign-in brings before a request sent after it is answered: the
// types of the mails (1701), whether dung's invitation (104 sub 4) came and the text of
// a draw's result (1404).
struct Mail {
    std::vector<int32_t> types;
    bool invitation = false;
    std::string result;
};

Mail mailOf(StubPerson& person) {
    person.send(1400, {});
    if (!person.next(1400)) return {};
    Mail mail;
    for (const auto& message : person.listener().messages()) {
        if (message.commandId == 1400) break;
        if (message.commandId == 1701) mail.types.push_back(Message(1701, message.body).readInt());
        mail.invitation = mail.invitation || (message.commandId == 104 && message.body.at(0) == 4);
        if (message.commandId != 1404) continue;
        Message told(1404, message.body);
        told.readInt();
        mail.result = told.readUTF();
    }
    return mail;
}

// The ids of a person's friends (104 sub 5).
std::vector<int32_t> friendsOf(StubPerson& person) {
    person.send(104, {5});
    auto friends = person.next(104, 5);
    if (!friends) return {};
    friends->readByte();
    std::vector<int32_t> ids;
    while (friends->available()) {
        ids.push_back(friends->readInt());
        friends->readUTF();
        friends->readDataWithIntLength(10); // money, avatar
        if (friends->readByte()) friends->readDataWithIntLength(3);
        friends->readUTF();
    }
    return ids;
}

// The lottery's clock as a connection reads it: the seconds to the next draw (1400) and
// the draws made (1401).
std::pair<int32_t, ByteVector> lotteryOf(StubPerson& person) {
    person.send(1400, {});
    person.send(1401, {});
    auto left = person.next(1400);
    auto draws = person.next(1401);
    if (!left || !draws) return {-1, {}};
    return {left->readInt(), ByteVector(draws->data().begin(), draws->data().end())};
}

// A person signs in, accepts dung's invitation, buys a ticket and an item and goes;
// at his next sign-in his friends, ticket, history and the draw's result are there and
// the notices he had are not new mail again. The lottery runs on the stub's clock: his
// first connection begins just after a draw, so that it has ended (with replies held back
// and the machine loaded) before his ticket's draw is made.
TEST(StubAccounts, WhatAPersonDidOutlivesHisConnection) {
    StubProcess stub({"--lottery-period", "12"});
    ASSERT_TRUE(stub.ready());
    StubPerson watcher(stub.port());
    ASSERT_EQ(watcher.signIn("quan"), kStart);
    watcher.send(1403, Bytes().int32(1).int32(1000).data());
    ASSERT_TRUE(watcher.next(1403));
    ASSERT_TRUE(watcher.next(1404, -1, 30)) << "a draw was made";
    {
        StubPerson first(stub.port());
        ASSERT_TRUE(first.connected());
        first.send(1702, {}); // as the client asks, before it signs in
        ASSERT_EQ(first.signIn("nhi"), kStart);
        const Mail mail = mailOf(first);
        EXPECT_EQ(mail.types, (std::vector<int32_t>{4, 3})) << "the welcome and the maintenance notice";
        EXPECT_TRUE(mail.invitation);
        first.send(104, Bytes().byte(2).int32(kDung).data());
        first.send(1403, Bytes().int32(kLosingNumber).int32(1000).data());
        ASSERT_TRUE(first.next(1403));
        first.send(101, cart(1, 100));
        ASSERT_TRUE(first.next(101, 6));
    }
    // The watcher's own ticket, bought later, is drawn with or after nhi's.
    watcher.send(1403, Bytes().int32(1).int32(1000).data());
    ASSERT_TRUE(watcher.next(1403));
    ASSERT_TRUE(watcher.next(1404, -1, 30)) << "a draw was made";

    StubPerson again(stub.port());
    ASSERT_TRUE(again.connected());
    again.send(1702, {});
    ASSERT_EQ(again.signIn("nhi"), kStart - 2000);
    const Mail mail = mailOf(again);
    EXPECT_NE(mail.result.find("vé của bạn không trúng"), std::string::npos) << "the draw's result with the sign-in";
    EXPECT_TRUE(mail.types.empty()) << "no notice is new again";
    EXPECT_FALSE(mail.invitation) << "the accepted invitation is not back";
    // One clock: asked of the watcher's connection before and after his, the seconds left
    // that his own tells lie between the watcher's two (each answer comes before the next
    // question, however long replies take), unless a draw came meanwhile: then again.
    bool compared = false;
    for (int attempt = 0; attempt < 3 && !compared; ++attempt) {
        const auto before = lotteryOf(watcher);
        const auto mine = lotteryOf(again);
        const auto after = lotteryOf(watcher);
        ASSERT_GE(mine.first, 0);
        if (before.second != after.second) continue; // a draw was made meanwhile
        compared = true;
        EXPECT_GE(before.first, mine.first) << "one clock for every connection";
        EXPECT_GE(mine.first, after.first) << "one clock for every connection";
        EXPECT_EQ(mine.second, before.second) << "one list of draws for every connection";
    }
    EXPECT_TRUE(compared) << "a draw came during each of three comparisons";

    const auto friends = friendsOf(again);
    EXPECT_NE(std::find(friends.begin(), friends.end(), kDung), friends.end()) << "dung is a friend";
    again.send(1402, {});
    auto tickets = again.next(1402);
    ASSERT_TRUE(tickets);
    EXPECT_EQ(tickets->data(), Bytes().int32(kLosingNumber).int32(1000).boolean(true).data()) << "his ticket, drawn";
    EXPECT_EQ(historyOf(again),
              (std::vector<std::string>{"Mua vé số 42 (-1.000 Zel)", "Mua Vật phẩm 100 (-1.000 Zel)"}));
}

// Accepting an invitation the stub never sent (giang, andrea) is refused in the player's
// language and makes no friend; dung's, which it sent, makes one.
TEST(StubAccounts, OnlyAnInvitationSentMakesAFriend) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    StubPerson person(stub.port());
    ASSERT_TRUE(person.connected());
    person.send(1702, {});
    ASSERT_EQ(person.signIn("kim"), kStart);
    ASSERT_TRUE(mailOf(person).invitation);
    const std::tuple<int32_t, const char*, const char*> strangers[] = {
        {205, "vi", "Người chơi này không mời bạn kết bạn"}, {207, "en", "This player did not invite you"}};
    for (const auto& [id, language, refusal] : strangers) {
        SCOPED_TRACE(id);
        person.send(2800, languageBody(language));
        person.send(104, Bytes().byte(2).int32(id).data());
        auto refused = person.next(45);
        ASSERT_TRUE(refused);
        refused->readByte();
        EXPECT_EQ(refused->readUTF(), refusal);
    }
    person.send(104, Bytes().byte(2).int32(kDung).data());
    EXPECT_EQ(friendsOf(person), (std::vector<int32_t>{201, 202, 203, kDung}));
}

// The accounts are rows of one SQLite file in the stub's state folder: after a transfer
// the file holds the balances the answer told, the sender's and the stub player's.
TEST(StubAccounts, TheAccountsAreRowsOfOneSqliteFileInTheStubsStateFolder) {
    StubWithFile state;
    ASSERT_TRUE(state.stub.ready());
    StubPerson person(state.stub.port());
    ASSERT_EQ(person.signIn("khach"), kStart);
    person.send(17, Bytes().utf("lan").int32(20000).data());
    ASSERT_TRUE(person.next(17));
    std::set<int64_t> balances;
    platform::SqliteDatabase accounts;
    ASSERT_TRUE(accounts.open(state.file()));
    auto rows = accounts.prepare("SELECT money FROM accounts");
    while (rows.step() == platform::SqliteDatabase::kRow)
        balances.insert(rows.columnInt(0));
    EXPECT_TRUE(balances.count(kStart - 20000) && balances.count(39500000 + 20000)) << balances.size() << " rows";
}

// Every field of a stub player's profile (1005), as the client reads it: lan's id, name
// and amount, his personal data (gender and birthday shown), his province by number and
// name, his level's progress, his playing time and the avatar he wears.
TEST_F(ProfileWire, AStubPlayersProfileGivesEveryFieldOfHisRecord) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    const ByteVector lan = Bytes()
                               .int32(kLan)
                               .utf("lan")
                               .int64(39500000)
                               .utf("Người chơi lan") // full name
                               .byte(2)               // gender
                               .boolean(true)         // the gender shown
                               .int16(1992)           // year of birth
                               .utf("")               // address
                               .utf("")               // id number
                               .boolean(false)        // the id number shown
                               .utf("")               // status
                               .utf("")               // phone
                               .byte(3)               // province
                               .utf("Hải Phòng")
                               .byte(8)        // month of birth
                               .byte(8)        // day of birth
                               .boolean(true)  // the birthday shown
                               .int32(21)      // the level's progress
                               .boolean(false) // a gift sent
                               .utf("3 giờ")   // playing time
                               .int32(2)       // avatar
                               .data();
    EXPECT_EQ(answerTo(*this, 1005, Bytes().int32(kLan).data()), lan);
}

// The report categories (2703 sub 0) are listed in the player's language, and a report
// (sub 1: the player, the category, the text) is answered as taken.
TEST_F(ProfileWire, TheReportCategoriesAreListedAndAReportIsTaken) {
    ASSERT_NE(signInAndChoose("khach", 3), 0);
    EXPECT_EQ(answerTo(*this, 2703, Bytes().int32(0).data()),
              Bytes().int32(0).utf("Gian lận").utf("Lời lẽ xấu").utf("Quảng cáo").data());
    EXPECT_EQ(answerTo(*this, 2703, Bytes().int32(1).utf("lan").utf("Gian lận").utf("đổi bài").data()),
              Bytes().int32(1).byte(1).data());
}

} // namespace
} // namespace kavo::test
