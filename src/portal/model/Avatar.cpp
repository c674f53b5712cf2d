#include "portal/model/Avatar.h"

#include "app/Util.h"

namespace kavo {

std::string Avatar::getPriceString() const {
    return Util::formatNumber(price_);
}

} // namespace kavo
