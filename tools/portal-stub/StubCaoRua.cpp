#include "tools/portal-stub/StubCaoRua.h"

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
#include <numeric>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr int kPlaces = 6;

void logLine(const std::string& line) {
    platform::log("cao rua table: " + line);
}

// A seat's row: id, name, money, avatar and experience.
void writeSeat(Message& message, int32_t id, const std::string& name, int64_t money, int16_t avatar) {
    message.writeInt(id);
    message.writeUTF(name);
    message.writeLong(money);
    message.writeShort(avatar);
    message.writeInt(3000);
}

// A stub player's row, with his own amount.
void writeGuest(Message& message, int32_t id, const std::string& name) {
    writeSeat(message, id, name, StubLedger::stubPlayerMoney(name), stubPlayerAvatar(id));
}

} // namespace

StubCaoRua::StubCaoRua(StubSender& sender, StubSeating& seating, std::function<CardTableStub::Player()> me,
                       std::function<int()> gameType, CardTableStub& cardTable)
    : sender_(sender), seating_(seating), me_(std::move(me)), gameType_(std::move(gameType)), cardTable_(cardTable),
      shuffle_(std::random_device{}()) {}

std::vector<StubCommand> StubCaoRua::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    return atGame(kGameType, {
                                 boardJoin({8, kEvery, answeredBy(this, &StubCaoRua::onJoin)}),
                                 {20, kEvery, [this](Message&, PortalServer::Reply& reply) { onStart(reply); }},
                                 {21, kEvery, answeredBy(this, &StubCaoRua::onTurn)},
                                 {11, kEvery, answeredBy(this, &StubCaoRua::onKick)},
                                 {103, kEvery, answeredBy(this, &StubCaoRua::onBuzz)},
                             });
}

void StubCaoRua::onTurn(Message& request, PortalServer::Reply& reply) {
    Message echo(21);
    echo.writeByte(request.readByte());
    echo.writeByte(request.readByte());
    echo.writeInt(me_().id);
    bool allUp = true;
    for (int i = 0; i < 3; ++i) {
        const int8_t card = request.readByte();
        allUp = allUp && card != -1;
        echo.writeByte(card);
    }
    logLine("turn echoed");
    reply.send(echo);
    if (!allUp) return;
    uint64_t hand = 0;
    {
        std::lock_guard lock(mutex_);
        hand = hand_;
        if (!personUp_) ++handsUp_;
        personUp_ = true;
    }
    finishIfAllUp(hand);
}

void StubCaoRua::onKick(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const int32_t kicked = request.readInt();
    logLine("kick " + std::to_string(kicked));
    Message answer(11);
    answer.writeByte(room);
    answer.writeByte(board);
    answer.writeInt(kicked);
    reply.send(answer);
    std::lock_guard lock(mutex_);
    auto it = std::find_if(guests_.begin(), guests_.end(), [&](const Seated& g) { return g.id == kicked; });
    if (it == guests_.end()) return;
    // Another stub player takes the emptied place a little later.
    const StubPlayer& newcomer = stubNewcomer(kicks_++);
    seating_.replaced(it->id, newcomer.id);
    it->id = newcomer.id;
    it->name = newcomer.name;
    Message joins(12);
    joins.writeByte(it->place);
    writeGuest(joins, it->id, it->name);
    cardTable_.later(3.0, std::move(joins));
}

void StubCaoRua::onBuzz(Message& request, PortalServer::Reply&) {
    const int32_t target = request.readInt();
    std::lock_guard lock(mutex_);
    for (const auto& guest : guests_) {
        if (guest.id != target) continue;
        logLine("buzz to " + guest.name + ", buzzed back");
        Message back(103);
        back.writeUTF(guest.name);
        back.writeUTF("BUZZ!");
        cardTable_.later(0.5, std::move(back));
    }
}

void StubCaoRua::onJoin(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    logLine("join room " + std::to_string(room) + ", board " + std::to_string(board));
    const CardTableStub::Player me = me_();
    std::vector<Seated> guests = {{4001, "lan", 1}, {4002, "minh", 2}, {4003, "hoa", 4}};
    {
        std::lock_guard lock(mutex_);
        room_ = room;
        board_ = board;
        guests_ = guests;
        dealt_.clear(); // a hand of the table left is over
    }
    std::vector<int32_t> seated = {me.id};
    for (const Seated& guest : guests)
        seated.push_back(guest.id);
    seating_.sat(room, board, seated);
    cardTable_.setStake(stakeOfBoard(board));
    const int32_t stake = cardTable_.stake();
    Message joined(8);
    joined.writeByte(room);
    joined.writeByte(board);
    joined.writeInt(me.id); // the player owns the table
    joined.writeInt(stake);
    for (int8_t place = 0; place < kPlaces; ++place) {
        auto guest = std::find_if(guests.begin(), guests.end(), [&](const Seated& g) { return g.place == place; });
        if (place == 0) {
            writeSeat(joined, me.id, me.name, StubLedger::session().balance(), StubProfile::avatarOf(me.name));
            joined.writeBool(0);
        } else if (guest != guests.end()) {
            writeGuest(joined, guest->id, guest->name);
            joined.writeBool(1);
        } else {
            joined.writeInt(-1);
        }
    }
    reply.send(joined);
    if (board != kPlayingBoard) return;
    // A hand of the stub players is under way: the player watches it end.
    Message playing(62);
    playing.writeByte(room);
    playing.writeByte(board);
    playing.writeInt(stake);
    std::vector<Hand> hands;
    std::vector<int8_t> deck(52);
    std::iota(deck.begin(), deck.end(), int8_t(0));
    {
        std::lock_guard lock(mutex_);
        std::shuffle(deck.begin(), deck.end(), shuffle_);
    }
    size_t next = 0;
    for (const auto& guest : guests) {
        playing.writeInt(guest.id);
        for (int i = 0; i < 3; ++i)
            playing.writeByte(-1);
        hands.push_back({guest.id, {deck[next], deck[next + 1], deck[next + 2]}});
        next += 3;
    }
    reply.send(playing);
    endHandLater(3.0, hands);
}

void StubCaoRua::onStart(PortalServer::Reply& reply) {
    std::vector<int8_t> deck(52);
    std::iota(deck.begin(), deck.end(), int8_t(0));
    std::vector<Seated> guests;
    int8_t room = 0;
    int8_t board = 0;
    {
        std::lock_guard lock(mutex_);
        std::shuffle(deck.begin(), deck.end(), shuffle_);
        guests = guests_;
        room = room_;
        board = board_;
    }
    std::vector<Hand> hands = {{me_().id, {deck[0], deck[1], deck[2]}}};
    for (size_t i = 0; i < guests.size(); ++i)
        hands.push_back({guests[i].id, {deck[3 + 3 * i], deck[4 + 3 * i], deck[5 + 3 * i]}});
    uint64_t hand = 0;
    {
        std::lock_guard lock(mutex_);
        hand = ++hand_;
        dealt_ = hands;
        handsUp_ = 0;
        personUp_ = false;
    }
    logLine("a hand starts");
    const double seconds = handSeconds();
    Message start(20);
    start.writeByte(room);
    start.writeByte(board);
    // The time limit the client counts down: the hand's, in whole seconds.
    start.writeByte(int8_t(std::clamp(std::ceil(seconds), 1.0, 127.0)));
    start.writeInt(cardTable_.stake());
    for (int8_t card : hands[0].cards)
        start.writeByte(card);
    reply.send(start);
    // The stub players turn theirs one a second from the third (sooner in a hand shorter
    // than ten seconds).
    for (size_t i = 1; i < hands.size(); ++i) {
        Message turn(21);
        turn.writeByte(room);
        turn.writeByte(board);
        turn.writeInt(hands[i].id);
        for (int8_t card : hands[i].cards)
            turn.writeByte(card);
        cardTable_.later((2.0 + double(i)) * std::min(1.0, seconds / 10), [this, hand, turn = std::move(turn)] {
            {
                std::lock_guard lock(mutex_);
                if (!handOpen(hand)) return;
                ++handsUp_;
            }
            sender_.send(turn);
            finishIfAllUp(hand);
        });
    }
    // Time is up: the hand ends whoever has not turned his cards.
    cardTable_.later(seconds, [this, hand] { finishHand(hand); });
}

bool StubCaoRua::handOpen(uint64_t hand) const {
    return hand == hand_ && !dealt_.empty();
}

void StubCaoRua::finishIfAllUp(uint64_t hand) {
    bool allUp = false;
    {
        std::lock_guard lock(mutex_);
        allUp = handOpen(hand) && handsUp_ == dealt_.size();
    }
    if (allUp) finishHand(hand);
}

void StubCaoRua::finishHand(uint64_t hand) {
    std::vector<Hand> hands;
    {
        std::lock_guard lock(mutex_);
        if (!handOpen(hand)) return;
        hands.swap(dealt_);
    }
    logLine("the hand ends");
    endHandLater(0.0, hands);
}

double StubCaoRua::handSeconds() {
    const char* pause = std::getenv("KAVO_STUB_CAORUA_PAUSE");
    return pause && *pause ? std::max(0.5, std::atof(pause)) : kHandSeconds;
}

int StubCaoRua::pointsOf(const Hand& hand) {
    int points = 0;
    for (int8_t card : hand.cards) {
        const int rank = card / 4; // 0 the ace .. 12 the king
        points += rank <= 8 ? rank + 1 : 0;
    }
    return points % 10;
}

void StubCaoRua::endHandLater(double seconds, const std::vector<Hand>& hands) {
    int8_t room = 0;
    int8_t board = 0;
    {
        std::lock_guard lock(mutex_);
        room = room_;
        board = board_;
    }
    size_t winner = 0;
    for (size_t i = 1; i < hands.size(); ++i)
        if (pointsOf(hands[i]) > pointsOf(hands[winner])) winner = i;
    for (const auto& hand : hands) {
        Message score(91);
        score.writeInt(hand.id);
        score.writeUTF(std::to_string(pointsOf(hand)) + say(" nút", " points"));
        cardTable_.later(seconds, std::move(score));
    }
    Message reveal(50);
    reveal.writeByte(room);
    reveal.writeByte(board);
    reveal.writeByte(int8_t(hands.size()));
    for (const auto& hand : hands) {
        reveal.writeInt(hand.id);
        for (int8_t card : hand.cards)
            reveal.writeByte(card);
    }
    cardTable_.later(seconds + 0.1, std::move(reveal));
    const int32_t stake = cardTable_.stake();
    const int32_t won = stake * int32_t(hands.size() - 1);
    for (size_t i = 0; i < hands.size(); ++i) {
        const int32_t change = i == winner ? won : -stake;
        Message bonus(52);
        bonus.writeByte(room);
        bonus.writeByte(board);
        bonus.writeInt(hands[i].id);
        bonus.writeInt(change);
        bonus.writeUTF(i == winner ? "+" + groupedAmount(won) : groupedAmount(-stake));
        // The balance moves as its change is told: a balance told meanwhile (a gift's, a
        // lottery win's) holds no change the client has yet to add. The table's thread sends
        // what falls due at one time in the order it was given: the last seat's is last.
        const bool last = i + 1 == hands.size();
        cardTable_.later(seconds + 0.2, [this, id = hands[i].id, change, bonus = std::move(bonus), last] {
            if (last) pauseBeforeResultsLastMessage();
            StubLedger::session().moveSeat(id, change, "a hand of Cao Rua");
            sender_.send(bonus);
            if (last) tellResultSent(sender_, "a hand of Cao Rua");
        });
    }
    const int32_t me = me_().id;
    for (const auto& hand : hands) {
        if (hand.id == me) continue;
        Message ready(16);
        ready.writeInt(hand.id);
        ready.writeBool(1);
        cardTable_.later(seconds + 2.2, std::move(ready));
    }
}

} // namespace portalstub
