#pragma once

#include "net/IMessageListener.h"
#include "net/Message.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/ReplyReader.h"
#include "table/registry/IGameMessageHandler.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace kavo {

// The socket client's one listener. It answers the connection events, parses every
// portal-wide reply on the reader thread into records and hands them to the logic
// handler; every other command goes to the current game's message handler.
//
// A reply is never trusted: one cut short is logged and, when it is one record,
// dropped; lists stop at the first row that cannot be read whole, every count is
// checked against the bytes left, and a failure while handling one message (here or
// in a game handler) is logged and drops only that message.
class GlobalMessageHandler : public IMessageListener {
public:
    static GlobalMessageHandler& getInstance();

    // Command ids that are the portal's own, whether handled yet or not: they never
    // reach a game handler.
    static bool isGlobalCommand(int16_t commandId);

    // IMessageListener
    void onConnectionOK() override;
    void onConnectionFail() override;
    void onDisconnected() override;
    void onMessage(Message& message) override;

    // The current game's handler; none until the first game type is confirmed.
    void setGameMessageHandler(std::shared_ptr<IGameMessageHandler> handler);
    std::shared_ptr<IGameMessageHandler> gameMessageHandler() const;

    // Where parsed replies go: the logic handler's instance unless a test puts
    // another in its place (nullptr restores it).
    void setGlobalLogicHandler(GlobalLogicHandler* handler);
    GlobalLogicHandler& globalLogicHandler() const;

private:
    GlobalMessageHandler() = default;

    // Hands the message to its handler inside the one catch-all (a failure drops it).
    void dispatch(Message& message);
    // Parses and delivers a portal reply; false when the id is not handled (yet). Each
    // area below is asked in turn; a reply cut short is logged here.
    bool handleGlobal(Message& message);
    // Posts `show` to the main thread, where it runs unless the log-in screen is on top
    // by then.
    void showUnlessSigningIn(std::function<void()> show);

    // The replies by area, one file each (GlobalMessageHandlerSignIn.cpp, ...Lobby.cpp,
    // ...Mail.cpp, ...Players.cpp, ...Shop.cpp, ...Money.cpp). An area's handle* reads
    // the short replies where it dispatches them and returns false for a command not
    // its own; the long ones have a member. A reply that is one record is delivered
    // only when every field was there; a list keeps the rows read whole.

    // Sign-in: refusal, client information, version, registration, recovery, server
    // information and the social-network log-in.
    bool handleSignIn(ReplyReader& reader, int16_t commandId);
    // Reply 3: the signed-in player and the follow-up requests.
    void saveUserInfoWithMessage(ReplyReader& reader);
    void receiveServerInfo(ReplyReader& reader);

    // The lobby: the game type, rooms, boards, stakes and invitations to a board.
    bool handleLobby(ReplyReader& reader, int16_t commandId);
    void receiveRoomList(ReplyReader& reader);
    void receiveBoardList(ReplyReader& reader);
    void receivePickRoomBoardList(ReplyReader& reader);

    // Mail, chat and the server's notices.
    bool handleMail(ReplyReader& reader, int16_t commandId);
    void receiveMailbox(ReplyReader& reader);
    void receiveNotice(ReplyReader& reader);

    // Players: rankings, friends, profiles, achievements and reports.
    bool handlePlayers(ReplyReader& reader, int16_t commandId);
    void receiveRankedList(ReplyReader& reader, int16_t commandId);
    void receivePlayerDetail(ReplyReader& reader);
    void receiveRankingLists(ReplyReader& reader);
    void receiveFriends(ReplyReader& reader);
    void receiveFriendRequests(ReplyReader& reader);
    void receiveHistoryLogs(ReplyReader& reader);
    void receiveProfile(ReplyReader& reader);
    void receiveMyProfile(ReplyReader& reader);
    void receiveReport(ReplyReader& reader);

    // The shop: items, gifts, avatars and their pictures.
    bool handleShop(ReplyReader& reader, int16_t commandId);
    void receiveShop(ReplyReader& reader);
    void receiveAvatarPicture(ReplyReader& reader);
    void receiveItemPicture(ReplyReader& reader);
    void receiveMyAvatars(ReplyReader& reader);
    void receiveAvatarList(ReplyReader& reader);
    void receiveAllAvatars(ReplyReader& reader);

    // Money: transfers, top-up channels, payments and the lottery.
    bool handleMoney(ReplyReader& reader, int16_t commandId);
    void receiveMoneyInfo(ReplyReader& reader);
    void receivePurchaseInfo(ReplyReader& reader);
    void receiveLottoHistory(ReplyReader& reader);

    // Main-thread helpers.
    // The one-button notice with no action.
    void doShowAlertViewWithMessage(const std::string& text);
    // The event ticker of the top bar shows the text.
    void doShowEventWithMessage(const std::string& text);
    // Sets the game type; then asks for a fresh board list when the board list is on
    // top, else pushes the board list.
    void pushRoomScreen(int8_t gameType);
    // True while the log-in screen is on top (notices are not shown over it). Answered
    // by the navigation stack once the screens exist; until then no screen is on top.
    bool isLoginScreenOnTop() const;

    mutable std::mutex gameHandlerMutex_;
    std::shared_ptr<IGameMessageHandler> gameMessageHandler_;
    std::atomic<GlobalLogicHandler*> logicHandler_{nullptr};
};

} // namespace kavo
