// How the stub dispatches a request: by its command, its sub and the game chosen, to the
// one row that names them, else to the row of every game; the handler of a sub's row reads
// what follows the sub. A second row for the same command, sub and game, a row of every sub
// beside rows of subs, and a handler set on the portal beside the table are refused, and
// the stub does not serve with them. The stub's own table names each sub a command carries
// in a row of its own, and says each row's rule in the row.
#include "tools/portal-stub/StubCommands.h"

#include "platform/foundation/SqliteDatabase.h"
#include "tests/portal-stub/LogLines.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubSocialNet.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace portalstub {
namespace {

using portalserver::PortalServer;
using Rule = StubCommand::Rule;
constexpr int32_t kEvery = StubCommand::kEverySub;
constexpr int kXiZach = 2;

// The stub's dispatch on a portal without a connection: which row answered a request, and
// the body its handler read.
class Dispatch : public ::testing::Test {
protected:
    PortalServer::Handler says(const std::string& what) {
        return [this, what](kavo::Message& request, PortalServer::Reply&) {
            answered_.push_back(what);
            read_.assign(request.data().begin(), request.data().end());
        };
    }
    // The row that answered a request of `command` with `body` at `game` ("" when none).
    std::string answer(int16_t command, const std::vector<uint8_t>& body, int game = 3) {
        game_ = game;
        answered_.clear();
        kavo::Message request(command, body);
        portal_.dispatch(request);
        return answered_.empty() ? "" : answered_.back();
    }

    LogLines log_;
    PortalServer portal_{portalserver::Fd()};
    int game_ = 3;
    bool signedIn_ = true;
    std::vector<std::string> rules_;
    StubCommands commands_{portal_, [this] { return signedIn_; }, [this] { return game_; },
                           StubRules{[this](kavo::Message&, PortalServer::Reply&) {
                                         rules_.push_back("the board's refusals");
                                         return admitted_;
                                     },
                                     [this](PortalServer::Reply&) { rules_.push_back("what waited"); }}};
    bool admitted_ = true;
    std::vector<std::string> answered_;
    std::vector<uint8_t> read_;
};

struct Request {
    const char* what;
    int16_t command;
    std::vector<uint8_t> body;
    int game;
    const char* answeredBy;
    std::vector<uint8_t> read; // what its handler read
};

TEST_F(Dispatch, ARequestReachesTheRowOfItsSubAndGameAndItsHandlerReadsItWithoutTheSub) {
    ASSERT_TRUE(commands_.add({{20, kEvery, says("a start at every game")},
                               {104, 16, says("the ranked friends")},
                               {104, 5, says("the friends")},
                               {2703, 0, says("the report categories")}}));
    ASSERT_TRUE(
        commands_.add(atGame(5, {{20, kEvery, says("the chess start")}, {104, 5, says("the friends at chess")}})));
    ASSERT_TRUE(commands_.add(atGame(16, {{47, 10, says("the time chosen")}})));
    const Request requests[] = {
        {"a start at chess", 20, {1, 1}, 5, "the chess start", {1, 1}},
        {"a start at Tien Len", 20, {1, 1}, 3, "a start at every game", {1, 1}},
        {"a sub named", 104, {16, 7}, 3, "the ranked friends", {7}},
        {"a sub named at every game", 104, {16}, 5, "the ranked friends", {}},
        {"a sub named at a game", 104, {5}, 5, "the friends at chess", {}},
        {"a sub named at another game", 104, {5, 1, 2}, 3, "the friends", {1, 2}},
        {"a sub no row names", 104, {6}, 3, "", {}},
        {"a body without a sub", 104, {}, 3, "", {}},
        {"an int sub", 2703, {0, 0, 0, 0, 9}, 3, "the report categories", {9}},
        {"another int sub", 2703, {0, 0, 0, 2}, 3, "", {}},
        {"a body too short for an int sub", 2703, {0}, 3, "", {}},
        {"a command without a row", 61, {1}, 3, "", {}},
        {"a game command's sub after the room and the board", 47, {1, 2, 10, 0}, 16, "the time chosen", {1, 2, 0}},
    };
    for (const Request& request : requests) {
        read_.clear();
        EXPECT_EQ(answer(request.command, request.body, request.game), request.answeredBy) << request.what;
        EXPECT_EQ(read_, request.read) << request.what;
    }
    EXPECT_TRUE(log_.has("command 104 sub 6 at game 3: not answered"));
}

// The table sheets' logged stake and the card table's answer are one command, sub and
// game: the second is refused, named in the log, and the first answers every stake. The
// same command at a game of its own is another row.
TEST_F(Dispatch, ASecondRowForTheSameCommandSubAndGameIsRefusedAndTheFirstAnswersOn) {
    ASSERT_TRUE(commands_.add({{19, kEvery, says("the card table's stake")}}));
    EXPECT_FALSE(commands_.add({{18, kEvery, says("a password")}, {19, kEvery, says("the sheet's stake")}}));
    EXPECT_TRUE(log_.has("a second row for command 19, every sub, every game is refused"));
    EXPECT_EQ(answer(19, {1, 1, 0, 0, 3, 232}), "the card table's stake");
    EXPECT_EQ(answer(18, {1, 1}), "a password") << "the other rows of the table are taken";
    EXPECT_TRUE(commands_.add(atGame(13, {{19, kEvery, says("Phom's stake")}})));
    EXPECT_FALSE(commands_.add(atGame(13, {{19, kEvery, says("Phom's stake again")}})));
    EXPECT_TRUE(log_.has("a second row for command 19, every sub, game 13 is refused"));
    EXPECT_EQ(answer(19, {1, 1, 0, 0, 3, 232}, 13), "Phom's stake");
}

// A command's subs are decided in one place: a row of every sub is refused beside rows of
// the command's subs (at any game), and a sub's row beside a row of every sub; the first
// rows answer on.
TEST_F(Dispatch, ARowOfEverySubBesideRowsOfSubsIsRefusedEitherWay) {
    ASSERT_TRUE(commands_.add({{101, 21, says("the items")}, {72, kEvery, says("every key")}}));
    EXPECT_FALSE(commands_.add({{101, kEvery, says("the shop's switch")}}));
    EXPECT_TRUE(log_.has("a row for command 101, every sub, every game beside rows of its subs is refused"));
    EXPECT_FALSE(commands_.add(atGame(5, {{101, kEvery, says("the shop's switch at chess")}})));
    EXPECT_FALSE(commands_.add({{72, 3, says("the more-games key")}}));
    EXPECT_TRUE(log_.has("a row for command 72, sub 3, every game beside a row of every sub is refused"));
    EXPECT_EQ(answer(101, {21, 0}), "the items");
    EXPECT_EQ(answer(101, {7}), "") << "no row of every sub answers another sub";
    EXPECT_EQ(answer(72, {3}), "every key");
}

// A sub's place may be one game's own: Xi Zach's move names a draw or a stand after the
// room and the board, where Tien Len's play at another game holds its count of cards, which
// its row of every sub reads whole. A row of every sub beside the subs' rows at the same
// game, or at every game, is refused; at another game it is not.
TEST_F(Dispatch, ASubPlacedAtOneGameIsThatGamesAlone) {
    ASSERT_TRUE(commands_.add(atGame(kXiZach, {{21, 0, says("a draw")}, {21, 1, says("a stand")}})));
    ASSERT_TRUE(commands_.add(atGame(3, {{21, kEvery, says("a play")}})));
    EXPECT_EQ(answer(21, {1, 2, 1}, kXiZach), "a stand");
    EXPECT_EQ(read_, (std::vector<uint8_t>{1, 2})) << "the room and the board, without the sub";
    EXPECT_EQ(answer(21, {1, 2, 0}, kXiZach), "a draw");
    EXPECT_EQ(answer(21, {1, 2, 1, 7}, 3), "a play");
    EXPECT_EQ(read_, (std::vector<uint8_t>{1, 2, 1, 7})) << "the play whole";
    EXPECT_FALSE(commands_.add(atGame(kXiZach, {{21, kEvery, says("a move")}})));
    EXPECT_TRUE(log_.has("a row for command 21, every sub, game 2 beside rows of its subs is refused"));
    EXPECT_FALSE(commands_.add({{21, kEvery, says("a move at every game")}}));
    EXPECT_EQ(answer(21, {1, 2, 1}, kXiZach), "a stand");
}

// Only the handler of a row marked as moving money may change a balance or what someone
// owns: the same spend, top-up and purchase answered by a row without the mark is refused
// by the ledger and the profile, changes nothing and is named in the log, so that a money
// row added without its mark fails the first time it is sent; answered by the marked row,
// each is made. Once the marked row is answered, nothing outside one changes money again.
TEST_F(Dispatch, OnlyARowMarkedAsMovingMoneyChangesABalanceOrWhatSomeoneOwns) {
    StubLedger& ledger = StubLedger::session();
    // The process's accounts outlive a test (it may run again): what was owned before counts.
    const int64_t start = ledger.signIn("dispatch");
    std::vector<int32_t> owned = StubProfile::owned("dispatch", StubProfile::kItem);
    using Change = std::function<bool(platform::SqliteDatabase&)>;
    const Change spent = [](platform::SqliteDatabase& db) {
        return StubLedger::session().spendIn(db, 1000, "a spend").has_value();
    };
    const Change toppedUp = [](platform::SqliteDatabase& db) {
        return StubLedger::session().creditIn(db, 300, "a top-up").has_value();
    };
    const Change bought = [](platform::SqliteDatabase& db) {
        return StubProfile::own(db, "dispatch", StubProfile::kItem, 100);
    };
    const auto row = [](Change change) {
        return [change](kavo::Message&, PortalServer::Reply&) { StubStore::session().transaction(change); };
    };
    const auto spend = row(spent);
    const auto topUp = row(toppedUp);
    const auto purchase = row(bought);
    ASSERT_TRUE(commands_.add({{17, kEvery, spend}, {71, 2, topUp}, {101, 6, purchase}}));
    ASSERT_TRUE(commands_.add(
        atGame(5, {movesMoney({17, kEvery, spend}), movesMoney({71, 2, topUp}), movesMoney({101, 6, purchase})})));

    for (const auto& [command, body] : {std::pair<int16_t, std::vector<uint8_t>>{17, {}}, {71, {2}}, {101, {6}}})
        answer(command, body, 3);
    EXPECT_EQ(ledger.balance(), start) << "no row of money: nothing spent or added";
    EXPECT_EQ(StubProfile::owned("dispatch", StubProfile::kItem), owned) << "no row of money: nothing owned";
    EXPECT_TRUE(log_.has("portal-stub: a spend of dispatch (a spend) outside a row that moves money is refused"));
    EXPECT_TRUE(log_.has("portal-stub: a credit to dispatch (a top-up) outside a row that moves money is refused"));
    EXPECT_TRUE(log_.has("portal-stub: a thing owned by dispatch outside a row that moves money is refused"));

    for (const auto& [command, body] : {std::pair<int16_t, std::vector<uint8_t>>{17, {}}, {71, {2}}, {101, {6}}})
        answer(command, body, 5);
    EXPECT_EQ(ledger.balance(), start - 1000 + 300) << "the marked rows spent and added";
    owned.push_back(100);
    EXPECT_EQ(StubProfile::owned("dispatch", StubProfile::kItem), owned);

    EXPECT_FALSE(StubStore::session().transaction(spent)) << "outside a row once it is answered";
    EXPECT_EQ(ledger.balance(), start - 1000 + 300);
    ledger.signOut();
}

// Before a sign-in only the commands a row admits reach their handler.
TEST_F(Dispatch, BeforeASignInOnlyWhatARowAdmitsIsAnswered) {
    ASSERT_TRUE(commands_.add({{1, kEvery, says("the sign-in"), true}, {17, kEvery, says("a transfer")}}));
    signedIn_ = false;
    EXPECT_EQ(answer(1, {}), "the sign-in");
    EXPECT_EQ(answer(17, {}), "");
    EXPECT_TRUE(log_.has("command 17 before a sign-in: dropped"));
    signedIn_ = true;
    EXPECT_EQ(answer(17, {}), "a transfer");
}

// A row's rule is said in the row: a join of a board meets the board's refusals before its
// handler, which a refusal keeps it from; a sign-in is followed by what waited; another
// row by neither.
TEST_F(Dispatch, ARowsRuleRunsWithItsHandlerAndNoOther) {
    ASSERT_TRUE(commands_.add({boardJoin({8, kEvery, says("the join")}),
                               signIn({1, kEvery, says("the sign-in")}),
                               {9, kEvery, says("a chat line")}}));
    EXPECT_EQ(answer(8, {1, 2, 0, 0}), "the join");
    EXPECT_EQ(read_, (std::vector<uint8_t>{1, 2, 0, 0})) << "the join whole, after its refusals read it";
    EXPECT_EQ(answer(1, {}), "the sign-in");
    EXPECT_EQ(answer(9, {1, 2}), "a chat line");
    EXPECT_EQ(rules_, (std::vector<std::string>{"the board's refusals", "what waited"}));
    admitted_ = false;
    EXPECT_EQ(answer(8, {1, 6, 0, 0}), "") << "a join the board refused";
}

// The table is the only way in: a handler set on the portal beside it, for a command or a
// sub, is found and named.
TEST_F(Dispatch, AHandlerSetOnThePortalBesideTheTableIsFound) {
    ASSERT_TRUE(commands_.add({{61, kEvery, says("the game chosen")}}));
    EXPECT_TRUE(commands_.onlyWayIn());
    portal_.onCommand(61, [](kavo::Message&, PortalServer::Reply&) {});
    portal_.onSubCommand(104, 5, [](kavo::Message&, PortalServer::Reply&) {});
    EXPECT_FALSE(commands_.onlyWayIn());
    EXPECT_TRUE(log_.has("a handler of command 61 was set beside the table; it is refused"));
    EXPECT_TRUE(log_.has("a handler of command 104 was set beside the table; it is refused"));
}

// A second handler of every command would take every request from the table's dispatch,
// and a second gate would let through what the table keeps for a signed-in person, each in
// silence: either is found, and the portal does not pass as served by the table alone.
TEST_F(Dispatch, ASecondDispatchSetOnThePortalIsFound) {
    ASSERT_TRUE(commands_.add({{61, kEvery, says("the game chosen")}, {17, kEvery, says("a transfer")}}));
    EXPECT_TRUE(commands_.onlyWayIn());
    portal_.onAnyCommand(says("a dispatch beside the table"));
    EXPECT_EQ(answer(61, {3}), "a dispatch beside the table") << "what the check stands for";
    EXPECT_FALSE(commands_.onlyWayIn());
    EXPECT_TRUE(log_.has("portal-stub: a handler of every command was set beside the table's dispatch; it is refused"));
}

TEST_F(Dispatch, ASecondGateSetOnThePortalIsFound) {
    ASSERT_TRUE(commands_.add({{17, kEvery, says("a transfer")}}));
    signedIn_ = false;
    portal_.admitOnly([](const kavo::Message&) { return true; });
    EXPECT_EQ(answer(17, {}), "a transfer") << "what the check stands for: a transfer before a sign-in";
    EXPECT_FALSE(commands_.onlyWayIn());
    EXPECT_TRUE(log_.has("portal-stub: a gate was set beside the table's own; it is refused"));
    EXPECT_FALSE(log_.has("a handler of every command was set beside"));
}

// The commands whose requests name a sub, as the client sends them: in their first byte the
// information keys (72), the text messages' syntax (73), the records (40), the top-ups by
// channel (71), the lists (78), the item pictures (79), the shop (101) and the friends
// (104); in their first int the reports and history (2703); after the room and the board
// the game commands of Mau Binh (47), Chinese chess (77) and hidden-piece chess (86), and
// Xi Zach's move (21, a draw or a stand), at that game alone.
constexpr int16_t kCommandsWithSubs[] = {40, 47, 71, 72, 73, 77, 78, 79, 86, 101, 104, 2703};

bool carriesSubs(int16_t command, int game) {
    return std::find(std::begin(kCommandsWithSubs), std::end(kCommandsWithSubs), command) !=
               std::end(kCommandsWithSubs) ||
           (command == 21 && game == kXiZach);
}

// The stub as it starts: its tables and the social network's sign-in.
struct StartedStub {
    StubPortal stub{portalserver::Fd(), "Kavo Local|127.0.0.1:12346", 600};
    StubSocialNet socialNet{1};
    bool ready() { return stub.readyToServe({socialNet.signInCommand()}); }
};

// Read from the stub's table: each sub of a command that carries subs is a row of its own,
// so no handler decides between subs, and a command that carries none has no sub's row;
// every join of a board and every sign-in says its rule in its row, and no other row
// has one.
TEST(StubTables, EachSubIsARowOfItsOwnAndEachRowSaysItsRule) {
    LogLines log;
    StartedStub started;
    ASSERT_TRUE(started.ready());
    size_t joins = 0;
    size_t signIns = 0;
    for (const StubCommands::Row& row : started.stub.rows()) {
        const std::string named = "command " + std::to_string(row.command) + ", sub " + std::to_string(row.sub) +
                                  ", game " + std::to_string(row.game);
        EXPECT_EQ(row.sub != kEvery, carriesSubs(row.command, row.game)) << named;
        const bool join = row.command == 8 || row.command == 1900;
        const bool signIn = row.command == 1 || row.command == 2301;
        EXPECT_EQ(row.rule, join ? Rule::BoardJoin : signIn ? Rule::SignIn : Rule::None) << named;
        joins += join;
        signIns += signIn;
    }
    EXPECT_GE(joins, 9u) << "the lobby's and each table's";
    EXPECT_EQ(signIns, 2u);
}

// Every area's table of the stub is taken whole; a stub with one more row for a command,
// sub and game it answers (the table sheets' old stake row, a registration) does not serve.
// (What the stub's portal serves is reached through its table alone: nothing outside it can
// set a handler there; the dispatch above finds one that is.)
TEST(StubTables, AStubWithARowGivenTwiceDoesNotServe) {
    const auto nothing = [](kavo::Message&, PortalServer::Reply&) {};
    LogLines log;
    StartedStub started;
    EXPECT_TRUE(started.stub.sound());
    EXPECT_FALSE(started.stub.readyToServe({started.socialNet.signInCommand(), {19, kEvery, nothing}}));
    EXPECT_TRUE(log.has("a second row for command 19, every sub, every game is refused"));
    EXPECT_TRUE(log.has("portal-stub: its tables are not sound; it does not serve"));
    EXPECT_FALSE(started.stub.add({{35, kEvery, nothing, true}}));
    EXPECT_FALSE(started.stub.add({{36, 7, nothing}})) << "a sub's row beside the search's";
    EXPECT_FALSE(started.stub.sound());
}

} // namespace
} // namespace portalstub
