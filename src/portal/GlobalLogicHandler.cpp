#include "portal/GlobalLogicHandler.h"

#include "account/ShopView.h"
#include "account/WaitingGifts.h"
#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/StoredMailbox.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/BoardView.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace kavo {

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::shared_ptr<IGameMessageHandler>> handlers;
    std::atomic<bool> isTryGetIPFromWap{false};
};

Registry& registry() {
    static Registry shared;
    return shared;
}

} // namespace

GlobalLogicHandler& GlobalLogicHandler::getInstance() {
    static GlobalLogicHandler instance;
    return instance;
}

// ---------------------------------------------------------------- registry

std::vector<std::shared_ptr<IGameMessageHandler>> GlobalLogicHandler::getGameMessageHandlers() {
    std::lock_guard lock(registry().mutex);
    return registry().handlers;
}

void GlobalLogicHandler::addGameMessageHandler(std::shared_ptr<IGameMessageHandler> handler) {
    if (!handler) return;
    std::lock_guard lock(registry().mutex);
    auto& handlers = registry().handlers;
    if (std::find(handlers.begin(), handlers.end(), handler) == handlers.end()) handlers.push_back(std::move(handler));
}

std::shared_ptr<IGameMessageHandler> GlobalLogicHandler::lastGameMessageHandlerFor(int8_t gameType) {
    const auto handlers = getGameMessageHandlers();
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) {
        if ((*it)->isGameType(gameType)) return *it;
    }
    return nullptr;
}

bool GlobalLogicHandler::getIsTryGetIPFromWap() {
    return registry().isTryGetIPFromWap.load();
}
void GlobalLogicHandler::setIsTryGetIPFromWap(bool value) {
    registry().isTryGetIPFromWap.store(value);
}

// ---------------------------------------------------------------- connection

void GlobalLogicHandler::onConnectFail() {
    platform::runOnMainThread([this, message = text("KAVO_connectFail")] {
        // Whoever was signed in is not any more: the mailbox stops being theirs.
        connectionEnded();
        connectFail(message);
    });
}

void GlobalLogicHandler::onDisconnect() {
    // The client's own disconnect (status 2) ends quietly.
    const bool byClient = GlobalService::getInstance().connectStatus() == MobileClient::kStatusDisconnected;
    platform::runOnMainThread([this, message = byClient ? std::string() : text("KAVO_lostSignal")] {
        connectionEnded();
        disconnected(message);
    });
}

void GlobalLogicHandler::connectionEnded() {
    UIController::signOutListMessage();
    // The friends listed were the signed-in player's: the shop's gift list and the tables
    // must not offer or mark them to whoever signs in next.
    Resources::getInstance().setListMyFriends({});
    // Gifts still waiting for their answer will not get one on another connection, and
    // the shop's pages are asked again on the next.
    WaitingGifts::forget();
    ShopView::getInstance()->connectionEnded();
}

void GlobalLogicHandler::onSetClientInfoOK() {
    onConnectOK();
}

void GlobalLogicHandler::onConnectOK() {
    if (IConnectOKListener* listener = GlobalService::getInstance().takeConnectOKListener()) listener->onConnectOK();
}

// ---------------------------------------------------------------- sign-in

void GlobalLogicHandler::onLoginSuccess(std::shared_ptr<Player> me, StoredMailbox mailbox) {
    const int32_t iddb = me->IDDB();
    // No later reply of this connection is handled before the game grid is up. The
    // mailbox was made whole off the main thread before the hop, which hands it over. A
    // mailbox read before a later save of this player (the sign-out of a connection that
    // had just ended writes what was pending, on the main thread) is refused and read
    // again here, once the main thread has run that save.
    bool signedIn = false;
    while (!signedIn) {
        const bool ran = platform::runOnMainThreadAndWait([this, &me, &mailbox, &signedIn] {
            if (!UIController::isCurrentListMessage(mailbox)) return;
            auto& defaults = platform::UserDefaults::standard();
            defaults.setString(me->name(), "KAVO_LOGIN_USERNAME_SUCCESS");
            // Whose stored mailbox to read ahead at the next sign-in of that name.
            defaults.setInt(me->IDDB(), MailboxReadAhead::kPlayerIdKey);
            defaults.synchronize();
            UIController::setMyInfo(std::move(me));
            WaitingGifts::forget();
            // A connection ended without a word (a server picked again) kept the friends of
            // whoever signed in on it: this player's own list comes when the grid asks for it.
            Resources::getInstance().setListMyFriends({});
            // The new player's stored mailbox, never the previous player's.
            UIController::restoreListMessage(mailbox);
            loginSuccess();
            signedIn = true;
        });
        // The main loop dropped the hop: it stops for good (the exit), and nobody signs in
        // any more. Read again, the mailbox would be read among objects being destroyed.
        if (!ran) {
            platform::log("sign-in of " + std::to_string(iddb) + ": the main loop stopped first; not signed in");
            return;
        }
        if (!signedIn) mailbox = UIController::readListMessage(iddb);
    }
    // What the restore let go (another player's list, stored mail left out) is freed here,
    // off the main thread.
    StoredMailbox::discard(std::move(mailbox));
}

void GlobalLogicHandler::onLoginFailWithReason(const std::string& reason) {
    loginFailWithReason(reason);
}

void GlobalLogicHandler::onSetMoneyErrorWithError(const std::string& error) {
    platform::runOnMainThread([this, error] { setMoneyError(error); });
}

void GlobalLogicHandler::onVersionWithInfo(const std::string& info, const std::string& url) {
    platform::runOnMainThread([this, info, url = normalizeUrl(url)] { showVersion(info, url); });
}

std::string GlobalLogicHandler::normalizeUrl(const std::string& url) {
    if (url.empty() || url.find("http://") != std::string::npos) return url;
    return "http://" + url;
}

// ---------------------------------------------------------------- lobby

void GlobalLogicHandler::onSetGameTypeSuccessWithGame(int8_t gameType, bool /*isShowRoomList*/) {
    // Only the handler slot changes here, so the next reply already reaches the new
    // game's handler; the game type and what the handler sets up for the screens (the
    // board list's seat class, the title) change on the main thread, ahead of the
    // board list that this reply opens. The last registered handler wins; without
    // one the installed handler stays.
    auto handler = lastGameMessageHandlerFor(gameType);
    if (handler) GlobalMessageHandler::getInstance().setGameMessageHandler(handler);
    auto setUp = [gameType, handler] {
        UIController::setGameType(gameType);
        if (handler) handler->onPostSetupGameType();
    };
    if (platform::isMainThread())
        setUp();
    else
        platform::runOnMainThread(std::move(setUp));
}

void GlobalLogicHandler::onRoomList(std::vector<std::shared_ptr<RoomInfo>> rooms) {
    platform::runOnMainThread([this, rooms = std::move(rooms)] { showListRoom(rooms); });
}

void GlobalLogicHandler::onBoardListWithRoomId(int8_t roomId, std::vector<std::shared_ptr<Board>> boards) {
    platform::runOnMainThread([this, roomId, boards = std::move(boards)] { showListBoard(roomId, boards); });
}

void GlobalLogicHandler::onLoadBoardList(std::vector<std::shared_ptr<Board>> boards, int32_t maxBet) {
    platform::runOnMainThread([this, boards = std::move(boards), maxBet]() mutable {
        boardList_ = std::move(boards);
        maxBetValue_ = maxBet;
        loadBoardList();
    });
}

std::vector<std::shared_ptr<Board>> GlobalLogicHandler::boardList() const {
    return boardList_;
}

int32_t GlobalLogicHandler::maxBetValue() const {
    return maxBetValue_;
}

// ---------------------------------------------------------------- invitations

void GlobalLogicHandler::onInvitedJoinBoardWithGameId(int8_t gameId, int8_t roomId, int8_t boardId,
                                                      const std::string& password, const std::string& message,
                                                      int8_t levelRoom, int32_t inviterId) {
    platform::runOnMainThread(
        [=, this] { onInvitedJoinBoard(gameId, roomId, boardId, password, message, levelRoom, inviterId); });
}

// ---------------------------------------------------------------- chat, mail and presents

void GlobalLogicHandler::onChatFromWithMessage(std::shared_ptr<KavoMessage> message) {
    // A private message comes without a time: it is stamped on arrival, so stored lines
    // and their time labels show a real date. It is known by how it came, not by its time.
    if (message) message->setIsPrivateLine(1);
    if (message && message->time() == 0)
        message->setTime(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
                .count());
    platform::runOnMainThread([this, message = std::move(message)] { onViewControllerChatFromWithMessage(message); });
}

void GlobalLogicHandler::onChatOnRoomWithMessage(std::shared_ptr<KavoMessage> message) {
    platform::runOnMainThread([this, message = std::move(message)] { onChatOnRoom(message); });
}

void GlobalLogicHandler::onListNewMessage(KavoMessageList messages) {
    platform::runOnMainThread([this, messages = std::move(messages)] {
        const bool latestOnly = std::any_of(messages.begin(), messages.end(), [](const auto& message) {
            return message && message->type() == KavoMessage::kTypeLatestOnly;
        });
        // Only the newest batch of this kind is kept.
        if (latestOnly)
            UIController::removeItemsIntoListMessage(UIController::listMessageWithFilter(KavoMessage::kTypeLatestOnly));
        setListNewMessage(messages);
    });
}

void GlobalLogicHandler::onListFriendRequests(KavoMessageList requests) {
    platform::runOnMainThread([this, requests = std::move(requests)] {
        UIController::removeAllAddFriendMessagesIntoListMessage();
        setListNewMessage(requests);
    });
}

void GlobalLogicHandler::onPresentReceived(std::vector<std::shared_ptr<Asset>> presents) {
    platform::runOnMainThread([this, presents = std::move(presents)] { showPresentReceived(presents); });
}

void GlobalLogicHandler::showAlertViewWithMessage(const std::string& message) {
    platform::runOnMainThread([message] { UIController::showNotice(message); });
}

void GlobalLogicHandler::showAnswerToWaits(const std::string& message) {
    KAVO_ASSERT_MAIN_THREAD();
    // A gift the server refuses is refused with such a notice, which names the friend it
    // was for: the gift leaves the ones waiting unpaid here, in the notice's own step, as
    // the answer to a later gift, read after the notice, may already be posted behind it
    // and must take that later gift's price.
    WaitingGifts::dropRefusedBy(message);
    platform::runOnMainThread([message] {
        // A refusal or a one-button notice names no request: it is the answer to what the
        // player waits on (a game choice, a join, Play now or create: "Bàn đã đầy", a wrong
        // password, not enough money). Every wait ends, and its bound tells nothing more.
        if (auto board = topScreenAs<BoardView>()) board->endRequestWaits();
        Util::endBoundedWaits();
        UIController::showNotice(message);
    });
}

} // namespace kavo
