#pragma once

#include "games/baicao/BaiCaoLogicHandler.h"
#include "table/base/StakeTableView.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class BCCardView;

// The Bai Cao table screen: four seats, three cards each. The server deals, tells
// which cards are up and scores; here the hand is dealt in twelve steps, I peek at my
// cards under the cover or turn them with a tap, and everything turns up at the end.
// A card of mine shows its face only when the server's 21 for me says so. Main thread.
class BaiCaoView : public StakeTableView {
public:
    static constexpr int kHandSize = 3;

    BaiCaoView();
    void viewDidLoad() override;
    // The board takes 4 players at the most; the player-count sheet sets fewer.
    int8_t mostPlayers() const override { return 4; }
    void requestMaxPlayers(int8_t max) override;

    // ---- the hand
    // 20: my three card ids (wire order) and the time limit.
    void startWithInterval(uint8_t interval, const std::vector<uint8_t>& myCards);
    // 21: the player's cards, 255 for one still face down.
    void moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards);
    void setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int seat);
    // 50, after stopGame: the peek put back and every listed hand turned up.
    void showCardsWithPlayers(const std::vector<BaiCaoHand>& hands);
    void stopGame();

    // ---- peeking and turning
    void clickFire();
    void beginNanbai(const std::shared_ptr<BCCardView>& card);
    void hideLoadingNanBai();
    void showLoadingNanBai() override;
    void doFireWithCardId(int8_t cardId) override;
    void showAllCards() override;
    void backPointbaiNan(const std::shared_ptr<BCCardView>& card) override;
    void setHiddenBtnNan() override;
    void clickAutomaticSelectedCards() override { showAllCards(); }

    bool isFlying() const { return isFlying_; }

private:
    void dealCard(int seat, int pass);
    void sendTurn(const std::vector<uint8_t>& bytes);

    bool isFlying_ = false;
};

} // namespace kavo
