#include "platform/render/SdlGraphicsContext.h"

#include "platform/render/MissingImage.h"
#include "platform/runtime/Log.h"

#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace platform::render {

using ui::Color;
using ui::Point;
using ui::Rect;

namespace {

double signedAreaOf(const std::vector<Point>& polygon) {
    double area = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area;
}

// Every piece of one stroke is wound the same way, so the non-zero fill covers their
// overlaps once.
void orientPositive(std::vector<Point>& polygon) {
    if (signedAreaOf(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
}

std::vector<Point> circle(Point center, double radius, int segments) {
    std::vector<Point> points;
    points.reserve(size_t(segments));
    for (int i = 0; i < segments; ++i) {
        const double angle = 2 * M_PI * i / segments;
        points.push_back({center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)});
    }
    return points;
}

// Clockwise on the screen: top-left, top-right, bottom-right, bottom-left.
std::vector<Point> corners(const Rect& rect) {
    return {rect.origin, {rect.maxX(), rect.minY()}, {rect.maxX(), rect.maxY()}, {rect.minX(), rect.maxY()}};
}

Color mix(Color from, Color to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

uint8_t toByte(double component) {
    return uint8_t(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

// Pixel columns (or rows) whose centres lie in [from, to), kept inside [low, high).
void pixelRange(double from, double to, int low, int high, int& first, int& end) {
    from = std::isfinite(from) ? std::clamp(from, double(low), double(high)) : double(low);
    to = std::isfinite(to) ? std::clamp(to, double(low), double(high)) : double(low);
    first = int(std::ceil(from - 0.5));
    end = std::max(first, int(std::ceil(to - 0.5)));
}

// One way of cutting an image along one direction into drawn pieces: the caps keep their
// size, the single pixel after the start cap stretches over the rest.
struct Slice {
    double sourceStart, sourceLength, targetStart, targetLength;
};

std::vector<Slice> slices(int imageLength, int cap, double targetStart, double targetLength) {
    if (cap <= 0 || cap >= imageLength) return {{0, double(imageLength), targetStart, targetLength}};
    const double startCap = cap;
    const double endCap = imageLength - cap - 1;
    double shrink = 1;
    if (targetLength < startCap + endCap) shrink = targetLength / (startCap + endCap);
    const double middle = std::max(0.0, targetLength - (startCap + endCap) * shrink);
    std::vector<Slice> pieces;
    pieces.push_back({0, startCap, targetStart, startCap * shrink});
    if (middle > 0) pieces.push_back({startCap, 1, targetStart + startCap * shrink, middle});
    if (endCap > 0) {
        pieces.push_back({startCap + 1, endCap, targetStart + targetLength - endCap * shrink, endCap * shrink});
    }
    return pieces;
}

} // namespace

SdlGraphicsContext::SdlGraphicsContext(SDL_Renderer* renderer, TextureCache& textures, ui::Size targetPixels,
                                       double scale, SDL_Surface* pixels)
    : renderer_(renderer),
      textures_(textures), target_{0, 0, std::max(0, int(targetPixels.width)), std::max(0, int(targetPixels.height))} {
    state_.transform = ui::AffineTransform::scale(scale, scale);
    state_.clip = target_;
    // Everything drawn lies inside the target, so the target must lie inside the surface, and
    // the renderer must map drawing one to one onto it.
    if (pixels && pixels->pixels && pixels->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(pixels) &&
        target_.w <= pixels->w && target_.h <= pixels->h && drawsOneToOne(pixels->w, pixels->h)) {
        pixels_ = pixels;
    }
    applyClip();
}

SdlGraphicsContext::~SdlGraphicsContext() {
    payClear();
    SDL_RenderSetClipRect(renderer_, nullptr);
}

bool SdlGraphicsContext::drawsOneToOne(int width, int height) const {
    float scaleX = 0, scaleY = 0;
    SDL_RenderGetScale(renderer_, &scaleX, &scaleY);
    SDL_Rect viewport{0, 0, 0, 0};
    SDL_RenderGetViewport(renderer_, &viewport);
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return false;
    return scaleX == 1 && scaleY == 1 && viewport.x == 0 && viewport.y == 0 && viewport.w == width &&
           viewport.h == height && outputWidth == width && outputHeight == height;
}

void SdlGraphicsContext::clearFirst(const SDL_Rect* area) {
    payClear();
    int width = 0, height = 0;
    const bool sized = SDL_GetRendererOutputSize(renderer_, &width, &height) == 0;
    clearOwed_ = true;
    clearWhole_ = area == nullptr;
    clearArea_ = area ? *area : SDL_Rect{0, 0, width, height};
    // Drawing is only known to cover the clearing when it lands one to one on the output: a
    // renderer scaled to a logical size puts bars beside the picture that only the clearing paints.
    clearCoverable_ = sized && drawsOneToOne(width, height);
}

void SdlGraphicsContext::payClear() {
    if (!clearOwed_) return;
    clearOwed_ = false;
    // (Clearing ignores the clip: only the area is painted over.)
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    if (clearWhole_) {
        SDL_RenderClear(renderer_);
    } else {
        SDL_RenderFillRect(renderer_, &clearArea_);
    }
    SDL_RenderSetClipRect(renderer_, sdlClipSet_ ? &sdlClip_ : nullptr);
}

// True when the spans (one row each, rows in order) paint every pixel of the held-back clearing.
bool SdlGraphicsContext::coversClear(const std::vector<SDL_Rect>& spans) const {
    if (!clearCoverable_) return false;
    if (clearArea_.w <= 0 || clearArea_.h <= 0) return true;
    const int left = clearArea_.x, right = clearArea_.x + clearArea_.w;
    int nextRow = clearArea_.y;
    for (const SDL_Rect& span : spans) {
        if (span.y != nextRow) continue;
        if (span.x <= left && span.x + span.w >= right) ++nextRow;
    }
    return nextRow == clearArea_.y + clearArea_.h;
}

void SdlGraphicsContext::save() {
    stack_.push_back(state_);
}

void SdlGraphicsContext::restore() {
    if (stack_.empty()) {
        platform::log("render: restore without save");
        return;
    }
    const bool clipChanged = !SDL_RectEquals(&state_.clip, &stack_.back().clip);
    state_ = stack_.back();
    stack_.pop_back();
    if (clipChanged) applyClip();
}

void SdlGraphicsContext::translate(double x, double y) {
    state_.transform = state_.transform.translated(x, y);
}

void SdlGraphicsContext::concat(const ui::AffineTransform& transform) {
    state_.transform = transform.concat(state_.transform);
}

void SdlGraphicsContext::setAlpha(double alpha) {
    state_.alpha *= std::clamp(alpha, 0.0, 1.0);
}

void SdlGraphicsContext::clipToRect(const Rect& rect) {
    const Rect box = state_.transform.apply(rect);
    int x0, x1, y0, y1;
    pixelRange(box.minX(), box.maxX(), state_.clip.x, state_.clip.x + state_.clip.w, x0, x1);
    pixelRange(box.minY(), box.maxY(), state_.clip.y, state_.clip.y + state_.clip.h, y0, y1);
    state_.clip = {x0, y0, x1 - x0, y1 - y0};
    applyClip();
}

void SdlGraphicsContext::clipToPath(const ui::Path& path) {
    clipToRect(path.bounds());
}

void SdlGraphicsContext::applyClip() {
    if (clipIsEmpty()) return;
    SDL_RenderSetClipRect(renderer_, &state_.clip);
    sdlClip_ = state_.clip;
    sdlClipSet_ = true;
}

void SdlGraphicsContext::setFillColor(Color color) {
    state_.fill = color;
}
void SdlGraphicsContext::setStrokeColor(Color color) {
    state_.stroke = color;
}
void SdlGraphicsContext::setLineWidth(double width) {
    state_.lineWidth = std::max(0.0, width);
}

std::vector<SDL_Rect> SdlGraphicsContext::spansFor(const std::vector<UserPolygon>& polygons) const {
    if (clipIsEmpty()) return {};
    std::vector<DevicePolygon> device;
    device.reserve(polygons.size());
    for (const UserPolygon& polygon : polygons) {
        DevicePolygon mapped;
        mapped.reserve(polygon.size());
        for (const Point& point : polygon) {
            const Point p = state_.transform.apply(point);
            mapped.push_back({float(p.x), float(p.y)});
        }
        device.push_back(std::move(mapped));
    }
    return scanlineSpans(device, state_.clip);
}

void SdlGraphicsContext::paintSpans(const std::vector<SDL_Rect>& spans, SDL_Color colour, SDL_BlendMode blend) {
    if (spans.empty()) return;
    if (clearOwed_) {
        // A copied fill over all of the area leaves nothing of the clearing to see.
        if (blend == SDL_BLENDMODE_NONE && coversClear(spans)) {
            clearOwed_ = false;
        } else {
            payClear();
        }
    }
    if (pixels_ && blend == SDL_BLENDMODE_NONE) {
        fillSpansDirectly(spans, colour);
        return;
    }
    SDL_SetRenderDrawBlendMode(renderer_, blend);
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, colour.a);
    SDL_RenderFillRects(renderer_, spans.data(), int(spans.size()));
}

// A copied colour is the same bytes however it is written; SDL's fill streams past the cache,
// which costs far more for the short rows of shapes that the next drawing reads back.
void SdlGraphicsContext::fillSpansDirectly(const std::vector<SDL_Rect>& spans, SDL_Color colour) {
    // What SDL still has queued lies beneath.
    SDL_RenderFlush(renderer_);
    const Uint32 pixel = SDL_MapRGBA(pixels_->format, colour.r, colour.g, colour.b, colour.a);
    auto* const base = static_cast<uint8_t*>(pixels_->pixels);
    for (const SDL_Rect& span : spans) {
        auto* const row = reinterpret_cast<Uint32*>(base + size_t(span.y) * size_t(pixels_->pitch)) + span.x;
        std::fill_n(row, span.w, pixel);
    }
}

void SdlGraphicsContext::fillPolygons(const std::vector<UserPolygon>& polygons, Color color) {
    const double alpha = color.a * state_.alpha;
    if (alpha <= 0) return;
    const Uint8 a = toByte(alpha);
    // Blending a fully opaque colour leaves exactly that colour, at many times the cost of a
    // plain copy in the software renderer: opaque fills are copied.
    paintSpans(spansFor(polygons), {toByte(color.r), toByte(color.g), toByte(color.b), a},
               a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
}

void SdlGraphicsContext::fillRect(const Rect& rect) {
    fillPolygons({corners(rect)}, state_.fill);
}

void SdlGraphicsContext::fillPath(const ui::Path& path) {
    fillPolygons(path.flatten(), state_.fill);
}

std::vector<SdlGraphicsContext::UserPolygon> SdlGraphicsContext::strokeOutline(const std::vector<Point>& input,
                                                                               bool closed) const {
    std::vector<UserPolygon> pieces;
    const double half = state_.lineWidth / 2;
    if (half <= 0) return pieces;
    std::vector<Point> points;
    for (const Point& p : input) {
        if (points.empty() || !(points.back() == p)) points.push_back(p);
    }
    if (closed && points.size() > 1 && points.front() == points.back()) points.pop_back();
    if (points.size() < 2) return pieces;

    const size_t segments = closed ? points.size() : points.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        if (length <= 0) continue;
        const double nx = -dy / length * half, ny = dx / length * half;
        UserPolygon quad{{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
        orientPositive(quad);
        pieces.push_back(std::move(quad));
    }
    // Thick lines get round joins so corners are not notched; thin ones do not need them.
    if (state_.lineWidth > 2) {
        const size_t first = closed ? 0 : 1;
        const size_t last = closed ? points.size() : points.size() - 1;
        for (size_t i = first; i < last; ++i) {
            UserPolygon join = circle(points[i], half, 12);
            orientPositive(join);
            pieces.push_back(std::move(join));
        }
    }
    return pieces;
}

void SdlGraphicsContext::strokeRect(const Rect& rect) {
    fillPolygons(strokeOutline(corners(rect), true), state_.stroke);
}

void SdlGraphicsContext::strokePath(const ui::Path& path) {
    std::vector<UserPolygon> pieces;
    for (const ui::Path::Subpath& subpath : path.subpaths()) {
        std::vector<UserPolygon> outline = strokeOutline(subpath.points, subpath.closed);
        pieces.insert(pieces.end(), std::make_move_iterator(outline.begin()), std::make_move_iterator(outline.end()));
    }
    fillPolygons(pieces, state_.stroke);
}

void SdlGraphicsContext::drawLine(Point from, Point to) {
    fillPolygons(strokeOutline({from, to}, false), state_.stroke);
}

void SdlGraphicsContext::drawText(const std::string& text, const Rect& rect, const ui::Font& font, Color color,
                                  ui::TextAlignment alignment, int maxLines) {
    if (text.empty() || rect.isEmpty()) return;
    std::vector<std::string> lines;
    if (maxLines == 1) {
        // A one-line text is not wrapped: it runs on and is cut by the clip, like a label.
        lines.push_back(text.substr(0, text.find('\n')));
    } else {
        lines = font.wrap(text, rect.width());
        if (maxLines > 0 && lines.size() > size_t(maxLines)) lines.resize(size_t(maxLines));
    }
    const double lineHeight = font.lineHeight();
    if (lineHeight <= 0 || lines.empty()) return;
    // Lines that do not fit the height are cut at the bottom; one line always shows.
    const size_t fitting = size_t(std::max(1.0, std::floor((rect.height() + 0.5) / lineHeight)));
    if (lines.size() > fitting) lines.resize(fitting);

    const double top = rect.minY() + (rect.height() - lineHeight * double(lines.size())) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        double x = rect.minX();
        if (alignment != ui::TextAlignment::Left) {
            const double width = font.measure(lines[i]).width;
            x = alignment == ui::TextAlignment::Center ? rect.midX() - width / 2 : rect.maxX() - width;
        }
        drawTextLine(lines[i], {x, top + lineHeight * double(i)}, font, color);
    }
}

void SdlGraphicsContext::drawTextAt(const std::string& text, Point point, const ui::Font& font, Color color) {
    drawTextLine(text.substr(0, text.find('\n')), point, font, color);
}

void SdlGraphicsContext::drawTextLine(const std::string& line, Point topLeft, const ui::Font& font, Color color) {
    if (line.empty() || clipIsEmpty() || color.a * state_.alpha <= 0) return;
    void* handle = font.ttfHandle();
    if (!handle || font.pixelSize() <= 0) return;
    // Text is drawn white and tinted by the vertex colour, so one texture serves every colour.
    const TextureCache::Key key{handle, line};
    SDL_Texture* texture = textures_.find(key);
    if (!texture) {
        SDL_Surface* surface = nullptr;
        {
            std::lock_guard<std::mutex> lock(ui::Font::ttfMutex());
            surface = TTF_RenderUTF8_Blended(static_cast<TTF_Font*>(handle), line.c_str(), {255, 255, 255, 255});
        }
        if (!surface) return;
        // Kept for writing tinted text straight into the target.
        texture = textures_.insert(key, surface, {}, pixels_ != nullptr);
        SDL_FreeSurface(surface);
        if (!texture) return;
    }
    int width = 0, height = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &width, &height);
    const double pointsPerPixel = font.size() / font.pixelSize();
    const RgbaPixels pixels = pixels_ ? textures_.pixels(key) : RgbaPixels{};
    drawTexturedQuad(texture, {0, 0, float(width), float(height)},
                     {topLeft, {width * pointsPerPixel, height * pointsPerPixel}}, color,
                     pixels.bytes ? &pixels : nullptr);
}

SDL_Texture* SdlGraphicsContext::imageTexture(const ui::ImagePtr& image) {
    if (image->width() <= 0 || image->height() <= 0) return nullptr;
    const TextureCache::Key key{image.get(), {}};
    const std::weak_ptr<const void> life = std::shared_ptr<const void>(image);
    if (SDL_Texture* texture = textures_.find(key, life)) return texture;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(image->bytes()), image->width(), image->height(), 32,
                                           image->width() * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return nullptr;
    SDL_Texture* texture = textures_.insert(key, surface, life);
    SDL_FreeSurface(surface);
    return texture;
}

void SdlGraphicsContext::drawImage(const ui::ImagePtr& image, const Rect& rect) {
    if (rect.isEmpty() || clipIsEmpty()) return;
    if (!image) {
        drawMissingImage(*this, rect);
        return;
    }
    SDL_Texture* texture = imageTexture(image);
    if (!texture) return;
    const RgbaPixels pixels{image->bytes(), image->width(), image->height(), size_t(image->width()) * 4};
    for (const Slice& column : slices(image->width(), image->leftCap(), rect.minX(), rect.width())) {
        for (const Slice& row : slices(image->height(), image->topCap(), rect.minY(), rect.height())) {
            drawTexturedQuad(texture,
                             {float(column.sourceStart), float(row.sourceStart), float(column.sourceLength),
                              float(row.sourceLength)},
                             {column.targetStart, row.targetStart, column.targetLength, row.targetLength},
                             Color::white(), &pixels);
        }
    }
}

void SdlGraphicsContext::drawTexturedQuad(SDL_Texture* texture, const SDL_FRect& source, const Rect& target, Color tint,
                                          const RgbaPixels* pixels) {
    const double alpha = tint.a * state_.alpha;
    if (alpha <= 0 || target.isEmpty() || source.w <= 0 || source.h <= 0) return;
    int width = 0, height = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &width, &height) != 0 || width <= 0 || height <= 0) return;
    const SDL_Color colour{toByte(tint.r), toByte(tint.g), toByte(tint.b), toByte(alpha)};
    const float u0 = source.x / float(width), u1 = (source.x + source.w) / float(width);
    const float v0 = source.y / float(height), v1 = (source.y + source.h) / float(height);
    const std::vector<Point> quad = corners(target);
    const SDL_FPoint uv[4] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    SDL_Vertex vertices[4];
    for (int i = 0; i < 4; ++i) {
        const Point p = state_.transform.apply(quad[size_t(i)]);
        vertices[i] = SDL_Vertex{{float(p.x), float(p.y)}, colour, uv[i]};
    }
    const int indices[6] = {0, 1, 2, 0, 2, 3};
    payClear();
    const bool copied = colour.a == 255 && TextureCache::isOpaque(texture);
    if (!copied && pixels && pixels->width == width && pixels->height == height &&
        blendDirectly(texture, vertices, source, *pixels))
        return;
    SDL_SetTextureBlendMode(texture, copied ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_RenderGeometry(renderer_, texture, vertices, 4, indices, 6);
}

namespace {

// The whole number that a texture coordinate times the texture's size gives, however it is
// rounded or truncated, in float or in double; -1 when the ways could disagree.
int texel(float coordinate, int size, float expected) {
    const int whole = int(expected);
    if (float(whole) != expected) return -1;
    const double wide = double(coordinate) * size;
    const float narrow = coordinate * float(size);
    const bool steady = wide >= whole && wide < whole + 0.5 && narrow >= float(whole) && narrow < float(whole) + 0.5f;
    return steady ? whole : -1;
}

} // namespace

bool SdlGraphicsContext::blendDirectly(SDL_Texture* texture, const SDL_Vertex (&v)[4], const SDL_FRect& source,
                                       const RgbaPixels& pixels) {
    if (!pixels_ || pixels_->format->format != SDL_PIXELFORMAT_RGBA32) return false;
    // SDL draws an upright textured rectangle as a stretched blit of its whole-pixel rectangle.
    const float x0 = v[0].position.x, y0 = v[0].position.y, x1 = v[2].position.x, y1 = v[2].position.y;
    if (v[1].position.x != x1 || v[1].position.y != y0 || v[3].position.x != x0 || v[3].position.y != y1) return false;
    if (!(x0 >= 0 && y0 >= 0 && x1 > x0 && y1 > y0)) return false;
    const float width = x1 - x0, height = y1 - y0;
    if (!(width < float(target_.w) + 1 && height < float(target_.h) + 1)) return false;
    const SDL_Rect to{int(x0), int(y0), int(width), int(height)};
    if (to.w <= 0 || to.h <= 0) return false;
    const SDL_Rect& clip = state_.clip;
    if (to.x < clip.x || to.y < clip.y || to.x + to.w > clip.x + clip.w || to.y + to.h > clip.y + clip.h) return false;
    const int left = texel(v[0].tex_coord.x, pixels.width, source.x);
    const int top = texel(v[0].tex_coord.y, pixels.height, source.y);
    const int right = texel(v[2].tex_coord.x, pixels.width, source.x + source.w);
    const int bottom = texel(v[2].tex_coord.y, pixels.height, source.y + source.h);
    if (left < 0 || top < 0 || right > pixels.width || bottom > pixels.height) return false;
    const SDL_Rect from{left, top, right - left, bottom - top};
    // A one-texel-wide part is drawn otherwise by SDL.
    if (from.w <= 1 || from.h <= 1) return false;
    const SDL_Color tint = v[0].color;
    const SdlBlendMatch& match = sdlBlendMatch();
    // Unstretched and untinted, SDL blends by other arithmetic, which depends on the texture's
    // format as well.
    if (to.w == from.w && to.h == from.h && tint.r == 255 && tint.g == 255 && tint.b == 255 && tint.a == 255) {
        Uint32 format = 0;
        if (!match.unstretched || SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr) != 0 ||
            format != SDL_PIXELFORMAT_RGBA32) {
            return false;
        }
        SDL_RenderFlush(renderer_);
        blendUnstretched(pixels, from, pixels_, to);
        return true;
    }
    if (!match.stretched) return false;
    SDL_RenderFlush(renderer_);
    blendStretched(pixels, from, pixels_, to, tint);
    return true;
}

void SdlGraphicsContext::drawRadialGradient(Point center, double radius, Color inner, Color outer) {
    if (radius <= 0) return;
    const ui::Size deviceSize = state_.transform.apply(ui::Size{radius, radius});
    const double deviceRadius = std::max(std::abs(deviceSize.width), std::abs(deviceSize.height));
    // Concentric rings, each an outer circle with the inner one cut out, so none overlaps.
    const int rings = std::clamp(int(deviceRadius / 2), 1, 64);
    const int segments = std::clamp(int(deviceRadius), 16, 96);
    for (int i = 0; i < rings; ++i) {
        std::vector<UserPolygon> ring;
        ring.push_back(circle(center, radius * (i + 1) / rings, segments));
        if (i > 0) {
            UserPolygon hole = circle(center, radius * i / rings, segments);
            std::reverse(hole.begin(), hole.end());
            ring.push_back(std::move(hole));
        }
        fillPolygons(ring, mix(inner, outer, (i + 0.5) / rings));
    }
}

void SdlGraphicsContext::clear(const Rect& rect) {
    paintSpans(spansFor({corners(rect)}), {0, 0, 0, 0}, SDL_BLENDMODE_NONE);
}

} // namespace platform::render
