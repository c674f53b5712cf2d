#include "tools/portal-stub/StubPhom.h"

#include "games/phom/PhomMelds.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubBoards.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubResultSent.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr const char* kNames[3] = {"lan", "minh", "hoa"};

void logLine(const std::string& line) {
    platform::log("Phom table: " + line);
}

bool takeCard(std::vector<int8_t>& hand, int8_t card) {
    auto found = std::find(hand.begin(), hand.end(), card);
    if (found == hand.end()) return false;
    hand.erase(found);
    return true;
}

// A hand as the sorted scan finds it: each card with its meld's tag (0: loose).
kavo::MeldHand scanned(const std::vector<int8_t>& hand) {
    kavo::MeldHand melds;
    for (int8_t card : hand)
        melds.push_back({card, 0, false, -1});
    kavo::PhomTagCounter counter;
    kavo::phommelds::intelligentSort(melds, counter);
    return melds;
}

// The melds the scan finds in a hand, each in the order of the sorted hand.
std::vector<std::vector<int8_t>> meldsIn(const std::vector<int8_t>& hand) {
    std::map<int8_t, std::vector<int8_t>> byTag;
    for (const auto& card : scanned(hand))
        if (card.tag != 0) byTag[card.tag].push_back(card.id);
    std::vector<std::vector<int8_t>> melds;
    for (auto& [tag, meld] : byTag)
        melds.push_back(std::move(meld));
    return melds;
}

// The highest card of a hand that no meld of the sorted scan holds (the highest card
// when every card is in a meld).
int8_t highestLoose(const std::vector<int8_t>& hand) {
    int8_t best = -1, any = -1;
    for (const auto& card : scanned(hand)) {
        any = std::max(any, card.id);
        if (card.tag == 0) best = std::max(best, card.id);
    }
    return best != -1 ? best : any;
}

// Whether `card` extends the laid meld: one more of a set's rank, or the next card of
// a run at either end.
bool extends(const std::vector<int8_t>& meld, int8_t card) {
    if (meld.size() < 3) return false;
    std::vector<int8_t> sorted = meld;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.front() / 4 == sorted.back() / 4) return card / 4 == sorted.front() / 4;
    return card == sorted.front() - 4 || card == sorted.back() + 4;
}

} // namespace

StubPhom::StubPhom(StubSender& sender, StubSeating& seating)
    : sender_(sender), seating_(seating), laterThread_([this] { runLater(); }) {
    if (const char* pause = std::getenv("KAVO_STUB_PHOM_PAUSE")) pause_ = std::max(0.0, std::atof(pause));
    if (const char* turn = std::getenv("KAVO_STUB_PHOM_TURN"); turn && std::atof(turn) > 0)
        turnSeconds_ = std::atof(turn);
    if (const char* seed = std::getenv("KAVO_STUB_PHOM_SEED"); seed && *seed)
        seed_ = uint32_t(std::strtoul(seed, nullptr, 10));
}

int8_t StubPhom::interval() const {
    return int8_t(std::clamp(std::ceil(turnSeconds_), 1.0, 127.0));
}

StubPhom::~StubPhom() {
    {
        std::lock_guard lock(laterMutex_);
        stopping_ = true;
    }
    laterChanged_.notify_all();
    laterThread_.join();
}

void StubPhom::setPlayer(int32_t id, const std::string& name) {
    std::lock_guard lock(mutex_);
    playerId_ = id;
    playerName_ = name;
}

std::vector<StubCommand> StubPhom::commands(std::function<int()> gameType, Handler tableStake) {
    gameType_ = std::move(gameType);
    constexpr int32_t kEvery = StubCommand::kEverySub;
    return atGame(
        kGameType,
        {
            boardJoin({8, kEvery, [this](Message& request, Reply& reply) { onJoin(request, reply); }}),
            {20, kEvery, [this](Message&, Reply& reply) { onStart(reply); }},
            {21, kEvery, [this](Message& request, Reply& reply) { onFire(request, reply); }},
            {63, kEvery, [this](Message&, Reply& reply) { onDraw(reply); }},
            {64, kEvery, [this](Message& request, Reply& reply) { onEat(request, reply); }},
            {65, kEvery, [this](Message& request, Reply& reply) { onLay(request, reply); }},
            {67, kEvery, [this](Message& request, Reply& reply) { onLayOff(request, reply); }},
            {19, kEvery, [this, tableStake](Message& request, Reply& reply) { onStake(request, reply, tableStake); }},
            {68, kEvery,
             [](Message& request, Reply&) {
                 logLine("grouping, " + std::to_string(request.data().size()) + " bytes");
             }},
        });
}

void StubPhom::onJoin(Message& request, Reply& reply) {
    std::lock_guard lock(mutex_);
    room_ = request.readByte();
    board_ = request.readByte();
    stake_ = stakeOfBoard(board_);
    playing_ = false;
    ++generation_;
    logLine("join room " + std::to_string(room_) + ", board " + std::to_string(board_));
    Message joined(8);
    joined.writeByte(room_);
    joined.writeByte(board_);
    joined.writeInt(playerId_); // the player owns the table
    joined.writeInt(stake_);
    joined.writeInt(playerId_);
    joined.writeUTF(playerName_);
    joined.writeLong(StubLedger::session().balance());
    joined.writeShort(StubProfile::avatarOf(playerName_));
    joined.writeInt(2500);
    joined.writeBool(0);
    for (int i = 0; i < 3; ++i) {
        joined.writeInt(kStubIds[i]);
        joined.writeUTF(kNames[i]);
        joined.writeLong(StubLedger::stubPlayerMoney(kNames[i]));
        joined.writeShort(stubPlayerAvatar(kStubIds[i]));
        joined.writeInt(3000);
        joined.writeBool(1);
    }
    seats_[0].id = playerId_;
    for (int i = 0; i < 3; ++i)
        seats_[i + 1].id = kStubIds[i];
    seating_.sat(room_, board_, {playerId_, kStubIds[0], kStubIds[1], kStubIds[2]});
    if (board_ != kPlayingBoard) {
        reply.send(joined);
        return;
    }
    // The stub players' deal runs: the first of them owns the table.
    Message watching(8);
    watching.writeByte(room_);
    watching.writeByte(board_);
    watching.writeInt(kStubIds[0]);
    const size_t head = 2 + 4;
    std::vector<uint8_t> rest(joined.data().begin() + long(head) + 4, joined.data().end());
    watching.writeInt(stake_);
    for (uint8_t byte : rest)
        watching.writeByte(int8_t(byte));
    reply.send(watching);
    reply.send(playingMessage());
}

Message StubPhom::playingMessage() const {
    Message playing(62);
    playing.writeByte(room_);
    playing.writeByte(board_);
    playing.writeByte(interval());
    playing.writeInt(kStubIds[1]); // whose turn it is
    playing.writeInt(kStubIds[0]); // whose discard may be eaten
    static constexpr int8_t kShown[3][4] = {{44, 37, 30, 9}, {48, 41, 2, 19}, {50, 23, 14, 6}};
    static constexpr int8_t kEaten[3][3] = {{16, 17, 18}, {32, 33, 35}, {3, 7, 11}};
    for (int i = 0; i < 3; ++i) {
        playing.writeInt(kStubIds[i]);
        playing.writeByte(4);
        for (int8_t card : kShown[i])
            playing.writeByte(card);
        playing.writeByte(3);
        for (int8_t card : kEaten[i])
            playing.writeByte(card);
    }
    return playing;
}

void StubPhom::onStart(Reply& reply) {
    std::lock_guard lock(mutex_);
    std::vector<int8_t> deck(52);
    for (int i = 0; i < 52; ++i)
        deck[size_t(i)] = int8_t(i);
    std::mt19937 random(seed_++);
    std::shuffle(deck.begin(), deck.end(), random);
    size_t next = 0;
    for (size_t s = 0; s < 4; ++s) {
        seats_[s].fired.clear();
        seats_[s].laid.clear();
        seats_[s].fires = 0;
        seats_[s].hand.assign(deck.begin() + long(next), deck.begin() + long(next + (s == 0 ? 10 : 9)));
        next += s == 0 ? 10 : 9;
    }
    stock_.assign(deck.begin() + long(next), deck.end());
    turn_ = 0;
    firstHa_ = 0;
    mustFire_ = true; // the first player holds ten cards and fires first
    playing_ = true;
    ++generation_;
    startMyClock();
    std::string dealt;
    for (int8_t card : seats_[0].hand)
        dealt += " " + std::to_string(card);
    logLine("deal " + std::to_string(seed_ - 1) + ", the player's cards" + dealt);
    Message start(20);
    start.writeByte(room_);
    start.writeByte(board_);
    start.writeByte(interval());
    start.writeInt(playerId_);
    start.writeInt(playerId_);
    for (int8_t card : seats_[0].hand)
        start.writeByte(card);
    reply.send(start);
}

Message StubPhom::refusal(const std::string& reason) const {
    Message refused(54);
    refused.writeByte(board_);
    refused.writeByte(room_);
    refused.writeUTF(reason);
    return refused;
}

Message StubPhom::fireMessage(size_t seat, int8_t card, int slot) const {
    Message fired(21);
    fired.writeByte(room_);
    fired.writeByte(board_);
    fired.writeInt(seats_[seat].id);
    fired.writeInt(seats_[(seat + 1) % 4].id);
    fired.writeByte(card);
    fired.writeByte(int8_t(slot));
    return fired;
}

void StubPhom::onFire(Message& request, Reply& reply) {
    std::lock_guard lock(mutex_);
    request.readByte();
    request.readByte();
    const int8_t card = request.readByte();
    if (!playing_ || turn_ != 0 || !mustFire_) {
        reply.send(refusal(say("Chưa đến lượt", "Not your turn")));
        return;
    }
    if (!takeCard(seats_[0].hand, card)) {
        reply.send(refusal(say("Không có quân bài này", "No such card")));
        return;
    }
    const int slot = int(seats_[0].fired.size());
    seats_[0].fired.push_back(card);
    ++seats_[0].fires;
    reply.send(fireMessage(0, card, slot));
    nextTurn(0);
}

void StubPhom::nextTurn(size_t firedBy) {
    turn_ = (firedBy + 1) % 4;
    mustFire_ = false;
    ++generation_; // the clock of the turn that ended stops
    if (std::all_of(std::begin(seats_), std::end(seats_), [](const Seat& seat) { return seat.fires >= 4; })) {
        endDeal(false);
        return;
    }
    if (turn_ == 0) {
        startMyClock();
        return;
    }
    if (stock_.empty()) {
        logLine("the stock is empty");
        return;
    }
    const uint64_t generation = generation_;
    later(pause_, [this, generation] { stubTurn(generation); });
}

void StubPhom::stubTurn(uint64_t generation) {
    std::unique_lock lock(mutex_);
    if (generation != generation_ || !playing_ || turn_ == 0 || stock_.empty()) return;
    const size_t seat = turn_;
    const int8_t drawn = stock_.back();
    stock_.pop_back();
    seats_[seat].hand.push_back(drawn);
    Message draw(63);
    draw.writeByte(room_);
    draw.writeByte(board_);
    draw.writeInt(seats_[seat].id);
    draw.writeByte(-1); // others see no card
    const int8_t card = highestLoose(seats_[seat].hand);
    takeCard(seats_[seat].hand, card);
    const int slot = int(seats_[seat].fired.size());
    seats_[seat].fired.push_back(card);
    ++seats_[seat].fires;
    const Message fired = fireMessage(seat, card, slot);
    nextTurn(seat);
    lock.unlock();
    sender_.send(draw);
    sender_.send(fired);
}

void StubPhom::startMyClock() {
    const uint64_t generation = generation_;
    later(turnSeconds_, [this, generation] { myTimeIsUp(generation); });
}

// As for a stub player: the stock's card when none was taken, at his last turn the
// melds of his hand laid, then the highest loose card (the rightmost of the sorted
// hand; which card the client has raised never reaches the table) is fired for him.
void StubPhom::myTimeIsUp(uint64_t generation) {
    std::unique_lock lock(mutex_);
    if (generation != generation_ || !playing_ || turn_ != 0) return;
    std::vector<Message> out;
    auto& hand = seats_[0].hand;
    if (!mustFire_ && !stock_.empty()) {
        const int8_t drawn = stock_.back();
        stock_.pop_back();
        hand.push_back(drawn);
        Message draw(63);
        draw.writeByte(room_);
        draw.writeByte(board_);
        draw.writeInt(playerId_);
        draw.writeByte(drawn);
        out.push_back(draw);
    }
    if (hand.empty()) return;
    if (seats_[0].fires == 3) {
        const auto melds = meldsIn(hand);
        if (!melds.empty()) {
            Message laid(65);
            laid.writeByte(room_);
            laid.writeByte(board_);
            for (const auto& meld : melds) {
                for (int8_t card : meld) {
                    takeCard(hand, card);
                    laid.writeByte(card);
                }
                laid.writeByte(-1);
                seats_[0].laid.push_back(meld);
            }
            out.push_back(laid);
            logLine("the player's last time is up: " + std::to_string(melds.size()) + " melds laid for him");
        }
    }
    if (hand.empty()) {
        // Every card laid: the deal ends by U, after what went out for him.
        endDeal(true);
        lock.unlock();
        for (const auto& message : out)
            sender_.send(message);
        return;
    }
    const int8_t card = highestLoose(hand);
    takeCard(hand, card);
    const int slot = int(seats_[0].fired.size());
    seats_[0].fired.push_back(card);
    ++seats_[0].fires;
    logLine("the player's time is up: card " + std::to_string(card) + " fired for him");
    out.push_back(fireMessage(0, card, slot));
    nextTurn(0);
    lock.unlock();
    for (const auto& message : out)
        sender_.send(message);
}

void StubPhom::onDraw(Reply& reply) {
    std::lock_guard lock(mutex_);
    if (!playing_ || turn_ != 0 || mustFire_ || stock_.empty()) {
        reply.send(refusal(say("Chưa đến lượt", "Not your turn")));
        return;
    }
    const int8_t card = stock_.back();
    stock_.pop_back();
    seats_[0].hand.push_back(card);
    mustFire_ = true;
    Message drawn(63);
    drawn.writeByte(room_);
    drawn.writeByte(board_);
    drawn.writeInt(playerId_);
    drawn.writeByte(card);
    reply.send(drawn);
}

void StubPhom::onEat(Message& request, Reply& reply) {
    std::lock_guard lock(mutex_);
    request.readByte();
    request.readByte();
    const int8_t discard = request.readByte();
    const int8_t first = request.readByte();
    const int8_t second = request.readByte();
    if (!playing_ || turn_ != 0 || mustFire_) {
        reply.send(refusal(say("Chưa đến lượt", "Not your turn")));
        return;
    }
    auto& firer = seats_[3];
    const bool isLast = !firer.fired.empty() && firer.fired.back() == discard;
    const auto& hand = seats_[0].hand;
    const bool held = std::count(hand.begin(), hand.end(), first) && std::count(hand.begin(), hand.end(), second);
    if (!isLast || !held || !kavo::phommelds::canBePhom(discard, first, second)) {
        reply.send(refusal(say("Không thành phỏm", "Not a meld")));
        return;
    }
    firer.fired.pop_back();
    seats_[0].hand.push_back(discard);
    mustFire_ = true;
    Message eaten(64);
    eaten.writeByte(room_);
    eaten.writeByte(board_);
    eaten.writeInt(seats_[firstHa_].id);
    reply.send(eaten);
}

void StubPhom::onLay(Message& request, Reply& reply) {
    std::lock_guard lock(mutex_);
    request.readByte();
    request.readByte();
    const int count = static_cast<uint8_t>(request.readByte());
    if (!playing_ || turn_ != 0) {
        reply.send(refusal(say("Chưa đến lượt", "Not your turn")));
        return;
    }
    Message laid(65);
    laid.writeByte(room_);
    laid.writeByte(board_);
    for (int m = 0; m < count && size_t(request.idx()) + 4 <= request.data().size(); ++m) {
        std::vector<int8_t> meld;
        for (int k = 0; k < 3; ++k)
            meld.push_back(request.readByte());
        request.readByte(); // the 255 that ends the meld
        for (int8_t card : meld) {
            takeCard(seats_[0].hand, card);
            laid.writeByte(card);
        }
        laid.writeByte(-1);
        seats_[0].laid.push_back(meld);
    }
    reply.send(laid);
    if (seats_[0].hand.empty()) endDeal(true);
}

void StubPhom::onLayOff(Message& request, Reply& reply) {
    std::lock_guard lock(mutex_);
    request.readByte();
    request.readByte();
    std::vector<int8_t> cards;
    while (request.available())
        cards.push_back(request.readByte());
    if (!playing_ || turn_ != 0 || cards.empty()) {
        reply.send(refusal(say("Chưa đến lượt", "Not your turn")));
        return;
    }
    for (auto& seat : seats_) {
        for (auto& meld : seat.laid) {
            if (!extends(meld, cards.front())) continue;
            takeCard(seats_[0].hand, cards.front());
            meld.push_back(cards.front());
            Message laidOff(67);
            laidOff.writeByte(room_);
            laidOff.writeByte(board_);
            laidOff.writeInt(seat.id);
            laidOff.writeByte(cards.front());
            laidOff.writeByte(cards.front());
            reply.send(laidOff);
            if (seats_[0].hand.empty()) endDeal(true);
            return;
        }
    }
    reply.send(refusal(say("Không gửi được", "Nothing to lay off onto")));
}

void StubPhom::onStake(Message& request, Reply& reply, const Handler& tableStake) {
    Message read(request.commandId(), request.data());
    read.readShort();                     // room, board
    const int32_t stake = read.readInt(); // 0 when cut short
    // A stake the table refuses (the card table says why) leaves the deal's as it was.
    if (stakeRefusal(stake).empty()) {
        std::lock_guard lock(mutex_);
        stake_ = stake;
    }
    if (tableStake) tableStake(request, reply);
    uint64_t generation = 0;
    {
        std::lock_guard lock(mutex_);
        generation = generation_;
    }
    later(pause_, [this, generation] {
        std::lock_guard lock(mutex_);
        if (generation == generation_) readyAgain();
    });
}

void StubPhom::readyAgain() {
    for (int32_t id : kStubIds) {
        Message ready(16);
        ready.writeInt(id);
        ready.writeBool(1);
        sender_.send(ready);
    }
}

std::vector<Message> StubPhom::endMessages(bool byU, std::vector<SeatMove>& moves) {
    std::vector<Message> out;
    if (byU) {
        Message u(66);
        u.writeByte(room_);
        u.writeByte(board_);
        u.writeInt(playerId_);
        u.writeByte(0);
        int written = 0;
        for (const auto& meld : seats_[0].laid)
            for (int8_t card : meld)
                if (written++ < 12) u.writeByte(card);
        out.push_back(u);
        Message compensation(69);
        compensation.writeByte(room_);
        compensation.writeByte(board_);
        compensation.writeInt(playerId_);
        compensation.writeInt(0);
        out.push_back(compensation);
    }
    int scores[4] = {};
    for (size_t s = 0; s < 4; ++s) {
        // The player's hand holds what he did not lay; a stub player lays what the scan finds.
        std::vector<int8_t> loose;
        if (s == 0) {
            loose = seats_[0].hand;
        } else {
            for (const auto& card : scanned(seats_[s].hand))
                if (card.tag == 0) loose.push_back(card.id);
        }
        for (int8_t card : loose)
            scores[s] += kavo::phommelds::valueCard(card);
        Message finished(51);
        finished.writeByte(room_);
        finished.writeByte(board_);
        finished.writeInt(seats_[s].id);
        finished.writeInt(scores[s]);
        finished.writeInt(0);
        finished.writeByte(int8_t(loose.size()));
        for (int8_t card : loose)
            finished.writeByte(card);
        out.push_back(finished);
    }
    if (byU) return out;
    size_t winner = 0;
    for (size_t s = 1; s < 4; ++s)
        if (scores[s] < scores[winner]) winner = s;
    for (size_t s = 0; s < 4; ++s) {
        const bool won = s == winner;
        Message bonus(52);
        bonus.writeByte(room_);
        bonus.writeByte(board_);
        bonus.writeInt(seats_[s].id);
        bonus.writeInt(won ? 3 * stake_ : -stake_);
        moves.push_back({seats_[s].id, won ? 3 * stake_ : -stake_});
        bonus.writeUTF(won ? say("Nhất", "First") : say("Thua", "Lost"));
        out.push_back(bonus);
    }
    return out;
}

void StubPhom::endDeal(bool byU) {
    playing_ = false;
    ++generation_;
    logLine(byU ? "the player's U ends the deal" : "every player fired four cards, the deal ends");
    std::vector<SeatMove> moves;
    auto messages = endMessages(byU, moves);
    const uint64_t generation = generation_;
    // After the last fire or lay-off has gone out. The balances move as the messages tell
    // them: a balance told meanwhile (a gift's, a lottery win's) holds no change the client
    // has yet to add.
    later(std::min(pause_, 0.3), [this, generation, messages = std::move(messages), moves = std::move(moves)] {
        {
            std::lock_guard lock(mutex_);
            if (generation != generation_) return;
        }
        for (const auto& move : moves)
            StubLedger::session().moveSeat(move.id, move.amount, "a deal of Phom");
        for (const auto& message : messages) {
            if (&message == &messages.back()) pauseBeforeResultsLastMessage();
            sender_.send(message);
        }
        tellResultSent(sender_, "a deal of Phom");
        std::lock_guard lock(mutex_);
        if (generation == generation_) readyAgain();
    });
}

void StubPhom::later(double seconds, std::function<void()> work) {
    {
        std::lock_guard lock(laterMutex_);
        // In the order they fall due: a turn's clock waits behind the stub players' pauses.
        const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(int64_t(seconds * 1000));
        const auto at = std::upper_bound(laterQueue_.begin(), laterQueue_.end(), due,
                                         [](const auto& time, const auto& entry) { return time < entry.first; });
        laterQueue_.emplace(at, due, std::move(work));
    }
    laterChanged_.notify_all();
}

void StubPhom::runLater() {
    std::unique_lock lock(laterMutex_);
    while (!stopping_) {
        if (laterQueue_.empty()) {
            laterChanged_.wait(lock);
            continue;
        }
        const auto due = laterQueue_.front().first;
        if (due > std::chrono::steady_clock::now()) {
            laterChanged_.wait_until(lock, due);
            continue;
        }
        auto work = std::move(laterQueue_.front().second);
        laterQueue_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

} // namespace portalstub
