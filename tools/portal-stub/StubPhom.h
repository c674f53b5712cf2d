#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSeating.h"
#include "tools/portal-stub/StubSender.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace portalstub {

// A Phom table (game type 13): the player owns place 0, three stub players sit in
// places 1-3, ready. The owner's start deals a seeded shuffle, ten cards to the player
// (who plays first) and nine to each stub player. Fires, draws, eats, lay-downs and
// lay-offs of the player are checked against the turn and answered to the table; a
// request out of turn gets 54. A stub player draws and fires its highest loose card
// after a pause (environment variable KAVO_STUB_PHOM_PAUSE, in seconds; 1 by default).
// The player's turn lasts 30 s (KAVO_STUB_PHOM_TURN seconds), the time the deal's
// messages carry; when it runs out the stub draws for him if he has not, fires his
// highest loose card and passes the turn.
// The grouping report (68) is taken without an answer. When every player has fired
// four cards the deal ends: 51 (score and loose cards) and 52 (the lowest score wins
// three stakes, the others lose one) for each player, then the stub players are ready
// and the table waits for the owner's next start. A player who lays or lays off his
// last card ends the deal by U: 66, 69 and 51 for each player. Joining board 2 (a
// "playing" board of the list) shows the stub players' deal in progress (8, then 62).
// Ready, stake, kick, chat and leave are the card table's answers; after a stake change
// the stub players get ready again. Handlers run on the portal's thread, delayed
// stub turns on a thread of the table's own; one mutex guards the deal.
class StubPhom {
public:
    static constexpr int8_t kGameType = 13;
    static constexpr int32_t kStubIds[3] = {4001, 4002, 4003};
    static constexpr double kTurnSeconds = 30;

    // `seating` keeps where the person sits: its join seats him.
    StubPhom(StubSender& sender, StubSeating& seating);
    ~StubPhom();
    StubPhom(const StubPhom&) = delete;
    StubPhom& operator=(const StubPhom&) = delete;

    using Handler = portalserver::PortalServer::Handler;
    // Its rows, at game 13 (`gameType()` tells the game chosen); a stake set at the table
    // is answered by `tableStake` too.
    std::vector<StubCommand> commands(std::function<int()> gameType, Handler tableStake);
    // The signed-in player.
    void setPlayer(int32_t id, const std::string& name);

private:
    using Reply = portalserver::PortalServer::Reply;
    struct Seat {
        int32_t id = -1;
        std::vector<int8_t> hand;
        std::vector<int8_t> fired; // in slot order
        std::vector<std::vector<int8_t>> laid;
        int fires = 0;
    };
    static constexpr int8_t kPlayingBoard = 2;

    void onJoin(kavo::Message& request, Reply& reply);
    void onStart(Reply& reply);
    void onFire(kavo::Message& request, Reply& reply);
    void onDraw(Reply& reply);
    void onEat(kavo::Message& request, Reply& reply);
    void onLay(kavo::Message& request, Reply& reply);
    void onLayOff(kavo::Message& request, Reply& reply);
    void onStake(kavo::Message& request, Reply& reply, const Handler& tableStake);
    // The end of the deal (lock held): the messages go out in order after the last fire,
    // and the balances move as they go.
    void endDeal(bool byU);
    struct SeatMove {
        int32_t id;
        int32_t amount;
    };
    // The messages of the deal's end; `moves` gets the balance changes they tell.
    std::vector<kavo::Message> endMessages(bool byU, std::vector<SeatMove>& moves);
    void readyAgain();
    kavo::Message playingMessage() const;
    // 54 to the player: board first, then room.
    kavo::Message refusal(const std::string& reason) const;
    kavo::Message fireMessage(size_t seat, int8_t card, int slot) const;
    // Passes the turn on from the seat that fired; stub seats play after the pause.
    void nextTurn(size_t firedBy);
    void stubTurn(uint64_t generation);
    // The player's turn clock, from now (lock held), and its end.
    void startMyClock();
    void myTimeIsUp(uint64_t generation);
    // The turn time in whole seconds, as the messages carry it.
    int8_t interval() const;
    void later(double seconds, std::function<void()> work);
    void runLater();

    StubSender& sender_;
    StubSeating& seating_;
    std::function<int()> gameType_;
    double pause_ = 1.0;
    double turnSeconds_ = kTurnSeconds;

    std::mutex mutex_;
    int32_t playerId_ = 0;
    std::string playerName_;
    int8_t room_ = 0;
    int8_t board_ = 0;
    int32_t stake_ = 1000; // the joined board's, or the owner's since
    Seat seats_[4];
    std::vector<int8_t> stock_;
    size_t turn_ = 0;
    bool mustFire_ = false; // the seat to act has taken its card
    bool playing_ = false;
    size_t firstHa_ = 0;
    uint32_t seed_ = 20261207; // the first deal's (KAVO_STUB_PHOM_SEED sets it)
    uint64_t generation_ = 0;

    std::mutex laterMutex_;
    std::condition_variable laterChanged_;
    std::deque<std::pair<std::chrono::steady_clock::time_point, std::function<void()>>> laterQueue_;
    bool stopping_ = false;
    std::thread laterThread_;
};

} // namespace portalstub
