#pragma once

namespace platform {

// Connects the services to the view layer: the application's openURL goes to
// UrlOpener. The application entry calls it once at start-up.
void installPlatformServices();

} // namespace platform
