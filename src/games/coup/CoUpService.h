#pragma once

#include "games/cotuong/CoTuongService.h"

namespace kavo {

// Builds the hidden-piece Chinese chess table's requests: those of the Chinese chess
// table, sub-ids and bodies alike, under the game command 86. The answer to an
// opponent's draw offer is the board games' command 24, as at Chinese chess: it
// carries no game command. Safe from any thread.
class CoUpService : public CoTuongService {
public:
    static CoUpService& getInstance();
    static constexpr int16_t kGameCommand = 86;

private:
    CoUpService() : CoTuongService(kGameCommand) {}
};

} // namespace kavo
