#pragma once

#include "table/base/SeatedTableView.h"

#include <memory>

namespace kavo {

class PokerBuyStackView;

// The poker table screen: six seats; the player enters as a viewer and sits down
// through the buy-in.
class PokerView : public SeatedTableView {
public:
    PokerView();

    // The player was refused a stack: the sit-down state ends.
    void denyBuyStack() override;
    // The buy-in sheet's amount goes out as the buy-in request.
    void buyStack(int32_t amount) override;
    // The stake sheet's amount goes out as the poker bet request; a typed amount is a
    // bet or raise.
    void sendStake(int32_t amount) override;
    void sendTypedStake(int32_t amount) override { sendBetRaise(amount); }
    // The leave question's OK: the table sends its own leave and pops itself.
    bool leaveAfterQuestion() override;
    // The viewer's question answered: the observer request with the choice.
    void answerViewerQuestion(int8_t choice) override;
    // The viewer's notice refused: the player leaves the table.
    void refuseViewerNotice() override { doLeaveBoard(); }
    // Whether the player is sitting down (buying a stack) rather than watching.
    bool isSitDown() const { return isSitDown_; }
    void setIsSitDown(bool sitDown) { isSitDown_ = sitDown; }

    // Enters the table as a viewer: the seats are shown, the player is not seated.
    void onShowViewerWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players);
    // An amount typed for a bet or raise. It goes out only through a showing bet or
    // raise slider, and this table shows neither, so it only hides: nothing is sent.
    void sendBetRaise(int32_t amount);
    // The server asks for a buy-in: the sheet opens between the smallest amount and
    // ten times it (the largest int when that does not fit).
    void showBuyStack(int32_t minStack);
    const std::shared_ptr<PokerBuyStackView>& buyStackView() const { return buyStackView_; }
    // Ten times the smallest buy-in, held to the int range.
    static int32_t maxStackFor(int32_t minStack);

private:
    bool isSitDown_ = false;
    std::shared_ptr<PokerBuyStackView> buyStackView_;
};

} // namespace kavo
