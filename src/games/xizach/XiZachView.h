#pragma once

#include "games/xizach/XiZachLogicHandler.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "table/base/StakeTableView.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class BCCardView;

// The Xi Zach table screen: four seats, two cards dealt each, then turns in the order
// the server gives. On my turn I draw from the deck in the middle or stand; the owner,
// on his turn, may check another player's hand. My cards come covered: I look at them
// by a tap or a peek under the big cover. The server computes every total (the score
// texts) and shows the hands at the end. Main thread only, except nextPlayer.
class XiZachView : public StakeTableView {
public:
    static constexpr int kOpeningCards = 2;

    XiZachView();
    void viewDidLoad() override;
    // The mute of the money sound ends with the table.
    void resetView() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    // The board takes 4 players at the most; the player-count sheet sets fewer.
    int8_t mostPlayers() const override { return 4; }
    void requestMaxPlayers(int8_t max) override;

    // ---- the game
    void startWithInterval(int8_t interval, int32_t whoMove, const std::vector<uint8_t>& myCards);
    // 21 type 1: the player is now to act for `seconds`.
    void getRemainTimeWithPlayerId(int32_t playerId, int seconds);
    // 21 type 0: a card the player drew.
    void getCardWithPlayerId(int32_t playerId, uint8_t cardId) { rutBaiWithCardId(cardId, playerId); }
    void rutBaiWithCardId(uint8_t cardId, int32_t playerId);
    // 21 type 2 and each hand at the end: the player's cards face up.
    void moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards);
    void setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int seat);
    void ShowDiemSoWithWho(int32_t playerId, const std::string& text);
    void showCardsWithPlayers(const std::vector<XiZachHand>& hands);
    void stopGame();
    void playingWithInterval(int interval, int count) override;
    // Rings (once in 1.5 s however many amounts come), then draws the seat again.
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) override;

    // ---- actions
    void clickRutBai();
    void clickAutomaticSelectedCards() override;
    void xetBaiWithPlayer(int32_t playerId) override;
    void clickViewPlayerInfo(platform::ui::Button& button) override;
    void clickFire();
    void beginNanbai(const std::shared_ptr<BCCardView>& card);
    void backPointbaiNan(const std::shared_ptr<BCCardView>& card) override;
    void showMyCardWithCard(const std::shared_ptr<BCCardView>& card) override;
    // A card here turns nothing: a peek puts it back, a tap shows my card or looks at
    // another player's hand, and a double tap does nothing.
    void cardDoubleTapped() override {}
    void cardPeekedAway(const std::shared_ptr<BCCardView>& card) override;
    void cardTapped(const std::shared_ptr<BCCardView>& card) override;

    int32_t nextPlayer() const { return nextPlayer_.load(); }
    bool waitToPlayNextSound() const { return waitToPlayNextSound_; }
    const std::string& diemso() const { return diemso_; }
    const std::shared_ptr<platform::ui::Button>& btnBaiTy() const { return btnBaiTy_; }
    const std::shared_ptr<platform::ui::ImageView>& imgNextMe() const { return imgNextMe_; }

protected:
    std::string myStakeText(int32_t money) const override;

private:
    void dealCard(int seat, int pass);
    void setNextPlayer(int32_t playerId);
    void animationWhenNextIsMe();
    // A new turn's notice replaces the last one: a bubble still telling the turn before
    // shows what waits behind it, or hides.
    void withdrawTurnNotice();
    // The owner asks for a player's hand: on my turn as owner, once per player a game.
    void checkHand(int32_t playerId);

    std::atomic<int32_t> nextPlayer_{-1};
    bool waitToPlayNextSound_ = false;
    bool arrowMoving_ = false;
    std::string diemso_;
    // The bubble that told the last turn, and what it told (-1: none told yet).
    int turnSlot_ = -1;
    std::string turnLine_;
    std::shared_ptr<platform::ui::Button> btnBaiTy_;
    std::shared_ptr<platform::ui::ImageView> imgNextMe_;
};

} // namespace kavo
