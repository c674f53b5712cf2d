#pragma once

// What the two chess tables' screen tests share: me signed in as "An Ba", the other
// player's record, and a game started or rebuilt from a snapshot on the table sat at.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/CoTuongLogicHandler.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/ChessPlayer.h"
#include "tests/table/TableTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo::test {

inline constexpr int32_t kMe = 10;
inline constexpr int32_t kOther = 20;

inline std::shared_ptr<ChessPlayer> record(int32_t id, const std::string& name) {
    return playerRecord<ChessPlayer>(id, name, 50000, 150);
}

template <class View> class ChessTable : public TableTest {
protected:
    // Signs me in at the chess game of that type.
    void signIn(int8_t gameType) {
        auto me = UIController::myInfo();
        me->setIDDB(kMe);
        me->setName("An Ba");
        me->setMoney(100000);
        me->setExp(40);
        UIController::setGameType(gameType);
        Resources::getInstance().initAfterLogin();
    }
    void start(int32_t first) {
        table->startWithMoveFirst(first, 25);
        runMainThread();
        client.clear();
    }
    // A running game rebuilt from a snapshot in which I own the table and move first.
    void snapshot(std::vector<PieceServer> mine, std::vector<PieceServer> theirs) {
        CoTuongLogicHandler::TableInfo info;
        info.firstUserId = kMe;
        info.currentUserId = kMe;
        info.limitStepTimer = 25;
        info.stepRemainTimer = 12;
        info.ownerUserId = kMe;
        info.gameRemainTime = 700;
        info.listPiece = std::move(mine);
        info.opponentUserId = kOther;
        info.gameRemainTime1 = 650;
        info.listPiece1 = std::move(theirs);
        table->getTableInfo(info);
        runMainThread();
        client.clear();
    }
    CCBoard& board() { return *table->board(); }
    void advance(double seconds) {
        platform::RunLoop::main().advance(seconds);
        runMainThread();
    }

    std::shared_ptr<View> table;
};

} // namespace kavo::test
