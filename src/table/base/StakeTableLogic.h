#pragma once

#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "portal/model/Player.h"
#include "table/room/RoomCommandReader.h"
#include "table/room/TableLogic.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class StakeTableView;

// The room commands the stake tables (Bai Cao, Xi Zach) take alike (roomRules), and
// their main-thread twins. The entry operations run on the reader thread and only hand
// the parsed values over; the twins, in arrival order, find the game's screen, make the table
// checks (room and board compared as bytes) and every change. Events with no screen
// are dropped, except the join, which makes it. Only a departure waits for its twin.
// Each game derives its logic handler from it, names its screen and adds its hand.
class StakeTableLogic : public TableLogic<Player> {
public:
    // The places a join fills: missing ones are empty, extra ones dropped.
    static constexpr size_t kPlaces = 4;

    explicit StakeTableLogic(int8_t gameType) : gameType_(gameType) {}
    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     std::vector<std::shared_ptr<Player>> players) override;
    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from) override;
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t playerId, bool ready) override;
    // 24 and 80 alike.
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t roomId, int8_t boardId, int32_t money, int32_t who) override;
    void onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                const std::string& des) override;
    void onDiemSoWithWho(int32_t who, const std::string& des) override;
    void onBuzzWithContent(const std::string& text) override;

    // How both tables read the room commands (8, 9, 11, 12, 14, 16, 24, 80, 52, 91,
    // 103): four places a join, a sit-down's place read unsigned, a command cut short
    // dropped; `table` names the table in the log.
    static RoomRules<Player> roomRules(std::string table);
    // The `count` hand records of a game over (50) or a game under way (62), each read by
    // `readHand` (false when it cannot be read whole): the list stops at the first
    // record cut short, logged under `table`. Reader thread.
    template <class Hand, class ReadHand>
    static std::vector<Hand> readHands(ReplyReader& reader, int count, const std::string& table, ReadHand readHand) {
        std::vector<Hand> hands;
        for (int i = 0; i < count; ++i) {
            Hand hand;
            if (!readHand(reader, hand)) {
                platform::log(table + ": hand records stop at " + std::to_string(i) + " of " + std::to_string(count));
                break;
            }
            hands.push_back(hand);
        }
        return hands;
    }

    // The main-thread halves (tests drive them).
    void applyJoin(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                   const std::vector<std::shared_ptr<Player>>& players);
    void applyKick(int8_t roomId, int8_t boardId, int32_t kickedId);

protected:
    // The game's screen (main thread); nullptr when none was made.
    virtual std::shared_ptr<StakeTableView> table() const = 0;
    // Makes (or reuses), pushes and seats the game's screen for a join.
    virtual void showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                           const std::vector<std::shared_ptr<Player>>& players) = 0;
    // What the game shows of a score text (main thread, the screen exists).
    virtual void showScoreText(StakeTableView& view, int32_t who, const std::string& des) = 0;
    // The screen when it is the table of that room and board.
    std::shared_ptr<StakeTableView> tableOf(int8_t roomId, int8_t boardId) const;

private:
    int8_t gameType_;
};

} // namespace kavo
