// The game grid on its own: its buttons, the game choice, more games, and the friend
// tabs with their local delete.
#include "app/UIController.h"
#include "app/widgets/MenuView.h"
#include "lobby/GameView.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "portal/GlobalLogicHandler.h"
#include "tests/lobby/LobbyTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr auto kTap = platform::ui::ControlEvent::TouchUpInside;

std::shared_ptr<Player> friendNamed(const std::string& name, int32_t id, bool online) {
    auto player = std::make_shared<Player>();
    player->setName(name);
    player->setIDDB(id);
    player->setIsReady(online ? 1 : 0);
    return player;
}

class GameGrid : public LobbyScreenFixture {
protected:
    void SetUp() override {
        LobbyScreenFixture::SetUp();
        grid_ = std::make_shared<GameView>();
        grid_->view();
        grid_->viewWillAppear(false);
        grid_->viewDidAppear(false);
        runPending();
        platform::UrlOpener::setBrowserLauncher([this](const std::string& url) {
            opened_.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        platform::UrlOpener::setBrowserLauncher(nullptr);
        LobbyScreenFixture::TearDown();
    }
    size_t friendRequests() { return recorder_.sent(104).size(); }
    bool gridBlocked() { return !grid_->scrollView()->isUserInteractionEnabled(); }
    // Taps a button of the alert on screen.
    static void tapAlertButton(int index) {
        platform::ui::AlertView::visibleAlerts().back()->buttonAtIndex(index)->sendActions(kTap);
    }

    std::shared_ptr<GameView> grid_;
    std::vector<std::string> opened_; // by the browser
};

TEST_F(GameGrid, FifteenButtonsInFiveRowsOfThreeWithEqualPitches) {
    const auto& buttons = grid_->gridButtons();
    ASSERT_EQ(buttons.size(), 15u);
    EXPECT_EQ(buttons[0]->accessibilityIdentifier(), "btnTLMN");
    EXPECT_EQ(buttons[14]->accessibilityIdentifier(), "btnGameKhac");
    const auto first = buttons[0]->frame();
    EXPECT_EQ(first, platform::ui::Rect(15, 5, 75, 65));
    EXPECT_DOUBLE_EQ(buttons[1]->frame().x() - first.x(), 110);
    EXPECT_DOUBLE_EQ(buttons[3]->frame().y() - first.y(), 110) << "rows step by the width, not the height";
    EXPECT_DOUBLE_EQ(buttons[14]->frame().y(), 5 + 4 * 110);
    EXPECT_DOUBLE_EQ(grid_->scrollView()->contentSize().height, 5 * (65 + 35 + 5));
}

TEST_F(GameGrid, ChoosingAGameSendsItsTypeAndBlocksTheGridForFiveSeconds) {
    recorder_.clear();
    grid_->gridButtons()[11]->sendActions(platform::ui::ControlEvent::TouchUpInside); // poker
    auto choices = recorder_.sent(61);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].body, std::vector<uint8_t>{4});
    EXPECT_EQ(grid_->selectedGameID(), 4);
    EXPECT_TRUE(gridBlocked());
    advance(4.9);
    EXPECT_TRUE(gridBlocked());
    advance(0.2);
    EXPECT_FALSE(gridBlocked());
}

TEST_F(GameGrid, ASecondChoiceGetsItsOwnFullFiveSeconds) {
    grid_->selectGame(3);
    advance(3);
    grid_->selectGame(12);
    advance(3);
    EXPECT_TRUE(gridBlocked()) << "the first choice's timer no longer hides the second's spinner";
    advance(2.1);
    EXPECT_FALSE(gridBlocked());
}

TEST_F(GameGrid, LeavingTheScreenRemovesTheSpinnerAtOnce) {
    grid_->selectGame(3);
    grid_->viewDidDisappear(false);
    EXPECT_FALSE(gridBlocked());
}

TEST_F(GameGrid, MoreGamesAsksForTheAddressAndOpensItOnOk) {
    recorder_.clear();
    grid_->doJoinGameKhac();
    auto asks = recorder_.sent(72);
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0].body, std::vector<uint8_t>{3});

    grid_->set_infoMoreGames("http://127.0.0.1/games");
    grid_->doShowMoreGames();
    EXPECT_FALSE(gridBlocked()) << "the answer ends the wait";
    EXPECT_EQ(openDialogCode(), UIController::kActionNone) << "the grid's own question sets no code";
    EXPECT_EQ(platform::ui::AlertView::visibleAlerts().back()->message(), text("KAVO_notice"));
    auto before = grid_->gridButtons().front();
    tapAlertButton(1);
    EXPECT_EQ(opened_, std::vector<std::string>{"http://127.0.0.1/games"});
    EXPECT_EQ(grid_->gridButtons().size(), 15u);
    EXPECT_NE(grid_->gridButtons().front(), before) << "the grid is built again";
    grid_->set_infoMoreGames("");
    grid_->doShowMoreGames();
    tapAlertButton(1);
    EXPECT_EQ(opened_.size(), 1u) << "without an address nothing more is opened";
}

// A dialog opened without an action runs none, whatever came before it: after the grid's
// more-games question was cancelled, each way of opening one gives a dialog with no code,
// which Escape closes and whose buttons open no address.
TEST_F(GameGrid, EveryDialogOpenedWithoutAnActionRunsNothingAfterMoreGames) {
    MatchResultInfo report;
    report.setName("an");
    const std::pair<const char*, std::function<void()>> openers[] = {
        {"notice", [] { UIController::showNotice("Chào"); }},
        {"posted notice", [] { UIController::postNotice("Chào"); }},
        {"the logic handler's notice", [] { GlobalLogicHandler::getInstance().showAlertViewWithMessage("Chào"); }},
        {"one button", [] { UIController::startOKDlg("Chào"); }},
        {"the report", [&] { UIController::startReportDlg(report); }},
        {"the table menu's notice", [] { MenuView::make({})->btnSocialNetwork_Clicked(); }},
        {"cancel only", [] { UIController::startCancelDlg("Chào"); }},
        {"a question", [] { UIController::startCancelOkDlg("Chào", "Không", "Có"); }},
    };
    const size_t opened = platform::UrlOpener::opened().size();
    for (const auto& [name, open] : openers) {
        SCOPED_TRACE(name);
        for (const bool byEscape : {true, false}) {
            grid_->set_infoMoreGames("http://127.0.0.1/games");
            grid_->doShowMoreGames();
            tapAlertButton(0); // Cancel
            open();
            runPending();
            const auto dialog = UIController::currentDialog();
            ASSERT_TRUE(dialog);
            EXPECT_EQ(openDialogCode(), UIController::kActionNone);
            recorder_.clear();
            if (byEscape)
                platform::ui::Application::shared().dispatchKey(platform::ui::Key::Escape);
            else
                dialog->buttonAtIndex(dialog->numberOfButtons() - 1)->sendActions(kTap);
            EXPECT_EQ(UIController::currentDialog(), nullptr);
            EXPECT_TRUE(recorder_.sent().empty());
        }
    }
    EXPECT_EQ(platform::UrlOpener::opened().size(), opened) << "no address opened";
}

TEST_F(GameGrid, TheFirstAppearanceAsksForFriendsAndTheShownTabAsksNothing) {
    EXPECT_EQ(friendRequests(), 1u);
    EXPECT_EQ(recorder_.sent(104)[0].body, std::vector<uint8_t>{5});
    EXPECT_EQ(grid_->viewingTabIndex(), GameView::kTabAll);
    grid_->doChangeTab(GameView::kTabAll);
    EXPECT_EQ(friendRequests(), 1u);
    // Coming back with the all tab shown asks nothing either.
    grid_->viewDidAppear(false);
    EXPECT_EQ(friendRequests(), 1u);
}

TEST_F(GameGrid, TheOnlineTabShowsReadyFriendsWithoutAsking) {
    grid_->set_arrayAllFriends({friendNamed("a", 1, true), friendNamed("b", 2, false), friendNamed("c", 3, true)});
    grid_->forceReloadData();
    EXPECT_EQ(grid_->mainTableView()->numberOfRows(0), 3);
    grid_->doChangeTab(GameView::kTabOnline);
    runPending();
    EXPECT_EQ(grid_->arrayOnlineFriends().size(), 2u);
    EXPECT_EQ(grid_->mainTableView()->numberOfRows(0), 2);
    EXPECT_EQ(friendRequests(), 1u);
    // Coming back with the online tab shown: the all tab and a new request.
    grid_->viewDidAppear(false);
    EXPECT_EQ(grid_->viewingTabIndex(), GameView::kTabAll);
    EXPECT_EQ(friendRequests(), 2u);
}

TEST_F(GameGrid, NoFriendOnlineLeavesTheOnlineTabEmpty) {
    grid_->set_arrayAllFriends({friendNamed("b", 2, false)});
    grid_->doChangeTab(GameView::kTabOnline);
    runPending();
    EXPECT_EQ(grid_->mainTableView()->numberOfRows(0), 0);
}

TEST_F(GameGrid, DeletingAFriendOnTheOnlineTabForgetsItInBothListsLocally) {
    grid_->set_arrayAllFriends({friendNamed("a", 1, true), friendNamed("b", 2, false), friendNamed("c", 3, true)});
    grid_->doChangeTab(GameView::kTabOnline);
    runPending();
    recorder_.clear();
    auto& table = *grid_->mainTableView();
    EXPECT_EQ(grid_->titleForDeleteConfirmationButton(table, {0, 1}), text("KAVO_delete"));
    grid_->commitEditingStyle(table, platform::ui::TableViewCellEditingStyle::Delete, {0, 1});
    ASSERT_EQ(grid_->arrayOnlineFriends().size(), 1u);
    EXPECT_EQ(grid_->arrayOnlineFriends()[0]->name(), "a");
    EXPECT_EQ(grid_->arrayAllFriends().size(), 2u);
    EXPECT_EQ(table.numberOfRows(0), 1);
    EXPECT_TRUE(recorder_.sent().empty()) << "the server is not told";
}

TEST_F(GameGrid, TheFriendListReplyReplacesTheListAndRemovesItsSpinner) {
    EXPECT_FALSE(grid_->mainTableView()->isUserInteractionEnabled()) << "waiting for the list";
    grid_->set_arrayAllFriends({friendNamed("a", 1, true)});
    grid_->forceReloadData();
    EXPECT_TRUE(grid_->mainTableView()->isUserInteractionEnabled());
    EXPECT_EQ(grid_->mainTableView()->numberOfRows(0), 1);
}

} // namespace
} // namespace kavo::test
