#pragma once

#include <cstdint>

namespace kavo {

// The first step of every way into a table (a board of the list, a locked board, play now,
// a board by its number, a new board, an accepted invitation): the tables of a game this
// client does not play are never asked for. The player reads at once, in his language, that
// the game cannot be played in this version, where a join would wait for an answer that
// opens nothing. Main thread.
class TableEntry {
public:
    // True when this client opens the tables of `gameType`; otherwise the player is told
    // so and the answer is false.
    static bool opens(int gameType);
};

} // namespace kavo
