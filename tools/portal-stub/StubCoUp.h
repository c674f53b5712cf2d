#pragma once

#include "tools/portal-stub/StubCoTuong.h"
#include "tools/portal-stub/StubSender.h"

#include <array>
#include <map>
#include <random>
#include <utility>

namespace portalstub {

// A hidden-piece Chinese chess table (game type 20) against the stub player, played as
// the Chinese chess table under the game command 86. At each start the stub shuffles
// each side's fifteen hidden identities over that side's fifteen face-down pieces. The
// first move of a face-down piece reports its real type (1-7) in the move's last byte,
// later moves 0; from then on the piece moves as its real kind, free of the palace and
// half limits. A request for the captured pieces (33) is answered with rows of type and
// count of the player's pieces taken so far. Undo requests are not carried out.
class StubCoUp : public StubCoTuong {
public:
    static constexpr int8_t kGameType = 20;
    static constexpr int16_t kGameCommand = 86;

    StubCoUp(StubSender& sender, StubSeating& seating);

    // The next games deal their hidden identities from this seed (tests fix it).
    void setSeed(uint32_t seed);

protected:
    void onNewGame() override;
    int8_t onPieceMoved(int xs, int ys, int xd, int yd, const std::optional<kavo::RuleUnit>& captured) override;
    // The captured pieces (33), answered while a game is played.
    std::vector<StubCommand> moreRows() override;
    bool takesMovesBack() const override { return false; }

private:
    void onEatPieces(portalserver::PortalServer::Reply& reply);
    using Square = std::pair<int, int>;
    // Real kinds of the pieces still face down, by square (stub frame).
    std::map<Square, kavo::PieceKind> hidden_;
    // Pieces taken, by team and type code.
    std::map<int, std::array<int, 8>> taken_;
    std::mt19937 random_;
};

} // namespace portalstub
