#include "platform/services/PlatformServices.h"

#include "platform/services/UrlOpener.h"
#include "platform/ui/Application.h"

namespace platform {

void installPlatformServices() {
    ui::Application::setUrlOpener([](const std::string& url) { return UrlOpener::openURL(url); });
}

} // namespace platform
