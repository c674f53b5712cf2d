// The lottery road: buying from the panel over the game grid and from the board of the
// lottery screen, the count-down and a draw's result, against the test portal on the
// manual clock.
#include "account/LottoBetZelView.h"
#include "account/LottoSubView.h"
#include "account/LottoView.h"
#include "lobby/GameView.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "tests/e2e/AccountRoad.h"
#include "tests/support/Bytes.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>

namespace kavo::test {
namespace {

struct Bet {
    int32_t number;
    int32_t stake;
    bool used = false; // of a closed draw
};

class LotteryRoad : public AccountRoad {
protected:
    void SetUp() override {
        AccountRoad::SetUp();
        portal().onCommand(1400, [this](Message&, TestPortal::Reply& reply) {
            reply.send(1400, Bytes().int32(firstSeconds_.exchange(30)));
        });
        portal().onCommand(1401,
                           [](Message&, TestPortal::Reply& reply) { reply.send(1401, Bytes().int32(12).utf("Ky 1")); });
        portal().onCommand(1402, [this](Message&, TestPortal::Reply& reply) {
            std::lock_guard lock(mutex_);
            Bytes mine;
            for (const Bet& bet : bets_) {
                mine.int32(bet.number).int32(bet.stake).boolean(bet.used);
            }
            reply.send(1402, mine);
        });
        portal().onCommand(1403, [this](Message& request, TestPortal::Reply& reply) {
            const int32_t number = request.readInt();
            const int32_t stake = request.readInt();
            {
                std::lock_guard lock(mutex_);
                bets_.push_back({number, stake});
            }
            reply.send(1403, Bytes().boolean(true).int32(stake).utf("Da mua " + std::to_string(number)));
        });
    }
    static std::string background(const std::shared_ptr<platform::ui::Button>& button) {
        auto image = button ? button->backgroundImageForState(platform::ui::ControlState::Normal) : nullptr;
        return image ? image->name() : "";
    }
    std::vector<int32_t> boughtAt(size_t index) {
        Message sent(1403, portal().messages(1403).at(index).body);
        const int32_t number = sent.readInt();
        return {number, sent.readInt()};
    }

    std::mutex mutex_;
    std::vector<Bet> bets_;
    // The seconds of the first answer to 1400; 30 afterwards.
    std::atomic<int32_t> firstSeconds_{30};
};

TEST_F(LotteryRoad, ThePlayerBuysFromThePanelThenFromTheBoardAndSeesTheDraw) {
    signIn();
    road("tap id=showLottoSubView\nadvance 0.5\nwait text=12 Ky 1 30\ntype id=txfNumber 42\ntype id=txfMoney 600\n"
         "tap id=clickBuyLotto");
    ASSERT_TRUE(waitForCount(1403, 1));
    EXPECT_EQ(boughtAt(0), (std::vector<int32_t>{42, 600}));
    road("wait text=Da mua 42 30\ntap text=" + text("KAVO_OK") + "\nwait text=42 : 600 ZEL\nadvance 3\nexpect text=28");

    road("tap id=doShowLotto\nscreen LottoView\nadvance 0.5\ntap id=buyLottoNumber7\ntype id=txfBetZel 800\n"
         "tap text=Xong\nadvance 0.1");
    ASSERT_TRUE(waitForCount(1403, 2));
    EXPECT_EQ(boughtAt(1), (std::vector<int32_t>{7, 800}));
    road("wait text=Da mua 7 30\ntap text=" + text("KAVO_OK") + "\nadvance 1");
    auto lotto = top<LottoView>();
    ASSERT_TRUE(lotto);
    EXPECT_EQ(background(lotto->numberButton(7)), LottoView::kMarked);
    EXPECT_EQ(background(lotto->numberButton(8)), LottoView::kUnmarked);

    Message draw(1404);
    draw.writeInt(7);
    draw.writeUTF("Trung so 7");
    ASSERT_TRUE(portal().sendToClient(draw));
    road("wait text=Trung so 7 30");
}

// The panel opened over the grid stays up under the lottery board opened from it: a ticket
// bought on the board is listed there when the player comes back, without opening the panel
// again, and a ticket of a closed draw is never listed with them.
TEST_F(LotteryRoad, ATicketBoughtOnTheBoardIsListedInThePanelBeneathIt) {
    {
        std::lock_guard lock(mutex_);
        bets_.push_back({55, 1000, true});
    }
    signIn();
    road("tap id=showLottoSubView\nadvance 0.5\nwait text=12 Ky 1 30\nwait text=" + text("KAVO_NoData") + " 30");
    EXPECT_FALSE(drive("expect text=55 : 1.000 ZEL").ok) << "a ticket of a closed draw";

    road("tap id=doShowLotto\nscreen LottoView\nadvance 0.5\ntap id=buyLottoNumber7\ntype id=txfBetZel 800\n"
         "tap text=Xong\nadvance 0.1");
    ASSERT_TRUE(waitForCount(1402, 3));
    road("wait text=Da mua 7 30\ntap text=" + text("KAVO_OK"));
    // The board has the answer to the purchase's 1402 while it is on top.
    auto board = top<LottoView>();
    ASSERT_TRUE(board);
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            const auto& bought = board->dataMyHistory();
            return std::any_of(bought.begin(), bought.end(), [](const auto& pick) { return pick->number() == 7; });
        },
        kStateWait));
    const size_t asked = portal().messages(1402).size();
    road("advance 1\ntap id=btnBack\nscreen GameView\nadvance 0.5");
    auto grid = top<GameView>();
    ASSERT_TRUE(grid);
    ASSERT_TRUE(grid->lottoSubView() && grid->lottoSubView()->isSliding()) << "the panel is still up";
    EXPECT_TRUE(drive("expect text=7 : 800 ZEL").ok) << "listed at once";
    EXPECT_EQ(portal().messages(1402).size(), asked) << "without asking again";
    EXPECT_FALSE(drive("expect text=55 : 1.000 ZEL").ok);
}

TEST_F(LotteryRoad, TheBoardCountsDownAndStartsTheNextDrawAtZero) {
    firstSeconds_ = 1000; // the panel underneath stays far from its own draw
    signIn();
    // Both the panel and the board take every answer to 1400: the board counts from 30
    // once the answer to its own question came (on a busy machine it may come late).
    road("tap id=showLottoSubView\nadvance 0.5\ntap id=doShowLotto\nscreen LottoView\nadvance 0.5\nwait text=12 30");
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [] {
            auto lotto = top<LottoView>();
            return lotto && lotto->isCounting() && lotto->btnClosesIn()->text() == "30";
        },
        kStateWait));
    portal().clearMessages();
    road("advance 30\nexpect text=1\nadvance 1");
    ASSERT_TRUE(waitForCount(1401, 1));
    EXPECT_FALSE(portal().messages(1400).empty());
    // The next draw's seconds come back on the reader thread in real time.
    EXPECT_TRUE(platform::RunLoop::main().runUntil([] { return top<LottoView>()->isCounting(); }, 30));
    EXPECT_FALSE(top<LottoView>()->btnClosesIn()->isHidden()) << "the next draw's count-down runs";
}

class LotteryScreens : public LotteryRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(LotteryScreens, ThePanelTheBoardAndTheStakeEntryArePhotographed) {
    const bool tablet = GetParam() == platform::ui::Idiom::Tablet;
    platform::ui::Screen::setIdiom(GetParam());
    bets_ = {{7, 500}, {23, 900}};
    signIn();
    road("tap id=showLottoSubView\nadvance 1\nwait text=12 Ky 1 30\nshot " + shotPath("lottery-panel", tablet) +
         "\ntap id=doShowLotto\nscreen LottoView");
    ASSERT_TRUE(waitForCount(1402, 2));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return top<LottoView>()->dataMyHistory().size() == 2; }, 30));
    road("advance 1\nshot " + shotPath("lottery-board", tablet) + "\ntap id=buyLottoNumber9\nadvance 0.2\nshot " +
         shotPath("lottery-stake", tablet));
    EXPECT_EQ(background(top<LottoView>()->numberButton(23)), LottoView::kMarked);
    EXPECT_TRUE(std::filesystem::exists(shotPath("lottery-stake", tablet)));
}

INSTANTIATE_TEST_SUITE_P(Idioms, LotteryScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
