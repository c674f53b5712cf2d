#include "tools/portal-stub/StubTienLen.h"

#include "games/tienlen/CardUtils.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubResultSent.h"
#include "tools/portal-stub/StubTienLenMBRules.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace portalstub {

using kavo::CardUtils;
using kavo::Message;

namespace {

constexpr int kHand = 13;

int tienLenType(const std::vector<int8_t>& cards) {
    return CardUtils::getType(cards);
}

bool tienLenBeats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table, int tableType) {
    return CardUtils::available(mine.data(), int(mine.size()), mineType, table.data(), int(table.size()), tableType);
}

bool tienLenInstantWin(const std::vector<int8_t>& cards, bool newGame, bool) {
    return CardUtils::checkForceFinish(cards.data(), int(cards.size()), newGame);
}

constexpr StubCardRules kTienLen{&tienLenType, &tienLenBeats, &tienLenInstantWin, nullptr};

void logLine(const std::string& line) {
    platform::log("tien len: " + line);
}

Message tableMessage(int16_t command, int8_t room, int8_t board) {
    Message message(command);
    message.writeByte(room);
    message.writeByte(board);
    return message;
}

void writeCards(Message& message, const std::vector<int8_t>& cards) {
    message.writeByte(int8_t(cards.size()));
    for (int8_t id : cards)
        message.writeByte(id);
}

bool holds(const std::vector<int8_t>& hand, const std::vector<int8_t>& cards) {
    for (int8_t id : cards)
        if (std::count(hand.begin(), hand.end(), id) < std::count(cards.begin(), cards.end(), id)) return false;
    return true;
}

} // namespace

const StubCardRules* stubCardRulesOf(int gameType) {
    if (gameType == 3) return &kTienLen;
    if (gameType == 12) return &stubTienLenMBCardRules();
    return nullptr;
}

StubTienLen::StubTienLen(Send send, Later later, std::function<void()> resultSent)
    : send_(std::move(send)), later_(std::move(later)), resultSent_(std::move(resultSent)) {
    if (const char* pause = std::getenv("KAVO_STUB_TIENLEN_PAUSE"); pause && *pause)
        pause_ = std::max(0.05, std::atof(pause));
    if (const char* turn = std::getenv("KAVO_STUB_TIENLEN_TURN"); turn && std::atoi(turn) > 0)
        interval_ = std::min(std::atoi(turn), 127);
}

bool StubTienLen::running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

void StubTienLen::reset() {
    std::lock_guard lock(mutex_);
    ++generation_;
    running_ = false;
    firstGame_ = true;
    lastWinner_ = -1;
    seats_.clear();
}

int StubTienLen::indexOf(int32_t id) const {
    for (size_t i = 0; i < seats_.size(); ++i)
        if (seats_[i].id == id) return int(i);
    return -1;
}

int StubTienLen::activeCount() const {
    return int(std::count_if(seats_.begin(), seats_.end(), [](const Seat& seat) { return !seat.finished; }));
}

void StubTienLen::start(const StubCardRules& rules, int8_t room, int8_t board, const std::vector<int32_t>& places,
                        int32_t player, int32_t stake) {
    std::lock_guard lock(mutex_);
    rules_ = &rules;
    stake_ = stake;
    room_ = room;
    board_ = board;
    player_ = player;
    ++generation_;
    seats_.clear();
    for (int32_t id : places)
        if (id != -1) seats_.push_back(Seat{id, {}, false, false});
    if (seats_.size() < 2) {
        logLine("start refused: fewer than two players");
        return;
    }
    std::vector<int8_t> deck(52);
    std::iota(deck.begin(), deck.end(), int8_t(0));
    std::mt19937 random(20261207u + games_++);
    std::shuffle(deck.begin(), deck.end(), random);
    for (size_t i = 0; i < seats_.size(); ++i)
        seats_[i].hand.assign(deck.begin() + long(i) * kHand, deck.begin() + long(i + 1) * kHand);
    const int me = indexOf(player);
    if (firstGame_ && me >= 0) {
        // The first game of a table: the player holds the three of spades and opens
        // (with fewer than four players it may lie among the cards not dealt).
        auto& mine = seats_[size_t(me)].hand;
        if (std::find(mine.begin(), mine.end(), int8_t(0)) == mine.end()) {
            for (auto& seat : seats_) {
                auto it = std::find(seat.hand.begin(), seat.hand.end(), int8_t(0));
                if (it != seat.hand.end()) *it = mine.front();
            }
            mine.front() = 0;
        }
    }
    int first = -1;
    if (!firstGame_) first = indexOf(lastWinner_);
    if (first < 0)
        for (size_t i = 0; i < seats_.size() && first < 0; ++i)
            if (std::count(seats_[i].hand.begin(), seats_[i].hand.end(), int8_t(0))) first = int(i);
    if (first < 0) first = 0;
    mustOpenWithThree_ =
        firstGame_ && std::count(seats_[size_t(first)].hand.begin(), seats_[size_t(first)].hand.end(), int8_t(0)) > 0;
    turn_ = first;
    firstMover_ = first;
    lastPlayed_ = -1;
    table_.clear();
    tableType_ = -1;
    finishCount_ = 0;
    moveCount_ = 0;
    running_ = true;
    logLine("deal, " + std::to_string(seats_[size_t(first)].id) + " opens");
    if (me >= 0) {
        Message started = tableMessage(20, room_, board_);
        started.writeByte(int8_t(interval_));
        for (int8_t id : seats_[size_t(me)].hand)
            started.writeByte(id);
        started.writeInt(seats_[size_t(first)].id);
        send_(started);
    }
    for (auto& seat : seats_)
        std::sort(seat.hand.begin(), seat.hand.end());
    afterTurn();
}

void StubTienLen::refuse(const std::string& reason) {
    Message refused(54);
    refused.writeByte(board_);
    refused.writeByte(room_);
    refused.writeUTF(reason);
    send_(refused);
}

void StubTienLen::play(int32_t who, const std::vector<int8_t>& cards) {
    std::lock_guard lock(mutex_);
    const int index = indexOf(who);
    std::vector<int8_t> sorted = CardUtils::sorted(cards);
    if (!running_ || index < 0 || index != turn_) {
        refuse(say("Chưa đến lượt bạn", "Not your turn"));
        return;
    }
    if (!holds(seats_[size_t(index)].hand, sorted) || rules_->type(sorted) == -1) {
        refuse(say("Các lá này không thành bộ", "Not a combination"));
        return;
    }
    if (mustOpenWithThree_ && std::count(sorted.begin(), sorted.end(), int8_t(0)) == 0) {
        refuse(say("Ván đầu phải đánh ba bích", "Open with the three of spades"));
        return;
    }
    const bool clear = table_.empty() || lastPlayed_ == index;
    if (!clear && !rules_->beats(sorted, rules_->type(sorted), table_, tableType_)) {
        refuse(say("Bài nhỏ hơn bài trên bàn", "Too small"));
        return;
    }
    playLocked(index, cards);
}

void StubTienLen::playLocked(int index, const std::vector<int8_t>& cards) {
    auto& seat = seats_[size_t(index)];
    for (int8_t id : cards)
        seat.hand.erase(std::find(seat.hand.begin(), seat.hand.end(), id));
    table_ = CardUtils::sorted(cards);
    tableType_ = rules_->type(table_);
    lastPlayed_ = index;
    mustOpenWithThree_ = false;
    ++moveCount_;
    if (seat.hand.empty()) seat.finished = true;
    bool clear = false;
    const int next = activeCount() > 1 ? nextMover(index, clear) : -1;
    if (clear) {
        table_.clear();
        tableType_ = -1;
    }
    Message moved = tableMessage(21, room_, board_);
    moved.writeInt(seat.id);
    writeCards(moved, cards);
    moved.writeInt(next >= 0 ? seats_[size_t(next)].id : -1);
    logLine(std::to_string(seat.id) + " plays " + std::to_string(cards.size()) + " card(s), " +
            std::to_string(next >= 0 ? seats_[size_t(next)].id : -1) + " next");
    send_(moved);
    if (seat.finished) {
        Message finished = tableMessage(51, room_, board_);
        finished.writeInt(seat.id);
        finished.writeByte(int8_t(finishCount_));
        finished.writeInt(moneyOf(finishCount_ == 0));
        finished.writeInt(finishCount_ == 0 ? 10 : -5);
        send_(finished);
        if (finishCount_++ == 0) lastWinner_ = seat.id;
    }
    if (activeCount() <= 1) {
        // One hand is left: it is shown and the game ends.
        for (auto& left : seats_) {
            if (left.finished) continue;
            Message stop = tableMessage(50, room_, board_);
            stop.writeInt(left.id);
            writeCards(stop, left.hand);
            send_(stop);
        }
        running_ = false;
        firstGame_ = false;
        logLine("game over");
        settle(lastWinner_);
        readyAgain();
        return;
    }
    turn_ = next;
    afterTurn();
}

// The next player to move after `from`; when the turn comes back to the last player
// who played, the table is cleared and the passes forgotten.
int StubTienLen::nextMover(int from, bool& clear) {
    clear = false;
    const int n = int(seats_.size());
    for (int step = 1; step <= n; ++step) {
        const int i = (from + step) % n;
        if (i == lastPlayed_) {
            clear = true;
            for (auto& seat : seats_)
                seat.passed = false;
            for (int more = 0; more < n; ++more) {
                const int j = (i + more) % n;
                if (!seats_[size_t(j)].finished) return j;
            }
            return -1;
        }
        if (!seats_[size_t(i)].finished && !seats_[size_t(i)].passed) return i;
    }
    return -1;
}

void StubTienLen::skip(int32_t who) {
    std::lock_guard lock(mutex_);
    logLine(std::to_string(who) + " asks to pass");
    const int index = indexOf(who);
    if (!running_ || index < 0 || index != turn_) {
        logLine("a skip out of turn dropped");
        return;
    }
    skipLocked(index);
}

void StubTienLen::skipLocked(int index) {
    if (table_.empty() || lastPlayed_ == index) {
        // Nothing to follow: the stub plays its lowest card for a player who may not pass.
        playLocked(index, {seats_[size_t(index)].hand.front()});
        return;
    }
    seats_[size_t(index)].passed = true;
    ++moveCount_;
    bool clear = false;
    const int next = nextMover(index, clear);
    if (clear) {
        table_.clear();
        tableType_ = -1;
    }
    logLine(std::to_string(seats_[size_t(index)].id) + " passes, " +
            std::to_string(next >= 0 ? seats_[size_t(next)].id : -1) + " next");
    Message skipped = tableMessage(49, room_, board_);
    skipped.writeInt(seats_[size_t(index)].id);
    skipped.writeInt(next >= 0 ? seats_[size_t(next)].id : -1);
    skipped.writeBool(clear ? 1 : 0);
    send_(skipped);
    turn_ = next;
    afterTurn();
}

void StubTienLen::claim(int32_t who) {
    std::lock_guard lock(mutex_);
    const int index = indexOf(who);
    if (!running_ || index < 0 || moveCount_ > 0 ||
        !rules_->claimHolds(seats_[size_t(index)].hand, firstGame_, index == firstMover_)) {
        logLine("an instant-win claim not confirmed");
        return;
    }
    // The hand is whole before the first move: 13 cards.
    send_(StubTienLenMBRules::forceFinishMessage(room_, board_, who, seats_[size_t(index)].hand));
    send_(tableMessage(50, room_, board_));
    lastWinner_ = who;
    running_ = false;
    firstGame_ = false;
    ++generation_;
    settle(who);
    readyAgain();
}

int32_t StubTienLen::moneyOf(bool winner) const {
    return winner ? stake_ * int32_t(seats_.size() - 1) : -stake_;
}

// The winner takes the stake of every other player: each gets his change of money.
void StubTienLen::settle(int32_t winner) {
    for (const auto& seat : seats_) {
        const bool won = seat.id == winner;
        Message bonus = tableMessage(52, room_, board_);
        bonus.writeInt(seat.id);
        bonus.writeInt(moneyOf(won));
        bonus.writeUTF(won ? say("Thắng", "Win") : say("Thua", "Lose"));
        if (&seat == &seats_.back()) pauseBeforeResultsLastMessage();
        send_(bonus);
        StubLedger::session().moveSeat(seat.id, moneyOf(won), "a game of Tien Len");
    }
    if (resultSent_) resultSent_();
}

void StubTienLen::readyAgain() {
    // The stub players are ready for the next game a little after the end.
    for (const auto& seat : seats_) {
        if (seat.id == player_) continue;
        Message ready(16);
        ready.writeInt(seat.id);
        ready.writeBool(1);
        const uint64_t generation = generation_;
        later_(2.0 * pause_, [this, ready, generation] {
            std::lock_guard lock(mutex_);
            if (generation == generation_) send_(ready);
        });
    }
}

void StubTienLen::afterTurn() {
    if (!running_ || turn_ < 0) return;
    const uint64_t generation = generation_;
    const int moveCount = moveCount_;
    if (seats_[size_t(turn_)].id == player_) {
        // The client passes when its clock runs out; should that never come, the turn
        // still ends a little later, as a pass (or the lowest card when he leads).
        later_(interval_ + kGraceSeconds, [this, generation, moveCount] {
            std::lock_guard lock(mutex_);
            if (generation != generation_ || moveCount != moveCount_ || !running_ || turn_ < 0) return;
            logLine("the player's time is up");
            skipLocked(turn_);
        });
        return;
    }
    // The first answer waits for the deal to end on the player's screen.
    later_(moveCount == 0 ? 3.0 * pause_ : pause_, [this, generation, moveCount] { act(generation, moveCount); });
}

std::vector<int8_t> StubTienLen::answerOf(const std::vector<int8_t>& hand) const {
    const bool clear = table_.empty() || lastPlayed_ == turn_;
    if (rules_->answer) return rules_->answer(clear ? std::vector<int8_t>{} : table_, hand);
    if (clear) return {hand.front()};
    const int n = int(hand.size());
    const int length = int(table_.size());
    if (length > n) return {};
    std::vector<int8_t> best;
    for (uint32_t mask = 0; mask < (1u << n); ++mask) {
        if (__builtin_popcount(mask) != length) continue;
        std::vector<int8_t> pick;
        for (int i = 0; i < n; ++i)
            if (mask & (1u << i)) pick.push_back(hand[size_t(i)]);
        if (rules_->type(pick) != tableType_ || !rules_->beats(pick, tableType_, table_, tableType_)) continue;
        if (best.empty() || pick.back() < best.back() || (pick.back() == best.back() && pick < best)) best = pick;
    }
    return best;
}

void StubTienLen::act(uint64_t generation, int moveCount) {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || moveCount != moveCount_ || !running_ || turn_ < 0) return;
    const auto answer = answerOf(seats_[size_t(turn_)].hand);
    if (answer.empty())
        skipLocked(turn_);
    else
        playLocked(turn_, answer);
}

} // namespace portalstub
