#include "platform/render/Renderer.h"

#include "platform/render/OffscreenTarget.h"
#include "platform/render/SdlGraphicsContext.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Path.h"

#include <cmath>

namespace platform::render {

using ui::Color;
using ui::Rect;

namespace {

// The value of a layer animation at `time`, or false when it is not running then.
bool layerAnimationValue(const ui::LayerAnimation& animation, double time, double& value) {
    if (animation.values.empty() || animation.duration <= 0) return false;
    const double elapsed = time - animation.startTime;
    if (elapsed < 0 || time >= animation.endTime()) return false;
    const double cycle = animation.autoreverses ? 2 * animation.duration : animation.duration;
    double progress = std::fmod(elapsed, cycle) / animation.duration;
    if (progress > 1) progress = 2 - progress;
    const double position = progress * double(animation.values.size() - 1);
    const size_t index = std::min(size_t(position), animation.values.size() - 1);
    const size_t next = std::min(index + 1, animation.values.size() - 1);
    value = animation.values[index] + (animation.values[next] - animation.values[index]) * (position - double(index));
    return true;
}

// What a view looks like at this moment: its model values, or the in-between values of
// the animations running on it.
struct Appearance {
    ui::Point center;
    Rect bounds;
    ui::AffineTransform transform;
    double alpha = 1;
    double zRotation = 0;
};

Appearance appearanceOf(const ui::View& view) {
    Appearance look;
    look.center = view.presentationCenter();
    look.bounds = view.presentationBounds();
    look.transform = view.presentationTransform();
    look.alpha = view.presentationAlpha();
    look.zRotation = view.layer().zRotation();

    const ui::Layer& layer = view.layer();
    const double now = platform::Clock::time();
    for (const std::string& key : layer.animationKeys()) {
        const ui::LayerAnimation* animation = layer.animationForKey(key);
        double value = 0;
        if (!animation || !layerAnimationValue(*animation, now, value)) continue;
        const std::string& path = animation->keyPath;
        if (path == "opacity") {
            look.alpha = value;
        } else if (path == "transform.rotation.y") {
            look.zRotation = value;
        } else if (path == "transform.rotation" || path == "transform.rotation.z") {
            look.transform = ui::AffineTransform::rotation(value).concat(look.transform);
        } else if (path == "transform.scale") {
            look.transform = ui::AffineTransform::scale(value, value).concat(look.transform);
        } else if (path == "position.x") {
            look.center.x = value;
        } else if (path == "position.y") {
            look.center.y = value;
        }
    }
    return look;
}

// The outline of the bounds, rounded when the layer says so.
void fillOutline(ui::GraphicsContext& context, const Rect& rect, double cornerRadius) {
    if (cornerRadius > 0) {
        ui::Path path;
        path.addRoundedRect(rect, cornerRadius);
        context.fillPath(path);
    } else {
        context.fillRect(rect);
    }
}

// The area a frame redraws (screen points) while render() runs with one; null otherwise.
// Main thread only, as all drawing is.
const Rect* frameArea = nullptr;

// True when nothing of the view itself lands in the frame's area: its content is not drawn
// (its subviews still are, they may reach past it).
bool outsideFrameArea(const ui::View& view) {
    if (!frameArea) return false;
    constexpr double kMargin = 8;
    return !view.convertRect(view.bounds(), nullptr).insetBy(-kMargin, -kMargin).intersects(*frameArea);
}

} // namespace

Renderer::Renderer(SDL_Renderer* renderer) : renderer_(renderer), textures_(renderer) {}

void Renderer::drawView(ui::GraphicsContext& context, ui::View& view) {
    if (view.isHidden()) return;
    const Appearance look = appearanceOf(view);
    if (look.alpha <= 0) return;
    const bool outside = outsideFrameArea(view) && !view.animationState() && !view.layer().hasAnimationsInFlight();
    // A view that clips its subviews and lies wholly outside the area has nothing to draw there.
    if (outside && view.clipsToBounds()) return;
    const ui::Layer& layer = view.layer();
    const Rect& bounds = look.bounds;

    context.save();
    // Superview coordinates -> this view's bounds coordinates: the transform (and the
    // layer's turn about the vertical axis, seen as a squeeze) act about the centre.
    context.translate(look.center.x, look.center.y);
    if (!look.transform.isIdentity()) context.concat(look.transform);
    if (look.zRotation != 0) context.concat(ui::AffineTransform::scale(std::cos(look.zRotation), 1));
    context.translate(-bounds.midX(), -bounds.midY());
    context.setAlpha(look.alpha);

    const double radius = layer.cornerRadius();
    if (!outside && layer.shadowOpacity() > 0 && !layer.shadowColor().isClear()) {
        context.setFillColor(layer.shadowColor().withAlpha(layer.shadowColor().a * layer.shadowOpacity()));
        fillOutline(context, bounds.offsetBy(layer.shadowOffset().width, layer.shadowOffset().height), radius);
    }
    if (view.clipsToBounds()) context.clipToRect(bounds);
    if (!outside) {
        if (!view.backgroundColor().isClear()) {
            context.setFillColor(view.backgroundColor());
            fillOutline(context, bounds, radius);
        }
        if (layer.contents()) context.drawImage(layer.contents(), bounds);
        context.save();
        view.drawContent(context);
        context.restore();
    }

    // Copied: drawing may not change the tree, but a draw handler could.
    const std::vector<ui::ViewPtr> subviews = view.subviews();
    for (const ui::ViewPtr& subview : subviews)
        drawView(context, *subview);

    if (!outside && layer.borderWidth() > 0 && !layer.borderColor().isClear()) {
        // The border lies inside the bounds, over the subviews.
        const double width = layer.borderWidth();
        context.setStrokeColor(layer.borderColor());
        context.setLineWidth(width);
        const Rect edge = bounds.insetBy(width / 2, width / 2);
        if (radius > 0) {
            ui::Path path;
            path.addRoundedRect(edge, std::max(0.0, radius - width / 2));
            context.strokePath(path);
        } else {
            context.strokeRect(edge);
        }
    }
    context.restore();
}

void Renderer::render(const WindowList& windows, ui::Size screen, double scale, const ui::Rect* area) {
    SDL_RenderSetClipRect(renderer_, nullptr);
    // The area in whole pixels, so the clearing and the clip cover the same pixels.
    ui::Rect clip;
    SDL_Rect pixels{0, 0, 0, 0};
    if (area) {
        const int x0 = int(std::floor(area->minX() * scale)), y0 = int(std::floor(area->minY() * scale));
        const int x1 = int(std::ceil(area->maxX() * scale)), y1 = int(std::ceil(area->maxY() * scale));
        pixels = {x0, y0, x1 - x0, y1 - y0};
        clip = {x0 / scale, y0 / scale, (x1 - x0) / scale, (y1 - y0) / scale};
    }
    {
        SdlGraphicsContext context(renderer_, textures_, {screen.width * scale, screen.height * scale}, scale,
                                   directDrawing_ ? OffscreenTarget::surfaceOf(renderer_) : nullptr);
        context.clearFirst(area ? &pixels : nullptr);
        if (area) context.clipToRect(clip);
        frameArea = area ? &clip : nullptr;
        for (const std::shared_ptr<ui::Window>& window : windows) {
            if (!window) continue;
            window->layoutIfNeeded();
            drawView(context, *window);
        }
        frameArea = nullptr;
    }
    textures_.endFrame();
}

ui::ImagePtr Renderer::renderToImage(const WindowList& windows, ui::Size screen) {
    const int width = int(std::lround(screen.width)), height = int(std::lround(screen.height));
    if (width <= 0 || height <= 0) return nullptr;
    OffscreenTarget target(width, height);
    if (!target.isValid()) return nullptr;
    {
        Renderer renderer(target.renderer());
        renderer.render(windows, {double(width), double(height)});
    }
    return ui::Image::fromPixels(width, height, target.rgbaPixels());
}

bool Renderer::writeScreenshot(const std::string& path, const WindowList& windows) {
    ui::ImagePtr image = renderToImage(windows, ui::Screen::size());
    if (!image || !image->writePng(path)) {
        platform::log("render: screenshot not written: " + path);
        return false;
    }
    return true;
}

} // namespace platform::render
