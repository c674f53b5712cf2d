#include "games/xizach/XiZachService.h"

namespace kavo {

XiZachService& XiZachService::getInstance() {
    static XiZachService instance;
    return instance;
}

} // namespace kavo
