#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubDelayedSender.h"
#include "tools/portal-stub/StubSender.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The stub's friends, private chat and mail: three friends ("an" online at a board,
// "binh" and "chi" offline) who answer each private line a second later with a line of
// their own, a person's new mail (a welcome and a maintenance notice, each once, and a
// friend request from "dung" until he answers it), the name search among every stub
// player and the friend-request answers. What a person accepted and had is kept with his
// account.
class StubMail {
public:
    // Answers through `sender`; a friend's line comes later, on a thread of its own
    // that ends with the object.
    explicit StubMail(StubSender& sender);
    // Its commands: 5, 33, 36, 104 and 1702.
    std::vector<StubCommand> commands();
    // When the maintenance notice was written (milliseconds since 1970).
    static constexpr int64_t kMaintenanceNoticeTime = 1765000000000LL;
    // Once a sign-in is answered: the person's new mail, when the client asked for it
    // before he signed in.
    void signedIn(portalserver::PortalServer::Reply& reply);
    // The name of a friend or known player by id (empty when none has it).
    static std::string nameOf(int32_t id);
    // At a Caro or Tetris board, the opponent's details (reply 34) two seconds after
    // the join.
    void afterJoin(int gameType);

private:
    void onPrivateMessage(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onMailbox(kavo::Message& request, portalserver::PortalServer::Reply& reply);

    StubDelayedSender sender_;
    std::mutex mutex_;
    bool mailAsked_ = false; // the mailbox was asked for before the sign-in
};

} // namespace portalstub
