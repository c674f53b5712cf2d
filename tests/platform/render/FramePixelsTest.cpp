// Whole frames of a busy table-like screen, checked byte for byte: the frame must come out
// exactly as it always has, however the renderer gets there.

#include "RenderTestSupport.h"
#include "platform/render/OffscreenTarget.h"
#include "platform/render/Renderer.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Path.h"
#include "platform/ui/View.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace platform::render::test {
namespace {

using ui::Color;
using ui::Rect;

// FNV-1a over every byte of the picture: any changed pixel changes it.
uint64_t fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : bytes)
        hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

// A card face: rounded transparent corners with soft edges, a patterned inside, every alpha
// value somewhere along the border.
ui::ImagePtr cardImage(int width, int height, uint8_t hue) {
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    const double radius = 9;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double cx = std::clamp(double(x) + 0.5, radius, width - radius);
            const double cy = std::clamp(double(y) + 0.5, radius, height - radius);
            const double outside = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - (radius - 1.5);
            const double coverage = std::clamp(1.0 - outside / 3, 0.0, 1.0);
            uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
            p[0] = uint8_t((x * 7 + y * 3 + hue) & 0xff);
            p[1] = uint8_t((x * y + hue * 5) & 0xff);
            p[2] = uint8_t(255 - ((y * 11) & 0xff));
            p[3] = uint8_t(std::lround(coverage * 255));
        }
    }
    return ui::Image::fromPixels(width, height, std::move(rgba));
}

// Every pixel fully opaque (a photo, a felt texture).
ui::ImagePtr opaqueImage(int width, int height) {
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = uint8_t(i * 13 / 4);
        rgba[i + 1] = uint8_t(i / 4 + 40);
        rgba[i + 2] = uint8_t(i * 5 / 4);
        rgba[i + 3] = 255;
    }
    return ui::Image::fromPixels(width, height, std::move(rgba));
}

// Every alpha from 0 to 255 in turn over changing colours (a glow, a shadow picture).
ui::ImagePtr translucentImage(int width, int height) {
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = uint8_t(255 - i / 4);
        rgba[i + 1] = uint8_t(i * 3 / 4);
        rgba[i + 2] = uint8_t(i / 8 + 100);
        rgba[i + 3] = uint8_t(i / 4 * 37);
    }
    return ui::Image::fromPixels(width, height, std::move(rgba));
}

std::shared_ptr<ui::ImageView> picture(const ui::ImagePtr& image, Rect frame) {
    auto view = ui::ImageView::make(frame);
    view->setImage(image);
    return view;
}

// The busy table at a screen size: felt, seats with plates and names, a hand of cards drawn
// smaller and larger than their pictures, cards on the table, a faded picture, bubbles,
// stretchable buttons, a turned card, a clipped strip and things hanging off the screen.
std::shared_ptr<ui::Window> busyTable(double width, double height, Color background) {
    auto window = ui::Window::make();
    window->setFrame({0, 0, width, height});
    window->setBackgroundColor(background);

    auto felt = ui::View::make({width * 0.2, height * 0.15, width * 0.6, height * 0.6});
    felt->setBackgroundColor(Color::rgba(15, 110, 60));
    felt->layer().setCornerRadius(width * 0.05);
    felt->layer().setBorderWidth(3);
    felt->layer().setBorderColor(Color::rgba(120, 80, 20));
    window->addSubview(felt);

    window->addSubview(picture(opaqueImage(40, 30), {6.5, 4.25, 77.3, 51.6}));
    window->addSubview(picture(opaqueImage(60, 40), {width - 70, 10, 60, 40}));

    const ui::ImagePtr face = cardImage(120, 160, 30);
    const double step = width / 22;
    const double cardWidth = width / 8, cardHeight = cardWidth * 1.3;
    for (int i = 0; i < 13; ++i) {
        window->addSubview(
            picture(i % 5 == 0 ? cardImage(120, 160, uint8_t(i * 19)) : face,
                    {width * 0.18 + i * step + 0.3 * i, height - cardHeight - 8.6, cardWidth, cardHeight}));
    }
    for (int i = 0; i < 3; ++i)
        window->addSubview(picture(face, {width * 0.4 + i * step, height * 0.3, 120, 160}));

    auto turned = picture(face, {width * 0.7, height * 0.3, cardWidth, cardHeight});
    turned->setTransform(ui::AffineTransform::rotation(0.3));
    window->addSubview(turned);

    auto faded = picture(translucentImage(69, 63), {width * 0.43, height * 0.34, width * 0.14, height * 0.2});
    faded->setAlpha(0.35);
    window->addSubview(faded);
    window->addSubview(picture(translucentImage(20, 30), {width * 0.3, height * 0.5, 38.3, 62.4}));

    const ui::ImagePtr button = cardImage(60, 40, 200)->stretchable(24, 15);
    window->addSubview(picture(button, {width * 0.8, height * 0.35, 136, 40}));
    window->addSubview(picture(opaqueImage(60, 40)->stretchable(24, 15), {width * 0.1, height * 0.2, 60.5, 41}));

    const char* names[] = {"an", "binh", "cuong", "Đăng nhập"};
    for (int seat = 0; seat < 4; ++seat) {
        const double x = seat % 2 ? width - 150 : 6, y = height * (0.25 + 0.2 * seat);
        auto plate = ui::View::make({x, y, 144, 30});
        plate->setBackgroundColor(Color::rgba(40, 48, 64, 0.85));
        plate->layer().setCornerRadius(6);
        plate->layer().setBorderWidth(1);
        plate->layer().setBorderColor(Color::rgba(170, 170, 170));
        auto name = ui::Label::make({8, 2, 130, 26}, names[seat]);
        name->setTextColor(seat == 1 ? Color::rgba(255, 220, 0) : Color::white());
        name->setFont(ui::Font::boldSystem(seat == 3 ? 14 : 17));
        plate->addSubview(name);
        window->addSubview(plate);
    }

    auto bubble = ui::View::make({width * 0.55, height * 0.08, 110, 34});
    bubble->setBackgroundColor(Color(1, 1, 1, 0.85));
    bubble->layer().setCornerRadius(10);
    auto said = ui::Label::make({6, 4, 98, 26}, "nhanh len :)");
    said->setTextColor(Color::black());
    said->setFont(ui::Font::system(15));
    bubble->addSubview(said);
    window->addSubview(bubble);

    auto strip = ui::View::make({width * 0.25, height * 0.78, width * 0.3, 24});
    strip->setClipsToBounds(true);
    strip->setBackgroundColor(Color(0, 0, 0, 0.4));
    strip->addSubview(picture(face, {-30, -20, 120, 160}));
    strip->addSubview(picture(translucentImage(20, 30), {width * 0.25, -5, 40, 60}));
    window->addSubview(strip);

    window->addSubview(picture(face, {-40.5, height * 0.4, 100, 130}));
    window->addSubview(picture(face, {width - 50, height - 60.2, 120, 160}));

    window->makeKeyAndVisible();
    return window;
}

struct FrameCase {
    const char* name;
    double width, height;
    Color background;
    uint64_t checksum; // of the frame as this renderer has always drawn it
};

void PrintTo(const FrameCase& frame, std::ostream* out) {
    *out << frame.name;
}

class FramePixels : public RenderTest, public ::testing::WithParamInterface<FrameCase> {};

// The frame drawn into a fresh offscreen target, every drawing through SDL or not.
std::vector<uint8_t> drawFrame(const WindowList& windows, int width, int height, bool direct) {
    OffscreenTarget target(width, height);
    EXPECT_TRUE(target.isValid());
    Renderer renderer(target.renderer());
    renderer.setDirectDrawing(direct);
    renderer.render(windows, {double(width), double(height)});
    return target.rgbaPixels();
}

TEST_P(FramePixels, BusyTableFrameKeepsEveryPixel) {
    const FrameCase& frame = GetParam();
    const int width = int(frame.width), height = int(frame.height);
    const WindowList windows{busyTable(frame.width, frame.height, frame.background)};
    for (const bool direct : {true, false}) {
        const std::vector<uint8_t> pixels = drawFrame(windows, width, height, direct);
        ASSERT_EQ(pixels.size(), size_t(width) * size_t(height) * 4);
        EXPECT_EQ(fnv1a(pixels), frame.checksum) << frame.name << (direct ? ", written directly" : ", all through SDL");
    }
}

// Redrawing part of the screen over the previous frame: the area is cleared and drawn again,
// the rest keeps what it had, the same bytes either way.
TEST_P(FramePixels, RedrawnAreaMatchesDrawingThroughSdl) {
    const FrameCase& frame = GetParam();
    const int width = int(frame.width), height = int(frame.height);
    const std::shared_ptr<ui::Window> window = busyTable(frame.width, frame.height, frame.background);
    const WindowList windows{window};
    const Rect areas[] = {{100.5, 50.25, 200, 120}, {-20, frame.height - 90, 150, 200}, {0, 0, frame.width, 40}};
    std::vector<uint8_t> results[2];
    for (const bool direct : {true, false}) {
        OffscreenTarget target(width, height);
        ASSERT_TRUE(target.isValid());
        Renderer renderer(target.renderer());
        renderer.setDirectDrawing(direct);
        renderer.render(windows, {frame.width, frame.height});
        for (const Rect& area : areas) {
            window->subviews()[1]->setCenter(area.center());
            renderer.render(windows, {frame.width, frame.height}, 1, &area);
        }
        results[direct] = target.rgbaPixels();
        window->subviews()[1]->setFrame({6.5, 4.25, 77.3, 51.6});
    }
    ASSERT_EQ(results[0].size(), size_t(width) * size_t(height) * 4);
    EXPECT_TRUE(results[0] == results[1]) << frame.name;
    // A point that none of the areas reaches keeps the first frame's picture.
    const std::vector<uint8_t> first = drawFrame(windows, width, height, false);
    const size_t kept = (size_t(height / 2) * size_t(width) + size_t(width - 3)) * 4;
    EXPECT_EQ(std::vector<uint8_t>(results[1].begin() + long(kept), results[1].begin() + long(kept) + 4),
              std::vector<uint8_t>(first.begin() + long(kept), first.begin() + long(kept) + 4));
}

// A renderer scaled to a logical size of another shape puts bars beside the picture: the
// frame's clearing paints them black even though the window covers all of its own screen.
TEST_F(RenderTest, BarsBesideAScaledScreenAreCleared) {
    OffscreenTarget target(240, 320);
    ASSERT_TRUE(target.isValid());
    SDL_SetRenderDrawColor(target.renderer(), 255, 255, 255, 255);
    SDL_RenderClear(target.renderer());
    ASSERT_EQ(SDL_RenderSetLogicalSize(target.renderer(), 480, 320), 0);
    const WindowList windows{busyTable(480, 320, Color::rgba(20, 90, 50))};
    Renderer renderer(target.renderer());
    renderer.render(windows, {480, 320});
    const ui::ImagePtr shot = ui::Image::fromPixels(240, 320, target.rgbaPixels());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 120, 10, Color::black(), 0)) << "above the picture";
    EXPECT_TRUE(pixelIs(shot, 120, 310, Color::black(), 0)) << "below the picture";
    EXPECT_TRUE(pixelIs(shot, 15, 230, Color::rgba(20, 90, 50), 0)) << "the window's background";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FramePixels,
    ::testing::Values(FrameCase{"Phone", 480, 320, Color::rgba(20, 90, 50), 17975971512972846597ull},
                      FrameCase{"Tablet", 1024, 768, Color::rgba(20, 90, 50), 6536447392416108443ull},
                      FrameCase{"ClearWindow", 480, 320, Color::clear(), 8143815380445619242ull},
                      FrameCase{"TranslucentWindow", 480, 320, Color::rgba(200, 30, 30, 0.5), 1750890751699305506ull}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace platform::render::test
