#include "tools/portal-stub/StubCoTuong.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubBoards.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubResultSent.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>
#include <cstdlib>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// Sub-ids of command 77.
constexpr int8_t kSubStart = 15;
constexpr int8_t kSubMove = 25;
constexpr int8_t kSubUndo = 26;
constexpr int8_t kSubUndoMade = 27;
constexpr int8_t kSubDraw = 30;
constexpr int8_t kSubDrawRefused = 31;
constexpr int8_t kSubLose = 35;
constexpr int8_t kSubResult = 40;
constexpr int8_t kSubStopped = 50;

} // namespace

StubCoTuong::StubCoTuong(StubSender& sender, StubSeating& seating) : StubCoTuong(sender, seating, kGameType, 77) {}

StubCoTuong::StubCoTuong(StubSender& sender, StubSeating& seating, int8_t gameType, int16_t gameCommand)
    : sender_(sender), seating_(seating), tableType_(gameType), gameCommand_(gameCommand),
      laterThread_([this] { runLater(); }) {}

Message StubCoTuong::gameMessage(int8_t sub) const {
    Message message(gameCommand_);
    message.writeByte(sub);
    return message;
}

StubCoTuong::~StubCoTuong() {
    {
        std::lock_guard lock(laterMutex_);
        stopping_ = true;
    }
    laterChanged_.notify_all();
    laterThread_.join();
}

void StubCoTuong::setPlayer(int32_t id, const std::string& name) {
    std::lock_guard lock(mutex_);
    playerId_ = id;
    playerName_ = name;
}

// Its rows at its game: the joins, the start and each sub of its game command a row of its
// own (a move, an undo where moves are taken back, a draw offer, a resignation, and what a
// table adds), answered while a game is played.
std::vector<StubCommand> StubCoTuong::commands(std::function<int()> gameType) {
    gameType_ = std::move(gameType);
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto join = [this](Message& request, PortalServer::Reply& reply) { onJoin(request, reply); };
    std::vector<StubCommand> rows = {
        boardJoin({8, kEvery, join}),
        boardJoin({1900, kEvery, join}),
        {20, kEvery, [this](Message&, PortalServer::Reply& reply) { onStart(reply); }},
        whilePlaying(kSubMove, [this](Message& request, PortalServer::Reply&) { onMove(request); }),
        whilePlaying(kSubDraw,
                     [this](Message&, PortalServer::Reply& reply) { reply.send(gameMessage(kSubDrawRefused)); }),
        whilePlaying(kSubLose, [this](Message&, PortalServer::Reply&) { endGame(kStubPlayerId); }),
    };
    if (takesMovesBack())
        rows.push_back(
            whilePlaying(kSubUndo, [this](Message& request, PortalServer::Reply& reply) { onUndo(request, reply); }));
    for (StubCommand& row : moreRows())
        rows.push_back(std::move(row));
    return atGame(tableType_, std::move(rows));
}

StubCommand StubCoTuong::whilePlaying(int8_t sub, std::function<void(Message&, PortalServer::Reply&)> answer) {
    return {gameCommand_, sub, [this, answer](Message& request, PortalServer::Reply& reply) {
                if (gameType_() != tableType_) return;
                request.readShort(); // room, board
                std::lock_guard lock(mutex_);
                if (playing_) answer(request, reply);
            }};
}

bool StubCoTuong::onJoin(Message& request, PortalServer::Reply& reply) {
    if (!gameType_ || gameType_() != tableType_) return false;
    std::lock_guard lock(mutex_);
    room_ = request.readByte();
    board_ = request.readByte();
    stake_ = stakeOfBoard(board_);
    playing_ = false;
    ++generation_;
    platform::log("Chinese chess table: room " + std::to_string(room_) + ", board " + std::to_string(board_));
    Message joined(8);
    joined.writeByte(room_);
    joined.writeByte(board_);
    joined.writeInt(playerId_);
    joined.writeInt(stake_);
    joined.writeInt(playerId_);
    joined.writeUTF(playerName_);
    joined.writeLong(StubLedger::session().balance());
    joined.writeShort(StubProfile::avatarOf(playerName_));
    joined.writeInt(2500);
    joined.writeBool(0);
    joined.writeInt(kStubPlayerId);
    joined.writeUTF(kStubPlayerName);
    joined.writeLong(StubLedger::stubPlayerMoney(kStubPlayerName));
    joined.writeShort(stubPlayerAvatar(kStubPlayerId));
    joined.writeInt(1200);
    joined.writeBool(0);
    seating_.sat(room_, board_, {playerId_, kStubPlayerId});
    reply.send(joined);
    Message ready(16);
    ready.writeInt(kStubPlayerId);
    ready.writeBool(1);
    reply.send(ready);
    return true;
}

void StubCoTuong::onStart(PortalServer::Reply& reply) {
    std::lock_guard lock(mutex_);
    playerIsBlack_ = games_ % 2 == 0;
    ++games_;
    blackId_ = playerIsBlack_ ? playerId_ : kStubPlayerId;
    turn_ = blackId_;
    playing_ = true;
    ++generation_;
    history_.clear();
    // KAVO_STUB_CHESS_QUOTA sets another quota (whole seconds), so that a time-out
    // can be tried.
    int32_t quota = kQuota;
    if (const char* seconds = std::getenv("KAVO_STUB_CHESS_QUOTA"); seconds && std::atoi(seconds) > 0)
        quota = std::atoi(seconds);
    playerLeft_ = int64_t(quota) * 1000;
    stubLeft_ = int64_t(quota) * 1000;
    turnBegan_ = std::chrono::steady_clock::now();
    // Red from the bottom rows, black from the top.
    position_ = kavo::CoTuongPosition::opening(kRed, kBlack);
    onNewGame();
    Message start = gameMessage(kSubStart);
    start.writeByte(room_);
    start.writeByte(board_);
    start.writeInt(kInterval);
    start.writeInt(blackId_);
    start.writeInt(quota);
    start.writeInt(quota);
    reply.send(start);
    startClock();
    if (!playerIsBlack_) later(1.0, [this] { stubMove(); });
}

void StubCoTuong::onMove(Message& request) {
    const int xs = request.readByte();
    const int ys = request.readByte();
    const int xd = request.readByte();
    const int yd = request.readByte();
    onPlayerMove(toClientX(xs), toClientY(ys), toClientX(xd), toClientY(yd));
}

// The last two moves taken back (the player's and the stub's answer).
void StubCoTuong::onUndo(Message& request, PortalServer::Reply& reply) {
    if (request.readByte() != 0 || history_.empty()) return;
    Message undone = gameMessage(kSubUndoMade);
    const size_t count = std::min<size_t>(2, history_.size());
    const int32_t next = history_[history_.size() - count].mover;
    undone.writeInt(next);
    for (size_t i = 0; i < count; ++i) {
        const Played last = history_.back();
        history_.pop_back();
        position_.move(last.xd, last.yd, last.xs, last.ys);
        if (last.captured) position_.add(*last.captured);
        undone.writeByte(int8_t(toClientX(last.xd)));
        undone.writeByte(int8_t(toClientY(last.yd)));
        undone.writeByte(int8_t(toClientX(last.xs)));
        undone.writeByte(int8_t(toClientY(last.ys)));
        undone.writeByte(last.captured ? int8_t(last.captured->kind) : int8_t(-1));
    }
    turn_ = next;
    ++generation_;
    reply.send(undone);
    startClock();
    if (turn_ == kStubPlayerId) later(1.0, [this] { stubMove(); });
}

void StubCoTuong::onPlayerMove(int xs, int ys, int xd, int yd) {
    const kavo::RuleUnit* piece = position_.unitAt(xs, ys);
    if (turn_ != playerId_ || !piece || piece->team != teamOf(playerId_) ||
        !kavo::CoTuongRules::isMoveAllowed(*piece, xd, yd, position_)) {
        platform::log("Chinese chess: a move the rules do not allow, dropped");
        return;
    }
    play(playerId_, xs, ys, xd, yd);
    if (playing_) later(1.0, [this] { stubMove(); });
}

void StubCoTuong::stubMove() {
    if (!playing_ || turn_ != kStubPlayerId) return;
    const auto moves = position_.allowedMoves(teamOf(kStubPlayerId));
    if (moves.empty()) return;
    auto chosen = std::find_if(moves.begin(), moves.end(), [](const auto& m) { return m.captures; });
    if (chosen == moves.end()) chosen = moves.begin();
    play(kStubPlayerId, chosen->xs, chosen->ys, chosen->xd, chosen->yd);
}

Message StubCoTuong::moveMessage(int32_t mover, int xs, int ys, int xd, int yd, int32_t next, int8_t newType,
                                 int32_t secondsLeft) const {
    Message moved = gameMessage(kSubMove);
    moved.writeInt(mover);
    moved.writeByte(int8_t(toClientX(xs)));
    moved.writeByte(int8_t(toClientY(ys)));
    moved.writeByte(int8_t(toClientX(xd)));
    moved.writeByte(int8_t(toClientY(yd)));
    moved.writeInt(secondsLeft);
    moved.writeInt(next);
    moved.writeByte(newType);
    return moved;
}

int32_t StubCoTuong::chargeClock(int32_t mover) {
    const auto now = std::chrono::steady_clock::now();
    const int64_t used = std::chrono::duration_cast<std::chrono::milliseconds>(now - turnBegan_).count();
    turnBegan_ = now;
    int64_t& left = mover == playerId_ ? playerLeft_ : stubLeft_;
    left = std::max<int64_t>(0, left - used);
    // Whole seconds, rounded up: a clock shows 0 only when nothing is left.
    return int32_t((left + 999) / 1000);
}

void StubCoTuong::play(int32_t mover, int xs, int ys, int xd, int yd) {
    const int32_t secondsLeft = chargeClock(mover);
    if (secondsLeft == 0) {
        platform::log("Chinese chess: the mover's time ran out");
        endGame(mover == playerId_ ? kStubPlayerId : playerId_);
        return;
    }
    const auto captured = position_.move(xs, ys, xd, yd);
    const int8_t newType = onPieceMoved(xs, ys, xd, yd, captured);
    history_.push_back({xs, ys, xd, yd, mover, captured});
    const int32_t next = mover == playerId_ ? kStubPlayerId : playerId_;
    turn_ = next;
    ++generation_;
    sender_.send(moveMessage(mover, xs, ys, xd, yd, next, newType, secondsLeft));
    if (captured && captured->kind == kavo::PieceKind::Jiang)
        endGame(mover);
    else
        startClock();
}

void StubCoTuong::startClock() {
    const int64_t left = turn_ == playerId_ ? playerLeft_ : stubLeft_;
    later(double(left) / 1000, [this] {
        if (!playing_) return;
        const int32_t mover = turn_;
        if (chargeClock(mover) > 0) {
            startClock(); // woken a little early: the rest of the time
            return;
        }
        platform::log("Chinese chess: the time of the side to move ran out");
        endGame(mover == playerId_ ? kStubPlayerId : playerId_);
    });
}

void StubCoTuong::endGame(int32_t winner) {
    playing_ = false;
    turn_ = -1;
    ++generation_;
    Message result = gameMessage(kSubResult);
    for (int32_t id : {playerId_, kStubPlayerId}) {
        StubLedger::session().moveSeat(id, id == winner ? stake_ : -stake_, "a chess game");
        result.writeInt(id);
        result.writeByte(id == winner ? 1 : -1);
        result.writeInt(id == winner ? stake_ : -stake_);
    }
    sender_.send(result);
    sender_.send(gameMessage(kSubStopped));
    sendResultsLastMessage(sender_, StubLedger::session().balanceReply(), "a game of chess");
    later(2.0, [this] {
        Message ready(16);
        ready.writeInt(kStubPlayerId);
        ready.writeBool(1);
        sender_.send(ready);
    });
}

void StubCoTuong::later(double seconds, std::function<void()> work) {
    const uint64_t position = generation_;
    auto guarded = [this, position, work = std::move(work)] {
        std::lock_guard lock(mutex_);
        if (generation_ == position) work();
    };
    {
        std::lock_guard lock(laterMutex_);
        const auto due =
            std::chrono::steady_clock::now() +
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
        // In the order they fall due: a turn's clock waits behind the stub player's answers.
        const auto at = std::upper_bound(laterQueue_.begin(), laterQueue_.end(), due,
                                         [](const auto& time, const auto& entry) { return time < entry.first; });
        laterQueue_.emplace(at, due, std::function<void()>(std::move(guarded)));
    }
    laterChanged_.notify_all();
}

void StubCoTuong::runLater() {
    std::unique_lock lock(laterMutex_);
    while (!stopping_) {
        if (laterQueue_.empty()) {
            laterChanged_.wait(lock);
            continue;
        }
        const auto due = laterQueue_.front().first;
        if (laterChanged_.wait_until(lock, due) == std::cv_status::no_timeout && !stopping_) continue;
        if (stopping_) break;
        if (std::chrono::steady_clock::now() < laterQueue_.front().first) continue;
        auto work = std::move(laterQueue_.front().second);
        laterQueue_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

} // namespace portalstub
