// The animation machinery behind View::animate, the begin/commit block form and
// Transaction. Model values change at once; what is recorded here is only what a
// renderer needs to show in-between frames, and the completions are timers on the
// main run loop, so a test on the manual clock sees them at exact times.
#include "platform/ui/Animation.h"

#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AnimationArea.h"
#include "platform/ui/Display.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace platform::ui {

namespace {

struct AnimationContext {
    uint64_t id = 0;
    bool blockForm = false; // begin/commit
    std::string name;
    double duration = 0.2;
    double delay = 0;
    AnimationCurve curve = AnimationCurve::EaseInOut;
    bool repeat = false;
    bool autoreverse = false;
    std::function<void(const std::string&, bool)> didStop;
    std::vector<std::weak_ptr<View>> views;
    std::vector<std::pair<std::weak_ptr<View>, TransitionOptions>> transitions;
};

// Open animation blocks, innermost last (pointers stay valid while blocks nest).
std::vector<std::unique_ptr<AnimationContext>> openBlocks;
uint64_t nextBlockId = 1;
bool animationsEnabled = true;
std::vector<bool> transactions;
std::vector<std::weak_ptr<View>> animatingViews;

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

Point lerp(Point a, Point b, double t) {
    return {lerp(a.x, b.x, t), lerp(a.y, b.y, t)};
}

Rect lerp(const Rect& a, const Rect& b, double t) {
    return {lerp(a.x(), b.x(), t), lerp(a.y(), b.y(), t), lerp(a.width(), b.width(), t),
            lerp(a.height(), b.height(), t)};
}

AffineTransform lerp(const AffineTransform& a, const AffineTransform& b, double t) {
    return {lerp(a.a, b.a, t), lerp(a.b, b.b, t),   lerp(a.c, b.c, t),
            lerp(a.d, b.d, t), lerp(a.tx, b.tx, t), lerp(a.ty, b.ty, t)};
}

double totalDuration(double duration, bool autoreverse) {
    return duration * (autoreverse ? 2 : 1);
}

// Runs `task` when the clock has moved `seconds` on, never inline.
void whenClockReaches(double seconds, std::function<void()> task) {
    platform::performAfterDelay(std::max(0.0, seconds), std::move(task));
}

} // namespace

// ---- the state a renderer reads

double LayerAnimation::endTime() const {
    if (repeatCount >= 1e9) return std::numeric_limits<double>::infinity();
    return startTime + duration * std::max(repeatCount, 1.0) * (autoreverses ? 2 : 1);
}

double ViewAnimationState::progressAt(double time) const {
    if (duration <= 0) return 1;
    double t = (time - startTime) / duration;
    if (t <= 0) return 0;
    if (isOver(time)) return 1;
    double phase = autoreverses ? std::fmod(t, 2.0) : std::fmod(t, 1.0);
    if (autoreverses && phase > 1) phase = 2 - phase;
    switch (curve) {
    case AnimationCurve::Linear:
        return phase;
    case AnimationCurve::EaseIn:
        return phase * phase;
    case AnimationCurve::EaseOut:
        return 1 - (1 - phase) * (1 - phase);
    case AnimationCurve::EaseInOut:
        return phase * phase * (3 - 2 * phase);
    }
    return phase;
}

bool ViewAnimationState::isOver(double time) const {
    return !repeats && time >= startTime + totalDuration(duration, autoreverses);
}

// ---- recording

// Reaches into View's animation fields for the functions below.
struct AnimationRecorder {
    static AnimationContext* current() {
        if (openBlocks.empty() || !animationsEnabled || Transaction::disablesActions()) return nullptr;
        return openBlocks.back().get();
    }

    // Called by a setter before it changes an animatable value.
    static void note(View& view) {
        AnimationContext* block = current();
        if (!block) {
            // A change outside any block ends the animation in progress: it jumps.
            view.animation_.reset();
            return;
        }
        if (view.animationBlock_ == block->id && view.animation_) return; // from-values already taken
        ViewAnimationState state;
        state.fromCenter = view.presentationCenter();
        state.fromBounds = view.presentationBounds();
        state.fromAlpha = view.presentationAlpha();
        state.fromTransform = view.presentationTransform();
        view.animation_ = state;
        view.animationBlock_ = block->id;
        std::weak_ptr<View> weak = view.weak_from_this();
        if (!weak.expired()) block->views.push_back(std::move(weak));
    }

    static void finish(const AnimationContext& block) {
        double start = platform::Clock::time() + block.delay;
        auto settle = [&](View& view, ViewAnimationState& state) {
            state.toCenter = view.center_;
            state.toBounds = view.bounds_;
            state.toAlpha = view.alpha_;
            state.toTransform = view.transform_;
            state.startTime = start;
            state.duration = block.duration;
            state.curve = block.curve;
            state.repeats = block.repeat;
            state.autoreverses = block.autoreverse;
        };
        for (const auto& weak : block.views) {
            ViewPtr view = weak.lock();
            if (!view || view->animationBlock_ != block.id || !view->animation_) continue;
            settle(*view, *view->animation_);
            if (block.duration <= 0) {
                view->animation_.reset();
                continue;
            }
            view->trackAnimations();
        }
        for (const auto& [weak, transition] : block.transitions) {
            ViewPtr view = weak.lock();
            if (!view || block.duration <= 0) continue;
            if (view->animationBlock_ != block.id || !view->animation_) {
                ViewAnimationState state;
                state.fromCenter = view->center_;
                state.fromBounds = view->bounds_;
                state.fromAlpha = view->alpha_;
                state.fromTransform = view->transform_;
                view->animation_ = state;
                view->animationBlock_ = block.id;
            }
            settle(*view, *view->animation_);
            view->animation_->transition = transition;
            view->trackAnimations();
        }
        Display::markDirty();
    }
};

void View::noteAnimatable() {
    AnimationRecorder::note(*this);
}

void View::trackAnimations() {
    std::weak_ptr<View> weak = weak_from_this();
    if (weak.expired()) return;
    // Only a window's renderer asks whether animations are in flight; without one (a
    // headless run) the list would keep every view ever animated, and each entry keeps
    // its gone view's memory (the weak reference holds the block the view lived in).
    forgetFinishedAnimations();
    for (const auto& known : animatingViews)
        if (!known.owner_before(weak) && !weak.owner_before(known)) return;
    animatingViews.push_back(std::move(weak));
}

// ---- the animation calls

void View::animate(double duration, double delay, AnimationOptions options, std::function<void()> changes,
                   std::function<void(bool)> completion) {
    auto block = std::make_unique<AnimationContext>();
    block->id = nextBlockId++;
    block->duration = std::max(0.0, duration);
    block->delay = std::max(0.0, delay);
    block->curve = options.curve;
    block->repeat = options.repeat;
    block->autoreverse = options.autoreverse;
    openBlocks.push_back(std::move(block));
    if (changes) changes();
    std::unique_ptr<AnimationContext> done = std::move(openBlocks.back());
    openBlocks.pop_back();
    AnimationRecorder::finish(*done);
    // A repeating animation never finishes by itself, so its completion never runs.
    if (completion && !done->repeat) {
        whenClockReaches(done->delay + totalDuration(done->duration, done->autoreverse),
                         [completion = std::move(completion)] { completion(true); });
    }
}

void View::animate(double duration, std::function<void()> changes, std::function<void(bool)> completion) {
    animate(duration, 0, AnimationOptions{}, std::move(changes), std::move(completion));
}

void View::beginAnimations(const std::string& name) {
    auto block = std::make_unique<AnimationContext>();
    block->id = nextBlockId++;
    block->blockForm = true;
    block->name = name;
    openBlocks.push_back(std::move(block));
}

namespace {
// The innermost begin/commit block, for its setters.
AnimationContext* openBlockForm() {
    for (auto it = openBlocks.rbegin(); it != openBlocks.rend(); ++it)
        if ((*it)->blockForm) return it->get();
    return nullptr;
}
} // namespace

void View::setAnimationDuration(double duration) {
    if (auto* block = openBlockForm()) block->duration = std::max(0.0, duration);
}

void View::setAnimationDelay(double delay) {
    if (auto* block = openBlockForm()) block->delay = std::max(0.0, delay);
}

void View::setAnimationCurve(AnimationCurve curve) {
    if (auto* block = openBlockForm()) block->curve = curve;
}

void View::setAnimationRepeatCount(double count) {
    if (auto* block = openBlockForm()) block->repeat = count > 1;
}

void View::setAnimationTransition(TransitionOptions transition, View* view) {
    auto* block = openBlockForm();
    if (!block || !view) return;
    std::weak_ptr<View> weak = view->weak_from_this();
    if (!weak.expired()) block->transitions.emplace_back(std::move(weak), transition);
}

void View::setAnimationDidStop(std::function<void(const std::string&, bool)> didStop) {
    if (auto* block = openBlockForm()) block->didStop = std::move(didStop);
}

void View::commitAnimations() {
    auto found = std::find_if(openBlocks.rbegin(), openBlocks.rend(), [](const auto& b) { return b->blockForm; });
    if (found == openBlocks.rend()) {
        platform::log("View: commitAnimations without beginAnimations");
        return;
    }
    std::unique_ptr<AnimationContext> done = std::move(*found);
    openBlocks.erase(std::next(found).base());
    AnimationRecorder::finish(*done);
    if (done->didStop && !done->repeat) {
        whenClockReaches(done->delay + done->duration,
                         [didStop = std::move(done->didStop), name = done->name] { didStop(name, true); });
    }
}

void View::transition(const ViewPtr& view, double duration, TransitionOptions options, std::function<void()> changes,
                      std::function<void(bool)> completion) {
    beginAnimations("transition");
    setAnimationDuration(duration);
    setAnimationTransition(options, view.get());
    if (changes) changes();
    if (completion)
        setAnimationDidStop(
            [completion = std::move(completion)](const std::string&, bool finished) { completion(finished); });
    commitAnimations();
}

void View::setAnimationsEnabled(bool enabled) {
    animationsEnabled = enabled;
}

bool View::areAnimationsEnabled() {
    return animationsEnabled;
}

void View::forgetFinishedAnimations() {
    double now = platform::Clock::time();
    std::erase_if(animatingViews, [now](const std::weak_ptr<View>& weak) {
        ViewPtr view = weak.lock();
        if (!view) return true;
        bool viewAnimating = view->animation_ && !view->animation_->isOver(now);
        return !viewAnimating && !view->layer().hasAnimationsInFlight();
    });
}

bool View::animationsInFlight() {
    forgetFinishedAnimations();
    return !animatingViews.empty();
}

// ---- what a renderer shows

bool animatingScreenArea(Rect& area) {
    area = {};
    for (const auto& weak : animatingViews) {
        ViewPtr view = weak.lock();
        if (!view) continue;
        if (view->layer().hasAnimationsInFlight()) return false;
        const ViewAnimationState* state = view->animationState();
        if (!state) continue;
        if (state->transition != TransitionOptions::None || !state->fromTransform.isIdentity() ||
            !state->toTransform.isIdentity())
            return false;
        const View* parent = view->superview();
        if (!parent || !view->window()) continue;
        auto rectAt = [](Point center, const Rect& bounds) {
            return Rect{center.x - bounds.width() / 2, center.y - bounds.height() / 2, bounds.width(), bounds.height()};
        };
        const Rect path =
            rectAt(state->fromCenter, state->fromBounds).unionWith(rectAt(state->toCenter, state->toBounds));
        const Rect onScreen = parent->convertRect(path, nullptr).insetBy(-8, -8);
        area = area.isEmpty() ? onScreen : area.unionWith(onScreen);
    }
    return true;
}

const ViewAnimationState* View::animationState() const {
    if (!animation_ || animation_->isOver(platform::Clock::time())) return nullptr;
    return &*animation_;
}

Point View::presentationCenter() const {
    const ViewAnimationState* s = animationState();
    return s ? lerp(s->fromCenter, s->toCenter, s->progressAt(platform::Clock::time())) : center_;
}

Rect View::presentationBounds() const {
    const ViewAnimationState* s = animationState();
    return s ? lerp(s->fromBounds, s->toBounds, s->progressAt(platform::Clock::time())) : bounds_;
}

double View::presentationAlpha() const {
    const ViewAnimationState* s = animationState();
    return s ? lerp(s->fromAlpha, s->toAlpha, s->progressAt(platform::Clock::time())) : alpha_;
}

AffineTransform View::presentationTransform() const {
    const ViewAnimationState* s = animationState();
    return s ? lerp(s->fromTransform, s->toTransform, s->progressAt(platform::Clock::time())) : transform_;
}

Rect View::presentationFrame() const {
    Rect b = presentationBounds();
    Rect local(-b.width() / 2, -b.height() / 2, b.width(), b.height());
    Point c = presentationCenter();
    return presentationTransform().apply(local).offsetBy(c.x, c.y);
}

// ---- Transaction

void Transaction::begin() {
    transactions.push_back(false);
}

void Transaction::setDisableActions(bool disable) {
    if (transactions.empty()) {
        platform::log("Transaction: setDisableActions outside begin/commit");
        return;
    }
    transactions.back() = disable;
}

void Transaction::commit() {
    if (!transactions.empty()) transactions.pop_back();
}

bool Transaction::disablesActions() {
    return std::find(transactions.begin(), transactions.end(), true) != transactions.end();
}

} // namespace platform::ui
