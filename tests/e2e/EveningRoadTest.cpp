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

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int64_t kWelcomeTime = 1'765'000'000'000LL;

std::string welcome(int signIn) {
    return "Chào mừng lần " + std::to_string(signIn);
}

// The visible texts of a view and everything on it, as a player reads them.
void collectTexts(const ui::View& view, std::vector<std::string>& texts) {
    if (view.isHidden() || view.alpha() <= 0.01) return;
    if (const auto* label = dynamic_cast<const ui::Label*>(&view)) texts.push_back(label->text());
    if (const auto* button = dynamic_cast<const ui::Button*>(&view)) texts.push_back(button->currentTitle());
    for (const auto& subview : view.subviews())
        collectTexts(*subview, texts);
}

// The texts of a language's table, upper-cased as some titles show them.
std::set<std::string> tableTexts(const std::string& language) {
    const auto table = platform::PropertyList::readFile(ClientWorld::get().bundlePath() + "/" + language + ".plist");
    std::set<std::string> texts;
    for (const std::string& key : table.keys())
        texts.insert(platform::toUpper(table[key].stringValue()));
    return texts;
}

class EveningRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 4);
        // As the real server does, the welcome notice (new at every sign-in) and the friend
        // requests (the same every time) come before the sign-in's reply.
        portal().onCommand(1702, [signIns = std::make_shared<std::atomic<int>>(0)](Message&, TestPortal::Reply& reply) {
            const int n = ++*signIns;
            reply.send(Bytes().int32(4).int64(kWelcomeTime + n).int32(1).utf("admin").utf(welcome(n)).message(1701));
        });
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
            Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000).int32(kMe).utf("an");
            reply.send(join.int64(ClientWorld::kPlayerMoney).int16(1).int32(300).boolean(false).message(8));
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

    // Notes every text on the screen on top (with its open sheets) that is the other
    // language's and not the chosen one's.
    void sheetOpened(const std::string& name) {
        std::vector<std::string> texts;
        if (auto screen = top(); screen && screen->isViewLoaded()) collectTexts(*screen->view(), texts);
        const std::string language = Resources::getInstance().currentLanguage();
        const auto chosen = tableTexts(language), other = tableTexts(language == "en" ? "vi" : "en");
        for (const std::string& text : texts)
            if (other.contains(platform::toUpper(text)) && !chosen.contains(platform::toUpper(text)))
                wrongLanguage_.push_back(name + " (" + language + "): " + text);
    }

    bool signIn() {
        if (!road("tap id=btnSignIn_Clicked\ntype id=txfUsername an\ntype id=txfPassword bimat\ntap id=btnSignIn\n"
                  "wait text=Kavo Test\n"))
            return false;
        sheetOpened("server choice");
        return road("tap text=Kavo Test\nscreen GameView 30\nadvance 0.5\n");
    }
    bool signOutFromSettings() {
        if (!road("tap id=clickSetting\nadvance 0.5\n")) return false;
        sheetOpened("settings");
        if (!road("tap id=settingRow" + std::to_string(SettingsView::kRowLogout) +
                  "\nscreen LoginView 30\nadvance 0.5\n"))
            return false;
        // Signed out, the player closes what is still open over the log-in screen (the
        // server choice, the form it was opened from).
        closeTopmost("btnDelete");
        closeTopmost("btnDelete");
        return !visibleViewWithIdentifier("btnDelete");
    }
    // Clicks the close button drawn on top (sheets over each other name theirs alike).
    void closeTopmost(const std::string& identifier) {
        if (const ui::View* close = visibleViewWithIdentifier(identifier)) clickAndType(screenCentre(*close), "");
        advance(0.5);
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
        "tap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\nwait text=1.000 zel\ntap id=btnCreateBoard\nadvance 0.5\n"));
    sheetOpened("create");
    ASSERT_TRUE(road("tap id=createBoard\nscreen TienLenView 30\n"));
    advance(5);
    EXPECT_TRUE(std::dynamic_pointer_cast<TienLenView>(top())) << "still at the table";
    EXPECT_EQ(shownAlert(), "") << "no connection notice over the table";
    // No hand was played: the owner leaves at once.
    ASSERT_TRUE(road("tap id=btnBack\nadvance 0.5\nscreen BoardView 30\nadvance 0.5\ntap id=btnBack\nscreen GameView "
                     "5\nadvance 0.5\n"));
    EXPECT_EQ(shownAlert(), "") << "asked nothing";

    // Settings, sign out, English, and two more sign-ins.
    ASSERT_TRUE(signOutFromSettings());
    ASSERT_TRUE(road("tap id=btnChangeLanguage\nadvance 0.1\n"));
    ASSERT_EQ(Resources::getInstance().currentLanguage(), "en");
    ASSERT_TRUE(signIn());
    ASSERT_TRUE(signOutFromSettings());
    ASSERT_TRUE(signIn());

    EXPECT_EQ(UIController::listMessageWithFilter(KavoMessage::kTypeFriendRequest).size(), 1u)
        << "one friend request after three sign-ins";
    const auto notices = UIController::listMessageWithFilter(KavoMessage::kTypeLatestOnly);
    ASSERT_EQ(notices.size(), 1u) << "one welcome notice after three sign-ins";
    EXPECT_EQ(notices.front()->message(), welcome(3));
    ASSERT_TRUE(road("tap id=btnChat\nadvance 0.5\ntap id=btnGanDay\nadvance 0.5\ntap id=showFriendInviteView\n"
                     "advance 0.5\nexpect text=dung\nexpect-not text=dung#2\n"));
    sheetOpened("invitations");
    closeTopmost("doCloseThisView");
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
