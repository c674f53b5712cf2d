#pragma once

#include "games/tienlen/TienLenView.h"

namespace platform::ui {
class View;
}

namespace kavo {

// The Tien Len MB table screen: the Tien Len screen with the MB rule engine and
// requests, and the MB table's values (a faster deal, a hand 30 points up on a tablet,
// a first match that the start ends, and the others of TienLenTableRules).
class TienLenMBView : public TienLenView {
public:
    // The values this table differs in from Tien Len's.
    static TienLenTableRules tableRules();

    TienLenMBView();

    // Asks the server to remove the player whose id is the control's tag.
    void kickPlayer(const platform::ui::View& control);
    // The MB table's own skip and set-maximum requests.
    void onMyTurnTimedOut() override;
    void requestMaxPlayers(int8_t max) override;

protected:
    int combinationType(const std::vector<int8_t>& ascending) const override;
    bool beats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table,
               int tableType) const override;
    void autoSelectOn(SelectableHand& hand, const std::vector<int8_t>& table) const override;
    void sendMove(const std::vector<uint8_t>& cards) const override;
};

} // namespace kavo
