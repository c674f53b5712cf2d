// The board-entry and creation sheets and the room list, each on its own, with the
// requests they send recorded.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/widgets/RefreshTableHeaderView.h"
#include "lobby/BoardPassword.h"
#include "lobby/CreateNewBoard.h"
#include "lobby/IntoBoard.h"
#include "lobby/PasswordIntoBoard.h"
#include "lobby/RoomView.h"
#include "lobby/UICustomSlider.h"
#include "platform/foundation/Text.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalMessageHandler.h"
#include "tests/lobby/LobbyTestSupport.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

struct Join {
    int16_t command;
    uint8_t room;
    uint8_t board;
    std::string password;
};

Join readJoin(const RecordedMessage& message) {
    Message body(message.commandId, message.body);
    Join join{message.commandId, 0, 0, {}};
    join.room = uint8_t(body.readByte());
    join.board = uint8_t(body.readByte());
    join.password = body.readUTF();
    return join;
}

// ---------------------------------------------------------------- go to a board

class GoToBoardSheet : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        sheet_ = std::make_shared<IntoBoard>();
        sheet_->view();
        sheet_->viewWillAppear(false);
        runPending();
    }
    void enter(const std::string& room, const std::string& board, const std::string& password = "") {
        sheet_->txtRoom()->setText(room);
        sheet_->txtBoard()->setText(board);
        sheet_->txtPass()->setText(password);
        sheet_->ok();
    }
    std::shared_ptr<IntoBoard> sheet_;
};

TEST_F(GoToBoardSheet, OpensEmptyWithTheRoomFieldFocused) {
    EXPECT_TRUE(sheet_->txtRoom()->text().empty());
    EXPECT_TRUE(sheet_->txtRoom()->isEditing());
    EXPECT_EQ(sheet_->txtRoom()->placeholder(), text("KAVO_WhatRoom"));
    EXPECT_DOUBLE_EQ(sheet_->actionSheetView()->center().y, 70) << "raised above the keyboard";
}

TEST_F(GoToBoardSheet, TheLastBoardNumberIsSentWithTheTypedPassword) {
    enter("3", "124", "secret");
    auto joins = recorder_.sent(8);
    ASSERT_EQ(joins.size(), 1u);
    const Join join = readJoin(joins[0]);
    EXPECT_EQ(join.room, 3);
    EXPECT_EQ(join.board, 124);
    EXPECT_EQ(join.password, "secret");
}

TEST_F(GoToBoardSheet, ARoomNumberUpTo255GoesOutAsOneUnsignedByte) {
    enter("255", "0");
    auto joins = recorder_.sent(8);
    ASSERT_EQ(joins.size(), 1u);
    EXPECT_EQ(readJoin(joins[0]).room, 255);
}

TEST_F(GoToBoardSheet, NumbersOutOfRangeAreRefusedNotCut) {
    for (const auto& [room, board] : std::vector<std::pair<std::string, std::string>>{
             {"1", "125"}, {"1", "-1"}, {"300", "5"}, {"256", "5"}, {"x", "5"}, {"1", "99999999999"}}) {
        enter(room, board);
        EXPECT_EQ(dialogText(), text("KAVO_gioiHanNhap")) << room << "/" << board;
        UIController::closeDialog();
    }
    EXPECT_TRUE(recorder_.sent().empty());
    EXPECT_EQ(sheet_->txtRoom()->text(), "1") << "the fields stay as typed";
}

TEST_F(GoToBoardSheet, AnEmptyRoomOrBoardAsksForBoth) {
    enter("", "5");
    EXPECT_EQ(dialogText(), text("KAVO_chuaNhapDu"));
    UIController::closeDialog();
    enter("5", "");
    EXPECT_EQ(dialogText(), text("KAVO_chuaNhapDu"));
    EXPECT_EQ(UIController::okValue(), -1);
    EXPECT_TRUE(recorder_.sent().empty());
}

TEST_F(GoToBoardSheet, AClearButtonEmptiesItsOwnField) {
    sheet_->txtBoard()->setText("12");
    sheet_->txtPass()->setText("pw");
    sheet_->clearText(2);
    EXPECT_EQ(sheet_->txtBoard()->text(), "");
    EXPECT_TRUE(sheet_->txtBoard()->isEditing());
    EXPECT_EQ(sheet_->txtPass()->text(), "pw");
    sheet_->clearText(7); // no such field
    EXPECT_EQ(sheet_->txtPass()->text(), "pw");
}

// ---------------------------------------------------------------- password sheets

TEST_F(LobbyScreenFixture, TheLockedBoardSheetJoinsTheChosenBoardWithThePassword) {
    auto board = std::make_shared<Board>();
    board->setRoomId(3);
    board->setBoardId(17);
    auto sheet = std::make_shared<PasswordIntoBoard>();
    sheet->setBoard(board);
    sheet->view();
    sheet->viewWillAppear(false);
    EXPECT_EQ(sheet->txtPassword()->placeholder(), text("KAVO_joinBoardWithPass"));
    sheet->txtPassword()->setText("1234");
    sheet->clickOK();
    auto joins = recorder_.sent(8);
    ASSERT_EQ(joins.size(), 1u);
    const Join join = readJoin(joins[0]);
    EXPECT_EQ(join.room, 3);
    EXPECT_EQ(join.board, 17);
    EXPECT_EQ(join.password, "1234");
}

TEST_F(LobbyScreenFixture, ALockedBoardThatIsGoneSendsNothing) {
    auto sheet = std::make_shared<PasswordIntoBoard>();
    {
        auto board = std::make_shared<Board>();
        sheet->setBoard(board);
    }
    sheet->view();
    sheet->viewWillAppear(false);
    sheet->clickOK();
    EXPECT_TRUE(recorder_.sent().empty());
}

TEST_F(LobbyScreenFixture, ThePasswordSheetRaisesItsPanelOnceHoweverOftenEditingBegins) {
    auto sheet = std::make_shared<PasswordIntoBoard>();
    sheet->view();
    sheet->viewWillAppear(false);
    const double raised = sheet->actionSheetView()->frame().y();
    sheet->textFieldBeginEditting();
    sheet->textFieldBeginEditting();
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), raised);
    EXPECT_GE(raised, 0);
}

TEST_F(LobbyScreenFixture, TheSecondPasswordSheetJoinsTheBoardItsCallerGave) {
    auto sheet = std::make_shared<BoardPassword>();
    sheet->setRoomAndBoard(2, 9);
    sheet->view();
    sheet->viewWillAppear(false);
    EXPECT_TRUE(sheet->txtPassword()->placeholder().empty());
    sheet->txtPassword()->setText("x");
    sheet->textFieldDoneEditting();
    auto joins = recorder_.sent(8);
    ASSERT_EQ(joins.size(), 1u);
    EXPECT_EQ(readJoin(joins[0]).room, 2);
    EXPECT_EQ(readJoin(joins[0]).board, 9);
}

// ---------------------------------------------------------------- create a board

class CreatePanel : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        panel_ = std::make_shared<CreateNewBoard>();
        panel_->view();
        panel_->viewWillAppear(false);
        panel_->setMinPlayerNumber(2);
        panel_->setMaxPlayerNumber(4);
        runPending();
    }
    struct Created {
        int32_t zero, stake;
        int8_t seats;
        std::string password;
    };
    Created created() {
        auto sent = recorder_.sent(2702);
        EXPECT_EQ(sent.size(), 1u);
        if (sent.empty()) return {};
        Message body(2702, sent[0].body);
        Created c{};
        c.zero = body.readInt();
        c.stake = body.readInt();
        c.seats = body.readByte();
        c.password = body.readUTF();
        return c;
    }
    std::shared_ptr<CreateNewBoard> panel_;
};

TEST_F(CreatePanel, TheStakeIsCappedAtTheDearestStepAFifthOfTheMoneyCovers) {
    // 50000 / 5 = 10000: the 10000 step.
    EXPECT_EQ(panel_->sldBetMoney()->getMaxMoneyValue(), 10000);
    EXPECT_EQ(panel_->lblMaxWin()->text(), "/ 10K zel");
    EXPECT_EQ(panel_->tfPlayerNumber()->text(), "4") << "the seat field shows the maximum given last";
}

TEST_F(CreatePanel, TheSeatFieldIsHeldToTheRange) {
    panel_->tfPlayerNumber()->setText("9");
    panel_->endEditingPlayerNumber();
    EXPECT_EQ(panel_->tfPlayerNumber()->text(), "4");
    panel_->tfPlayerNumber()->setText("1");
    panel_->endEditingPlayerNumber();
    EXPECT_EQ(panel_->tfPlayerNumber()->text(), "2");
    panel_->tfPlayerNumber()->setText("3");
    panel_->endEditingPlayerNumber();
    EXPECT_EQ(panel_->tfPlayerNumber()->text(), "3");
}

TEST_F(CreatePanel, TheStakeIsHeldBetweenNothingAndTheTopStake) {
    panel_->tfBetMoney()->setText("-5");
    panel_->endEditingBetMoney();
    EXPECT_EQ(panel_->tfBetMoney()->text(), "0");
    panel_->tfBetMoney()->setText("20000");
    panel_->endEditingBetMoney();
    EXPECT_EQ(panel_->tfBetMoney()->text(), "10000");
}

// A stake typed past the top is cut to the top, and the slider's thumb goes to the top
// step with it: the two never tell the player different amounts.
TEST_F(CreatePanel, AHugeTypedStakeMovesTheSliderToTheTopStep) {
    auto& slider = *panel_->sldBetMoney();
    slider.setValue(1);
    ASSERT_EQ(panel_->tfBetMoney()->text(), "100");
    const double lowX = slider.thumbView()->center().x;
    panel_->tfBetMoney()->setText("999999999");
    panel_->endEditingBetMoney();
    EXPECT_EQ(panel_->tfBetMoney()->text(), "10000");
    EXPECT_EQ(slider.value(), 5) << "the 10000 step";
    EXPECT_EQ(slider.value(), slider.maxStep());
    EXPECT_GT(slider.thumbView()->center().x, lowX);
    EXPECT_EQ(slider.thumbView()->center().x, slider.xForStep(5));

    // Below nothing: the field and the thumb go to the first step.
    panel_->tfBetMoney()->setText("-5");
    panel_->endEditingBetMoney();
    EXPECT_EQ(panel_->tfBetMoney()->text(), "0");
    EXPECT_EQ(slider.value(), 0);
}

TEST_F(CreatePanel, CreatingCorrectsFieldsWhoseEditingNeverEnded) {
    panel_->tfBetMoney()->setText("999999");
    panel_->tfPlayerNumber()->setText("9");
    panel_->tfPassword()->setText("pw");
    panel_->createBoard();
    const Created c = created();
    EXPECT_EQ(c.zero, 0);
    EXPECT_EQ(c.stake, 10000);
    EXPECT_EQ(c.seats, 4);
    EXPECT_EQ(c.password, "pw");
}

TEST_F(CreatePanel, ThePickerOffersTheSeatRange) {
    auto& picker = *panel_->pikerPlayerNumber();
    EXPECT_TRUE(picker.isHidden());
    panel_->showPickerPlayerNumber();
    EXPECT_FALSE(picker.isHidden());
    ASSERT_EQ(picker.numberOfRowsInComponent(0), 3);
    EXPECT_EQ(picker.titleForRow(0, 0), "2");
    EXPECT_EQ(picker.titleForRow(2, 0), "4");
    panel_->didSelectRow(picker, 1, 0);
    EXPECT_EQ(panel_->tfPlayerNumber()->text(), "3");
    EXPECT_TRUE(picker.isHidden());
}

TEST_F(CreatePanel, ThePasswordAndSeatFieldsLiftTheBoxOnceNoFurtherThanTheTopAndReturnLowersIt) {
    const double screenTop = panel_->view()->frame().y();
    const double boxTop = panel_->mainView()->frame().y();
    ASSERT_EQ(boxTop, 24);
    panel_->didBeginEditing(*panel_->tfPassword());
    panel_->didBeginEditing(*panel_->tfPlayerNumber());
    EXPECT_TRUE(panel_->isEdit());
    // Only the box moves, up to the screen's top edge (24 of the 90 points): the panel's
    // own view still covers the whole screen.
    EXPECT_DOUBLE_EQ(panel_->mainView()->frame().y(), 0);
    EXPECT_DOUBLE_EQ(panel_->view()->frame().y(), screenTop);
    panel_->shouldReturn(*panel_->tfPlayerNumber());
    EXPECT_FALSE(panel_->isEdit());
    EXPECT_DOUBLE_EQ(panel_->mainView()->frame().y(), boxTop);
    panel_->didBeginEditing(*panel_->tfBetMoney());
    EXPECT_FALSE(panel_->isEdit()) << "the stake field never lifts the panel";
}

// ---------------------------------------------------------------- room list

class RoomList : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        rooms_ = std::make_shared<RoomView>();
        rooms_->view();
        recorder_.clear();
    }
    void endDragAt(double y) {
        auto& table = *rooms_->tableView();
        table.setContentOffset({0, y});
        rooms_->didEndDragging(table, false);
    }
    std::shared_ptr<RoomView> rooms_;
};

TEST_F(RoomList, WithoutLevelsTheTableHasNoSection) {
    EXPECT_EQ(rooms_->tableView()->numberOfSections(), 0);
}

TEST_F(RoomList, RoomsAreGroupedByLevel) {
    rooms_->setKeys({0, 2});
    rooms_->setNames({{0, {std::make_shared<RoomInfo>(1, 0, 0, 0), std::make_shared<RoomInfo>(2, 60, 0, 0)}},
                      {2, {std::make_shared<RoomInfo>(9, 120, 0, 2)}}});
    rooms_->tableView()->reloadData();
    EXPECT_EQ(rooms_->tableView()->numberOfSections(), 2);
    EXPECT_EQ(rooms_->tableView()->numberOfRows(0), 2);
    EXPECT_EQ(rooms_->tableView()->numberOfRows(1), 1);
}

TEST_F(RoomList, APullThatEndsAt65StartsOneReloadAndAt64None) {
    endDragAt(-64);
    EXPECT_TRUE(recorder_.sent(6).empty());
    EXPECT_FALSE(rooms_->reloading());

    endDragAt(-65);
    EXPECT_EQ(recorder_.sent(6).size(), 1u);
    EXPECT_TRUE(rooms_->reloading());
    EXPECT_EQ(rooms_->refreshHeaderView()->state(), PullRefreshLoading);
    EXPECT_DOUBLE_EQ(rooms_->tableView()->contentInset().top, 60);

    endDragAt(-200);
    EXPECT_EQ(recorder_.sent(6).size(), 1u) << "no second reload while one runs";

    rooms_->dataSourceDidFinishLoadingNewData();
    EXPECT_FALSE(rooms_->reloading());
    EXPECT_DOUBLE_EQ(rooms_->tableView()->contentInset().top, 0);
    EXPECT_EQ(rooms_->refreshHeaderView()->state(), PullRefreshNormal);
}

// The refresh waits for the new rooms or a refusal (10), either of which gives its button
// back; another request's text (a friend's answer) ends no wait.
TEST_F(RoomList, TheRefreshButtonWaitsForTheNewRoomsOrARefusal) {
    const auto deliver = [this](Message reply) {
        GlobalMessageHandler::getInstance().onMessage(reply);
        advance(0);
    };
    for (const bool refused : {false, true}) {
        recorder_.clear();
        rooms_->doUpdateRoomList();
        EXPECT_EQ(recorder_.sent(6).size(), 1u);
        deliver(Bytes().byte(1).byte(1).utf("an đã đồng ý kết bạn").message(104));
        EXPECT_FALSE(rooms_->btnRefresh()->isEnabled()) << "another request's text ends no wait";
        EXPECT_TRUE(rooms_->reloading());
        if (refused)
            deliver(Bytes().utf("Máy chủ bận").message(10));
        else
            rooms_->dataSourceDidFinishLoadingNewData();
        EXPECT_TRUE(rooms_->btnRefresh()->isEnabled());
        EXPECT_FALSE(rooms_->reloading());
        EXPECT_TRUE(rooms_->view()->isUserInteractionEnabled()) << "its spinner is gone";
    }
}

TEST_F(RoomList, OnlyOneLandscapeIsAccepted) {
    EXPECT_TRUE(rooms_->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_FALSE(rooms_->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));
    EXPECT_FALSE(rooms_->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::Portrait));
}

TEST_F(RoomList, AGameWithoutARoomTitleKeepsTheTopBarTitle) {
    launch();
    const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle();
    ASSERT_TRUE(title);
    title->setText("BEFORE");
    UIController::setGameType(16);
    rooms_->viewWillAppear(false);
    EXPECT_EQ(title->text(), "BEFORE");
    UIController::setGameType(3);
    rooms_->viewWillAppear(false);
    EXPECT_EQ(title->text(), platform::toUpper(text("KAVO_roomTienLen")));
}

} // namespace
} // namespace kavo::test
