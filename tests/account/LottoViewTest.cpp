// The lottery screen: its board, the count-down and the new draw, the marks of bought
// numbers, and the stake entry that buys through the bet sheet's logic.
#include "account/LottoView.h"

#include "account/LottoBetZelView.h"
#include "app/UIController.h"
#include "app/widgets/CustomUIFont.h"
#include "lobby/GameView.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "table/sheets/menuCuoc.h"
#include "tests/account/support/AccountTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

std::string background(const std::shared_ptr<ui::Button>& button) {
    auto image = button ? button->backgroundImageForState(ui::ControlState::Normal) : nullptr;
    return image ? image->name() : "";
}

class LotteryScreen : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        grid_ = push(std::make_shared<GameView>());
        recorder_.clear();
        lotto_ = push(std::make_shared<LottoView>());
    }
    std::shared_ptr<GameView> grid_;
    std::shared_ptr<LottoView> lotto_;
};

TEST_F(LotteryScreen, TheBoardHoldsAHundredTwoWideNumbersEightToARow) {
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401, 1402}));
    EXPECT_EQ(lotto_->scrollView()->subviews().size(), 100u);
    auto seven = lotto_->numberButton(7);
    ASSERT_TRUE(seven);
    EXPECT_EQ(seven->titleForState(ui::ControlState::Normal), " 7");
    EXPECT_EQ(seven->frame(), ui::Rect(7 * 50 + 2, 0, 40, 40));
    EXPECT_EQ(lotto_->numberButton(99)->frame(), ui::Rect(3 * 50 + 2, 12 * 50, 40, 40));
    EXPECT_EQ(lotto_->scrollView()->contentSize().height, 650);
    EXPECT_EQ(background(seven), LottoView::kUnmarked);
}

TEST_F(LotteryScreen, TheCountDownTicksToZeroThenAsksAgainAndRebuildsTheBoard) {
    lotto_->showBoughtNumber(5, 1000);
    advance(1);
    ASSERT_EQ(background(lotto_->numberButton(5)), LottoView::kMarked);
    lotto_->showTimer(3);
    EXPECT_EQ(lotto_->btnClosesIn()->currentTitle(), "3");
    recorder_.clear();
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        advance(1);
        shown.push_back(lotto_->countText());
        // The count label took the button's place: one count drawn, not two over each other.
        if (i < 3) {
            EXPECT_EQ(lotto_->btnClosesIn()->currentTitle(), "") << i;
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1", "0"}));
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401}));
    EXPECT_FALSE(lotto_->isCounting());
    EXPECT_TRUE(lotto_->btnClosesIn()->isHidden());
    EXPECT_EQ(background(lotto_->numberButton(5)), LottoView::kUnmarked) << "a new board";
    EXPECT_EQ(lotto_->lblClosesIn()->text(), text("KAVO_NewGame"));
    advance(7);
    EXPECT_EQ(lotto_->lblClosesIn()->text(), text("KAVO_DrawClosesIn"));
    EXPECT_DOUBLE_EQ(lotto_->lblClosesIn()->alpha(), 1);
}

TEST_F(LotteryScreen, ZeroSecondsStartsTheNextDrawAtOnceAndASecondTimerReplacesTheFirst) {
    lotto_->showTimer(0);
    recorder_.clear();
    advance(1);
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401}));
    lotto_->showTimer(10);
    lotto_->showTimer(2);
    recorder_.clear();
    advance(3);
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401})) << "one timer, the second one";
    advance(20);
    EXPECT_EQ(drawRequests().size(), 2u);
}

TEST_F(LotteryScreen, OnlyUnusedPicksAreMarkedAfterHalfASecond) {
    reply(1402,
          Bytes().int32(7).int32(800).boolean(false).int32(8).int32(900).boolean(true).int32(120).int32(1).boolean(
              false));
    advance(0.4);
    EXPECT_EQ(background(lotto_->numberButton(7)), LottoView::kUnmarked);
    advance(0.3);
    EXPECT_EQ(background(lotto_->numberButton(7)), LottoView::kMarked);
    EXPECT_EQ(background(lotto_->numberButton(8)), LottoView::kUnmarked);
}

TEST_F(LotteryScreen, AnEmptyHistoryHidesTheLastWinningNumber) {
    reply(1401, Bytes().int32(42).utf("Kỳ 3"));
    EXPECT_EQ(lotto_->btnLastWinning()->currentTitle(), "42");
    EXPECT_FALSE(lotto_->lblLastWinning()->isHidden());
    reply(1401, {});
    EXPECT_TRUE(lotto_->lblLastWinning()->isHidden());
    EXPECT_TRUE(lotto_->btnLastWinning()->isHidden());
}

TEST_F(LotteryScreen, ABoughtNumberIsMarkedWhenTheServerAccepts) {
    lotto_->buyLottoNumber(33);
    reply(1403, Bytes().boolean(false).int32(900).utf("Không"));
    advance(1);
    EXPECT_EQ(background(lotto_->numberButton(33)), LottoView::kUnmarked);
    closeDialog();
    reply(1403, Bytes().boolean(true).int32(900).utf("Đã mua"));
    advance(1);
    EXPECT_EQ(background(lotto_->numberButton(33)), LottoView::kMarked);
}

struct Stake {
    const char* typed;
    const char* warning; // nullptr: bought
};

TEST_F(LotteryScreen, TheStakeEntryBuysTheSelectedNumberAndAlwaysCloses) {
    const Stake cases[] = {
        {"", "KAVO_LottoMoneyWarning"}, {"-1", "KAVO_InvalidBet"}, {"499", "KAVO_LottoMoneyWarning"}, {"500", nullptr}};
    for (const Stake& stake : cases) {
        lotto_->buyLottoNumber(21);
        ASSERT_EQ(lotto_->betZelView()->superview(), lotto_->view().get());
        EXPECT_EQ(lotto_->betZelView()->lblNumber()->text(), "21");
        EXPECT_TRUE(lotto_->betZelView()->txfBetZel()->isFirstResponder());
        lotto_->setSelectedNumber(stake.warning ? 21 : 64); // bought: the number selected when confirming
        lotto_->betZelView()->txfBetZel()->setText(stake.typed);
        lotto_->betZelView()->doneWithNumberPad();
        EXPECT_EQ(lotto_->betZelView()->superview(), nullptr) << stake.typed;
        EXPECT_EQ(dialogText(), stake.warning ? text(stake.warning) : "") << stake.typed;
        closeDialog();
    }
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{Bytes().int32(64).int32(500).data()});
    EXPECT_EQ(drawRequests().back(), 1402);
}

TEST_F(LotteryScreen, CancellingTheStakeEntrySendsNothing) {
    lotto_->buyLottoNumber(4);
    lotto_->betZelView()->txfBetZel()->setText("900");
    lotto_->betZelView()->hideBetZelView();
    EXPECT_EQ(lotto_->betZelView()->superview(), nullptr);
    EXPECT_EQ(lotto_->betZelView()->txfBetZel()->text(), "");
    EXPECT_TRUE(bodies(1403).empty());
}

TEST_F(LotteryScreen, TheBetSheetOverTheLotteryAsksForAStakeAndBuys) {
    lotto_->setSelectedNumber(11);
    const auto& sheet = menuCuoc::getInstance();
    lotto_->showBetOnBoard();
    EXPECT_EQ(sheet->txtMoney()->placeholder(), text("KAVO_TypeMoney"));
    sheet->txtMoney()->setText("700");
    sheet->clickOK();
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{Bytes().int32(11).int32(700).data()});
    advance(0.5);
    menuCuoc::doSaveSetMoney("800");
    EXPECT_EQ(bodies(1403).back(), Bytes().int32(11).int32(800).data());
}

TEST_F(LotteryScreen, APoppedScreenRunsNoCountDownAndSendsNothing) {
    lotto_->showTimer(2);
    pop();
    recorder_.clear();
    advance(10);
    EXPECT_FALSE(lotto_->isCounting());
    EXPECT_TRUE(drawRequests().empty());
}

TEST(LotteryBoard, TabletButtonsFollowTheTabletRule) {
    ui::Screen::setIdiom(ui::Idiom::Tablet);
    auto lotto = std::make_shared<LottoView>();
    lotto->view();
    auto nine = lotto->numberButton(9);
    ui::Screen::setIdiom(ui::Idiom::Phone);
    ASSERT_TRUE(nine);
    // Column 1, row 1: x = 21 + 106.5, y = 120; 85.2 x 96.
    EXPECT_NEAR(nine->frame().x(), 127.5, 0.01);
    EXPECT_NEAR(nine->frame().y(), 120, 0.01);
    EXPECT_NEAR(nine->frame().width(), 85.2, 0.01);
    EXPECT_NEAR(nine->frame().height(), 96, 0.01);
    EXPECT_EQ(lotto->scrollView()->contentSize().height, 1300);
}

} // namespace
} // namespace kavo::test
