#include "tools/portal-stub/StubLedger.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubAccount.h"

#include <iterator>

namespace portalstub {

StubLedger& StubLedger::session() {
    static StubLedger ledger;
    return ledger;
}

int64_t StubLedger::signIn(const std::string& name) {
    std::lock_guard lock(mutex_);
    player_ = name;
    return money_.emplace(name, kStartMoney).first->second;
}

int64_t StubLedger::balance() {
    std::lock_guard lock(mutex_);
    return money_.emplace(player_, kStartMoney).first->second;
}

int64_t StubLedger::move(int64_t amount, const std::string& why) {
    std::lock_guard lock(mutex_);
    const int64_t money = money_.emplace(player_, kStartMoney).first->second += amount;
    platform::log("money of " + player_ + ": " + (amount < 0 ? "" : "+") + std::to_string(amount) + " (" + why +
                  "), now " + std::to_string(money));
    return money;
}

int64_t StubLedger::stubPlayerMoney(const std::string& name) {
    // The ranked players by their place on the richest list; anyone else alike.
    for (size_t i = 0; i < std::size(StubAccount::kPlayers); ++i)
        if (name == StubAccount::kPlayers[i]) return int64_t(50000000) - int64_t(i) * 1500000;
    return 500000;
}

} // namespace portalstub
