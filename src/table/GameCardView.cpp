#include "table/GameCardView.h"

namespace kavo {

// The six card tables share the one four-seat layout.
GameCardView::GameCardView(int8_t gameType, std::string titleKey)
    : GameTableView(gameType, "TienLenView", std::move(titleKey)) {}

} // namespace kavo
