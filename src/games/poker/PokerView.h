#pragma once

#include "table/GameTableView.h"

#include <memory>

namespace kavo {

// The poker table screen.
class PokerBuyStackView;

class PokerView : public GameTableView {
public:
    PokerView();

    // The player was refused a stack: the sit-down state ends.
    void denyBuyStack();
    // Whether the player is sitting down (buying a stack) rather than watching.
    bool isSitDown() const { return isSitDown_; }
    void setIsSitDown(bool sitDown) { isSitDown_ = sitDown; }

    // Enters the table as a viewer: the seats are shown, the player is not seated.
    void onShowViewerWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players);
    // An amount typed for a bet or raise (the slider hooks are the game's own).
    void sendBetRaise(int32_t amount);
    const std::vector<int32_t>& betRaises() const { return betRaises_; }
    // The server asks for a buy-in: the sheet opens between the smallest amount and
    // ten times it.
    void showBuyStack(int32_t minStack);
    const std::shared_ptr<PokerBuyStackView>& buyStackView() const { return buyStackView_; }

private:
    bool isSitDown_ = false;
    std::vector<int32_t> betRaises_;
    std::shared_ptr<PokerBuyStackView> buyStackView_;
};

} // namespace kavo
