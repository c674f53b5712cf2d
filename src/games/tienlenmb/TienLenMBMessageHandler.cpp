#include "games/tienlenmb/TienLenMBMessageHandler.h"

#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "portal/ReplyReader.h"
#include "table/cards/CardView.h"

namespace kavo {

namespace {

constexpr int kForceFinishCards = 13;

} // namespace

const std::shared_ptr<TienLenMBMessageHandler>& TienLenMBMessageHandler::getInstance() {
    static const std::shared_ptr<TienLenMBMessageHandler> instance = std::make_shared<TienLenMBMessageHandler>();
    return instance;
}

TienLenMBMessageHandler::TienLenMBMessageHandler()
    : TienLenMessageHandler(kGameType, "TienLenMBMessageHandler", TienLenMBLogicHandler::getInstance()) {}

void TienLenMBMessageHandler::readForceFinishCards(ReplyReader& reader, CardInfo& info) const {
    for (int i = 0; i < kForceFinishCards && reader.hasMore(); ++i)
        info.cards.push_back(uint8_t(reader.byte()));
}

} // namespace kavo
