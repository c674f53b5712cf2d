#pragma once

#include "platform/render/PixelBlend.h"
#include "platform/render/ScanlineFill.h"
#include "platform/render/TextureCache.h"
#include "platform/ui/GraphicsContext.h"

#include <SDL.h>
#include <vector>

namespace platform::render {

// Draws onto an SDL_Renderer. Shapes are flattened to polygons, mapped through the current
// transform and filled by scanline spans (so rotated and scaled views draw right); text and
// images are textured quads through SDL_RenderGeometry. No anti-aliasing.
//
// Coordinates start as screen points; `scale` maps points to the target's pixels.
//
// Given the surface a software renderer draws into (`pixels`), the context writes some
// drawing straight into it where SDL would take much longer for the very same pixels.
class SdlGraphicsContext : public ui::GraphicsContext {
public:
    SdlGraphicsContext(SDL_Renderer* renderer, TextureCache& textures, ui::Size targetPixels, double scale = 1,
                       SDL_Surface* pixels = nullptr);
    ~SdlGraphicsContext() override;

    // Clears `area` (pixels; nullptr: the whole target, whatever the clip) to opaque black
    // before the drawing. Held back until something is drawn, and dropped when that first
    // thing paints over all of it opaquely (a full-screen background).
    void clearFirst(const SDL_Rect* area);

    void save() override;
    void restore() override;
    void translate(double x, double y) override;
    void concat(const ui::AffineTransform& transform) override;
    void setAlpha(double alpha) override;
    void clipToRect(const ui::Rect& rect) override;
    // Approximated by the path's bounds.
    void clipToPath(const ui::Path& path) override;

    void setFillColor(ui::Color color) override;
    void setStrokeColor(ui::Color color) override;
    void setLineWidth(double width) override;

    void fillRect(const ui::Rect& rect) override;
    void strokeRect(const ui::Rect& rect) override;
    void fillPath(const ui::Path& path) override;
    void strokePath(const ui::Path& path) override;
    void drawLine(ui::Point from, ui::Point to) override;
    void drawText(const std::string& text, const ui::Rect& rect, const ui::Font& font, ui::Color color,
                  ui::TextAlignment alignment, int maxLines = 0) override;
    void drawTextAt(const std::string& text, ui::Point point, const ui::Font& font, ui::Color color) override;
    // A missing image (nullptr) draws the placeholder box.
    void drawImage(const ui::ImagePtr& image, const ui::Rect& rect) override;
    void drawRadialGradient(ui::Point center, double radius, ui::Color inner, ui::Color outer) override;
    void clear(const ui::Rect& rect) override;

    // The current user-to-pixel transform and alpha (for tests and the renderer).
    const ui::AffineTransform& transform() const { return state_.transform; }
    double alpha() const { return state_.alpha; }

private:
    struct State {
        ui::AffineTransform transform;
        double alpha = 1;
        SDL_Rect clip{0, 0, 0, 0}; // in pixels; never larger than the target
        ui::Color fill = ui::Color::black();
        ui::Color stroke = ui::Color::black();
        double lineWidth = 1;
    };

    using UserPolygon = std::vector<ui::Point>;
    // The pixel spans that the polygons (user space) cover inside the clip.
    std::vector<SDL_Rect> spansFor(const std::vector<UserPolygon>& polygons) const;
    void paintSpans(const std::vector<SDL_Rect>& spans, SDL_Color colour, SDL_BlendMode blend);
    void fillPolygons(const std::vector<UserPolygon>& polygons, ui::Color color);
    std::vector<UserPolygon> strokeOutline(const std::vector<ui::Point>& points, bool closed) const;
    void drawTextLine(const std::string& line, ui::Point topLeft, const ui::Font& font, ui::Color color);
    SDL_Texture* imageTexture(const ui::ImagePtr& image);
    // Draws `source` (texture pixels) of the texture into `target` (user space). `pixels`,
    // when known, are the texture's own pixels.
    void drawTexturedQuad(SDL_Texture* texture, const SDL_FRect& source, const ui::Rect& target, ui::Color tint,
                          const RgbaPixels* pixels = nullptr);
    // Does what SDL would do for the quad straight on the target's pixels, when it is a blend
    // of an upright rectangle inside the clip whose arithmetic is known; false otherwise.
    bool blendDirectly(SDL_Texture* texture, const SDL_Vertex (&vertices)[4], const SDL_FRect& source,
                       const RgbaPixels& pixels);
    void applyClip();
    bool clipIsEmpty() const { return state_.clip.w <= 0 || state_.clip.h <= 0; }
    // Does the clearing held back by clearFirst, if any.
    void payClear();
    bool coversClear(const std::vector<SDL_Rect>& spans) const;
    // True when the renderer draws unscaled onto all of an output of this size.
    bool drawsOneToOne(int width, int height) const;
    void fillSpansDirectly(const std::vector<SDL_Rect>& spans, SDL_Color colour);

    SDL_Renderer* renderer_;
    TextureCache& textures_;
    SDL_Rect target_;
    State state_;
    std::vector<State> stack_;
    SDL_Surface* pixels_ = nullptr;
    // What SDL's clip is set to (it is left alone while the context's clip is empty).
    SDL_Rect sdlClip_{0, 0, 0, 0};
    bool sdlClipSet_ = false;
    bool clearOwed_ = false;
    bool clearWhole_ = false;
    bool clearCoverable_ = false;
    SDL_Rect clearArea_{0, 0, 0, 0};
};

} // namespace platform::render
