#pragma once

#include "tools/portal-server/PortalServer.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace portalstub {

// One request an area of the stub answers: its command, the sub it is for (kEverySub:
// every sub that no row of its own names), what answers it (nothing: the request is
// admitted and only logged), and whether a client may send it before a sign-in.
struct StubCommand {
    static constexpr int32_t kEverySub = INT32_MIN;
    int16_t command;
    int32_t sub;
    portalserver::PortalServer::Handler handler;
    bool beforeSignIn = false;
};

// The table rows of an area whose handlers are members of `area`.
template <class Area>
portalserver::PortalServer::Handler answeredBy(Area* area, void (Area::*member)(kavo::Message&,
                                                                                portalserver::PortalServer::Reply&)) {
    return [area, member](kavo::Message& request, portalserver::PortalServer::Reply& reply) {
        (area->*member)(request, reply);
    };
}

// The commands of the stub's areas on one connection's portal, each area's given as one
// table. A command with subs is dispatched by its sub here, in one place: the first byte
// of the body, or its first int for the commands that number their subs so (2703). Before
// a sign-in only the commands a row admits reach a handler; every other request is
// dropped, and the log says so. The tables are given before the portal serves.
class StubCommands {
public:
    // `signedIn` tells whether someone is signed in on the connection now.
    StubCommands(portalserver::PortalServer& portal, std::function<bool()> signedIn);
    StubCommands(const StubCommands&) = delete;
    StubCommands& operator=(const StubCommands&) = delete;

    void add(const std::vector<StubCommand>& table);
    // Whether a request of `command` may be answered now.
    bool admits(int16_t command) const;

private:
    struct Answers {
        std::map<int32_t, portalserver::PortalServer::Handler> bySub;
        portalserver::PortalServer::Handler other; // a sub that no row names, or a command without subs
    };
    void dispatch(int16_t command, kavo::Message& request, portalserver::PortalServer::Reply& reply);

    portalserver::PortalServer& portal_;
    std::function<bool()> signedIn_;
    mutable std::mutex mutex_;
    std::map<int16_t, Answers> answers_;
    std::set<int16_t> beforeSignIn_;
};

} // namespace portalstub
