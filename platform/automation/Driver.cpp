#include "platform/automation/Driver.h"

#include "platform/automation/TreeDump.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Responder.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace platform::automation {

namespace {

using SteadyClock = std::chrono::steady_clock;

// How long one turn of the run loop may wait while a line waits for the screen.
constexpr double kPollStep = 0.02;
// Texts listed in a failure message at most.
constexpr size_t kMaxTextsInMessage = 40;

std::string trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

bool parseNumber(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    double parsed = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

// Splits "a b c" into "a" and "b c" (the rest trimmed).
void splitFirstWord(const std::string& text, std::string& first, std::string& rest) {
    size_t space = text.find_first_of(" \t");
    if (space == std::string::npos) {
        first = text;
        rest.clear();
        return;
    }
    first = text.substr(0, space);
    rest = trim(text.substr(space + 1));
}

// Splits off a last word that is a number: "text=Vào bàn 5" gives "text=Vào bàn" and 5.
bool splitTrailingNumber(const std::string& text, std::string& head, double& number) {
    size_t space = text.find_last_of(" \t");
    if (space == std::string::npos) return false;
    if (!parseNumber(text.substr(space + 1), number)) return false;
    head = trim(text.substr(0, space));
    return !head.empty();
}

double secondsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

std::string formatSeconds(double seconds) {
    std::ostringstream out;
    out << seconds;
    return out.str();
}

} // namespace

bool Driver::applicationEnded() const {
    return applicationWasRunning_ && ui::Application::shared().state() == ui::ApplicationState::NotRunning;
}

DriverResult Driver::run(const std::string& script) {
    applicationWasRunning_ = ui::Application::shared().state() != ui::ApplicationState::NotRunning;
    std::istringstream lines(script);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        // Flushed: a process outside may be following the script line by line.
        if (output_) *output_ << "> " << line << std::endl;
        Outcome outcome = applicationEnded() ? fail("the application ended") : runLine(line);
        if (turnHook_) turnHook_();
        if (!outcome.ok) {
            DriverResult result;
            result.ok = false;
            result.failedLine = number;
            result.message =
                "line " + std::to_string(number) + ": " + line + ": " + outcome.reason + "\n" + screenSummary();
            if (output_) *output_ << result.message << "\n";
            return result;
        }
    }
    return DriverResult{};
}

Driver::Outcome Driver::runLine(const std::string& line) {
    std::string command;
    std::string rest;
    splitFirstWord(line, command, rest);

    auto selectorFrom = [](const std::string& text, Outcome& outcome) -> std::optional<Selector> {
        std::string error;
        auto selector = Selector::parse(text, &error);
        if (!selector) outcome = fail(error);
        return selector;
    };
    auto needsArgument = [&](const char* what) { return fail(command + " needs " + what); };
    Outcome bad;

    if (command == "wait" || command == "wait-not" || command == "screen") {
        if (rest.empty()) return needsArgument(command == "screen" ? "a class name" : "a selector");
        std::string target = rest;
        double timeout = defaultTimeout_;
        std::string head;
        double number = 0;
        if (splitTrailingNumber(rest, head, number)) {
            target = head;
            timeout = number;
        }
        if (command == "screen") return waitForScreen(target, timeout);
        auto selector = selectorFrom(target, bad);
        return selector ? waitFor(*selector, timeout, command == "wait") : bad;
    }
    if (command == "expect" || command == "expect-not" || command == "tap" || command == "return" ||
        command == "where") {
        if (rest.empty()) return needsArgument("a selector");
        auto selector = selectorFrom(rest, bad);
        if (!selector) return bad;
        if (command == "where") return where(*selector, rest);
        if (command == "expect") return expect(*selector, true);
        if (command == "expect-not") return expect(*selector, false);
        if (command == "tap") return tap(*selector);
        return pressReturn(*selector);
    }
    if (command == "type") {
        std::string target;
        std::string text;
        splitFirstWord(rest, target, text);
        if (target.empty()) return needsArgument("a selector and a text");
        // The text keeps its inner spaces; only the separator after the selector goes.
        size_t at = line.find(target, command.size());
        text = line.substr(at + target.size());
        if (!text.empty() && (text[0] == ' ' || text[0] == '\t')) text.erase(0, 1);
        auto selector = selectorFrom(target, bad);
        return selector ? type(*selector, text) : bad;
    }
    if (command == "drag" || command == "drag-from") {
        // The last two (drag) or four (drag-from) words are numbers, read from the end.
        const bool from = command == "drag-from";
        double numbers[4] = {};
        std::string target = rest;
        for (int i = from ? 3 : 1; i >= 0; --i) {
            std::string head;
            if (!splitTrailingNumber(target, head, numbers[i]))
                return needsArgument(from ? "a selector, X, Y, DX and DY" : "a selector, DX and DY");
            target = head;
        }
        auto selector = selectorFrom(target, bad);
        if (!selector) return bad;
        if (!from) return drag(*selector, std::nullopt, numbers[0], numbers[1]);
        return drag(*selector, ui::Point{numbers[0], numbers[1]}, numbers[2], numbers[3]);
    }
    if (command == "sleep" || command == "advance") {
        double seconds = 0;
        if (!parseNumber(rest, seconds) || seconds < 0) return needsArgument("a number of seconds");
        return command == "sleep" ? sleep(seconds) : advance(seconds);
    }
    if (command == "shot") {
        if (rest.empty()) return needsArgument("a file path");
        return shot(rest);
    }
    if (command == "dump") return dump();
    if (command == "inputs") {
        std::string head;
        double count = 0;
        double timeout = defaultTimeout_;
        if (splitTrailingNumber(rest, head, count) && !head.empty()) {
            timeout = count;
            if (!parseNumber(head, count)) return needsArgument("a count of inputs");
        } else if (!parseNumber(rest, count)) {
            return needsArgument("a count of inputs");
        }
        if (count < 0 || timeout < 0) return needsArgument("a count of inputs");
        return waitForInputs(count, timeout);
    }
    return fail("unknown command \"" + command + "\"");
}

void Driver::pollTurn(double maxWait) {
    RunLoop::main().runOnce(maxWait);
    if (turnHook_) turnHook_();
}

void Driver::pollStep(double maxWait) {
    RunLoop::main().runNext(maxWait);
    if (turnHook_) turnHook_();
}

void Driver::settle() {
    RunLoop::main().runPending();
    ViewQuery::layoutWindows();
}

ui::View* Driver::locate(const Selector& selector, Outcome& outcome) {
    settle();
    ui::View* view = ViewQuery::find(selector);
    if (!view) {
        size_t count = ViewQuery::findAll(selector).size();
        outcome = fail(count == 0 ? "no visible view matches " + selector.describe()
                                  : "only " + std::to_string(count) + " visible view" + (count == 1 ? "" : "s") +
                                        " match " + selector.describe());
    }
    return view;
}

Driver::Outcome Driver::waitFor(const Selector& selector, double timeout, bool present) {
    auto start = SteadyClock::now();
    for (;;) {
        ViewQuery::layoutWindows();
        ui::View* view = ViewQuery::find(selector);
        if ((view != nullptr) == present) return {};
        if (applicationEnded()) return fail("the application ended");
        if (secondsSince(start) >= timeout)
            return fail(
                (present ? "no visible view matches " + selector.describe()
                         : "a visible view still matches " + selector.describe() + ": " + ViewQuery::describe(*view)) +
                " after " + formatSeconds(timeout) + " s");
        pollStep(kPollStep);
    }
}

Driver::Outcome Driver::waitForScreen(const std::string& className, double timeout) {
    auto start = SteadyClock::now();
    for (;;) {
        if (ViewQuery::topScreenClass() == className) {
            settle();
            return {};
        }
        if (applicationEnded()) return fail("the application ended");
        if (secondsSince(start) >= timeout) {
            std::string top = ViewQuery::topScreenClass();
            return fail("the top screen is " + (top.empty() ? std::string("(none)") : top) + ", not " + className +
                        ", after " + formatSeconds(timeout) + " s");
        }
        pollStep(kPollStep);
    }
}

Driver::Outcome Driver::expect(const Selector& selector, bool present) {
    settle();
    ui::View* view = ViewQuery::find(selector);
    if (present && !view) return fail("no visible view matches " + selector.describe());
    if (!present && view)
        return fail("a visible view matches " + selector.describe() + ": " + ViewQuery::describe(*view));
    return {};
}

Driver::Outcome Driver::pressPoint(ui::View& view, ui::Point& point, std::optional<ui::Point> grab) {
    ui::Rect visible = ViewQuery::visibleRect(view);
    if (visible.isEmpty()) return fail(ViewQuery::describe(view) + " cannot be seen");
    point = grab ? view.convertPoint(*grab, nullptr) : visible.center();
    if (!visible.contains(point)) return fail(ViewQuery::describe(view) + " cannot be seen at the point given");
    ui::View* hit = ViewQuery::hitView(point);
    std::string where = "(" + formatSeconds(point.x) + ", " + formatSeconds(point.y) + ")";
    if (!hit) return fail("nothing at " + where + " takes touches");
    // A finger on a label lands on the cell or button around it: that is the same target.
    if (hit->isDescendantOf(&view) || view.isDescendantOf(hit)) return {};
    std::string covering = ViewQuery::describe(*hit);
    const ui::View* container = hit;
    while (container->superview() && container->superview()->superview())
        container = container->superview();
    if (container != hit) covering += " (in " + ViewQuery::describe(*container) + ")";
    // Where the covering view lies: a card left in the wrong place reads apart from one in flight.
    const ui::Rect lies = hit->convertRect(hit->bounds(), nullptr);
    covering += " lying at (" + formatSeconds(lies.origin.x) + ", " + formatSeconds(lies.origin.y) + ") " +
                formatSeconds(lies.size.width) + " x " + formatSeconds(lies.size.height);
    return fail(ViewQuery::describe(view) + " is covered at " + where + " by " + covering);
}

Driver::Outcome Driver::tap(const Selector& selector) {
    Outcome outcome;
    ui::View* view = locate(selector, outcome);
    if (!view) return outcome;
    ui::Point point;
    outcome = pressPoint(*view, point);
    if (!outcome.ok) return outcome;
    auto& app = ui::Application::shared();
    // Down and up in one step: work posted meanwhile (a reply that reloads a table and
    // makes its header buttons anew) runs after the up, so it cannot take the control
    // from under the finger and lose the tap whenever a reply happens to arrive then.
    app.dispatchTouch(ui::TouchPhase::Began, point);
    app.dispatchTouch(ui::TouchPhase::Ended, point);
    settle();
    return {};
}

Driver::Outcome Driver::type(const Selector& selector, const std::string& text) {
    Outcome outcome = tap(selector);
    if (!outcome.ok) return outcome;
    ui::Responder* responder = ui::Responder::firstResponder();
    if (!responder || !responder->isTextInput())
        return fail("tapping " + selector.describe() + " did not start editing a text");
    auto* field = dynamic_cast<ui::View*>(responder);
    auto& app = ui::Application::shared();
    // Deletes what is there one character at a time, as the delete key does, and stops
    // when the field refuses (its delegate may keep some of the text).
    for (int guard = 0; responder->hasText() && guard < 100000; ++guard) {
        std::string before = field ? field->text() : std::string();
        app.dispatchKey(ui::Key::Backspace);
        if (field && field->text() == before) break;
        if (ui::Responder::firstResponder() != responder) return fail("the field stopped editing while deleting");
    }
    if (!text.empty()) app.dispatchText(text);
    settle();
    return {};
}

Driver::Outcome Driver::pressReturn(const Selector& selector) {
    Outcome outcome;
    ui::View* view = locate(selector, outcome);
    if (!view) return outcome;
    if (!view->isFirstResponder() && !view->becomeFirstResponder())
        return fail(ViewQuery::describe(*view) + " does not take the focus");
    ui::Application::shared().dispatchKey(ui::Key::Return);
    settle();
    return {};
}

Driver::Outcome Driver::drag(const Selector& selector, std::optional<ui::Point> grab, double dx, double dy) {
    Outcome outcome;
    ui::View* view = locate(selector, outcome);
    if (!view) return outcome;
    ui::Point start;
    outcome = pressPoint(*view, start, grab);
    if (!outcome.ok) return outcome;
    auto& app = ui::Application::shared();
    app.dispatchTouch(ui::TouchPhase::Began, start);
    RunLoop::main().runPending();
    // A mouse reports its first motion a point or so from where it went down, as a finger
    // does: what a view makes of a drag's first move sees it there.
    if (const double length = std::hypot(dx, dy); length > 1) {
        app.dispatchTouch(ui::TouchPhase::Moved, {start.x + dx / length, start.y + dy / length});
        RunLoop::main().runPending();
    }
    for (int step = 1; step <= dragSteps_; ++step) {
        double part = static_cast<double>(step) / dragSteps_;
        app.dispatchTouch(ui::TouchPhase::Moved, {start.x + dx * part, start.y + dy * part});
        RunLoop::main().runPending();
    }
    app.dispatchTouch(ui::TouchPhase::Ended, {start.x + dx, start.y + dy});
    settle();
    return {};
}

Driver::Outcome Driver::waitForInputs(double count, double timeout) {
    if (!inputCount_) return fail("inputs needs a window that counts its inputs");
    auto start = SteadyClock::now();
    while (double(inputCount_()) < count) {
        if (applicationEnded()) return fail("the application ended");
        if (secondsSince(start) >= timeout)
            return fail("the window took " + std::to_string(inputCount_()) + " inputs, not " + formatSeconds(count) +
                        ", in " + formatSeconds(timeout) + " s");
        pollTurn(kPollStep);
    }
    // What the last input started (a sheet sliding away, a screen pushed) runs on before
    // the next control is looked for.
    return sleep(0.5);
}

Driver::Outcome Driver::sleep(double seconds) {
    auto start = SteadyClock::now();
    for (double left = seconds; left > 0 && !applicationEnded(); left = seconds - secondsSince(start))
        pollTurn(std::min(left, kPollStep));
    if (applicationEnded()) return fail("the application ended");
    settle();
    return {};
}

Driver::Outcome Driver::advance(double seconds) {
    if (!Clock::current()->isManual()) return fail("advance needs the manual clock; this run uses the real clock");
    RunLoop::main().advance(seconds);
    settle();
    return {};
}

Driver::Outcome Driver::shot(const std::string& path) {
    settle();
    if (!render::Renderer::writeScreenshot(path)) return fail("cannot write the screenshot " + path);
    if (output_) *output_ << "wrote " << path << "\n";
    return {};
}

Driver::Outcome Driver::where(const Selector& selector, const std::string& text) {
    Outcome outcome;
    ui::View* view = locate(selector, outcome);
    if (!view) return outcome;
    ui::Point point;
    outcome = pressPoint(*view, point);
    if (!outcome.ok) return outcome;
    if (output_)
        *output_ << "where " << text << " at " << formatSeconds(point.x) << " " << formatSeconds(point.y) << std::endl;
    return {};
}

Driver::Outcome Driver::dump() {
    settle();
    if (output_) *output_ << TreeDump::dumpWindows();
    return {};
}

std::string Driver::screenSummary() const {
    std::string top = ViewQuery::topScreenClass();
    std::string summary = "on screen: " + (top.empty() ? std::string("(no screen)") : top) + "; texts:";
    auto texts = ViewQuery::visibleTexts();
    for (size_t i = 0; i < texts.size() && i < kMaxTextsInMessage; ++i)
        summary += " \"" + texts[i] + "\"";
    if (texts.size() > kMaxTextsInMessage) summary += " ...";
    if (texts.empty()) summary += " (none)";
    return summary;
}

} // namespace platform::automation
