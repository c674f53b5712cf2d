#include "tests/support/client/ClientTestSupport.h"

#include "account/ShopView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/MailStore.h"
#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "lobby/ServerView.h"
#include "net/MobileClient.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "portal/DispatchRecord.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "tests/support/Bytes.h"
#include "tests/support/MarkerCommand.h"
#include "tests/support/Sockets.h"
#include "tests/support/SourceDir.h"
#include "tests/support/client/KeptSheets.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kavo::test {

namespace fs = std::filesystem;

namespace {

// A benchmark that stores the portal's address in a data folder before the client starts
// names the port in KAVO_TEST_PORTAL_PORT; otherwise the portal takes a free one.
uint16_t portalPort() {
    const char* given = std::getenv("KAVO_TEST_PORTAL_PORT");
    const long port = given ? std::strtol(given, nullptr, 10) : 0;
    return port > 0 && port <= 65535 ? uint16_t(port) : 0;
}

std::string sourceResources() {
    return sourceDir() + "/resources";
}

std::string makeTempFolder(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

void resetViews() {
    platform::ui::OverlayStack::reset();
    platform::ui::Window::resetAll();
    platform::ui::Application::shared().reset();
    platform::ui::Responder::forgetFirstResponder();
    platform::ui::Keyboard::reset();
    // A desktop test's window leaves no keyboard model behind for the next test.
    platform::ui::Keyboard::setModel(platform::ui::KeyboardModel::OnScreen);
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

void noAnswer(Message&, TestPortal::Reply&) {}

} // namespace

// ---------------------------------------------------------------- world

ClientWorld& ClientWorld::get() {
    static ClientWorld world;
    return world;
}

ClientWorld::ClientWorld() : portal_(portalPort()) {
    bundlePath_ = makeTempFolder("kavo-client-bundle");
    const fs::path source = sourceResources();
    const fs::path bundle = bundlePath_;
    std::error_code ignored;
    for (const char* file : {"vi.plist", "en.plist", "emotions.plist"})
        fs::copy_file(source / file, bundle / file, ignored);
    // The social network's addresses name this process's web server, not the shipped one
    // (which a portal stub started by hand may be answering on).
    writeFile(bundle / "Info.plist", shippedResourceServedBy("Info.plist", http_.url("")));
    for (const char* folder : {"images", "sounds"})
        fs::create_directory_symlink(fs::absolute(source / folder), bundle / folder, ignored);
    const std::string port = std::to_string(portal_.port());
    writeFile(bundle / "KavoOnlineConfig.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
              "\t<key>Server</key>\n\t<string>127.0.0.1</string>\n"
              "\t<key>Port</key>\n\t<integer>" +
                  port +
                  "</integer>\n"
                  "\t<key>LinkServer</key>\n\t<string>" +
                  http_.url("/servers.txt") +
                  "</string>\n"
                  "\t<key>ServerName</key>\n\t<string>" +
                  defaultServerList() +
                  "</string>\n"
                  "\t<key>AppStore</key>\n\t<true/>\n"
                  "\t<key>Hotline</key>\n\t<string>19001234</string>\n"
                  "\t<key>LinkEvent</key>\n\t<string>" +
                  http_.url("/event.html") +
                  "</string>\n"
                  "\t<key>LinkGuide</key>\n\t<string>" +
                  http_.url("/guide.html") + "</string>\n</dict>\n</plist>\n");
    platform::Bundle::main().setMainPath(bundlePath_);
}

ClientWorld::~ClientWorld() {
    std::error_code ignored;
    if (!bundlePath_.empty()) fs::remove_all(bundlePath_, ignored);
}

std::string ClientWorld::defaultServerList() const {
    return serverListNaming(portal_.port());
}

std::string ClientWorld::serverListNaming(uint16_t port) {
    return std::string(kServerName) + "|127.0.0.1:" + std::to_string(port);
}

bool ClientWorld::configurationMatches() const {
    return Resources::getInstance().configString("LinkServer") == http_.url("/servers.txt");
}

void ClientWorld::installDefaultPortalHandlers() {
    for (int16_t command : {1702, 72, 73, 221, 2800, 35, 2301, 2304, 61, 2700, 8, 28, 1900, 1901, 2702, 29, 104})
        portal_.onCommand(command, noAnswer);
    portal_.onAnyCommand(noAnswer);
    portal_.onCommand(222, [](Message&, TestPortal::Reply& reply) { reply.send(220, Bytes().byte(1)); });
    portal_.onCommand(1, [](Message&, TestPortal::Reply& reply) {
        reply.send(3, Bytes().int32(kPlayerId).int64(kPlayerMoney).int16(3).int32(1500));
    });
}

void ClientWorld::resetPortalHandlers() {
    portal_.dropHandlers(kStateWait);
    installDefaultPortalHandlers();
}

uint16_t deadLoopbackPort() {
    uint16_t port = 0;
    Fd listener = listenOnLoopback(port);
    return port; // closed when `listener` goes: nobody listens there any more
}

// ---------------------------------------------------------------- the configuration

namespace {

// The client reads its configuration once, from the bundle in force when it first asks: a test
// that made a screen on its own before any fixture ran would leave every later test of the program
// without the world's servers and texts. Read from the world's bundle before the first test, with
// the user defaults in a folder of the run's own.
class WorldConfiguration : public ::testing::Environment {
public:
    void SetUp() override {
        data_ = makeTempFolder("kavo-client-config");
        platform::setDataDirectory(data_);
        platform::UserDefaults::standard().reset();
        platform::Bundle::main().setMainPath(ClientWorld::get().bundlePath());
        Resources::getInstance();
    }
    void TearDown() override {
        std::error_code ignored;
        if (!data_.empty()) fs::remove_all(data_, ignored);
    }

private:
    std::string data_;
};

[[maybe_unused]] ::testing::Environment* const kWorldConfiguration =
    ::testing::AddGlobalTestEnvironment(new WorldConfiguration);

} // namespace

// ---------------------------------------------------------------- fixture

void ClientFixture::SetUp() {
    ClientWorld& world = ClientWorld::get();
    clock_ = std::make_unique<platform::ScopedManualClock>();
    platform::RunLoop::main().bindToCurrentThread();
    platform::RunLoop::main().reset();
    resetViews();

    dataPath_ = makeTempFolder("kavo-client-data");
    platform::setDataDirectory(dataPath_);
    platform::UserDefaults::standard().reset();
    platform::Bundle::main().setMainPath(world.bundlePath());
    platform::ui::Image::clearCache();
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();

    world.installDefaultPortalHandlers();
    world.portal().clearMessages();
    // A request an earlier test made once its connection had ended (a hop of its last
    // connection's OK) waits in the client's queue, and would go out first on this test's.
    if (const size_t left = MobileClient::getInstance().queuedMessageCount())
        platform::log("test set-up: " + std::to_string(left) + " message(s) an earlier test queued, dropped");
    MobileClient::getInstance().forgetQueuedMessages();
    world.http().reset(); // no answers or requests left by an earlier test
    GlobalService::setIP("127.0.0.1");
    GlobalService::setPORT(world.portal().port());
    ServerView::resetInstance();
    // The shop is kept for the process and asks for its channels once: each test a new one.
    ShopView::getInstance()->resetForTesting();
    // So is the mailbox, its layout made for the kind of device of the test that first showed it.
    MessageView::getInstance()->resetForTesting();
    forgetKeptSheets();
    UIController::setMyInfo(nullptr);
    UIController::signOutListMessage();
    MailStore::shared().reset(); // no save timing carried over from another test
    MailboxReadAhead::shared().reset();
    DispatchRecord::shared().start(); // clientCaughtUp() reads it
}

void ClientFixture::TearDown() {
    DispatchRecord::shared().stop();
    MobileClient::getInstance().manualDisconnect();
    EXPECT_TRUE(portal().waitForClientGone(kStateWait)) << "the portal still serves the client after its disconnect";
    // A reader thread still inside a reply it read before the end (a sign-in waiting for
    // its stored mailbox, a hop to this thread) would otherwise run on into the next test,
    // or past the end of the program into objects that static destruction took away.
    const bool left =
        platform::RunLoop::main().runUntil([] { return MobileClient::getInstance().threadsGone(); }, kStateWait);
    EXPECT_TRUE(left) << "the connection's threads did not leave";
    // The test's handlers may hold the fixture; none may run once it goes, and the next
    // test must not meet them.
    ClientWorld::get().resetPortalHandlers();
    GlobalService::getInstance().setConnectOKListener(nullptr);
    KavoOnlineAppDelegate::getInstance().reset();
    ServerView::resetInstance();
    resetViews();
    platform::RunLoop::main().reset();
    UIController::signOutListMessage();
    MailboxReadAhead::shared().reset();
    platform::UserDefaults::standard().reset();
    std::error_code ignored;
    if (!dataPath_.empty()) fs::remove_all(dataPath_, ignored);
    clock_.reset();
}

void ClientFixture::launch() {
    auto& delegate = KavoOnlineAppDelegate::getInstance();
    delegate.reset();
    platform::ui::Application::shared().setDelegate(&delegate);
    platform::ui::Application::shared().launch();
    platform::RunLoop::main().runPending();
}

void ClientFixture::answerShopItems() {
    portal().onCommand(101, [](Message& request, TestPortal::Reply& reply) {
        const int8_t sub = request.readByte();
        if (sub != 21) return;
        Bytes answer;
        answer.byte(sub).int32(1);
        if (request.readByte() == 0) answer.int32(101).utf("Hoa hong").int32(3000).utf("").boolean(false);
        reply.send(101, answer);
    });
}

bool ClientFixture::signInByReply() {
    launch();
    const int connections = portal().connectionCount();
    GlobalService::getInstance().connect();
    if (!portal().waitForConnections(connections + 1, kStateWait)) return false;
    Bytes signedIn;
    signedIn.int32(ClientWorld::kPlayerId).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500);
    if (!portal().sendToClient(signedIn.message(3))) return false;
    return platform::RunLoop::main().runUntil(
        [] {
            return bool(std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController()));
        },
        kStateWait);
}

bool ClientFixture::signInToGameGrid() {
    const bool onGrid = signInByReply();
    if (onGrid) advance(0.4);
    return onGrid;
}

platform::automation::DriverResult ClientFixture::drive(const std::string& script) {
    platform::automation::Driver driver(&log_);
    return driver.run(script);
}

::testing::AssertionResult ClientFixture::drives(const std::string& script) {
    const auto result = drive(script);
    if (result.ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result.message << "\n" << log();
}

void ClientFixture::advance(double seconds) {
    platform::RunLoop::main().runPending();
    platform::RunLoop::main().advance(seconds);
    platform::RunLoop::main().runPending();
}

void ClientFixture::runPosted() {
    // A closure that posts itself again for ever would keep it here: it is a bound, not a pace.
    for (int round = 0; round < 10000 && platform::RunLoop::main().runPending() > 0; ++round) {
    }
}

std::string ClientFixture::text(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

std::string ClientFixture::dialogText() {
    const auto alerts = platform::ui::AlertView::visibleAlerts();
    return alerts.empty() ? std::string() : alerts.back()->message();
}

void ClientFixture::storeServerList(const std::string& list) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(list, ServerView::kServerDataKey);
    defaults.synchronize();
}

std::string ClientFixture::portalEntry(const std::string& name) {
    return name + "|127.0.0.1:" + std::to_string(ClientWorld::get().portal().port());
}

bool ClientFixture::waitForCommand(int16_t commandId, double timeout) {
    return platform::RunLoop::main().runUntil([&] { return !portal().messages(commandId).empty(); }, timeout);
}

bool ClientFixture::clientCaughtUp() {
    const auto& notes = DispatchRecord::shared().commands();
    const auto markers = [&] { return std::count(notes.begin(), notes.end(), kMarkerCommand); };
    const auto before = markers();
    if (!portal().sendToClient(Message(kMarkerCommand))) return false;
    if (!platform::RunLoop::main().runUntil([&] { return markers() > before; }, kStateWait)) return false;
    runPosted();
    return true;
}

bool ClientFixture::portalCaughtUp() {
    runPosted();
    const size_t before = portal().messages(kMarkerCommand).size();
    GlobalService::getInstance().session().sendMessage(Message(kMarkerCommand));
    return platform::RunLoop::main().runUntil([&] { return portal().messages(kMarkerCommand).size() > before; },
                                              kStateWait);
}

std::vector<int16_t> ClientFixture::commands() const {
    std::vector<int16_t> ids;
    for (const auto& message : ClientWorld::get().portal().messages())
        ids.push_back(message.commandId);
    return ids;
}

} // namespace kavo::test
