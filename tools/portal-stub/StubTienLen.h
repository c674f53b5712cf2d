#pragma once

#include "net/Message.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace portalstub {

// The rules the stub's card table plays by, chosen by game type: Tien Len (3) and
// Tien Len MB (12). Card sets are ascending card-id bytes.
struct StubCardRules {
    int (*type)(const std::vector<int8_t>& ascending);
    bool (*beats)(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table, int tableType);
    // Whether a claim of an instant win holds for the dealt hand in the table's first
    // game (`firstGame`) or a later one, the claimant moving first or not.
    bool (*claimHolds)(const std::vector<int8_t>& dealt, bool firstGame, bool movesFirst);
    // A stub player's answer on `table` (empty: a clear table), empty for a skip;
    // nullptr: the lowest combination of the table's kind and length that beats it.
    std::vector<int8_t> (*answer)(const std::vector<int8_t>& table, const std::vector<int8_t>& hand);
};
// nullptr for a game type the stub does not deal.
const StubCardRules* stubCardRulesOf(int gameType);

// One match of Tien Len at the stub's card table: the deal, the player's plays and
// skips checked by the rules, the stub players' answers about a second later (the
// lowest combination of the table's kind and length that beats it, else a skip),
// the finishes, the end and every player's money (52), and the stub players ready
// again two seconds later. KAVO_STUB_TIENLEN_PAUSE sets the stub players' pause in
// seconds (1 unless set; the first answer waits three pauses for the deal, the
// ready two). Messages go out through `send`, in order; delayed work
// through `later`; `resultSent` is called once a game's money has all gone out, on
// the thread that sent it. Thread-safe.
class StubTienLen {
public:
    using Send = std::function<void(const kavo::Message&)>;
    using Later = std::function<void(double seconds, std::function<void()>)>;
    StubTienLen(Send send, Later later, std::function<void()> resultSent);

    // The owner started: deals to the places' players (ids by place, -1 empty) and
    // sends the player his 20. The winner of the game takes `stake` from each other player.
    void start(const StubCardRules& rules, int8_t room, int8_t board, const std::vector<int32_t>& places,
               int32_t player, int32_t stake);
    // The player's requests.
    void play(int32_t who, const std::vector<int8_t>& cards);
    void skip(int32_t who);
    void claim(int32_t who);
    // The table ended (a leave, a new join): no stub player acts any more and the
    // next table deals its first game again.
    void reset();
    bool running() const;

    // The player's turn time (KAVO_STUB_TIENLEN_TURN changes it).
    static constexpr int kInterval = 20;
    // How long past his turn time the stub waits for the player's own pass.
    static constexpr int kGraceSeconds = 3;

private:
    struct Seat {
        int32_t id = -1;
        std::vector<int8_t> hand;
        bool passed = false;
        bool finished = false;
    };
    int indexOf(int32_t id) const;
    int activeCount() const;
    int nextMover(int from, bool& clear);
    void playLocked(int index, const std::vector<int8_t>& cards);
    void skipLocked(int index);
    void afterTurn();
    void readyAgain();
    int32_t moneyOf(bool winner) const;
    // The game's money (52) for every seat.
    void settle(int32_t winner);
    void act(uint64_t generation, int moveCount);
    void refuse(const std::string& reason);
    std::vector<int8_t> answerOf(const std::vector<int8_t>& hand) const;

    Send send_;
    Later later_;
    std::function<void()> resultSent_;
    mutable std::mutex mutex_;
    const StubCardRules* rules_ = nullptr;
    std::vector<Seat> seats_;
    std::vector<int8_t> table_;
    int tableType_ = -1;
    int turn_ = -1;
    int firstMover_ = -1;
    int lastPlayed_ = -1;
    int finishCount_ = 0;
    int moveCount_ = 0;
    int32_t player_ = 0;
    int32_t stake_ = 1000;
    int32_t lastWinner_ = -1;
    int8_t room_ = 0;
    int8_t board_ = 0;
    bool firstGame_ = true;
    bool running_ = false;
    bool mustOpenWithThree_ = false;
    uint64_t generation_ = 0;
    uint32_t games_ = 0;
    double pause_ = 1.0;
    int interval_ = kInterval;
};

} // namespace portalstub
