#include "app/RememberedLogin.h"

#include "platform/foundation/UserDefaults.h"

namespace kavo {

void RememberedLogin::signInAttemptEnded() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.boolForKey("savednextLogin") || defaults.stringForKey("password").empty()) return;
    defaults.setString("", "password");
    defaults.synchronize();
}

} // namespace kavo
