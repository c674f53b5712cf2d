#pragma once

#include "CoreTestSupport.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Window.h"

#include <memory>
#include <string>

// A test of the controls: a shown window of the screen's size to put them in, and touches
// made the way a person makes them (through Application::dispatchTouch).
class ControlsTest : public CoreUiTest {
protected:
    void SetUp() override {
        CoreUiTest::SetUp();
        window = platform::ui::Window::make();
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        platform::ui::OverlayStack::reset();
        window.reset();
        CoreUiTest::TearDown();
    }

    static platform::ui::Point centerOf(const platform::ui::View& view) {
        return view.convertPoint(view.bounds().center(), nullptr);
    }
    static void touch(platform::ui::TouchPhase phase, platform::ui::Point screen) {
        platform::ui::Application::shared().dispatchTouch(phase, screen);
    }
    static void tap(platform::ui::Point screen) {
        touch(platform::ui::TouchPhase::Began, screen);
        touch(platform::ui::TouchPhase::Ended, screen);
    }
    static void tap(const platform::ui::View& view) { tap(centerOf(view)); }
    // A finger from `from` to `to` in `steps` moves, then lifted.
    static void drag(platform::ui::Point from, platform::ui::Point to, int steps = 5) {
        touch(platform::ui::TouchPhase::Began, from);
        for (int i = 1; i <= steps; ++i)
            touch(platform::ui::TouchPhase::Moved,
                  {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        touch(platform::ui::TouchPhase::Ended, to);
    }

    // The first button of that title in the shown windows, top window first.
    static std::shared_ptr<platform::ui::Button> findButton(const std::string& title) {
        auto windows = platform::ui::Window::visibleWindows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            for (const auto& button : (*it)->subviewsOfType<platform::ui::Button>())
                if (button->text() == title && button->isVisibleOnScreen()) return button;
        return nullptr;
    }

    std::shared_ptr<platform::ui::Window> window;
};
