#pragma once

#include "tests/support/Bytes.h"
#include "tests/support/TestPortal.h"

#include <cstdint>

namespace kavo::test {

// What the lobby answers on the road to one table: the chosen game is accepted (61)
// and its board list (2700) holds one board, room 2, board 7, stake 1000, with
// `players` of `seats` places taken and no password.
inline void answerOneBoard(TestPortal& portal, int8_t players, int8_t seats) {
    portal.onCommand(61, [](Message& request, TestPortal::Reply& reply) {
        Message accepted(61);
        accepted.writeByte(request.readByte());
        reply.send(accepted);
    });
    portal.onCommand(2700, [players, seats](Message&, TestPortal::Reply& reply) {
        reply.send(Bytes()
                       .int32(100000)
                       .int32(1)
                       .byte(2)
                       .byte(7)
                       .boolean(false)
                       .int32(1000)
                       .int32(10000)
                       .boolean(false)
                       .byte(players)
                       .byte(seats)
                       .byte(0)
                       .message(2700));
    });
}

} // namespace kavo::test
