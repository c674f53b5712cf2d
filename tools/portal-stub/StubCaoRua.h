#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/CardTableStub.h"
#include "tools/portal-stub/StubSender.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace portalstub {

// The six-place Cao Rua table (game type 17). A join (8) seats the player as owner at
// place 0, three stub players (ready) at places 1, 2 and 4, and leaves places 3 and 5
// empty; board 2 is "playing": its join is followed by 62 with the stub players' hidden
// hands, and that hand ends a few seconds later. The owner's start (20) deals: the
// player gets 20 with his three cards and the hand's time limit, his turns (21) are
// echoed, the stub players turn theirs one after another, and when the time limit
// passes, or as soon as every hand is turned up, every score text (91), the reveal (50)
// and every bonus (52) follow. A kicked stub player's place is taken again a little
// later (12); a buzzed stub player buzzes back (103). The stub players get ready again
// (16) two seconds after the bonuses. The time limit is 30 s, time to read the table;
// KAVO_STUB_CAORUA_PAUSE sets another (in seconds; the stub players' turns keep their
// share of it). The table's stake is the joined board's (the card table keeps it). Ready,
// stake, chat and leave are the card table's answers, which serve every game. Other
// games' requests are other tables' to answer.
class StubCaoRua {
public:
    static constexpr int kGameType = 17;
    static constexpr double kHandSeconds = 30;
    static constexpr int8_t kPlayingBoard = 2;

    // `seating` keeps where the person sits: its join seats him, its kick puts the newcomer
    // in the kicked one's place.
    StubCaoRua(StubSender& sender, StubSeating& seating, std::function<CardTableStub::Player()> me,
               std::function<int()> gameType, CardTableStub& cardTable);
    // Its rows, at game 17: the join, the start, the turns, a kick and a buzz.
    std::vector<StubCommand> commands();

private:
    struct Seated {
        int32_t id;
        std::string name;
        int8_t place;
    };
    struct Hand {
        int32_t id;
        std::array<int8_t, 3> cards;
    };
    void onJoin(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onTurn(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onKick(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onBuzz(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onStart(portalserver::PortalServer::Reply& reply);
    // The score texts, the reveal and the bonuses of a hand, `seconds` from now.
    void endHandLater(double seconds, const std::vector<Hand>& hands);
    static int pointsOf(const Hand& hand);
    // Under the mutex: whether `hand` is the one dealt and not over.
    bool handOpen(uint64_t hand) const;
    // Ends `hand` when every hand of it is turned up.
    void finishIfAllUp(uint64_t hand);
    // Ends `hand` now, unless it is over.
    void finishHand(uint64_t hand);
    // The seconds from the deal to the end of a hand.
    static double handSeconds();

    StubSender& sender_;
    StubSeating& seating_;
    std::function<CardTableStub::Player()> me_;
    std::function<int()> gameType_;
    CardTableStub& cardTable_;
    std::mutex mutex_;
    std::vector<Seated> guests_;
    int8_t room_ = 0;
    int8_t board_ = 0;
    size_t kicks_ = 0;
    // The hand being played: its number, its hands (empty once over), how many of them
    // are turned up, and whether the person's is.
    uint64_t hand_ = 0;
    std::vector<Hand> dealt_;
    size_t handsUp_ = 0;
    bool personUp_ = false;
    std::mt19937 shuffle_;
};

} // namespace portalstub
