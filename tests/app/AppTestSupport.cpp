#include "tests/app/AppTestSupport.h"

#include "app/widgets/CustomAlertBackground.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Window.h"
#include "tests/support/SourceDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kavo::test {

std::string sourceResources() {
    return sourceDir() + "/resources";
}

TempFolder::TempFolder() {
    std::string pattern = "/tmp/kavo-app-test-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::write(const std::string& relativePath, const std::string& content) const {
    std::filesystem::path file = std::filesystem::path(path_) / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
}

namespace {

// What is on screen lives for the process: a notice a test's timer opened, an alert's window, the
// window that has the keyboard. Dropped at both ends of a test, so that none meets another's.
void dropWhatIsShown() {
    platform::ui::OverlayStack::reset();
    CustomAlertBackground::sharedInstance()->reset();
    platform::ui::Window::resetAll();
    platform::ui::Application::shared().reset();
    platform::ui::Responder::forgetFirstResponder();
    platform::ui::Keyboard::reset();
}

} // namespace

AppEnvironment::AppEnvironment(const std::string& bundle) : previousBundle_(platform::Bundle::main().path()) {
    dropWhatIsShown();
    platform::Bundle::main().setMainPath(bundle);
    platform::ui::Image::clearCache();
    platform::setDataDirectory(data_.path());
    platform::UserDefaults::standard().reset();
    platform::RunLoop::main().reset();
    platform::RunLoop::main().bindToCurrentThread();
}

AppEnvironment::~AppEnvironment() {
    dropWhatIsShown();
    platform::RunLoop::main().reset();
    platform::UserDefaults::standard().reset();
    platform::ui::Image::clearCache();
    platform::Bundle::main().setMainPath(previousBundle_);
}

} // namespace kavo::test
