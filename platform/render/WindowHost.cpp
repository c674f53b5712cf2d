#include "platform/render/WindowHost.h"

#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AnimationArea.h"
#include "platform/ui/Application.h"
#include "platform/ui/Display.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>

namespace platform::render {

namespace {

double realSeconds() {
    return double(SDL_GetTicks64()) / 1000.0;
}

// The video drivers that draw nowhere a person can see.
bool isHeadlessDriver(const char* name) {
    return name && (std::strcmp(name, "dummy") == 0 || std::strcmp(name, "offscreen") == 0);
}

} // namespace

WindowHost::WindowHost() : wakePending_(std::make_shared<std::atomic<bool>>(false)) {}

WindowHost::~WindowHost() {
    close();
}

bool WindowHost::displayAvailable() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
    if (isHeadlessDriver(std::getenv("SDL_VIDEODRIVER"))) return false;
    const bool wasStarted = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!wasStarted && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const bool real = !isHeadlessDriver(SDL_GetCurrentVideoDriver());
    if (!wasStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return real;
}

bool WindowHost::open(const std::string& title) {
    if (window_) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        platform::log(std::string("render: no video device: ") + SDL_GetError());
        return false;
    }
    videoStarted_ = true;
    // The client draws a small 2-D screen: SDL's own software renderer, presenting through
    // the window system's shared memory, costs least where the graphics library would only
    // emulate a GPU (a virtual display, a remote session). The environment may choose another.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    const ui::Size screen = ui::Screen::size();
    const int width = int(std::lround(screen.width)), height = int(std::lround(screen.height));
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                               SDL_WINDOW_RESIZABLE);
    if (!window_) {
        platform::log(std::string("render: no window: ") + SDL_GetError());
        close();
        return false;
    }
    sdlRenderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!sdlRenderer_) sdlRenderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!sdlRenderer_) {
        platform::log(std::string("render: no renderer: ") + SDL_GetError());
        close();
        return false;
    }
    // The screen keeps its size in points when the window is resized; SDL scales the
    // drawing and maps the mouse back to points.
    SDL_RenderSetLogicalSize(sdlRenderer_, width, height);
    renderer_ = std::make_unique<Renderer>(sdlRenderer_);
    // The computer's keyboard types into the window: nothing is drawn over the screen.
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    // Typed text is taken for as long as the window is open and goes to whatever is first
    // responder. Turned on only once a field is focused, it would lose the letters typed
    // right after the click on the field whenever the window reads them in the same batch
    // of events as the click (a busy or held-up client): they are made text or dropped as
    // they are read, before the click has focused anything.
    SDL_StartTextInput();
    forceRedraw_ = true;
    return true;
}

void WindowHost::close() {
    if (window_)
        platform::log("render: " + std::to_string(framesDrawn_) + " frames, " + std::to_string(wholeFramesDrawn_) +
                      " of them whole");
    if (canvas_) SDL_DestroyTexture(canvas_);
    canvas_ = nullptr;
    canvasTried_ = false;
    renderer_.reset();
    if (sdlRenderer_) SDL_DestroyRenderer(sdlRenderer_);
    sdlRenderer_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted_ = false;
}

void WindowHost::stop() {
    stopped_ = true;
    // Wake the event wait so the loop sees the flag.
    if (wakeEventType_ != 0) {
        SDL_Event event{};
        event.type = wakeEventType_;
        SDL_PushEvent(&event);
    }
}

double WindowHost::frameInterval() const {
    SDL_DisplayMode mode{};
    int rate = 60;
    if (window_ && SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0) rate = mode.refresh_rate;
    return 1.0 / std::min(rate, 60);
}

bool WindowHost::run() {
    if (!open()) return false;
    RunLoop& loop = RunLoop::main();
    loop.bindToCurrentThread();
    if (wakeEventType_ == 0) wakeEventType_ = SDL_RegisterEvents(1);
    if (wakeEventType_ == uint32_t(-1)) {
        platform::log("render: no user event type left");
        wakeEventType_ = 0;
        return false;
    }
    // One wake-up event at a time: a burst of posts wakes the loop once.
    loop.setWaker([pending = wakePending_, type = wakeEventType_] {
        if (pending->exchange(true)) return;
        SDL_Event event{};
        event.type = type;
        SDL_PushEvent(&event);
    });

    stopped_ = false;
    frameInterval_ = frameInterval();
    interval_ = frameInterval_;
    while (!stopped_) {
        ++loopTurns_;
        loop.runPending();

        const bool animating = drawIfWanted();
        if (stopped_) break;

        SDL_Event event;
        const bool stillWantsFrame = forceRedraw_ || animating || ui::Display::generation() != drawnGeneration_;
        const int timeout = waitTimeout(stillWantsFrame);
        if (sleepsHook_ && timeout != 0 && !stillWantsFrame && !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
            sleepsHook_();
        if (SDL_WaitEventTimeout(&event, timeout)) {
            handle(event);
            while (!stopped_ && SDL_PollEvent(&event))
                handle(event);
        }
    }
    loop.setWaker({});
    return true;
}

bool WindowHost::drawIfWanted() {
    const bool animating = ui::View::animationsInFlight();
    // One more frame after the last animation ends, to show the final values.
    if (wasAnimating_ && !animating) forceRedraw_ = true;
    wasAnimating_ = animating;
    const bool wantsFrame = forceRedraw_ || animating || ui::Display::generation() != drawnGeneration_;
    // Slow moves (a ticker, a sliding panel) look the same at half the rate and cost half.
    // The loop sleeps until this interval is over (waitTimeout), not only the frame rate's.
    ui::Rect moving;
    interval_ = animating && ui::animatingScreenArea(moving) ? 2 * frameInterval_ : frameInterval_;
    if (wantsFrame && (lastFrameTime_ < 0 || realSeconds() - lastFrameTime_ >= interval_)) drawFrame();
    return animating;
}

void WindowHost::pump() {
    if (!window_) return;
    SDL_Event event;
    while (!stopped_ && SDL_PollEvent(&event))
        handle(event);
    drawIfWanted();
}

int WindowHost::waitTimeout(bool wantsFrame) const {
    RunLoop& loop = RunLoop::main();
    if (loop.hasPendingTasks()) return 0;
    double wait = -1;
    // On a manual clock timers wait for the test to advance time, not for real time.
    if (!platform::Clock::current()->isManual()) {
        const double next = loop.nextTimerDate();
        if (next >= 0) wait = std::max(0.0, next - platform::Clock::time());
    }
    if (wantsFrame) {
        const double untilFrame = std::max(0.0, lastFrameTime_ + interval_ - realSeconds());
        wait = wait < 0 ? untilFrame : std::min(wait, untilFrame);
    }
    if (wait < 0) return -1;
    // Rounded up: waking a little early would only spin back into the wait.
    return int(std::min(std::ceil(wait * 1000), 3600.0 * 1000));
}

bool WindowHost::prepareCanvas() {
    const ui::Size screen = ui::Screen::size();
    const int width = int(std::lround(screen.width)), height = int(std::lround(screen.height));
    if (canvas_ && width == canvasWidth_ && height == canvasHeight_) return true;
    if (canvas_) SDL_DestroyTexture(canvas_);
    canvas_ = nullptr;
    if (canvasTried_ && !SDL_RenderTargetSupported(sdlRenderer_)) return false;
    canvasTried_ = true;
    if (!SDL_RenderTargetSupported(sdlRenderer_)) return false;
    canvas_ = SDL_CreateTexture(sdlRenderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    canvasWidth_ = width;
    canvasHeight_ = height;
    return canvas_ != nullptr;
}

void WindowHost::drawFrame() {
    if (!renderer_) return;
    // Frames are paced from their start, so drawing time does not lower the rate.
    lastFrameTime_ = realSeconds();
    const ui::Size screen = ui::Screen::size();
    // Laid out first: a layout may move views, and the area must know it.
    const auto windows = ui::Window::visibleWindows();
    for (const auto& window : windows)
        if (window) window->layoutIfNeeded();
    const ui::Display::Area changed = ui::Display::takeDirtyArea();
    const bool hadCanvas = canvas_ != nullptr;
    const bool canvas = prepareCanvas();
    // Moves and fades redraw only the path they cover; other animations the whole frame.
    ui::Rect moving;
    const bool animatingWhole = ui::View::animationsInFlight() && !ui::animatingScreenArea(moving);
    const bool whole = !canvas || !hadCanvas || forceRedraw_ || changed.whole || animatingWhole;
    const ui::Rect gathered = moving.isEmpty()         ? changed.rect
                              : changed.rect.isEmpty() ? moving
                                                       : changed.rect.unionWith(moving);
    const ui::Rect area = gathered.intersection({0, 0, screen.width, screen.height});
    if (canvas) SDL_SetRenderTarget(sdlRenderer_, canvas_);
    if (whole || !area.isEmpty()) renderer_->render(windows, screen, 1, whole ? nullptr : &area);
    if (canvas) {
        SDL_SetRenderTarget(sdlRenderer_, nullptr);
        SDL_SetRenderDrawColor(sdlRenderer_, 0, 0, 0, 255);
        SDL_RenderClear(sdlRenderer_);
        SDL_RenderCopy(sdlRenderer_, canvas_, nullptr, nullptr);
    }
    SDL_RenderPresent(sdlRenderer_);
    if (whole) ++wholeFramesDrawn_;
    // Read after drawing: laying out while drawing may mark the display dirty once more.
    drawnGeneration_ = ui::Display::generation();
    forceRedraw_ = false;
    ++framesDrawn_;
}

void WindowHost::handle(const SDL_Event& event) {
    ui::Application& app = ui::Application::shared();
    if (event.type == wakeEventType_ && wakeEventType_ != 0) {
        wakePending_->store(false);
        return;
    }
    switch (event.type) {
    case SDL_QUIT:
        stopped_ = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT) break;
        mouseDown_ = true;
        lastMouse_ = {double(event.button.x), double(event.button.y)};
        app.dispatchTouch(ui::TouchPhase::Began, lastMouse_, std::max(1, int(event.button.clicks)));
        break;
    case SDL_MOUSEMOTION:
        if (!mouseDown_) break;
        lastMouse_ = {double(event.motion.x), double(event.motion.y)};
        app.dispatchTouch(ui::TouchPhase::Moved, lastMouse_);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT || !mouseDown_) break;
        mouseDown_ = false;
        lastMouse_ = {double(event.button.x), double(event.button.y)};
        app.dispatchTouch(ui::TouchPhase::Ended, lastMouse_, std::max(1, int(event.button.clicks)));
        ++inputsTaken_;
        break;
    case SDL_MOUSEWHEEL: {
        // Wheel steps of about three lines; the pointer picks the scroll view.
        constexpr double kPointsPerStep = 40;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        float logicalX = float(x), logicalY = float(y);
        if (sdlRenderer_) SDL_RenderWindowToLogical(sdlRenderer_, x, y, &logicalX, &logicalY);
        const double flip = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        app.dispatchScroll({double(logicalX), double(logicalY)},
                           {flip * event.wheel.x * kPointsPerStep, -flip * event.wheel.y * kPointsPerStep});
        ++inputsTaken_;
        break;
    }
    case SDL_TEXTINPUT:
        app.dispatchText(event.text.text);
        break;
    case SDL_KEYDOWN: {
        // The keys the client takes, and the key each stands for.
        static constexpr std::pair<SDL_Keycode, ui::Key> kKeys[] = {
            {SDLK_RETURN, ui::Key::Return}, {SDLK_KP_ENTER, ui::Key::Return}, {SDLK_BACKSPACE, ui::Key::Backspace},
            {SDLK_TAB, ui::Key::Tab},       {SDLK_ESCAPE, ui::Key::Escape},   {SDLK_UP, ui::Key::Up},
            {SDLK_DOWN, ui::Key::Down},     {SDLK_LEFT, ui::Key::Left},       {SDLK_RIGHT, ui::Key::Right}};
        const auto* key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                       [&](const auto& entry) { return entry.first == event.key.keysym.sym; });
        if (key == std::end(kKeys)) return;
        app.dispatchKey(key->second);
        ++inputsTaken_;
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            // The finger left with the focus: the touch is cancelled, not ended; and the
            // field being edited ends its edit.
            mouseDown_ = false;
            app.windowLostFocus();
        } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                   event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            forceRedraw_ = true;
        }
        break;
    default:
        break;
    }
}

} // namespace platform::render
