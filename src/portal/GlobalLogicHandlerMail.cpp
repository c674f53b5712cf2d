#include "account/ProfileSubView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/FlyTextInfo.h"
#include "social/ChatView.h"
#include "social/MessageView.h"

// Main-thread twins of chat, mail and presents.

namespace kavo {

namespace {

// The shared mailbox while it is shown over the top screen (the grid or the board list
// lay it over themselves). nullptr when it is not.
std::shared_ptr<MessageView> mailboxOverTop() {
    const auto& panel = MessageView::getInstance();
    if (panel && panel->isViewLoaded() && panel->view()->window() && panel->view()->isVisibleOnScreen()) return panel;
    return nullptr;
}

// The mailbox the player is looking at: the mailbox screen on top, or the mailbox panel
// shown over the top screen. nullptr when neither.
std::shared_ptr<MessageView> openMailbox() {
    if (auto screen = topScreenAs<MessageView>()) return screen;
    return mailboxOverTop();
}

// The top screen's mail badge follows the mailbox.
void reloadBadgeOnTop() {
    if (auto screen = topScreenAs<KavoViewController>()) screen->reloadMessages();
}

// The unread-mail button of a screen goes once the mail is in the mailbox.
void dropAlertMessageButton() {
    if (auto button = UIController::btnAlertMessage()) {
        button->removeFromSuperview();
        UIController::setBtnAlertMessage(nullptr);
    }
}

} // namespace

void GlobalLogicHandler::onViewControllerChatFromWithMessage(const std::shared_ptr<KavoMessage>& message) {
    KAVO_ASSERT_MAIN_THREAD();
    if (!message) return;
    // A mailbox screen on top takes it itself (and puts it in the app-wide list); the
    // shared mailbox shown over the top screen hands it to the open conversation, as new
    // mail goes. On every other screen, the board list included, it goes into the mailbox
    // so that no private message is lost.
    if (auto screen = topScreenAs<MessageView>()) {
        screen->onNewMessage(message);
    } else if (auto shared = mailboxOverTop()) {
        shared->onChatWithMessage(message);
    } else {
        UIController::addItemIntoListMessage(message);
        dropAlertMessageButton();
    }
    reloadBadgeOnTop();
}

void GlobalLogicHandler::onChatOnRoom(const std::shared_ptr<KavoMessage>& /*message*/) {}

void GlobalLogicHandler::setListNewMessage(const KavoMessageList& messages) {
    KAVO_ASSERT_MAIN_THREAD();
    auto top = topScreen();
    if (messages.empty()) {
        dropAlertMessageButton();
        KavoOnlineAppDelegate::getInstance().reloadNewMails(top.get());
        return;
    }
    const auto& newest = messages.front();
    if (auto mailbox = openMailbox()) {
        // Every message of the batch reaches the open mailbox, not only the newest.
        for (const auto& message : messages)
            if (message) mailbox->onChatWithMessage(message);
        return;
    }
    // On the game grid, an open profile chat with the sender shows the newest line.
    if (auto grid = std::dynamic_pointer_cast<GameView>(top); grid && grid->_hasProfileSubView()) {
        const auto& profile = grid->profileSubView();
        const auto& chat = profile ? profile->activeChatView() : nullptr;
        if (chat && newest && chat->friendName() == newest->fromName()) {
            profile->onChatWithMessage(newest);
            return;
        }
    }
    // Each goes to the front in turn, so the oldest of the batch ends up first.
    UIController::addItemsIntoListMessage(messages);
    reloadBadgeOnTop();
}

void GlobalLogicHandler::showPresentReceived(const std::vector<std::shared_ptr<Asset>>& presents) {
    KAVO_ASSERT_MAIN_THREAD();
    for (const auto& present : presents) {
        if (!present) continue;
        FlyTextInfo info;
        info.setImgId(present->assetId());
        info.setText(present->name());
        KavoOnlineAppDelegate::getInstance().startPresend(info);
        // Each notice replaces the previous one.
        UIController::showNotice(Resources::getInstance().textWithKey("KAVO_getPresent"));
    }
}

void GlobalMessageHandler::doShowEventWithMessage(const std::string& text) {
    auto& delegate = KavoOnlineAppDelegate::getInstance();
    if (UIController::checkVersioniOS4())
        delegate.startEventWithiOS4(text);
    else
        delegate.startEventWithiOS3(text);
}

} // namespace kavo
