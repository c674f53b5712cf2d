#include "games/coup/CoUpService.h"

namespace kavo {

CoUpService& CoUpService::getInstance() {
    static CoUpService instance;
    return instance;
}

} // namespace kavo
