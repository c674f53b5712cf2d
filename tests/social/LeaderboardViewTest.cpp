// The rankings screen as the player uses it: opened from the game grid, the two tabs,
// the game picker, paging by dragging to the end, and the friends mode.
#include "social/LeaderboardView.h"

#include "account/ProfileView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "lobby/GameView.h"
#include "platform/ui/Image.h"
#include "tests/account/support/AccountTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int kPhomRow = 9; // Phom's place in the picker

// A ranking row: id, name, money, avatar, experience, status.
Bytes& ranked(Bytes& body, int32_t id, const std::string& name, int64_t money, int32_t exp) {
    return body.int32(id).utf(name).int64(money).int16(2).int32(exp).utf("");
}

ByteVector richestPage(int8_t page, int first, int count) {
    Bytes body;
    body.byte(page);
    for (int i = first; i < first + count; ++i)
        ranked(body, i, "rich" + std::to_string(i), 1000000 + i, 0).raw({0, 0, 0});
    return body;
}

ByteVector strongestPage(int8_t game, int8_t page, const std::string& prefix, int count) {
    Bytes body;
    body.byte(game).byte(page);
    for (int i = 0; i < count; ++i)
        ranked(body, 100 + i, prefix + std::to_string(i), 5000, 450);
    return body;
}

template <class T> std::shared_ptr<T> tagged(ui::TableViewCell& cell, int tag) {
    ui::View* found = cell.contentView()->viewWithTag(tag);
    return found ? std::dynamic_pointer_cast<T>(found->self()) : nullptr;
}

class Leaderboard : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        grid_ = push(std::make_shared<GameView>());
        recorder_.clear(); // the grid's own friend list
        grid_->doShowLeaderboard();
        advance(1); // the animated push ends
        board_ = std::dynamic_pointer_cast<LeaderboardView>(KavoOnlineAppDelegate::getInstance().topViewController());
        ASSERT_TRUE(board_);
    }
    void tap(const std::shared_ptr<ui::Button>& button) {
        button->sendActions(ui::ControlEvent::TouchUpInside);
        runPending();
    }
    void choosePhom() {
        tap(board_->btnTopCaoThu());
        board_->didSelectRow(*board_->tblViewIconGames(), {0, kPhomRow});
        runPending();
    }
    // A drag of the list that ends `beyond` points past the loading line (negative: short of it).
    void dragListEnd(double beyond) {
        auto& table = *board_->tblViewDanhSach();
        table.setContentOffset({0, table.contentSize().height - 200 + beyond});
        board_->didEndDragging(table, false);
        runPending();
    }

    std::shared_ptr<GameView> grid_;
    std::shared_ptr<LeaderboardView> board_;
};

TEST_F(Leaderboard, OpeningFromTheGameGridAsksTheRichestFirstPageExactlyOnce) {
    EXPECT_EQ(bodies(31), (std::vector<ByteVector>{{0x00}}));
    EXPECT_EQ(board_->viewingTabIndex(), LeaderboardView::kTabRichest);
    EXPECT_FALSE(board_->isFriendModeON());
    // Shown again after going back: one more page 0, the lists started over.
    reply(31, richestPage(0, 0, 3));
    pop();
    grid_->doShowLeaderboard();
    advance(1);
    EXPECT_EQ(bodies(31), (std::vector<ByteVector>{{0x00}, {0x00}}));
    EXPECT_TRUE(board_->listTopRichests().empty());
}

TEST_F(Leaderboard, RichestRowsShowNameMoneyAndOnlineMark) {
    reply(31, richestPage(0, 0, 3));
    auto& table = *board_->tblViewDanhSach();
    ASSERT_EQ(table.numberOfRows(0), 3);
    table.layoutIfNeeded();
    auto cell = table.cellForRow({0, 1});
    ASSERT_TRUE(cell);
    EXPECT_EQ(tagged<ui::Label>(*cell, 102)->text(), "rich1");
    EXPECT_EQ(tagged<ui::Label>(*cell, 103)->text(), "1.000.001 Zel");
    auto status = tagged<ui::ImageView>(*cell, 104)->image();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->name(), "icon_trangthai.png");
    EXPECT_EQ(board_->lblLevel()->text(), "Zel");
    // The richest tab again shows its held list without asking.
    tap(board_->btnTopCaoThu());
    tap(board_->btnTopDaiGia());
    EXPECT_EQ(bodies(31).size(), 1u);
    EXPECT_EQ(table.numberOfRows(0), 3);
}

TEST_F(Leaderboard, RepliesFillOnlyTheirGamesListAndRowsShowTheirLevel) {
    choosePhom();
    reply(30, strongestPage(13, 0, "phom", 12));
    reply(30, strongestPage(3, 0, "tlmn", 2));
    reply(30, strongestPage(6, 0, "none", 2)); // no such game: no rows anywhere
    EXPECT_EQ(board_->listTopForGame(13)->size(), 12u);
    EXPECT_EQ(board_->listTopForGame(3)->size(), 2u);
    EXPECT_EQ(board_->listTopForGame(6), nullptr);
    auto& table = *board_->tblViewDanhSach();
    EXPECT_EQ(table.numberOfRows(0), 12);
    // Rows scrolled into view reuse cells and show their own players.
    table.setContentOffset({0, 56 * 7});
    table.layoutIfNeeded();
    for (const auto& cell : table.visibleCells()) {
        auto path = table.indexPathForCell(cell.get());
        ASSERT_TRUE(path);
        EXPECT_EQ(tagged<ui::Label>(*cell, 102)->text(), "phom" + std::to_string(path->row));
        EXPECT_EQ(tagged<ui::Label>(*cell, 103)->text(), "Level: 3 + 50%");
    }
}

TEST_F(Leaderboard, DraggingPastTheEndAsksTheNextPageOnceAndShortOfItNothing) {
    choosePhom();
    reply(30, strongestPage(13, 0, "phom", 10));
    dragListEnd(-1);
    EXPECT_EQ(bodies(30).size(), 1u) << "short of the line";
    dragListEnd(1);
    dragListEnd(1); // the first page is still on its way
    EXPECT_EQ(bodies(30), (std::vector<ByteVector>{{0x0D, 0x00}, {0x0D, 0x01}}));
    EXPECT_TRUE(board_->isReloaded());
    reply(30, strongestPage(13, 1, "more", 10));
    EXPECT_FALSE(board_->isReloaded());
    EXPECT_EQ(board_->listTopForGame(13)->size(), 20u);
    dragListEnd(1);
    EXPECT_EQ(bodies(30).back(), (ByteVector{0x0D, 0x02}));
}

TEST_F(Leaderboard, TheRichestListPagesZeroThenTwoThenThree) {
    reply(31, richestPage(0, 0, 10));
    dragListEnd(1);
    reply(31, richestPage(2, 10, 10));
    dragListEnd(1);
    EXPECT_EQ(bodies(31), (std::vector<ByteVector>{{0x00}, {0x02}, {0x03}}));
}

TEST_F(Leaderboard, ChoosingPhomAgainShowsItsHeldListWithoutAsking) {
    choosePhom();
    reply(30, strongestPage(13, 0, "phom", 4));
    tap(board_->btnBack());
    EXPECT_FALSE(board_->viewIconGames()->isHidden());
    board_->didSelectRow(*board_->tblViewIconGames(), {0, kPhomRow});
    runPending();
    EXPECT_EQ(bodies(30).size(), 1u);
    EXPECT_EQ(board_->listTopForGame(13)->size(), 4u);
    EXPECT_EQ(board_->tblViewDanhSach()->numberOfRows(0), 4);
}

TEST_F(Leaderboard, ChoosingAGameTwiceBeforeItsFirstPageAsksOnceAndListsItOnce) {
    choosePhom();
    EXPECT_EQ(board_->selectGameID(), 13);
    EXPECT_FALSE(board_->viewDanhSach()->isHidden());
    EXPECT_EQ(board_->lblCaoThuName()->text(), text("KAVO_Strongest_Phom"));
    EXPECT_EQ(board_->lblLevel()->text(), "Level");
    tap(board_->btnBack());
    board_->didSelectRow(*board_->tblViewIconGames(), {0, kPhomRow});
    runPending();
    EXPECT_EQ(bodies(30), (std::vector<ByteVector>{{0x0D, 0x00}}));
    reply(30, strongestPage(13, 0, "phom", 4));
    EXPECT_EQ(board_->listTopForGame(13)->size(), 4u);
    EXPECT_EQ(board_->tblViewDanhSach()->numberOfRows(0), 4);
}

TEST_F(Leaderboard, FriendsModeAsksAtEveryShowingAndNeverPages) {
    tap(board_->btnBanBe());
    EXPECT_EQ(bodies(104), (std::vector<ByteVector>{{0x10}}));
    reply(104, Bytes().byte(16).int32(1).utf("ban").int64(9).int16(1).byte(0).utf(""));
    EXPECT_EQ(board_->tblViewDanhSach()->numberOfRows(0), 1);
    dragListEnd(1);
    EXPECT_EQ(bodies(31).size(), 1u);
    choosePhom();
    board_->didSelectRow(*board_->tblViewIconGames(), {0, kPhomRow});
    runPending();
    EXPECT_EQ(bodies(104), (std::vector<ByteVector>{{0x10}, {0x14, 0x0D}, {0x14, 0x0D}}));
    EXPECT_TRUE(bodies(30).empty());
    // Back to the community: the held (empty) richest list, nothing asked.
    tap(board_->btnTopDaiGia());
    EXPECT_EQ(bodies(104).back(), (ByteVector{0x10})) << "the richest friends are asked again";
}

TEST_F(Leaderboard, ARankingWhileTheProfileIsOnTopChangesNothing) {
    push(std::make_shared<ProfileView>());
    reply(31, richestPage(0, 0, 3));
    reply(30, strongestPage(13, 0, "phom", 3));
    EXPECT_TRUE(board_->listTopRichests().empty());
    EXPECT_TRUE(board_->listTopForGame(13)->empty());
}

TEST_F(Leaderboard, NoiseWithTheBoardOnTopIsDropped) {
    uint32_t seed = 7;
    for (int i = 0; i < 300; ++i) {
        ByteVector body;
        for (int n = int(seed % 40); n > 0; --n) {
            seed = seed * 1103515245u + 12345u;
            body.push_back(uint8_t(seed >> 16));
        }
        const int16_t commands[] = {30, 31, 104};
        reply(commands[i % 3], body);
    }
    // The screen still answers the player.
    tap(board_->btnTopCaoThu());
    EXPECT_EQ(board_->viewingTabIndex(), LeaderboardView::kTabStrongest);
    EXPECT_FALSE(board_->viewIconGames()->isHidden());
}

} // namespace
} // namespace kavo::test
