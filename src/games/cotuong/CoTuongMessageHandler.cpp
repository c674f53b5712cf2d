#include "games/cotuong/CoTuongMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "games/cotuong/CoTuongLogicHandler.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/ChessPlayer.h"

namespace kavo {

namespace {

// Room commands this table reads.
constexpr int16_t kJoin = 8;
constexpr int16_t kJoinView = 1900;
constexpr int16_t kChat = 9;
constexpr int16_t kKicked = 11;
constexpr int16_t kSitDown = 12;
constexpr int16_t kLeave = 14;
constexpr int16_t kReady = 16;
constexpr int16_t kStake = 19;
constexpr int16_t kBuzz = 103;
constexpr int16_t kGame = 77;

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

// The player rows of a join: an id of -1 is an empty place and ends its row. The
// list ends at the first row that cannot be read whole.
ChessPlayerList readPlayers(ReplyReader& reader) {
    ChessPlayerList players;
    while (reader.hasMore()) {
        auto player = std::make_shared<ChessPlayer>();
        const int32_t id = reader.int32();
        if (!reader.ok()) break;
        player->setIDDB(id);
        if (id == -1) {
            player->setName("");
            players.push_back(player);
            continue;
        }
        const std::string name = reader.utf();
        const int64_t money = reader.int64();
        const int16_t avatar = reader.int16();
        const int32_t exp = reader.int32();
        const bool ready = reader.boolean();
        if (!reader.ok()) break;
        player->setName(platform::toLower(name));
        player->setMoney(money);
        player->setAvatar(avatar);
        player->setExp(exp);
        player->setIsReady(ready ? 1 : 0);
        players.push_back(player);
    }
    return players;
}

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
    : CoTuongMessageHandler(kGameType, "CoTuongMessageHandler", kGame, &CoTuongLogicHandler::getInstance()) {}

CoTuongMessageHandler::CoTuongMessageHandler(int8_t gameType, const char* name, int16_t gameCommand,
                                             CoTuongLogicHandler* defaultHandler)
    : GameMessageHandler(gameType, name), gameCommand_(gameCommand), defaultHandler_(defaultHandler),
      gameLogicHandler_(defaultHandler) {}

void CoTuongMessageHandler::setGameLogicHandler(CoTuongLogicHandler* handler) {
    gameLogicHandler_.store(handler ? handler : defaultHandler_);
}

void CoTuongMessageHandler::onMessage(Message& message) {
    auto& logic = *gameLogicHandler_.load();
    try {
        ReplyReader reader(message);
        switch (message.commandId()) {
        case kJoin:
        case kJoinView: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t owner = reader.int32();
            const int32_t money = reader.int32();
            ChessPlayerList players = readPlayers(reader);
            if (message.commandId() == kJoin)
                logic.onJoinGameSuccessWithRoomId(room, board, owner, money, std::move(players));
            else
                logic.onJoinViewGameSuccessWithRoomId(room, board, owner, money, std::move(players));
            break;
        }
        case kChat: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t from = reader.int32();
            const std::string text = reader.utf();
            logic.onChatFromBoardWithRoomId(room, board, text, from);
            break;
        }
        case kKicked: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            logic.onKickedWithRoomId(room, board, reader.int32());
            break;
        }
        case kSitDown: {
            const int8_t seat = reader.byte();
            auto player = std::make_shared<ChessPlayer>();
            player->setIDDB(reader.int32());
            player->setName(reader.utf());
            player->setMoney(reader.int64());
            player->setAvatar(reader.int16());
            player->setExp(reader.int32());
            player->setIsReady(0);
            logic.onSomeOneJoinBoardWithSeat(seat, player);
            break;
        }
        case kLeave: {
            const int32_t leaver = reader.int32();
            logic.onSomeOneLeaveBoardWithLeave(leaver, reader.int32());
            break;
        }
        case kReady: {
            const int32_t who = reader.int32();
            logic.onSomeOneReadyWithWhoId(who, reader.boolean());
            break;
        }
        case kStake: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            logic.onOwnerSetMoneyWithRoomId(room, board, reader.int32());
            break;
        }
        case kBuzz: {
            const std::string a = reader.utf();
            const std::string b = reader.utf();
            logic.onBuzzWithContent(a + ": " + b);
            break;
        }
        default:
            if (message.commandId() == gameCommand_) onMessageCoTuong(reader);
            break;
        }
    } catch (const std::exception& e) {
        platform::log(std::string("Exception ") + e.what());
    } catch (...) {
        platform::log("Exception in a Chinese chess message");
    }
}

void CoTuongMessageHandler::onMessageCoTuong(ReplyReader& reader) {
    auto& logic = *gameLogicHandler_.load();
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
