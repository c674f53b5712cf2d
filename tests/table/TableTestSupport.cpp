#include "tests/table/TableTestSupport.h"

#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "platform/services/Pasteboard.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "table/registry/GameController.h"
#include "tests/support/SourceDir.h"
#include "tests/support/client/KeptSheets.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kavo::test {

namespace {

std::string sourceResources() {
    return sourceDir() + "/resources";
}

void resetViews() {
    KavoOnlineAppDelegate::getInstance().reset();
    platform::ui::OverlayStack::reset();
    platform::ui::Window::resetAll();
    platform::ui::Application::shared().reset();
    platform::ui::Responder::forgetFirstResponder();
    // A desktop test's window leaves no keyboard model behind for the next test.
    platform::ui::Keyboard::setModel(platform::ui::KeyboardModel::OnScreen);
    platform::ui::Keyboard::reset();
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

void resetAppState() {
    UIController::setMyInfo(nullptr);
    UIController::signOutListMessage();
    UIController::setGameType(0);
    GameController::reset();
    forgetKeptSheets();
}

} // namespace

::testing::AssertionResult SentMessages::sentOnce(int16_t commandId, const ByteVector& body) const {
    std::vector<RecordedMessage> matching;
    for (const auto& message : sent()) {
        if (message.commandId == commandId) matching.push_back(message);
    }
    if (matching.size() != 1)
        return ::testing::AssertionFailure() << "command " << commandId << " sent " << matching.size() << " times";
    if (matching.front().body != body)
        return ::testing::AssertionFailure() << "command " << commandId << " carried " << toHex(matching.front().body)
                                             << ", expected " << toHex(body);
    return ::testing::AssertionSuccess();
}

void TableTest::SetUp() {
    std::string pattern = "/tmp/kavo-table-test-XXXXXX";
    if (mkdtemp(pattern.data())) dataFolder_ = pattern;
    previousBundle_ = platform::Bundle::main().path();
    platform::Bundle::main().setMainPath(sourceResources());
    platform::setDataDirectory(dataFolder_);
    platform::UserDefaults::standard().reset();
    platform::RunLoop::main().reset();
    platform::RunLoop::main().bindToCurrentThread();
    clock_ = std::make_unique<platform::ScopedManualClock>();
    platform::DeviceFacts facts;
    facts.model = "iPhone";
    facts.systemVersion = "6.1";
    platform::Device::setForTesting(facts);
    platform::UrlOpener::clearRecord();
    platform::UrlOpener::setBrowserLauncher([](const std::string&) { return false; });
    platform::Pasteboard::general().clear();
    resetViews();
    platform::ui::Screen::setIdiom(idiom());
    resetAppState();
    Resources::getInstance().setCurrentLanguage(language());
    Resources::getInstance().loadLanguage();
    GlobalService::getInstance().setSession(&client);
    launch();
    UIController::setInviting(true);
}

void TableTest::launch() {
    auto root = std::make_shared<KavoViewController>();
    auto& delegate = KavoOnlineAppDelegate::getInstance();
    delegate.setRootScreenMaker([root] { return root; });
    platform::ui::Application::shared().setDelegate(&delegate);
    platform::ui::Application::shared().launch();
    runMainThread();
}

void TableTest::relaunchAs(platform::ui::Idiom device) {
    platform::ui::Window::resetAll();
    platform::ui::OverlayStack::reset();
    platform::ui::Application::shared().reset();
    KavoOnlineAppDelegate::getInstance().reset();
    platform::ui::Screen::setIdiom(device);
    launch();
}

void TableTest::TearDown() {
    runMainThread();
    resetViews();
    resetAppState();
    GlobalService::getInstance().setSession(nullptr);
    platform::RunLoop::main().reset();
    clock_.reset();
    platform::UrlOpener::setBrowserLauncher(nullptr);
    platform::Device::resetForTesting();
    platform::UserDefaults::standard().reset();
    platform::Bundle::main().setMainPath(previousBundle_);
    std::error_code ignored;
    if (!dataFolder_.empty()) std::filesystem::remove_all(dataFolder_, ignored);
}

void TableTest::push(const platform::ui::ViewControllerPtr& screen) {
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(screen, false);
    runMainThread();
}

platform::ui::ViewControllerPtr TableTest::top() const {
    return KavoOnlineAppDelegate::getInstance().topViewController();
}

void TableTest::drive(const std::string& script) {
    std::ostringstream log;
    platform::automation::Driver driver(&log);
    auto result = driver.run(script);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log.str();
    runMainThread();
}

void TableTest::press(const std::string& title) {
    auto dialog = UIController::currentDialog();
    ASSERT_TRUE(dialog) << "no dialog on screen to press " << title;
    for (int index = 0; index < dialog->numberOfButtons(); ++index) {
        if (dialog->buttonTitleAtIndex(index) != title) continue;
        auto button = dialog->buttonAtIndex(index);
        ASSERT_TRUE(button);
        const platform::ui::Point point = button->convertPoint(button->bounds().center(), nullptr);
        auto& app = platform::ui::Application::shared();
        app.dispatchTouch(platform::ui::TouchPhase::Began, point);
        app.dispatchTouch(platform::ui::TouchPhase::Ended, point);
        runMainThread();
        return;
    }
    FAIL() << "the dialog \"" << dialog->message() << "\" has no button " << title;
}

std::string TableTest::dialogText() const {
    auto dialog = UIController::currentDialog();
    return dialog ? dialog->message() : std::string();
}

void TableTest::expectReadable(const std::string& screen, const platform::ui::View* only,
                               const std::vector<std::string>& forced) {
    ASSERT_TRUE(platform::render::Renderer::writeScreenshot(screen)) << screen;
    auto image = platform::ui::Image::fromFile(screen);
    ASSERT_TRUE(image) << screen;
    EXPECT_EQ(image->width(), int(platform::ui::Screen::size().width)) << screen;
    std::vector<std::string> findings = unreadableTexts(only);
    std::erase_if(findings, [&](const std::string& finding) {
        return std::any_of(forced.begin(), forced.end(), [&](auto& own) { return finding.find(own) != finding.npos; });
    });
    EXPECT_EQ(describe(findings), "") << screen;
}

void TableTest::receiveReply(int16_t command, const Bytes& body) {
    Message message = body.message(command);
    GlobalMessageHandler::getInstance().onMessage(message);
    runMainThread();
}

void TableTest::receiveGift(int32_t from, int32_t item, int32_t to) {
    const auto png = platform::readFile(sourceResources() + "/images/av0.png");
    ASSERT_TRUE(png);
    receiveReply(79, Bytes().byte(4).int32(item).int16(int16_t(png->size())).raw(*png));
    receiveReply(101, Bytes().byte(7).byte(0).int32(from).int32(item).int32(to));
    platform::RunLoop::main().advance(1.05); // the flight to the seat's gift button
    runMainThread();
}

void TableTest::receiveUnreadMail() {
    auto mail = std::make_shared<KavoMessage>();
    mail->setType(4);
    mail->setTime(1);
    mail->setFromName("admin");
    mail->setMessage("Chào mừng");
    UIController::addItemsIntoListMessage({mail});
    // As a mail's arrival does: the screen on top counts it.
    if (auto screen =
            std::dynamic_pointer_cast<KavoViewController>(KavoOnlineAppDelegate::getInstance().topViewController()))
        screen->reloadMessages();
    runMainThread();
}

std::string TableTest::text(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

void TableTest::runMainThread() {
    while (platform::RunLoop::main().runPending() > 0) {
    }
}

} // namespace kavo::test
