#include "tests/app/ShellTestSupport.h"

#include "app/MailStore.h"
#include "app/MailboxReadAhead.h"
#include "app/UIController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace kavo::test {

namespace {

void resetViews() {
    KavoOnlineAppDelegate::getInstance().reset();
    platform::ui::OverlayStack::reset();
    platform::ui::Window::resetAll();
    platform::ui::Application::shared().reset();
    platform::ui::Responder::forgetFirstResponder();
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

} // namespace

void ShellTest::SetUp() {
    environment_ = std::make_unique<AppEnvironment>();
    clock_ = std::make_unique<platform::ScopedManualClock>();
    resetViews();
    UIController::signOutListMessage();
    MailStore::shared().reset(); // no save timing carried over from another test
    MailboxReadAhead::shared().reset();
}

void ShellTest::TearDown() {
    resetViews();
    UIController::signOutListMessage();
    platform::RunLoop::main().reset();
    clock_.reset();
    environment_.reset();
}

void ShellTest::resetForRelaunch() {
    resetViews();
    platform::RunLoop::main().reset();
}

void ShellTest::launch(platform::ui::ViewControllerPtr root) {
    if (!root) root = std::make_shared<KavoViewController>();
    delegate().setRootScreenMaker([root] { return root; });
    platform::ui::Application::shared().setDelegate(&delegate());
    platform::ui::Application::shared().launch();
    platform::RunLoop::main().runPending();
}

void ShellTest::push(const platform::ui::ViewControllerPtr& screen) {
    delegate().navigationController()->pushViewController(screen, false);
    platform::RunLoop::main().runPending();
}

platform::ui::ViewControllerPtr ShellTest::top() const {
    return KavoOnlineAppDelegate::getInstance().topViewController();
}

void ShellTest::advance(double seconds) {
    platform::RunLoop::main().advance(seconds);
}

} // namespace kavo::test
