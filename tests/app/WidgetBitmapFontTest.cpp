#include "app/Resources.h"
#include "app/widgets/CustomUIFont.h"
#include "app/widgets/CustomUIFontTable.h"
#include "platform/ui/Image.h"
#include "tests/app/AppTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::ui::Image;
using platform::ui::ImageView;
using platform::ui::Rect;

class WidgetBitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override { Resources::getInstance().setImgFont(Image::named("font_kavo.png")); }
    void TearDown() override { Resources::getInstance().setImgFont(nullptr); }

    static std::shared_ptr<ImageView> glyph(const CustomUIFont& label, size_t index) {
        return std::dynamic_pointer_cast<ImageView>(label.subviews().at(index));
    }

    AppEnvironment environment_;
};

TEST_F(WidgetBitmapFontTest, TenAtNaturalSizeIsCentredInAHundredPointLabel) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "10", "ignored", 42);
    ASSERT_EQ(label->subviews().size(), 2u);
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->frame().width(), 20);
    EXPECT_DOUBLE_EQ(glyph(*label, 1)->frame().width(), 22);
    EXPECT_DOUBLE_EQ(label->totalLength(), 42);
    // Offset (100 - 42) / 2 = 29: the "1" is centred at 10 + 29.
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->center().x, 39);
    EXPECT_DOUBLE_EQ(glyph(*label, 1)->center().x, 29 + 20 + 11);
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->center().y, 30);
    EXPECT_FALSE(label->isUserInteractionEnabled());
}

TEST_F(WidgetBitmapFontTest, HalfTheSizeTakesHalfTheRoom) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "10", "", 21);
    EXPECT_DOUBLE_EQ(label->scaleSize(), 0.5);
    EXPECT_DOUBLE_EQ(label->totalLength(), 21);
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->frame().height(), 30);
}

TEST_F(WidgetBitmapFontTest, GlyphsShowTheirCellOfTheSheet) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "A", "", 42);
    auto image = glyph(*label, 0)->image();
    ASSERT_TRUE(image);
    // "A" is cell 118: column 6, row 7, 27 pixels wide.
    EXPECT_EQ(image->width(), 27);
    EXPECT_EQ(image->height(), 60);
    auto cell = Image::named("font_kavo.png")->cropped(Rect(6 * 36, 7 * 60, 27, 60));
    EXPECT_EQ(image->pixelData(), cell->pixelData());
}

TEST_F(WidgetBitmapFontTest, ANarrowLabelStopsAtTheFirstCharacterPastItsEdge) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 20, 60), "WWW", "", 42);
    // Before the second W, x is 35, past 20.
    EXPECT_EQ(label->subviews().size(), 1u);
    EXPECT_DOUBLE_EQ(label->totalLength(), 35);
    // Wider than the label: the centred offset is negative.
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->frame().x(), -7.5);
}

TEST_F(WidgetBitmapFontTest, CharactersOutsideTheFontTakeNoRoom) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 200, 60), "1€0", "", 42);
    EXPECT_DOUBLE_EQ(label->totalLength(), 42);
    ASSERT_EQ(label->subviews().size(), 3u);
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->frame().maxX(), glyph(*label, 2)->frame().x());
}

// The typeface draws its ten digits on one advance, and the sheet fits each into its cell:
// cells of nearly one width keep the digits' shapes. A "1" squeezed into two thirds of the
// others' room lost its proportions and drew as "]" at the lottery lists' small sizes.
TEST_F(WidgetBitmapFontTest, TheDigitsTakeNearlyOneWidthSoASmallOneReadsAsAOne) {
    int narrowest = 1000, widest = 0;
    for (const char* digit : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}) {
        const int width = CustomUIFont::getWidthOfCharacterAtIndex(CustomUIFont::getIndexOfCharacter(digit));
        narrowest = std::min(narrowest, width);
        widest = std::max(widest, width);
    }
    EXPECT_GE(double(narrowest) / widest, 0.85) << narrowest << " of " << widest;
}

TEST_F(WidgetBitmapFontTest, VietnameseLettersAndPunctuationAreInTheTable) {
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter(" "), 0);
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter("ự"), 111);
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter("Đ"), 144);
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter("'"), 228);
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter("€"), -1);
    EXPECT_EQ(CustomUIFont::getIndexOfCharacter("ab"), -1);
    EXPECT_EQ(CustomUIFont::getWidthOfCharacterAtIndex(226), 8);
    EXPECT_EQ(CustomUIFont::getWidthOfCharacterAtIndex(229), 0);
    EXPECT_EQ(CustomUIFont::getWidthOfCharacterAtIndex(-1), 0);
}

TEST_F(WidgetBitmapFontTest, AlignmentsShiftTheGlyphs) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "10", "", 42);
    label->setTextAlignment(CustomUIFont::Left);
    EXPECT_DOUBLE_EQ(glyph(*label, 0)->frame().x(), 0);
    label->setTextAlignment(CustomUIFont::Right);
    EXPECT_DOUBLE_EQ(glyph(*label, 1)->frame().maxX(), 100);
}

TEST_F(WidgetBitmapFontTest, TheSameSizeOrAlignmentDoesNotLayOutAgain) {
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "10", "", 42);
    auto first = label->subviews().front();
    label->setFontSize(42);
    label->setTextAlignment(CustomUIFont::Center);
    EXPECT_EQ(label->subviews().front(), first);
    label->setFontSize(21);
    EXPECT_NE(label->subviews().front(), first);
    EXPECT_DOUBLE_EQ(label->totalLength(), 21);
}

TEST_F(WidgetBitmapFontTest, APlainLabelIsEmptyUntilSetUp) {
    auto label = CustomUIFont::make(Rect(0, 0, 50, 20));
    label->setString("12");
    EXPECT_TRUE(label->subviews().empty());
    label->setTextAlignment(CustomUIFont::Left);
    CustomUIFont::labelWithFrame(Rect(5, 5, 100, 60), "12", "", 42, *label);
    EXPECT_EQ(label->frame(), Rect(5, 5, 100, 60));
    EXPECT_EQ(label->textAlignment(), CustomUIFont::Center);
    EXPECT_EQ(label->subviews().size(), 2u);
}

TEST_F(WidgetBitmapFontTest, WithoutTheSheetGlyphsTakeTheirRoomAndShowNothing) {
    Resources::getInstance().setImgFont(nullptr);
    auto label = CustomUIFont::labelWithFrame(Rect(0, 0, 100, 60), "10", "", 42);
    EXPECT_DOUBLE_EQ(label->totalLength(), 42);
    EXPECT_FALSE(glyph(*label, 0)->image());
}

// The sheet is drawn by the project's placeholder tool from the same table: every glyph must
// lie inside the first w pixels of its cell, and every printable one must leave some ink.
TEST_F(WidgetBitmapFontTest, TheSheetAgreesWithTheWidthTable) {
    auto sheet = Image::named("font_kavo.png");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->width(), bitmapfont::kCellsPerRow * bitmapfont::kCellWidth);
    EXPECT_GE(sheet->height(), 15 * bitmapfont::kCellHeight);
    for (int i = 0; i < bitmapfont::kCharacterCount; ++i) {
        const int x0 = (i % 16) * 36, y0 = (i / 16) * 60, width = bitmapfont::widthAtIndex(i);
        bool inkInside = false, inkOutside = false;
        for (int y = y0; y < y0 + 60; ++y)
            for (int x = x0; x < x0 + 36; ++x) {
                if (sheet->pixel(x, y).a > 0) (x < x0 + width ? inkInside : inkOutside) = true;
            }
        EXPECT_FALSE(inkOutside) << "cell " << i;
        if (i != 0) {
            EXPECT_TRUE(inkInside) << "cell " << i;
        }
    }
}

} // namespace
} // namespace kavo::test
