#include "portal/model/Avatar.h"

#include "platform/foundation/NumberFormat.h"

namespace kavo {

// The same grouping as every money label (Util::formatNumber), which this library
// sits below.
std::string Avatar::getPriceString() const {
    return platform::formatGroupedInteger(price_);
}

} // namespace kavo
