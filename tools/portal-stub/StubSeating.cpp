#include "tools/portal-stub/StubSeating.h"

namespace portalstub {

void StubSeating::sat(int8_t room, int8_t board, const std::vector<int32_t>& ids) {
    std::lock_guard lock(mutex_);
    seated_ = true;
    room_ = room;
    board_ = board;
    ids_ = {ids.begin(), ids.end()};
}

void StubSeating::replaced(int32_t from, int32_t to) {
    std::lock_guard lock(mutex_);
    if (ids_.erase(from) > 0) ids_.insert(to);
}

void StubSeating::left() {
    std::lock_guard lock(mutex_);
    seated_ = false;
    ids_.clear();
}

bool StubSeating::seatedAt(int8_t room, int8_t board, int32_t id) const {
    std::lock_guard lock(mutex_);
    return seated_ && room == room_ && board == board_ && ids_.count(id) > 0;
}

} // namespace portalstub
