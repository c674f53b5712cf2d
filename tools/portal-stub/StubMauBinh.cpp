#include "tools/portal-stub/StubMauBinh.h"

#include "games/maubinh/MauBinhRules.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubResultSent.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <random>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;
namespace rules = kavo::MauBinhRules;

namespace {

constexpr int kGameType = 16;
constexpr int16_t kGame = 47;
constexpr double kShow = 16.0;

void logLine(const std::string& line) {
    platform::log("mau binh: " + line);
}

double showSeconds() {
    const char* pause = std::getenv("KAVO_STUB_MAUBINH_PAUSE");
    return pause && *pause ? std::atof(pause) : kShow;
}

// Whether arrangement `a` beats `b`: the stronger back, then middle, then front.
bool stronger(const std::vector<int>& a, const std::vector<int>& b) {
    for (int chi = 3; chi >= 1; --chi) {
        const int judged = rules::compareWith(rules::handOfChi(a, chi), rules::handOfChi(b, chi));
        if (judged == rules::kFirstStronger) return true;
        if (judged == rules::kSecondStronger) return false;
    }
    return false;
}

// The strongest arrangement with no foul of thirteen cards, front (3), middle (5) and
// back (5). The backs are tried from the strongest down; for the first back (and those
// as strong) every middle of the eight cards left is tried. Thirteen cards always have
// one with no foul (the cards by rank, weakest in front).
std::vector<int> arrange(std::vector<int> cards) {
    std::sort(cards.begin(), cards.end());
    if (cards.size() != 13) return cards;
    const int n = 13;
    std::vector<std::vector<int>> backs;
    for (uint32_t mask = 0; mask < (1u << n); ++mask) {
        if (__builtin_popcount(mask) != 5) continue;
        std::vector<int> back;
        for (int i = 0; i < n; ++i)
            if (mask & (1u << i)) back.push_back(cards[size_t(i)]);
        backs.push_back(std::move(back));
    }
    std::stable_sort(backs.begin(), backs.end(), [](const std::vector<int>& a, const std::vector<int>& b) {
        return rules::compareWith(a, b) == rules::kFirstStronger;
    });
    std::vector<int> best;
    for (const auto& back : backs) {
        if (!best.empty() && rules::compareWith(back, rules::handOfChi(best, 3)) != rules::kEqual) break;
        std::vector<int> rest;
        for (int id : cards)
            if (std::find(back.begin(), back.end(), id) == back.end()) rest.push_back(id);
        for (uint32_t mask = 0; mask < (1u << 8); ++mask) {
            if (__builtin_popcount(mask) != 5) continue;
            std::vector<int> front;
            std::vector<int> middle;
            for (int i = 0; i < 8; ++i)
                (mask & (1u << i) ? middle : front).push_back(rest[size_t(i)]);
            std::vector<int> tried = front;
            tried.insert(tried.end(), middle.begin(), middle.end());
            tried.insert(tried.end(), back.begin(), back.end());
            if (rules::checkBinhLung(tried)) continue;
            if (best.empty() || stronger(tried, best)) best = tried;
        }
    }
    return best.empty() ? cards : best;
}

Message sub(int8_t code) {
    Message message(kGame);
    message.writeByte(code);
    return message;
}

void writeCards(Message& message, const std::vector<int>& cards) {
    for (int id : cards)
        message.writeByte(int8_t(id));
}

} // namespace

StubMauBinh::StubMauBinh(StubSender& sender, CardTableStub& table, std::function<CardTableStub::Player()> me,
                         std::function<int()> gameType)
    : sender_(sender), table_(table), me_(std::move(me)), gameType_(std::move(gameType)) {
    if (const char* time = std::getenv("KAVO_STUB_MAUBINH_TIME"); time && std::atoi(time) > 0)
        limit_ = int8_t(std::min(std::atoi(time), 127));
}

// Its start, and each sub of its game command (47, after the room and the board) a row of
// its own: the time chosen (10), the hand sorted by rank (23) or by suit (24), arranged by
// the stub (25), and the arrangement finished (30).
std::vector<StubCommand> StubMauBinh::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto start = [this](Message& request, PortalServer::Reply& reply) {
        const int8_t room = request.readByte();
        const int8_t board = request.readByte();
        deal(room, board, reply);
    };
    const auto bySuit = [](int a, int b) { return a % 4 != b % 4 ? a % 4 < b % 4 : a < b; };
    return atGame(kGameType, {{20, kEvery, start},
                              {kGame, 10, answeredBy(this, &StubMauBinh::onTimeChosen)},
                              sorted(23, "sort by rank", std::less<int>()),
                              sorted(24, "sort by suit", bySuit),
                              {kGame, 25, answeredBy(this, &StubMauBinh::onArrange)},
                              {kGame, 30, answeredBy(this, &StubMauBinh::onFinish)}});
}

std::vector<int> StubMauBinh::myCards() {
    std::lock_guard lock(mutex_);
    return seats_.empty() ? std::vector<int>() : seats_.front().cards;
}

// The time a hand may take to arrange: 120, 90 or 60 seconds by the choice.
void StubMauBinh::onTimeChosen(Message& request, PortalServer::Reply& reply) {
    request.readShort(); // room, board
    const int8_t choice = request.readByte();
    logLine("time choice " + std::to_string(choice));
    const int8_t seconds = choice == 0 ? 120 : choice == 1 ? 90 : 60;
    {
        std::lock_guard lock(mutex_);
        limit_ = seconds;
    }
    Message answer = sub(10);
    answer.writeByte(seconds);
    reply.send(answer);
}

// The row of `code` that answers the player's thirteen cards sorted `in` that order.
StubCommand StubMauBinh::sorted(int8_t code, const char* what, std::function<bool(int, int)> in) {
    return {kGame, code, [this, code, what, in](Message&, PortalServer::Reply& reply) {
                std::vector<int> mine = myCards();
                if (mine.size() != 13) return;
                std::stable_sort(mine.begin(), mine.end(), in);
                logLine(what);
                Message answer = sub(code);
                writeCards(answer, mine);
                reply.send(answer);
            }};
}

void StubMauBinh::onArrange(Message&, PortalServer::Reply& reply) {
    const std::vector<int> mine = myCards();
    if (mine.size() != 13) return;
    logLine("auto arrange");
    Message answer = sub(25);
    writeCards(answer, arrange(mine));
    reply.send(answer);
}

void StubMauBinh::onFinish(Message& request, PortalServer::Reply&) {
    request.readShort(); // room, board
    std::vector<int> arrangement;
    while (request.available())
        arrangement.push_back(request.readByte());
    finish(arrangement);
}

void StubMauBinh::deal(int8_t room, int8_t board, PortalServer::Reply& reply) {
    const int32_t me = me_().id;
    std::vector<int> deck(52);
    std::iota(deck.begin(), deck.end(), 0);
    std::vector<Seat> seats;
    unsigned seed = 0;
    {
        std::lock_guard lock(mutex_);
        seed = ++deals_;
    }
    std::shuffle(deck.begin(), deck.end(), std::mt19937(seed));
    int next = 0;
    // The hand goes to those the join seated: a board created for two deals to one stub player.
    std::vector<int32_t> players = {me, kGuests[0]};
    if (table_.guestsSeated() >= 2) players.push_back(kGuests[1]);
    for (int32_t id : players) {
        Seat seat;
        seat.id = id;
        seat.cards.assign(deck.begin() + next, deck.begin() + next + 13);
        next += 13;
        seats.push_back(seat);
    }
    const bool special = std::getenv("KAVO_STUB_MAUBINH_SPECIAL") != nullptr;
    int8_t limit = 0;
    {
        std::lock_guard lock(mutex_);
        seats_ = seats;
        room_ = room;
        board_ = board;
        limit = limit_;
    }
    logLine("deal " + std::to_string(seed) + (special ? " with a special hand" : ""));
    Message start = sub(20);
    start.writeByte(room);
    start.writeByte(board);
    start.writeByte(limit);
    writeCards(start, seats.front().cards);
    start.writeByte(special ? 2 : -1);
    reply.send(start);
    // The stub players arrange at once.
    for (size_t i = 1; i < seats.size(); ++i) {
        Message done = sub(30);
        done.writeInt(seats[i].id);
        table_.later(0.5, std::move(done));
    }
    // A special hand is not arranged: the person's hand is judged as dealt.
    if (special) {
        finish(seats.front().cards);
        return;
    }
    // When the time runs out before the person finishes, his cards are arranged for him.
    table_.later(double(limit), [this, seed] {
        std::vector<int> mine;
        {
            std::lock_guard lock(mutex_);
            if (seed != deals_ || seats_.empty()) return;
            mine = seats_.front().cards;
        }
        logLine("the time is up: the person's cards are arranged for him");
        finish(arrange(mine));
    });
}

void StubMauBinh::finish(const std::vector<int>& arrangement) {
    std::vector<Seat> seats;
    int32_t stake = 0;
    {
        std::lock_guard lock(mutex_);
        if (seats_.empty() || arrangement.size() != 13) {
            logLine("a finish with no hand dealt or not 13 cards: not answered");
            return;
        }
        seats = seats_;
        stake = table_.stake();
        seats_.clear();
    }
    const bool special = std::getenv("KAVO_STUB_MAUBINH_SPECIAL") != nullptr;
    seats.front().cards = arrangement;
    for (size_t i = 1; i < seats.size(); ++i)
        seats[i].cards = arrange(seats[i].cards);
    Message done = sub(30);
    done.writeInt(seats.front().id);
    table_.later(0.0, std::move(done));

    // Each opponent's hands against mine, from my side: +1 I win, -1 I lose.
    const auto& mine = seats.front().cards;
    std::vector<std::array<int, 3>> versusMe(seats.size(), {0, 0, 0});
    std::vector<int> totals(seats.size(), 0);
    for (size_t i = 1; i < seats.size(); ++i) {
        for (int chi = 1; chi <= 3; ++chi) {
            const int judged =
                special ? rules::kFirstStronger
                        : rules::compareWith(rules::handOfChi(mine, chi), rules::handOfChi(seats[i].cards, chi));
            const int mineWins = judged == rules::kFirstStronger ? 1 : judged == rules::kSecondStronger ? -1 : 0;
            versusMe[i][size_t(chi - 1)] = mineWins;
            totals[0] += mineWins;
            totals[i] -= mineWins;
        }
    }
    // The stub players' hands against each other count for them only.
    for (size_t i = 1; i < seats.size(); ++i)
        for (size_t j = i + 1; j < seats.size(); ++j)
            for (int chi = 1; chi <= 3; ++chi) {
                const int judged =
                    rules::compareWith(rules::handOfChi(seats[i].cards, chi), rules::handOfChi(seats[j].cards, chi));
                const int iWins = judged == rules::kFirstStronger ? 1 : judged == rules::kSecondStronger ? -1 : 0;
                totals[i] += iWins;
                totals[j] -= iWins;
            }
    Message result = sub(40);
    result.writeInt(seats.front().id);
    result.writeInt(totals[0] * stake);
    result.writeInt(totals[0]);
    result.writeByte(special ? 2 : -1);
    for (size_t i = 1; i < seats.size(); ++i) {
        result.writeInt(seats[i].id);
        result.writeInt(totals[i] * stake);
        result.writeInt(totals[i]);
        writeCards(result, seats[i].cards);
        result.writeByte(-1);
        result.writeByte(0);
        for (int value : versusMe[i])
            result.writeByte(int8_t(value));
        result.writeByte(0);
        result.writeByte(0);
    }
    logLine("result: my chi " + std::to_string(totals[0]));
    // The balances move as the result tells them: a balance told meanwhile (a gift's, a
    // lottery win's) holds no change the client has yet to add.
    table_.later(0.5, [this, seats, totals, stake, result = std::move(result)] {
        for (size_t i = 0; i < seats.size(); ++i)
            StubLedger::session().moveSeat(seats[i].id, int64_t(totals[i]) * stake, "a hand of Mau Binh");
        sendResultsLastMessage(sender_, result, "a hand of Mau Binh");
    });
    table_.later(0.5 + showSeconds(), sub(50));
    // The stub players are ready for the next hand a little after the show.
    for (size_t i = 1; i < seats.size(); ++i) {
        Message ready(16);
        ready.writeInt(seats[i].id);
        ready.writeBool(1);
        table_.later(2.5 + showSeconds(), std::move(ready));
    }
}

} // namespace portalstub
