// What the player reads on the sheets and panels laid over the game grid, signed in on
// the portal stub (its mail, friend requests, friends, shop and lottery): the mailbox's
// rows, the friend requests, a friend's profile, the settings, the shop's tabs, the
// scratch-card form and the lottery, on the phone and the tablet, in Vietnamese and
// English, written into the build folder (sheet-<name>-<phone|tablet>-<vi|en>.png) and
// read by the overlap test.
#include "account/ShopView.h"
#include "account/TopupZelByCardView.h"
#include "app/Resources.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "social/MessageView.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

struct Sheet {
    const char* name;
    const char* open;  // the taps that open it from the screen the previous sheet left
    const char* read;  // the identifier of the panel the player reads ("": the whole screen)
    const char* close; // the taps that close it again ("": it stays for the next)
    // What a Part's own geometry leaves cut on it: a finding that holds this text.
    const char* partsOwn;
};

constexpr Sheet kSheets[] = {
    // The bars' titles are bold 10 in 94 points: the administrators' one does not fit.
    {"mailbox", "tap id=btnChat\nadvance 1\ntap id=btnGanDay\nadvance 1\n", "", "", "is cut"},
    {"invitations", "tap id=showFriendInviteView\nadvance 1\n", "", "tap id=btnClose\nadvance 1\n", nullptr},
    {"friend-profile", "tap id=doCloseThisView\nadvance 1\ntap text=an\nadvance 1\n", "ProfileSubView",
     "tap id=doClose\nadvance 1\n", nullptr},
    {"settings", "tap id=clickSetting\nadvance 1\n", "actionSheetView", "tap id=btnClose_Clicked\nadvance 1\n",
     nullptr},
    {"lottery", "tap id=showLottoSubView\nadvance 1\n", "actionSheetView", "tap id=slideOut\nadvance 1\n", nullptr},
    // A top-up row's title is bold 17 in 149 points: the stub's promotion card does not fit.
    {"shop-topup", "tap id=btnNapZel\nwait id=ShopView\nadvance 1\n", "ShopView", "", "khuyến mãi\" is cut"},
    // Its dimming button lies under the form, where no tap lands: closed as its touch would.
    {"card-form", "tap text=Thẻ gate\nwait id=txfSeriesNumber\nadvance 1\n", "TopupZelByCardView", "", nullptr},
    {"shop-offers", "tap id=btnUuDai\nadvance 1\n", "ShopView", "", "khuyến mãi\" is cut"},
    {"shop-items", "tap id=btnVatPham\nadvance 1\n", "ShopView", "", nullptr},
    {"shop-history", "tap id=btnLichSu\nadvance 1\n", "ShopView", "tap id=doCloseThisView\nadvance 1\n", nullptr},
};

struct Look {
    bool tablet;
    const char* language;
};

class SheetShots : public StubDriveFixture, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override {
        StubDriveFixture::SetUp();
        if (GetParam().tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
        // The mailbox, the shop and its card form are made once per process: built again for this
        // device, as a fresh start would.
        if (!MessageView::getInstance()->view()->superview()) MessageView::getInstance()->setView(nullptr);
        ShopView::getInstance()->resetForTesting();
        TopupZelByCardView::resetForTesting();
        Resources::getInstance().setCurrentLanguage(GetParam().language);
        Resources::getInstance().loadLanguage();
    }
    std::string path(const std::string& sheet) const {
        return "sheet-" + sheet + "-" + (GetParam().tablet ? "tablet" : "phone") + "-" + GetParam().language + ".png";
    }
};

TEST_P(SheetShots, EveryTextOfEverySheetReadsWhole) {
    launch();
    auto signedIn = drive(splitScriptAt(stubDriveScript("signin.drive"), "tap id=btnTLMN").first);
    ASSERT_TRUE(signedIn.ok) << signedIn.message << "\n" << log();
    for (const Sheet& sheet : kSheets) {
        auto result = drive(std::string(sheet.open) + "shot " + path(sheet.name) + "\n");
        ASSERT_TRUE(result.ok) << sheet.name << ": " << result.message << "\n" << log();
        EXPECT_TRUE(platform::ui::Image::fromFile(path(sheet.name))) << path(sheet.name);
        const platform::ui::View* panel = *sheet.read ? visibleViewWithIdentifier(sheet.read) : nullptr;
        EXPECT_TRUE(!*sheet.read || panel) << sheet.name << ": " << sheet.read;
        std::vector<std::string> findings = unreadableTexts(panel);
        if (sheet.partsOwn)
            std::erase_if(findings, [&](const std::string& finding) {
                return finding.find(sheet.partsOwn) != std::string::npos;
            });
        EXPECT_EQ(describe(findings), "") << path(sheet.name);
        if (std::string(sheet.name) == "card-form") TopupZelByCardView::getInstance()->hideThisView();
        result = drive(sheet.close);
        ASSERT_TRUE(result.ok) << sheet.name << ": " << result.message << "\n" << log();
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, SheetShots,
                         ::testing::Values(Look{false, "vi"}, Look{false, "en"}, Look{true, "vi"}, Look{true, "en"}),
                         [](const auto& info) {
                             return std::string(info.param.tablet ? "Tablet" : "Phone") + info.param.language;
                         });

} // namespace
} // namespace kavo::test
