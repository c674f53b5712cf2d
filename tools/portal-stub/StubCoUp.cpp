#include "tools/portal-stub/StubCoUp.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <vector>

namespace portalstub {

using kavo::Message;
using kavo::PieceKind;
using portalserver::PortalServer;

namespace {

constexpr int8_t kSubEatPieces = 33;

} // namespace

StubCoUp::StubCoUp(StubSender& sender, StubSeating& seating)
    : StubCoTuong(sender, seating, kGameType, kGameCommand), random_(std::random_device{}()) {}

void StubCoUp::setSeed(uint32_t seed) {
    random_.seed(seed);
}

void StubCoUp::onNewGame() {
    hidden_.clear();
    taken_.clear();
    for (int team : {kRed, kBlack}) {
        std::vector<Square> squares;
        std::vector<PieceKind> kinds;
        for (const auto& unit : position_.units()) {
            if (unit.team != team || unit.kind == PieceKind::Jiang) continue;
            squares.emplace_back(unit.x, unit.y);
            kinds.push_back(unit.kind);
        }
        std::shuffle(kinds.begin(), kinds.end(), random_);
        for (size_t i = 0; i < squares.size(); ++i)
            hidden_[squares[i]] = kinds[i];
    }
}

int8_t StubCoUp::onPieceMoved(int xs, int ys, int xd, int yd, const std::optional<kavo::RuleUnit>& captured) {
    if (captured) {
        auto victim = hidden_.find({xd, yd});
        const PieceKind real = victim != hidden_.end() ? victim->second : captured->kind;
        if (victim != hidden_.end()) hidden_.erase(victim);
        ++taken_[captured->team][size_t(real)];
    }
    auto mover = hidden_.find({xs, ys});
    if (mover == hidden_.end()) return 0;
    const PieceKind real = mover->second;
    hidden_.erase(mover);
    if (kavo::RuleUnit* unit = position_.unitAt(xd, yd)) {
        unit->kind = real;
        unit->confined = false;
    }
    return int8_t(real);
}

std::vector<StubCommand> StubCoUp::moreRows() {
    return {whilePlaying(kSubEatPieces, [this](Message&, PortalServer::Reply& reply) { onEatPieces(reply); })};
}

void StubCoUp::onEatPieces(PortalServer::Reply& reply) {
    Message list = gameMessage(kSubEatPieces);
    const auto found = taken_.find(teamOf(playerId_));
    if (found != taken_.end()) {
        for (int type = 1; type <= 7; ++type) {
            if (found->second[size_t(type)] == 0) continue;
            list.writeByte(int8_t(type));
            list.writeByte(int8_t(found->second[size_t(type)]));
        }
    }
    platform::log("hidden-piece chess: the captured pieces");
    reply.send(list);
}

} // namespace portalstub
