#include "games/cotuong/CoTuongUtils.h"

#include "app/Util.h"

namespace kavo {

int CoTuongUtils::iPadX() {
    return Util::isPad() ? 2 : 1;
}

int CoTuongUtils::iPadY() {
    return Util::isPad() ? 2 : 1;
}

} // namespace kavo
