#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSender.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace portalstub {

// The hands of the two stake tables on the card table stub's four seats (the person
// owns the table, the stub players "lan" 4001 and "minh" 4002 sit at places 1 and 2):
//
// Bai Cao (11): the start (20) deals three cards each and sends the person his; his
// turns (21) are echoed to the table; each stub player turns its cards after a pause;
// when all are up, or 20 s passed, every player's points text (91), the hands (50)
// and the money (52: the best points take the others' stakes) go out.
//
// Xi Zach (2): the start deals two cards each, sends the person his with the first
// stub player to act (20) and that turn (21 type 1). A draw (21 kind 0) is answered
// with the card (21 type 0), a stand (kind 1) passes the turn; stub players draw below
// 15 and stand; the owner acts last, with 15 s; his check of a hand (67) shows that
// player's cards (21 type 2); his stand, or the end of his time, ends the game (91, 50,
// 52).
//
// The stub players get ready again (16) two seconds after a hand's money. Every pause
// is multiplied by KAVO_STUB_STAKE_PAUSE when it is set (0.1: ten times as fast); the
// decks are shuffled at random unless KAVO_STUB_STAKE_SEED gives the first seed. A
// stake (24) is answered to the table. Every answer goes out only while the chosen
// game is one of the two. Handlers run on the
// portal's thread, delayed answers on a thread of the stub's own; one mutex guards
// the hand.
class StubStakeTables {
public:
    struct Player {
        int32_t id;
        std::string name;
    };
    // `stake` tells the table's stake (the joined board's, or the owner's since).
    StubStakeTables(StubSender& sender, std::function<Player()> me, std::function<int32_t()> stake);
    ~StubStakeTables();
    StubStakeTables(const StubStakeTables&) = delete;
    StubStakeTables& operator=(const StubStakeTables&) = delete;

    // Its rows at Bai Cao and Xi Zach: 20 and 21 of each game (a Xi Zach move's draw and
    // stand each its own sub), 24, 67, and 15, whose answer ends the hand and goes on to
    // `tableLeave`.
    std::vector<StubCommand> commands(portalserver::PortalServer::Handler tableLeave);

    // Points of a Bai Cao hand (ace-low ids): the sum of the ranks, court cards 10, mod 10.
    static int baiCaoPoints(const std::vector<uint8_t>& cards);
    // Total of a Xi Zach hand: aces 1, or 11 while that stays at 21 or below.
    static int xiZachTotal(const std::vector<uint8_t>& cards);

private:
    void onBaiCaoStart(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onXiZachStart(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onBaiCaoTurn(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onXiZachDraw(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onXiZachStand(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onStake(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onCheck(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    struct Seat {
        int32_t id;
        std::vector<uint8_t> cards;
        std::vector<bool> up; // Bai Cao: turned
        bool done = false;    // Xi Zach: stood
    };

    void later(double seconds, std::function<void()> action);
    void run();
    void send(const kavo::Message& message);
    uint8_t draw();
    void deal(int8_t room, int8_t board, int cards);
    // Deals `cards` each at the room and board a start (20) names (the mutex held).
    void dealFrom(kavo::Message& request, int cards, const char* game);
    // The person's seat while it is his turn in a hand under way, else null (the mutex held).
    Seat* seatOnTurn();
    // Bai Cao
    void startBaiCao();
    void turnBaiCao(int32_t who, const std::vector<uint8_t>& asked);
    void endBaiCao(uint64_t hand);
    // Xi Zach
    void startXiZach();
    void giveTurn(size_t index);
    void stubPlays(size_t index, uint64_t hand);
    void endXiZach();
    void settle(const std::vector<int>& points, const std::vector<std::string>& texts, bool xiZach);
    Seat* seatOf(int32_t id);

    StubSender& sender_;
    std::function<Player()> me_;
    std::function<int32_t()> stake_;

    std::mutex mutex_; // guards everything below
    std::condition_variable wake_;
    struct Pending {
        std::chrono::steady_clock::time_point at;
        std::function<void()> action;
    };
    std::vector<Pending> pending_;
    bool stopping_ = false;
    int8_t room_ = 0;
    int8_t board_ = 0;
    std::vector<Seat> seats_;
    std::vector<uint8_t> deck_;
    size_t turn_ = 0;
    uint64_t hand_ = 0; // moves on with each hand: a pause of an old hand does nothing
    bool running_ = false;
    double pause_ = 1.0;
    std::mt19937 random_{std::random_device{}()};
    std::thread worker_;
};

} // namespace portalstub
