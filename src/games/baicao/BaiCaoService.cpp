#include "games/baicao/BaiCaoService.h"

namespace kavo {

BaiCaoService& BaiCaoService::getInstance() {
    static BaiCaoService instance;
    return instance;
}

} // namespace kavo
