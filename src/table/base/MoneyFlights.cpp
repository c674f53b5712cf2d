#include "table/base/MoneyFlights.h"

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace kavo {

MoneyFlights::~MoneyFlights() {
    if (landing_) landing_->invalidate();
}

void MoneyFlights::fly(const std::shared_ptr<platform::ui::View>& table, std::shared_ptr<platform::ui::Label> label,
                       platform::ui::Point to) {
    waiting_.push_back({table, std::move(label), to});
    if (flying_.empty()) takeOff();
}

void MoneyFlights::clear() {
    if (landing_) landing_->invalidate();
    landing_.reset();
    for (const auto& label : flying_)
        label->removeFromSuperview();
    flying_.clear();
    waiting_.clear();
}

void MoneyFlights::takeOff() {
    while (!waiting_.empty()) {
        Flight next = std::move(waiting_.front());
        waiting_.pop_front();
        auto table = next.table.lock();
        if (!table) continue; // its table went meanwhile
        table->addSubview(next.label);
        platform::ui::View::beginAnimations("flytext");
        platform::ui::View::setAnimationDuration(kFlight);
        next.label->setCenter(next.to);
        platform::ui::View::commitAnimations();
        flying_.push_back(next.label);
        // The flights belong to their table, which invalidates this timer before it goes.
        landing_ = platform::Timer::scheduled(kFlight, false, [this] { land(); });
        return;
    }
}

void MoneyFlights::land() {
    for (const auto& label : flying_)
        label->removeFromSuperview();
    flying_.clear();
    landing_.reset();
    takeOff();
}

} // namespace kavo
