#include "tests/tree/FixedWaits.h"

#include "tests/tree/SourceTokens.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace kavo::test {
namespace {

using Kind = SourceToken::Kind;

// Tokens [begin, end) of a source.
struct Range {
    size_t begin = 0, end = 0;
    bool empty() const { return begin >= end; }
};

// What a call waits on when its time-out argument is not one that waits for nothing or
// without end: its arguments, the time-out's place, and whether "none" is written as a
// null pointer (a struct of time) or as -1 (milliseconds).
struct TimedCall {
    size_t arguments, timeout;
    bool pointer;
};
const std::map<std::string, TimedCall> kTimedCalls = {
    {"poll", {3, 2, false}},        {"ppoll", {4, 2, true}},         {"select", {5, 4, true}},
    {"pselect", {6, 4, true}},      {"epoll_wait", {4, 3, false}},   {"epoll_pwait", {5, 3, false}},
    {"epoll_pwait2", {5, 3, true}}, {"waitReadable", {3, 2, false}},
};

// Each of these waits a time and nothing else, or a time for a signal that no state sends.
const std::set<std::string> kSleeps = {
    "sleep_for",       "sleep_until",     "sleep",           "usleep",
    "nanosleep",       "clock_nanosleep", "alarm",           "setitimer",
    "timerfd_settime", "sigtimedwait",    "sem_timedwait",   "pthread_cond_timedwait",
    "try_lock_for",    "try_lock_until",  "try_acquire_for", "try_acquire_until",
    "SDL_Delay",       "SDL_WaitEventTimeout", "SDL_SemWaitTimeout", "SDL_CondWaitTimeout",
    "pthread_timedjoin_np", "pthread_clockjoin_np", "pthread_mutex_timedlock", "pthread_mutex_clocklock",
    "pthread_rwlock_timedrdlock", "pthread_rwlock_timedwrlock", "pthread_cond_clockwait", "sem_clockwait",
    "mq_timedreceive", "mq_timedsend",
};

// Reads of the real clock: an empty loop whose head reads one and asks nothing else waits
// for a time (a busy wait), and so does a wait whose condition reads one.
const std::set<std::string> kClockReads = {"now", "clock_gettime", "gettimeofday", "SDL_GetTicks", "SDL_GetTicks64"};

// Waits that take their bound from a default, so that a call without arguments waits too.
const std::set<std::string> kWaitsWithoutArguments = {"nextAny",         "clientCaughtUp", "portalCaughtUp",
                                                      "exchangeSettled", "dropped",        "readerHasRead"};

// A name that a waiting call of the tests carries: runUntil and until, waitFor..., next...,
// ...Becomes, the catch-ups, a timed wait of the standard library.
bool isWaitName(const std::string& name) {
    auto startsWord = [&](const char* head) {
        const size_t n = std::char_traits<char>::length(head);
        return name.compare(0, n, head) == 0 && (name.size() == n || std::isupper(static_cast<unsigned char>(name[n])));
    };
    return startsWord("wait") || startsWord("next") || name.find("Until") != std::string::npos || name == "until" ||
           name == "runUntil" || name == "wait_for" || name == "wait_until" || name == "readLine" ||
           (name.size() > 7 && name.compare(name.size() - 7, 7, "Becomes") == 0) || kWaitsWithoutArguments.count(name);
}

class Scan {
public:
    Scan(std::string file, const std::string& source) : file_(std::move(file)), t_(tokenize(source)) {}

    std::vector<FixedWait> run() {
        markLoops();
        namePredicates();
        // A file that never names the manual clock runs its timers on the real one.
        realClock_ = true;
        for (const auto& token : t_)
            if (token.is("ManualClock") || token.is("ScopedManualClock") || token.is("ClientFixture") ||
                token.is("advance"))
                realClock_ = false;
        for (size_t i = 0; i < t_.size(); ++i) {
            if (t_[i].kind == Kind::String) {
                readScript(i);
                continue;
            }
            if (t_[i].kind == Kind::Word) word(i);
        }
        return std::move(found_);
    }

private:
    bool is(size_t i, const char* text) const { return i < t_.size() && t_[i].is(text); }
    bool opens(size_t i) const { return is(i, "(") || is(i, "[") || is(i, "{"); }
    bool closes(size_t i) const { return is(i, ")") || is(i, "]") || is(i, "}"); }
    void find(size_t i, const std::string& what) { found_.push_back({file_, t_[i].line, what}); }

    // The token that closes the bracket opened at `open` (the end when none does).
    size_t closing(size_t open) const {
        int depth = 0;
        for (size_t i = open; i < t_.size(); ++i) {
            if (opens(i)) ++depth;
            if (closes(i) && --depth == 0) return i;
        }
        return t_.size();
    }

    // The arguments of the call whose '(' is at `open`.
    std::vector<Range> arguments(size_t open) const {
        const size_t close = closing(open);
        std::vector<Range> list;
        if (close == open + 1) return list;
        int depth = 0;
        size_t begin = open + 1;
        for (size_t i = open + 1; i < close; ++i) {
            if (opens(i)) ++depth;
            if (closes(i)) --depth;
            if (depth == 0 && is(i, ",")) list.push_back({begin, i}), begin = i + 1;
        }
        list.push_back({begin, close});
        return list;
    }

    // The tokens of a range without spaces: "-1", "0.0", "nullptr".
    std::string joined(Range r) const {
        std::string text;
        for (size_t i = r.begin; i < r.end; ++i)
            text += t_[i].text;
        return text;
    }
    // 0, 0.0, 0ms, std::chrono::seconds(0): no time at all.
    bool isZero(Range r) const {
        std::string text = joined(r);
        const size_t open = text.rfind('(');
        if (open != std::string::npos && text.back() == ')') text = text.substr(open + 1, text.size() - open - 2);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || value != 0) return false;
        for (; *end; ++end)
            if (!std::isalpha(static_cast<unsigned char>(*end))) return false;
        return true;
    }
    bool isNone(Range r, bool pointer) const {
        const std::string text = joined(r);
        return pointer ? text == "nullptr" || text == "NULL" || text == "0" : text == "-1" || isZero(r);
    }

    // The body of the lambda that starts at `i` ('['), or an empty range.
    Range lambdaBody(size_t i) const {
        if (!is(i, "[")) return {};
        size_t k = closing(i) + 1;
        if (is(k, "(")) k = closing(k) + 1;
        while (k < t_.size() && !is(k, "{") && !is(k, ";") && !is(k, ",") && !closes(k))
            ++k;
        return is(k, "{") ? Range{k + 1, closing(k)} : Range{};
    }
    // "return false;" and its like: a condition that no state makes true.
    bool neverTrue(Range body) const {
        static const std::set<std::string> never = {"returnfalse;", "return0;", "return!true;", "return!1;",
                                                    "returnnullptr;"};
        return !body.empty() && never.count(joined(body));
    }
    // A condition that answers with a count of its own looks (`return ++looks > 5;`, or a
    // count stepped at every look and returned): true after so many looks, whatever the
    // state. A loop's counter, a count of things seen (stepped inside a block) or a count
    // that only limits what the condition does meanwhile is not.
    bool counts(Range body) const {
        auto step = [&](size_t i) { return is(i, "++") || is(i, "--") || is(i, "+=") || is(i, "-="); };
        std::set<std::string> counted;
        int depth = 0;
        bool governed = false; // inside the one statement an if, else, for or while governs
        for (size_t i = body.begin; i < body.end; ++i) {
            if (is(i, "{")) ++depth;
            if (is(i, "}")) --depth;
            if (depth > 0) continue;
            if (is(i, ";")) governed = false;
            if ((is(i, "for") || is(i, "while") || is(i, "if") || is(i, "switch")) && is(i + 1, "(")) {
                const size_t head = closing(i + 1);
                if (is(i, "for")) i = head;
                governed = governed || !is(head + 1, "{");
                if (is(i, "for")) continue;
            }
            if (is(i, "else") && !is(i + 1, "{") && !is(i + 1, "if")) governed = true;
            if (governed || !step(i)) continue;
            if (i > body.begin && t_[i - 1].kind == Kind::Word)
                counted.insert(t_[i - 1].text);
            else if (i + 1 < body.end && t_[i + 1].kind == Kind::Word)
                counted.insert(t_[i + 1].text);
        }
        for (size_t i = body.begin; i < body.end; ++i) {
            if (!is(i, "return")) continue;
            for (; i < body.end && !is(i, ";"); ++i)
                if (step(i) || (t_[i].kind == Kind::Word && counted.count(t_[i].text))) return true;
        }
        return false;
    }
    // A lambda given as a condition that reads the real clock: it ends the wait at a time,
    // whatever the state.
    bool readsClock(Range r) const {
        if (!is(r.begin, "[")) return false;
        const Range body = lambdaBody(r.begin);
        for (size_t k = body.begin; k < body.end; ++k)
            if (kClockReads.count(t_[k].text) && is(k + 1, "(")) return true;
        return false;
    }
    bool argumentNeverTrue(Range r) const {
        const std::string text = joined(r);
        return text == "false" || text == "nullptr" || (r.end == r.begin + 1 && neverNames_.count(text)) ||
               (is(r.begin, "[") && lambdaBody(r.begin).end + 1 == r.end && neverTrue(lambdaBody(r.begin)));
    }
    bool argumentCounts(Range r) const {
        const std::string text = joined(r);
        return (r.end == r.begin + 1 && countingNames_.count(text)) ||
               (is(r.begin, "[") && lambdaBody(r.begin).end + 1 == r.end && counts(lambdaBody(r.begin)));
    }

    // Names given to a condition that cannot end a wait, or that counts its looks: a lambda
    // bound to a name (`auto never = [] { return false; };`, a macro) or a function of no
    // arguments (`bool never() { return false; }`).
    void namePredicates() {
        for (size_t i = 0; i + 2 < t_.size(); ++i) {
            if (t_[i].kind != Kind::Word) continue;
            Range body;
            if (is(i + 1, "=") && is(i + 2, "[")) body = lambdaBody(i + 2);
            if (i > 0 && is(i - 1, "define") && is(i + 1, "[")) body = lambdaBody(i + 1);
            if (is(i + 1, "(") && is(i + 2, ")")) {
                size_t k = i + 3;
                while (is(k, "const") || is(k, "noexcept") || is(k, "override"))
                    ++k;
                if (is(k, "{")) body = {k + 1, closing(k)};
            }
            if (neverTrue(body)) neverNames_.insert(t_[i].text);
            if (!body.empty() && counts(body) && !is(i + 1, "(")) countingNames_.insert(t_[i].text);
        }
    }

    // Marks what runs again and again: the bodies and the heads of for, while and do.
    void markLoops() {
        std::vector<bool> single(t_.size() + 1, false);
        loopHead_.assign(t_.size() + 1, false);
        std::set<size_t> bodies;
        for (size_t i = 0; i < t_.size(); ++i) {
            if (is(i, "do") && is(i + 1, "{")) bodies.insert(i + 1);
            if (!(is(i, "for") || is(i, "while")) || !is(i + 1, "(")) continue;
            const size_t head = closing(i + 1);
            for (size_t k = i + 1; k <= head && k < t_.size(); ++k)
                single[k] = true;
            const size_t next = head + 1;
            // A loop that does nothing but look at its head spins until what the head reads
            // holds: on the clock alone, that is a wait for a time. One whose head also asks
            // for a state, or whose body waits, is a bounded wait for that state.
            bool askedMore = false;
            for (size_t k = i + 1; k <= head && k < t_.size(); ++k)
                askedMore = askedMore || is(k, "&&") || is(k, "||");
            if (!askedMore && (is(next, ";") || (is(next, "{") && is(next + 1, "}"))))
                for (size_t k = i + 1; k <= head && k < t_.size(); ++k)
                    loopHead_[k] = true;
            if (is(next, "{")) {
                bodies.insert(next);
            } else if (!is(next, ";")) {
                int depth = 0;
                for (size_t k = next; k < t_.size(); ++k) {
                    single[k] = true;
                    if (opens(k)) ++depth;
                    if (closes(k)) --depth;
                    if (depth <= 0 && is(k, ";")) break;
                }
            }
        }
        inLoop_.assign(t_.size(), false);
        std::vector<bool> outer;
        bool inside = false;
        for (size_t i = 0; i < t_.size(); ++i) {
            if (is(i, "{")) {
                outer.push_back(inside);
                inside = inside || bodies.count(i) || single[i];
            }
            inLoop_[i] = inside || single[i];
            if (is(i, "}") && !outer.empty()) inside = outer.back(), outer.pop_back();
        }
    }

    // A call of a wait at `i` (a name followed by its arguments) whose bound is not zero.
    bool waitCall(size_t i) const {
        if (t_[i].kind != Kind::Word || !is(i + 1, "(") || !isWaitName(t_[i].text)) return false;
        const auto list = arguments(i + 1);
        if (list.empty()) return kWaitsWithoutArguments.count(t_[i].text) || t_[i].text.rfind("waitFor", 0) == 0;
        return !isZero(list.back());
    }
    // Whether the range holds a wait, or (`negated`) a `!` before a wait: `!portal.waitFor(...)`.
    bool holdsWait(Range r, bool negated) const {
        for (size_t i = r.begin; i < r.end; ++i) {
            if (!negated) {
                if (waitCall(i)) return true;
                continue;
            }
            if (!is(i, "!")) continue;
            for (size_t k = i + 1; k < r.end; ++k) {
                if (waitCall(k)) return true;
                if (is(k, "(") && is(k + 1, ")")) {
                    ++k;
                    continue;
                }
                if (t_[k].kind != Kind::Word && !is(k, ".") && !is(k, "->") && !is(k, "::")) break;
            }
        }
        return false;
    }

    void word(size_t i) {
        const std::string& name = t_[i].text;
        const bool call = is(i + 1, "(");
        const std::vector<Range> list = call ? arguments(i + 1) : std::vector<Range>{};

        if (kSleeps.count(name)) return find(i, name);
        if (kClockReads.count(name) && call && loopHead_[i]) return find(i, "a loop on the clock (a busy wait)");

        const bool timer =
            name == "performAfterDelay" || name == "addTimer" || (name == "scheduled" && is(i - 2, "Timer"));
        if (timer && call && realClock_ && !list.empty() && !isZero(list[0]))
            return find(i, name + " on the real clock");

        if (auto timed = kTimedCalls.find(name); timed != kTimedCalls.end()) {
            if (call && list.size() == timed->second.arguments &&
                !isNone(list[timed->second.timeout], timed->second.pointer))
                return find(i, name + " with a time-out");
            if (!call && aliased(i)) return find(i, name + " named without a call (another name for it)");
            return;
        }

        if ((name == "wait_for" || name == "wait_until") && call) {
            if (list.size() == 2) return find(i, name + " without a condition");
            if (list.size() == 1 && !statementHolds(i, "ready"))
                return find(i, name + " on a future without looking whether it is ready");
        }

        if (name == "runOnce" || name == "runNext") {
            if (call && inLoop_[i]) return find(i, name + " in a loop (turns counted)");
            if (call && !(list.size() == 1 && isZero(list[0]))) return find(i, name + " of a fixed time");
            if (!call && aliased(i)) return find(i, name + " named without a call (another name for it)");
            return;
        }

        if (call && (isWaitName(name) || name == "nothingComesWithin") && !(!list.empty() && isZero(list.back()))) {
            for (const Range& argument : list) {
                if (argumentNeverTrue(argument)) return find(i, name + " with a condition that cannot end it");
                if (argumentCounts(argument)) return find(i, name + " with a condition that counts its own looks");
                if (readsClock(argument)) return find(i, name + " with a condition that reads the clock");
            }
        }

        if (call && !list.empty() && (name == "EXPECT_FALSE" || name == "ASSERT_FALSE") && holdsWait(list[0], false))
            return find(i, "a wait expected to run out (a negative check outside nothingComesWithin)");
        if (call && !list.empty() && (name == "EXPECT_TRUE" || name == "ASSERT_TRUE") && holdsWait(list[0], true))
            return find(i, "a wait expected to run out (a negative check outside nothingComesWithin)");
        if (name == "timeout" && is(i - 1, "::") && i >= 2 && is(i - 2, "future_status"))
            return find(i, "a future expected to time out (a negative check outside nothingComesWithin)");
    }

    // Whether a function named at `i` without a call is given another name: taken as a
    // value (`auto nap = ::poll;`, `&usleep`, an argument) or as a macro's body.
    bool aliased(size_t i) const {
        if (is(i + 1, ".") || is(i + 1, "->") || is(i + 1, "=") || is(i + 1, "[")) return false;
        size_t before = i;
        while (before >= 2 && is(before - 1, "::") && t_[before - 2].kind == Kind::Word)
            before -= 2;
        if (before > 0 && is(before - 1, "::")) --before;
        if (before > 0 && (is(before - 1, "=") || is(before - 1, "&") || is(before - 1, "(") || is(before - 1, ",")))
            return true;
        for (size_t k = before; k > 0 && t_[k - 1].line == t_[i].line; --k)
            if (is(k - 1, "define")) return true;
        return false;
    }

    // Whether the statement around token `i` names `word`.
    bool statementHolds(size_t i, const char* word) const {
        size_t begin = i, end = i;
        while (begin > 0 && !is(begin - 1, ";") && !is(begin - 1, "{") && !is(begin - 1, "}"))
            --begin;
        while (end < t_.size() && !is(end, ";"))
            ++end;
        for (size_t k = begin; k < end; ++k)
            if (is(k, word)) return true;
        return false;
    }

    // Adjacent string literals from `i` on are one text; a driver script among them is read.
    void readScript(size_t& i) {
        std::string text;
        std::vector<int> lines;
        for (; i < t_.size() && t_[i].kind == Kind::String; ++i) {
            text += t_[i].text;
            lines.insert(lines.end(), t_[i].lines.begin(), t_[i].lines.end());
        }
        --i;
        if (text.find("sleep") == std::string::npos) return;
        std::vector<int> lineOfScriptLine{lines.empty() ? t_[i].line : lines[0]};
        for (size_t c = 0; c < text.size(); ++c)
            if (text[c] == '\n') lineOfScriptLine.push_back(c + 1 < lines.size() ? lines[c + 1] : lines[c]);
        for (auto& wait : fixedWaitsInScript(file_, text, lineOfScriptLine))
            found_.push_back(std::move(wait));
    }

    std::string file_;
    std::vector<SourceToken> t_;
    std::vector<bool> inLoop_, loopHead_;
    bool realClock_ = false;
    std::set<std::string> neverNames_, countingNames_;
    std::vector<FixedWait> found_;
};

std::string firstWord(const std::string& line, std::string* rest = nullptr) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (rest) std::getline(words >> std::ws, *rest);
    return word;
}

} // namespace

std::vector<FixedWait> fixedWaitsInSource(const std::string& file, const std::string& source) {
    return Scan(file, source).run();
}

std::vector<FixedWait> fixedWaitsInScript(const std::string& file, const std::string& script,
                                          const std::vector<int>& lines) {
    std::vector<FixedWait> found;
    std::istringstream in(script);
    int pending = 0; // the file's line of a sleep not yet followed by another command
    size_t number = 0;
    for (std::string line; std::getline(in, line); ++number) {
        const int at = number < lines.size() ? lines[number] : int(number) + 1;
        const std::string command = firstWord(line);
        if (command.empty() || command[0] == '#' || command == "advance") continue;
        if ((command == "expect" || command == "expect-not") && pending)
            found.push_back({file, pending, "a driver's sleep before " + command});
        std::string rest;
        firstWord(line, &rest);
        pending = command == "sleep" && !rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0])) ? at : 0;
    }
    return found;
}

} // namespace kavo::test
