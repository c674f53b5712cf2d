#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <cmath>
#include <gtest/gtest.h>

namespace platform::render::test {

// Each test starts with no windows, the phone idiom and an empty main run loop.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunLoop::main().bindToCurrentThread();
        RunLoop::main().reset();
        ui::Window::resetAll();
        ui::Screen::setIdiom(ui::Idiom::Phone);
    }
    void TearDown() override {
        ui::Window::resetAll();
        ui::Screen::setIdiom(ui::Idiom::Phone);
        RunLoop::main().reset();
    }
};

// True when the pixel is within `tolerance` (0-255 per channel) of the colour.
inline ::testing::AssertionResult pixelIs(const ui::ImagePtr& image, int x, int y, ui::Color expected,
                                          int tolerance = 3) {
    const ui::Color got = image->pixel(x, y);
    const int channels[4][2] = {{got.red8(), expected.red8()},
                                {got.green8(), expected.green8()},
                                {got.blue8(), expected.blue8()},
                                {got.alpha8(), expected.alpha8()}};
    for (const auto& channel : channels) {
        if (std::abs(channel[0] - channel[1]) > tolerance) {
            return ::testing::AssertionFailure()
                   << "pixel " << x << "," << y << " is " << got.red8() << "," << got.green8() << "," << got.blue8()
                   << "," << got.alpha8() << " not " << expected.red8() << "," << expected.green8() << ","
                   << expected.blue8() << "," << expected.alpha8();
        }
    }
    return ::testing::AssertionSuccess();
}

inline double brightness(ui::Color color) {
    return (color.r + color.g + color.b) / 3;
}

} // namespace platform::render::test
