#pragma once

#include "platform/automation/ViewQuery.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace platform::automation {

struct DriverResult {
    bool ok = true;
    int failedLine = 0; // 1-based; 0 when ok
    std::string message;
};

// Drives the running client from a script, in the same process and on the main thread,
// the way a person would: touches, typed text and keys go through the application's
// input entry points, so they take the same road as mouse and keyboard.
//
// One command per line; blank lines and lines starting with '#' are skipped.
//   wait SELECTOR [SECONDS]    until a visible view matches (default 30 s)
//   wait-not SELECTOR [SECONDS] until no visible view matches (a value that another process
//                              changes to one of several values leaves)
//   expect SELECTOR            a visible view matches now
//   expect-not SELECTOR        no visible view matches now
//   tap SELECTOR               touch down and up at the centre of the view's visible part;
//                              fails, naming the covering view, when the finger would land on
//                              a view that is neither the matched one, inside it, nor around it
//   type SELECTOR TEXT         taps the field, deletes its text and types TEXT (spaces kept);
//                              editing stays open
//   return SELECTOR            presses the return key in that field
//   drag SELECTOR DX DY        touch down at the centre, move by (DX, DY) as a mouse does (a
//                              first move of one point, then in steps), touch up
//   drag-from SELECTOR X Y DX DY  the same, touching down at (X, Y) in the view's own points
//   screen CLASS [SECONDS]     until the top screen's controller class is CLASS (default 30 s)
//   sleep SECONDS              runs the run loop for that much real time
//   advance SECONDS            moves the manual clock (an error on the real clock)
//   shot PATH                  writes a PNG of the shown windows
//   dump                       prints the view tree
//   where SELECTOR             prints "where SELECTOR at X Y": the screen point a tap on the
//                              view would touch (so a test outside the process can click there)
//   inputs N [SECONDS]         until the window has taken N inputs in all since it opened
//                              (see setInputCount; default 30 s), then lets what they started
//                              run for half a second: a click sent from outside has landed
//
// Where the selector ends: for wait, wait-not, expect, expect-not, tap, return, where and screen the
// selector (or class) runs to the end of the line, so texts may hold spaces; for wait, wait-not and
// screen a last word that is a number is the time-out instead. For type the selector is
// the first word and the text is the rest of the line after the one blank that follows
// it (inner and leading blanks kept; blanks at the end of a line are dropped). For drag
// (drag-from) the last two (four) words are the numbers and the selector is what lies between.
//
// Waiting runs the main run loop in real time (runNext in small steps), so replies from
// network threads arrive; on the manual clock the clock does not move by itself. A wait
// looks at the screen after each posted closure (each reply's main-thread work), so a
// state that one reply shows and the next ends is seen even when both were read at once,
// as they are after the client or the server was held up. When the
// application terminates while a line waits (a stop signal), the script ends there with
// the failure "the application ended".
class Driver {
public:
    // Progress (each line as it runs) and dumps go to `output` when given.
    explicit Driver(std::ostream* output = nullptr) : output_(output) {}

    DriverResult run(const std::string& script);

    void setDefaultTimeout(double seconds) { defaultTimeout_ = seconds; }
    // Steps of a drag (moves between the touch down and the touch up).
    void setDragSteps(int steps) { dragSteps_ = steps < 1 ? 1 : steps; }
    // Called after every line and on every turn of the run loop while a line waits or
    // sleeps, so that a window can handle its events and redraw while a script runs.
    void setTurnHook(std::function<void()> hook) { turnHook_ = std::move(hook); }
    // The count of inputs the window has taken, for `inputs`; without it `inputs` fails.
    void setInputCount(std::function<uint64_t()> count) { inputCount_ = std::move(count); }

private:
    struct Outcome {
        bool ok = true;
        std::string reason;
    };
    static Outcome fail(std::string reason) { return Outcome{false, std::move(reason)}; }

    Outcome runLine(const std::string& line);
    // Until a view matches (`present`) or none does.
    Outcome waitFor(const Selector& selector, double timeout, bool present);
    Outcome waitForScreen(const std::string& className, double timeout);
    Outcome expect(const Selector& selector, bool present);
    Outcome tap(const Selector& selector);
    Outcome type(const Selector& selector, const std::string& text);
    Outcome pressReturn(const Selector& selector);
    Outcome drag(const Selector& selector, std::optional<ui::Point> grab, double dx, double dy);
    Outcome sleep(double seconds);
    Outcome advance(double seconds);
    Outcome shot(const std::string& path);
    Outcome dump();
    Outcome where(const Selector& selector, const std::string& text);
    Outcome waitForInputs(double count, double timeout);

    // The selector's view, or a failure naming what was not found.
    ui::View* locate(const Selector& selector, Outcome& outcome);
    // Where a finger lands on the view (its visible centre, or `grab` in its own points), or why
    // it cannot: the view cannot be seen there or another view covers it.
    Outcome pressPoint(ui::View& view, ui::Point& point, std::optional<ui::Point> grab = std::nullopt);
    // Runs what the last action posted.
    void settle();
    // One turn of the run loop (waiting at most `maxWait` s), then the turn hook.
    void pollTurn(double maxWait);
    // The same with at most one posted closure: a wait looks at the screen after each.
    void pollStep(double maxWait);
    std::string screenSummary() const;

    std::ostream* output_ = nullptr;
    // True when the application was running at the start and has terminated since.
    bool applicationEnded() const;

    double defaultTimeout_ = 30;
    bool applicationWasRunning_ = false;
    int dragSteps_ = 5;
    std::function<void()> turnHook_;
    std::function<uint64_t()> inputCount_;
};

} // namespace platform::automation
