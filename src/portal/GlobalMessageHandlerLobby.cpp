#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/ReplyFields.h"

namespace kavo {

bool GlobalMessageHandler::handleLobby(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 6:
        receiveRoomList(reader);
        return true;
    case 7:
        receiveBoardList(reader);
        return true;
    case 2700:
        receivePickRoomBoardList(reader);
        return true;
    case 61: {
        const auto [gameType] = readValues(reader, asByte);
        if (!reader.ok()) return true;
        logic.onSetGameTypeSuccessWithGame(gameType, true);
        platform::runOnMainThread([this, gameType] { pushRoomScreen(gameType); });
        return true;
    }
    case 10:
        readAndCall(reader, logic, &GlobalLogicHandler::onSetMoneyErrorWithError, asUtf);
        return true;
    case 74:
        readAndCall(reader, logic, &GlobalLogicHandler::onInvitedJoinBoardWithGameId, asByte, asByte, asByte, asUtf,
                    asUtf, asByte, asInt32);
        return true;
    case 29:
    case 76:
        return true;
    case 55: {
        // A list of texts nothing shows: read (checking the count) and dropped.
        const auto [count] = readValues(reader, asByte);
        for (unsigned i = 0; i < uint8_t(count) && reader.hasMore(); ++i)
            asUtf.read(reader);
        return true;
    }
    default:
        return false;
    }
}

void GlobalMessageHandler::receiveRoomList(ReplyReader& reader) {
    globalLogicHandler().onRoomList(readRows(reader, [](ReplyReader& row) {
        return readConstructed<RoomInfo>(row, asByte, asByte, asByte, asByte); // id, free, waiting, level
    }));
}

void GlobalMessageHandler::receiveBoardList(ReplyReader& reader) {
    const auto [roomId] = readValues(reader, asByte);
    if (!reader.ok()) return;
    globalLogicHandler().onBoardListWithRoomId(
        roomId, readRecords<Board>(reader, asByte(&Board::setBoardId), asByte(&Board::setNPlayer),
                                   asFlag(&Board::setIsPass), asInt32(&Board::setMoney)));
}

void GlobalMessageHandler::receivePickRoomBoardList(ReplyReader& reader) {
    const auto [maxBet, total] = readValues(reader, asInt32, asInt32);
    if (!reader.ok()) return;
    platform::log("receivePickRoomBoardList " + std::to_string(total));
    auto boards =
        readRecords<Board>(reader, asByte(&Board::setRoomId), asByte(&Board::setBoardId), asFlag(&Board::setIsPass),
                           asInt32(&Board::setMoney), asInt32(&Board::setMaxBetMoney), asFlag(&Board::setIsPlaying),
                           asByte(&Board::setNPlayer), asByte(&Board::setMaxPlayer), asByte.skipped());
    globalLogicHandler().onLoadBoardList(std::move(boards), maxBet);
}

} // namespace kavo
