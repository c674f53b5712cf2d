#include "app/TopScreen.h"

#include "app/KavoOnlineAppDelegate.h"

namespace kavo {

platform::ui::ViewControllerPtr topScreen() {
    return KavoOnlineAppDelegate::getInstance().topViewController();
}

} // namespace kavo
