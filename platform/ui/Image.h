#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class Image;
using ImagePtr = std::shared_ptr<Image>;

// A bitmap of RGBA8 pixels (4 bytes per pixel, row after row, not premultiplied).
// Images never change once made: every operation returns a new image.
class Image {
public:
    // Looks for `<bundle>/images/NAME` (and NAME + ".png" when NAME has no extension).
    // nullptr when absent or undecodable. Images are cached by name.
    static ImagePtr named(const std::string& name);
    static void clearCache();
    // PNG or JPEG bytes; nullptr when they cannot be decoded.
    static ImagePtr fromData(const std::vector<uint8_t>& bytes);
    static ImagePtr fromFile(const std::string& path);
    // `rgba` must hold width * height * 4 bytes; nullptr otherwise.
    static ImagePtr fromPixels(int width, int height, std::vector<uint8_t> rgba);
    static ImagePtr filled(int width, int height, Color color);

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {double(width_), double(height_)}; }
    const uint8_t* bytes() const { return pixels_.data(); }
    const std::vector<uint8_t>& pixelData() const { return pixels_; }
    // Transparent black outside the image.
    Color pixel(int x, int y) const;
    // The name it was loaded by (empty for made images), for tree dumps and tests.
    const std::string& name() const { return name_; }

    std::vector<uint8_t> pngData() const;
    bool writePng(const std::string& path) const;

    // The same pixels drawn stretched: the caps keep their size, the middle row and column
    // stretch (a cap of 0 stretches the whole direction).
    ImagePtr stretchable(int leftCap, int topCap) const;
    int leftCap() const { return leftCap_; }
    int topCap() const { return topCap_; }
    bool isStretchable() const { return leftCap_ > 0 || topCap_ > 0; }

    // The part inside `rect` (clipped to the image); nullptr when nothing is left.
    ImagePtr cropped(const Rect& rect) const;
    // Resampled (bilinear) to the size, rounded to whole pixels, at least 1 x 1.
    ImagePtr scaled(Size size) const;
    ImagePtr flipped(bool horizontal) const;
    // Alpha multiplied by the mask's luminance (times the mask's alpha), the mask
    // scaled to this image's size.
    ImagePtr masked(const ImagePtr& mask) const;

    Image(int width, int height, std::vector<uint8_t> rgba);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
    std::string name_;
    int leftCap_ = 0;
    int topCap_ = 0;
};

} // namespace platform::ui
