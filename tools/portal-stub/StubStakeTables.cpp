#include "tools/portal-stub/StubStakeTables.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubResultSent.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr int kBaiCao = 11;
constexpr int kXiZach = 2;
// The subs of a Xi Zach move: a draw, a stand.
constexpr int32_t kDraw = 0;
constexpr int32_t kStand = 1;
// The card table stub's two stub players.
constexpr int32_t kGuests[] = {4001, 4002};
constexpr uint8_t kTimeLimit = 20;
constexpr uint8_t kTurnSeconds = 15;
constexpr uint8_t kFaceDown = 255;

void logLine(const std::string& line) {
    platform::log("stake table: " + line);
}

// The card's rank value, ace 1 and court cards 10 (ace-low ids: rank = id / 4).
int rankValue(uint8_t card) {
    return std::min(card / 4 + 1, 10);
}

} // namespace

StubStakeTables::StubStakeTables(StubSender& sender, std::function<Player()> me, std::function<int32_t()> stake)
    : sender_(sender), me_(std::move(me)), stake_(std::move(stake)), worker_([this] { run(); }) {
    if (const char* pause = std::getenv("KAVO_STUB_STAKE_PAUSE"); pause && *pause)
        pause_ = std::max(0.01, std::atof(pause));
    if (const char* seed = std::getenv("KAVO_STUB_STAKE_SEED"); seed && *seed)
        random_.seed(uint32_t(std::strtoul(seed, nullptr, 10)));
}

StubStakeTables::~StubStakeTables() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

int StubStakeTables::baiCaoPoints(const std::vector<uint8_t>& cards) {
    int sum = 0;
    for (uint8_t card : cards)
        sum += rankValue(card);
    return sum % 10;
}

int StubStakeTables::xiZachTotal(const std::vector<uint8_t>& cards) {
    int sum = 0;
    int aces = 0;
    for (uint8_t card : cards) {
        sum += rankValue(card);
        aces += card / 4 == 0 ? 1 : 0;
    }
    for (; aces > 0 && sum + 10 <= 21; --aces)
        sum += 10;
    return sum;
}

void StubStakeTables::later(double seconds, std::function<void()> action) {
    seconds *= pause_;
    pending_.push_back(
        {std::chrono::steady_clock::now() + std::chrono::milliseconds(int64_t(seconds * 1000)), std::move(action)});
    wake_.notify_all();
}

void StubStakeTables::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            wake_.wait(lock);
            continue;
        }
        auto first = std::min_element(pending_.begin(), pending_.end(),
                                      [](const Pending& a, const Pending& b) { return a.at < b.at; });
        const auto due = first->at;
        if (due > std::chrono::steady_clock::now()) {
            wake_.wait_until(lock, due);
            continue;
        }
        auto action = std::move(first->action);
        pending_.erase(first);
        // The actions run under the lock, as the handlers do: one hand, one writer.
        action();
    }
}

void StubStakeTables::send(const Message& message) {
    sender_.send(message);
}

uint8_t StubStakeTables::draw() {
    if (deck_.empty()) return kFaceDown;
    const uint8_t card = deck_.back();
    deck_.pop_back();
    return card;
}

StubStakeTables::Seat* StubStakeTables::seatOf(int32_t id) {
    for (auto& seat : seats_)
        if (seat.id == id) return &seat;
    return nullptr;
}

void StubStakeTables::deal(int8_t room, int8_t board, int cards) {
    room_ = room;
    board_ = board;
    ++hand_;
    pending_.clear();
    deck_.resize(52);
    std::iota(deck_.begin(), deck_.end(), uint8_t(0));
    std::shuffle(deck_.begin(), deck_.end(), random_);
    seats_.clear();
    // The stub players act first, the owner (the person) last.
    for (int32_t id : kGuests)
        seats_.push_back({id, {}, {}, false});
    seats_.push_back({me_().id, {}, {}, false});
    for (auto& seat : seats_) {
        for (int c = 0; c < cards; ++c)
            seat.cards.push_back(draw());
        seat.up.assign(size_t(cards), false);
    }
    running_ = true;
}

// The table's own commands answer at a Bai Cao or Xi Zach table, each game's start and move
// in rows of that game (a Xi Zach move's draw and stand each a sub of its own); a leave
// there ends the hand, then goes on to `tableLeave`.
std::vector<StubCommand> StubStakeTables::commands(portalserver::PortalServer::Handler tableLeave) {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto leave = [this, tableLeave](Message& request, PortalServer::Reply& reply) {
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            ++hand_;
            pending_.clear();
        }
        if (tableLeave) tableLeave(request, reply);
    };
    std::vector<StubCommand> rows =
        atGames({kBaiCao, kXiZach}, {
                                        {24, kEvery, answeredBy(this, &StubStakeTables::onStake)},
                                        {67, kEvery, answeredBy(this, &StubStakeTables::onCheck)},
                                        {15, kEvery, leave},
                                    });
    for (auto game : {atGame(kBaiCao,
                             {
                                 {20, kEvery, answeredBy(this, &StubStakeTables::onBaiCaoStart)},
                                 {21, kEvery, answeredBy(this, &StubStakeTables::onBaiCaoTurn)},
                             }),
                      atGame(kXiZach, {
                                          {20, kEvery, answeredBy(this, &StubStakeTables::onXiZachStart)},
                                          {21, kDraw, answeredBy(this, &StubStakeTables::onXiZachDraw)},
                                          {21, kStand, answeredBy(this, &StubStakeTables::onXiZachStand)},
                                      })})
        rows.insert(rows.end(), game.begin(), game.end());
    return rows;
}

void StubStakeTables::dealFrom(Message& request, int cards, const char* game) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    deal(room, board, cards);
    logLine(std::string(game) + " hand starts");
}

void StubStakeTables::onBaiCaoStart(Message& request, PortalServer::Reply&) {
    std::lock_guard lock(mutex_);
    dealFrom(request, 3, "Bai Cao");
    startBaiCao();
}

void StubStakeTables::onXiZachStart(Message& request, PortalServer::Reply&) {
    std::lock_guard lock(mutex_);
    dealFrom(request, 2, "Xi Zach");
    startXiZach();
}

// The cards he turned, as he asks for them (a card he does not hold stays down).
void StubStakeTables::onBaiCaoTurn(Message& request, PortalServer::Reply&) {
    request.readByte();
    request.readByte();
    std::vector<uint8_t> asked;
    while (request.available())
        asked.push_back(uint8_t(request.readByte()));
    std::lock_guard lock(mutex_);
    if (running_) turnBaiCao(me_().id, asked);
}

StubStakeTables::Seat* StubStakeTables::seatOnTurn() {
    const int32_t me = me_().id;
    if (!running_ || turn_ >= seats_.size() || seats_[turn_].id != me) return nullptr;
    return seatOf(me);
}

// His draw on his turn: the card, to him alone.
void StubStakeTables::onXiZachDraw(Message&, PortalServer::Reply&) {
    std::lock_guard lock(mutex_);
    Seat* seat = seatOnTurn();
    if (!seat) return;
    const uint8_t card = draw();
    seat->cards.push_back(card);
    Message drawn(21);
    drawn.writeByte(room_);
    drawn.writeByte(board_);
    drawn.writeByte(0);
    drawn.writeInt(seat->id);
    drawn.writeByte(int8_t(card));
    send(drawn);
}

// His stand on his turn ends the game: he acts last.
void StubStakeTables::onXiZachStand(Message&, PortalServer::Reply&) {
    std::lock_guard lock(mutex_);
    if (seatOnTurn()) endXiZach();
}

void StubStakeTables::onStake(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const int32_t money = request.readInt();
    logLine("stake " + std::to_string(money));
    Message answer(24);
    answer.writeByte(room);
    answer.writeByte(board);
    answer.writeInt(money);
    answer.writeInt(me_().id);
    reply.send(answer);
}

void StubStakeTables::onCheck(Message& request, PortalServer::Reply&) {
    request.readByte();
    request.readByte();
    const int32_t who = request.readInt();
    std::lock_guard lock(mutex_);
    Seat* seat = seatOf(who);
    if (!running_ || !seat) return;
    logLine("the owner checks " + std::to_string(who));
    Message shown(21);
    shown.writeByte(room_);
    shown.writeByte(board_);
    shown.writeByte(2);
    shown.writeInt(who);
    shown.writeByte(int8_t(seat->cards.size()));
    for (uint8_t card : seat->cards)
        shown.writeByte(int8_t(card));
    send(shown);
}

// ---------------------------------------------------------------- Bai Cao

void StubStakeTables::startBaiCao() {
    const int32_t me = me_().id;
    Message start(20);
    start.writeByte(room_);
    start.writeByte(board_);
    start.writeByte(int8_t(kTimeLimit));
    for (uint8_t card : seatOf(me)->cards)
        start.writeByte(int8_t(card));
    send(start);
    const uint64_t hand = hand_;
    for (size_t i = 0; i < std::size(kGuests); ++i) {
        const int32_t guest = kGuests[i];
        later(4.0 + 2.0 * double(i), [this, hand, guest] {
            if (hand != hand_ || !running_) return;
            const Seat* seat = seatOf(guest);
            if (seat) turnBaiCao(guest, seat->cards);
        });
    }
    later(kTimeLimit, [this, hand] { endBaiCao(hand); });
}

void StubStakeTables::turnBaiCao(int32_t who, const std::vector<uint8_t>& asked) {
    Seat* seat = seatOf(who);
    if (!seat) return;
    for (size_t i = 0; i < asked.size() && i < seat->cards.size(); ++i)
        if (asked[i] == seat->cards[i]) seat->up[i] = true;
    Message turned(21);
    turned.writeByte(room_);
    turned.writeByte(board_);
    turned.writeInt(who);
    for (size_t i = 0; i < seat->cards.size(); ++i)
        turned.writeByte(int8_t(seat->up[i] ? seat->cards[i] : kFaceDown));
    send(turned);
    const bool allUp = std::all_of(seats_.begin(), seats_.end(), [](const Seat& s) {
        return std::all_of(s.up.begin(), s.up.end(), [](bool up) { return up; });
    });
    if (allUp) {
        const uint64_t hand = hand_;
        later(1.0, [this, hand] { endBaiCao(hand); });
    }
}

void StubStakeTables::endBaiCao(uint64_t hand) {
    if (hand != hand_ || !running_) return;
    std::vector<int> points;
    std::vector<std::string> texts;
    for (const auto& seat : seats_) {
        points.push_back(baiCaoPoints(seat.cards));
        texts.push_back(std::to_string(points.back()) + say(" nút", " points"));
    }
    settle(points, texts, false);
}

// ---------------------------------------------------------------- Xi Zach

void StubStakeTables::startXiZach() {
    const int32_t me = me_().id;
    turn_ = 0;
    Message start(20);
    start.writeByte(room_);
    start.writeByte(board_);
    start.writeInt(seats_[0].id);
    start.writeByte(int8_t(kTurnSeconds));
    for (uint8_t card : seatOf(me)->cards)
        start.writeByte(int8_t(card));
    send(start);
    giveTurn(0);
}

void StubStakeTables::giveTurn(size_t index) {
    turn_ = index;
    if (index >= seats_.size()) return;
    Message turn(21);
    turn.writeByte(room_);
    turn.writeByte(board_);
    turn.writeByte(1);
    turn.writeInt(seats_[index].id);
    turn.writeByte(int8_t(kTurnSeconds));
    send(turn);
    const uint64_t hand = hand_;
    if (seats_[index].id == me_().id) {
        // The person acts last; when his time runs out he stands and the game ends.
        later(kTurnSeconds, [this, index, hand] {
            if (hand == hand_ && running_ && turn_ == index) endXiZach();
        });
        return;
    }
    later(2.0, [this, index, hand] { stubPlays(index, hand); });
}

// A stub player draws, a card a second, while below 15, then stands.
void StubStakeTables::stubPlays(size_t index, uint64_t hand) {
    if (hand != hand_ || !running_ || index >= seats_.size() || turn_ != index) return;
    Seat& seat = seats_[index];
    if (xiZachTotal(seat.cards) < 15 && seat.cards.size() < 5) {
        const uint8_t card = draw();
        seat.cards.push_back(card);
        Message drawn(21);
        drawn.writeByte(room_);
        drawn.writeByte(board_);
        drawn.writeByte(0);
        drawn.writeInt(seat.id);
        drawn.writeByte(int8_t(kFaceDown)); // another player's draw stays face down until the end
        send(drawn);
        later(1.0, [this, index, hand] { stubPlays(index, hand); });
        return;
    }
    seat.done = true;
    giveTurn(index + 1);
}

void StubStakeTables::endXiZach() {
    std::vector<int> points;
    std::vector<std::string> texts;
    for (const auto& seat : seats_) {
        const int total = xiZachTotal(seat.cards);
        // Over 21 is bust: it scores nothing.
        points.push_back(total > 21 ? 0 : total);
        texts.push_back(total > 21 ? say("Quắc (", "Bust (") + std::to_string(total) + ")"
                                   : std::to_string(total) + say(" điểm", " points"));
    }
    settle(points, texts, true);
}

// The best points take every other player's stake.
void StubStakeTables::settle(const std::vector<int>& points, const std::vector<std::string>& texts, bool xiZach) {
    running_ = false;
    for (size_t i = 0; i < seats_.size(); ++i) {
        Message score(91);
        score.writeInt(seats_[i].id);
        score.writeUTF(texts[i]);
        send(score);
    }
    Message stop(50);
    stop.writeByte(room_);
    stop.writeByte(board_);
    stop.writeByte(int8_t(seats_.size()));
    for (const auto& seat : seats_) {
        stop.writeInt(seat.id);
        if (xiZach) stop.writeByte(int8_t(seat.cards.size()));
        for (uint8_t card : seat.cards)
            stop.writeByte(int8_t(card));
    }
    send(stop);
    const size_t best = size_t(std::max_element(points.begin(), points.end()) - points.begin());
    const int32_t stake = stake_();
    for (size_t i = 0; i < seats_.size(); ++i) {
        const bool won = i == best;
        const int32_t change = won ? stake * int32_t(seats_.size() - 1) : -stake;
        Message bonus(52);
        bonus.writeByte(room_);
        bonus.writeByte(board_);
        bonus.writeInt(seats_[i].id);
        bonus.writeInt(change);
        bonus.writeUTF(won ? say("Thắng", "Win") : say("Thua", "Lose"));
        if (i + 1 == seats_.size()) pauseBeforeResultsLastMessage();
        send(bonus);
        StubLedger::session().moveSeat(seats_[i].id, change, "a hand at a stake table");
    }
    tellResultSent(sender_, xiZach ? "a hand of Xi Zach" : "a hand of Bai Cao");
    logLine("hand over, place " + std::to_string(best) + " wins");
    const uint64_t hand = hand_;
    later(2.0, [this, hand] {
        if (hand != hand_ || running_) return;
        for (int32_t guest : kGuests) {
            Message ready(16);
            ready.writeInt(guest);
            ready.writeBool(1);
            send(ready);
        }
    });
}

} // namespace portalstub
