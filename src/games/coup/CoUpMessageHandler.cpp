#include "games/coup/CoUpMessageHandler.h"

#include "games/coup/CoUpLogicHandler.h"
#include "portal/ReplyReader.h"

namespace kavo {

namespace {

constexpr int8_t kEatPieces = 33;

} // namespace

const std::shared_ptr<CoUpMessageHandler>& CoUpMessageHandler::getInstance() {
    static const std::shared_ptr<CoUpMessageHandler> instance = std::make_shared<CoUpMessageHandler>();
    return instance;
}

CoUpMessageHandler::CoUpMessageHandler()
    : CoTuongMessageHandler(kGameType, "CoUpMessageHandler", kGameCommand, CoUpLogicHandler::getInstance()),
      coUpLogicHandler_(&CoUpLogicHandler::getInstance()) {}

void CoUpMessageHandler::setGameLogicHandler(CoUpLogicHandler* handler) {
    if (!handler) handler = &CoUpLogicHandler::getInstance();
    CoTuongMessageHandler::setGameLogicHandler(handler);
    coUpLogicHandler_.store(handler);
}

void CoUpMessageHandler::onOtherSub(int8_t sub, ReplyReader& reader) {
    if (sub != kEatPieces) return;
    // Rows of type and count to the end of the body; a row cut after its type counts 0.
    std::vector<EatPiece> list;
    while (reader.hasMore()) {
        EatPiece row;
        row.pieceType = reader.byte();
        row.pieceNumber = reader.byte();
        list.push_back(row);
    }
    coUpLogicHandler_.load()->onGetEatPiece(std::move(list));
}

} // namespace kavo
