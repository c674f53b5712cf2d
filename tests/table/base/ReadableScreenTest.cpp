// The reading of a screen that the screenshot tests rely on: what it finds and what it
// lets pass, on small screens built for it.
#include "tests/support/client/ReadableScreen.h"

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

namespace ui = platform::ui;

class ReadableScreen : public TableTest {
protected:
    std::shared_ptr<ui::View> root() {
        if (!screen_) {
            screen_ = std::make_shared<KavoViewController>();
            push(screen_);
        }
        return screen_->view();
    }
    std::shared_ptr<ui::Label> label(ui::Rect frame, const std::string& id, const std::string& text) {
        auto made = ui::Label::make(frame, text);
        made->setAccessibilityIdentifier(id);
        made->setFont(ui::Font::system(12));
        root()->addSubview(made);
        return made;
    }

private:
    std::shared_ptr<KavoViewController> screen_;
};

TEST_F(ReadableScreen, TextsApartAndWholeReadWell) {
    label({10, 110, 100, 20}, "lblName", "an");
    label({10, 140, 100, 20}, "lblMoney", "500,000 Zel");
    EXPECT_EQ(describe(unreadableTexts()), "");
}

TEST_F(ReadableScreen, TwoTextsOnEachOtherAreFound) {
    label({10, 110, 100, 20}, "lblName", "nguoichoi an");
    auto button = ui::Button::make({12, 112, 80, 20});
    button->setAccessibilityIdentifier("btnChat");
    button->setTitle("Chat");
    root()->addSubview(button);
    EXPECT_EQ(describe(unreadableTexts()), "  lblName \"nguoichoi an\" and btnChat \"Chat\" overlap\n");
}

TEST_F(ReadableScreen, ATextCutWithAnEllipsisIsFound) {
    label({10, 110, 30, 20}, "lblMoney", "500,000 Zel");
    EXPECT_EQ(describe(unreadableTexts()), "  lblMoney \"500,000 Zel\" is cut\n");
}

TEST_F(ReadableScreen, ATextShrunkToFitIsWhole) {
    auto money = label({10, 110, 50, 20}, "lblMoney", "500,000 Zel");
    money->setAdjustsFontSizeToFitWidth(true);
    money->setMinimumFontSize(6);
    EXPECT_EQ(describe(unreadableTexts()), "");
}

TEST_F(ReadableScreen, APictureDrawnOverPartOfATextIsFound) {
    label({10, 110, 100, 20}, "lblName", "nguoichoi");
    auto card = ui::ImageView::make({20, 105, 30, 40});
    card->setAccessibilityIdentifier("card3");
    card->setImage(ui::Image::filled(30, 40, ui::Color::white()));
    root()->addSubview(card);
    EXPECT_EQ(describe(unreadableTexts()), "  lblName \"nguoichoi\" is covered by the picture card3\n");
}

TEST_F(ReadableScreen, AButtonHalfOutOfTheWindowIsFound) {
    auto heart = ui::Button::make({472, 124, 24, 24});
    heart->setAccessibilityIdentifier("btnPresent1");
    heart->setImage(ui::Image::filled(24, 24, ui::Color::red()));
    root()->addSubview(heart);
    EXPECT_EQ(describe(unreadableTexts()), "  btnPresent1 runs out of the window\n");
}

// Scrolling sideways brings neither what lies beyond the content's width into sight nor
// what a row of the list clips.
TEST_F(ReadableScreen, ATextCutSidewaysInAListIsFoundWhereScrollingDoesNotShowIt) {
    struct Case {
        double contentWidth;
        bool inRow;
        const char* found;
    };
    const std::string cut = "  vThangCap \"42 %\" runs out of its window or parent\n";
    for (const Case& c : {Case{200, false, cut.c_str()}, Case{205, false, cut.c_str()}, Case{300, false, ""},
                          Case{300, true, cut.c_str()}}) {
        auto list = ui::ScrollView::make({10, 60, 200, 100});
        list->setContentSize({c.contentWidth, 400});
        root()->addSubview(list);
        auto row = ui::View::make({150, 0, c.inRow ? 45.0 : 150.0, 40});
        row->setClipsToBounds(true);
        list->addSubview(row);
        auto percent = ui::Label::make({40, 10, 60, 20}, "42 %");
        percent->setAccessibilityIdentifier("vThangCap");
        row->addSubview(percent);
        list->addSubview(ui::Label::make({10, 90, 100, 20}, "Nam"));
        EXPECT_EQ(describe(unreadableTexts()), c.found) << c.contentWidth << (c.inRow ? " in a row" : "");
        list->removeFromSuperview();
    }
}

TEST_F(ReadableScreen, OnlyTheSheetIsJudgedWhenOneIsOpen) {
    label({10, 110, 100, 20}, "lblName", "an");
    auto sheet = ui::View::make({0, 100, 200, 100});
    root()->addSubview(sheet);
    auto title = ui::Label::make({10, 10, 100, 20}, "Đặt cược");
    title->setAccessibilityIdentifier("lblTitle");
    sheet->addSubview(title);
    EXPECT_NE(describe(unreadableTexts()), "");
    auto inside = ui::Label::make({10, 50, 100, 20}, "Hủy");
    sheet->addSubview(inside);
    EXPECT_EQ(describe(unreadableTexts(sheet.get())), "");
}

} // namespace
} // namespace kavo::test
