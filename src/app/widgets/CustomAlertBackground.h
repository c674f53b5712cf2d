#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/Window.h"

#include <memory>

namespace kavo {

// The one full-screen window above the status bar that dims the screen and holds the stack
// of shown block alerts. Only the topmost alert takes touches; when the last one goes the
// window hides and the key window from before comes back.
class CustomAlertBackground : public platform::ui::Window {
public:
    static std::shared_ptr<CustomAlertBackground> sharedInstance();

    // Shows the window (remembering the key window) and puts the view on top; an alert
    // below stops taking touches. A pending background picture goes in first, under the view.
    void addToMainWindow(const platform::ui::ViewPtr& view);
    // Takes the view (and the background picture under it) away; hides the window when empty.
    void removeView(const platform::ui::ViewPtr& view);
    // Fades the dimming out when the window holds only one alert (and its picture).
    void reduceAlphaIfEmpty();

    // A full-screen picture for the next addToMainWindow, which consumes it.
    const platform::ui::ImagePtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(platform::ui::ImagePtr image) { backgroundImage_ = std::move(image); }
    bool vignetteBackground() const { return vignetteBackground_; }
    void setVignetteBackground(bool on);

    // Drops every view and hides the window (between tests).
    void reset();

    void draw(platform::ui::GraphicsContext& context) override;

    explicit CustomAlertBackground(platform::ui::Rect frame);

private:
    std::weak_ptr<platform::ui::Window> previousKeyWindow_;
    platform::ui::ImagePtr backgroundImage_;
    bool vignetteBackground_ = false;
};

} // namespace kavo
