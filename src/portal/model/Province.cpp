#include "portal/model/Province.h"

#include <mutex>

namespace kavo {

namespace {

struct ProvinceList {
    std::mutex mutex;
    std::vector<std::shared_ptr<Province>> provinces;
};

ProvinceList& shared() {
    static ProvinceList list;
    return list;
}

// Walks from the last entry down; ids compare as unsigned bytes.
std::shared_ptr<Province> findLocked(const std::vector<std::shared_ptr<Province>>& provinces, int8_t pId) {
    for (auto it = provinces.rbegin(); it != provinces.rend(); ++it) {
        if (*it && uint8_t((*it)->pId()) == uint8_t(pId)) return *it;
    }
    return nullptr;
}

} // namespace

std::vector<std::shared_ptr<Province>> Province::list() {
    std::lock_guard lock(shared().mutex);
    return shared().provinces;
}

void Province::setList(std::vector<std::shared_ptr<Province>> provinces) {
    std::lock_guard lock(shared().mutex);
    shared().provinces = std::move(provinces);
}

bool Province::addIfUnknown(int8_t pId, const std::string& name) {
    if (uint8_t(pId) == 0xFF) return false;
    std::lock_guard lock(shared().mutex);
    if (findLocked(shared().provinces, pId)) return false;
    shared().provinces.push_back(std::make_shared<Province>(pId, name));
    return true;
}

std::string Province::getProviceNameWithId(int8_t pId) {
    std::lock_guard lock(shared().mutex);
    if (auto province = findLocked(shared().provinces, pId)) return province->name();
    return std::to_string(int(pId));
}

} // namespace kavo
