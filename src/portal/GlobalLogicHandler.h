#pragma once

#include "portal/model/Asset.h"
#include "portal/model/Board.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/RoomInfo.h"
#include "table/IGameMessageHandler.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kavo {

// The logic half of the portal-wide replies. The reply dispatcher parses a reply
// on the connection's reader thread and calls one on-operation here with the
// parsed values. The operation does the reader-thread part (the app-wide state
// that screens read) and hands the values, in one closure, to a main-thread twin
// that drives the screens. Closures run on the main thread in arrival order.
//
// It also keeps the registry of the game message handlers and picks the current
// one when the server confirms a game type.
//
// The on-operations are virtual so a test can watch what the dispatcher delivers.
class GlobalLogicHandler {
public:
    static GlobalLogicHandler& getInstance();
    virtual ~GlobalLogicHandler() = default;

    // --- Game handler registry (filled at start-up, read afterwards) ---
    // A copy of the registered handlers, in registration order.
    static std::vector<std::shared_ptr<IGameMessageHandler>> getGameMessageHandlers();
    // Appends the handler unless it is registered already.
    void addGameMessageHandler(std::shared_ptr<IGameMessageHandler> handler);
    // The last registered handler that accepts the type, or nullptr.
    static std::shared_ptr<IGameMessageHandler> lastGameMessageHandlerFor(int8_t gameType);

    static bool getIsTryGetIPFromWap();
    static void setIsTryGetIPFromWap(bool value);

    // --- Connection ---
    virtual void onConnectFail();
    virtual void onDisconnect();
    // Reply 220 with status 1.
    virtual void onSetClientInfoOK();
    // Tells the screen waiting for the accepted connection, once.
    virtual void onConnectOK();

    // --- Sign-in ---
    // Waits until the main thread has opened the game grid.
    virtual void onLoginSuccess();
    virtual void onLoginFailWithReason(const std::string& reason);
    virtual void onSetMoneyErrorWithError(const std::string& error);
    virtual void onVersionWithInfo(const std::string& info, const std::string& url);

    // --- Lobby and game choice ---
    // Sets the game type and installs the last registered handler accepting it.
    virtual void onSetGameTypeSuccessWithGame(int8_t gameType, bool isShowRoomList);
    virtual void onRoomList(std::vector<std::shared_ptr<RoomInfo>> rooms);
    virtual void onBoardListWithRoomId(int8_t roomId, std::vector<std::shared_ptr<Board>> boards);
    // Keeps the rows as the board list's data (boardList(), maxBetValue()).
    virtual void onLoadBoardList(std::vector<std::shared_ptr<Board>> boards, int32_t maxBet);

    // --- Invitations ---
    virtual void onInvitedJoinBoardWithGameId(int8_t gameId, int8_t roomId, int8_t boardId, const std::string& password,
                                              const std::string& message, int8_t levelRoom, int32_t inviterId);
    // Marks the invitation question as answered no (action code 25).
    void cancelInvitedJoinBoard();

    // --- Chat, mail and presents ---
    virtual void onChatFromWithMessage(std::shared_ptr<KavoMessage> message);
    virtual void onChatOnRoomWithMessage(std::shared_ptr<KavoMessage> message);
    // Newest first.
    virtual void onListNewMessage(KavoMessageList messages);
    virtual void onPresentReceived(std::vector<std::shared_ptr<Asset>> presents);

    // --- Notices ---
    // A one-button notice with no action.
    void showAlertViewWithMessage(const std::string& text);

    // The rows and highest stake of the last board-list reply.
    std::vector<std::shared_ptr<Board>> boardList() const;
    int32_t maxBetValue() const;

    // "http://" in front of an address that lacks it.
    static std::string normalizeUrl(const std::string& url);

protected:
    GlobalLogicHandler() = default;

private:
    // Main-thread twins. Those with only a comment are filled with the screens.
    // Closes any dialog and pushes the game grid.
    void loginSuccess();
    // Shows the refusal's reason in a one-button notice.
    void loginFailWithReason(const std::string& reason);
    // On the log-in screen: reloads the server list when it may still come from its
    // address, else hides its overlay; elsewhere: back to the root screen. Then the
    // "KAVO_connectFail" notice (text given).
    void connectFail(const std::string& text);
    // Back to the root screen (the log-in screen hides its overlay); the lost-signal
    // notice unless the client itself disconnected (empty text then).
    void disconnected(const std::string& lostSignalText);
    // Fills the log-in form from the cache when the log-in screen is on top, then the notice.
    void setMoneyError(const std::string& error);
    // Asks whether to download the new version (action code 12, context the address).
    void showVersion(const std::string& info, const std::string& url);
    // No room screen is ever shown.
    void showListRoom(const std::vector<std::shared_ptr<RoomInfo>>& rooms);
    // Nothing is shown for it.
    void showListBoard(int8_t roomId, const std::vector<std::shared_ptr<Board>>& boards);
    // The board list, when on top, takes the new rows and reloads.
    void loadBoardList();
    // Unless the log-in screen or a table is on top: the invitation question
    // (action code 1, dialog kind 1, context the invitation).
    void onInvitedJoinBoard(int8_t gameId, int8_t roomId, int8_t boardId, const std::string& password,
                            const std::string& message, int8_t levelRoom, int32_t inviterId);
    // The open mailbox shows it; the board list drops it; elsewhere it goes into the
    // mailbox and the unread-mail button goes.
    void onViewControllerChatFromWithMessage(const std::shared_ptr<KavoMessage>& message);
    // Nothing is shown for it.
    void onChatOnRoom(const std::shared_ptr<KavoMessage>& message);
    // The open mailbox or profile chat shows the newest; elsewhere the mail goes into
    // the mailbox and the unread badge reloads; an empty batch removes the button.
    void setListNewMessage(const KavoMessageList& messages);
    // The presents float over the screen.
    void showPresentReceived(const std::vector<std::shared_ptr<Asset>>& presents);

    mutable std::mutex boardMutex_;
    std::vector<std::shared_ptr<Board>> boardList_;
    int32_t maxBetValue_ = 0;
};

} // namespace kavo
