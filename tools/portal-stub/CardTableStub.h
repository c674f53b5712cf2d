#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSeating.h"
#include "tools/portal-stub/StubSender.h"
#include "tools/portal-stub/StubTienLen.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace portalstub {

// A four-seat card table for Tien Len and Tien Len MB (game types 3 and 12). A join
// (8) is answered with the player as owner in place 0, two stub players in places 1
// and 2 and place 3 empty; the two get ready (16) a second later. Ready (16) is
// answered for the player, a stake (19) to the table, a kick (11) empties the place
// until another stub player sits down (12) a few seconds later, a chat line (9) gets
// a short line from a stub player, a seat lock (56) is logged and a leave (15) ends
// the table. At Tien Len the owner's start (20) deals and the match is played out by
// StubTienLen (plays 21, skips 49, claims 53). Later answers go out from a thread of
// the stub's own.
class CardTableStub {
public:
    struct Player {
        int32_t id;
        std::string name;
    };
    // `me` tells the signed-in player; `gameType` the chosen game; `seating` keeps where he
    // sits (its join seats him, a kick and a leave at any table are its).
    CardTableStub(StubSender& sender, StubSeating& seating, std::function<Player()> me, std::function<int()> gameType);
    ~CardTableStub();
    CardTableStub(const CardTableStub&) = delete;
    CardTableStub& operator=(const CardTableStub&) = delete;

    // Its rows: the join of the card games (the tables of Tien Len and Tien Len MB, Bai Cao
    // and Xi Zach, Mau Binh), the answers at every table and the play of Tien Len.
    std::vector<StubCommand> commands();
    // A stake set at the table and a leave, which the other tables hand on here.
    void onStake(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onLeave(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    // Sends a message to the client that many seconds from now (the other tables'
    // stubs use it too); a leave (15) drops what is still waiting.
    void later(double seconds, kavo::Message message);
    // Runs `action` on the table's thread that many seconds from now (dropped likewise).
    void later(double seconds, std::function<void()> action);
    // The table's stake: the joined board's, or what the owner set since (19).
    int32_t stake();
    // A table of another game joined (its stub serves the join).
    void setStake(int32_t stake);
    // How many stub players the last join seated (the board's number of players less the
    // owner, at most two).
    int guestsSeated();

private:
    void onJoin(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onReady(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    static void onSeats(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onKick(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onChat(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    std::vector<StubCommand> playCommands();
    // The places' player ids (-1 empty), as the join and the kicks left them.
    std::vector<int32_t> places();
    void run();
    static kavo::Message stubPlayerEntry(int32_t id, const std::string& name);

    StubSender& sender_;
    StubSeating& seating_;
    std::function<Player()> me_;
    std::function<int()> gameType_;
    std::mutex mutex_;
    std::condition_variable wake_;
    struct Pending {
        std::chrono::steady_clock::time_point at;
        kavo::Message message;
        std::function<void()> action; // run instead of sending when set
    };
    std::vector<Pending> pending_;
    bool stopping_ = false;
    int8_t room_ = 0;
    int8_t board_ = 0;
    int32_t stake_ = 1000;
    size_t kicks_ = 0;
    std::vector<int32_t> places_;
    int guests_ = 2;
    StubTienLen tienLen_;
    std::thread worker_;
};

} // namespace portalstub
