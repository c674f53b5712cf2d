#include "table/base/SeatBubbles.h"

#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"
#include "portal/model/Player.h"
#include "table/base/BubbleRoom.h"

#include <algorithm>
#include <optional>

namespace kavo {

namespace ui = platform::ui;

ui::Rect SeatBubbles::seatRect(const ui::View& seatButton, const Player* sitter) {
    if (!sitter || sitter->IDDB() == -1) return {};
    return seatButton.convertRect(seatButton.bounds(), nullptr);
}

void SeatBubbles::setUp(std::vector<std::shared_ptr<ui::ImageView>> views, std::vector<Look> looks, Later later,
                        Seats seats) {
    stopTimers();
    views_ = std::move(views);
    looks_ = std::move(looks);
    looks_.resize(views_.size(), Look{"friend_chat.png", true, BubblePlace::Anchor::Origin, 3.0, -1});
    waiting_.assign(views_.size(), {});
    shown_.assign(views_.size(), {});
    timers_.assign(views_.size(), nullptr);
    places_.assign(views_.size(), BubblePlace{});
    later_ = std::move(later);
    seats_ = std::move(seats);
    for (const auto& view : views_)
        view->setHidden(true);
}

void SeatBubbles::setStandPoints(double margin, ui::Point centre) {
    margin_ = margin;
    centre_ = centre;
}

std::string SeatBubbles::waiting(int bubble) const {
    if (!valid(bubble)) return "";
    std::string joined;
    for (const std::string& line : waiting_[size_t(bubble)])
        joined += joined.empty() ? line : ", " + line;
    return joined;
}

std::vector<std::string> SeatBubbles::allWaiting() const {
    std::vector<std::string> all;
    for (size_t b = 0; b < views_.size(); ++b)
        all.push_back(waiting(int(b)));
    return all;
}

void SeatBubbles::queue(int bubble, const std::string& line) {
    if (!valid(bubble)) return;
    waiting_[size_t(bubble)].push_back(line);
    if (views_[size_t(bubble)]->isHidden()) showNext(bubble);
}

void SeatBubbles::showNext(int b) {
    if (!valid(b)) return;
    // What it showed had its time.
    shown_[size_t(b)].clear();
    if (waiting_[size_t(b)].empty()) {
        hide(b);
        return;
    }
    const auto& bubble = views_[size_t(b)];
    ui::View* table = bubble->superview();
    if (!table) return;
    if (!layOut(b, BubblePlace::kMostLines, BubblePlace::kTextWidth)) makeRoomFor(b);
    if (auto image = Util::getImageWithName(looks_[size_t(b)].picture)) bubble->setImage(image->stretchable(24, 15));
    // Above what the table drew since, which its place keeps clear of.
    table->bringSubviewToFront(bubble.get());
    bubble->setHidden(false);
    if (timers_[size_t(b)]) timers_[size_t(b)]->invalidate();
    timers_[size_t(b)] = later_ ? later_(looks_[size_t(b)].seconds, b) : nullptr;
}

bool SeatBubbles::layOut(int b, int mostLines, double widest) {
    const auto& bubble = views_[size_t(b)];
    ui::View* table = bubble->superview();
    auto& waiting = waiting_[size_t(b)];
    if (!table || waiting.empty()) return true;
    const Look& look = looks_[size_t(b)];
    std::shared_ptr<CustomLabel> label;
    if (!bubble->subviews().empty()) label = std::dynamic_pointer_cast<CustomLabel>(bubble->subviews().front());
    if (!label) {
        label = CustomLabel::make();
        label->setAccessibilityIdentifier("chatText" + std::to_string(b));
        label->setFont(ui::Font::system(14));
        label->setTextColor(ui::Color::black());
        label->setBackgroundColor(ui::Color::clear());
        if (look.centred) label->setTextAlignment(ui::TextAlignment::Center);
        bubble->addSubview(label);
    }
    BubblePlace::Stand stand{look.anchor, margin_, centre_, BubbleRoom::around(*table, *bubble, views_)};
    if (look.seat >= 0 && seats_) {
        stand.seats = seats_();
        stand.speaker = look.seat;
    }
    stand.mostLines = mostLines;
    stand.widest = widest;
    const std::vector<std::string> lines(waiting.begin(), waiting.end());
    const BubblePlace::Showing showing = places_[size_t(b)].show(*bubble, *label, lines, stand, ui::Screen::size());
    const auto end = waiting.begin() + long(std::min(showing.taken, waiting.size()));
    shown_[size_t(b)].assign(waiting.begin(), end);
    waiting.erase(waiting.begin(), end);
    return showing.clear;
}

void SeatBubbles::giveBack(int b) {
    auto& shown = shown_[size_t(b)];
    waiting_[size_t(b)].insert(waiting_[size_t(b)].begin(), shown.begin(), shown.end());
    shown.clear();
}

void SeatBubbles::makeRoomFor(int b) {
    // The others step aside, each keeping its time, and all stand again, this one first,
    // each holding one short line. One that still finds no clear place stands first in the
    // next round, so the seat hemmed in most chooses before the others.
    constexpr double kShort = 100;
    std::vector<int> order{b};
    for (int o = 0; o < int(views_.size()); ++o)
        if (o != b && !views_[size_t(o)]->isHidden()) order.push_back(o);
    for (size_t round = 0; round < order.size(); ++round) {
        for (int o : order) {
            giveBack(o);
            views_[size_t(o)]->setHidden(true);
        }
        std::optional<int> hemmedIn;
        for (int o : order) {
            if (!layOut(o, 1, kShort) && !hemmedIn) hemmedIn = o;
            views_[size_t(o)]->setHidden(false);
        }
        if (!hemmedIn) return;
        std::erase(order, *hemmedIn);
        order.insert(order.begin(), *hemmedIn);
    }
}

void SeatBubbles::hide(int b) {
    if (!valid(b)) return;
    const auto& bubble = views_[size_t(b)];
    bubble->setHidden(true);
    shown_[size_t(b)].clear();
    places_[size_t(b)].hide(*bubble);
    if (timers_[size_t(b)]) timers_[size_t(b)]->invalidate();
    timers_[size_t(b)].reset();
}

void SeatBubbles::withdraw(int bubble, const std::string& line) {
    if (!valid(bubble)) return;
    auto& waiting = waiting_[size_t(bubble)];
    if (const auto found = std::find(waiting.begin(), waiting.end(), line); found != waiting.end())
        waiting.erase(found);
}

void SeatBubbles::stopTimers() {
    for (auto& timer : timers_) {
        if (timer) timer->invalidate();
        timer.reset();
    }
}

void SeatBubbles::dropWaiting() {
    for (auto& waiting : waiting_)
        waiting.clear();
    for (auto& shown : shown_)
        shown.clear();
}

void SeatBubbles::clear() {
    dropWaiting();
    for (size_t b = 0; b < views_.size(); ++b)
        hide(int(b));
}

} // namespace kavo
