#pragma once

#include <map>
#include <string>

namespace platform::ui {
class ViewController;
}

namespace kavo {

// Escape over the top screen, where no dialog is up: the one walk every screen goes
// through. The screen's views are walked front to back, what lies over a view before
// the view, and the first thing that closes on Escape and is open closes (an
// EscapeTarget: the view itself, or the controller whose view it is; a panel a screen
// draws itself, such as a table's seat menu, is a closing view). A panel laid over the
// screen by a controller that says nothing of Escape goes at once. Hidden views and
// what they hold are passed over. Main thread only.
class EscapeWalk {
public:
    // True when something closed.
    static bool closeTopmost(platform::ui::ViewController& screen);
    // How often Escape has closed each kind of target in this process: by the target's
    // class ("ShopViewDetail", a sheet's "SettingsView"), or a closing view's name
    // ("ProfileSubView.cpp actionSheet"). The walk test checks them against the code.
    static const std::map<std::string, int>& closedKinds();
};

} // namespace kavo
