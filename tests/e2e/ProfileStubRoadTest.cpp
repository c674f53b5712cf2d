// The own profile against the portal stub, as a player goes: an avatar bought in the shop
// is worn from the profile and shows on the profile, the grid, his seat and after a new
// sign-in; the level the profile shows follows the hands of this session.
#include "account/ProfileView.h"
#include "account/Profile_UserDataView.h"
#include "account/ShopView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

// The avatar the shop lists third, and the one every player has without buying.
constexpr int32_t kBought = 22;
constexpr int32_t kFirst = 1;

// Whether the view shows the picture the server sent for `pictureId`.
bool showsPicture(const ui::ImageView* view, int32_t pictureId) {
    const auto sent = Resources::getInstance().getExistedImageWithKey(pictureId);
    const auto shown = view ? view->image() : nullptr;
    return sent && shown && shown->pixelData() == sent->pixelData();
}

// Waits (on the real clock: the picture comes from the stub) until the view shows it.
::testing::AssertionResult comesToShow(const std::function<const ui::ImageView*()>& view, int32_t pictureId) {
    if (platform::RunLoop::main().runUntil([&] { return showsPicture(view(), pictureId); }, kStateWait))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "picture " << pictureId << " is not shown";
}

const ui::ImageView* gridAvatar() {
    const auto selector = platform::automation::Selector::parse("id=playerAvatar");
    return dynamic_cast<const ui::ImageView*>(platform::automation::ViewQuery::find(*selector));
}

std::shared_ptr<ProfileView> profile() {
    return std::dynamic_pointer_cast<ProfileView>(KavoOnlineAppDelegate::getInstance().topViewController());
}

const ui::ImageView* profileAvatar() {
    const auto screen = profile();
    return screen && screen->userDataView() ? screen->userDataView()->imgViewAvatar().get() : nullptr;
}

// My seat at the Tien Len table: the one that names me.
const ui::ImageView* mySeatAvatar() {
    const auto table = GameController::getTienLenView();
    if (!table) return nullptr;
    for (int s = 0; s < GameCardView::kSeats; ++s)
        if (table->seat(s).btnName->currentTitle() == UIController::myInfo()->name()) return table->seat(s).ava.get();
    return nullptr;
}

// The stake tables deal the same cards each run (the first Bai Cao hand is won at board
// 1's stake of 100) at their own pace: a hand's whole 20 s leaves the script held up by slow
// answers its time.
class ProfileStubRoad : public StubDriveFixture {
protected:
    ProfileStubRoad() : StubDriveFixture({{"KAVO_STUB_STAKE_SEED", "7"}}) {}

    // scripts/signin.drive to the game grid.
    static std::string signIn() { return splitScriptAt(stubDriveScript("signin.drive"), "tap id=btnTLMN").first; }
    static std::string ok() { return "tap text=" + text("KAVO_OK") + "\n"; }
    static std::string openProfile() {
        return "tap id=doShowProfileView\nscreen ProfileView 30\nadvance 0.5\nwait text=khach 30\n";
    }
    static std::string backToGrid() { return "tap id=btnBack\nscreen GameView 30\nadvance 0.5\n"; }
    static std::string leaveTable() {
        // No hand is under way: the table is left without a question.
        return "tap id=btnBack\nscreen BoardView 30\nadvance 0.5\n" + backToGrid();
    }
    // Waits for the profile's level to read `percent`.
    ::testing::AssertionResult levelReads(const std::string& percent) {
        const auto shown = [] {
            const auto screen = profile();
            return screen && screen->userDataView() ? screen->userDataView()->vThangCap()->text() : std::string();
        };
        if (platform::RunLoop::main().runUntil([&] { return shown() == percent; }, kStateWait))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the level reads \"" << shown() << "\", not \"" << percent << "\"";
    }
};

TEST_F(ProfileStubRoad, AnAvatarBoughtInTheShopIsWornFromTheProfileOnTheGridAtHisSeatAndAfterANewSignIn) {
    launch();
    ASSERT_TRUE(drives(signIn()));
    ASSERT_TRUE(comesToShow(gridAvatar, kFirst));

    // Bought, it is his, not yet worn.
    ASSERT_TRUE(drives("tap id=btnNapZel\nwait id=ShopView 30\ntap id=btnVatPham\nwait text=Vật phẩm 100 30\n"));
    // The avatars follow the items: once they came, scrolled into sight as a finger would.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return ShopView::getInstance()->arrTotal().size() >= 8; }, 30));
    advance(0.1);
    ShopView::getInstance()
        ->tableOfTab(ShopView::kTabVatPham)
        ->scrollToRow({0, 6}, ui::TableViewScrollPosition::Top, false);
    ASSERT_TRUE(drives("tap text=Avatar 22\nwait text=" + text("KAVO_Items_Question") + " 30\n" + ok() + "wait text=" +
                       text("KAVO_buyAvatarOK") + " 30\n" + ok() + "tap id=doCloseThisView\nadvance 0.5\n"));
    EXPECT_EQ(UIController::myInfo()->avatar(), kFirst);

    // The profile's avatars list it without a price; chosen, it is worn once asked.
    ASSERT_TRUE(drives(openProfile() +
                       "tap id=btnItems\nadvance 0.1\nwait text=Avatar 22 30\nexpect-not text=0 Zel\n"
                       "tap text=Avatar 22\nwait text=" +
                       text("KAVO_Change_Avatar") + " 30\n" + ok() + "wait text=" + text("KAVO_Change_Avatar_Success") +
                       " 30\n" + ok() + "tap id=btnInfo\nadvance 0.1\n"));
    EXPECT_EQ(UIController::myInfo()->avatar(), kBought);
    ASSERT_TRUE(comesToShow(profileAvatar, kBought));
    EXPECT_NE(Resources::getInstance().getExistedImageWithKey(kBought)->pixelData(),
              Resources::getInstance().getExistedImageWithKey(kFirst)->pixelData())
        << "the stub's pictures tell the two apart";

    // The grid, and his seat at a table, which the stub's join fills.
    ASSERT_TRUE(drives(backToGrid()));
    EXPECT_TRUE(comesToShow(gridAvatar, kBought));
    ASSERT_TRUE(drives("tap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\nwait text=100 zel 30\ntap text=100 zel\n"
                       "screen TienLenView 30\nadvance 1\n"));
    EXPECT_TRUE(comesToShow(mySeatAvatar, kBought));
    ASSERT_TRUE(drives(leaveTable()));

    // The stub kept it: a new start signs him in wearing it.
    storeServerList("Stub|127.0.0.1:" + std::to_string(stub_->port()));
    launch();
    ASSERT_TRUE(drives(signIn()));
    EXPECT_EQ(UIController::myInfo()->avatar(), kBought);
    EXPECT_TRUE(comesToShow(gridAvatar, kBought));
}

TEST_F(ProfileStubRoad, TheProfileShowsTheLevelOfTheHandsPlayedSinceItWasLastOpened) {
    launch();
    ASSERT_TRUE(drives(signIn() + openProfile()));
    ASSERT_TRUE(levelReads("0 %"));

    // One Bai Cao hand, won: ten points of experience.
    const std::string hand = splitScriptAt(stubDriveScript("baicao.drive"), "tap id=btnBaiCao").second;
    const std::string firstHand = hand.substr(0, hand.find("wait id=btnStart 30\n"));
    ASSERT_NE(firstHand, hand) << "the script has a first result";
    // The peek closes on the clock once the stub has turned the card.
    const auto [toThePeek, afterThePeek] = splitScriptAt(firstHand, "wait-not id=viewNanBai");
    ASSERT_TRUE(drives(backToGrid() + toThePeek));
    ASSERT_TRUE(drivesWaitingOnTheClock(afterThePeek + "wait id=btnStart 30\n"));
    ASSERT_TRUE(drives("wait text=1.000.200 Zel 30\n" + leaveTable()));

    ASSERT_TRUE(drives(openProfile()));
    EXPECT_TRUE(levelReads("10 %"));
}

// A full name typed and left for the gender picker (as for any other road) is the stub's:
// the profile opened again shows it, beside the gender chosen.
TEST_F(ProfileStubRoad, AFullNameLeftForThePickerIsKeptWhenTheProfileOpensAgain) {
    launch();
    ASSERT_TRUE(
        drives(signIn() + openProfile() + "type id=txfHoTen Nguyen Van Khach\ntap id=btnRow_Clicked2\nadvance 0.1\n"));
    // The gender picker's last row, "woman", chosen with the keys.
    auto& app = ui::Application::shared();
    for (const ui::Key key : {ui::Key::Down, ui::Key::Down, ui::Key::Return})
        app.dispatchKey(key);
    // What the profile shows once a record of the stub's has come since (the answer to the
    // opening, 1005) is the stub's.
    const auto tab = profile() ? profile()->userDataView() : nullptr;
    ASSERT_TRUE(tab);
    const auto before = tab->userData();
    ASSERT_TRUE(drives("advance 0.1\n" + backToGrid() + openProfile()));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return tab->userData() != before; }, kStateWait));
    EXPECT_EQ(tab->txfHoTen()->text(), "Nguyen Van Khach");
    EXPECT_EQ(tab->vGioiTinh()->text(), text("KAVO_Woman"));
}

} // namespace
} // namespace kavo::test
