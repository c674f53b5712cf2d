#pragma once

#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class Message;
class ReplyReader;
class StakeTableView;

// The replies the stake tables (Bai Cao, Xi Zach) read alike, and their main-thread
// twins. The entry operations run on the reader thread and only hand the parsed
// values over; the twins, in arrival order, find the game's screen, make the table
// checks (room and board compared as bytes) and every change. Events with no screen
// are dropped, except the join, which makes it. Only a departure waits for its twin.
// Each game derives its logic handler from it, names its screen and adds its hand.
class StakeTableLogic {
public:
    // The places a join fills: missing ones are empty, extra ones dropped.
    static constexpr size_t kPlaces = 4;

    explicit StakeTableLogic(int8_t gameType) : gameType_(gameType) {}
    virtual ~StakeTableLogic() = default;

    virtual void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                             std::vector<std::shared_ptr<Player>> players);
    virtual void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from);
    virtual void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId);
    virtual void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> player);
    virtual void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner);
    virtual void onSomeOneReadyWithId(int32_t playerId, bool ready);
    // 24 and 80 alike.
    virtual void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money, int32_t who);
    virtual void onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                        const std::string& des);
    virtual void onDiemSoWithWho(int32_t who, const std::string& des);
    virtual void onBuzzWithContent(const std::string& text);

    // Reads a reply both tables share (8, 9, 11, 12, 14, 16, 24, 80, 52, 91, 103) and
    // calls the entry operation; false for any other command. Reader thread.
    bool readSharedReply(Message& message, ReplyReader& reader);
    // The seat records of a join: `places` of them (missing ones empty, extra ones
    // read, dropped and logged); the list ends at the first record cut short.
    static std::vector<std::shared_ptr<Player>> readPlaces(ReplyReader& reader, size_t places);

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
