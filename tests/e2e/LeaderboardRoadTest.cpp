// The rankings road: from the game grid to the richest list, a game's strongest list
// paged by dragging, and the friends' rankings, against the test portal.
#include "platform/ui/Screen.h"
#include "social/LeaderboardView.h"
#include "tests/e2e/AccountRoad.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// Ten ranked players of a page: "<prefix><page>-<i>".
void writeRows(Message& reply, const std::string& prefix, int page, bool richest) {
    for (int i = 0; i < 10; ++i) {
        reply.writeInt(1000 + page * 10 + i);
        reply.writeUTF(prefix + std::to_string(page) + "-" + std::to_string(i));
        reply.writeLong(900000 - (page * 10 + i) * 1000);
        reply.writeShort(1);
        reply.writeInt(450);
        reply.writeUTF("");
        if (richest) reply.writeData({0, 0, 0});
    }
}

// Phom lies below the picker's first rows: the list is scrolled to it, then the player taps it.
const std::string kToPhom = "advance 0.1\ntap text=Phỏm\nadvance 0.1\n";

// Drags up that stay on the screen: two to the list's end, a third past it (the list follows
// at half speed there) to the line that asks the next page.
const std::string kPastTheEnd = "drag id=tblViewDanhSach 0 -190\nadvance 1\ndrag id=tblViewDanhSach 0 -190\n"
                                "advance 1\ndrag id=tblViewDanhSach 0 -190\nadvance 1\n";

class LeaderboardRoad : public AccountRoad {
protected:
    void SetUp() override {
        AccountRoad::SetUp();
        portal().onCommand(31, [](Message& request, TestPortal::Reply& reply) {
            const int8_t page = request.readByte();
            Message rows(31);
            rows.writeByte(page);
            writeRows(rows, "rich", page, true);
            reply.send(rows);
        });
        portal().onCommand(30, [](Message& request, TestPortal::Reply& reply) {
            const int8_t game = request.readByte();
            const int8_t page = request.readByte();
            Message rows(30);
            rows.writeByte(game);
            rows.writeByte(page);
            writeRows(rows, game == 13 ? "phom" : "game", page, false);
            reply.send(rows);
        });
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            const int8_t kind = request.readByte();
            if (kind != 16 && kind != 20) return;
            Bytes rows;
            rows.byte(kind).int32(77).utf(kind == 16 ? "banGiau" : "banGioi").int64(5000).int16(1).byte(0);
            reply.send(104, rows.utf(""));
        });
    }
    // Runs a script in which the picker is shown, with Phom's row scrolled into sight first.
    void roadToPhom(const std::string& before, const std::string& after) {
        road(before);
        advance(0.1);
        top<LeaderboardView>()->tblViewIconGames()->scrollToRow({0, 9}, platform::ui::TableViewScrollPosition::Top,
                                                                false);
        road(kToPhom + after);
    }
    std::vector<std::vector<uint8_t>> bodies(int16_t command) {
        std::vector<std::vector<uint8_t>> found;
        for (const auto& message : portal().messages(command))
            found.push_back(message.body);
        return found;
    }
};

TEST_F(LeaderboardRoad, ThePlayerPagesThroughTheRichestAndPhomsStrongest) {
    signIn();
    road("tap id=doShowLeaderboard\nscreen LeaderboardView\nadvance 0.5\nwait text=rich0-0");
    EXPECT_EQ(bodies(31), (std::vector<std::vector<uint8_t>>{{0x00}}));

    // Dragging up past the end of the list asks the next page.
    road(kPastTheEnd);
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return top<LeaderboardView>()->listTopRichests().size() == 20; }, 30));
    EXPECT_EQ(bodies(31), (std::vector<std::vector<uint8_t>>{{0x00}, {0x02}}));
    road("drag id=tblViewDanhSach 0 -190\nadvance 1\ndrag id=tblViewDanhSach 0 -190\nadvance 1\n"
         "drag id=tblViewDanhSach 0 -190\nadvance 1\nexpect text=rich2-9");

    roadToPhom("tap id=btnTopCaoThu", "wait text=phom0-0\nexpect text=Level: 3 + 50%");
    ASSERT_TRUE(waitForCount(30, 1));
    road(kPastTheEnd);
    ASSERT_TRUE(waitForCount(30, 2));
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return top<LeaderboardView>()->listTopForGame(13)->size() == 20; }, 30));
    EXPECT_EQ(bodies(30), (std::vector<std::vector<uint8_t>>{{0x0D, 0x00}, {0x0D, 0x01}}));
    EXPECT_EQ(top<LeaderboardView>()->listTopForGame(13)->size(), 20u);
}

TEST_F(LeaderboardRoad, FriendsModeShowsTheFriendsRankings) {
    signIn();
    roadToPhom("tap id=doShowLeaderboard\nscreen LeaderboardView\nadvance 0.5\nwait text=rich0-0\n"
               "tap id=btnBanBe\nadvance 0.1\nwait text=banGiau\ntap id=btnTopCaoThu",
               "wait text=banGioi");
    std::vector<std::vector<uint8_t>> friends;
    for (const auto& message : portal().messages(104))
        if (message.body != std::vector<uint8_t>{5}) friends.push_back(message.body); // the grid's friend list
    EXPECT_EQ(friends, (std::vector<std::vector<uint8_t>>{{0x10}, {0x14, 0x0D}}));
    EXPECT_TRUE(portal().messages(30).empty());
}

class LeaderboardScreens : public LeaderboardRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(LeaderboardScreens, TheListsAndThePickerArePhotographed) {
    const bool tablet = GetParam() == platform::ui::Idiom::Tablet;
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    roadToPhom("tap id=doShowLeaderboard\nscreen LeaderboardView\nadvance 0.5\nwait text=rich0-0\nshot " +
                   shotPath("leaderboard-richest", tablet) + "\ntap id=btnTopCaoThu\nadvance 0.1\nshot " +
                   shotPath("leaderboard-picker", tablet),
               "wait text=phom0-0\nshot " + shotPath("leaderboard-game", tablet));
    roadToPhom("tap id=btnBanBe", "wait text=banGioi\nshot " + shotPath("leaderboard-friends", tablet));
    EXPECT_TRUE(std::filesystem::exists(shotPath("leaderboard-friends", tablet)));
}

INSTANTIATE_TEST_SUITE_P(Idioms, LeaderboardScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
