#include "games/caro/CaroService.h"
#include "games/cotuong/CoTuongService.h"
#include "games/coup/CoUpService.h"
#include "games/covua/CoVuaService.h"
#include "games/maubinh/MauBinhService.h"
#include "games/maubinh/MauBinhView.h"
#include "games/poker/PokerService.h"
#include "games/tetris/TetrisService.h"
#include "games/tienlen/TienLenService.h"
#include "games/tienlenmb/TienLenMBService.h"
#include "net/IMobileClient.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, TienLenSkipsCarryRoomAndBoard) {
    TienLenService::getInstance().skipWithRoomId(3, 12);
    TienLenMBService::getInstance().skipWithRoomId(-1, 0);
    EXPECT_EQ(client.take(), "49:030c 49:ff00");
}

TEST_F(GameRequests, TienLenFiresClaimsAndLocksSeatsByteForByte) {
    auto& service = TienLenService::getInstance();
    service.moveWithRoomId(2, 7, {40, 4, 51});
    service.forceFinishWithRoomId(2, 7);
    service.setMaxPlayerWithRoomId(2, 7, 3);
    EXPECT_EQ(client.take(), "21:020703280433 53:0207 56:020703");
}

TEST_F(GameRequests, ChineseChessRequestsGoUnderCommand77) {
    auto& service = CoTuongService::getInstance();
    service.requestDrawWithRoomId(1, 2);
    service.requestLoseWithRoomId(1, 2);
    service.requestUndoWithRoomId(1, 2, -1);
    service.answerDrawWithRoomId(1, 2, true);
    service.answerDrawWithRoomId(1, 2, false);
    EXPECT_EQ(client.take(), "77:01021e 77:010223 77:01021aff 24:010201 24:010200");
}

TEST_F(GameRequests, HiddenPieceChessRequestsGoUnderCommand86AndDrawAnswersUnder24) {
    auto& service = CoUpService::getInstance();
    service.requestDrawWithRoomId(5, 6);
    service.requestLoseWithRoomId(5, 6);
    service.requestUndoWithRoomId(5, 6, 1);
    service.answerDrawWithRoomId(5, 6, true);
    EXPECT_EQ(client.take(), "86:05061e 86:050623 86:05061a01 24:050601");
}

TEST_F(GameRequests, CaroChessAndTetrisAnswerDrawsWith24AndResignWith27) {
    CaroService::getInstance().answerDrawWithRoomId(1, 1, false);
    CaroService::getInstance().requestLoseWithRoomId(1, 1);
    CoVuaService::getInstance().answerDrawWithRoomId(2, 3, true);
    CoVuaService::getInstance().requestLoseWithRoomId(2, 3);
    TetrisService::getInstance().answerDrawWithRoomId(4, 5, true);
    EXPECT_EQ(client.take(), "24:010100 27:0101 24:020301 27:0203 24:040501");
}

TEST_F(GameRequests, MauBinhTimeLimitIsSubCommand10OfItsTable) {
    MauBinhService::getInstance().doSetLimitTime(2, 4, 8);
    EXPECT_EQ(client.take(), "47:04080a02");
    MauBinhView table;
    table.setRoomId(9);
    table.setBoardId(1);
    table.setLimitTime(0);
    EXPECT_EQ(client.take(), "47:09010a00");
}

TEST_F(GameRequests, PokerObserverAnswerIsSubCommand12) {
    PokerService::getInstance().doSendObserver(1, 2, 1);
    PokerService::getInstance().doSendObserver(1, 2, 0);
    EXPECT_EQ(client.take(), "82:01020c01 82:01020c00");
}

TEST_F(GameRequests, PokerBetAndBuyInCarryTheAmountAsAnIntAndTheSeatLimitAsAByte) {
    auto& service = PokerService::getInstance();
    service.setMaxPlayer(3, 7, 6);
    service.setBetMoney(3, 7, 5000);
    service.doBuyStack(3, 7, 2147483647);
    service.doBuyStack(-1, 0, -1);
    EXPECT_EQ(client.take(), "56:030706 82:030700001388 82:03077fffffff 82:ff00ffffffff");
}

TEST_F(GameRequests, TienLenMBFiresClaimsSkipsAndLimitsByteForByte) {
    auto& service = TienLenMBService::getInstance();
    service.moveWithRoomId(2, 7, {40, 4, 51});
    service.moveWithRoomId(2, 7, {});
    service.forceFinishWithRoomId(2, 7);
    service.skipWithRoomId(2, 7);
    service.setMaxPlayerWithRoomId(2, 7, 3);
    EXPECT_EQ(client.take(), "21:020703280433 21:020700 53:0207 49:0207 56:020703");
}

} // namespace
} // namespace kavo::test
