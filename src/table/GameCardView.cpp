#include "table/GameCardView.h"

#include "table/MauBinhResultView.h"
#include "table/menuCuoc.h"

namespace kavo {

// The six card tables share the one four-seat layout.
GameCardView::GameCardView(int8_t gameType, std::string titleKey)
    : GameTableView(gameType, "TienLenView", std::move(titleKey)),
      mauBinhResultView_(std::make_shared<MauBinhResultView>()) {}

void GameCardView::showCuoc() {
    openSheet(betView());
}

} // namespace kavo
