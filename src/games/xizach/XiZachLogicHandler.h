#pragma once

#include "table/base/StakeTableLogic.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kavo {

class XiZachView;

// One hand as the game over (50) and a game under way (62) list it: seven ints, the
// player, the number of cards (0-5) and five card ids, -1 beyond the count.
struct XiZachHand {
    static constexpr int kMaxCards = 5;
    int32_t playerId = 0;
    int32_t count = 0;
    std::array<int32_t, kMaxCards> cards{-1, -1, -1, -1, -1};
};

// Carries each parsed Xi Zach event to the table screen: the shared stake-table
// events, plus the start, the three kinds of 21 (cards shown, a card drawn, a turn),
// the game over and the game under way. Entry operations run on the reader thread and
// only hand the values over; the twins run in arrival order on the main thread.
class XiZachLogicHandler : public StakeTableLogic {
public:
    static XiZachLogicHandler& getInstance();

    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards,
                                       int8_t interval);
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards);
    virtual void onGetCardWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, uint8_t card);
    virtual void onGetRemainTimeWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, uint8_t remainTime);
    virtual void onStopGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<XiZachHand> hands);
    virtual void onPlayingWithRoomId(int8_t roomId, int8_t boardId, int8_t interval, std::vector<XiZachHand> hands);

protected:
    // Tests record the calls in a derived handler.
    XiZachLogicHandler();
    std::shared_ptr<StakeTableView> table() const override;
    void showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                   const std::vector<std::shared_ptr<Player>>& players) override;
    void showScoreText(StakeTableView& view, int32_t who, const std::string& des) override;

private:
    static std::shared_ptr<XiZachView> view(int8_t roomId, int8_t boardId);
};

} // namespace kavo
