#include "games/cotuong/CoTuongMessageHandler.h"

#include "games/cotuong/CoTuongLogicHandler.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/ChessPlayer.h"

namespace kavo {

namespace {

// Sub-ids of command 77.
enum Sub : int8_t {
    kSnapshot = 10,
    kRemoveButton = 12,
    kStart = 15,
    kMove = 25,
    kUndoAsked = 26,
    kUndoMade = 27,
    kDrawOffered = 30,
    kDrawRefused = 31,
    kResigned = 35,
    kResignRefused = 36,
    kServerText = 39,
    kResult = 40,
    kStopped = 50,
};

// n pieces after a signed count byte; false when the list is cut short.
bool readPieces(ReplyReader& reader, std::vector<PieceServer>& pieces) {
    const int8_t count = reader.byte();
    for (int i = 0; i < count && reader.ok(); ++i) {
        PieceServer piece;
        piece.posX = reader.byte();
        piece.posY = reader.byte();
        piece.pieceType = reader.byte();
        piece.isMove = reader.byte();
        if (reader.ok()) pieces.push_back(piece);
    }
    return reader.ok();
}

} // namespace

const std::shared_ptr<CoTuongMessageHandler>& CoTuongMessageHandler::getInstance() {
    static const std::shared_ptr<CoTuongMessageHandler> instance = std::make_shared<CoTuongMessageHandler>();
    return instance;
}

CoTuongMessageHandler::CoTuongMessageHandler()
    : CoTuongMessageHandler(kGameType, "CoTuongMessageHandler", kGameCommand, CoTuongLogicHandler::getInstance()) {}

CoTuongMessageHandler::CoTuongMessageHandler(int8_t gameType, const char* name, int16_t gameCommand,
                                             CoTuongLogicHandler& ownLogic)
    : RoomMessageHandler(gameType, name, ownLogic, roomRules()), gameCommand_(gameCommand) {}

RoomRules<ChessPlayer> CoTuongMessageHandler::roomRules() {
    // Two places always (one who sits down later at the second is shown there), with
    // the names lower-cased (the sides are matched by name); a body cut short still
    // reaches the table with 0 and "" past its end.
    return {.table = "Chinese chess",
            .commands = {room::kJoin, room::kJoinView, room::kChat, room::kKicked, room::kSitDown, room::kLeave,
                         room::kReady, room::kStake, room::kBuzz},
            .places = 2,
            .dropCutShort = false,
            .joinedPlace = [](ChessPlayer& player) { player.setName(platform::toLower(player.name())); }};
}

void CoTuongMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, CoTuongLogicHandler& logic) {
    if (command == gameCommand_) onMessageCoTuong(reader, logic);
}

void CoTuongMessageHandler::onMessageCoTuong(ReplyReader& reader, CoTuongLogicHandler& logic) {
    const int8_t sub = reader.byte();
    switch (sub) {
    case kSnapshot:
        // One callback per block that reads whole.
        while (reader.hasMore()) {
            CoTuongLogicHandler::TableInfo info;
            info.firstUserId = reader.int32();
            info.currentUserId = reader.int32();
            info.limitStepTimer = reader.int32();
            info.stepRemainTimer = reader.int32();
            info.ownerUserId = reader.int32();
            info.gameRemainTime = reader.int32();
            if (!readPieces(reader, info.listPiece)) break;
            info.opponentUserId = reader.int32();
            info.gameRemainTime1 = reader.int32();
            if (!readPieces(reader, info.listPiece1)) break;
            logic.onGetTableInfo(std::move(info));
        }
        break;
    case kRemoveButton:
        logic.onRemoveButton(reader.byte());
        break;
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t interval = reader.int32();
        const int32_t first = reader.int32();
        const int32_t ownerQuota = reader.int32();
        const int32_t clientQuota = reader.int32();
        logic.onStartGameWithRoomId(room, board, first, interval, ownerQuota, clientQuota);
        break;
    }
    case kMove: {
        const int32_t who = reader.int32();
        const int8_t xs = reader.byte();
        const int8_t ys = reader.byte();
        const int8_t xd = reader.byte();
        const int8_t yd = reader.byte();
        const int32_t remain = reader.int32();
        const int32_t next = reader.int32();
        const int8_t newType = reader.byte();
        logic.onMoveWithWhoMove(who, xs, ys, xd, yd, next, remain, newType);
        break;
    }
    case kUndoAsked:
        logic.onUndo();
        break;
    case kUndoMade: {
        const int32_t next = reader.int32();
        std::vector<PieceUndo> undos;
        while (reader.hasMore()) {
            PieceUndo undo;
            undo.xSource = reader.byte();
            undo.ySource = reader.byte();
            undo.xDest = reader.byte();
            undo.yDest = reader.byte();
            undo.eatPieceType = reader.byte();
            if (!reader.ok()) break;
            undos.push_back(undo);
        }
        logic.onMakeUndoWithNextUserId(next, std::move(undos));
        break;
    }
    case kDrawOffered:
        logic.onOpponentWantDraw();
        break;
    case kDrawRefused:
        logic.onDenyDraw();
        break;
    case kResigned:
        logic.onWantLose();
        break;
    case kResignRefused:
        logic.onDenyLose();
        break;
    case kServerText:
        logic.onShowMessage(reader.utf());
        break;
    case kResult: {
        std::vector<MatchResultInfo> results;
        while (reader.hasMore()) {
            MatchResultInfo row;
            row.setID(reader.int32());
            row.setResult(reader.byte());
            row.setD_money(reader.int32());
            if (!reader.ok()) break;
            results.push_back(row);
        }
        logic.onMatchResult(std::move(results));
        break;
    }
    case kStopped:
        logic.onStopGame();
        break;
    default:
        onOtherSub(sub, reader);
        break;
    }
}

} // namespace kavo
