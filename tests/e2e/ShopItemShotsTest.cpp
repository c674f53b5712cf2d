// The shop's item panel as the player sees it, on the phone and the tablet, in Vietnamese
// and English, against the portal stub: the shop, its items tab, a tap on an item's tile.
// The panel beside the tile is drawn, its title and price read on their plates, and its
// give, buy and cart buttons show, each with a mark of its own that tells it from the
// others; the list of friends a gift goes to shows their names; a tile of the cart opens
// the panel mirrored on the tile's left, whose cart button takes the item out. Each
// picture is written into the test's own folder and read from its pixels (SeenInShot), and
// for texts that overlap or are cut (ReadableScreen).
#include "account/ShopView.h"
#include "app/Resources.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "social/MessageView.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ReadableScreen.h"
#include "tests/support/client/SeenInShot.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

struct Look {
    bool tablet;
    const char* language;
};

void PrintTo(const Look& look, std::ostream* out) {
    *out << (look.tablet ? "tablet" : "phone") << ", " << look.language;
}

// A picture or panel that shows whole covers most of its frame; a text reads at 4.5:1
// against what lies behind it; a button's mark stands out of its face at 3:1; two buttons
// differ by more than a rounding of their pixels.
constexpr double kDrawn = 0.6;
constexpr double kReadable = 4.5;
constexpr double kMarked = 3;
constexpr double kApart = 0.05;

class ShopItemShots : public StubDriveFixture, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override {
        StubDriveFixture::SetUp();
        if (GetParam().tablet) ui::Screen::setIdiom(ui::Idiom::Tablet);
        Resources::getInstance().setCurrentLanguage(GetParam().language);
        Resources::getInstance().loadLanguage();
        // The mailbox and the shop are made once per process: made again for this device
        // and language, as a fresh start would.
        if (!MessageView::getInstance()->view()->superview()) MessageView::getInstance()->setView(nullptr);
        ShopView::getInstance()->resetForTesting();
    }

    // Runs `road`, then writes the picture of the windows into the test's folder and reads
    // it back.
    ui::ImagePtr shotAfter(const std::string& road, const std::string& name) {
        const std::string path = dataPath() + "/" + name + "-" + (GetParam().tablet ? "tablet" : "phone") + "-" +
                                 GetParam().language + ".png";
        auto result = drive(road + "shot " + path + "\n");
        EXPECT_TRUE(result.ok) << name << ": " << result.message << "\n" << log();
        ui::ImagePtr shot = ui::Image::fromFile(path);
        EXPECT_TRUE(shot) << path;
        return shot;
    }

    static ui::View* shown(const std::string& identifier) {
        platform::automation::ViewQuery::layoutWindows();
        return platform::automation::ViewQuery::find({platform::automation::Selector::Kind::Id, identifier});
    }

    // The view inside `root` with the identifier (the panel's own title, not the top bar's).
    static ui::View* inside(ui::View& root, const std::string& identifier) {
        if (root.accessibilityIdentifier() == identifier) return &root;
        for (const ui::ViewPtr& child : root.subviews())
            if (ui::View* found = inside(*child, identifier)) return found;
        return nullptr;
    }

    // The panel over the shop: drawn, its title and price readable, its three buttons
    // shown with marks that tell them apart, nothing on it overlapping or cut but the
    // stub's long item names in the title's 76 points.
    void expectPanelSeen(const ui::ImagePtr& shot, const char* cartButton) {
        ui::View* panel = shown("ShopViewDetail");
        ASSERT_TRUE(panel) << "the item panel is not shown";
        EXPECT_GE(drawnShare(shot, *panel), kDrawn) << "the panel is not drawn";
        for (const char* text : {"lblTitle", "txvItemDescription"}) {
            ui::View* found = inside(*panel, text);
            ASSERT_TRUE(found) << text;
            EXPECT_GE(textContrast(*found), kReadable) << text << " \"" << found->text() << "\" does not stand out";
        }
        std::vector<ui::View*> buttons;
        for (const char* button : {"doPresent", "doCheckOut", cartButton}) {
            ui::View* found = inside(*panel, button);
            ASSERT_TRUE(found) << button;
            EXPECT_GE(drawnShare(shot, *found), kDrawn) << button << " is not drawn";
            EXPECT_GE(markContrast(shot, *found), kMarked) << button << " shows no mark";
            buttons.push_back(found);
        }
        for (size_t i = 0; i < buttons.size(); ++i)
            for (size_t j = i + 1; j < buttons.size(); ++j)
                EXPECT_GT(faceDifference(shot, *buttons[i], *buttons[j]), kApart)
                    << buttons[i]->accessibilityIdentifier() << " and " << buttons[j]->accessibilityIdentifier()
                    << " look alike";
        std::vector<std::string> findings = unreadableTexts(panel);
        std::erase_if(findings, [](const std::string& finding) {
            return finding.starts_with("lblTitle \"") && finding.ends_with("\" is cut");
        });
        EXPECT_EQ(describe(findings), "");
    }
};

TEST_P(ShopItemShots, TheItemPanelShowsItsPlatesAndButtonsAndItsFriendList) {
    launch();
    auto signedIn = drive(splitScriptAt(stubDriveScript("signin.drive"), "tap id=btnTLMN").first);
    ASSERT_TRUE(signedIn.ok) << signedIn.message << "\n" << log();
    // The friends a gift goes to come after the sign-in.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return !Resources::getInstance().listMyFriends().empty(); },
                                                   kStateWait));
    const std::string strip = "tile" + std::to_string(ShopView::kRowTileTag);
    ASSERT_TRUE(
        drives("tap id=btnNapZel\nwait id=ShopView 30\ntap id=btnVatPham\nwait id=" + strip + " 30\nadvance 1\n"));

    // A tile of the strip: the panel on its right.
    const ui::ImagePtr right = shotAfter("tap id=" + strip + "\nwait id=doAddToCart 30\nadvance 1\n", "shop-item");
    ASSERT_TRUE(right);
    expectPanelSeen(right, "doAddToCart");
    if (HasFatalFailure()) return;

    // Give: the friends' list over the shop, each name on its plate.
    const ui::ImagePtr friends = shotAfter("tap id=doPresent\nwait id=presentFriend0 30\nadvance 1\n", "shop-friends");
    ASSERT_TRUE(friends);
    ui::View* list = shown("wView");
    ASSERT_TRUE(list);
    EXPECT_GE(drawnShare(friends, *list), kDrawn) << "the friends' list is not drawn";
    int names = 0;
    for (ui::View* view : platform::automation::ViewQuery::visibleViews())
        if (dynamic_cast<ui::Label*>(view) && view->isDescendantOf(list) && !view->text().empty()) {
            ++names;
            EXPECT_GE(textContrast(*view), kReadable) << "the friend \"" << view->text() << "\" does not stand out";
        }
    EXPECT_GE(names, 1);

    // Into the cart, and the cart's tile: the panel on its left, mirrored, taking it out.
    ASSERT_TRUE(drives("tap id=hideThisView\nadvance 0.5\ntap id=" + strip +
                       "\nwait id=doAddToCart 30\ntap id=doAddToCart\nwait text=" + text("KAVO_Cart_ConfirmItem") +
                       " 30\ntap text=" + text("KAVO_OK") + "\ntap id=hideThisView\nadvance 0.5\nwait id=tile" +
                       std::to_string(ShopView::kCartTileTag) + " 30\n"));
    const ui::ImagePtr left = shotAfter(
        "tap id=tile" + std::to_string(ShopView::kCartTileTag) + "\nwait id=doDiscard 30\nadvance 1\n", "shop-cart");
    ASSERT_TRUE(left);
    expectPanelSeen(left, "doDiscard");
}

INSTANTIATE_TEST_SUITE_P(Looks, ShopItemShots,
                         ::testing::Values(Look{false, "vi"}, Look{false, "en"}, Look{true, "vi"}, Look{true, "en"}),
                         [](const auto& info) {
                             return std::string(info.param.tablet ? "Tablet" : "Phone") + info.param.language;
                         });

} // namespace
} // namespace kavo::test
