#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kavo {

class BCCardView;

// What a three-card table asks the server to turn: one byte per card of my hand, in
// hand order, the card's id or 255 for one to stay face down. The cards asked for
// are marked selected, so that a later request names them again.
//
// For a card id: that card and every card asked for before. For -1: the cards up to
// and including the first not yet asked for, nothing after it; nullopt when every
// card was asked for already (nothing to send).
std::optional<std::vector<uint8_t>> turnRequest(const std::vector<std::shared_ptr<BCCardView>>& hand, int8_t cardId);
// Every card of my hand, turned at once.
std::vector<uint8_t> turnAllRequest(const std::vector<std::shared_ptr<BCCardView>>& hand);

} // namespace kavo
