// Renders each widget offscreen into the build folder (widget-*.png) so a person can look
// at them, and checks a few pixels that show each was drawn at all.
#include "app/EventView.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/widgets/CustomAlertBackground.h"
#include "app/widgets/CustomBlockAlertView.h"
#include "app/widgets/CustomSwitch.h"
#include "app/widgets/CustomTextPromt.h"
#include "app/widgets/CustomUIFont.h"
#include "app/widgets/CustomUIMessageBox.h"
#include "app/widgets/CustomUISwitch.h"
#include "app/widgets/MenuView.h"
#include "app/widgets/RefreshTableHeaderView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::render::Renderer;
using platform::ui::Color;
using platform::ui::Image;
using platform::ui::ImagePtr;
using platform::ui::Rect;
using platform::ui::View;

class WidgetScreenshotTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Resources::getInstance().loadLanguage();
        Resources::getInstance().setImgFont(Image::named("font_kavo.png"));
        CustomAlertBackground::sharedInstance()->reset();
        launch();
        screen_ = std::make_shared<KavoViewController>();
        push(screen_);
    }
    void TearDown() override {
        CustomAlertBackground::sharedInstance()->reset();
        Resources::getInstance().setImgFont(nullptr);
        screen_.reset();
        ShellTest::TearDown();
    }
    // Writes the shot into the build folder and reads it back.
    static ImagePtr shoot(const std::string& name) {
        const std::string path = "widget-" + name + ".png";
        EXPECT_TRUE(Renderer::writeScreenshot(path)) << path;
        return Image::fromFile(path);
    }
    // Whether some pixel of the area is close to the colour.
    static bool anyPixelNear(const ImagePtr& shot, Rect area, Color color) {
        for (int y = int(area.y()); y < int(area.maxY()); ++y)
            for (int x = int(area.x()); x < int(area.maxX()); ++x) {
                Color c = shot->pixel(x, y);
                if (std::abs(c.red8() - color.red8()) < 40 && std::abs(c.green8() - color.green8()) < 40 &&
                    std::abs(c.blue8() - color.blue8()) < 40)
                    return true;
            }
        return false;
    }
    View& page() { return *screen_->view(); }

    std::shared_ptr<KavoViewController> screen_;
};

TEST_F(WidgetScreenshotTest, BitmapFontSwitchesAndPullHeader) {
    page().setBackgroundColor(Color::rgba(20, 60, 40));
    auto big = CustomUIFont::labelWithFrame(Rect(10, 10, 460, 60), "0123456789:.,!?", "", 42);
    auto line = CustomUIFont::labelWithFrame(Rect(10, 70, 460, 40), "Xổ số: Đặc biệt 12.500$", "", 28);
    line->setTextAlignment(CustomUIFont::Left);
    auto right = CustomUIFont::labelWithFrame(Rect(10, 110, 460, 30), "QUAY SỐ @ 20:00", "", 21);
    right->setTextAlignment(CustomUIFont::Right);
    for (const auto& label : {big, line, right})
        page().addSubview(label);

    auto off = CustomSwitch::make(Rect(10, 150, 80, 28));
    off->setOn(false);
    auto pictured = CustomSwitch::make(Rect(100, 150, 80, 28));
    pictured->setOnImage(Image::named("i_img_menu_toggleON.png"));
    pictured->setOffImage(Image::named("i_img_menu_toggleOFF.png"));
    pictured->setThumbnailButtonImage(Image::named("button_red_small.png")->scaled({28, 28}));
    auto plainOn = CustomSwitch::make(Rect(190, 150, 80, 28));
    auto localised = CustomUISwitch::make(Rect(290, 150, 79, 27));
    localised->setOn(true);
    for (const auto& control : std::vector<platform::ui::ViewPtr>{off, pictured, plainOn, localised})
        page().addSubview(control);

    auto normal = RefreshTableHeaderView::make(Rect(0, 190, 240, 120));
    normal->setBottomBorderThickness(2);
    normal->setLastRefreshDate(1'700'000'000);
    auto loading = RefreshTableHeaderView::make(Rect(240, 190, 240, 60));
    loading->setState(PullRefreshLoading);
    loading->setBottomBorderThickness(1);
    loading->setBackgroundColor(Color::rgba(40, 40, 70));
    page().addSubview(normal);
    page().addSubview(loading);
    page().layoutIfNeeded();

    auto shot = shoot("font-controls");
    ASSERT_TRUE(shot);
    // The sheet's gold glyphs show in the first label.
    EXPECT_TRUE(anyPixelNear(shot, Rect(20, 20, 440, 40), Color::rgba(255, 214, 80)));
}

TEST_F(WidgetScreenshotTest, InTableMenuAndItsPicker) {
    page().setBackgroundColor(Color::rgba(20, 100, 60));
    auto menu = MenuView::make(Rect(0, 0, 216, 320));
    menu->setTimerTime(90);
    page().addSubview(menu);
    ASSERT_TRUE(shoot("menu"));
    menu->btnTime_Clicked();
    auto shot = shoot("menu-picker");
    ASSERT_TRUE(shot);
    EXPECT_TRUE(menu->pickerMauBinh()->isVisibleOnScreen());
}

TEST_F(WidgetScreenshotTest, BlockAlertAndPrompt) {
    page().setBackgroundColor(Color::rgba(20, 100, 60));
    auto alert = CustomBlockAlertView::alertWithTitle("Rời bàn?", "Bạn sẽ mất tiền cược của ván này.");
    alert->addButtonWithTitle("Đồng ý", {});
    alert->setCancelButtonWithTitle("Hủy", {});
    alert->addButtonWithTitle("Mời bạn bè cùng chơi", {});
    alert->show();
    advance(1);
    ASSERT_TRUE(shoot("alert"));
    alert->dismissWithClickedButtonIndex(1, false);

    auto prompt = CustomTextPromt::promptWithTitle("Mật khẩu bàn", "", "1234");
    prompt->setCancelButtonWithTitle("Hủy", {});
    prompt->setOKButtonWithTitle("OK", {});
    prompt->setVignetteBackground(true);
    prompt->show();
    advance(1);
    ASSERT_TRUE(shoot("prompt"));
    prompt->dismissWithClickedButtonIndex(0, false);
}

TEST_F(WidgetScreenshotTest, MessageBoxAndEventPage) {
    auto box = CustomUIMessageBox::make();
    auto panel = View::make(Rect(0, 0, 480, 120));
    panel->setBackgroundColor(Color::rgba(30, 30, 60, 0.9));
    auto words = platform::ui::Label::make(Rect(20, 20, 440, 80), "Chúc mừng! Bạn nhận được 5.000 Zel.");
    words->setTextColor(Color::white());
    words->setTextAlignment(platform::ui::TextAlignment::Center);
    panel->addSubview(words);
    box->setActionSheetView(panel);
    page().addSubview(box->view());
    box->viewWillAppear(false);
    advance(1);
    ASSERT_TRUE(shoot("messagebox"));
    box->view()->removeFromSuperview();

    auto events = EventView::make();
    push(events);
    events->setTitleLabel(Resources::getInstance().textWithKey("KAVO_event"));
    events->webView()->loadHTMLString("<html><body><h1>Sự kiện cuối tuần</h1><p>Nạp Zel nhận quà gấp đôi.</p>"
                                      "</body></html>");
    platform::RunLoop::main().runPending();
    auto shot = shoot("eventview");
    ASSERT_TRUE(shot);
    EXPECT_NE(events->webView()->pageText().find("Sự kiện"), std::string::npos);
}

} // namespace
} // namespace kavo::test
