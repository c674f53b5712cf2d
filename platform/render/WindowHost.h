#pragma once

#include "platform/render/Renderer.h"

#include <SDL.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform::render {

// A real window on the desktop showing the application's windows, and the main loop that
// feeds it: mouse and keys go to ui::Application's input entry points, posted closures and
// timers of platform::RunLoop::main() run, and the screen is redrawn when something drawn
// changed (or, while animations run, at the display's rate, at most 60 frames a second).
// A frame redraws only the area that changed (ui::Display gathers it) over the last
// frame, kept in a texture; animations, layouts and window changes redraw it whole.
// Between frames it sleeps in SDL's event wait, so an idle client uses no processor time.
class WindowHost {
public:
    WindowHost();
    ~WindowHost();
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    // True when a real video device can be opened (a desktop session is there).
    static bool displayAvailable();

    // Opens the window at the screen's size (ui::Screen::bounds()). False when it cannot.
    bool open(const std::string& title = "Kavo Online");
    bool isOpen() const { return window_ != nullptr; }

    // Runs the main loop on the calling thread (which becomes the main thread) until the
    // window is closed or stop() is called. Opens the window first when needed. Returns
    // false when no window could be opened.
    bool run();
    // Ends run() after the current turn. Safe from any thread.
    void stop();
    // One turn of the window without waiting and without running the run loop: handles
    // the desktop's waiting events and redraws when something drawn changed. For a caller
    // that holds the main thread for a while (a script run inside run()), so the window
    // keeps answering and drawing meanwhile.
    void pump();

    // Frames drawn so far (for tests and the idle check), and those drawn whole.
    uint64_t framesDrawn() const { return framesDrawn_; }
    uint64_t wholeFramesDrawn() const { return wholeFramesDrawn_; }
    // Turns of run()'s loop so far: each sleeps until an event, a timer or the next frame.
    uint64_t loopTurns() const { return loopTurns_; }
    // Inputs handed to the application so far: left-button releases, wheel steps and the
    // keys it takes (Return, Backspace, Tab, Escape). A script driven from outside waits
    // on it to know that a click or a key it was sent has landed.
    uint64_t inputsTaken() const { return inputsTaken_; }

    // The tests' hook: called on the loop's thread as run() begins to wait with nothing to
    // run, no frame to draw and no event queued (only a new event or a timer ends that
    // wait), so a test posts from another thread only once the loop waits so. Null but in
    // tests; set before run().
    void setSleepsHook(std::function<void()> hook) { sleepsHook_ = std::move(hook); }

private:
    void close();
    void handle(const SDL_Event& event);
    void drawFrame();
    // Draws a frame when something changed (at most at the frame rate); true while
    // animations run.
    bool drawIfWanted();
    // Milliseconds to sleep for the next timer, frame or posted closure (-1: until an event).
    int waitTimeout(bool wantsFrame) const;
    double frameInterval() const;

    // The last frame, kept so a frame can redraw only the area that changed. Null when
    // the renderer cannot draw into a texture (every frame is then drawn whole).
    bool prepareCanvas();
    SDL_Texture* canvas_ = nullptr;
    int canvasWidth_ = 0, canvasHeight_ = 0;
    bool canvasTried_ = false;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* sdlRenderer_ = nullptr;
    std::unique_ptr<Renderer> renderer_;
    bool videoStarted_ = false;
    uint32_t wakeEventType_ = 0;
    // Shared with the run loop's waker, which may outlive a stopped loop briefly.
    std::shared_ptr<std::atomic<bool>> wakePending_;
    std::function<void()> sleepsHook_;
    std::atomic<bool> stopped_{false};
    bool mouseDown_ = false;
    ui::Point lastMouse_;
    bool forceRedraw_ = true;
    bool wasAnimating_ = false;
    uint64_t drawnGeneration_ = 0;
    double lastFrameTime_ = -1; // real seconds
    double frameInterval_ = 1.0 / 60;
    // The interval the next frame waits for: twice the frame rate's while only slow moves run.
    double interval_ = 1.0 / 60;
    uint64_t framesDrawn_ = 0;
    uint64_t wholeFramesDrawn_ = 0;
    uint64_t loopTurns_ = 0;
    uint64_t inputsTaken_ = 0;
};

} // namespace platform::render
