#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace kavo {

// Where one dealt card comes to rest at a screen seat: its centre, the turn added to
// its transform (radians, positive clockwise on screen) and a nudge of the centre
// made after the turn. Each game keeps its own table of them by seat and card.
struct DealPlace {
    platform::ui::Point center;
    double turn = 0;
    platform::ui::Point nudge;
};

// Deals a hand card by card around a table of any number of screen seats: pass after
// pass, each pass visiting the seats 0, 1, ... in order and handing each one card.
// A step that deals waits `stepDelay` before the next; a seat without a card at that
// pass (an empty place, a hand too short) is skipped at once, costing no time.
//
// One chain per table: start() and cancel() drop the pending step and put the cursor
// back at seat 0, pass 0; a step that was scheduled before either never runs. The game
// decides what a pass means (which card of the hand it deals) and draws the card in
// its `dealCard` (flyCard does the shared flight). Main thread only.
//
// A table keeps one stepper and starts it for each hand, e.g. three cards to six seats,
// the last card of every hand first:
//
//     dealer.start({6, 3, 0.15},
//                  [&](int seat, int pass) { return cardAt(seat, 2 - pass) != nullptr; },
//                  [&](int seat, int pass) { DealStepper::flyCard(cardAt(seat, 2 - pass), table, deck,
//                                                                  placeOf(seat, 2 - pass)); },
//                  [&] { peekAllowed = true; },      // after each step but the last
//                  [&] { peekButton->setHidden(false); });
//
// and calls cancel() when the table is reset or left.
class DealStepper {
public:
    struct Plan {
        int seats = 4;           // screen seats, dealt 0 first
        int passes = 2;          // cards dealt to each seat
        double stepDelay = 0.15; // seconds after a dealt card
    };
    // Whether `seat` has a card to be dealt at `pass` (an empty place has none).
    using HasCard = std::function<bool(int seat, int pass)>;
    // Deals that card.
    using DealCard = std::function<void(int seat, int pass)>;

    DealStepper() = default;
    ~DealStepper();
    DealStepper(const DealStepper&) = delete;
    DealStepper& operator=(const DealStepper&) = delete;

    // Cancels a deal under way, then runs the first step at once. `afterStep` runs
    // after every step but the last (whether it dealt or skipped); `finished` after
    // the last one, at once when only seats without cards follow the last card.
    void start(Plan plan, HasCard hasCard, DealCard dealCard, std::function<void()> afterStep,
               std::function<void()> finished);
    // Drops the pending step and puts the cursor back (a new hand, a reset, leaving).
    void cancel();
    // Deals every card still to come at once, then ends the deal as its last step would: for
    // what needs the hand laid out (a card drawn while a slow client was still dealing).
    void finishNow();

    bool isDealing() const { return dealing_; }
    int seatIndex() const { return seat_; }
    int pass() const { return pass_; }
    // Cards dealt (steps that waited) since the last start.
    int cardsDealt() const { return cardsDealt_; }

    // The shared flight of a dealt card: put on `table` at `deck`, then moved to the
    // place in the 0.1 s animation "chiabai".
    static void flyCard(const platform::ui::ViewPtr& card, platform::ui::View& table, platform::ui::Point deck,
                        const DealPlace& place);

private:
    // Deals the next card (every card left, `all`), passing over the seats without one.
    void step(uint64_t generation, bool all = false);
    // Moves the cursor one seat on; true when the deal is over.
    bool advance();

    Plan plan_;
    HasCard hasCard_;
    DealCard dealCard_;
    std::function<void()> afterStep_;
    std::function<void()> finished_;
    std::shared_ptr<platform::Timer> timer_;
    uint64_t generation_ = 0;
    int seat_ = 0;
    int pass_ = 0;
    int cardsDealt_ = 0;
    bool dealing_ = false;
};

} // namespace kavo
