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
#include "platform/ui/Application.h"
#include "portal/GlobalMessageHandler.h"
#include "tests/lobby/LobbyTestSupport.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/OpenDialog.h"

#include <functional>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

struct Join {
    int room;
    int board;
    std::string password;
    bool operator==(const Join&) const = default;
};

// The board joins (8) sent so far, read as the server reads them.
std::vector<Join> joinsSent(LobbyRecorder& recorder) {
    std::vector<Join> joins;
    for (const auto& message : recorder.sent(8)) {
        Message body(message.commandId, message.body);
        const int room = uint8_t(body.readByte());
        const int board = uint8_t(body.readByte());
        joins.push_back({room, board, body.readUTF()});
    }
    return joins;
}

// Shows a sheet as the screen that opens it does.
template <class Sheet> std::shared_ptr<Sheet> shown(const std::function<void(Sheet&)>& before = {}) {
    auto sheet = std::make_shared<Sheet>();
    if (before) before(*sheet);
    sheet->view();
    sheet->viewWillAppear(false);
    return sheet;
}

// ---------------------------------------------------------------- go to a board

class GoToBoardSheet : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        sheet_ = shown<IntoBoard>();
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
    EXPECT_EQ(joinsSent(recorder_), (std::vector<Join>{{3, 124, "secret"}}));
}

TEST_F(GoToBoardSheet, ARoomNumberUpTo255GoesOutAsOneUnsignedByte) {
    enter("255", "0");
    EXPECT_EQ(joinsSent(recorder_), (std::vector<Join>{{255, 0, ""}}));
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
    EXPECT_EQ(openDialogCode(), -1);
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
    auto sheet = shown<PasswordIntoBoard>([&](auto& s) { s.setBoard(board); });
    EXPECT_EQ(sheet->txtPassword()->placeholder(), text("KAVO_joinBoardWithPass"));
    sheet->txtPassword()->setText("1234");
    sheet->clickOK();
    EXPECT_EQ(joinsSent(recorder_), (std::vector<Join>{{3, 17, "1234"}}));
}

TEST_F(LobbyScreenFixture, ALockedBoardThatIsGoneSendsNothing) {
    auto sheet = shown<PasswordIntoBoard>([](auto& s) { s.setBoard(std::make_shared<Board>()); });
    sheet->clickOK();
    EXPECT_TRUE(recorder_.sent().empty());
}

TEST_F(LobbyScreenFixture, ThePasswordSheetRaisesItsPanelOnceHoweverOftenEditingBegins) {
    auto sheet = shown<PasswordIntoBoard>();
    const double raised = sheet->actionSheetView()->frame().y();
    sheet->textFieldBeginEditting();
    sheet->textFieldBeginEditting();
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), raised);
    EXPECT_GE(raised, 0);
}

TEST_F(LobbyScreenFixture, TheSecondPasswordSheetJoinsTheBoardItsCallerGave) {
    auto sheet = shown<BoardPassword>([](auto& s) { s.setRoomAndBoard(2, 9); });
    EXPECT_TRUE(sheet->txtPassword()->placeholder().empty());
    sheet->txtPassword()->setText("x");
    sheet->clickOK();
    EXPECT_EQ(joinsSent(recorder_), (std::vector<Join>{{2, 9, "x"}}));
}

// ---------------------------------------------------------------- create a board

class CreatePanel : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        panel_ = shown<CreateNewBoard>();
        panel_->setMinPlayerNumber(2);
        panel_->setMaxPlayerNumber(4);
        runPending();
    }
    // Types into a field and ends its editing: what the field shows then.
    std::string typed(const std::string& text, platform::ui::TextField& field, void (CreateNewBoard::*endEditing)()) {
        field.setText(text);
        (*panel_.*endEditing)();
        return field.text();
    }
    std::string seats(const std::string& text) {
        return typed(text, *panel_->tfPlayerNumber(), &CreateNewBoard::endEditingPlayerNumber);
    }
    std::string stake(const std::string& text) {
        return typed(text, *panel_->tfBetMoney(), &CreateNewBoard::endEditingBetMoney);
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
    EXPECT_EQ(seats("9"), "4");
    EXPECT_EQ(seats("1"), "2");
    EXPECT_EQ(seats("3"), "3");
}

TEST_F(CreatePanel, TheStakeIsHeldBetweenNothingAndTheTopStake) {
    EXPECT_EQ(stake("-5"), "") << "nothing: the hint 0 shows";
    EXPECT_EQ(stake("20000"), "10000");
}

// A stake typed past the top is cut to the top, and the slider's thumb goes to the top
// step with it: the two never tell the player different amounts.
TEST_F(CreatePanel, AHugeTypedStakeMovesTheSliderToTheTopStep) {
    auto& slider = *panel_->sldBetMoney();
    slider.setValue(1);
    ASSERT_EQ(panel_->tfBetMoney()->text(), "100");
    const double lowX = slider.thumbView()->center().x;
    EXPECT_EQ(stake("999999999"), "10000");
    EXPECT_EQ(slider.value(), 5) << "the 10000 step";
    EXPECT_EQ(slider.value(), slider.maxStep());
    EXPECT_GT(slider.thumbView()->center().x, lowX);
    EXPECT_EQ(slider.thumbView()->center().x, slider.xForStep(5));

    // Below nothing: the field and the thumb go to the first step.
    EXPECT_EQ(stake("-5"), "");
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

// The panel opens with a stake of nothing: the field shows its hint, so what the player
// types there is the stake ("300", never "0300").
TEST_F(CreatePanel, DigitsTypedIntoTheStakeAsItOpensAreTheStake) {
    EXPECT_EQ(panel_->tfBetMoney()->text(), "");
    EXPECT_EQ(panel_->tfBetMoney()->placeholder(), "0");
    ASSERT_TRUE(panel_->tfBetMoney()->becomeFirstResponder());
    platform::ui::Application::shared().dispatchText("300");
    EXPECT_EQ(panel_->tfBetMoney()->text(), "300");
    panel_->createBoard();
    EXPECT_EQ(created().stake, 300);
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
