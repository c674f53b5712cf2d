#include "games/baicao/BaiCaoView.h"

#include "games/baicao/BaiCaoMessageHandler.h"

namespace kavo {

BaiCaoView::BaiCaoView() : GameCardView(BaiCaoMessageHandler::kGameType, "KAVO_baicao") {}

} // namespace kavo
