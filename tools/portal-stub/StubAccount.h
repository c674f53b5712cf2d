#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubLottery.h"
#include "tools/portal-stub/StubSender.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The stub's answers for the account screens: the rankings, the signed-in player's
// profile (record, achievements, avatars, items, transactions), other players' profiles
// and reports, money transfer between the player and the stub's players, avatar and
// password changes, and the number lottery (StubLottery) with a draw every `drawSeconds`
// (ten minutes unless told). The person's profile, avatars, items and achievements are
// his account's (StubProfile), his money the session ledger's; the stub players' are
// made up the same way every time.
class StubAccount {
public:
    static constexpr int kDrawSeconds = StubLottery::kDrawSeconds;

    explicit StubAccount(StubSender& sender, int drawSeconds = kDrawSeconds);
    StubAccount(const StubAccount&) = delete;
    StubAccount& operator=(const StubAccount&) = delete;

    // Its commands, the lottery's among them.
    std::vector<StubCommand> commands();

    // The sign-in of `name`: the record answered from now on (his money is the ledger's).
    void signedIn(int32_t playerId, const std::string& name);
    // Once the sign-in is answered: what came while he was away.
    void afterSignIn() { lottery_.signedIn(); }

    // The first four stub players are the friends the rankings of friends list.
    static constexpr int kFriends = 4;

private:
    using Reply = portalserver::PortalServer::Reply;
    static void onRichest(kavo::Message& request, Reply& reply);
    static void onStrongest(kavo::Message& request, Reply& reply);
    static StubCommand friendsRanked(int8_t sub, bool withExperience);
    void onProfile(kavo::Message& request, Reply& reply);
    void onProfileSaved(kavo::Message& request, Reply& reply);
    static void onProvinces(kavo::Message& request, Reply& reply);
    void onOwnRecord(kavo::Message& request, Reply& reply);
    static void onOthersRecord(kavo::Message& request, Reply& reply);
    void onAvatars(kavo::Message& request, Reply& reply);
    void onItemsOwned(kavo::Message& request, Reply& reply);
    static void onReportCategories(kavo::Message& request, Reply& reply);
    static void onReport(kavo::Message& request, Reply& reply);
    void onAvatarWorn(kavo::Message& request, Reply& reply);
    static void onPasswordChanged(kavo::Message& request, Reply& reply);
    static void onTransfer(kavo::Message& request, Reply& reply);

    int32_t playerId();
    std::string name();

    std::mutex mutex_;
    int32_t playerId_ = 0;
    std::string name_;
    StubLottery lottery_;
};

} // namespace portalstub
