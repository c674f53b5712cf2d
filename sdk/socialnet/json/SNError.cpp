#include "sdk/socialnet/json/SNError.h"

namespace socialnet {

std::string SNError::info(const std::string& key) const {
    for (auto& [k, v] : userInfo)
        if (k == key) return v;
    return {};
}

bool SNError::hasInfo(const std::string& key) const {
    for (auto& entry : userInfo)
        if (entry.first == key) return true;
    return false;
}

} // namespace socialnet
