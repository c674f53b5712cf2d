#pragma once

#include "portal/model/Player.h"

#include <memory>

namespace kavo {

// A seat of the dice table; the seat actions and sheets act on its core player.
struct BauCuaSeat {
    std::shared_ptr<Player> corePlayer;
};

} // namespace kavo
