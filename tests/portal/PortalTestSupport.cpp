#include "tests/portal/PortalTestSupport.h"

#include "app/MailStore.h"
#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "tests/support/SourceDir.h"
#include "tests/support/TestHttpServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kavo::test {

TempFolder::TempFolder() {
    std::string pattern = "/tmp/kavo-portal-test-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

namespace {

// The bundle every portal test reads: the source tree's resources, with the addresses the
// shipped files name (where a portal stub started by hand answers) turned to a web server of
// this process, which answers "not found" to every path. One for the process: the
// configuration is read once.
class PortalBundle {
public:
    static const std::string& path() {
        static PortalBundle bundle;
        return bundle.folder_.path();
    }

private:
    PortalBundle() {
        namespace fs = std::filesystem;
        const fs::path source = sourceDir() + "/resources";
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(source, ignored)) {
            const fs::path target = fs::path(folder_.path()) / entry.path().filename();
            if (entry.is_directory()) {
                fs::create_directory_symlink(fs::absolute(entry.path()), target, ignored);
                continue;
            }
            std::ofstream(target) << shippedResourceServedBy(entry.path().filename().string(), http_.url(""));
        }
    }

    TestHttpServer http_;
    TempFolder folder_;
};

void resetAppState() {
    UIController::setMyInfo(nullptr);
    UIController::signOutListMessage();
    MailStore::shared().reset(); // no save timing carried over from another test
    MailboxReadAhead::shared().reset();
    UIController::setGameType(0);
    UIController::setInviting(true);
    UIController::closeDialog();
    GlobalMessageHandler::getInstance().setGameMessageHandler(nullptr);
    GlobalMessageHandler::getInstance().setGlobalLogicHandler(nullptr);
    GlobalService::getInstance().setConnectOKListener(nullptr);
}

} // namespace

PortalEnvironment::PortalEnvironment() {
    platform::Bundle::main().setMainPath(PortalBundle::path());
    platform::setDataDirectory(data_.path());
    platform::UserDefaults::standard().reset();
    platform::RunLoop::main().reset();
    platform::RunLoop::main().bindToCurrentThread();
    platform::DeviceFacts facts;
    facts.model = "iPhone";
    facts.systemVersion = "6.1";
    facts.uniqueIdentifier = "device-1";
    facts.carrierName = "";
    facts.networkStatus = platform::NetworkStatus::ReachableViaWiFi;
    platform::Device::setForTesting(facts);
    resetAppState();
    // The process's one Resources reads the language default once, when a test first asks for
    // it: a test that stored another language before then would leave every later test
    // speaking it. Each test starts speaking the language of a fresh install.
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();
    GlobalService::getInstance().setSession(&client_);
}

PortalEnvironment::~PortalEnvironment() {
    runMainThread();
    GlobalService::getInstance().setSession(nullptr);
    resetAppState();
    platform::RunLoop::main().reset();
    platform::Device::resetForTesting();
    platform::UserDefaults::standard().reset();
}

void PortalEnvironment::runMainThread() {
    while (platform::RunLoop::main().runPending() > 0) {
    }
}

void deliver(int16_t commandId, const ByteVector& body) {
    Message message(commandId, body);
    GlobalMessageHandler::getInstance().onMessage(message);
}

ByteVector prefix(const ByteVector& body, size_t length) {
    return ByteVector(body.begin(), body.begin() + std::min(length, body.size()));
}

ByteVector sourceFileBytes(const std::string& path) {
    std::ifstream file(sourceDir() + "/" + path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace kavo::test
