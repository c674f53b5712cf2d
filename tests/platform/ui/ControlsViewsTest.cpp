#include "ControlsTestSupport.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/Toolbar.h"

#include <cmath>

using namespace platform::ui;

class ViewsTest : public ControlsTest {};

TEST_F(ViewsTest, LabelCutsALongLineWithAnEllipsisAndWrapsWhenAllowed) {
    auto label = Label::make({0, 0, 120, 40}, "Chúc mừng bạn đã thắng ván bài này!");
    auto lines = label->displayLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 3), "\u2026");
    EXPECT_LE(label->font().measure(lines[0]).width, 120);

    label->setNumberOfLines(0);
    label->setFrame({0, 0, 120, 400});
    lines = label->displayLines();
    EXPECT_GE(lines.size(), 3u);
    EXPECT_EQ(label->sizeThatFits({120, 0}).height, std::ceil(lines.size() * label->font().lineHeight()));

    label->setNumberOfLines(2);
    lines = label->displayLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 3), "\u2026");
}

TEST_F(ViewsTest, LabelShrinksToFitDownToItsMinimumSize) {
    auto label = Label::make({0, 0, 80, 20}, "Tiến lên miền Nam");
    label->setFont(Font::boldSystem(16));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(10);
    Font fitted = label->fittedFont();
    EXPECT_LT(fitted.size(), 16);
    EXPECT_GE(fitted.size(), 10);
    RecordingContext context;
    label->draw(context);
    EXPECT_EQ(context.linesStartingWith("drawText").size(), 1u);
}

TEST_F(ViewsTest, LabelsAndPicturesLetTouchesThroughToWhatHoldsThem) {
    auto panel = View::make({0, 0, 200, 100});
    auto label = Label::make({10, 10, 100, 20}, "Gọi hỗ trợ");
    auto picture = ImageView::make(Rect{10, 40, 50, 50});
    panel->addSubview(label);
    panel->addSubview(picture);
    window->addSubview(panel);
    EXPECT_EQ(window->hitTest({20, 15}), panel.get());
    EXPECT_EQ(window->hitTest({20, 50}), panel.get());
}

TEST_F(ViewsTest, ImageViewPlacesItsPictureByContentMode) {
    auto image = Image::filled(40, 20, Color::green());
    EXPECT_EQ(rectForContentMode(ContentMode::ScaleAspectFit, {0, 0, 100, 100}, image->size()), (Rect{0, 25, 100, 50}));
    EXPECT_EQ(rectForContentMode(ContentMode::ScaleAspectFill, {0, 0, 100, 100}, image->size()),
              (Rect{-50, 0, 200, 100}));
    EXPECT_EQ(rectForContentMode(ContentMode::Center, {0, 0, 100, 100}, image->size()), (Rect{30, 40, 40, 20}));
    auto view = ImageView::make(image);
    EXPECT_EQ(view->frame(), (Rect{0, 0, 40, 20}));
}

TEST_F(ViewsTest, ImageViewFlipBookAdvancesOnTheClockAndStops) {
    auto view = ImageView::make(Rect{0, 0, 30, 30});
    std::vector<ImagePtr> frames{Image::filled(2, 2, Color::red()), Image::filled(2, 2, Color::green()),
                                 Image::filled(2, 2, Color::blue())};
    view->setAnimationImages(frames);
    view->setAnimationDuration(0.3);
    view->setAnimationRepeatCount(1);
    view->startAnimating();
    EXPECT_EQ(view->currentImage(), frames[0]);
    advance(0.1);
    EXPECT_EQ(view->currentImage(), frames[1]);
    advance(0.1);
    EXPECT_EQ(view->currentImage(), frames[2]);
    advance(0.1);
    EXPECT_FALSE(view->isAnimating());
}

TEST_F(ViewsTest, ActivityIndicatorShowsOnlyWhileSpinning) {
    auto spinner = ActivityIndicatorView::make(ActivityIndicatorStyle::WhiteLarge);
    EXPECT_EQ(spinner->frame().size, (Size{37, 37}));
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimating();
    EXPECT_FALSE(spinner->isHidden());
    advance(0.3); // a spoke every twelfth of a second
    EXPECT_EQ(spinner->phase(), 3);
    RecordingContext context;
    spinner->draw(context);
    EXPECT_EQ(context.linesStartingWith("drawLine").size(), size_t(ActivityIndicatorView::spokes()));
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());
    advance(1);
    EXPECT_EQ(spinner->phase(), 3);
}

TEST_F(ViewsTest, ProgressIsClampedAndFillsItsShare) {
    auto bar = ProgressView::make({0, 0, 120, 8});
    bar->setProgress(1.7);
    EXPECT_EQ(bar->progress(), 1);
    bar->setProgress(0.25);
    RecordingContext context;
    bar->draw(context);
    auto fills = context.linesStartingWith("fillPath");
    ASSERT_EQ(fills.size(), 2u); // the track, then the filled quarter
}

TEST_F(ViewsTest, ToolbarDoneButtonSitsRightOfAFlexibleSpaceAndRunsItsAction) {
    auto bar = Toolbar::make({0, 134, 480, 44});
    bar->setBarStyle(BarStyle::Black);
    int done = 0;
    SystemWords::set({{SystemWord::Done, "Xong"}}); // the application's word
    auto item = BarButtonItem::withSystemItem(BarButtonSystemItem::Done, [&] { ++done; });
    bar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), item});
    window->addSubview(bar);
    SystemWords::set({});
    auto button = findButton("Xong");
    ASSERT_TRUE(button);
    EXPECT_EQ(button, bar->buttonForItem(item.get()));
    EXPECT_NEAR(button->frame().maxX(), 474, 0.5);
    tap(*button);
    EXPECT_EQ(done, 1);
    item->setEnabled(false);
    tap(*button);
    EXPECT_EQ(done, 1);
    item->setTitle("Finish");
    EXPECT_EQ(button->text(), "Finish");
}
