// What lies over what at every table, as a player opens and reads it: the gift sheet and the
// player's profile opened from another player's seat lie over everything of the table and
// take their clicks; every seat's money reads whole.
#include "account/ProfileSubView.h"
#include "app/UIController.h"
#include "app/widgets/CustomLabel.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "table/base/GameTableView.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuGift.h"
#include "tests/support/client/ReadableScreen.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <string>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kMe = 7;
constexpr int32_t kAn = 8;

// A table as the player meets it: its places and the seat menu's gift and profile buttons,
// named by the seat they act on ("" after the name: the menu has one seat's buttons).
struct Table {
    int8_t type;
    const char* name;
    int places;
    const char* giftButton;
    const char* infoButton;
    bool bySeat;
};

constexpr Table kTables[] = {
    {3, "Tien Len", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {12, "Tien Len MB", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {13, "Phom", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {16, "Mau Binh", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {11, "Bai Cao", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {2, "Xi Zach", 4, "btnPlayerPresent", "btnPlayerInfo", true},
    {17, "Cao Rua", 6, "btnPresentGiftPlayer", "btnInfoPlayer", true},
    {5, "Chinese chess", 2, "btnPlayerPresent1", "btnPlayerInfo1", false},
    {20, "hidden-piece chess", 2, "btnPlayerPresent1", "btnPlayerInfo1", false},
};

class TableOverlays : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        auto me = playerRecord<TienLenPlayer>(kMe, "minh", 1000000);
        UIController::setMyInfo(me);
        menuGift::clearCache();
    }
    // The player chooses the game and the server seats him at room 2, board 5 beside "an".
    std::shared_ptr<GameTableView> sitAt(const Table& table) {
        receiveReply(61, Bytes().byte(table.type));
        Bytes join = Bytes().byte(2).byte(5).int32(kMe).int32(100);
        join.int32(kMe).utf("minh").int64(1000000).int16(1).int32(300).boolean(false);
        join.int32(kAn).utf("an").int64(500000).int16(2).int32(300).boolean(false);
        for (int place = 2; place < table.places; ++place)
            join.int32(-1);
        receiveReply(8, join);
        platform::RunLoop::main().advance(0.5);
        runMainThread();
        client.clear();
        return GameController::getTableView(table.type);
    }
    // The same, with every place of the table taken: "an1", "an2", ... (ids 9, 10, ...)
    // beside me.
    std::shared_ptr<GameTableView> sitAtFullTable(const Table& table) {
        receiveReply(61, Bytes().byte(table.type));
        Bytes join = Bytes().byte(2).byte(5).int32(kMe).int32(100);
        join.int32(kMe).utf("minh").int64(1000000).int16(1).int32(300).boolean(false);
        for (int place = 1; place < table.places; ++place)
            join.int32(kAn + place).utf("an" + std::to_string(place)).int64(500000).int16(2).int32(300).boolean(false);
        receiveReply(8, join);
        advance(0.5);
        client.clear();
        return GameController::getTableView(table.type);
    }
    // The seat where "an" sits (its button shows no invitation) and the menu that opens
    // there: the taps that open the menu and press its button of that kind.
    static std::string openMenuAndTap(const Table& table, const char* button) {
        for (int seat = 1; seat < 6; ++seat) {
            const std::string id = "btnSeat" + std::to_string(seat);
            auto* shown = dynamic_cast<const ui::Button*>(visibleViewWithIdentifier(id));
            if (!shown || !shown->currentTitle().empty()) continue;
            return "tap id=" + id + "\nadvance 1\ntap id=" + button + (table.bySeat ? std::to_string(seat) : "") +
                   "\nadvance 0.5";
        }
        ADD_FAILURE() << "no seat of another player";
        return "";
    }
    // Another player's line at the table and a buzz, which the table shows in its bubbles.
    static void othersSpeak(const std::string& line) {
        receiveReply(9, Bytes().byte(2).byte(5).int32(kAn).utf(line));
        receiveReply(103, Bytes().utf("an").utf("BUZZ!"));
    }
    static void advance(double seconds) {
        platform::RunLoop::main().advance(seconds);
        runMainThread();
    }
    // The topmost of the table's views that shows: the controller it belongs to, else its
    // identifier.
    static std::string topmost(GameTableView& table) {
        const auto& stack = table.view()->subviews();
        const auto top =
            std::find_if(stack.rbegin(), stack.rend(), [](const auto& v) { return v->isVisibleOnScreen(); });
        if (top == stack.rend()) return "";
        if (const auto* owner = (*top)->viewController()) return owner->className();
        return (*top)->accessibilityIdentifier().empty() ? (*top)->className() : (*top)->accessibilityIdentifier();
    }
    // Where a view lies in the window.
    static ui::Rect inWindow(const ui::View& view) { return view.convertRect(view.bounds(), nullptr); }
    static ui::Rect window() { return {0, 0, ui::Screen::size().width, ui::Screen::size().height}; }
};

// ---------------------------------------------------------------- sheets over the table

// The gift sheet opened from the other player's seat menu is the topmost of the table's
// views, and stays so while the table shows a line, a buzz and its start button again; a
// click on its first gift chooses it.
TEST_F(TableOverlays, TheGiftSheetFromASeatLiesOverEverythingOfTheTableAndTakesItsClicks) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        auto table = sitAt(t);
        ASSERT_TRUE(table);
        drive(openMenuAndTap(t, t.giftButton));
        receiveReply(101, Bytes().byte(14).int32(41).utf("Hoa").int32(0).int32(42).utf("Bánh").int32(0));
        receiveReply(101, Bytes()
                              .byte(15)
                              .int32(41)
                              .int32(1)
                              .int32(4101)
                              .utf("Hoa hồng")
                              .int32(1000)
                              .int32(4102)
                              .utf("Hoa lan")
                              .int32(2000));
        const auto& sheet = table->giftView()->view();
        ASSERT_EQ(sheet->superview(), table->view().get());
        EXPECT_EQ(topmost(*table), "menuGift") << "the sheet lies over every view of the table";
        othersSpeak("xin chao");
        table->setupPlayersWithOwner(kMe, 100, table->players());
        advance(0.2);
        EXPECT_EQ(topmost(*table), "menuGift") << "what the table shows later lies under the sheet";
        drive("tap id=gift4101");
        EXPECT_EQ(table->giftView()->selectedGiftId(), 4101) << "a click on the first gift chooses it";
        drive("tap id=slideOut\nadvance 1");
        EXPECT_EQ(sheet->superview(), nullptr);
    }
}

// The other player's profile opened from his seat menu lies over everything of the table,
// and its tabs take their clicks.
TEST_F(TableOverlays, TheProfileFromASeatLiesOverEverythingOfTheTableAndTakesItsClicks) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        auto table = sitAt(t);
        ASSERT_TRUE(table);
        drive(openMenuAndTap(t, t.infoButton));
        ASSERT_TRUE(table->profileSubView());
        const auto& panel = table->profileSubView()->view();
        ASSERT_EQ(panel->superview(), table->view().get());
        EXPECT_EQ(topmost(*table), "ProfileSubView") << "the profile lies over every view of the table";
        othersSpeak("xin chao");
        advance(0.2);
        EXPECT_EQ(topmost(*table), "ProfileSubView") << "what the table shows later lies under the profile";
        client.clear();
        drive("tap id=btnAchievement\ntap id=doClose\nadvance 1");
    }
}

// ---------------------------------------------------------------- leaving

// Escape with nothing open is the table's back button, and the same state answers the same
// at every card table: while my hand is played it asks first; after the hand, its cards still
// shown and I (the owner) marked ready for the next, it leaves at once.
TEST_F(TableOverlays, EscapeAfterAHandLeavesAtOnceAndDuringItAsksAtEveryCardTable) {
    for (const Table& t : kTables) {
        if (t.places == 2) continue; // the chess tables keep no hand
        SCOPED_TRACE(t.name);
        for (bool handRuns : {true, false}) {
            SCOPED_TRACE(handRuns ? "during a hand" : "after a hand");
            auto table = sitAt(t);
            ASSERT_TRUE(table);
            auto mine = std::dynamic_pointer_cast<TienLenPlayer>(table->playerWithId(kMe));
            ASSERT_TRUE(mine);
            mine->resetCard();
            mine->cards()->push_back(CardView::withCardID(3));
            mine->setIsReady(handRuns ? 0 : 1);
            table->setIsGameEnd(!handRuns);
            ui::Application::shared().dispatchKey(ui::Key::Escape);
            runMainThread();
            if (handRuns) {
                EXPECT_EQ(dialogText(), text("KAVO_doYouWantExit"));
                EXPECT_TRUE(client.sent().empty());
                press(text("KAVO_cancel"));
                EXPECT_EQ(top(), table);
            } else {
                EXPECT_EQ(dialogText(), "");
                EXPECT_TRUE(client.sentOnce(15, {2, 5}));
                EXPECT_NE(top(), table);
            }
            client.clear();
        }
    }
}

// ---------------------------------------------------------------- seats

// Every seat's money reads whole inside the window, at a full table of players of seven-figure
// and eight-figure balances, on each device.
TEST_F(TableOverlays, EverySeatsMoneyReadsWholeInsideTheWindow) {
    for (ui::Idiom device : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        relaunchAs(device);
        for (const Table& t : kTables) {
            SCOPED_TRACE(std::string(t.name) + (device == ui::Idiom::Tablet ? " on the tablet" : " on the phone"));
            receiveReply(61, Bytes().byte(t.type));
            Bytes join = Bytes().byte(2).byte(5).int32(kMe).int32(100);
            for (int place = 0; place < t.places; ++place) {
                const int32_t id = place == 0 ? kMe : kAn + place;
                join.int32(id).utf(place == 0 ? "minh" : "khach" + std::to_string(place));
                join.int64(place % 2 == 0 ? 1067500 : 39500000).int16(1).int32(300).boolean(false);
            }
            receiveReply(8, join);
            advance(0.5);
            auto table = GameController::getTableView(t.type);
            ASSERT_TRUE(table);
            std::string money;
            for (const std::string& finding : unreadableTexts())
                if (finding.find("Money") != std::string::npos) money += "  " + finding + "\n";
            for (const auto& box : table->view()->subviewsOfType<ui::Button>()) {
                const std::string& id = box->accessibilityIdentifier();
                if (box->isVisibleOnScreen() && !box->currentTitle().empty() &&
                    (id.starts_with("btnMoney") || id.starts_with("btnName") || id.starts_with("btnUsername")) &&
                    !window().contains(inWindow(*box)))
                    money += "  " + id + " \"" + box->currentTitle() + "\" runs out of the window\n";
            }
            EXPECT_EQ(money, "");
        }
    }
}

} // namespace
} // namespace kavo::test
