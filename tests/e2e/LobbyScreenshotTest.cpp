// What the player sees: every lobby screen and sheet on the phone and the tablet, in
// Vietnamese and English, written as PNG files into the test's build folder
// (lobby-<screen>-<phone|tablet>-<vi|en>.png) for a person to look at. Each road checks
// that the screen it shoots is the one on top.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/automation/ViewQuery.h"
#include "platform/render/Renderer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "social/MessageView.h"
#include "tests/e2e/AccountRoad.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace kavo;
using namespace kavo::test;

namespace {

struct Look {
    const char* name;
    bool tablet;
    const char* language;
};

class LobbyScreenshots : public ClientFixture, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        acceptGameChoices(portal());
        answerBoardList(portal(), 100000,
                        {{1, 1, false, 1000, 10000, true, 1, 4},
                         {1, 2, true, 5000, 50000, false, 2, 4},
                         {1, 3, false, 20000, 200000, false, 3, 4}});
        if (GetParam().tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
        // The mailbox is made once per process: built again for this device, as a fresh
        // start would.
        if (!MessageView::getInstance()->view()->superview()) MessageView::getInstance()->setView(nullptr);
        Resources::getInstance().setCurrentLanguage(GetParam().language);
        Resources::getInstance().loadLanguage();
    }

    // An amount as the interface language groups it ("1,000" is "1.000" in Vietnamese).
    static std::string grouped(std::string amount) {
        if (GetParam().language == std::string("vi")) std::replace(amount.begin(), amount.end(), ',', '.');
        return amount;
    }
    std::string path(const std::string& screen) const {
        return std::string("lobby-") + screen + "-" + (GetParam().tablet ? "tablet" : "phone") + "-" +
               GetParam().language + ".png";
    }
    // Runs the road, then writes the shot and checks that it was written and that every
    // text on it reads whole and apart from the others; with `sheet`, the identifier of a
    // sheet or form open over the screen, only the texts inside it (what the player reads
    // then).
    // The views lie below the event ticker's strip (the top bar while it runs), or right of
    // it; the ticker shows a few points clear of every button a click reaches (the back
    // button, the screen's top row), or not at all where they leave it no room.
    static void expectClearOfTheTicker(std::initializer_list<const char*> identifiers) {
        const auto strip =
            KavoOnlineAppDelegate::getInstance().viewTopBar()->frame().intersection(platform::ui::Screen::bounds());
        ASSERT_FALSE(strip.isEmpty()) << "the ticker runs";
        for (const char* id : identifiers) {
            const platform::ui::View* view = visibleViewWithIdentifier(id);
            ASSERT_TRUE(view) << id;
            const auto frame = view->convertRect(view->bounds(), nullptr);
            EXPECT_FALSE(frame.intersects(strip)) << id;
        }
        const auto& lane = *KavoOnlineAppDelegate::getInstance().tickerLane();
        if (lane.isHidden()) return;
        const auto text = lane.convertRect(lane.bounds(), nullptr).intersection(strip);
        const std::function<void(const platform::ui::View&)> look = [&](const platform::ui::View& view) {
            if (view.isHidden() || view.alpha() <= 0.01) return;
            const auto centre = view.convertRect(view.bounds(), nullptr).center();
            const platform::ui::View* reached = platform::automation::ViewQuery::hitView(centre);
            if (dynamic_cast<const platform::ui::Button*>(&view) && reached && reached->isDescendantOf(&view)) {
                EXPECT_FALSE(view.convertRect(view.bounds(), nullptr).insetBy(-3, 0).intersects(text))
                    << view.accessibilityIdentifier() << " lies under the ticker or against it";
            }
            for (const auto& child : view.subviews())
                look(*child);
        };
        for (const auto& window : platform::ui::Window::visibleWindows())
            look(*window);
    }
    // Nothing under a sheet's box shows through it (a ghost of the list behind a password
    // box): wherever none of the box's own controls lie, the box is drawn in its one colour.
    static void expectOpaque(const char* id) {
        const platform::ui::View* box = visibleViewWithIdentifier(id);
        ASSERT_TRUE(box) << id;
        const auto shot = platform::render::Renderer::renderToImage(platform::ui::Window::visibleWindows(),
                                                                    platform::ui::Screen::size());
        ASSERT_TRUE(shot);
        // Off the rounded corners and the border.
        const platform::ui::Rect inside = box->convertRect(box->bounds(), nullptr).insetBy(12, 12);
        std::vector<platform::ui::Rect> controls;
        for (const auto& control : box->subviews())
            controls.push_back(control->convertRect(control->bounds(), nullptr).insetBy(-2, -2));
        const platform::ui::Color colour = shot->pixel(int(inside.minX()), int(inside.minY()));
        size_t other = 0;
        for (int y = int(inside.minY()); y < int(inside.maxY()); ++y)
            for (int x = int(inside.minX()); x < int(inside.maxX()); ++x) {
                const platform::ui::Point point{x + 0.5, y + 0.5};
                if (std::any_of(controls.begin(), controls.end(), [&](const auto& c) { return c.contains(point); }))
                    continue;
                const platform::ui::Color seen = shot->pixel(x, y);
                if (std::abs(seen.r - colour.r) + std::abs(seen.g - colour.g) + std::abs(seen.b - colour.b) > 0.01)
                    ++other;
            }
        EXPECT_EQ(other, 0u) << "points of " << id << " where what lies under it shows through";
    }
    // The buttons' titles read at their own size in either language: none is shrunk to fit.
    static void expectTitlesAtTheirSize(std::initializer_list<const char*> identifiers) {
        for (const char* id : identifiers) {
            const platform::ui::View* view = visibleViewWithIdentifier(id);
            const auto* button = dynamic_cast<const platform::ui::Button*>(view);
            const auto* label = button ? button->titleLabel().get() : dynamic_cast<const platform::ui::Label*>(view);
            ASSERT_TRUE(label) << id;
            EXPECT_EQ(label->fittedFont().size(), label->font().size()) << id << " \"" << label->text() << "\"";
        }
    }
    // A name of words too wide for one line at its size takes a second line at that size
    // ("Cài / đặt", "Xổ / số" on the board list's small buttons), off the button's edges.
    static void expectTitlesOnTwoLinesOffTheEdges(std::initializer_list<const char*> identifiers) {
        for (const char* id : identifiers) {
            const auto* button = dynamic_cast<const platform::ui::Button*>(visibleViewWithIdentifier(id));
            ASSERT_TRUE(button) << id;
            const platform::ui::Label& title = *button->titleLabel();
            EXPECT_EQ(title.displayLines().size(), 2u) << id << " \"" << title.text() << "\"";
            EXPECT_EQ(title.fittedFont().size(), title.font().size()) << id;
            const platform::ui::Rect drawn = title.convertRect(title.bounds(), button);
            EXPECT_GT(drawn.minX(), 0) << id;
            EXPECT_LT(drawn.maxX(), button->bounds().width()) << id;
            for (const std::string& line : title.displayLines())
                EXPECT_LE(title.fittedFont().measure(line).width, drawn.width()) << id << " \"" << line << "\"";
        }
    }
    void shoot(const std::string& screen, const std::string& road, const std::string& sheet = "") {
        auto result = drive(road + "advance 1\nshot " + path(screen) + "\n");
        ASSERT_TRUE(result.ok) << screen << ": " << result.message << "\n" << log();
        EXPECT_TRUE(platform::ui::Image::fromFile(path(screen))) << path(screen);
        const platform::ui::View* only = sheet.empty() ? nullptr : visibleViewWithIdentifier(sheet);
        EXPECT_TRUE(sheet.empty() || only) << sheet;
        EXPECT_EQ(describe(unreadableTexts(only)), "") << path(screen);
    }
};

constexpr const char* kEvent = "Sự kiện: nạp Zel hôm nay được tặng gấp đôi";

TEST_P(LobbyScreenshots, EveryLobbyScreenIsWrittenForAPersonToLookAt) {
    // A rich friend: the amount reads whole under the name.
    portal().onCommand(104, [](Message&, TestPortal::Reply& reply) {
        reply.send(Bytes().byte(5).int32(7001).utf("lan").int64(50000000).int16(1).byte(0).utf("").message(104));
    });
    launch();
    shoot("login", "screen LoginView\n");
    shoot("signin-form",
          "tap id=btnSignIn_Clicked\n"
          "type id=txfUsername nguoichoi_co_ten_rat_dai_2024\n"
          "type id=txfPassword bimat\n",
          "mainView");
    shoot("server-choice", "tap id=btnSignIn\nwait text=Kavo Test\n", "actionSheetView");
    ASSERT_TRUE(drive("tap text=Kavo Test\nscreen GameView\n").ok) << log();
    // Unread mail, so the badge shows.
    auto mail = std::make_shared<KavoMessage>();
    mail->setType(4);
    mail->setTime(1);
    mail->setFromName("admin");
    mail->setMessage("Chào mừng");
    UIController::addItemsIntoListMessage({mail});
    shoot("game-grid", "tap id=btnOnline\ntap id=btnAll\nwait text=" + grouped("50,000,000") + "\n");
    // An event runs along the top left strip: the heading and the player stay clear of it.
    KavoOnlineAppDelegate::getInstance().startEventWithiOS4(kEvent);
    shoot("game-grid-ticker", "");
    expectClearOfTheTicker({"lblSelectGame", "playerAvatar", "lblUserName", "lblPlayerMoney"});
    expectTitlesAtTheirSize(
        {"clickSetting", "showLottoSubView", "doShowEventView", "doShowProfileView", "doShowLeaderboard", "btnNapZel"});
    KavoOnlineAppDelegate::getInstance().stopEvent();
    shoot("board-list", "tap id=btnTLMN\nscreen BoardView\nadvance 0.5\nwait text=" + grouped("1,000") + " zel\n");
    expectTitlesAtTheirSize({"lblGotoBoard"});
    if (GetParam().language == std::string("vi"))
        expectTitlesOnTwoLinesOffTheEdges({"clickSetting", "showLottoSubView"});
    KavoOnlineAppDelegate::getInstance().startEventWithiOS4(kEvent);
    shoot("board-list-ticker", "");
    expectClearOfTheTicker({"tblBoardList"});
    KavoOnlineAppDelegate::getInstance().stopEvent();
    shoot("locked-board", "tap text=" + grouped("5,000") + " zel\n", "actionSheetView");
    expectOpaque("boxPassword");
    KavoOnlineAppDelegate::getInstance().escapePressed();
    ASSERT_TRUE(drive("advance 1\n").ok);
    shoot("create-board", "tap id=btnCreateBoard\n", "mainView");
    ASSERT_TRUE(drive("tap id=doCloseThisView\nadvance 1\n").ok) << log();
    shoot("go-to-board", "tap id=btnGotoBoard\n", "actionSheetView");
    ASSERT_TRUE(drive("advance 1\n").ok);
    KavoOnlineAppDelegate::getInstance().escapePressed();
    shoot("mailbox", "advance 1\ntap id=btnChat\n");
    KavoOnlineAppDelegate::getInstance().startEventWithiOS4(kEvent);
    shoot("mailbox-ticker", "");
    expectClearOfTheTicker({"btnGanDay", "btnBanBe"});
    KavoOnlineAppDelegate::getInstance().stopEvent();
    // The sheets over the grid are read on the portal stub (ReadingShotsTest).
}

TEST_P(LobbyScreenshots, TheOwnProfileIsWritten) {
    answerOwnRecord(portal(), {.percent = 42});
    ASSERT_TRUE(signInByReply());
    // The reading finds the level's percentage where it runs out of the tab sideways.
    shoot("profile", "advance 0.4\ntap id=doShowProfileView\nscreen ProfileView\nadvance 0.5\nwait text=42 %\n");
    KavoOnlineAppDelegate::getInstance().startEventWithiOS4(kEvent);
    shoot("profile-ticker", "");
    expectClearOfTheTicker({"lblBanThan"});
    KavoOnlineAppDelegate::getInstance().stopEvent();
}

TEST_P(LobbyScreenshots, TheRegistrationFormIsWritten) {
    launch();
    ASSERT_TRUE(drive("screen LoginView\ntap id=btnRegister_Clicked\ntype id=txfUsername nguoichoi_moi\n").ok) << log();
    // Typed, and the keyboard put away: the form as it reads.
    if (auto* typing = platform::ui::Responder::firstResponder()) typing->resignFirstResponder();
    shoot("register-form", "", "logSubRegisterView");
}

TEST_P(LobbyScreenshots, ThePasswordRecoveryFormIsWritten) {
    launch();
    shoot("recovery-form", "screen LoginView\ntap id=lblForgetPassword\n", "logSubForgotPwdView");
}

INSTANTIATE_TEST_SUITE_P(Looks, LobbyScreenshots,
                         ::testing::Values(Look{"PhoneVietnamese", false, "vi"}, Look{"PhoneEnglish", false, "en"},
                                           Look{"TabletVietnamese", true, "vi"}, Look{"TabletEnglish", true, "en"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
