#pragma once

#include "table/base/TienLenPlayer.h"
#include "table/room/TableLogic.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

using PhomPlayerList = std::vector<std::shared_ptr<TienLenPlayer>>;

// The game in progress shown to a player who enters a running table: per record (at
// most four) the user id, the discards in front of the player and the eaten cards,
// -1 in empty slots and for missing records.
struct PhomPlaying {
    std::array<std::array<int32_t, 4>, 4> cardShow{};
    std::array<std::array<int32_t, 3>, 4> cardEat{};
    std::array<int32_t, 4> userIds{};
    PhomPlaying();
};

// Carries each parsed Phom command to the table screen. The reader-thread entry
// operations only hand the values over; their main-thread twins, in arrival order,
// find the screen through GameController, make the table checks and every change to
// the records, the signed-in player and the screen. Every event but the join is
// dropped when no Phom screen exists. Only the departure of a player waits for its twin.
class PhomNewLogicHandler : public TableLogic<TienLenPlayer> {
public:
    static PhomNewLogicHandler& getInstance();

    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     PhomPlayerList players) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t playerId, bool isReady) override;
    void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) override;
    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t fromId) override;
    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<int8_t> cards, int8_t interval,
                                       int32_t whoMoveFirst, int32_t firstHa);
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) override;
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t currentP, int32_t firstP, int8_t cardFire,
                                  int8_t numCard);
    virtual void onSkipWithRoomId(int8_t roomId, int8_t boardId, int32_t curPlayer, int32_t firHa);
    virtual void onHaPhom(int8_t roomId, int8_t boardId, bool isHa, std::array<int8_t, 12> cards, bool isU,
                          std::array<int32_t, 4> orderMoney, int32_t curId);
    virtual void onUWithRoomId(int8_t roomId, int8_t boardId, int32_t userId, int8_t uKind,
                               std::array<int8_t, 12> cards, int32_t lenCard);
    void onMoveErrorWithRoomeId(int8_t roomId, int8_t boardId, const std::string& info) override;
    virtual void onAddCard(int8_t roomId, int8_t boardId, int32_t userAdd, int8_t cardId, std::vector<int8_t> cards,
                           int32_t len);
    virtual void onDenBai(int8_t roomId, int8_t boardId, int32_t winId, int32_t orderMoney);
    virtual void onFinish(int8_t roomId, int8_t boardId, int32_t userId, int32_t score, std::vector<int8_t> cards,
                          int32_t numCard);
    virtual void onPlaying(int8_t roomId, int8_t boardId, int8_t interval, int32_t curPlayer, int32_t firPlayer,
                           PhomPlaying playing);
    virtual void onGetCard(int8_t roomId, int8_t boardId, int32_t userId, int8_t cardGet);
    virtual void onEatCard(int8_t roomId, int8_t boardId, bool isEat, int32_t numEat, int32_t firHa, int32_t nCard);
    void onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money,
                                const std::string& des) override;
    virtual void onOnceWin(int8_t roomId, int8_t boardId, int32_t money);
    void onBuzzWithContent(const std::string& text) override;

    // The main-thread halves that do more than call the screen (tests drive them).
    static void callKick(int32_t kickedId);
    static void applyBonus(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money, const std::string& des);

protected:
    // Tests record the calls in a derived handler.
    PhomNewLogicHandler() = default;
};

} // namespace kavo
