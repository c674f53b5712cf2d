#pragma once

#include "net/Message.h"
#include "tools/portal-stub/StubTienLen.h"

#include <cstdint>
#include <vector>

namespace portalstub {

// How the stub's Tien Len MB table (game type 12) plays: its players follow suit and
// a person's play is checked with the client's own MB rules. Cards are card-id bytes
// in any order.
// The card table's rules for game type 12.
const StubCardRules& stubTienLenMBCardRules();

class StubTienLenMBRules {
public:
    using Cards = std::vector<int8_t>;

    // The cards a stub player holding `hand` fires on `table` (what lies there, empty
    // when the table is clear), ascending; empty for a skip. A clear table gets the
    // lowest card; a single the lowest card above it of its suit, else the lowest 2
    // above it; anything else the lowest combination of its kind and length that
    // beats it with the table's suits position by position.
    static Cards answer(const Cards& table, const Cards& hand);
    // Whether a person holding `hand` may fire `play` on `table`: cards held, each
    // once, a combination, and on a laid table one that beats it.
    static bool allows(const Cards& table, const Cards& hand, const Cards& play);
    // Whether a claim of an instant win holds for the dealt hand, as the client makes
    // it: `firstMatch` is the first match since the claimant sat down.
    static bool claimHolds(const Cards& dealt, bool firstMatch, bool movesFirst);
    // 53 as the table answers a claim that holds: board, room, winner, then the first
    // 13 cards of the hand.
    static kavo::Message forceFinishMessage(int8_t roomId, int8_t boardId, int32_t winner, const Cards& hand);
};

} // namespace portalstub
