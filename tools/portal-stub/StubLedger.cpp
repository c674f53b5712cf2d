#include "tools/portal-stub/StubLedger.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubRoster.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace portalstub {

namespace {

// Names come from the wire: the file holds them as hex, one account a line.
std::string hexOf(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : text) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string textOf(const std::string& hex) {
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        text += char(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    return text;
}

// A person's account and a stub player's never share a key, whatever the name.
std::string personKey(const std::string& name) {
    return "p" + name;
}

std::string stubPlayerKey(const std::string& name) {
    return "s" + name;
}

int64_t startMoneyOf(const std::string& key) {
    const StubPlayer* player = key.front() == 's' ? stubPlayerNamed(key.substr(1)) : nullptr;
    return player ? player->startMoney : StubLedger::kStartMoney;
}

// Holds the lock file of the shared amounts while it lives.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

} // namespace

StubLedger& StubLedger::session() {
    static StubLedger ledger;
    return ledger;
}

void StubLedger::keepIn(const std::string& folder) {
    std::lock_guard lock(mutex_);
    file_ = folder + "/money";
}

int64_t StubLedger::signIn(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        player_ = name;
    }
    return change(personKey(name), 0, "");
}

int64_t StubLedger::balance() {
    return change(personKey(player()), 0, "");
}

int64_t StubLedger::move(int64_t amount, const std::string& why) {
    return change(personKey(player()), amount, why);
}

int64_t StubLedger::moveSeat(int32_t id, int64_t amount, const std::string& why) {
    const StubPlayer* stubPlayer = stubPlayerWithId(id);
    return change(stubPlayer ? stubPlayerKey(stubPlayer->name) : personKey(player()), amount, why);
}

kavo::Message StubLedger::balanceReply() {
    kavo::Message reply(17);
    reply.writeLong(balance());
    reply.writeUTF("");
    return reply;
}

std::string StubLedger::player() {
    std::lock_guard lock(mutex_);
    return player_;
}

int64_t StubLedger::stubPlayerMoney(const std::string& name) {
    return session().change(stubPlayerKey(name), 0, "");
}

int64_t StubLedger::change(const std::string& key, int64_t amount, const std::string& why) {
    std::lock_guard lock(mutex_);
    std::optional<FileLock> shared;
    if (!file_.empty()) {
        shared.emplace(file_ + ".lock");
        money_ = load();
    }
    const int64_t money = money_.emplace(key, startMoneyOf(key)).first->second += amount;
    if (amount == 0) return money;
    if (!file_.empty()) store(money_);
    platform::log("money of " + key.substr(1) + ": " + (amount < 0 ? "" : "+") + std::to_string(amount) + " (" + why +
                  "), now " + std::to_string(money));
    return money;
}

std::map<std::string, int64_t> StubLedger::load() const {
    std::map<std::string, int64_t> money;
    std::ifstream in(file_);
    std::string hex;
    long long amount = 0;
    while (in >> hex >> amount)
        money[textOf(hex)] = amount;
    return money;
}

// Written whole beside the file and renamed over it: a reader never meets half a file.
void StubLedger::store(const std::map<std::string, int64_t>& money) const {
    const std::string next = file_ + ".next";
    {
        std::ofstream out(next, std::ios::trunc);
        for (const auto& [key, amount] : money)
            out << hexOf(key) << ' ' << amount << '\n';
        if (!out) {
            platform::log("portal-stub: the amounts could not be written to " + next);
            return;
        }
    }
    if (std::rename(next.c_str(), file_.c_str()) != 0)
        platform::log("portal-stub: the amounts could not be kept in " + file_);
}

} // namespace portalstub
