#pragma once

#include "games/phom/PhomMelds.h"
#include "net/Message.h"

#include <cstdint>
#include <vector>

namespace kavo {

// Builds and sends the Phom table's own requests; nothing else. Safe from any thread.
// The builders are public so that the bytes can be checked without a connection.
class PhomNewService {
public:
    static PhomNewService& getInstance();

    // 21: the one card fired.
    static Message fireMessage(int8_t roomId, int8_t boardId, int8_t card);
    // 49: pass the turn (no screen of this game sends it).
    static Message skipMessage(int8_t roomId, int8_t boardId);
    // 63: draw from the stock.
    static Message getCardMessage(int8_t roomId, int8_t boardId);
    // 64: the discard taken, then the two hand cards that make a meld with it.
    static Message eatCardMessage(int8_t roomId, int8_t boardId, int8_t first, int8_t second, int8_t discard);
    // 65: the meld list of the hand in its order.
    static Message haPhomMessage(int8_t roomId, int8_t boardId, const MeldHand& hand);
    // 67: one byte per card, nothing else.
    static Message addCardMessage(int8_t roomId, int8_t boardId, const std::vector<int8_t>& cards);
    // 68: the current grouping of my hand, in the layout of 65.
    static Message doResetPhomMessage(int8_t roomId, int8_t boardId, const MeldHand& hand);

    void fire(int8_t roomId, int8_t boardId, int8_t card);
    void getCard(int8_t roomId, int8_t boardId);
    void eatCard(int8_t roomId, int8_t boardId, int8_t first, int8_t second, int8_t discard);
    void haPhom(int8_t roomId, int8_t boardId, const MeldHand& hand);
    void addCard(int8_t roomId, int8_t boardId, const std::vector<int8_t>& cards);
    void doResetPhom(int8_t roomId, int8_t boardId, const MeldHand& hand);
    // 56: the most players the board takes.
    void setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max);

private:
    PhomNewService() = default;
};

} // namespace kavo
