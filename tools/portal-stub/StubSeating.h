#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

namespace portalstub {

// Where the person of one connection sits: the room and board of the table that seated him
// and the ids seated there, his own among them, as that table seated them. Every join of a
// board leaves the table he sat at (the join's rule, whichever table seats him then, or
// none: a game without a table seats no one), a leave leaves it, and a kick puts the stub
// player who takes the place where the kicked one sat. What is given at a table goes to a
// player seated there.
class StubSeating {
public:
    // The tables: he sat down at `room`, `board` with the players `ids` (his own included).
    void sat(int8_t room, int8_t board, const std::vector<int32_t>& ids);
    // `to` took the place of `from`, when `from` sat at his table.
    void replaced(int32_t from, int32_t to);
    // He sits at no table.
    void left();
    // Whether the player `id` sits at the table of `room` and `board`, the one he sits at.
    bool seatedAt(int8_t room, int8_t board, int32_t id) const;

private:
    mutable std::mutex mutex_;
    bool seated_ = false;
    int8_t room_ = 0;
    int8_t board_ = 0;
    std::set<int32_t> ids_;
};

} // namespace portalstub
