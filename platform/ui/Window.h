#pragma once

#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace platform::ui {

class ViewController;

// Window levels: higher levels are drawn above and get touches first.
struct WindowLevel {
    static constexpr double Normal = 0;
    static constexpr double StatusBar = 1000;
    static constexpr double Alert = 2000;
};

// A top-level view. Windows start hidden; a shown window (makeKeyAndVisible or
// setHidden(false)) is kept alive by the window list until it is hidden again.
class Window : public View {
public:
    explicit Window(Rect frame);
    ~Window() override;
    // A window covering the screen by default.
    static std::shared_ptr<Window> make();
    static std::shared_ptr<Window> make(Rect frame);

    double windowLevel() const { return level_; }
    void setWindowLevel(double level);
    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    void setHidden(bool hidden) override;

    // The root controller's view fills the window. Setting it while the window is shown
    // sends the appearance calls.
    const std::shared_ptr<ViewController>& rootViewController() const { return rootViewController_; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // Shown windows, lowest level first (last on top); equal levels in the order shown.
    static std::vector<std::shared_ptr<Window>> visibleWindows();
    static Window* keyWindow();
    // Hides and forgets every window (between tests).
    static void resetAll();

private:
    void addToVisibleList();
    void removeFromVisibleList();
    double level_ = WindowLevel::Normal;
    std::shared_ptr<ViewController> rootViewController_;
};

} // namespace platform::ui
