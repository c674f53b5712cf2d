#include "games/maubinh/MauBinhLogicHandler.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/widgets/MenuView.h"

namespace kavo {

MauBinhLogicHandler& MauBinhLogicHandler::getInstance() {
    static MauBinhLogicHandler instance;
    return instance;
}

void MauBinhLogicHandler::doSetLimitTime(int seconds) {
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    if (!top || !top->isViewLoaded()) return;
    for (const auto& subview : top->view()->subviews()) {
        if (auto menu = std::dynamic_pointer_cast<MenuView>(subview)) {
            menu->setTimerTime(seconds);
            return;
        }
    }
}

} // namespace kavo
