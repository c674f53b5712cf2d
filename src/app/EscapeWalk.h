#pragma once

#include "app/EscapeTarget.h"

#include <map>
#include <string>

namespace platform::ui {
class ViewController;
}

namespace kavo {

// Escape over the top screen, where no dialog is up: the one walk every screen goes
// through. The screen's views are walked front to back, what lies over a view before
// the view, and the overlay in front closes (Overlay.h: the first open EscapeTarget, the
// view itself or the controller whose view it is; a panel a screen draws itself, such as
// a table's seat menu, is a closing view). A panel laid over the screen that declares no
// close stays: Escape passes over it, and the player closes it by its own buttons. Hidden
// views and what they hold are passed over. Main thread only.
class EscapeWalk {
public:
    // closed when something closed, keepsEscape when the topmost open target keeps Escape,
    // notOpen when nothing took it.
    static EscapeAnswer closeTopmost(platform::ui::ViewController& screen);
    // How often Escape has closed each kind of target in this process: by the target's
    // class without the "kavo::" namespace ("ShopViewDetail", a sheet's "SettingsView", a
    // nested class's "Outer::Inner"), or a closing view's name ("ProfileSubView.cpp
    // actionSheet"). The walk test checks them against the code.
    static const std::map<std::string, int>& closedKinds();
    // How often each kind of target kept Escape (closing nothing), by the same names.
    static const std::map<std::string, int>& keptKinds();
};

} // namespace kavo
