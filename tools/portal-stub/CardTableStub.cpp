#include "tools/portal-stub/CardTableStub.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubBoards.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubResultSent.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr int32_t kGuestA = 4001;
constexpr int32_t kGuestB = 4002;
constexpr const char* kReplies[] = {"ok", "hi!", "nhanh lên", "good luck"};

bool isCardTable(int gameType) {
    return gameType == 3 || gameType == 12 || gameType == 2 || gameType == 11 || gameType == 16;
}

void logLine(const std::string& line) {
    platform::log("card table: " + line);
}

} // namespace

CardTableStub::CardTableStub(StubSender& sender, StubSeating& seating, std::function<Player()> me,
                             std::function<int()> gameType)
    : sender_(sender), seating_(seating), me_(std::move(me)), gameType_(std::move(gameType)),
      tienLen_([this](const Message& message) { sender_.send(message); },
               [this](double seconds, std::function<void()> action) { later(seconds, std::move(action)); },
               [this] { tellResultSent(sender_, gameType_() == 12 ? "a game of Tien Len MB" : "a game of Tien Len"); }),
      worker_([this] { run(); }) {}

CardTableStub::~CardTableStub() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void CardTableStub::later(double seconds, Message message) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(int64_t(seconds * 1000)),
                            std::move(message),
                            {}});
    }
    wake_.notify_all();
}

void CardTableStub::later(double seconds, std::function<void()> action) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(int64_t(seconds * 1000)),
                            Message(), std::move(action)});
    }
    wake_.notify_all();
}

int32_t CardTableStub::stake() {
    std::lock_guard lock(mutex_);
    return stake_;
}

void CardTableStub::setStake(int32_t stake) {
    std::lock_guard lock(mutex_);
    stake_ = stake;
}

int CardTableStub::guestsSeated() {
    std::lock_guard lock(mutex_);
    return guests_;
}

std::vector<int32_t> CardTableStub::places() {
    std::lock_guard lock(mutex_);
    return places_;
}

void CardTableStub::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            wake_.wait(lock);
            continue;
        }
        auto first = std::min_element(pending_.begin(), pending_.end(),
                                      [](const Pending& a, const Pending& b) { return a.at < b.at; });
        // A copy: the wait lets go of the lock and a new answer may move the list.
        const auto due = first->at;
        if (due > std::chrono::steady_clock::now()) {
            wake_.wait_until(lock, due);
            continue;
        }
        Message message = std::move(first->message);
        std::function<void()> action = std::move(first->action);
        pending_.erase(first);
        lock.unlock();
        if (action)
            action();
        else
            sender_.send(message);
        lock.lock();
    }
}

Message CardTableStub::stubPlayerEntry(int32_t id, const std::string& name) {
    Message entry;
    entry.writeInt(id);
    entry.writeUTF(name);
    entry.writeLong(StubLedger::stubPlayerMoney(name));
    entry.writeShort(stubPlayerAvatar(id));
    entry.writeInt(3000);
    return entry;
}

// Its join at the card games; ready, stake, seats, kick, chat and leave at every game
// that has no answer of its own; the play of the games whose rules it deals.
std::vector<StubCommand> CardTableStub::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    std::vector<StubCommand> rows =
        atGames({3, 12, 2, 11, 16}, {boardJoin({8, kEvery, answeredBy(this, &CardTableStub::onJoin)})});
    for (StubCommand& row : std::vector<StubCommand>{
             {16, kEvery, answeredBy(this, &CardTableStub::onReady)},
             {19, kEvery, answeredBy(this, &CardTableStub::onStake)},
             {56, kEvery, onSeats},
             {11, kEvery, answeredBy(this, &CardTableStub::onKick)},
             {9, kEvery, answeredBy(this, &CardTableStub::onChat)},
             {15, kEvery, answeredBy(this, &CardTableStub::onLeave)},
         })
        rows.push_back(std::move(row));
    for (StubCommand& row : playCommands())
        rows.push_back(std::move(row));
    return rows;
}

void CardTableStub::onJoin(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const std::string password = request.readUTF();
    logLine("join room " + std::to_string(room) + ", board " + std::to_string(board) + ", password \"" + password +
            "\"");
    if (!isCardTable(gameType_())) return;
    {
        std::lock_guard lock(mutex_);
        room_ = room;
        board_ = board;
        stake_ = stakeOfBoard(board);
        pending_.clear();
    }
    tienLen_.reset();
    const Player me = me_();
    // A board created for fewer players leaves the later places empty.
    const int guests = std::min(2, playersAtBoard(board, 4) - 1);
    {
        std::lock_guard lock(mutex_);
        places_ = {me.id, guests >= 1 ? kGuestA : -1, guests >= 2 ? kGuestB : -1, -1};
        guests_ = guests;
    }
    std::vector<int32_t> atTable;
    for (const int32_t id : places())
        if (id != -1) atTable.push_back(id);
    seating_.sat(room, board, atTable);
    Message joined(8);
    joined.writeByte(room);
    joined.writeByte(board);
    joined.writeInt(me.id); // the player owns the table
    joined.writeInt(stakeOfBoard(board));
    joined.writeInt(me.id);
    joined.writeUTF(me.name);
    joined.writeLong(StubLedger::session().balance());
    joined.writeShort(StubProfile::avatarOf(me.name));
    joined.writeInt(2500);
    joined.writeBool(0);
    const std::pair<int32_t, const char*> seated[] = {{kGuestA, "lan"}, {kGuestB, "minh"}};
    for (int place = 1; place <= 3; ++place) {
        if (place > guests) {
            joined.writeInt(-1);
            continue;
        }
        joined.writeData(stubPlayerEntry(seated[place - 1].first, seated[place - 1].second).data());
        joined.writeBool(0);
    }
    reply.send(joined);
    for (int place = 1; place <= guests; ++place) {
        const int32_t guest = seated[place - 1].first;
        Message ready(16);
        ready.writeInt(guest);
        ready.writeBool(1);
        later(1.0, std::move(ready));
    }
}

void CardTableStub::onReady(Message& request, PortalServer::Reply& reply) {
    request.readByte();
    request.readByte();
    const bool ready = request.readBool();
    logLine(std::string("ready ") + (ready ? "yes" : "no"));
    Message answer(16);
    answer.writeInt(me_().id);
    answer.writeBool(ready ? 1 : 0);
    reply.send(answer);
}

void CardTableStub::onStake(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const int32_t stake = request.readInt();
    logLine("stake " + std::to_string(stake));
    // Each result multiplies the stake: one out of range is refused, the table keeps its own.
    if (const std::string refusal = stakeRefusal(stake); !refusal.empty()) {
        Message refused(45);
        refused.writeByte(0);
        refused.writeUTF(refusal);
        reply.send(refused);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stake_ = stake;
    }
    Message answer(19);
    answer.writeByte(room);
    answer.writeByte(board);
    answer.writeInt(stake);
    reply.send(answer);
}

void CardTableStub::onSeats(Message& request, PortalServer::Reply&) {
    request.readByte();
    request.readByte();
    logLine("seats " + std::to_string(request.readByte()));
}

void CardTableStub::onKick(Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const int32_t kicked = request.readInt();
    logLine("kick " + std::to_string(kicked));
    Message answer(11);
    answer.writeByte(room);
    answer.writeByte(board);
    answer.writeInt(kicked);
    reply.send(answer);
    const StubPlayer* guest = nullptr;
    {
        std::lock_guard lock(mutex_);
        guest = &stubNewcomer(kicks_++);
        for (auto& place : places_)
            if (place == kicked) place = guest->id;
    }
    seating_.replaced(kicked, guest->id);
    // Another stub player takes the emptied place a little later.
    Message joins(12);
    joins.writeByte(kicked == kGuestA ? 1 : 2);
    joins.writeData(stubPlayerEntry(guest->id, guest->name).data());
    later(3.0, std::move(joins));
}

void CardTableStub::onChat(Message& request, PortalServer::Reply&) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const std::string line = request.readUTF();
    logLine("chat \"" + line + "\"");
    Message answer(9);
    answer.writeByte(room);
    answer.writeByte(board);
    answer.writeInt(kGuestA);
    answer.writeUTF(kReplies[line.size() % std::size(kReplies)]);
    later(0.5, std::move(answer));
}

void CardTableStub::onLeave(Message&, PortalServer::Reply&) {
    logLine("leave: the table ends");
    seating_.left();
    tienLen_.reset();
    std::lock_guard lock(mutex_);
    pending_.clear();
}

std::vector<StubCommand> CardTableStub::playCommands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto start = [this](Message& request, PortalServer::Reply&) {
        const StubCardRules* rules = stubCardRulesOf(gameType_());
        if (!rules) return;
        const int8_t room = request.readByte();
        const int8_t board = request.readByte();
        logLine("start");
        tienLen_.start(*rules, room, board, places(), me_().id, stake());
    };
    const auto play = [this](Message& request, PortalServer::Reply&) {
        request.readByte();
        request.readByte();
        const int count = uint8_t(request.readByte());
        std::vector<int8_t> cards;
        for (int i = 0; i < count && request.available(); ++i)
            cards.push_back(request.readByte());
        tienLen_.play(me_().id, cards);
    };
    return atGames({3, 12}, {
                                {20, kEvery, start},
                                {21, kEvery, play},
                                {49, kEvery, [this](Message&, PortalServer::Reply&) { tienLen_.skip(me_().id); }},
                                {53, kEvery, [this](Message&, PortalServer::Reply&) { tienLen_.claim(me_().id); }},
                            });
}

} // namespace portalstub
