#include "games/phom/PhomNewView.h"

#include "games/phom/PhomNewMessageHandler.h"

namespace kavo {

PhomNewView::PhomNewView() : GameCardView(PhomNewMessageHandler::kGameType, "KAVO_phom") {}

} // namespace kavo
