#include "table/DealStepper.h"

namespace kavo {

DealStepper::~DealStepper() {
    if (timer_) timer_->invalidate();
}

void DealStepper::cancel() {
    ++generation_;
    if (timer_) timer_->invalidate();
    timer_.reset();
    seat_ = 0;
    pass_ = 0;
    dealing_ = false;
}

void DealStepper::start(Plan plan, DealCard dealCard, std::function<void()> afterStep, std::function<void()> finished) {
    cancel();
    plan_ = plan;
    dealCard_ = std::move(dealCard);
    afterStep_ = std::move(afterStep);
    finished_ = std::move(finished);
    cardsDealt_ = 0;
    if (plan_.seats <= 0 || plan_.passes <= 0) {
        if (finished_) finished_();
        return;
    }
    dealing_ = true;
    step(generation_);
}

void DealStepper::step(uint64_t generation) {
    // Skipped seats run in this loop rather than by recursion: a table of many empty
    // places never deepens the stack.
    while (dealing_ && generation == generation_) {
        const bool dealt = dealCard_ && dealCard_(seat_, pass_);
        // The deal may have cancelled itself (the table left while drawing).
        if (generation != generation_) return;
        if (dealt) ++cardsDealt_;
        if (++seat_ >= plan_.seats) {
            seat_ = 0;
            ++pass_;
        }
        if (pass_ >= plan_.passes) {
            seat_ = 0;
            pass_ = 0;
            dealing_ = false;
            if (finished_) finished_();
            return;
        }
        if (afterStep_) afterStep_();
        if (generation != generation_) return;
        if (dealt) {
            timer_ = platform::Timer::scheduled(plan_.stepDelay, false, [this, generation] { step(generation); });
            return;
        }
    }
}

void DealStepper::flyCard(const platform::ui::ViewPtr& card, platform::ui::View& table, platform::ui::Point deck,
                          const DealPlace& place) {
    if (!card) return;
    card->setCenter(deck);
    table.addSubview(card);
    platform::ui::View::beginAnimations("chiabai");
    platform::ui::View::setAnimationDuration(0.1);
    if (place.turn != 0) card->setTransform(card->transform().rotated(place.turn));
    card->setCenter({place.center.x + place.nudge.x, place.center.y + place.nudge.y});
    platform::ui::View::commitAnimations();
}

} // namespace kavo
