#include "app/UIController.h"

#include "app/CustomAlertView.h"
#include "app/MailStore.h"
#include "app/MailboxReadAhead.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Screen.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

namespace kavo {

namespace {

struct SharedState {
    std::mutex mutex;
    std::shared_ptr<Player> myInfo = std::make_shared<Player>();
    std::string gameTitle;
    std::string serverInfo;

    std::atomic<int8_t> gameType{0};
    std::atomic<bool> rung{false};
    std::atomic<bool> inviting{false};
    std::atomic<bool> sound{false};

    // Main thread only.
    std::shared_ptr<platform::ui::Button> btnAlertMessage;
};

SharedState& state() {
    static SharedState shared;
    return shared;
}

} // namespace

UIController& UIController::getInstance() {
    static UIController instance;
    return instance;
}

std::shared_ptr<Player> UIController::myInfo() {
    std::lock_guard lock(state().mutex);
    return state().myInfo;
}

void UIController::setMyInfo(std::shared_ptr<Player> player) {
    std::lock_guard lock(state().mutex);
    state().myInfo = player ? std::move(player) : std::make_shared<Player>();
}

std::string UIController::gameTitle() {
    std::lock_guard lock(state().mutex);
    return state().gameTitle;
}

void UIController::setGameTitle(std::string title) {
    std::lock_guard lock(state().mutex);
    state().gameTitle = std::move(title);
}

std::string UIController::serverInfo() {
    std::lock_guard lock(state().mutex);
    return state().serverInfo;
}

void UIController::setServerInfo(std::string info) {
    std::lock_guard lock(state().mutex);
    state().serverInfo = std::move(info);
}

void UIController::showNotice(const std::string& text) {
    startOKDlg(text);
}

void UIController::postNotice(std::string text) {
    platform::runOnMainThread([text = std::move(text)] { showNotice(text); });
}

int UIController::kindOfDialog() {
    KAVO_ASSERT_MAIN_THREAD();
    for (const auto& alert : platform::ui::AlertView::visibleAlerts()) {
        const auto dialog = std::dynamic_pointer_cast<CustomAlertView>(alert);
        if (dialog && dialog->action().code == kActionInvitation) return 1;
    }
    return 0;
}

int8_t UIController::gameType() {
    return state().gameType.load();
}
void UIController::setGameType(int8_t type) {
    state().gameType.store(type);
}

bool UIController::rung() {
    return state().rung.load();
}
void UIController::setRung(bool on) {
    state().rung.store(on);
}
bool UIController::inviting() {
    return state().inviting.load();
}
void UIController::setInviting(bool on) {
    state().inviting.store(on);
}
bool UIController::sound() {
    return state().sound.load();
}
void UIController::setSound(bool on) {
    state().sound.store(on);
}

void UIController::playMusicBackground() {
    if (!sound()) return;
    // Registered once: the track's id lives as long as the process.
    static const platform::SoundId track = [] {
        const std::string path = platform::Bundle::main().pathForResource(std::string("sounds/") + kMusicFile, "");
        if (path.empty()) platform::log("no background music " + std::string(kMusicFile));
        return path.empty() ? platform::SoundId(0) : platform::SystemSound::registerSound(path);
    }();
    if (track != 0) platform::SystemSound::playLooping(track);
}

void UIController::stopMusicBackgrond() {
    platform::SystemSound::stopLooping();
}

int UIController::screenWidth() {
    return platform::ui::Screen::isTablet() ? 1024 : 480;
}
int UIController::screenHeight() {
    return platform::ui::Screen::isTablet() ? 768 : 320;
}

KavoMessageList UIController::listMessage() {
    return MailStore::shared().list();
}

size_t UIController::listMessageCount() {
    return MailStore::shared().count();
}

void UIController::setListMessage(KavoMessageList messages) {
    MailStore::shared().replace(messages);
}

bool UIController::addItemIntoListMessage(std::shared_ptr<KavoMessage> message) {
    if (!message) return false;
    return !MailStore::shared().addToFront({std::move(message)}).empty();
}

KavoMessageList UIController::addItemsIntoListMessage(const KavoMessageList& messages) {
    return MailStore::shared().addToFront(messages);
}

void UIController::removeItemIntoListMessage(const std::shared_ptr<KavoMessage>& message) {
    if (message) MailStore::shared().removeMessages({message});
}

void UIController::removeItemsIntoListMessage(const KavoMessageList& messages) {
    MailStore::shared().removeMessages(messages);
}

void UIController::removeAllAddFriendMessagesIntoListMessage() {
    MailStore::shared().removeFriendRequests();
}

void UIController::markItemsReadIntoListMessage(const KavoMessageList& messages) {
    MailStore::shared().markRead(messages);
}

KavoMessageList UIController::listMessageWithFilter(int32_t type) {
    return MailStore::shared().withType(type);
}

StoredMailbox UIController::readListMessage(int32_t iddb) {
    return MailboxReadAhead::shared().take(iddb);
}

bool UIController::isCurrentListMessage(const StoredMailbox& stored) {
    return MailStore::shared().isCurrent(stored);
}

bool UIController::restoreListMessage(StoredMailbox& stored) {
    return MailStore::shared().restore(stored);
}

bool UIController::restoreListMessage(StoredMailbox&& stored) {
    return MailStore::shared().restore(stored);
}

void UIController::markAllListMessageSeen() {
    MailStore::shared().markAllSeen();
}

void UIController::signOutListMessage() {
    MailStore::shared().signOut();
}

bool UIController::flushListMessage() {
    return MailStore::shared().flush();
}

std::shared_ptr<platform::ui::Button> UIController::btnAlertMessage() {
    return state().btnAlertMessage;
}

void UIController::setBtnAlertMessage(std::shared_ptr<platform::ui::Button> button) {
    state().btnAlertMessage = std::move(button);
}

std::optional<int32_t> UIController::listMessageOwner() {
    return MailStore::shared().owner();
}

std::string UIController::listMessageKey(int32_t iddb) {
    return "SAVED_OLD_MESSAGE_OF_" + std::to_string(iddb);
}

std::string UIController::readMailKey(int32_t iddb) {
    return "READ_MESSAGE_OF_" + std::to_string(iddb);
}

} // namespace kavo
