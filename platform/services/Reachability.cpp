#include "platform/services/Reachability.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Value.h"

#include <atomic>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace platform {

namespace {

// -1 when no status is forced, else the forced NetworkStatus.
std::atomic<int> forcedStatus{-1};

bool isLoopbackHost(const std::string& host) {
    return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

} // namespace

std::shared_ptr<Reachability> Reachability::forInternetConnection() {
    return std::shared_ptr<Reachability>(new Reachability(std::string()));
}

std::shared_ptr<Reachability> Reachability::reachabilityForHost(const std::string& host) {
    return std::shared_ptr<Reachability>(new Reachability(host));
}

Reachability::~Reachability() {
    stopNotifier();
}

void Reachability::setForcedStatus(std::optional<NetworkStatus> status) {
    forcedStatus = status ? static_cast<int>(*status) : -1;
}

NetworkStatus Reachability::interfaceStatus() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return NetworkStatus::NotReachable;
    NetworkStatus status = NetworkStatus::NotReachable;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
        status = NetworkStatus::ReachableViaWiFi;
        break;
    }
    freeifaddrs(list);
    return status;
}

NetworkStatus Reachability::currentStatus() const {
    int forced = forcedStatus.load();
    if (forced >= 0) return static_cast<NetworkStatus>(forced);
    if (isLoopbackHost(host_)) return NetworkStatus::ReachableViaWiFi;
    return interfaceStatus();
}

bool Reachability::startNotifier() {
    if (timer_ && timer_->isValid()) return true;
    lastStatus_ = currentStatus();
    // The timer must not keep this object alive: the owner decides when it goes.
    Reachability* self = this;
    timer_ = Timer::scheduled(kPollInterval, true, [self] { self->poll(); });
    return true;
}

void Reachability::stopNotifier() {
    if (timer_) timer_->invalidate();
    timer_.reset();
}

void Reachability::poll() {
    NetworkStatus status = currentStatus();
    if (status == lastStatus_) return;
    lastStatus_ = status;
    Value info = Value::emptyDictionary();
    info.set("status", static_cast<int>(status));
    NotificationCenter::defaultCenter().post(kReachabilityChangedNotification, info, this);
}

} // namespace platform
