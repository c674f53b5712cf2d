#include "games/phom/PhomNewService.h"

namespace kavo {

PhomNewService& PhomNewService::getInstance() {
    static PhomNewService instance;
    return instance;
}

} // namespace kavo
