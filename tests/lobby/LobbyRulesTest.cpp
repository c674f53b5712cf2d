// The lobby's rules that need no screen: the money slider's steps, the board list's
// texts and tests, the create panel's cap text and the room gauge.
#include "lobby/BoardView.h"
#include "lobby/CreateNewBoard.h"
#include "lobby/LobbyGames.h"
#include "lobby/RoomView.h"
#include "lobby/UICustomSlider.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace kavo {
namespace {

using platform::ui::Rect;
using platform::ui::Size;
using platform::ui::TextField;

std::shared_ptr<UICustomSlider> makeSlider() {
    return UICustomSlider::initWithFrame(Rect(10, 24, 354, 28), nullptr, 17, Size{50, 24}, nullptr, 0, 9, 1);
}

TEST(MoneySlider, ThePriceTableRisesFromNoStake) {
    EXPECT_EQ(kBetPriceTable.front(), 0) << "every player has a step he can afford";
    EXPECT_TRUE(std::is_sorted(kBetPriceTable.begin(), kBetPriceTable.end()));
    EXPECT_EQ(std::adjacent_find(kBetPriceTable.begin(), kBetPriceTable.end()), kBetPriceTable.end());
}

TEST(MoneySlider, TheTopStepIsTheDearestStakeTheMoneyCovers) {
    EXPECT_EQ(UICustomSlider::highestStepForMoney(-500), 0);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(0), 0);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(99), 0);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(100), 1);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(999999), 8);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(1000000), 9);
    EXPECT_EQ(UICustomSlider::highestStepForMoney(std::numeric_limits<int64_t>::max()), 9);
}

TEST(MoneySlider, MovingToAStepWritesItsStakeIntoTheField) {
    auto slider = makeSlider();
    auto field = TextField::make();
    slider->setValueTextField(field);
    slider->setValue(4);
    EXPECT_EQ(slider->value(), 4);
    EXPECT_EQ(field->text(), "5000");
    slider->setValue(42);
    EXPECT_EQ(slider->value(), 9) << "clamped to the top step";
    EXPECT_EQ(field->text(), "1000000");
    slider->setValue(-3);
    EXPECT_EQ(field->text(), "") << "no stake: the field's hint shows it";
    EXPECT_EQ(field->placeholder(), "0");
}

TEST(MoneySlider, LessMoneyBringsTheThumbDownToTheNewTop) {
    auto slider = makeSlider();
    auto field = TextField::make();
    slider->setValueTextField(field);
    slider->setValue(9);
    slider->setMaxValueWithMoney(12000);
    EXPECT_EQ(slider->maxStep(), 5);
    EXPECT_EQ(slider->getMaxMoneyValue(), 10000);
    EXPECT_EQ(slider->value(), 5);
    EXPECT_EQ(field->text(), "10000");

    slider->setMaxValueWithMoney(0);
    EXPECT_EQ(slider->getMaxMoneyValue(), 0);
    EXPECT_EQ(field->text(), "");
}

TEST(MoneySlider, StepsSpreadEvenlyAlongTheTrackAndTheNearestOneIsPicked) {
    auto slider = makeSlider();
    slider->setMaxValueWithMoney(1000); // steps 0..3
    EXPECT_DOUBLE_EQ(slider->xForStep(0), 25);
    EXPECT_DOUBLE_EQ(slider->xForStep(3), 354 - 25);
    EXPECT_EQ(slider->stepForX(-100), 0);
    EXPECT_EQ(slider->stepForX(slider->xForStep(2) + 10), 2);
    EXPECT_EQ(slider->stepForX(1000), 3);
    slider->setValue(3);
    EXPECT_DOUBLE_EQ(slider->thumbView()->center().x, slider->xForStep(3));
}

TEST(MoneySlider, TheFieldIsNotKeptAliveBySlider) {
    auto slider = makeSlider();
    auto field = TextField::make();
    std::weak_ptr<TextField> weak = field;
    slider->setValueTextField(field);
    field.reset();
    EXPECT_TRUE(weak.expired());
    slider->setValue(2); // writes nowhere, without harm
    EXPECT_EQ(slider->value(), 2);
}

TEST(LobbyText, NumbersAreReadTheForgivingWay) {
    EXPECT_EQ(intValueOfText("  42abc"), 42);
    EXPECT_EQ(intValueOfText("-7"), -7);
    EXPECT_EQ(intValueOfText("+9"), 9);
    EXPECT_EQ(intValueOfText("abc"), 0);
    EXPECT_EQ(intValueOfText(""), 0);
    EXPECT_EQ(intValueOfText("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(intValueOfText("-99999999999"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(longLongValueOfText("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(longLongValueOfText("99999999999999999999"), std::numeric_limits<int64_t>::max());
}

TEST(BoardListRules, TheLimitColumnShowsThousandsOrMillions) {
    EXPECT_EQ(BoardView::limitText(1000000), "1M");
    EXPECT_EQ(BoardView::limitText(999999), "999K");
    EXPECT_EQ(BoardView::limitText(0), "0K");
    EXPECT_EQ(BoardView::limitText(500), "0K");
    EXPECT_EQ(BoardView::limitText(25000000), "25M");
}

TEST(BoardListRules, ABoardIsFullByTheSeatClassOfItsGame) {
    Board board;
    board.setNPlayer(2);
    EXPECT_TRUE(BoardView::isBoardFull(board, 0));
    EXPECT_FALSE(BoardView::isBoardFull(board, 1));
    board.setNPlayer(4);
    EXPECT_TRUE(BoardView::isBoardFull(board, 1));
    EXPECT_FALSE(BoardView::isBoardFull(board, 2));
    board.setNPlayer(5);
    EXPECT_TRUE(BoardView::isBoardFull(board, 2));
    board.setNPlayer(100);
    EXPECT_FALSE(BoardView::isBoardFull(board, 3)) << "poker boards are never full here";
}

TEST(BoardListRules, SeatsOfANewBoardFollowTheGame) {
    for (int game : {2, 3, 11, 12, 13, 16})
        EXPECT_EQ(BoardView::getMaxPlayerNumber(game), 4) << game;
    for (int game : {4, 17, 18})
        EXPECT_EQ(BoardView::getMaxPlayerNumber(game), 6) << game;
    for (int game : {1, 5, 8, 9, 20, 0, -3})
        EXPECT_EQ(BoardView::getMaxPlayerNumber(game), 2) << game;
}

TEST(BoardListRules, TheStripOrderIsTheGridOrder) {
    const int expected[] = {3, 12, 11, 2, 13, 5, 9, 20, 18, 16, 17, 4, 1, 8};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(BoardView::getGameIdWithButtonIndex(i), expected[i]);
    EXPECT_EQ(BoardView::getGameIdWithButtonIndex(14), 0);
    EXPECT_EQ(BoardView::getGameIdWithButtonIndex(-1), 0);
    EXPECT_EQ(lobbyGameOfType(7), nullptr);
}

TEST(CreatePanelRules, TheTopStakeShowsInThousandsBelowAMillion) {
    EXPECT_EQ(CreateNewBoard::maxWinText(500000), "/ 500K zel");
    EXPECT_EQ(CreateNewBoard::maxWinText(0), "/ 0K zel");
    EXPECT_EQ(CreateNewBoard::maxWinText(1000000), "/ 1M zel");
}

TEST(RoomGauge, SegmentsFillAsTheRoomFills) {
    auto fullSegments = [](int roomFree) {
        int count = 0;
        for (int k = 0; k < 5; ++k)
            count += RoomView::isSegmentFull(roomFree, k);
        return count;
    };
    EXPECT_EQ(fullSegments(0), 5);
    EXPECT_EQ(fullSegments(120), 0);
    EXPECT_EQ(fullSegments(60), 2) << "half full: above 0 and 0.2, not above 0.5";
    EXPECT_DOUBLE_EQ(RoomView::fillOfRoom(6), 0.95);
    EXPECT_FALSE(RoomView::isSegmentFull(6, 4)) << "0.95 is not above 0.95";
    EXPECT_FALSE(RoomView::isSegmentFull(0, 5));
}

} // namespace
} // namespace kavo
