#include "tools/portal-stub/StubLottery.h"

#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubRecords.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <chrono>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// The draws the history lists, newest first.
constexpr int32_t kHistoryDraws = 5;

} // namespace

StubLottery::StubLottery(StubSender& sender, int drawSeconds)
    : sender_(sender), periodMs_(int64_t(std::max(1, drawSeconds)) * 1000) {
    drawer_ = std::thread([this] { drawLoop(); });
}

StubLottery::~StubLottery() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    drawer_.join();
}

int32_t StubLottery::winningOf(int32_t draw) {
    return int32_t((int64_t(draw) * 37 + 11) % 100);
}

int32_t StubLottery::openDraw() const {
    const int64_t elapsed = std::max<int64_t>(0, steadyMilliseconds() - StubStore::session().startedAt());
    return int32_t(kDrawsBefore + 1 + elapsed / periodMs_);
}

int64_t StubLottery::millisecondsLeft() const {
    const int64_t elapsed = std::max<int64_t>(0, steadyMilliseconds() - StubStore::session().startedAt());
    return periodMs_ - elapsed % periodMs_;
}

std::vector<StubCommand> StubLottery::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    return {
        {1400, kEvery, answeredBy(this, &StubLottery::onTimeLeft)},
        {1401, kEvery, answeredBy(this, &StubLottery::onDraws)},
        {1402, kEvery, answeredBy(this, &StubLottery::onTickets)},
        movesMoney({1403, kEvery, answeredBy(this, &StubLottery::onTicket)}),
    };
}

void StubLottery::onTimeLeft(Message&, PortalServer::Reply& reply) {
    Message left(1400);
    left.writeInt(int32_t((millisecondsLeft() + 999) / 1000));
    reply.send(left);
}

void StubLottery::onDraws(Message&, PortalServer::Reply& reply) {
    Message history(1401);
    for (int32_t draw = openDraw() - 1; draw >= 1 && draw >= openDraw() - kHistoryDraws; --draw) {
        history.writeInt(winningOf(draw));
        history.writeUTF(say("Kỳ ", "Draw ") + std::to_string(draw));
    }
    reply.send(history);
}

void StubLottery::onTickets(Message&, PortalServer::Reply& reply) {
    const int32_t open = openDraw();
    Message mine(1402);
    for (const auto& ticket : StubRecords::tickets(StubLedger::session().player())) {
        mine.writeInt(ticket.number);
        mine.writeInt(ticket.stake);
        mine.writeBool(ticket.draw < open);
    }
    reply.send(mine);
}

void StubLottery::onTicket(Message& request, PortalServer::Reply& reply) {
    const int32_t number = request.readInt();
    const int32_t stake = request.readInt();
    const bool numbered = number >= 0 && number < 100;
    const std::string person = StubLedger::session().player();
    // The ticket and its payment are one step: a ticket the balance does not cover
    // is not kept, and a balance is never spent twice.
    auto bought = StubStore::Outcome::Undone;
    if (numbered && stake > 0)
        bought = StubStore::session().attempt([&](platform::SqliteDatabase& db) {
            const HistoryEntry ticket = HistoryEntry::lotteryTicket(number);
            if (!StubLedger::session().spendIn(db, stake, ticket.logged())) return false;
            StubRecords::addTicket(db, person, {openDraw(), number, stake});
            StubRecords::addHistory(db, person, ticket, -stake);
            return true;
        });
    const bool ok = bought == StubStore::Outcome::Kept;
    std::string told = say("Số phải từ 00 đến 99", "The number must be from 00 to 99");
    if (ok)
        told = say("Đã mua số ", "Bought number ") + std::to_string(number);
    else if (bought == StubStore::Outcome::Failed)
        told = StubLedger::tryAgainLater();
    else if (numbered && stake <= 0)
        told = StubLedger::noAmount();
    else if (numbered)
        told = say("Không đủ tiền", "Not enough money");
    Message answer(1403);
    answer.writeBool(ok);
    answer.writeInt(stake);
    answer.writeUTF(told);
    reply.send(answer);
    if (ok) reply.send(StubLedger::session().balanceReply());
}

void StubLottery::signedIn() {
    settle();
}

void StubLottery::settle() {
    const std::string person = StubLedger::session().player();
    if (person.empty()) return;
    std::vector<StubRecords::Result> results;
    int64_t won = 0;
    const bool settled = StubStore::session().transaction([&](platform::SqliteDatabase& db) {
        results = StubRecords::settle(db, person, openDraw(), winningOf);
        won = 0;
        for (const auto& result : results)
            won += result.won;
        if (won == 0) return true;
        const HistoryEntry win = HistoryEntry::lotteryWin();
        if (!StubLedger::session().winIn(db, won, win.logged())) return false;
        StubRecords::addHistory(db, person, win, won);
        return true;
    });
    // A settlement not kept is made again with the next draw or sign-in: nothing is told yet.
    if (!settled) return;
    for (const auto& result : results) {
        Message told(1404);
        told.writeInt(result.winning);
        told.writeUTF(say("Số trúng: ", "Winning number: ") + std::to_string(result.winning) +
                      (result.won > 0 ? " +" + groupedAmount(result.won) + " Zel"
                                      : say(", vé của bạn không trúng", ", your ticket did not win")));
        sender_.send(told);
    }
    if (won > 0) sender_.send(StubLedger::session().balanceReply());
}

void StubLottery::drawLoop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        // A little past the draw's moment, so that the draw is made when this wakes.
        const auto wait = std::chrono::milliseconds(millisecondsLeft() + 50);
        if (stopped_.wait_for(lock, wait, [this] { return stopping_; })) return;
        lock.unlock();
        // A session whose client has gone settles nothing: the result it would tell would
        // reach no one, and the buyer's next sign-in would find his ticket settled without
        // a word. That sign-in settles it and tells him.
        if (!sender_.clientHere()) {
            lock.lock();
            continue;
        }
        platform::log("lottery draw " + std::to_string(openDraw() - 1) + ": " +
                      std::to_string(winningOf(openDraw() - 1)));
        settle();
        lock.lock();
    }
}

} // namespace portalstub
