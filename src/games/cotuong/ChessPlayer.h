#pragma once

#include "portal/model/Player.h"

#include <atomic>
#include <cstdint>

namespace kavo {

// A player of the board games: the shared player record and the remaining time quota
// of a game in seconds (0 at creation).
class ChessPlayer : public Player {
public:
    int32_t quotaTime() const { return quotaTime_.load(); }
    void setQuotaTime(int32_t seconds) { quotaTime_.store(seconds); }

private:
    std::atomic<int32_t> quotaTime_{0};
};

} // namespace kavo
