#include "games/coup/CoUpView.h"

#include "games/coup/CoUpMessageHandler.h"

namespace kavo {

CoUpView::CoUpView() : GameTableView(CoUpMessageHandler::kGameType, "CoUpView", "KAVO_coUp") {}

} // namespace kavo
