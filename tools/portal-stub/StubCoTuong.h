#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/CoTuongPosition.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSeating.h"
#include "tools/portal-stub/StubSender.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace portalstub {

// A Chinese chess table (game type 5) against a stub player. The stub keeps the board
// with red on rows 0-4 and black (the first mover) on rows 5-9, and shows each client
// its own frame: the player who plays black gets every square turned (8 - x, 9 - y).
// The player moves first in the first game; then the first move alternates. The stub
// player answers a second later with its first allowed move, a capture first. Taking a
// general or resigning ends the game; an undo takes the last two moves back; a draw
// offer is refused. Each side's clock runs on its turns from a quota of 900 s (or
// KAVO_STUB_CHESS_QUOTA seconds) and every move reports the mover's time left; the side
// to move loses the moment its time runs out, whether or not it ever moves. The stub
// player gets ready again two seconds after a game. The stake is the joined board's.
// Handlers run on the portal's thread, delayed replies on a thread of the table's own;
// one mutex guards the game.
class StubCoTuong {
public:
    static constexpr int8_t kGameType = 5;
    static constexpr int32_t kStubPlayerId = 77777;
    static constexpr const char* kStubPlayerName = "May";
    static constexpr int32_t kInterval = 30;
    static constexpr int32_t kQuota = 900;

    // `seating` keeps where the person sits: its join seats him.
    StubCoTuong(StubSender& sender, StubSeating& seating);
    virtual ~StubCoTuong();
    StubCoTuong(const StubCoTuong&) = delete;
    StubCoTuong& operator=(const StubCoTuong&) = delete;

    // Its rows at its game (5): the joins (8, 1900), the start (20) and each sub of the game
    // command (77). Ready, chat and leave are the card table stub's, which answers them for every
    // game. `gameType()` tells the game chosen.
    std::vector<StubCommand> commands(std::function<int()> gameType);
    // The signed-in player.
    void setPlayer(int32_t id, const std::string& name);
    // A join (8 or 1900) at a Chinese chess table: answered with 8. False for other games.
    bool onJoin(kavo::Message& request, portalserver::PortalServer::Reply& reply);

protected:
    static constexpr int kRed = 1;
    static constexpr int kBlack = 2;

    // A table of another game played on this board under its own game command.
    StubCoTuong(StubSender& sender, StubSeating& seating, int8_t gameType, int16_t gameCommand);
    // Under the game's mutex: a game was set up in `position_`.
    virtual void onNewGame() {}
    // Under the game's mutex: the piece went from (xs, ys) to (xd, yd) in `position_`,
    // taking `captured`. Returns the new piece type the move report carries (0: none).
    virtual int8_t onPieceMoved(int /*xs*/, int /*ys*/, int /*xd*/, int /*yd*/,
                                const std::optional<kavo::RuleUnit>& /*captured*/) {
        return 0;
    }
    // The rows a table of another game adds to its game command's, each made with
    // whilePlaying.
    virtual std::vector<StubCommand> moreRows() { return {}; }
    // The row of `sub` of the game command: `answer` reads what follows the room and the
    // board, under the game's mutex, while a game is played at this table's game.
    StubCommand whilePlaying(int8_t sub,
                             std::function<void(kavo::Message&, portalserver::PortalServer::Reply&)> answer);
    // Whether a player's undo request is carried out.
    virtual bool takesMovesBack() const { return true; }
    kavo::Message gameMessage(int8_t sub) const;
    int teamOf(int32_t id) const { return (id == blackId_) ? kBlack : kRed; }

    int32_t playerId_ = 0;
    kavo::CoTuongPosition position_;

private:
    struct Played {
        int xs, ys, xd, yd; // stub frame
        int32_t mover;
        std::optional<kavo::RuleUnit> captured;
    };
    void onStart(portalserver::PortalServer::Reply& reply);
    // Under the game's mutex: the player's move, his undo request.
    void onMove(kavo::Message& request);
    void onUndo(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onPlayerMove(int xs, int ys, int xd, int yd);
    void stubMove();
    // Plays a checked move and reports it; ends the game when a general falls.
    void play(int32_t mover, int xs, int ys, int xd, int yd);
    void endGame(int32_t winner);
    // Charges the mover's clock with the turn that ends now; his seconds left.
    int32_t chargeClock(int32_t mover);
    // Under the game's mutex, when a turn begins: the side to move loses when its time
    // is gone before the turn ends.
    void startClock();
    kavo::Message moveMessage(int32_t mover, int xs, int ys, int xd, int yd, int32_t next, int8_t newType,
                              int32_t secondsLeft) const;
    // Squares between the stub's frame and the player's (the same map both ways).
    int toClientX(int x) const { return playerIsBlack_ ? 8 - x : x; }
    int toClientY(int y) const { return playerIsBlack_ ? 9 - y : y; }
    void later(double seconds, std::function<void()> work);
    void runLater();

    StubSender& sender_;
    StubSeating& seating_;
    int8_t tableType_ = kGameType;
    int16_t gameCommand_ = 77;
    std::function<int()> gameType_;

    std::mutex mutex_;
    std::string playerName_;
    int8_t room_ = 0;
    int8_t board_ = 0;
    int games_ = 0;
    bool playing_ = false;
    bool playerIsBlack_ = true;
    int32_t blackId_ = 0;
    int32_t turn_ = -1;
    int32_t stake_ = 1000;
    // Milliseconds left on the player's and the stub player's clock, and when the
    // running turn began.
    int64_t playerLeft_ = 0;
    int64_t stubLeft_ = 0;
    std::chrono::steady_clock::time_point turnBegan_;
    std::vector<Played> history_;
    uint64_t generation_ = 0; // a delayed stub move of an older position does nothing

    std::mutex laterMutex_;
    std::condition_variable laterChanged_;
    std::deque<std::pair<std::chrono::steady_clock::time_point, std::function<void()>>> laterQueue_;
    bool stopping_ = false;
    std::thread laterThread_;
};

} // namespace portalstub
