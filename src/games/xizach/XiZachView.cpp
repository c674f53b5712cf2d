#include "games/xizach/XiZachView.h"

#include "games/xizach/XiZachMessageHandler.h"

namespace kavo {

XiZachView::XiZachView() : GameCardView(XiZachMessageHandler::kGameType, "KAVO_xiZach") {}

} // namespace kavo
