#include "games/caorua/CaoRuaService.h"

namespace kavo {

CaoRuaService& CaoRuaService::getInstance() {
    static CaoRuaService instance;
    return instance;
}

} // namespace kavo
