#pragma once

#include "net/Message.h"

#include <cstdint>
#include <initializer_list>

namespace kavo {

// The shape every table request starts with: the command, the room byte and the
// board byte, then `extra` bytes in order. The games' services build with it.
Message tableMessage(int16_t commandId, int8_t roomId, int8_t boardId, std::initializer_list<int8_t> extra = {});
// The command, the room byte, the board byte and a 32-bit amount.
Message tableMessageWithInt(int16_t commandId, int8_t roomId, int8_t boardId, int32_t value);
// The answer to an opponent's draw offer the board tables share: 24 with the room, the board
// and 1 to accept, 0 to refuse.
Message drawAnswerMessage(int8_t roomId, int8_t boardId, bool accept);
// The set-maximum request every card game shares: 56 with room, board and the maximum.
Message setMaxPlayerMessage(int8_t roomId, int8_t boardId, int8_t max);
// Hands a game's request to the client that GlobalService sends through.
void sendGameMessage(Message message);

} // namespace kavo
