#include "games/phom/PhomNewService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {

constexpr int16_t kFire = 21;
constexpr int16_t kSkip = 49;
constexpr int16_t kGetCard = 63;
constexpr int16_t kEat = 64;
constexpr int16_t kHaPhom = 65;
constexpr int16_t kAddCard = 67;
constexpr int16_t kResetPhom = 68;

Message meldMessage(int16_t command, int8_t roomId, int8_t boardId, const MeldHand& hand) {
    Message message = tableMessage(command, roomId, boardId);
    for (uint8_t byte : phommelds::meldList(hand))
        message.writeByte(static_cast<int8_t>(byte));
    return message;
}

} // namespace

PhomNewService& PhomNewService::getInstance() {
    static PhomNewService instance;
    return instance;
}

Message PhomNewService::fireMessage(int8_t roomId, int8_t boardId, int8_t card) {
    return tableMessage(kFire, roomId, boardId, {card});
}

Message PhomNewService::skipMessage(int8_t roomId, int8_t boardId) {
    return tableMessage(kSkip, roomId, boardId);
}

Message PhomNewService::getCardMessage(int8_t roomId, int8_t boardId) {
    return tableMessage(kGetCard, roomId, boardId);
}

Message PhomNewService::eatCardMessage(int8_t roomId, int8_t boardId, int8_t first, int8_t second, int8_t discard) {
    return tableMessage(kEat, roomId, boardId, {discard, first, second});
}

Message PhomNewService::haPhomMessage(int8_t roomId, int8_t boardId, const MeldHand& hand) {
    return meldMessage(kHaPhom, roomId, boardId, hand);
}

Message PhomNewService::addCardMessage(int8_t roomId, int8_t boardId, const std::vector<int8_t>& cards) {
    Message message = tableMessage(kAddCard, roomId, boardId);
    for (int8_t card : cards)
        message.writeByte(card);
    return message;
}

Message PhomNewService::doResetPhomMessage(int8_t roomId, int8_t boardId, const MeldHand& hand) {
    return meldMessage(kResetPhom, roomId, boardId, hand);
}

void PhomNewService::fire(int8_t roomId, int8_t boardId, int8_t card) {
    sendGameMessage(fireMessage(roomId, boardId, card));
}

void PhomNewService::getCard(int8_t roomId, int8_t boardId) {
    sendGameMessage(getCardMessage(roomId, boardId));
}

void PhomNewService::eatCard(int8_t roomId, int8_t boardId, int8_t first, int8_t second, int8_t discard) {
    sendGameMessage(eatCardMessage(roomId, boardId, first, second, discard));
}

void PhomNewService::haPhom(int8_t roomId, int8_t boardId, const MeldHand& hand) {
    sendGameMessage(haPhomMessage(roomId, boardId, hand));
}

void PhomNewService::addCard(int8_t roomId, int8_t boardId, const std::vector<int8_t>& cards) {
    sendGameMessage(addCardMessage(roomId, boardId, cards));
}

void PhomNewService::doResetPhom(int8_t roomId, int8_t boardId, const MeldHand& hand) {
    sendGameMessage(doResetPhomMessage(roomId, boardId, hand));
}

void PhomNewService::setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
