// How the stub dispatches a request: by its command, its sub and the game chosen, to the
// one row that names them, else to the row of every sub or every game; a second row for
// the same command, sub and game is refused as the tables are given, and the first one
// answers on. The stub's own tables name no row twice.
#include "tools/portal-stub/StubCommands.h"

#include "tests/portal-stub/LogLines.h"
#include "tools/portal-stub/StubPortal.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace portalstub {
namespace {

using portalserver::PortalServer;
constexpr int32_t kEvery = StubCommand::kEverySub;

// The stub's dispatch on a portal without a connection: which row answered a request.
class Dispatch : public ::testing::Test {
protected:
    PortalServer::Handler says(const std::string& what) {
        return [this, what](kavo::Message&, PortalServer::Reply&) { answered_.push_back(what); };
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
    StubCommands commands_{portal_, [this] { return signedIn_; }, [this] { return game_; }};
    std::vector<std::string> answered_;
};

struct Request {
    const char* what;
    int16_t command;
    std::vector<uint8_t> body;
    int game;
    const char* answeredBy;
};

TEST_F(Dispatch, ARequestReachesTheRowOfItsSubAndGameElseTheRowOfEvery) {
    ASSERT_TRUE(commands_.add({{20, kEvery, says("a start at every game")},
                               {104, 16, says("the ranked friends")},
                               {104, kEvery, says("the friends")},
                               {2703, 0, says("the report categories")},
                               {2703, kEvery, says("another 2703")}}));
    ASSERT_TRUE(
        commands_.add(atGame(5, {{20, kEvery, says("the chess start")}, {104, kEvery, says("the friends at chess")}})));
    const Request requests[] = {
        {"a start at chess", 20, {1, 1}, 5, "the chess start"},
        {"a start at Tien Len", 20, {1, 1}, 3, "a start at every game"},
        {"a sub named", 104, {16}, 3, "the ranked friends"},
        {"a sub named before a game", 104, {16}, 5, "the ranked friends"},
        {"a game named before every game", 104, {5}, 5, "the friends at chess"},
        {"a sub no row names", 104, {5}, 3, "the friends"},
        {"a body without a sub", 104, {}, 3, "the friends"},
        {"an int sub", 2703, {0, 0, 0, 0}, 3, "the report categories"},
        {"another int sub", 2703, {0, 0, 0, 2}, 3, "another 2703"},
        {"a body too short for an int sub", 2703, {0}, 3, "another 2703"},
        {"a command without a row", 61, {1}, 3, ""},
    };
    for (const Request& request : requests)
        EXPECT_EQ(answer(request.command, request.body, request.game), request.answeredBy) << request.what;
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

// Every area's table of the stub is taken whole; one more row for a command, sub and game
// it answers (the table sheets' old stake row, a registration) is refused at start-up.
TEST(StubTables, TheStubsTablesNameNoRowTwiceAndARowGivenAgainIsRefused) {
    LogLines log;
    StubPortal stub(portalserver::Fd(), "Kavo Local|127.0.0.1:12346", 600);
    EXPECT_TRUE(stub.sound());
    const auto nothing = [](kavo::Message&, PortalServer::Reply&) {};
    EXPECT_FALSE(stub.add({{19, kEvery, nothing}}));
    EXPECT_TRUE(log.has("a second row for command 19, every sub, every game is refused"));
    EXPECT_FALSE(stub.add({{35, kEvery, nothing, true}}));
    EXPECT_FALSE(stub.sound());
    EXPECT_TRUE(stub.add({{35, 7, nothing, true}})) << "a sub of its own is another row";
}

} // namespace
} // namespace portalstub
