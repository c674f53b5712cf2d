#pragma once

#include "net/IMessageListener.h"
#include "net/Message.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/ReplyReader.h"
#include "table/registry/IGameMessageHandler.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace kavo {

// The socket client's one listener. It answers the connection events, parses every
// portal-wide reply on the reader thread into records and hands them to the logic
// handler; every other command goes to the current game's message handler.
//
// A reply is never trusted: lists stop at the first row that cannot be read whole,
// every count is checked against the bytes left, and a failure while handling one
// message (here or in a game handler) is logged and drops only that message.
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

    // Parses and delivers a portal reply; false when the id is not handled (yet). The
    // replies with a member of their own are found in a table, the short ones are read
    // where they are dispatched.
    bool handleGlobal(Message& message);
    // Posts `show` to the main thread, where it runs unless the log-in screen is on top
    // by then.
    template <typename Show> void showUnlessSigningIn(Show show);

    // Reply 3: the signed-in player, the restored mailbox and the follow-up requests.
    void saveUserInfoWithMessage(ReplyReader& reader);
    void receivePickRoomBoardList(ReplyReader& reader);
    void receiveRoomList(ReplyReader& reader);
    void receiveBoardList(ReplyReader& reader);
    void receiveMailbox(ReplyReader& reader);
    void receiveNotice(ReplyReader& reader);

    // The account side: rankings, friends, profile, pictures, shop, money, lottery
    // and reports. Each reads one reply (or one sub-command family) and delivers it;
    // handleAccount reads the short ones itself.
    bool handleAccount(ReplyReader& reader, int16_t commandId);
    void receiveRankedList(ReplyReader& reader, int16_t commandId);
    void receivePlayerDetail(ReplyReader& reader);
    void receiveRankingLists(ReplyReader& reader);
    void receiveFriends(ReplyReader& reader);
    void receiveFriendRequests(ReplyReader& reader);
    void receiveHistoryLogs(ReplyReader& reader);
    void receiveProfile(ReplyReader& reader);
    void receiveMyProfile(ReplyReader& reader);
    void receiveAvatarPicture(ReplyReader& reader);
    void receiveItemPicture(ReplyReader& reader);
    void receiveMyAvatars(ReplyReader& reader);
    void receiveAvatarList(ReplyReader& reader);
    void receiveAllAvatars(ReplyReader& reader);
    void receiveShop(ReplyReader& reader);
    void receiveMoneyInfo(ReplyReader& reader);
    void receivePurchaseInfo(ReplyReader& reader);
    void receiveServerInfo(ReplyReader& reader);
    void receiveLottoHistory(ReplyReader& reader);
    void receiveReport(ReplyReader& reader);

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
