#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "table/base/GameCardView.h"
#include "table/cards/PeekTable.h"
#include "table/deal/DealStepper.h"
#include "table/deal/PeekController.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class BCCardView;
class TienLenPlayer;

// What the two four-seat tables where every player stakes against the owner (Bai
// Cao, Xi Zach) share on top of the card-table base: the stake labels of seats 1-3,
// seating from the table's places, ready and start rules, stakes and money, joining
// a hand under way, the peek cover and the deal chain, and the table's generation
// that every delayed step carries. The games add their hands; their card hooks
// (PeekTable) still note each call before acting on it. Main thread only.
class StakeTableView : public GameCardView, public PeekTable {
public:
    StakeTableView(int8_t gameType, std::string titleKey);
    ~StakeTableView() override;

    void viewDidLoad() override;
    void resetView() override;
    void onLeftTable() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;

    // ---- seats
    // Seat 0 is my place, seats 1-3 the places after it, wrapping; the gifts follow.
    void resetSeat();
    // The place `seat` of the table takes the player; a place outside the table is
    // dropped and logged.
    void setAtSeat(int seat, const std::shared_ptr<Player>& player);
    void playerLeaveWithId(int32_t playerId);
    void setSeatInfoWithSeat(int seat, const std::shared_ptr<Player>& player) override;
    void unsetSeatInfoWithSeat(int seat) override;

    // ---- ready, start
    void setReadyWithPlayerId(int32_t playerId, bool ready);
    void doStartGame() override;
    void doReady() override;
    void resetCard(bool clearCards) override;
    // Everyone not ready; after a hand the start button comes back 0.1 s later.
    void resetReady();
    void setModeWithHas(bool started) { setIsStartGame(started); }

    // ---- stakes and money
    void setMoneyOnBoard(int32_t money, int32_t playerId);
    // Draws the seat again.
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) override;
    // I sat down while a hand runs: I watch it without cards.
    virtual void playingWithInterval(int interval, int count);

    // ---- hands
    // The BCCardViews of a player's hand, in hand order.
    static std::vector<std::shared_ptr<BCCardView>> handOf(const std::shared_ptr<Player>& player);
    static std::shared_ptr<TienLenPlayer> cardPlayer(const std::shared_ptr<Player>& player);
    // Card `index` of the hand at a screen seat, or nullptr (an empty seat, a short hand).
    std::shared_ptr<BCCardView> cardToDeal(int seat, int index) const;
    // Takes every BCCardView off the table.
    void removeCardViews();
    // Bubbles, seat menu and the sheets over the cards (after each deal step).
    void bringOverlaysToFront();

    // The generation of the table: a new hand, a reset and leaving move it on, and a
    // delayed step made under an older one does nothing.
    uint64_t generation() const { return generation_; }
    // Runs `action` after `seconds` unless the generation moved on meanwhile.
    std::shared_ptr<platform::Timer> afterDelay(double seconds, std::function<void(StakeTableView&)> action);

    const std::shared_ptr<platform::ui::Label>& lblCuoc(int seat) const { return lblCuoc_[size_t(seat)]; }
    PeekController& peek() { return peek_; }
    DealStepper& dealer() { return dealer_; }
    int indexBaiNan() const { return indexBaiNan_; }
    bool daChiaBaiXong() const { return daChiaBaiXong_; }

protected:
    // The title of my stake button for a stake.
    virtual std::string myStakeText(int32_t money) const;
    // A new hand: pending steps of the last one are dropped.
    void newGeneration();
    // Seats 1-3 from my place at seat 0 (start of a hand, resetSeat).
    void assignSeatsFromMine();

    int indexBaiNan_ = 0;
    bool daChiaBaiXong_ = false;

private:
    std::array<std::shared_ptr<platform::ui::Label>, kSeats> lblCuoc_;
    PeekController peek_;
    DealStepper dealer_;
    std::vector<std::shared_ptr<platform::Timer>> timers_;
    uint64_t generation_ = 0;
};

} // namespace kavo
