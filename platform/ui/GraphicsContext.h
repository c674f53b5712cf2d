#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"
#include "platform/ui/Path.h"

#include <string>
#include <vector>

namespace platform::ui {

enum class TextAlignment { Left, Center, Right };

// What a view draws its own content into, in the view's bounds coordinates. The state
// (transform, alpha, clip, colours, line width) is saved and restored as a stack.
class GraphicsContext {
public:
    virtual ~GraphicsContext() = default;

    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void translate(double x, double y) = 0;
    virtual void concat(const AffineTransform& transform) = 0;
    // Multiplies the current alpha.
    virtual void setAlpha(double alpha) = 0;
    virtual void clipToRect(const Rect& rect) = 0;
    virtual void clipToPath(const Path& path) = 0;

    virtual void setFillColor(Color color) = 0;
    virtual void setStrokeColor(Color color) = 0;
    virtual void setLineWidth(double width) = 0;

    virtual void fillRect(const Rect& rect) = 0;
    virtual void strokeRect(const Rect& rect) = 0;
    virtual void fillPath(const Path& path) = 0;
    virtual void strokePath(const Path& path) = 0;
    virtual void drawLine(Point from, Point to) = 0;
    // Wrapped to the rectangle's width (one line when maxLines is 1), vertically
    // centred in it, cut at the bottom.
    virtual void drawText(const std::string& text, const Rect& rect, const Font& font, Color color,
                          TextAlignment alignment, int maxLines = 0) = 0;
    // One line with its top-left corner at `point`.
    virtual void drawTextAt(const std::string& text, Point point, const Font& font, Color color) = 0;
    // Scaled to fill the rectangle; a stretchable image keeps its caps.
    virtual void drawImage(const ImagePtr& image, const Rect& rect) = 0;
    virtual void drawRadialGradient(Point center, double radius, Color inner, Color outer) = 0;
    // Makes the rectangle transparent.
    virtual void clear(const Rect& rect) = 0;
};

// Writes every call as one line of text ("fillRect 0 0 10 10"), for tests of custom drawing.
// Numbers are printed with up to 3 decimals, trailing zeros dropped; colours as r,g,b,a.
class RecordingContext : public GraphicsContext {
public:
    const std::vector<std::string>& lines() const { return lines_; }
    // Every line joined with '\n'.
    std::string text() const;
    // The lines that start with `command` (e.g. "fillPath").
    std::vector<std::string> linesStartingWith(const std::string& command) const;
    void clearLines() { lines_.clear(); }

    void save() override;
    void restore() override;
    void translate(double x, double y) override;
    void concat(const AffineTransform& transform) override;
    void setAlpha(double alpha) override;
    void clipToRect(const Rect& rect) override;
    void clipToPath(const Path& path) override;
    void setFillColor(Color color) override;
    void setStrokeColor(Color color) override;
    void setLineWidth(double width) override;
    void fillRect(const Rect& rect) override;
    void strokeRect(const Rect& rect) override;
    void fillPath(const Path& path) override;
    void strokePath(const Path& path) override;
    void drawLine(Point from, Point to) override;
    void drawText(const std::string& text, const Rect& rect, const Font& font, Color color, TextAlignment alignment,
                  int maxLines = 0) override;
    void drawTextAt(const std::string& text, Point point, const Font& font, Color color) override;
    void drawImage(const ImagePtr& image, const Rect& rect) override;
    void drawRadialGradient(Point center, double radius, Color inner, Color outer) override;
    void clear(const Rect& rect) override;

private:
    void add(std::string line);
    std::vector<std::string> lines_;
};

} // namespace platform::ui
