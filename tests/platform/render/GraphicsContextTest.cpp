#include "RenderTestSupport.h"
#include "platform/render/OffscreenTarget.h"
#include "platform/render/PixelBlend.h"
#include "platform/render/ScanlineFill.h"
#include "platform/render/SdlGraphicsContext.h"
#include "platform/render/TextureCache.h"
#include "platform/ui/Font.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace platform::render::test {
namespace {

using ui::Color;
using ui::Point;
using ui::Rect;

// Paints on a white canvas of the size and returns the pixels.
ui::ImagePtr paint(int width, int height, const std::function<void(SdlGraphicsContext&)>& drawing) {
    OffscreenTarget target(width, height);
    EXPECT_TRUE(target.isValid());
    SDL_SetRenderDrawColor(target.renderer(), 255, 255, 255, 255);
    SDL_RenderClear(target.renderer());
    {
        TextureCache textures(target.renderer());
        SdlGraphicsContext context(target.renderer(), textures, {double(width), double(height)});
        drawing(context);
    }
    return ui::Image::fromPixels(width, height, target.rgbaPixels());
}

TEST(GraphicsContext, MissingImageShowsAPlaceholderBoxWithACross) {
    ui::ImagePtr shot = paint(100, 60, [](SdlGraphicsContext& context) {
        context.drawImage(nullptr, {10, 10, 80, 40});
    });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 5, 5, Color::white()));
    const double inside = brightness(shot->pixel(30, 15));
    EXPECT_LT(inside, 0.95) << "the box is grey, not the background";
    EXPECT_LT(brightness(shot->pixel(10, 30)), inside) << "the outline is darker than the box";
    EXPECT_LT(brightness(shot->pixel(50, 30)), inside) << "the cross passes through the middle";
}

TEST(GraphicsContext, StretchableImageKeepsItsCornerPixels) {
    std::vector<uint8_t> rgba(9 * 9 * 4);
    for (size_t i = 0; i < rgba.size(); i += 4)
        rgba[i + 2] = rgba[i + 3] = 255; // blue
    auto setPixel = [&](int x, int y, Color color) {
        const size_t at = (size_t(y) * 9 + size_t(x)) * 4;
        rgba[at] = uint8_t(color.red8()), rgba[at + 1] = uint8_t(color.green8());
        rgba[at + 2] = uint8_t(color.blue8()), rgba[at + 3] = 255;
    };
    setPixel(0, 0, Color::red());
    setPixel(8, 0, Color::green());
    setPixel(0, 8, Color::yellow());
    setPixel(8, 8, Color::magenta());
    ui::ImagePtr plain = ui::Image::fromPixels(9, 9, rgba);
    ASSERT_TRUE(plain);
    ui::ImagePtr capped = plain->stretchable(4, 4);

    ui::ImagePtr shot = paint(140, 40, [&](SdlGraphicsContext& context) {
        context.drawImage(capped, {0, 0, 60, 40});
        context.drawImage(plain, {70, 0, 60, 40});
    });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 0, 0, Color::red()));
    EXPECT_TRUE(pixelIs(shot, 59, 0, Color::green()));
    EXPECT_TRUE(pixelIs(shot, 0, 39, Color::yellow()));
    EXPECT_TRUE(pixelIs(shot, 59, 39, Color::magenta()));
    EXPECT_TRUE(pixelIs(shot, 3, 3, Color::blue())) << "a cap keeps its size";
    EXPECT_TRUE(pixelIs(shot, 30, 20, Color::blue()));
    EXPECT_TRUE(pixelIs(shot, 73, 3, Color::red())) << "without caps the corner pixel is stretched";
}

TEST(GraphicsContext, TranslucentStrokeCoversItsCrossingOnce) {
    ui::ImagePtr shot = paint(100, 100, [](SdlGraphicsContext& context) {
        ui::Path cross;
        cross.moveTo({10, 50});
        cross.lineTo({90, 50});
        cross.moveTo({50, 10});
        cross.lineTo({50, 90});
        context.setStrokeColor(Color::black().withAlpha(0.5));
        context.setLineWidth(6);
        context.strokePath(cross);
    });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 50, 50, shot->pixel(25, 50), 0));
    EXPECT_TRUE(pixelIs(shot, 25, 50, Color::white(0.5), 2));
    EXPECT_TRUE(pixelIs(shot, 25, 25, Color::white()));
}

TEST(GraphicsContext, ClipLimitsDrawingUntilRestored) {
    ui::ImagePtr shot = paint(100, 100, [](SdlGraphicsContext& context) {
        context.save();
        context.translate(20, 20);
        context.clipToRect({0, 0, 30, 30});
        context.setFillColor(Color::red());
        context.fillRect({-100, -100, 300, 300});
        context.restore();
        context.setFillColor(Color::blue());
        context.fillRect({80, 80, 20, 20});
    });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(pixelIs(shot, 20, 20, Color::red()));
    EXPECT_TRUE(pixelIs(shot, 49, 49, Color::red()));
    EXPECT_TRUE(pixelIs(shot, 50, 50, Color::white()));
    EXPECT_TRUE(pixelIs(shot, 19, 19, Color::white()));
    EXPECT_TRUE(pixelIs(shot, 90, 90, Color::blue())) << "restore lifts the clip";
}

TEST(GraphicsContext, RadialGradientRunsFromInnerToOuterColour) {
    ui::ImagePtr shot = paint(100, 100, [](SdlGraphicsContext& context) {
        context.drawRadialGradient({50, 50}, 40, Color::black(), Color::red());
    });
    ASSERT_TRUE(shot);
    EXPECT_LT(shot->pixel(50, 50).r, 0.1);
    EXPECT_GT(shot->pixel(88, 50).r, 0.9);
    EXPECT_LT(shot->pixel(88, 50).g, 0.1);
    EXPECT_GT(shot->pixel(70, 50).r, shot->pixel(60, 50).r);
    EXPECT_TRUE(pixelIs(shot, 95, 95, Color::white())) << "nothing beyond the radius";
}

TEST(GraphicsContext, TextFollowsItsAlignmentAndColour) {
    ui::ImagePtr shot = paint(300, 40, [](SdlGraphicsContext& context) {
        context.drawText("Xin chào", {0, 0, 300, 40}, ui::Font::system(18), Color::blue(), ui::TextAlignment::Right);
    });
    ASSERT_TRUE(shot);
    int left = 0, right = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) {
            const Color c = shot->pixel(x, y);
            if (c.b > 0.9 && c.r < 0.3) (x < 150 ? left : right)++;
        }
    }
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 20);
}

TEST(GraphicsContext, TextTexturesUnusedForAFrameAreReleased) {
    OffscreenTarget target(50, 50);
    TextureCache textures(target.renderer());
    auto frame = [&](const std::string& text) {
        SdlGraphicsContext context(target.renderer(), textures, {50, 50});
        context.drawTextAt(text, {0, 0}, ui::Font::system(12), Color::black());
        textures.endFrame();
    };
    frame("một");
    frame("một");
    EXPECT_EQ(textures.size(), 1u);
    frame("hai");
    EXPECT_EQ(textures.size(), 1u) << "the text no longer drawn is dropped";
}

// FNV-1a over every byte of the picture: any changed pixel changes it.
uint64_t checksum(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : bytes)
        hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

// Opaque and translucent fills, shapes, a clip, a layer alpha and strokes over each other,
// on a transparent canvas (as a window's backing is before its first frame).
std::vector<uint8_t> busyScene() {
    OffscreenTarget target(160, 120);
    EXPECT_TRUE(target.isValid());
    SDL_SetRenderDrawColor(target.renderer(), 0, 0, 0, 0);
    SDL_RenderClear(target.renderer());
    {
        TextureCache textures(target.renderer());
        SdlGraphicsContext context(target.renderer(), textures, {160, 120});
        context.setFillColor(Color(0.1, 0.45, 0.2, 1.0)); // the felt
        context.fillRect({0, 0, 160, 100});
        context.setFillColor(Color(1, 1, 1, 0.35));
        context.fillRect({20, 10, 60, 40});
        context.setFillColor(Color(0.93, 0.11, 0.14, 1.0));
        ui::Path card;
        card.addRoundedRect({30, 20, 50, 70}, 6);
        context.fillPath(card);
        context.save();
        context.setAlpha(0.5);
        context.setFillColor(Color(0.2, 0.3, 0.9, 1.0));
        context.fillRect({60, 30, 70, 50});
        context.restore();
        context.save();
        context.clipToRect({100, 0, 40, 120});
        context.setFillColor(Color(0.98, 0.8, 0.1, 1.0));
        ui::Path chip;
        chip.addEllipse({90, 60, 60, 50});
        context.fillPath(chip);
        context.restore();
        context.setStrokeColor(Color::black());
        context.setLineWidth(3);
        context.strokeRect({5, 5, 150, 90});
        context.setStrokeColor(Color(0, 0, 0, 0.4));
        context.strokeRect({10, 70, 40, 40});
    }
    return target.rgbaPixels();
}

// Opaque fills are copied, not blended; the picture must stay exactly what blending made.
TEST(GraphicsContext, OpaqueFillsGiveExactlyThePixelsBlendingGave) {
    const std::vector<uint8_t> pixels = busyScene();
    ASSERT_EQ(pixels.size(), size_t(160 * 120 * 4));
    auto at = [&](int x, int y) {
        const size_t i = (size_t(y) * 160 + size_t(x)) * 4;
        return std::array<int, 4>{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
    };
    EXPECT_EQ(at(2, 2), (std::array<int, 4>{26, 115, 51, 255})) << "opaque over a transparent canvas";
    EXPECT_EQ(at(50, 50), (std::array<int, 4>{237, 28, 36, 255})) << "opaque over a translucent fill";
    EXPECT_EQ(at(2, 110), (std::array<int, 4>{0, 0, 0, 0})) << "nothing drawn";
    // Taken from the picture blending drew.
    EXPECT_EQ(checksum(pixels), 17912689492086912913ull);
}

// Paints on a canvas with every alpha and colour in it, the context writing into the pixels
// itself where it can (`direct`) or leaving all drawing to SDL.
std::vector<uint8_t> paintOnBusyCanvas(int width, int height, bool direct,
                                       const std::function<void(SdlGraphicsContext&)>& drawing) {
    OffscreenTarget target(width, height);
    EXPECT_TRUE(target.isValid());
    SDL_Surface* surface = OffscreenTarget::surfaceOf(target.renderer());
    EXPECT_NE(surface, nullptr);
    if (!surface) return {};
    auto* bytes = static_cast<uint8_t*>(surface->pixels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 4; ++x)
            bytes[size_t(y) * size_t(surface->pitch) + size_t(x)] = uint8_t(x * 29 + y * 57 + (x * y) / 7);
    }
    {
        TextureCache textures(target.renderer());
        SdlGraphicsContext context(target.renderer(), textures, {double(width), double(height)}, 1,
                                   direct ? surface : nullptr);
        drawing(context);
    }
    return target.rgbaPixels();
}

// A picture whose bytes run through every value, alpha included, with fully clear and fully
// opaque runs as a card's corners and face have.
ui::ImagePtr noisyPicture(std::mt19937& random, int width, int height) {
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 3);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c)
            rgba[i + c] = uint8_t(byte(random));
        const int k = kind(random);
        rgba[i + 3] = k == 0 ? 0 : k == 1 ? 255 : uint8_t(byte(random));
    }
    return ui::Image::fromPixels(width, height, std::move(rgba));
}

// Pictures stretched, squeezed, faded, cut into stretchable parts, clipped, turned, scaled
// and hanging off the canvas: the bytes are the same whether the context writes them itself
// or SDL draws them.
TEST(GraphicsContext, PicturesWrittenDirectlyMatchSdlsDrawing) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> size(1, 140), place(-30, 230), choice(0, 9);
    std::uniform_real_distribution<double> fraction(0, 1);
    for (int round = 0; round < 150; ++round) {
        const int imageWidth = size(random), imageHeight = size(random);
        ui::ImagePtr image = noisyPicture(random, imageWidth, imageHeight);
        if (choice(random) < 3) image = image->stretchable(imageWidth / 2, imageHeight / 3);
        std::vector<Rect> places;
        for (int i = 0; i < 4; ++i) {
            const bool unstretched = choice(random) < 3;
            const double x = place(random) + (choice(random) < 5 ? fraction(random) : 0);
            const double y = place(random) * 0.8 + (choice(random) < 5 ? fraction(random) : 0);
            places.push_back({x, y, unstretched ? imageWidth : size(random) * 1.3 + fraction(random),
                              unstretched ? imageHeight : size(random) + fraction(random)});
        }
        const double alpha = choice(random) < 4 ? 1.0 : fraction(random);
        const int transform = choice(random);
        const bool clipped = choice(random) < 3;
        const Rect clip{double(place(random)), double(place(random)), double(size(random)), double(size(random))};
        auto drawing = [&](SdlGraphicsContext& context) {
            context.setAlpha(alpha);
            if (transform == 0) context.concat(ui::AffineTransform::rotation(0.4));
            if (transform == 1) context.concat(ui::AffineTransform::scale(1.5, 0.75));
            if (transform == 2) context.translate(0.25, 0.5);
            if (clipped) context.clipToRect(clip);
            for (const Rect& rect : places)
                context.drawImage(image, rect);
        };
        const std::vector<uint8_t> direct = paintOnBusyCanvas(240, 200, true, drawing);
        const std::vector<uint8_t> throughSdl = paintOnBusyCanvas(240, 200, false, drawing);
        ASSERT_EQ(direct.size(), size_t(240 * 200 * 4));
        ASSERT_TRUE(direct == throughSdl)
            << "round " << round << ": a " << imageWidth << "x" << imageHeight << " picture, alpha " << alpha
            << ", transform " << transform << (clipped ? ", clipped" : "");
    }
}

// Text in colours, faded, scaled, clipped and cut at the canvas edge: the same bytes whether
// the context writes the tinted letters itself or SDL draws them.
TEST(GraphicsContext, TextWrittenDirectlyMatchesSdlsDrawing) {
    struct Line {
        const char* text;
        Color color;
        double alpha;
        double scale;
        Rect rect;
    };
    const Line lines[] = {
        {"nhanh len :)", Color::black(), 1, 1, {10.5, 12.25, 200, 30}},
        {"binh 250.000", Color::rgba(255, 220, 0), 1, 1, {30, 50, 180, 24}},
        {"Đăng nhập", Color::white(), 1, 1, {5, 80, 150, 30}},
        {"Đăng nhập", Color::white(), 0.6, 1, {100, 80, 150, 30}},
        {"an", Color(0.2, 0.9, 0.4, 0.5), 1, 1, {180, 10, 60, 30}},
        {"cuong", Color::rgba(255, 220, 0), 1, 1.5, {20, 100, 100, 30}},
        {"hanging off the edge", Color::rgba(200, 40, 40), 0.8, 1, {150, 150, 200, 30}},
    };
    for (const bool clipped : {false, true}) {
        auto drawing = [&](SdlGraphicsContext& context) {
            if (clipped) context.clipToRect({0, 0, 120, 200});
            for (const Line& line : lines) {
                context.save();
                context.setAlpha(line.alpha);
                context.concat(ui::AffineTransform::scale(line.scale, line.scale));
                context.drawText(line.text, line.rect, ui::Font::boldSystem(17), line.color, ui::TextAlignment::Left,
                                 1);
                context.restore();
            }
        };
        const std::vector<uint8_t> direct = paintOnBusyCanvas(240, 200, true, drawing);
        const std::vector<uint8_t> throughSdl = paintOnBusyCanvas(240, 200, false, drawing);
        ASSERT_EQ(direct.size(), size_t(240 * 200 * 4));
        EXPECT_TRUE(direct == throughSdl) << (clipped ? "clipped" : "whole");
    }
}

// The quick blends are only used where they give SDL's bytes; with the SDL on this machine
// both do, so pictures here are never left to the slow way.
TEST(GraphicsContext, BothQuickBlendsAgreeWithThisSdl) {
    EXPECT_TRUE(sdlBlendMatch().stretched);
    EXPECT_TRUE(sdlBlendMatch().unstretched);
}

TEST(ScanlineFill, ReversedInnerOutlineCutsAHole) {
    const DevicePolygon outer{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const DevicePolygon inner{{3, 3}, {3, 7}, {7, 7}, {7, 3}};
    const std::vector<SDL_Rect> spans = scanlineSpans({outer, inner}, {0, 0, 100, 100});
    int covered = 0;
    bool holeCovered = false;
    for (const SDL_Rect& span : spans) {
        covered += span.w;
        if (span.y == 5 && span.x <= 5 && span.x + span.w > 5) holeCovered = true;
    }
    EXPECT_EQ(covered, 100 - 16);
    EXPECT_FALSE(holeCovered);
}

TEST(ScanlineFill, ShapesOutsideTheLimitCostNothing) {
    const DevicePolygon far{{1e9f, 1e9f}, {2e9f, 1e9f}, {2e9f, 2e9f}};
    EXPECT_TRUE(scanlineSpans({far}, {0, 0, 480, 320}).empty());
    const DevicePolygon huge{{-1e9f, -1e9f}, {1e9f, -1e9f}, {1e9f, 1e9f}, {-1e9f, 1e9f}};
    const std::vector<SDL_Rect> spans = scanlineSpans({huge}, {0, 0, 480, 320});
    ASSERT_EQ(spans.size(), 320u);
    EXPECT_EQ(spans[0].x, 0);
    EXPECT_EQ(spans[0].w, 480);
}

} // namespace
} // namespace platform::render::test
