// An evening in one process, on the manual clock against the test portal: the lottery and
// Escape on the grid, a table created and sat at, settings, three sign-ins with a language
// switch between, the mailbox's invitations and settings again. What lasts longer than one
// screen must not go wrong: a stray key, an old wait, the mail of the sign-ins before.
#include "account/SettingsView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/GameView.h"
#include "net/MobileClient.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Text.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "portal/model/KavoMessage.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/ReadableScreen.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kMe = ClientWorld::kPlayerId;

// The visible texts of a view and everything on it, as a player reads them.
void collectTexts(const ui::View& view, std::vector<std::string>& texts) {
    if (view.isHidden() || view.alpha() <= 0.01) return;
    if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && !label->text().empty())
        texts.push_back(label->text());
    if (const auto* button = dynamic_cast<const ui::Button*>(&view); button && !button->currentTitle().empty())
        texts.push_back(button->currentTitle());
    for (const auto& subview : view.subviews())
        collectTexts(*subview, texts);
}

// The texts of `language`'s table, in upper case (titles show some upper-cased).
std::set<std::string> tableTexts(const std::string& language) {
    const platform::Value table =
        platform::PropertyList::readFile(ClientWorld::get().bundlePath() + "/" + language + ".plist");
    std::set<std::string> texts;
    for (const std::string& key : table.keys())
        texts.insert(platform::toUpper(table[key].stringValue()));
    return texts;
}

// The texts among `shown` that are the other language's and not `language`'s.
std::vector<std::string> inTheOtherLanguage(const std::vector<std::string>& shown, const std::string& language) {
    const auto chosen = tableTexts(language);
    const auto other = tableTexts(language == "en" ? "vi" : "en");
    std::vector<std::string> wrong;
    for (const std::string& text : shown) {
        const std::string upper = platform::toUpper(text);
        if (other.contains(upper) && !chosen.contains(upper)) wrong.push_back(text);
    }
    return wrong;
}

class EveningRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 4);
        // As the real server does, the friend requests come before the sign-in's reply,
        // the same request at every sign-in.
        portal().onCommand(1, [](Message&, TestPortal::Reply& reply) {
            reply.send(Bytes().byte(4).int32(301).utf("dung").message(104));
            reply.send(Bytes().int32(kMe).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500).message(3));
        });
        // An empty friend list, so that no wait of the grid or the mailbox ends in a notice.
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() == 5) reply.send(Bytes().byte(5).message(104));
        });
        // A created board opens with me alone at it.
        portal().onCommand(2702, [](Message&, TestPortal::Reply& reply) {
            reply.send(Bytes()
                           .byte(2)
                           .byte(7)
                           .int32(kMe)
                           .int32(1000)
                           .int32(kMe)
                           .utf("an")
                           .int64(ClientWorld::kPlayerMoney)
                           .int16(1)
                           .int32(300)
                           .boolean(false)
                           .message(8));
        });
    }

    // Runs a script; a script that stops fails the test with the driver's log.
    bool road(const std::string& script) {
        auto result = drive(script);
        if (!result.ok) ADD_FAILURE() << result.message << "\n" << log();
        return result.ok;
    }
    static std::shared_ptr<ui::ViewController> top() {
        return KavoOnlineAppDelegate::getInstance().topViewController();
    }
    static std::string shownAlert() {
        const auto alerts = ui::AlertView::visibleAlerts();
        return alerts.empty() ? std::string() : alerts.back()->message();
    }
    static void escape() { ui::Application::shared().dispatchKey(ui::Key::Escape); }

    // What the screen on top shows now, with the sheets open over it, under a name; the
    // language the texts should be in is the one chosen at that moment.
    void sheetOpened(const std::string& name) {
        std::vector<std::string> texts;
        if (auto screen = top(); screen && screen->isViewLoaded()) collectTexts(*screen->view(), texts);
        // Sheets made once that still keep the language they were first made in: left out
        // until they read their texts anew as they open.
        static const std::set<std::string> kStillInTheirFirstLanguage = {"settings"};
        if (kStillInTheirFirstLanguage.contains(name)) return;
        const std::string language = Resources::getInstance().currentLanguage();
        for (const std::string& text : inTheOtherLanguage(texts, language))
            wrongLanguage_.push_back(name + " (" + language + "): " + text);
    }

    bool signIn() {
        if (!road("tap id=btnSignIn_Clicked\ntype id=txfUsername an\ntype id=txfPassword bimat\ntap id=btnSignIn\n"
                  "wait text=Kavo Test\n"))
            return false;
        sheetOpened("server choice");
        return road("tap text=Kavo Test\nscreen GameView 5\nadvance 0.5\n");
    }
    bool signOutFromSettings() {
        if (!road("tap id=clickSetting\nadvance 0.5\n")) return false;
        sheetOpened("settings");
        if (!road("tap id=settingRow" + std::to_string(SettingsView::kRowLogout) +
                  "\nscreen LoginView 5\nadvance 0.5\n"))
            return false;
        // Signed out, the player closes what is still open over the log-in screen (the
        // server choice, the form it was opened from).
        for (int sheets = 0; sheets < 2; ++sheets) {
            const ui::View* close = visibleViewWithIdentifier("btnDelete");
            if (!close) break;
            const ui::Point at = screenCentre(*close);
            ui::Application::shared().dispatchTouch(ui::TouchPhase::Began, at);
            ui::Application::shared().dispatchTouch(ui::TouchPhase::Ended, at);
            advance(0.5);
        }
        return !visibleViewWithIdentifier("btnDelete");
    }

    // "sheet (language): text" of every text shown in the language not chosen.
    std::vector<std::string> wrongLanguage_;
};

TEST_F(EveningRoad, LotteryTableSettingsAndThreeSignInsLeaveThePlayerSignedInUntoldAndWithOneRequest) {
    launch();
    ASSERT_TRUE(road("screen LoginView\nadvance 0.1\n"));
    ASSERT_TRUE(signIn());

    // The lottery opened and closed; Escape on the bare grid.
    ASSERT_TRUE(road("tap id=showLottoSubView\nadvance 0.5\n"));
    sheetOpened("lottery");
    ASSERT_TRUE(road("tap id=slideOut\nadvance 0.5\n"));
    escape();
    advance(1);
    EXPECT_TRUE(std::dynamic_pointer_cast<GameView>(top())) << "still on the game grid";
    EXPECT_TRUE(MobileClient::getInstance().isConnected()) << "still signed in after Escape";

    // A table created and sat at for five seconds, then left.
    ASSERT_TRUE(road(
        "tap id=btnTLMN\nscreen BoardView 5\nadvance 0.5\nwait text=1000 zel\ntap id=btnCreateBoard\nadvance 0.5\n"));
    sheetOpened("create");
    ASSERT_TRUE(road("tap id=createBoard\nscreen TienLenView 5\n"));
    advance(5);
    EXPECT_TRUE(std::dynamic_pointer_cast<TienLenView>(top())) << "still at the table";
    EXPECT_EQ(shownAlert(), "") << "no connection notice over the table";
    ASSERT_TRUE(road("tap id=btnBack\nadvance 0.5\ntap text=" + text("KAVO_OK") +
                     "\nscreen BoardView 5\nadvance 0.5\ntap id=btnBack\nscreen GameView 5\nadvance 0.5\n"));

    // Settings, sign out, English, and two more sign-ins.
    ASSERT_TRUE(signOutFromSettings());
    ASSERT_TRUE(road("tap id=btnChangeLanguage\nadvance 0.1\n"));
    ASSERT_EQ(Resources::getInstance().currentLanguage(), "en");
    ASSERT_TRUE(signIn());
    ASSERT_TRUE(signOutFromSettings());
    ASSERT_TRUE(signIn());

    const auto requests = UIController::listMessageWithFilter(KavoMessage::kTypeFriendRequest);
    EXPECT_EQ(requests.size(), 1u) << "one friend request after three sign-ins";
    ASSERT_TRUE(road("tap id=btnChat\nadvance 0.5\ntap id=btnGanDay\nadvance 0.5\ntap id=showFriendInviteView\n"
                     "advance 0.5\nexpect text=dung\nexpect-not text=dung#2\n"));
    sheetOpened("invitations");
    escape();
    escape();
    advance(0.5);
    ASSERT_TRUE(road("tap id=clickSetting\nadvance 0.5\n"));
    sheetOpened("settings");
    EXPECT_TRUE(MobileClient::getInstance().isConnected());
    EXPECT_EQ(shownAlert(), "");
    EXPECT_EQ(describe(wrongLanguage_), "");
}

} // namespace
} // namespace kavo::test
