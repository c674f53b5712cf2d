#pragma once

#include "platform/ui/Geometry.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace platform::ui {

// A font is a value: a size and a weight. Every name maps to DejaVu Sans (bold when the
// name says "Bold"), so measurements are the same on every machine that has the font.
// Measuring works without a video device and from any thread.
class Font {
public:
    Font() : Font(17, false) {}
    static Font system(double size) { return Font(size, false); }
    static Font boldSystem(double size) { return Font(size, true); }
    static Font named(const std::string& name, double size);

    double size() const { return size_; }
    bool bold() const { return bold_; }
    Font withSize(double size) const { return Font(size, bold_); }

    // The distance between two baselines of wrapped text.
    double lineHeight() const;
    double ascent() const;

    // One line, no wrapping (line breaks are measured as characters).
    Size measure(const std::string& text) const;
    // Word wrap to `width`: breaks at spaces and at '\n'; a word wider than the width is
    // broken after its last '/' that fits on a line, else between characters. Never returns
    // an empty list for non-empty text.
    std::vector<std::string> wrap(const std::string& text, double width) const;
    // The same wrap, a piece of text as wide as `widthOf` says (for text that draws some
    // runs wider than their characters).
    static std::vector<std::string> wrap(const std::string& text, double width,
                                         const std::function<double(const std::string&)>& widthOf);
    // The size of the wrapped text; `maxLines` > 0 keeps only that many lines.
    Size measureWrapped(const std::string& text, double width, int maxLines = 0) const;

    // The TTF_Font* of this size and weight, for the renderer (nullptr when the font
    // file is missing). Hold ttfMutex() while using it (the font library is not thread-safe), and
    // call no other Font function meanwhile: they take the same lock.
    void* ttfHandle() const;
    static std::mutex& ttfMutex();
    // The pixel size handed to the font library.
    int pixelSize() const;

    bool operator==(const Font&) const = default;

private:
    Font(double size, bool bold) : size_(size), bold_(bold) {}
    double size_;
    bool bold_;
};

} // namespace platform::ui
