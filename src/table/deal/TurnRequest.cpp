#include "table/deal/TurnRequest.h"

#include "table/cards/BCCardView.h"

namespace kavo {

namespace {
constexpr uint8_t kFaceDown = 255;
}

std::optional<std::vector<uint8_t>> turnRequest(const std::vector<std::shared_ptr<BCCardView>>& hand, int8_t cardId) {
    std::vector<uint8_t> bytes;
    if (cardId != -1) {
        for (const auto& card : hand) {
            if (card->cardID() == cardId) card->setIsSelected(true);
            bytes.push_back(card->isSelected() ? uint8_t(card->cardID()) : kFaceDown);
        }
        return bytes;
    }
    bool marked = false;
    for (const auto& card : hand) {
        if (marked) {
            bytes.push_back(kFaceDown);
            continue;
        }
        bytes.push_back(uint8_t(card->cardID()));
        if (!card->isSelected()) {
            card->setIsSelected(true);
            marked = true;
        }
    }
    if (!marked) return std::nullopt;
    return bytes;
}

std::vector<uint8_t> turnAllRequest(const std::vector<std::shared_ptr<BCCardView>>& hand) {
    std::vector<uint8_t> bytes;
    for (const auto& card : hand)
        bytes.push_back(uint8_t(card->cardID()));
    return bytes;
}

} // namespace kavo
