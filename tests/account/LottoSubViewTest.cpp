// The lottery panel every screen carries: opening, buying with its checks, the two tables
// and the count-down on the manual clock.
#include "account/LottoSubView.h"

#include "app/UIController.h"
#include "app/widgets/CustomUIFont.h"
#include "lobby/GameView.h"
#include "platform/ui/Application.h"
#include "platform/ui/TableViewCell.h"
#include "tests/account/support/AccountTestSupport.h"
#include "tests/support/DesktopClick.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

class LotteryPanel : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        grid_ = push(std::make_shared<GameView>());
        recorder_.clear();
        grid_->showLottoSubView();
        advance(0.5);
        panel_ = grid_->lottoSubView();
    }
    void buy(const std::string& number, const std::string& stake) {
        panel_->txfNumber()->setText(number);
        panel_->txfMoney()->setText(stake);
        panel_->clickBuyLotto();
    }
    // The text of a row of one of the panel's tables.
    static std::string rowText(ui::TableView& table, int row) {
        table.layoutIfNeeded();
        auto cell = table.cellForRow({0, row});
        if (!cell || cell->contentView()->subviews().empty()) return "";
        return cell->contentView()->subviews().front()->text();
    }

    std::shared_ptr<GameView> grid_;
    std::shared_ptr<LottoSubView> panel_;
};

TEST_F(LotteryPanel, OpeningAsksTimeHistoryAndBetsWithEmptyFields) {
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401, 1402}));
    EXPECT_EQ(panel_->txfNumber()->text(), "");
    EXPECT_EQ(panel_->txfNumber()->placeholder(), text("KAVO_TypeNumber"));
    EXPECT_EQ(panel_->txfMoney()->placeholder(), text("KAVO_TypeMoney"));
}

TEST_F(LotteryPanel, NinetyNineForFiveHundredIsBoughtAndTheFieldsEmpty) {
    buy("99", "500");
    const ByteVector bought{0, 0, 0, 0x63, 0, 0, 0x01, 0xF4};
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{bought});
    EXPECT_EQ(drawRequests().back(), 1402);
    EXPECT_EQ(panel_->txfNumber()->text(), "");
    EXPECT_EQ(panel_->txfMoney()->text(), "");
    EXPECT_EQ(dialogText(), "");
}

struct Refused {
    const char* number;
    const char* stake;
    const char* warning;
};

TEST_F(LotteryPanel, WrongInputGetsItsWarningNumberFirst) {
    const Refused cases[] = {{"5", "499", "KAVO_LottoMoneyWarning"},   {"100", "500", "KAVO_LottoNumberWarning"},
                             {"-5", "500", "KAVO_LottoNumberWarning"}, {"100", "10", "KAVO_LottoNumberWarning"},
                             {"", "500", "KAVO_LottoGeneralWarning"},  {"5", "", "KAVO_LottoGeneralWarning"}};
    for (const Refused& refused : cases) {
        buy(refused.number, refused.stake);
        EXPECT_EQ(dialogText(), text(refused.warning)) << refused.number << " / " << refused.stake;
        closeDialog();
    }
    EXPECT_TRUE(bodies(1403).empty());
}

TEST_F(LotteryPanel, TheFieldsTakeTextWithADigitAndReadItsLeadingNumber) {
    auto& field = *panel_->txfNumber();
    EXPECT_TRUE(panel_->shouldChangeCharacters(field, 0, 0, "1a2"));
    EXPECT_TRUE(panel_->shouldChangeCharacters(field, 0, 0, ""));
    EXPECT_FALSE(panel_->shouldChangeCharacters(field, 0, 0, "abc"));
    for (auto* typedInto : {&field, panel_->txfMoney().get()})
        for (char digit = '0'; digit <= '9'; ++digit)
            EXPECT_TRUE(panel_->shouldChangeCharacters(*typedInto, 0, 0, std::string(1, digit))) << digit;
    buy("1a2", "700");
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{Bytes().int32(1).int32(700).data()});
}

// The size a row's bitmap text is drawn at, in points (the sheet's glyphs are 42 high).
double rowTextSize(ui::TableView& table, int row) {
    table.layoutIfNeeded();
    auto cell = table.cellForRow({0, row});
    if (!cell || cell->contentView()->subviews().empty()) return 0;
    auto* label = dynamic_cast<CustomUIFont*>(cell->contentView()->subviews().front().get());
    return label ? label->scaleSize() * 42 : 0;
}

TEST_F(LotteryPanel, TheDrawListAndTheEmptyTextsReadAtTenPointsOrMore) {
    reply(1401, Bytes().int32(7).utf("Kỳ 9").int32(-1).utf("").data());
    reply(1402, {});
    auto& released = *panel_->lottoHistory();
    auto& mine = *panel_->myHistory();
    ASSERT_EQ(released.numberOfRows(0), 2);
    EXPECT_GE(rowTextSize(released, 0), 10);
    EXPECT_GE(rowTextSize(released, 1), 10) << "no draw yet";
    EXPECT_GE(rowTextSize(mine, 0), 10) << "no bet yet";
}

TEST_F(LotteryPanel, TheTablesShowReleasedNumbersAndOwnBets) {
    reply(1401, Bytes().int32(7).utf("Kỳ 9").int32(-1).utf("").int32(42).data());
    auto& released = *panel_->lottoHistory();
    ASSERT_EQ(released.numberOfRows(0), 2) << "the odd last number has no row";
    EXPECT_EQ(rowText(released, 0), " 7 Kỳ 9");
    EXPECT_EQ(rowText(released, 1), text("KAVO_NoData"));
    reply(1402, {});
    auto& mine = *panel_->myHistory();
    ASSERT_EQ(mine.numberOfRows(0), 1);
    EXPECT_EQ(rowText(mine, 0), text("KAVO_NoData"));
    reply(1402, Bytes().int32(12).int32(8000).boolean(false).data());
    ASSERT_EQ(mine.numberOfRows(0), 1);
    EXPECT_EQ(rowText(mine, 0), "12 : 8.000 ZEL") << "the stake's digits grouped as every amount's";
}

// A ticket of a draw already closed (marked used) is not listed among the tickets of the
// draw still open; with only such tickets the list says there are none.
TEST_F(LotteryPanel, OnlyTheTicketsOfTheOpenDrawAreListed) {
    auto& mine = *panel_->myHistory();
    reply(1402, Bytes()
                    .int32(3)
                    .int32(500)
                    .boolean(true)
                    .int32(12)
                    .int32(8000)
                    .boolean(false)
                    .int32(40)
                    .int32(700)
                    .boolean(true)
                    .data());
    ASSERT_EQ(mine.numberOfRows(0), 1);
    EXPECT_EQ(rowText(mine, 0), "12 : 8.000 ZEL");
    reply(1402, Bytes().int32(3).int32(500).boolean(true).data());
    ASSERT_EQ(mine.numberOfRows(0), 1);
    EXPECT_EQ(rowText(mine, 0), text("KAVO_NoData"));
}

TEST_F(LotteryPanel, TheCountDownShowsTwoWideAndAtZeroAsksAgain) {
    reply(1400, Bytes().int32(2));
    recorder_.clear();
    advance(1);
    EXPECT_EQ(panel_->countText(), " 2");
    advance(1);
    EXPECT_EQ(panel_->countText(), " 1");
    EXPECT_TRUE(drawRequests().empty());
    advance(1);
    EXPECT_EQ(panel_->countText(), " 0");
    EXPECT_EQ(drawRequests(), (std::vector<int16_t>{1400, 1401, 1402}));
    EXPECT_FALSE(panel_->isCounting());
}

TEST_F(LotteryPanel, AClosedPanelKeepsTheSecondsButRunsNoTimer) {
    panel_->slideOut();
    advance(0.5);
    reply(1400, Bytes().int32(30));
    EXPECT_EQ(panel_->remainTime(), 30);
    EXPECT_FALSE(panel_->isCounting());
    recorder_.clear();
    advance(40);
    EXPECT_TRUE(drawRequests().empty());
}

TEST_F(LotteryPanel, TheNumberReturnMovesToTheStakeAndTheStakeReturnBuys) {
    auto& app = ui::Application::shared();
    ASSERT_TRUE(panel_->txfNumber()->becomeFirstResponder());
    panel_->txfNumber()->setText("8");
    EXPECT_TRUE(panel_->isEdit());
    app.dispatchKey(ui::Key::Return);
    EXPECT_TRUE(panel_->txfMoney()->isFirstResponder());
    panel_->txfMoney()->setText("600");
    app.dispatchKey(ui::Key::Return);
    EXPECT_FALSE(panel_->isEdit());
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{Bytes().int32(8).int32(600).data()});
}

TEST_F(LotteryPanel, NoiseOfTheLotteryRepliesLeavesThePanelWorking) {
    uint32_t seed = 3;
    for (int i = 0; i < 300; ++i) {
        ByteVector body;
        for (int n = int(seed % 40); n > 0; --n) {
            seed = seed * 1103515245u + 12345u;
            body.push_back(uint8_t(seed >> 16));
        }
        reply(int16_t(1400 + i % 5), body);
        closeDialog();
    }
    panel_->lottoHistory()->layoutIfNeeded();
    panel_->myHistory()->layoutIfNeeded();
    buy("3", "900");
    EXPECT_EQ(bodies(1403), std::vector<ByteVector>{Bytes().int32(3).int32(900).data()});
}

// A desktop window has no on-screen keyboard (nor number pad): the sheet stays where it
// is, no Done bar covers it, and each click types into the field aimed at.
TEST_F(LotteryPanel, InADesktopWindowTheSheetStaysAndEachClickTypesIntoItsField) {
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    const ui::Rect drawn = screenFrame(*panel_->view());
    const ui::Point number = screenCentre(*panel_->txfNumber());
    const ui::Point stake = screenCentre(*panel_->txfMoney());
    clickAndType(number, "8");
    clickAndType(stake, "600");
    EXPECT_EQ(screenFrame(*panel_->view()), drawn);
    EXPECT_FALSE(panel_->isEdit());
    auto bar = findById(panel_->view(), "myToolBar");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(panel_->txfNumber()->text(), "8");
    EXPECT_EQ(panel_->txfMoney()->text(), "600");
}

} // namespace
} // namespace kavo::test
