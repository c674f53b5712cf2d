#include "platform/render/Renderer.h"

#include "RenderTestSupport.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Path.h"
#include "platform/ui/View.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace platform::render::test {
namespace {

using ui::Color;
using ui::Rect;

const Color kBackground = Color::rgba(40, 100, 160);

// A window holding one of each thing a screen draws, at known places.
std::shared_ptr<ui::Window> makeSampleWindow() {
    auto window = ui::Window::make();
    window->setBackgroundColor(kBackground);

    auto panel = ui::View::make({20, 20, 140, 70});
    panel->setBackgroundColor(Color::white());
    panel->layer().setBorderWidth(4);
    panel->layer().setBorderColor(Color::red());
    panel->layer().setCornerRadius(12);
    window->addSubview(panel);

    auto label = ui::Label::make({20, 110, 200, 40}, "Đăng nhập");
    label->setFont(ui::Font::boldSystem(22));
    label->setTextAlignment(ui::TextAlignment::Center);
    window->addSubview(label);

    auto picture = ui::ImageView::make({180, 20, 64, 64});
    picture->setImage(ui::Image::filled(16, 16, Color::green()));
    window->addSubview(picture);

    auto layerPicture = ui::View::make({260, 160, 32, 32});
    layerPicture->layer().setContents(ui::Image::filled(8, 8, Color::cyan()));
    window->addSubview(layerPicture);

    auto pie = ui::View::make({260, 20, 120, 120});
    pie->setDrawHandler([](ui::GraphicsContext& context, Rect bounds) {
        context.setFillColor(Color::yellow());
        context.fillPath(ui::Path::pieSector(bounds.center(), 50, 0, M_PI / 2));
    });
    window->addSubview(pie);

    auto hidden = ui::View::make({300, 200, 60, 60});
    hidden->setBackgroundColor(Color::magenta());
    hidden->setHidden(true);
    window->addSubview(hidden);

    auto faded = ui::View::make({20, 200, 100, 60});
    faded->setBackgroundColor(Color::white());
    faded->setAlpha(0.5);
    window->addSubview(faded);

    window->makeKeyAndVisible();
    return window;
}

TEST_F(RenderTest, PhoneScreenshotShowsEachKindOfDrawingWhereItBelongs) {
    auto window = makeSampleWindow();
    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width(), 480);
    EXPECT_EQ(shot->height(), 320);

    EXPECT_TRUE(pixelIs(shot, 470, 310, kBackground));
    // The panel: rounded corner left open, red border inside the edge, white inside.
    EXPECT_TRUE(pixelIs(shot, 20, 20, kBackground));
    EXPECT_TRUE(pixelIs(shot, 21, 55, Color::red()));
    EXPECT_TRUE(pixelIs(shot, 90, 55, Color::white()));
    // The picture fills its view.
    EXPECT_TRUE(pixelIs(shot, 212, 52, Color::green()));
    EXPECT_TRUE(pixelIs(shot, 181, 83, Color::green()));
    EXPECT_TRUE(pixelIs(shot, 276, 176, Color::cyan()));
    // The pie covers the lower right quarter of its circle only.
    EXPECT_TRUE(pixelIs(shot, 320 + 20, 80 + 20, Color::yellow()));
    EXPECT_TRUE(pixelIs(shot, 320 - 20, 80 - 20, kBackground));
    EXPECT_TRUE(pixelIs(shot, 320 - 20, 80 + 20, kBackground));
    // Nothing where the hidden view would be.
    EXPECT_TRUE(pixelIs(shot, 330, 230, kBackground));
    // Half white over the background.
    EXPECT_TRUE(pixelIs(shot, 70, 230, Color::rgba((40 + 255) / 2, (100 + 255) / 2, (160 + 255) / 2), 2));

    int dark = 0;
    for (int y = 110; y < 150; ++y) {
        for (int x = 20; x < 220; ++x) {
            if (brightness(shot->pixel(x, y)) < brightness(kBackground) - 0.2) ++dark;
        }
    }
    EXPECT_GT(dark, 40) << "the label's text should leave dark pixels";
}

TEST_F(RenderTest, TabletScreenshotCoversTheLargerScreen) {
    ui::Screen::setIdiom(ui::Idiom::Tablet);
    auto window = makeSampleWindow();
    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width(), 1024);
    EXPECT_EQ(shot->height(), 768);
    EXPECT_TRUE(pixelIs(shot, 1010, 750, kBackground));
    EXPECT_TRUE(pixelIs(shot, 320 + 20, 80 + 20, Color::yellow()));
}

TEST_F(RenderTest, ScreenshotFileReadsBackAsTheSamePicture) {
    auto window = makeSampleWindow();
    const std::string path = "render-sample-phone.png";
    ASSERT_TRUE(Renderer::writeScreenshot(path));

    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ui::ImagePtr read = ui::Image::fromData(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->width(), 480);
    EXPECT_EQ(read->height(), 320);
    EXPECT_TRUE(pixelIs(read, 340, 100, Color::yellow()));
    EXPECT_TRUE(pixelIs(read, 470, 310, kBackground));
}

TEST_F(RenderTest, HigherWindowLevelsDrawOnTop) {
    auto normal = ui::Window::make();
    normal->setBackgroundColor(Color::blue());
    normal->makeKeyAndVisible();
    auto alert = ui::Window::make({100, 100, 100, 100});
    alert->setWindowLevel(ui::WindowLevel::Alert);
    alert->setBackgroundColor(Color::red());
    alert->setHidden(false);

    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 150, 150, Color::red()));
    EXPECT_TRUE(pixelIs(shot, 50, 50, Color::blue()));
}

TEST_F(RenderTest, ScrolledAndClippingViewsShowOnlyTheirVisiblePart) {
    auto window = ui::Window::make();
    window->setBackgroundColor(Color::black());
    auto scroller = ui::View::make({100, 100, 100, 100});
    scroller->setClipsToBounds(true);
    scroller->setBounds({0, 50, 100, 100}); // scrolled down by 50
    auto content = ui::View::make({0, 0, 100, 300});
    content->setBackgroundColor(Color::green());
    auto marker = ui::View::make({0, 60, 100, 10});
    marker->setBackgroundColor(Color::red());
    content->addSubview(marker);
    scroller->addSubview(content);
    window->addSubview(scroller);
    window->makeKeyAndVisible();

    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 150, 115, Color::red())) << "content y 60 shows 10 below the top after a 50 scroll";
    EXPECT_TRUE(pixelIs(shot, 150, 195, Color::green()));
    EXPECT_TRUE(pixelIs(shot, 150, 205, Color::black())) << "content below the clip is cut";
    EXPECT_TRUE(pixelIs(shot, 150, 95, Color::black()));
}

TEST_F(RenderTest, TransformedViewTurnsAboutItsCentre) {
    auto window = ui::Window::make();
    window->setBackgroundColor(Color::black());
    auto bar = ui::View::make({140, 150, 200, 20}); // centre 240, 160
    bar->setBackgroundColor(Color::white());
    bar->setTransform(ui::AffineTransform::rotation(M_PI / 2));
    window->addSubview(bar);
    window->makeKeyAndVisible();

    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 240, 80, Color::white()));
    EXPECT_TRUE(pixelIs(shot, 240, 240, Color::white()));
    EXPECT_TRUE(pixelIs(shot, 160, 160, Color::black()));
}

TEST_F(RenderTest, ShadowFallsBehindTheViewAtItsOffset) {
    auto window = ui::Window::make();
    window->setBackgroundColor(Color::white());
    auto card = ui::View::make({100, 100, 50, 50});
    card->setBackgroundColor(Color::red());
    card->layer().setShadowOpacity(1);
    card->layer().setShadowOffset({10, 10});
    window->addSubview(card);
    window->makeKeyAndVisible();

    ui::ImagePtr shot = Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 155, 155, Color::black()));
    EXPECT_TRUE(pixelIs(shot, 125, 125, Color::red()));
}

// The drawing order a person relies on: background under content, subviews above their
// parent's drawing, the border over everything.
TEST_F(RenderTest, ViewPartsAreDrawnInLayerOrder) {
    auto view = ui::View::make({10, 10, 40, 40});
    view->setBackgroundColor(Color::white());
    view->layer().setBorderWidth(2);
    view->setDrawHandler([](ui::GraphicsContext& context, Rect) { context.drawLine({0, 0}, {1, 1}); });
    auto child = ui::View::make({0, 0, 5, 5});
    child->setBackgroundColor(Color::red());
    view->addSubview(child);
    auto hidden = ui::View::make({0, 0, 5, 5});
    hidden->setBackgroundColor(Color::blue());
    hidden->setHidden(true);
    view->addSubview(hidden);

    ui::RecordingContext recording;
    Renderer::drawView(recording, *view);
    std::vector<std::string> drawing;
    for (const std::string& line : recording.lines()) {
        if (line.rfind("fill", 0) == 0 || line.rfind("stroke", 0) == 0 || line.rfind("drawLine", 0) == 0) {
            drawing.push_back(line.substr(0, line.find(' ')));
        }
    }
    EXPECT_EQ(drawing, (std::vector<std::string>{"fillRect", "drawLine", "fillRect", "strokeRect"}));
}

} // namespace
} // namespace platform::render::test
