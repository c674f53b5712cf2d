#pragma once

#include "platform/render/MissingImage.h"
#include "platform/render/TextureCache.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Window.h"

#include <SDL.h>
#include <memory>
#include <string>
#include <vector>

namespace platform::render {

using WindowList = std::vector<std::shared_ptr<ui::Window>>;

// Draws windows and their view trees. For each shown view: its position, scroll offset,
// transform about the centre, alpha (multiplied down the tree) and the layer's turn; then
// the shadow, the background (rounded when the layer has a corner radius), the layer's
// picture, the view's own drawing and draw handler, the subviews (clipped when the view
// clips) and last the border. Running animations are shown at their current values.
class Renderer {
public:
    // Keeps textures for `renderer` between frames; the renderer must outlive this object.
    explicit Renderer(SDL_Renderer* renderer);

    // Clears the target to black and draws the windows, lowest level first. `scale` is
    // pixels per point. With an `area` (screen points), only that part of the target is
    // cleared and drawn; the rest keeps what it had.
    void render(const WindowList& windows, ui::Size screen, double scale = 1, const ui::Rect* area = nullptr);

    // On (the default), drawing into an offscreen target's pixels takes the quicker ways
    // that give the same bytes; off, everything goes through SDL (to compare the two).
    void setDirectDrawing(bool on) { directDrawing_ = on; }

    // Draws `view` and its subviews into a context whose coordinates are those of the
    // view's superview (screen coordinates for a window). Works with any context.
    static void drawView(ui::GraphicsContext& context, ui::View& view);

    // The windows drawn offscreen with the software renderer (no display needed), one pixel
    // per point. nullptr when the size is empty or SDL fails.
    static ui::ImagePtr renderToImage(const WindowList& windows, ui::Size screen);
    // A PNG of the windows at the screen's size; false when it cannot be written.
    static bool writeScreenshot(const std::string& path, const WindowList& windows = ui::Window::visibleWindows());

private:
    SDL_Renderer* renderer_;
    TextureCache textures_;
    bool directDrawing_ = true;
};

} // namespace platform::render
