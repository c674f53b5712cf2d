// The player's money while he sits at a table, against the local portal stub on the
// manual clock: what he spends or wins there (a gift he gives, a lottery win announced at
// the table) shows at his seat at once, the next deal and the hand's result count from
// it, and the game grid and his profile show the amount his seat showed when he leaves.
// At a card table (Tien Len), at Cao Rua and at the Chinese chess table, each played by
// the steps of its drive script.
#include "account/LottoSubView.h"
#include "account/ProfileView.h"
#include "account/Profile_UserDataView.h"
#include "app/KavoViewController.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "tests/e2e/StubDrive.h"

#include <cctype>
#include <ostream>

namespace kavo::test {
namespace {

constexpr int64_t kStartMoney = 1000000;
// The third gift of the sheet's second category ("Bánh"): 3,000 Zel.
constexpr int64_t kGiftPrice = 3000;
// A lottery ticket's stake and what it wins (seventy times the stake).
constexpr int32_t kTicketStake = 2000;
constexpr int64_t kWin = 70 * kTicketStake;
// The stub draws every this many seconds of its own clock.
constexpr int kDrawSeconds = 25;

// How a table is reached and played, as pieces of its drive script (each piece from the
// line that starts with its first marker up to the line that starts with the next).
struct MoneyTable {
    const char* name;
    const char* script;
    const char* opensGame;  // the grid's step towards the game (the sign-in comes before it)
    const char* seated;     // the player sits, the stub players ready, before this line
    const char* dealStarts; // the next deal: from this line ...
    const char* dealt;      // ... to this one, which follows the deal
    const char* handEnds;   // the hand is played from `dealt` up to this line
    const char* handEnd;    // and this waits for its result
    const char* giftSheet;  // opens the gift sheet for a stub player's seat
    const char* seatMoney;  // the player's own seat's money
};

void PrintTo(const MoneyTable& table, std::ostream* out) {
    *out << table.name;
}

const MoneyTable kTables[] = {
    {"TienLen", "tienlen.drive", "tap id=btnTLMN", "tap id=btnStart", "tap id=btnStart", "sleep 3.5",
     "# The first game's result", "wait id=btnStart 30\n", "tap id=btnSeat2\nadvance 1\ntap id=btnPlayerPresent2\n",
     "btnMoney0"},
    {"CaoRua", "caorua.drive", "drag id=scrollView", "tap id=btnSeat1", "tap id=btnStart", "sleep 3",
     "# The reveal follows", "wait id=btnStart 30\n",
     "tap id=btnSeat1\nadvance 0.6\nwait id=btnPresentGiftPlayer1 30\ntap id=btnPresentGiftPlayer1\n", "btnMoneyME"},
    {"CoTuong", "cotuong.drive", "tap id=btnCoTuong", "tap id=btnStart", "tap id=btnStart", "sleep 0.5",
     "# Continue clears the board", "", "tap id=btnSeat2\nadvance 1\ntap id=btnPlayerPresent1\n", "btnMoney0"},
};

// The part of `script` from the first line that starts with `from` up to the next line
// that starts with `to`.
std::string piece(const std::string& script, const std::string& from, const std::string& to) {
    return splitScriptAt(splitScriptAt(script, from).second, to).first;
}

// The amount a text shows ("1,067,500 Zel" is 1067500); -1 when it shows no digit.
int64_t amountIn(const std::string& shown) {
    std::string digits;
    for (char c : shown)
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    return digits.empty() ? -1 : std::stoll(digits);
}

int64_t myMoney() {
    return UIController::myInfo()->money();
}

class SeatMoneyStub : public StubDriveFixture, public ::testing::WithParamInterface<MoneyTable> {
protected:
    // The stub players think a fifth of a second; a Cao Rua hand lasts six seconds.
    SeatMoneyStub()
        : StubDriveFixture({{"KAVO_STUB_TIENLEN_PAUSE", "0.2"}, {"KAVO_STUB_CAORUA_PAUSE", "6"}},
                           {"--lottery-period", std::to_string(kDrawSeconds)}),
          script_(stubDriveScript(GetParam().script)) {}

    // The script up to the table, the player signed in on the way (`toGrid` only: up to
    // the grid).
    std::string signIn() const { return splitScriptAt(script_, GetParam().opensGame).first; }
    std::string toTable() const {
        return splitScriptAt(splitScriptAt(script_, GetParam().seated).first, GetParam().opensGame).second;
    }

    // What the player's own seat shows, -1 when it shows none.
    static int64_t seatShows() {
        auto* seat = platform::automation::ViewQuery::find(
            *platform::automation::Selector::parse(std::string("id=") + GetParam().seatMoney));
        return seat ? amountIn(seat->text()) : -1;
    }
    // Waits (real time) until the player's money is `amount`: the stub's answer came.
    [[nodiscard]] static bool moneyBecomes(int64_t amount) {
        return platform::RunLoop::main().runUntil([&] { return myMoney() == amount; }, kStateWait);
    }

    // Gives a gift of the sheet to a stub player at the table (its first category's shown
    // first, then the second's).
    void giveAGift() {
        ASSERT_TRUE(drives(std::string(GetParam().giftSheet) +
                           "advance 0.5\nwait id=gift4101 30\ntap text=Bánh\nwait id=gift4203 30\ntap id=gift4203\n"
                           "tap id=btnTang\nadvance 0.5\n"));
    }

    // Leaves the table by its back button (answering the leave question where the table
    // asks one) and the board list by its own: the grid shows the player's money.
    void leaveForTheGrid() {
        ASSERT_TRUE(drives("tap id=btnBack\nadvance 0.5\n"));
        if (!dialogText().empty()) UIController::pressOk();
        ASSERT_TRUE(drives("screen BoardView 30\nadvance 0.5\ntap id=btnBack\nscreen GameView 30\nadvance 0.5\n"));
    }
    static int64_t gridShows() {
        auto grid = topScreenAs<GameView>();
        return grid ? amountIn(grid->lblPlayerMoney()->text()) : -1;
    }
    // Opens the player's own profile; the amount it shows once the stub's profile came.
    int64_t profileShows() {
        if (!drives("tap id=doShowProfileView\nscreen ProfileView 30\nadvance 0.5\nwait text=khach 30\n")) return -1;
        auto profile = topScreenAs<ProfileView>();
        return profile && profile->userDataView() ? amountIn(profile->userDataView()->vTien()->text()) : -1;
    }

    // On the lottery panel over the grid: waits for the stub's draws and count-down; the
    // newest draw's number and the seconds to the next.
    std::pair<int32_t, int> lotteryNow() {
        auto grid = topScreenAs<KavoViewController>();
        if (!grid || !grid->lottoSubView()) return {-1, 0};
        const auto& panel = grid->lottoSubView();
        // A panel that never shows them is told below.
        (void)platform::RunLoop::main().runUntil(
            [&] { return panel->dataLottoHistory().arrayValue().size() >= 2 && panel->remainTime() > 0; }, kStateWait);
        const auto& rows = panel->dataLottoHistory().arrayValue();
        if (rows.size() < 2) return {-1, 0};
        const std::string draw = rows[1].stringValue(); // "Kỳ N"
        return {int32_t(amountIn(draw)), panel->remainTime()};
    }
    // Buys a ticket on `number` from the open lottery panel and closes the stub's answer.
    void buyTicket(int32_t number, int32_t stake) {
        ASSERT_TRUE(drives("type id=txfNumber " + std::to_string(number) + "\ntype id=txfMoney " +
                           std::to_string(stake) + "\ntap id=clickBuyLotto\nwait contains=số " +
                           std::to_string(number) + " 30\ntap text=" + text("KAVO_OK") + "\nadvance 0.5\n"));
    }
    // Plays the next hand by the script from `money`: the seat shows the player's money
    // once the hand is dealt and after its result. The money after the result.
    int64_t playTheNextHand(int64_t money) {
        const MoneyTable& table = GetParam();
        EXPECT_TRUE(drives(piece(script_, table.dealStarts, table.dealt)));
        EXPECT_EQ(seatShows(), money) << "the seat, once the next deal came";
        EXPECT_TRUE(drives(piece(script_, table.dealt, table.handEnds) + table.handEnd));
        // The hand's result is one amount for the player (the chess table's balance that
        // follows it says the same).
        EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return myMoney() != money; }, kStateWait))
            << "the hand's result";
        EXPECT_EQ(seatShows(), myMoney()) << "the seat, after the hand's result";
        return myMoney();
    }
    // The stub's winning number of draw `draw`.
    static int32_t winningOf(int32_t draw) { return int32_t((int64_t(draw) * 37 + 11) % 100); }

    std::string script_;
};

TEST_P(SeatMoneyStub, AGiftGivenAtTheTableIsOffTheSeatThroughTheNextDealAndItsResult) {
    launch();
    ASSERT_TRUE(drives(signIn() + toTable()));
    ASSERT_EQ(myMoney(), kStartMoney) << "a new player";
    ASSERT_EQ(seatShows(), kStartMoney);

    giveAGift();
    ASSERT_TRUE(moneyBecomes(kStartMoney - kGiftPrice)) << "the stub's balance after the gift\n" << log();
    EXPECT_EQ(seatShows(), kStartMoney - kGiftPrice) << "the seat, when the gift is paid";

    const int64_t after = playTheNextHand(kStartMoney - kGiftPrice);
    ASSERT_FALSE(HasFailure());

    leaveForTheGrid();
    EXPECT_EQ(gridShows(), after);
    EXPECT_EQ(profileShows(), after) << "the profile shows the stub's balance";
}

TEST_P(SeatMoneyStub, ALotteryWinAnnouncedAtTheTableReachesTheSeatAndStaysThroughTheNextHand) {
    launch();
    ASSERT_TRUE(drives(signIn() + "tap id=showLottoSubView\nadvance 0.5\n"));
    auto [newest, secondsLeft] = lotteryNow();
    ASSERT_GT(newest, 0) << "the panel shows the stub's draws";
    // The ticket must be drawn after the player sits, however slowly the stub answers on
    // the road to the table: unless most of the period is left before the open draw, a
    // losing ticket waits for it (its result is told), and the winning one goes to the
    // next, bought at its start.
    if (secondsLeft < kDrawSeconds * 4 / 5) {
        buyTicket((winningOf(newest + 1) + 1) % 100, 500);
        ASSERT_TRUE(drives("wait contains=không trúng " + std::to_string(kDrawSeconds + 10) +
                           "\ntap text=" + text("KAVO_OK") + "\nadvance 0.5\n"));
        ++newest;
    }
    const int32_t winning = winningOf(newest + 1);
    const int64_t before = myMoney();
    buyTicket(winning, kTicketStake);
    ASSERT_TRUE(moneyBecomes(before - kTicketStake));
    ASSERT_TRUE(drives("tap id=slideOut\nadvance 1\n" + toTable()));
    ASSERT_EQ(seatShows(), before - kTicketStake);

    // The announcement groups the amount's digits as every amount does.
    static_assert(kWin == 140000);
    ASSERT_TRUE(drives("wait contains=+140.000 Zel " + std::to_string(2 * kDrawSeconds)))
        << "the win is announced at the table";
    ASSERT_TRUE(moneyBecomes(before - kTicketStake + kWin)) << "the stub's balance after the win";
    EXPECT_EQ(seatShows(), before - kTicketStake + kWin) << "the seat, once the win came";
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 0.5\n"));
    const int64_t after = playTheNextHand(before - kTicketStake + kWin);
    ASSERT_FALSE(HasFailure());

    leaveForTheGrid();
    EXPECT_EQ(gridShows(), after);
    EXPECT_EQ(profileShows(), after);
}

INSTANTIATE_TEST_SUITE_P(Tables, SeatMoneyStub, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kavo::test
