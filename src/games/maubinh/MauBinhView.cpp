#include "games/maubinh/MauBinhView.h"

#include "games/maubinh/MauBinhMessageHandler.h"
#include "games/maubinh/MauBinhService.h"

namespace kavo {

MauBinhView::MauBinhView() : GameCardView(MauBinhMessageHandler::kGameType, "KAVO_MauBinh") {}

void MauBinhView::clearView() {
    ++clearCount_;
    setIsPlaying(false);
}

void MauBinhView::setLimitTime(int choice) {
    MauBinhService::getInstance().doSetLimitTime(choice, roomId(), boardId());
}

} // namespace kavo
