#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/CardTableStub.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSender.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace portalstub {

// The Mau Binh hands of the four-seat card table (game type 16): the owner's start
// (20) deals thirteen cards to everybody and 47/20 to the person (special hand 2
// instead of none when KAVO_STUB_MAUBINH_SPECIAL is set); 47/23 and 47/24 sort the
// person's cards by rank or by suit, 47/25 answers an arrangement that is no foul,
// 47/10 sets 120, 90 or 60 seconds (90 until then). The stub players finish at once;
// when the person finishes (47/30), or his time runs out and the stub arranges his
// cards as it would auto-arrange them, the hands are compared pairwise and 47/40 goes
// out (money = chi x the table's stake), then 47/50 after the show (16 s, or
// KAVO_STUB_MAUBINH_PAUSE seconds), and the stub players get ready again two seconds
// later. A special hand is judged at once, as dealt. The auto-arrangement and the stub
// players' hands are the strongest arrangement with no foul (back first, then middle,
// then front).
class StubMauBinh {
public:
    StubMauBinh(StubSender& sender, CardTableStub& table, std::function<CardTableStub::Player()> me,
                std::function<int()> gameType);
    // Its rows at game 16: the start and the game's own command (47).
    std::vector<StubCommand> commands();

    static constexpr int32_t kGuests[2] = {4001, 4002};

private:
    struct Seat {
        int32_t id = 0;
        std::vector<int> cards;
    };
    std::vector<int> myCards();
    void onTimeChosen(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    StubCommand sorted(int8_t code, const char* what, std::function<bool(int, int)> in);
    void onArrange(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onFinish(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void deal(int8_t room, int8_t board, portalserver::PortalServer::Reply& reply);
    void finish(const std::vector<int>& arrangement);

    StubSender& sender_;
    CardTableStub& table_;
    std::function<CardTableStub::Player()> me_;
    std::function<int()> gameType_;
    std::mutex mutex_;
    std::vector<Seat> seats_;
    int8_t room_ = 0;
    int8_t board_ = 0;
    unsigned deals_ = 0;
    int8_t limit_ = 90; // the seconds to arrange a hand in (KAVO_STUB_MAUBINH_TIME sets the first)
};

} // namespace portalstub
