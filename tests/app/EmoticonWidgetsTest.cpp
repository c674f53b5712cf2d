#include "app/Resources.h"
#include "app/widgets/CustomLabel.h"
#include "app/widgets/CustomTextField.h"
#include "app/widgets/EmoticonText.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::ui::Color;
using platform::ui::RecordingContext;
using platform::ui::Rect;

// A small table in a fixed order; ":)" comes before ":))" on purpose.
EmoticonTable smileys() {
    return {{":)", "emo_smile.png"}, {":(", "emo_sad.png"}, {"(y)", "emo_like.png"}};
}

class EmoticonWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone); }
    void TearDown() override { platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone); }

    // The drawing calls of one pass, without the colour and clip bookkeeping.
    static std::vector<std::string> drawnPieces(platform::ui::View& view) {
        RecordingContext context;
        view.draw(context);
        std::vector<std::string> pieces;
        for (const auto& line : context.lines())
            if (line.rfind("drawTextAt", 0) == 0 || line.rfind("drawImage", 0) == 0) pieces.push_back(line);
        return pieces;
    }

    // The x of a "drawTextAt \"text\" x y ..." line.
    static double penX(const std::string& line) {
        const size_t close = line.find('"', line.find('"') + 1);
        return std::stod(line.substr(close + 2));
    }

    AppEnvironment environment_;
};

TEST_F(EmoticonWidgetsTest, LabelCountsEachCodeAndDrawsLettersAndPicturesInTextOrder) {
    auto label = CustomLabel::make(Rect{0, 0, 200, 30});
    label->setEmoticons(smileys());
    label->setText("a:)b:)");
    EXPECT_EQ(label->numOfEmos(), 2);

    auto pieces = drawnPieces(*label);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_NE(pieces[0].find("\"a\""), std::string::npos);
    EXPECT_NE(pieces[1].find("emo_smile.png"), std::string::npos);
    EXPECT_NE(pieces[2].find("\"b\""), std::string::npos);
    EXPECT_NE(pieces[3].find("emo_smile.png"), std::string::npos);
}

TEST_F(EmoticonWidgetsTest, CodeNestedInsideItsOwnCopyCountsTwice) {
    // Removing the inner ":)" of "::))" joins the outer one.
    EXPECT_EQ(EmoticonText::countCodes("::))", smileys()), 2);
    EXPECT_EQ(EmoticonText::countCodes("no codes here", smileys()), 0);
    EXPECT_EQ(EmoticonText::countCodes("", smileys()), 0);
}

TEST_F(EmoticonWidgetsTest, OverlappingCodesGoToTheOneFirstInTableOrder) {
    // ":(y)" holds both ":(" and "(y)"; ":(" is listed first and wins.
    std::vector<std::string> order;
    EmoticonText::split(
        ":(y)", smileys(), [&](const std::string& plain) { order.push_back("text " + plain); },
        [&](const std::string& code, const std::string&) { order.push_back("code " + code); });
    EXPECT_EQ(order, (std::vector<std::string>{"code :(", "text y)"}));
}

TEST_F(EmoticonWidgetsTest, LabelMadeBeforeTheTableIsLoadedShowsCodesAsText) {
    auto label = CustomLabel::make(Rect{0, 0, 200, 30});
    label->setEmoticons({}); // the table a label takes before the first log-in
    label->setText("hi :) there");
    EXPECT_EQ(label->numOfEmos(), 0);
    auto pieces = drawnPieces(*label);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NE(pieces[0].find("\"hi :) there\""), std::string::npos);
}

TEST_F(EmoticonWidgetsTest, LabelMadeAfterLogInUsesTheLoadedTable) {
    Resources::getInstance().initAfterLogin(); // loads the emoticon table from the bundle
    auto label = CustomLabel::make(Rect{0, 0, 200, 30});
    ASSERT_FALSE(label->emoticons().empty());
    label->setText("chào :) (y)");
    EXPECT_EQ(label->numOfEmos(), 2);
}

TEST_F(EmoticonWidgetsTest, PictureAdvancesThePenByFrameHeightLessThreeWhateverItsSize) {
    auto label = CustomLabel::make(Rect{0, 0, 300, 30});
    label->setEmoticons({{":)", "emo_smile.png"}, {"#", "no_such_picture.png"}});
    label->setText(":)#x");
    RecordingContext context;
    label->draw(context);
    // Two pictures (one missing, drawing nothing) advance 27 points each on a phone.
    auto texts = context.linesStartingWith("drawTextAt");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_DOUBLE_EQ(penX(texts[0]), 54);
    EXPECT_EQ(context.linesStartingWith("drawImage").size(), 1u);
}

TEST_F(EmoticonWidgetsTest, LabelDrawsInBlackWhiteGreenOrElseLightGrey) {
    auto label = CustomLabel::make(Rect{0, 0, 100, 30});
    label->setTextColor(Color::white());
    EXPECT_EQ(label->drawingColor(), Color::white());
    label->setTextColor(Color::green());
    EXPECT_EQ(label->drawingColor(), Color::green());
    label->setTextColor(Color::black());
    EXPECT_EQ(label->drawingColor(), Color::black());
    label->setTextColor(Color::rgba(255, 200, 0));
    EXPECT_EQ(label->drawingColor(), Color::white(0.8));
    label->setTextColor(Color::yellow());
    label->setText("z");
    auto pieces = drawnPieces(*label);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NE(pieces[0].find("color=0.8,0.8,0.8,1"), std::string::npos) << pieces[0];
}

// Hears the field's editing calls.
class FieldOwner : public CustomTextFieldOwner {
public:
    void beginEdit(CustomTextField&) override { ++begins; }
    void endEditing(CustomTextField& field) override {
        ++ends;
        lastText = field.text();
    }
    int begins = 0;
    int ends = 0;
    std::string lastText;
};

TEST_F(EmoticonWidgetsTest, ReturnInTheFieldEndsEditingOnceWithoutALineBreak) {
    FieldOwner owner;
    auto field = CustomTextField::make(Rect{0, 0, 200, 30});
    field->setParentViewController(&owner);
    field->touchesBegan({});
    field->touchesBegan({}); // a touch while editing does nothing more
    EXPECT_EQ(owner.begins, 1);
    EXPECT_TRUE(field->isBecomeFirstResponder());
    field->insertText("xin chào");
    field->insertText("\n");
    EXPECT_EQ(owner.ends, 1);
    EXPECT_EQ(owner.lastText, "xin chào");
    EXPECT_FALSE(field->isBecomeFirstResponder());
    EXPECT_FALSE(field->isFirstResponder());
    field->resignFirstResponder();
}

TEST_F(EmoticonWidgetsTest, BackspaceRemovesOneWholeCharacterAndNothingOnAnEmptyField) {
    auto field = CustomTextField::make(Rect{0, 0, 200, 30});
    EXPECT_FALSE(field->typedText().has_value());
    field->deleteBackward();
    EXPECT_EQ(field->text(), "");
    field->setText("ạb");
    field->deleteBackward();
    EXPECT_EQ(field->text(), "ạ");
    field->deleteBackward(); // a two-byte letter goes at once
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(field->hasText());
}

TEST_F(EmoticonWidgetsTest, FieldDrawsTheBoxThenBoldBlackTextAndPicturesAtTheirOwnSize) {
    auto field = CustomTextField::make(Rect{0, 0, 200, 30});
    field->setEmoticons(smileys());
    field->setText("a:)b");
    RecordingContext context;
    field->draw(context);
    auto images = context.linesStartingWith("drawImage");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_NE(images[0].find("textbox400.png 0 0 200 30"), std::string::npos) << images[0];
    auto smile = platform::ui::Image::named("emo_smile.png");
    ASSERT_TRUE(smile);
    auto texts = context.linesStartingWith("drawTextAt");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_DOUBLE_EQ(penX(texts[0]), 10);
    EXPECT_NE(texts[0].find("bold color=0,0,0,1"), std::string::npos) << texts[0];
    const double afterA = 10 + platform::ui::Font::boldSystem(16).measure("a").width;
    const double afterSmile = afterA + smile->width() + 3;
    EXPECT_NEAR(penX(texts[1]), afterSmile, 0.001) << texts[1];
}

} // namespace
} // namespace kavo::test
