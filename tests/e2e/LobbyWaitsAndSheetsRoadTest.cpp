// Sheets that keep taps to themselves, back and Escape that go where the player expects,
// spinners that never turn forever, and a desktop window without an on-screen keyboard:
// the lobby walked on the manual clock against the test portal.
#include "account/TransferMoneyView.h"
#include "app/CustomUIActionSheetViewController.h"
#include "app/EscapeWalk.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/BoardPassword.h"
#include "lobby/BoardView.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "lobby/LoginView_SubForgotPwdView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "net/MobileClient.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/TextField.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "social/PlayerDetailView.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/MauBinhResultView.h"
#include "table/sheets/PlayerInfo.h"
#include "table/sheets/PokerBuyStackView.h"
#include "table/sheets/menuMoiBan.h"
#include "table/sheets/menuSetup.h"
#include "tests/e2e/AccountRoad.h"
#include "tests/e2e/EscapeCloses.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/SourceDir.h"
#include "tests/support/client/ClientTestSupport.h"

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

using namespace kavo;
using namespace kavo::test;

namespace {

namespace ui = platform::ui;

template <class T> std::shared_ptr<T> topAs() {
    return std::dynamic_pointer_cast<T>(KavoOnlineAppDelegate::getInstance().topViewController());
}

std::string shownAlertMessage() {
    auto alerts = ui::AlertView::visibleAlerts();
    return alerts.empty() ? std::string() : alerts.back()->message();
}

// The shown view with that identifier (nullptr when none).
ui::View* shownById(const std::string& id) {
    auto selector = platform::automation::Selector::parse("id=" + id);
    return selector ? platform::automation::ViewQuery::find(*selector) : nullptr;
}

bool hasSpinner(const ui::View* view) {
    if (!view) return false;
    for (const auto& subview : view->subviews())
        if (std::dynamic_pointer_cast<ui::ActivityIndicatorView>(subview)) return true;
    return false;
}

class LobbyWaits : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        // Game choices are answered until the server stalls.
        portal().onCommand(61, [this](Message& request, TestPortal::Reply& reply) {
            const int8_t type = request.readByte();
            if (stalled_) return;
            reply.send(61, Bytes().byte(type));
        });
        answerBoardList(portal(), 100000,
                        {{1, 1, false, 1000, 100000, false, 1, 4}, {1, 2, false, 2000, 100000, false, 1, 4}});
    }

    // Launches and signs in up to the server choice.
    void chooseServer() {
        launch();
        ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                           "type id=txfPassword bimat\ntap id=btnSignIn\nwait text=Kavo Test\n"));
    }
    void signIn() {
        chooseServer();
        ASSERT_TRUE(drive("tap text=Kavo Test\nscreen GameView\nadvance 0.5\n").ok) << log();
    }
    // The answer comes on the reader thread in real time, and a screen it opens slides in
    // on the manual clock: both move, the clock by `step` a turn of the main loop, until
    // `done`, for at most kStateWait s of real time.
    [[nodiscard]] bool waitUntil(const std::function<bool()>& done, double step = 0.01) {
        return platform::RunLoop::main().runUntil(
            [&] {
                if (done()) return true;
                advance(step);
                return done();
            },
            kStateWait);
    }
    void openBoardList() {
        ASSERT_TRUE(drives("tap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\nwait text=1.000 zel\n"));
    }
    void signOut() {
        MobileClient::getInstance().manualDisconnect();
        ASSERT_TRUE(portal().waitForClientGone(kStateWait));
    }
    // A friend, lan, in every friend list the client asks for.
    void answerFriendLan() {
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() == 5)
                reply.send(Bytes().byte(5).int32(7001).utf("lan").int64(500).int16(1).byte(0).utf("").message(104));
        });
    }

    std::atomic<bool> stalled_{false};
};

TEST_F(LobbyWaits, TheRaisedCreatePanelKeepsEveryTapAndItsTitleStaysOnScreen) {
    signIn();
    openBoardList();
    ASSERT_TRUE(drives("tap id=btnCreateBoard\nadvance 0.5\ntap id=tfPassword\nadvance 0.5\n"));

    // The title and the close button are still on the screen.
    for (const char* id : {"lblCreateNewBoard", "doCloseThisView"})
        EXPECT_TRUE(drive(std::string("expect id=") + id + "\n").ok) << id;
    const ui::View* title = shownById("lblCreateNewBoard");
    ASSERT_TRUE(title);
    const ui::Rect onScreen = title->convertRect(title->bounds(), nullptr);
    EXPECT_GE(onScreen.y(), 0);

    // A finger on the strip at the bottom, where the board list lay before the panel rose.
    portal().clearMessages();
    auto& app = ui::Application::shared();
    app.dispatchTouch(ui::TouchPhase::Began, {240, 305});
    app.dispatchTouch(ui::TouchPhase::Ended, {240, 305});
    advance(1);
    EXPECT_TRUE(portal().messages(8).empty());
    EXPECT_TRUE(portal().messages(1900).empty());
}

// Every picker alike: it opens on its field's value; the wheel and the arrow keys only
// move the highlight (nothing chosen, nothing sent); Escape closes it with the field as it
// was; Return, a click on a row (the highlighted one too) or the panel's Done chooses,
// closes it and sends once where a choice is sent (the profile's whole record, 1002).
TEST_F(LobbyWaits, EveryPickerOpensOnItsFieldsValueAndOnlyAClickOrReturnChooses) {
    answerOwnRecord(portal(), {}, {2, "Hồ Chí Minh"});
    portal().onCommand(78, [](Message& request, TestPortal::Reply& reply) {
        if (request.readByte() == 3)
            reply.send(Bytes().byte(3).byte(1).utf("Hà Nội").byte(2).utf("Hồ Chí Minh").byte(3).utf("Huế").message(78));
    });
    answerFriendLan();
    struct Case {
        std::string way;    // to the field from the grid ("board: " from the board list)
        const char* opener; // the field's button that opens the picker
        const char* picker;
        const char* field; // what shows the field's value
        int step;          // the way the highlight can move from the field's value
        bool sends;
        bool done = true; // the picker lies in a panel with a Done button
    };
    const std::string profile = "tap id=doShowProfileView\nadvance 1\nwait text=17/05/1990\n";
    const std::vector<Case> cases = {
        {profile, "btnRow_Clicked3", "pickerDate", "vNamSinh", 1, true},
        {profile, "btnRow_Clicked2", "pickerCity", "vGioiTinh", 1, true},
        {profile + "drag text=Ngày sinh 0 -150\n", "btnRow_Clicked7", "pickerCity", "vTinhTP", 1, true},
        {"board: tap id=btnCreateBoard\n", "showPickerPlayerNumber", "pikerPlayerNumber", "tfPlayerNumber", -1, false,
         false},
        {"tap id=btnOnline\ntap id=btnAll\nwait text=lan\ntap text=lan\nadvance 1\ntap id=showReportView\n",
         "showPickerCategory", "pickerCategory", "showPickerCategory", 1, false}};
    // The highlight as its field shows it: a date reads "dd/MM/yyyy".
    const auto highlighted = [](ui::PickerView& picker) {
        std::string shown;
        for (int c = 0; c < picker.numberOfComponents(); ++c) {
            const std::string title = picker.titleForRow(picker.selectedRowInComponent(c), c);
            shown += (c ? "/" : "") + (picker.numberOfComponents() == 3 && title.size() < 2 ? "0" + title : title);
        }
        return shown;
    };
    auto& app = ui::Application::shared();
    const auto press = [&](ui::Key key) {
        app.dispatchKey(key);
        advance(0.5);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picker + std::string(" for ") + c.field);
        signIn();
        ASSERT_TRUE(portal().sendToClient(Bytes().int32(0).utf("Gian lận").utf("Quảng cáo").message(2703)));
        if (c.way.starts_with("board: ")) openBoardList();
        ASSERT_TRUE(drive(c.way.substr(c.way.starts_with("board: ") ? 7 : 0) + "advance 0.5\n").ok) << log();
        const auto show = [&]() -> ui::PickerView* {
            EXPECT_TRUE(drive(std::string("tap id=") + c.opener + "\nadvance 0.5\n").ok);
            return dynamic_cast<ui::PickerView*>(shownById(c.picker));
        };
        ui::PickerView* picker = show();
        const ui::View* field = shownById(c.field);
        ASSERT_TRUE(picker && field);
        const std::string before = field->text();
        // No category chosen yet: the button names the form, the picker opens on the first.
        const std::string opensOn = c.field == std::string("showPickerCategory") ? "Gian lận" : before;
        EXPECT_EQ(highlighted(*picker), opensOn) << "opens on the field's value";
        const ui::Rect column = picker->convertRect(picker->rectForComponent(0), nullptr);
        const ui::Point middle{column.midX(), column.midY()};
        const ui::Key arrow = c.step > 0 ? ui::Key::Down : ui::Key::Up;
        app.dispatchScroll(middle, {0, 40.0 * c.step});
        press(arrow);
        EXPECT_TRUE(shownById(c.picker)) << "the wheel and the arrows leave it open";
        EXPECT_NE(highlighted(*picker), before);
        EXPECT_EQ(field->text(), before) << "nothing chosen yet";
        press(ui::Key::Escape);
        EXPECT_FALSE(shownById(c.picker));
        EXPECT_EQ(field->text(), before) << "Escape keeps the field's value";

        ASSERT_EQ(show(), picker);
        EXPECT_EQ(highlighted(*picker), opensOn);
        app.dispatchKey(arrow);
        const std::string chosen = highlighted(*picker);
        press(ui::Key::Return);
        EXPECT_FALSE(shownById(c.picker)) << "Return chooses";
        EXPECT_EQ(field->text(), chosen);

        ASSERT_EQ(show(), picker);
        EXPECT_EQ(highlighted(*picker), chosen) << "opens on the chosen value";
        const ui::Point row{middle.x, middle.y - c.step * picker->rowHeight()};
        app.dispatchTouch(ui::TouchPhase::Began, row);
        app.dispatchTouch(ui::TouchPhase::Ended, row);
        advance(0.5);
        EXPECT_FALSE(shownById(c.picker)) << "a click chooses";
        EXPECT_EQ(field->text(), opensOn);
        if (c.sends) {
            ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return portal().messages(1002).size() >= 2; }, 30));
            advance(0.5);
            // Every request sent so far has reached the portal: a record too many would be among them.
            ASSERT_TRUE(portalCaughtUp());
            EXPECT_EQ(portal().messages(1002).size(), 2u) << "one record a choice, none for the wheel";
        }

        if (c.done) {
            ASSERT_EQ(show(), picker);
            app.dispatchKey(arrow);
            const std::string highlightedThen = highlighted(*picker);
            ASSERT_NE(highlightedThen, field->text());
            EXPECT_TRUE(drive("tap text=" + ui::SystemWords::text(ui::SystemWord::Done) + "\nadvance 0.5\n").ok);
            EXPECT_FALSE(shownById(c.picker)) << "Done closes it";
            EXPECT_EQ(field->text(), highlightedThen) << "Done chooses the highlighted row";
            if (c.sends) {
                ASSERT_TRUE(
                    platform::RunLoop::main().runUntil([&] { return portal().messages(1002).size() >= 3; }, 30));
                advance(0.5);
                ASSERT_TRUE(portalCaughtUp());
                EXPECT_EQ(portal().messages(1002).size(), 3u) << "one record for Done's choice";
            }
        }
        signOut();
        portal().clearMessages();
    }
}

TEST_F(LobbyWaits, BackFromTheMailboxOpenedOnTheBoardListReturnsToTheBoardList) {
    signIn();
    openBoardList();
    ASSERT_TRUE(drives("tap id=btnChat\nadvance 0.5\ntap id=btnBack\nadvance 1\n"));
    EXPECT_TRUE(topAs<BoardView>());
    const auto& mailbox = MessageView::getInstance();
    EXPECT_FALSE(mailbox->isViewLoaded() && mailbox->view()->superview()) << "the mailbox panel went";
    // Back once more leaves the board list for the game grid.
    ASSERT_TRUE(drive("tap id=btnBack\nscreen GameView 30\n").ok) << log();
}

// A sheet the settings open as they go (feedback, the password change) is up when the
// settings' close puts back the board list's back button: the button stays hidden until
// the last sheet goes, and a click where it would be closes nothing and leaves nothing.
TEST_F(LobbyWaits, ASheetOpenedFromTheSettingsKeepsTheBackButtonHiddenUntilItGoes) {
    for (const char* row : {"KAVO_Comment", "KAVO_ChangePassword"}) {
        SCOPED_TRACE(row);
        signIn();
        openBoardList();
        ASSERT_TRUE(drive("tap id=clickSetting\nadvance 1\ntap text=" + text(row) + "\nadvance 1\n").ok) << log();
        const auto& back = KavoOnlineAppDelegate::getInstance().btnBack();
        EXPECT_TRUE(back->isHidden()) << "hidden while the new sheet is up";
        const ui::Point corner = back->center();
        auto& app = ui::Application::shared();
        app.dispatchTouch(ui::TouchPhase::Began, corner);
        app.dispatchTouch(ui::TouchPhase::Ended, corner);
        advance(1);
        EXPECT_TRUE(topAs<BoardView>());
        app.dispatchKey(ui::Key::Escape);
        advance(1);
        EXPECT_FALSE(back->isHidden()) << "the last sheet gone, the board list shows it";
        EXPECT_TRUE(topAs<BoardView>());
        signOut();
    }
}

// Escape is the desktop's back, but the game grid has no back button: there Escape only
// closes what is open over it and never signs the player out. Every sheet, panel and
// screen the grid opens puts back the grid as it found it, closed by its own button or by
// Escape: no back button, and a click where it would be signs nobody out. The swipe
// still leaves.
TEST_F(LobbyWaits, WhatTheGridOpensClosesBackToAGridWithoutAWayOutAndEscapeNeverSignsOut) {
    const std::pair<const char*, const char*> opened[] = {
        {"showLottoSubView", "slideOut"}, {"clickSetting", "btnClose_Clicked"}, {"doShowProfileView", "btnBack"},
        {"btnChat", "doCloseThisView"},   {"doShowLeaderboard", "btnBack"},     {"btnNapZel", "doCloseThisView"}};
    for (const auto& [open, close] : opened)
        for (const bool byEscape : {false, true}) {
            SCOPED_TRACE(std::string(open) + (byEscape ? " closed by Escape" : " closed by its button"));
            signIn();
            ASSERT_TRUE(drive(std::string("tap id=") + open + "\nadvance 1\n").ok) << log();
            auto& app = ui::Application::shared();
            if (byEscape)
                app.dispatchKey(ui::Key::Escape);
            else if (close == std::string("btnBack")) // the top bar's, not a screen's own of that name
                KavoOnlineAppDelegate::getInstance().btnBack()->sendActions(ui::ControlEvent::TouchUpInside);
            else
                ASSERT_TRUE(drive(std::string("tap id=") + close + "\n").ok) << log();
            advance(1);
            ASSERT_TRUE(topAs<GameView>()) << "back on the game grid";
            EXPECT_FALSE(shownById("btnBack")) << "the grid shows no back button";
            app.dispatchTouch(ui::TouchPhase::Began, {16, 18});
            app.dispatchTouch(ui::TouchPhase::Ended, {16, 18});
            for (int press = 0; press < 3; ++press) {
                app.dispatchKey(ui::Key::Escape);
                advance(1);
            }
            const auto& mailbox = MessageView::getInstance();
            EXPECT_FALSE(mailbox->isViewLoaded() && mailbox->view()->superview()) << "the mailbox panel closed";
            EXPECT_TRUE(topAs<GameView>()) << "still on the game grid";
            EXPECT_TRUE(MobileClient::getInstance().isConnected()) << "still signed in";
            EXPECT_EQ(shownAlertMessage(), "");

            KavoOnlineAppDelegate::getInstance().handleSwipeFrom(ui::SwipeDirection::Left);
            EXPECT_TRUE(drive("screen LoginView 30\n").ok) << "the swipe back leaves the grid";
            EXPECT_FALSE(MobileClient::getInstance().isConnected());
        }
}

// Escape closes the topmost thing the player sees first, whatever kind of view it is: a
// picker before the screen or panel it lies over, a page or form before the panel that
// opened it over itself, then the panel; a page that replaces a list inside a screen goes
// back as its own back icon does. What belongs to a panel goes with it: the profile shows
// no picker when it opens again. A second Escape while a sheet still slides out is for
// what lies under it. The server choice is a step of the sign-in: Escape leaves it. At a
// table reached from the grid, what the table opens over itself (a seat's menu, a peek,
// the captured pieces, its sheets) closes the same way and the player stays at the table
// with what showed before. Every view the code declares to close on Escape is walked
// here: the walk fails for one that no case closes, so a new one cannot be missed.
TEST_F(LobbyWaits, EscapeClosesEveryViewLaidOverAScreenBeforeWhatLiesUnderIt) {
    // A friend to open a profile of, a friend request for the invitation page, a card
    // channel for the top-up forms, an item for the shop's detail.
    answerFriendLan();
    answerOwnRecord(portal());
    portal().onCommand(44, [](Message&, TestPortal::Reply& reply) {
        reply.send(Bytes().byte(2).byte(1).utf("Thẻ gate").utf("").utf("").message(44)); // a card channel
    });
    answerShopItems();
    // A locked board beside the open ones.
    answerBoardList(portal(), 100000,
                    {{1, 1, false, 1000, 100000, false, 1, 4},
                     {1, 2, false, 2000, 100000, false, 1, 4},
                     {1, 3, true, 500, 100000, false, 1, 4}});
    const auto closedBefore = EscapeWalk::closedKinds();
    const auto keptBefore = EscapeWalk::keptKinds();
    struct Case {
        std::string script;               // from the grid; "board: " from the board list, "login: " signed out
        std::vector<const char*> closing; // what each Escape takes away, in turn
        const char* endsOn = nullptr;     // the screen left on top, when not the one the script began on
        bool atOnce = false;              // each Escape while the sheet before still slides out
    };
    const char* profile = "tap id=doShowProfileView\nadvance 1\nwait text=17/05/1990\n";
    const char* report = "tap id=btnOnline\ntap id=btnAll\nwait text=lan\ntap text=lan\nadvance 1\n"
                         "tap id=showReportView\nadvance 0.5\ntap id=showPickerCategory\n";
    const std::vector<Case> cases = {
        {"tap id=btnRow_Clicked3\n", {"pickerDate", "lblBanThan"}},
        {"tap id=btnRow_Clicked2\n", {"pickerCity", "lblBanThan"}},
        {"drag text=Ngày sinh 0 -150\nadvance 0.5\ntap id=btnRow_Clicked7\n", {"pickerCity", "lblBanThan"}},
        {"board: tap id=btnCreateBoard\nadvance 0.5\ntap id=showPickerPlayerNumber\n",
         {"pikerPlayerNumber", "lblCreateNewBoard"}},
        {report, {"pickerCategory", "viewReport_btnSend", "ProfileSubView"}},
        {"tap id=btnChat\nadvance 0.5\ntap id=btnGanDay\nadvance 0.5\ntap id=showFriendInviteView\n",
         {"lblTitleLoiMoiKetBan", "tblView"}},
        {"tap id=btnChat\nadvance 0.5\ntap id=btnBanBe\nwait text=lan#2\ntap text=lan#2\nadvance 0.5\ntap "
         "id=btnEmoticon\n",
         {"emoView", "tblView"}},
        {"tap id=btnNapZel\nwait text=Thẻ gate\ntap text=Thẻ gate\n", {"txfSeriesNumber", "ShopView"}},
        {"tap id=showLottoSubView\nadvance 0.5\ntap id=doShowLotto\nscreen LottoView\nadvance 0.5\n"
         "tap id=buyLottoNumber7\n",
         {"betZelView", "buyLottoNumber7"}},
        {"tap id=doShowLeaderboard\nscreen LeaderboardView\nadvance 0.5\ntap id=btnTopCaoThu\nadvance 0.1\n"
         "tap text=Bài Cào\n",
         {"imgViewIconBack", "lblTitleBangXepHang"}},
        {"login: tap id=btnSignIn_Clicked\n", {"logSubLoginView"}},
        {"login: tap id=btnRegister_Clicked\n", {"logSubRegisterView"}},
        {"login: tap id=lblForgetPassword\n", {"logSubForgotPwdView"}},
        {"board: tap id=btnGotoBoard\nwait id=txtRoom\n", {"txtRoom", "btnCreateBoard"}, "GameView"},
        // Twice at once: the settings slide out, the board list goes back to the grid.
        {"board: tap id=clickSetting\n", {"btnClose_Clicked", "btnCreateBoard"}, "GameView", true},
        // The shop's item detail, then the shop.
        {"tap id=btnNapZel\nadvance 0.5\ntap id=btnVatPham\nwait id=tile10000\nadvance 0.5\ntap id=tile10000\n"
         "wait id=doCheckOut 30\n",
         {"doCheckOut", "ShopView"}},
        // The mailbox's add-friend sheet, then the mailbox.
        {"tap id=btnChat\nadvance 0.5\ntap id=btnAddFriend\nadvance 0.5\n", {"btnAccept", "tblView"}},
        // The profile's top-up panel and its card form.
        {std::string(profile) + "tap id=doTopupZel\nwait text=Thẻ gate\ntap text=Thẻ gate\n",
         {"txfSeriesNumber", "TopupZelView", "lblBanThan"}},
        // The lottery panel over the grid.
        {"tap id=showLottoSubView\nadvance 0.5\n", {"doShowLotto"}},
        // The settings' feedback form and password change, each opened as the settings slide out.
        {"tap id=clickSetting\nadvance 0.5\ntap id=settingRow1\nadvance 0.5\n", {"txtContent"}},
        {"tap id=clickSetting\nadvance 0.5\ntap id=settingRow12\nadvance 0.5\n", {"txtOldPass"}},
        // A locked board's password.
        {"board: tap text=500 zel\nadvance 0.3\n", {"txtPassword"}}};
    auto& app = ui::Application::shared();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::string script = c.script;
        const bool signedOut = script.starts_with("login: ");
        if (signedOut) {
            launch();
            ASSERT_TRUE(drive("screen LoginView\nadvance 0.1\n").ok) << log();
            script.erase(0, 7);
        } else {
            signIn();
            ASSERT_TRUE(portal().sendToClient(Bytes().byte(4).int32(301).utf("dung").message(104)));
        }
        if (script.starts_with("board: ")) {
            openBoardList();
            script.erase(0, 7);
        } else if (script.find("btnRow") != std::string::npos) {
            script = profile + script;
        }
        const auto screen = KavoOnlineAppDelegate::getInstance().topViewController();
        const auto opened = drive(script + "advance 0.5\n");
        ASSERT_TRUE(opened.ok) << opened.message;
        for (size_t press = 0; press < c.closing.size(); ++press) {
            for (size_t shown = press; shown < c.closing.size() && (press == 0 || !c.atOnce); ++shown)
                EXPECT_TRUE(shownById(c.closing[shown])) << c.closing[shown] << " is up before Escape " << press;
            app.dispatchKey(ui::Key::Escape);
            if (c.atOnce) continue;
            advance(1);
            EXPECT_FALSE(shownById(c.closing[press])) << c.closing[press] << " closed";
        }
        advance(1);
        for (const char* closed : c.closing)
            EXPECT_FALSE(shownById(closed)) << closed << " closed";
        EXPECT_TRUE(c.endsOn ? drive(std::string("screen ") + c.endsOn + " 1\n").ok
                             : KavoOnlineAppDelegate::getInstance().topViewController() == screen);
        if (signedOut) continue;
        EXPECT_TRUE(MobileClient::getInstance().isConnected()) << "still signed in";
        if (script.starts_with(profile) && script.find("btnRow") != std::string::npos) {
            EXPECT_TRUE(drive(script + "tap id=btnBack\nadvance 1\n" + profile + "expect-not id=" + c.closing[0]).ok)
                << "the profile left by its back button opens again without the picker";
        }
        signOut();
    }

    // The tables, each joined from the board list; a deal, when given, comes first and
    // its script waits for it to end.
    struct Opening {
        std::string script;               // at the table, from nothing open
        std::vector<const char*> closing; // what each Escape takes away, in turn
        std::optional<Message> deal = std::nullopt;
        std::string dealt = "";
    };
    struct Table {
        std::string way; // from the grid to the table's board list
        const char* screen;
        std::vector<std::pair<int32_t, std::string>> places; // of the join, me first
        std::vector<Opening> openings;
        // Makes the table where no road joins it.
        void (*made)(int8_t, int8_t, int32_t, int32_t, const PlayerList&) = nullptr;
    };
    constexpr int32_t kMe = ClientWorld::kPlayerId;
    const std::vector<std::pair<int32_t, std::string>> two = {{kMe, "Khach"}, {99, "binh"}};
    const Opening chat = {"tap id=btnChat\n", {"txtChat"}};
    const std::vector<Table> tables = {
        {"tap id=btnTLMN\n",
         "TienLenView",
         two,
         {{"tap id=btnSeat2\n", {"viewPlayerMenu"}},
          chat,
          {"tap id=btnCuoc\n", {"txtMoney"}},
          {"tap id=btnSeat2\nadvance 1\ntap id=btnPlayerPresent2\n", {"btnTangTatCa"}},
          {"tap id=btnSeat1\n", {"btnInvite"}}}},
        {"tap id=btnBaiCao\n",
         "BaiCaoView",
         two,
         {{"tap id=btnFire\nadvance 0.4\n",
           {"viewNanBai"},
           Bytes().byte(1).byte(1).byte(20).raw({5, 17, 51}).message(20),
           "wait id=btnFire 30\nadvance 2\n"}}},
        {"drag id=scrollView 0 -300\nadvance 1\ntap id=btnCaoRua\n",
         "CaoRuaView",
         {{kMe, "Khach"}, {99, "binh"}, {98, "chu"}},
         {{"tap id=btnSeat1\n", {"viewPlayerMenu"}},
          // The table's setup, the number of players and the password it opens.
          {"tap id=clickConfig\n", {"btnSoNguoi"}},
          {"tap id=clickConfig\nadvance 1\ntap id=btnSoNguoi\n", {"btn4Nguoi"}},
          {"tap id=clickConfig\nadvance 1\ntap id=btnPass\n", {"txtPassword"}},
          {"tap id=btnNanBai\nadvance 0.4\n",
           {"viewNanBai"},
           Bytes().byte(1).byte(1).byte(10).int32(1000).raw({4, 17, 30}).message(20),
           "wait id=btnNanBai 30\nadvance 2\n"}}},
        {"tap id=btnCoTuong\n", "CoTuongView", two, {{"tap id=btnSeat2\n", {"viewPlayerMenu"}}, chat}},
        // A seated table, which no road of the client joins: made by the test as a join
        // would make it. Its speeds, its password, a player's menu.
        {"",
         "CaroView",
         two,
         {{"tap id=btnSpeed\n", {"btnFaster"}},
          {"tap id=btnPass\n", {"txtPassword"}},
          {"tap id=btnSeat1\n", {"btnViewInfo"}}},
         &GameController::showCaroScreenWithRoom},
        // The captured pieces, then the chat over them.
        {"tap id=btnCoUp\n",
         "CoUpView",
         two,
         {{"tap id=clickViewPlayer\n", {"viewCoAn"}},
          {"tap id=clickViewPlayer\nadvance 1\ntap id=btnChat\n", {"txtChat", "viewCoAn"}}}}};
    // What shows over the table, in no particular order (opening raises views).
    const auto shownOver = [](ui::ViewController& table) {
        std::set<const ui::View*> views;
        for (const auto& subview : table.view()->subviews())
            if (!subview->isHidden() && subview->alpha() > 0) views.insert(subview.get());
        return views;
    };
    for (const Table& t : tables) {
        SCOPED_TRACE(t.screen);
        signIn();
        if (t.made) {
            PlayerList players;
            for (const auto& [id, name] : t.places) {
                auto player = std::make_shared<TienLenPlayer>();
                player->setIDDB(id);
                player->setName(name);
                players.push_back(player);
            }
            t.made(1, 1, kMe, 1000, players);
        } else {
            ASSERT_TRUE(drives(t.way + "screen BoardView 30\nadvance 0.5\nwait text=1.000 zel\ntap text=1.000 zel\n"));
            Bytes joined = Bytes().byte(1).byte(1).int32(kMe).int32(1000);
            for (const auto& [id, name] : t.places)
                seatRow(joined, id, name, id != kMe);
            ASSERT_TRUE(portal().sendToClient(joined.message(8)));
        }
        ASSERT_TRUE(drives(std::string("screen ") + t.screen + " 30\nadvance 0.5\n"));
        const auto table = KavoOnlineAppDelegate::getInstance().topViewController();
        for (const Opening& o : t.openings) {
            SCOPED_TRACE(o.script);
            if (o.deal) {
                ASSERT_TRUE(portal().sendToClient(*o.deal));
                ASSERT_TRUE(drives(o.dealt));
            }
            const auto bare = shownOver(*table);
            ASSERT_TRUE(drives(o.script + "advance 1\n"));
            ASSERT_NE(shownOver(*table), bare) << "something opened";
            for (size_t press = 0; press < o.closing.size(); ++press) {
                for (size_t shown = press; shown < o.closing.size(); ++shown)
                    EXPECT_TRUE(shownById(o.closing[shown])) << o.closing[shown] << " is up before Escape " << press;
                app.dispatchKey(ui::Key::Escape);
                advance(1);
                EXPECT_FALSE(shownById(o.closing[press])) << o.closing[press] << " closed";
            }
            EXPECT_EQ(shownOver(*table), bare) << "what opened closed, and nothing else";
            EXPECT_EQ(KavoOnlineAppDelegate::getInstance().topViewController(), table) << "still at the table";
            EXPECT_EQ(shownAlertMessage(), "") << "no leave question";
        }
        EXPECT_TRUE(MobileClient::getInstance().isConnected()) << "still signed in";
        signOut();
    }

    // The sheets that no road of the client opens, each shown over the grid as its owner
    // would show it.
    signIn();
    // The grid's friend list answered first: its wait running out would put a notice over
    // the sheets, and Escape would be the notice's.
    ASSERT_TRUE(waitUntil([] { return !hasSpinner(shownById("mainTableView")); }));
    ASSERT_FALSE(hasSpinner(shownById("mainTableView")));
    const auto grid = KavoOnlineAppDelegate::getInstance().topViewController();
    const std::vector<std::shared_ptr<CustomUIActionSheetViewController>> unopened = {
        std::make_shared<menuAuto>(),          std::make_shared<menuMoiBan>(),
        std::make_shared<PlayerInfo>(),        std::make_shared<BoardPassword>(),
        std::make_shared<PokerBuyStackView>(), std::make_shared<MauBinhResultView>(),
        std::make_shared<PlayerDetailView>(),  std::make_shared<TransferMoneyView>()};
    for (const auto& sheet : unopened) {
        SCOPED_TRACE(sheet->nibName());
        grid->view()->addSubview(sheet->view());
        sheet->viewWillAppear(false);
        advance(1);
        ASSERT_EQ(sheet->view()->superview(), grid->view().get());
        app.dispatchKey(ui::Key::Escape);
        advance(1);
        EXPECT_EQ(sheet->view()->superview(), nullptr) << "Escape closed it";
        EXPECT_EQ(KavoOnlineAppDelegate::getInstance().topViewController(), grid) << "and only it";
    }
    signOut();

    // The server choice stays, and the form under it.
    chooseServer();
    app.dispatchKey(ui::Key::Escape);
    advance(1);
    EXPECT_TRUE(drive("expect text=Kavo Test\nexpect id=logSubLoginView\n").ok) << "the server choice stays";

    // Every close the code declares was walked; the server choice kept Escape, closing nothing.
    const EscapeCloses declared = EscapeCloses::read(sourceDir() + "/src");
    ASSERT_EQ(declared.error(), "");
    std::set<std::string> walked;
    const auto walk = [&](const std::map<std::string, int>& now, const std::map<std::string, int>& before) {
        for (const auto& [kind, count] : now) {
            const auto earlier = before.find(kind);
            if (earlier != before.end() && earlier->second == count) continue;
            const std::set<std::string> closes = declared.walkedBy(kind);
            EXPECT_FALSE(closes.empty()) << kind << " took Escape, but the code declares no close for it";
            walked.insert(closes.begin(), closes.end());
        }
    };
    walk(EscapeWalk::closedKinds(), closedBefore);
    walk(EscapeWalk::keptKinds(), keptBefore);
    EXPECT_EQ(EscapeWalk::keptKinds().count("ServerView"), 1u) << "the server choice kept Escape";
    EXPECT_EQ(EscapeWalk::closedKinds().count("ServerView"), 0u) << "and is not counted as closed";
    for (const char* kind : {"LoginSubForm", "CustomUIActionSheetViewController", "SettingsView", "ServerView",
                             "ChatView.cpp emoView", "PeekController.cpp viewNanBai"})
        EXPECT_TRUE(declared.declared().count(kind)) << kind << ": the code's closes were read";
    for (const std::string& kind : declared.declared())
        EXPECT_TRUE(walked.count(kind)) << kind << " closes on Escape, but no case of this walk closes it";
}

// The grid's mail badge belongs to the grid: the shop laid over the grid stays over it
// when Escape closes the shop's item detail and when new mail comes while the shop is up
// (the badge lies under part of the shop's close button), and a click at the centre of
// the shop's close button closes the shop.
TEST_F(LobbyWaits, TheGridsMailBadgeStaysUnderTheShopAndItsCloseButton) {
    answerShopItems();
    signIn();
    ASSERT_TRUE(portal().sendToClient(Bytes().byte(4).int32(301).utf("dung").message(104)));
    ASSERT_TRUE(
        drives("wait id=lblCounterMessage\ntap id=btnNapZel\nadvance 0.5\ntap id=btnVatPham\nwait id=tile10000\n"
               "advance 0.5\ntap id=tile10000\nwait id=doCheckOut 30\n"));
    auto grid = topAs<GameView>();
    ASSERT_TRUE(grid);
    // Where each lies among the grid's views, front last.
    auto place = [&grid](const ui::View* view) {
        const auto& views = grid->view()->subviews();
        for (size_t i = 0; i < views.size(); ++i)
            if (views[i].get() == view) return int(i);
        return -1;
    };
    const ui::View* shop = shownById("ShopView");
    ASSERT_TRUE(shop);
    auto& app = ui::Application::shared();
    app.dispatchKey(ui::Key::Escape);
    advance(1);
    ASSERT_FALSE(shownById("doCheckOut")) << "Escape closed the detail";
    ASSERT_TRUE(shownById("ShopView")) << "and only the detail";
    for (const char* badge : {"imgViewCounterMessage", "lblCounterMessage"})
        EXPECT_LT(place(shownById(badge)), place(shop)) << badge << " lies under the shop after Escape";

    // The second friend request replaces the first (reply 104 sub 4 holds all of them): the
    // count is read again, and the badge must not rise.
    const std::string count = grid->lblCounterMessage()->text();
    ASSERT_TRUE(portal().sendToClient(Bytes().byte(4).int32(301).utf("dung").int32(302).utf("minh").message(104)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return grid->lblCounterMessage()->text() != count; }, 30));
    for (const char* badge : {"imgViewCounterMessage", "lblCounterMessage"})
        EXPECT_LT(place(shownById(badge)), place(shop)) << badge << " lies under the shop after new mail";

    const ui::View* close = shownById("doCloseThisView");
    ASSERT_TRUE(close);
    const ui::Point centre = screenCentre(*close);
    EXPECT_TRUE(screenFrame(*shownById("lblCounterMessage")).intersects(screenFrame(*close)))
        << "the badge lies under the button";
    app.dispatchTouch(ui::TouchPhase::Began, centre);
    app.dispatchTouch(ui::TouchPhase::Ended, centre);
    advance(1);
    EXPECT_FALSE(shownById("ShopView")) << "the click closed the shop";
}

// Escape leaves the log-in screen without an open form as it is, and the server choice
// too: that is a screen of the sign-in road, not a sheet over one.
TEST_F(LobbyWaits, EscapeOnTheLogInScreenOrTheServerChoiceDoesNothing) {
    for (const bool serverChoice : {false, true}) {
        SCOPED_TRACE(serverChoice ? "the server choice" : "the log-in screen");
        if (serverChoice) {
            chooseServer();
        } else {
            launch();
            ASSERT_TRUE(drive("screen LoginView\nadvance 0.1\n").ok) << log();
        }
        auto login = topAs<LoginView>();
        ASSERT_TRUE(login);
        ui::Application::shared().dispatchKey(ui::Key::Escape);
        advance(1);
        EXPECT_EQ(topAs<LoginView>(), login);
        EXPECT_TRUE(drive(serverChoice ? "expect text=Kavo Test\n" : "expect id=btnSignIn_Clicked\n").ok);
    }
    EXPECT_TRUE(portal().messages(1).empty()) << "nobody signed in";
    EXPECT_TRUE(drive("tap text=Kavo Test\nscreen GameView 30\n").ok) << "and still signs in when a server is chosen";
}

TEST_F(LobbyWaits, AGameSwitchTheServerNeverAnswersEndsOnTheGameThePlayerHad) {
    signIn();
    openBoardList();
    auto board = topAs<BoardView>();
    ASSERT_TRUE(board);
    stalled_ = true;
    const int before = UIController::gameType();
    constexpr int kNorthernTienLen = 12; // next on the strip
    ASSERT_TRUE(drive("tap id=selectGame12\nadvance 0.5\n").ok) << log();
    EXPECT_EQ(board->getGameButtonLabel(kNorthernTienLen)->textColor(), ui::Color::orange());

    advance(10);
    EXPECT_EQ(shownAlertMessage(), text("KAVO_connectFail"));
    EXPECT_FALSE(hasSpinner(shownById("tblBoardList")));
    EXPECT_EQ(UIController::gameType(), before);
    EXPECT_EQ(board->getGameButtonLabel(before)->textColor(), ui::Color::orange());
    EXPECT_EQ(board->getGameButtonLabel(kNorthernTienLen)->textColor(), ui::Color::white());
    EXPECT_TRUE(drive("expect text=1.000 zel\n").ok) << "the boards of the game the player had";
}

// The grid's friend list goes to the grid on top only: a player who opens a game before it
// came (a slow answer, a quick tap) reads no word of a server that could not be reached
// at the next screen.
TEST_F(LobbyWaits, AGridLeftBeforeItsFriendListCameSaysNothingAtTheNextScreen) {
    portal().onCommand(104, [](Message&, TestPortal::Reply&) {}); // the list comes too late
    signIn();
    ASSERT_TRUE(waitForCommand(104));
    ASSERT_TRUE(hasSpinner(shownById("mainTableView")));
    openBoardList();
    advance(Util::kLoadingBound + 1);
    EXPECT_EQ(shownAlertMessage(), "");
}

// Every wait with a bound (choosing a game on the grid or on the board list's strip, the
// board search, the friend list, creating, playing now, joining) ends at any answer to its
// request: the server's reply (the table or list it asked for), a notice or a refusal,
// which then stays the only word the player reads, and puts back what it changed. Only
// silence reaches the bound, where the spinner goes and the player reads that the server
// could not be reached; another request's text (a friend's answer) ends no wait.
TEST_F(LobbyWaits, EveryBoundedWaitEndsWithAnyAnswerAndOnlySilenceReachesItsBound) {
    enum class Answer { Silence, Reply, Notice, Refusal, OtherText };
    struct Case {
        const char* script; // from the board list, or from the grid when it chooses a game there
        int16_t command;    // the request waited on, which the portal leaves unanswered
        double bound;
        Message reply;
        const char* waiting; // the view whose spinner waits
    };
    Bytes join = Bytes().byte(1).byte(1).int32(ClientWorld::kPlayerId).int32(1000).int32(ClientWorld::kPlayerId);
    const Message table = join.utf("an").int64(5000).int16(1).int32(300).boolean(false).message(8);
    const Message boards = boardListReply(100000, {{1, 3, false, 3000, 100000, false, 1, 4}});
    const std::vector<Case> cases = {
        {"tap id=btnCreateBoard\nadvance 0.5\ntap id=createBoard\n", 2702, 3, table, "CreateNewBoard"},
        {"tap id=btnPlayNow\n", 28, 5, table, "BoardView"},
        {"tap text=1.000 zel\n", 8, 2, table, "viewList"},
        {"tap id=selectGame12\n", 61, 10, Bytes().byte(12).message(61), "tblBoardList"},
        {"tap id=searchBoard\n", 2700, 10, boards, "tblBoardList"},
        {"grid: tap id=btnTLMN\n", 61, 5, Bytes().byte(3).message(61), "scrollView"},
        {"grid: tap id=btnOnline\ntap id=btnAll\n", 104, 10, Bytes().byte(5).message(104), "mainTableView"}};
    for (const Answer answer : {Answer::Silence, Answer::Reply, Answer::Notice, Answer::Refusal, Answer::OtherText})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(int(answer)) + " answers " + c.script);
            stalled_ = false;
            answerBoardList(portal(), 100000,
                            {{1, 1, false, 1000, 100000, false, 1, 4}, {1, 2, false, 2000, 100000, false, 1, 4}});
            portal().onCommand(104,
                               [](Message&, TestPortal::Reply& reply) { reply.send(Bytes().byte(5).message(104)); });
            std::string script = c.script;
            const bool fromGrid = script.starts_with("grid: ");
            const auto silence = [&] {
                if (c.command != 61) portal().onCommand(c.command, [](Message&, TestPortal::Reply&) {});
            };
            // From the grid, unanswered from the sign-in on: a late answer to the sign-in's
            // own request of that command would end the wait before its answer comes.
            if (fromGrid) silence();
            signIn();
            if (fromGrid) {
                script.erase(0, 6);
            } else {
                openBoardList();
                silence();
            }
            stalled_ = c.command == 61;
            portal().clearMessages();
            const auto screen = KavoOnlineAppDelegate::getInstance().topViewController();
            const int game = UIController::gameType();
            ASSERT_TRUE(drive(script).ok) << log();
            ASSERT_TRUE(waitForCommand(c.command));
            const ui::View* waiting = shownById(c.waiting);
            EXPECT_TRUE(hasSpinner(waiting)) << "waiting";
            std::string expected = answer == Answer::Notice ? "Bàn đã đầy" : "Bạn không đủ tiền để chơi";
            if (answer == Answer::OtherText) {
                const std::string other = "an đã đồng ý kết bạn";
                ASSERT_TRUE(portal().sendToClient(Bytes().byte(1).byte(1).utf(other).message(104)));
                ASSERT_TRUE(waitUntil([&] { return shownAlertMessage() == other; }, 0));
                EXPECT_EQ(shownAlertMessage(), other);
                EXPECT_TRUE(hasSpinner(waiting)) << "another request's text ends no wait";
            }
            if (answer == Answer::Silence || answer == Answer::OtherText) {
                advance(c.bound - 0.2);
                if (answer == Answer::Silence) {
                    EXPECT_EQ(shownAlertMessage(), "") << "still waiting within its bound";
                }
                EXPECT_TRUE(hasSpinner(waiting)) << "still waiting within its bound";
                expected = text("KAVO_connectFail");
            } else {
                ASSERT_TRUE(portal().sendToClient(answer == Answer::Reply    ? c.reply
                                                  : answer == Answer::Notice ? Bytes().byte(0).utf(expected).message(45)
                                                                             : Bytes().utf(expected).message(10)));
                if (answer == Answer::Reply) expected = "";
                ASSERT_TRUE(waitUntil([&] { return !hasSpinner(waiting); }));
            }
            // Past the bound.
            advance(answer == Answer::Silence || answer == Answer::OtherText ? 0.4 : c.bound + 0.4);
            EXPECT_EQ(shownAlertMessage(), expected);
            EXPECT_FALSE(hasSpinner(waiting));
            UIController::closeDialog();
            if (answer != Answer::Reply) {
                EXPECT_EQ(KavoOnlineAppDelegate::getInstance().topViewController(), screen);
                EXPECT_TRUE(screen->view()->isUserInteractionEnabled() && waiting->isUserInteractionEnabled());
                EXPECT_EQ(UIController::gameType(), game) << "the game the player had";
                if (auto board = topAs<BoardView>(); board && c.command == 61) {
                    EXPECT_EQ(board->getGameButtonLabel(game)->textColor(), ui::Color::orange()) << "marked again";
                    EXPECT_EQ(board->getGameButtonLabel(12)->textColor(), ui::Color::white());
                }
            }
            signOut();
            portal().clearMessages();
        }
}

TEST_F(LobbyWaits, InADesktopWindowTheSignInFormStaysWhereItIsWhenAFieldIsClicked) {
    launch();
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    ASSERT_TRUE(drive("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\nadvance 0.5\n").ok) << log();
    const ui::View* form = shownById("logSubLoginView");
    ASSERT_TRUE(form);
    const ui::Rect before = form->convertRect(form->bounds(), nullptr);
    ASSERT_TRUE(drive("tap id=txfUsername\nadvance 0.5\ntype id=txfUsername an\ntap id=txfPassword\nadvance 0.5\n").ok)
        << log();
    EXPECT_EQ(form->convertRect(form->bounds(), nullptr), before);
    EXPECT_TRUE(drive("type id=txfPassword bimat\nexpect id=btnSignIn\n").ok);
}

// A desktop window has no on-screen keyboard, so the go-to-board sheet stays where it slid
// in whichever field takes the focus (a click, Tab) or gives it up (a click elsewhere,
// Return): every click lands where the player aimed when the sheet appeared, "Tìm" too.
TEST_F(LobbyWaits, InADesktopWindowTheGoToBoardSheetStaysAndEachClickLandsWhereItWasAimed) {
    signIn();
    openBoardList();
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    ASSERT_TRUE(drives("tap id=btnGotoBoard\nadvance 0.5\nwait id=txtPass\n"));
    const ui::View* box = shownById("boxIntoBoard");
    ASSERT_TRUE(box);
    const ui::Rect drawn = screenFrame(*box);
    std::map<std::string, ui::Point> aim;
    for (const char* id : {"txtRoom", "txtBoard", "txtPass", "btnOK"}) {
        const ui::View* control = shownById(id);
        ASSERT_TRUE(control) << id;
        aim[id] = screenCentre(*control);
    }
    auto& app = ui::Application::shared();
    const auto step = [&](const char* what, const std::function<void()>& act) {
        act();
        advance(0.5);
        EXPECT_EQ(screenFrame(*box), drawn) << what;
    };
    portal().clearMessages();
    step("the password field clicked", [&] { clickAndType(aim["txtPass"], "mk"); });
    step("the room field clicked", [&] { clickAndType(aim["txtRoom"], "3"); });
    step("Return in the room field", [&] { app.dispatchKey(ui::Key::Return); });
    step("the board field clicked", [&] { clickAndType(aim["txtBoard"], "1"); });
    step("Return in the board field", [&] { app.dispatchKey(ui::Key::Return); });
    step("the board field clicked again", [&] { clickAndType(aim["txtBoard"], "2"); });
    clickAndType(aim["btnOK"], "");
    ASSERT_TRUE(waitForCommand(8));
    EXPECT_EQ(portal().messages(8)[0].body, Bytes().byte(3).byte(12).utf("mk").data());
}

// Registration and recovery wait for the server under a spinner on their own form: a
// server that never answers leaves the player on that form after ten seconds, told so;
// an answer or a refusal (10) ends the wait at once and no failure notice follows. (The
// log-in screen shows no server notices, 45, at all.)
TEST_F(LobbyWaits, ARegistrationOrRecoveryEndsWithItsAnswerOrOnTheFormAfterTenSeconds) {
    storeServerList(portalEntry("First"));
    const std::string recover =
        "advance 0.1\ntap id=lblForgetPassword\ntype id=txfUsername an\ntap id=btnSend\nwait text=" +
        text("KAVO_confirmGetPassword") + "\n";
    for (const bool recovery : {false, true}) {
        for (const int answer : {0, 1, 2}) { // silence, the answer, a refusal
            const bool answered = answer != 0;
            SCOPED_TRACE(std::string(recovery ? "recovery" : "registration") + " answered by " +
                         std::to_string(answer));
            const int16_t command = recovery ? 73 : 35;
            portal().onCommand(command, [recovery, answer](Message&, TestPortal::Reply& reply) {
                if (answer == 2) reply.send(Bytes().utf("Tạm khóa").message(10));
                if (answer != 1) return;
                reply.send(recovery ? Bytes().byte(1).utf("MK ?").utf("8100").message(73)
                                    : Bytes().utf("moi").boolean(false).utf("").utf("").message(35));
            });
            launch();
            ASSERT_TRUE(drive(recovery ? recover
                                       : "advance 0.1\ntap id=btnRegister_Clicked\ntype id=txfUsername moi\n"
                                         "type id=txfPassword pw1\ntype id=txfRetypePwd pw1\ntap id=btnRegister\n")
                            .ok)
                << log();
            ASSERT_TRUE(!recovery || (waitForCommand(1702) && drive("tap text=" + text("KAVO_yes") + "\n").ok))
                << log();
            auto login = topAs<LoginView>();
            ASSERT_TRUE(login);
            const ui::View* form = recovery ? static_cast<const ui::View*>(login->logSubForgotPwdView().get())
                                            : login->logSubRegisterView().get();
            ASSERT_TRUE(waitForCommand(command));
            if (answered) {
                ASSERT_TRUE(waitUntil([&] { return !hasSpinner(form); }));
                // The answer's notice comes from the reader in real time.
                ASSERT_TRUE(waitUntil([&] { return !shownAlertMessage().empty(); }));
                EXPECT_FALSE(hasSpinner(form));
                advance(11);
                EXPECT_NE(shownAlertMessage(), text("KAVO_connectFail"));
                EXPECT_TRUE(answer == 2 ? shownAlertMessage() == "Tạm khóa"
                                        : recovery || shownAlertMessage() == text("KAVO_gameIDAlreadyUsed"))
                    << "the answer stays";
            } else {
                advance(9.5);
                EXPECT_TRUE(hasSpinner(form)) << "still waiting for the answer within its bound";
                advance(1);
                EXPECT_FALSE(hasSpinner(form));
                EXPECT_EQ(shownAlertMessage(), text("KAVO_connectFail"));
                EXPECT_EQ(topAs<LoginView>(), login);
                EXPECT_TRUE(form->superview()) << "the form stays";
                EXPECT_TRUE(recovery || drive("expect text=moi\n").ok) << "with the name the player typed";
            }
            signOut();
            // What a reply read before the disconnect shows comes on the next turns; the next
            // launch starts with no dialog up.
            advance(0.1);
            for (int i = 0; i < 5 && !shownAlertMessage().empty(); ++i)
                UIController::closeDialog();
            portal().clearMessages();
        }
    }
}

} // namespace
