#pragma once

#include <string>

namespace kavo {

// Every page the client opens outside itself goes through here: the more-games page, a new
// version's download, the server's links (a top-up page), a call to the support line. When
// nothing on this machine can open the address (no browser, no telephone), the player is
// told so in his language, with the address (a call: the number to ring), rather than
// nothing happening at all. Main thread only.
class PageOpener {
public:
    // True when the address was handed to something that shows it.
    static bool open(const std::string& address);
    // The notice the player reads when `address` cannot be opened here.
    static std::string cannotOpenText(const std::string& address);
};

} // namespace kavo
