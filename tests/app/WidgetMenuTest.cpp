#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/MenuView.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/Vibration.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "table/sheets/menuPassword.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/RecordingSession.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace kavo::test {
namespace {

using platform::UserDefaults;
using platform::ui::Rect;
using platform::ui::View;

class WidgetMenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Resources::getInstance().loadLanguage();
    }

    // The menu on a table screen, at the table's left edge with the back button hidden.
    std::shared_ptr<MenuView> openMenu(platform::ui::ViewControllerPtr table = nullptr) {
        launch();
        push(table ? table : std::make_shared<KavoViewController>());
        auto menu = MenuView::make(Rect(0, 0, 216, 320));
        top()->view()->addSubview(menu);
        delegate().btnBack()->setHidden(true);
        return menu;
    }
    bool drive(const std::string& script) {
        std::ostringstream log;
        auto result = platform::automation::Driver(&log).run(script);
        EXPECT_TRUE(result.ok) << result.message << "\n" << log.str();
        return result.ok;
    }
    static std::string text(const char* key) { return Resources::getInstance().textWithKey(key); }
};

TEST_F(WidgetMenuTest, SoundTileFlipsTheSwitchAndWritesItAtOnce) {
    auto menu = openMenu();
    const bool before = UserDefaults::standard().boolForKey("savedSound");
    ASSERT_TRUE(drive("tap id=btnSound"));
    // Read back as a new process would: the tap was written to storage.
    UserDefaults::standard().reset();
    EXPECT_EQ(UserDefaults::standard().boolForKey("savedSound"), !before);
    EXPECT_EQ(UIController::sound(), !before);
    EXPECT_EQ(menu->imgViewSound()->image()->name(), !before ? "i_img_menu_toggleON.png" : "i_img_menu_toggleOFF.png");

    ASSERT_TRUE(drive("tap id=btnSound"));
    UserDefaults::standard().reset();
    EXPECT_EQ(UserDefaults::standard().boolForKey("savedSound"), before);
    EXPECT_EQ(menu->imgViewSound()->image()->name(), before ? "i_img_menu_toggleON.png" : "i_img_menu_toggleOFF.png");
}

TEST_F(WidgetMenuTest, SwitchingVibrationOnBuzzesOnceAndOffStaysQuiet) {
    UserDefaults::standard().setBool(false, "savedRung");
    auto menu = openMenu();
    EXPECT_EQ(menu->imgViewVibration()->image()->name(), "i_img_menu_toggleOFF.png");
    platform::Vibration::clearRecord();
    ASSERT_TRUE(drive("tap id=btnVibration"));
    EXPECT_EQ(platform::Vibration::count(), 1);
    EXPECT_TRUE(UIController::rung());
    UserDefaults::standard().reset();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("savedRung"));

    ASSERT_TRUE(drive("tap id=btnVibration"));
    EXPECT_EQ(platform::Vibration::count(), 1);
    EXPECT_FALSE(UIController::rung());
    EXPECT_EQ(menu->imgViewVibration()->image()->name(), "i_img_menu_toggleOFF.png");
}

TEST_F(WidgetMenuTest, TurnTimeShowsItsSecondsAndSpeed) {
    auto menu = openMenu();
    menu->setTimerTime(120);
    EXPECT_EQ(menu->lblTime()->text(), "120");
    EXPECT_EQ(menu->lblTimeText()->text(), text("KAVO_MauBinh_Time0_Slow"));
    menu->setTimerTime(60);
    EXPECT_EQ(menu->lblTime()->text(), "60");
    EXPECT_EQ(menu->lblTimeText()->text(), text("KAVO_MauBinh_Time2_Fast"));
    menu->setTimerTime(90);
    EXPECT_EQ(menu->lblTime()->text(), "90");
    EXPECT_EQ(menu->lblTimeText()->text(), text("KAVO_MauBinh_Time1_Average"));
}

class WidgetMenuPickerTest : public WidgetMenuTest {
protected:
    void SetUp() override {
        WidgetMenuTest::SetUp();
        GlobalService::getInstance().setSession(&wire_);
        table_ = std::make_shared<MauBinhView>();
        table_->setRoomId(3);
        table_->setBoardId(7);
    }
    void TearDown() override {
        GlobalService::getInstance().setSession(nullptr);
        WidgetMenuTest::TearDown();
    }
    // The body of the one limit-time request sent.
    std::vector<uint8_t> sentLimit() const {
        std::vector<uint8_t> body;
        for (const auto& message : wire_.sent(47))
            body = message.body;
        return body;
    }

    RecordingSession wire_;
    std::shared_ptr<MauBinhView> table_;
};

TEST_F(WidgetMenuPickerTest, PickingFastAndDoneSendsChoiceTwoForTheTable) {
    auto menu = openMenu(table_);
    ASSERT_TRUE(drive("tap id=btnTime"));
    EXPECT_TRUE(menu->pickerMauBinh()->isVisibleOnScreen());
    ASSERT_EQ(menu->pickerMauBinh()->numberOfRowsInComponent(0), 3);
    EXPECT_EQ(menu->pickerMauBinh()->titleForRow(2, 0), text("KAVO_MauBinh_Time2_Fast"));
    menu->didSelectRow(*menu->pickerMauBinh(), 2, 0);
    ASSERT_TRUE(drive("tap id=hidePickerView"));
    EXPECT_FALSE(menu->mnViewActionSheet()->isVisibleOnScreen());
    EXPECT_EQ(sentLimit(), (std::vector<uint8_t>{3, 7, 10, 2}));
}

TEST_F(WidgetMenuPickerTest, DoneWithoutPickingAsksForTheSlowTime) {
    auto menu = openMenu(table_);
    ASSERT_TRUE(drive("tap id=btnTime\ntap id=hidePickerView"));
    EXPECT_EQ(sentLimit(), (std::vector<uint8_t>{3, 7, 10, 0}));
}

TEST_F(WidgetMenuPickerTest, DoneOverAnotherScreenSendsNothing) {
    auto menu = openMenu();
    ASSERT_TRUE(drive("tap id=btnTime\ntap id=hidePickerView"));
    EXPECT_TRUE(wire_.sent().empty());
}

TEST_F(WidgetMenuTest, ClosingSlidesTheMenuOffAndRemovesTheBackdrop) {
    auto menu = openMenu();
    auto backdrop = View::make(Rect(0, 0, 480, 320));
    backdrop->setTag(MenuView::kBackdropTag);
    top()->view()->insertSubviewBelow(backdrop, menu.get());
    // A tap beside the tiles, under the second row, lands on the clear background.
    platform::ui::Application::shared().dispatchTouch(platform::ui::TouchPhase::Began, {108, 300});
    platform::ui::Application::shared().dispatchTouch(platform::ui::TouchPhase::Ended, {108, 300});
    EXPECT_FALSE(delegate().btnBack()->isHidden());
    EXPECT_EQ(menu->frame(), Rect(-216, 0, 216, 320));
    EXPECT_FALSE(menu->isHidden());
    advance(MenuView::kCloseDuration);
    EXPECT_TRUE(menu->isHidden());
    EXPECT_EQ(backdrop->superview(), nullptr);
}

TEST_F(WidgetMenuTest, PasswordTileSlidesTheBoardPasswordSheetIn) {
    auto menu = openMenu();
    ASSERT_TRUE(drive("tap id=btnPassword"));
    ASSERT_TRUE(menu->mnPassword());
    EXPECT_EQ(menu->mnPassword()->view()->superview(), top()->view().get());
    EXPECT_EQ(top()->view()->subviews().back(), menu->mnPassword()->view());
}

// On the phone and the tablet alike the two rows lie one under the other within the screen's
// height, every tile inside its row, and the picker sheet spans the screen's width.
TEST_F(WidgetMenuTest, OnEachDeviceTheRowsFitTheScreenAndHoldTheirTiles) {
    for (auto idiom : {platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet}) {
        platform::ui::Screen::setIdiom(idiom);
        const platform::ui::Size screen = platform::ui::Screen::size();
        auto menu = MenuView::make(Rect(0, 0, 216, 320));
        const Rect row1 = menu->viewRow1()->frame(), row2 = menu->viewRow2()->frame();
        EXPECT_GE(row1.minY(), 0);
        EXPECT_LE(row1.maxY(), row2.minY());
        EXPECT_LE(row2.maxY(), screen.height);
        for (const auto& tile : {menu->viewSound(), menu->viewVibration(), menu->viewTimer(), menu->viewPassword()})
            EXPECT_TRUE(tile->superview()->bounds().contains(tile->frame())) << tile->accessibilityIdentifier();
        EXPECT_EQ(menu->mnViewActionSheet()->frame().width(), std::max(screen.width, screen.height));
    }
}

TEST_F(WidgetMenuTest, SocialNetworkTileOnlyShowsItsNotice) {
    openMenu();
    ASSERT_TRUE(drive("tap id=btnSocialNetwork\nexpect text=" + text("KAVO_WarningUnderConstruction")));
}

} // namespace
} // namespace kavo::test
