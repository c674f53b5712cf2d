#pragma once

#include "portal/model/Player.h"

#include <cstdint>

namespace kavo {

// A player at a board game: the shared record plus the remaining time quota.
class ChessPlayer : public Player {
public:
    int32_t quotaTime() const { return quotaTime_; }
    void setQuotaTime(int32_t seconds) { quotaTime_ = seconds; }

private:
    int32_t quotaTime_ = 0;
};

} // namespace kavo
