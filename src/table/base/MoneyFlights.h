#pragma once

#include "platform/ui/Geometry.h"

#include <deque>
#include <memory>
#include <vector>

namespace platform {
class Timer;
namespace ui {
class Label;
class View;
} // namespace ui
} // namespace platform

namespace kavo {

// The money texts that fly over a table, one at a time: an amount that arrives while
// another is in the air takes off once that one has landed. The amounts of a hand's end
// come a few milliseconds apart and their flights share the table's middle (every loss
// ends there, every gain starts there): flown at once, they cross or land on each other
// and none of them can be read.
class MoneyFlights {
public:
    static constexpr double kFlight = 1.0; // seconds in the air

    MoneyFlights() = default;
    ~MoneyFlights();
    MoneyFlights(const MoneyFlights&) = delete;
    MoneyFlights& operator=(const MoneyFlights&) = delete;

    // Shows `label` on `table` at the centre it has now and moves it to `to` in one
    // animation; it goes when it lands. Waits while another amount flies.
    void fly(const std::shared_ptr<platform::ui::View>& table, std::shared_ptr<platform::ui::Label> label,
             platform::ui::Point to);
    // Takes the flying text off and drops the waiting ones (the table is cleared).
    void clear();

    // The text in the air now (none or one), and how many wait to take off.
    const std::vector<std::shared_ptr<platform::ui::Label>>& flying() const { return flying_; }
    size_t waiting() const { return waiting_.size(); }

private:
    struct Flight {
        std::weak_ptr<platform::ui::View> table;
        std::shared_ptr<platform::ui::Label> label;
        platform::ui::Point to;
    };
    void takeOff();
    void land();

    std::deque<Flight> waiting_;
    std::vector<std::shared_ptr<platform::ui::Label>> flying_;
    std::shared_ptr<platform::Timer> landing_;
};

} // namespace kavo
