#include "table/deal/DealStepper.h"

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

void DealStepper::start(Plan plan, HasCard hasCard, DealCard dealCard, std::function<void()> afterStep,
                        std::function<void()> finished) {
    cancel();
    plan_ = plan;
    hasCard_ = std::move(hasCard);
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

void DealStepper::finishNow() {
    if (!dealing_) return;
    if (timer_) timer_->invalidate();
    timer_.reset();
    step(generation_, true);
}

bool DealStepper::advance() {
    if (++seat_ >= plan_.seats) {
        seat_ = 0;
        ++pass_;
    }
    return pass_ >= plan_.passes;
}

void DealStepper::step(uint64_t generation, bool all) {
    if (!dealing_ || generation != generation_) return;
    bool dealt = false;
    // Seats without a card are passed over in this loop, at no delay (and without
    // recursion: a long row of empty places never deepens the stack). After a card,
    // the loop also passes over the seats that follow it without one, so that a deal
    // whose last cards are followed only by empty seats ends with its last card.
    while (true) {
        const bool has = hasCard_ && hasCard_(seat_, pass_);
        if (has && dealt && !all) break; // the next card waits its turn
        if (has) {
            dealCard_(seat_, pass_);
            // The deal may have been cancelled meanwhile (the table left while drawing).
            if (generation != generation_) return;
            ++cardsDealt_;
            dealt = true;
        }
        if (advance()) {
            seat_ = 0;
            pass_ = 0;
            dealing_ = false;
            if (finished_) finished_();
            return;
        }
        if (afterStep_) afterStep_();
        if (generation != generation_) return;
    }
    timer_ = platform::Timer::scheduled(plan_.stepDelay, false, [this, generation] { step(generation); });
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
