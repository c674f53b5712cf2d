#include "games/baucua/BauCuaService.h"

namespace kavo {

BauCuaService& BauCuaService::getInstance() {
    static BauCuaService instance;
    return instance;
}

} // namespace kavo
