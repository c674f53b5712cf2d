#pragma once

#include "table/base/StakeTableLogic.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kavo {

class BaiCaoView;

// One player's hand as the end of a hand (50) or a hand under way (62) lists it: the
// player and his three card ids, each widened from its byte.
struct BaiCaoHand {
    int32_t playerId = 0;
    std::array<int32_t, 3> cards{};
};

// Carries each parsed Bai Cao event to the table screen: the shared stake-table
// events, plus the start, the turned cards, the end of a hand and the hand under way.
// Entry operations run on the reader thread and only hand the values over; the twins
// run in arrival order on the main thread.
class BaiCaoLogicHandler : public StakeTableLogic {
public:
    static BaiCaoLogicHandler& getInstance();

    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<uint8_t> cards, uint8_t interval);
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards);
    virtual void onStopGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<BaiCaoHand> hands);
    virtual void onPlayingWithRoomId(int8_t roomId, int8_t boardId, uint8_t interval, std::vector<BaiCaoHand> hands);

protected:
    // Tests record the calls in a derived handler.
    BaiCaoLogicHandler();
    std::shared_ptr<StakeTableView> table() const override;
    void showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                   const std::vector<std::shared_ptr<Player>>& players) override;
    void showScoreText(StakeTableView& view, int32_t who, const std::string& des) override;

private:
    static std::shared_ptr<BaiCaoView> view(int8_t roomId, int8_t boardId);
};

} // namespace kavo
