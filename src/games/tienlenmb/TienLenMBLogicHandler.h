#pragma once

#include "games/tienlen/TienLenLogicHandler.h"

namespace kavo {

// Carries each parsed Tien Len MB command to its table screen: Tien Len's handler with
// the MB screen, both instant-win tests at the start (after every ready flag is
// cleared), a first match that only the join begins, and the game over and the instant
// win that stop the game before the cards are laid out.
class TienLenMBLogicHandler : public TienLenLogicHandler {
public:
    static TienLenMBLogicHandler& getInstance();

protected:
    // Tests record the calls in a derived handler.
    TienLenMBLogicHandler() = default;

    std::shared_ptr<TienLenView> table() const override;
    void showScreen(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                    const TienLenPlayerList& players) const override;
    bool seatChangesStartFirstMatch() const override { return false; }
    void claimInstantWin(TienLenView& view, int8_t roomId, int8_t boardId, const std::vector<int8_t>& sortedCards,
                         int32_t whoMoveFirst) const override;
    void applyStop(TienLenView& view, int32_t whoShowCard, const std::vector<uint8_t>& cards) const override;
    void applyForceFinish(TienLenView& view, const CardInfo& info) const override;
    void sendForceFinish(int8_t roomId, int8_t boardId) const override;
    void applyStart(TienLenView& view, int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards, int interval,
                    int32_t whoMoveFirst) const override;
};

} // namespace kavo
