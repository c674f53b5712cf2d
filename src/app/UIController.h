#pragma once

#include "portal/model/KavoMessage.h"
#include "portal/model/Player.h"

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kavo {

// The state every screen shares: the signed-in player, the mailbox, the current
// game type, the switches and the action code of the open dialog. The reply
// handlers change it on the connection's reader thread while screens read it on
// the main thread, so every accessor is safe from any thread. (The dialogs
// themselves come with the view layer.)
//
// Mailbox rules. The mailbox list belongs to one signed-in player: it is restored
// from the user defaults when the sign-in reply arrives and every change is saved
// at once under that player's key "SAVED_OLD_MESSAGE_OF_<IDDB>". Before a sign-in
// (and after the connection ends) no player owns the list: mail that arrives then
// is kept in memory only and is placed in front of the restored list. The list is
// never saved while no player is signed in, nor under another player's key.
class UIController {
public:
    static UIController& getInstance();

    // The signed-in player (never null). setMyInfo(nullptr) stores a new empty Player.
    static std::shared_ptr<Player> myInfo();
    static void setMyInfo(std::shared_ptr<Player> player);

    static std::string gameTitle();
    static void setGameTitle(std::string title);
    static std::string serverInfo();
    static void setServerInfo(std::string info);

    // Action code of the open dialog; -1 none.
    static int okValue();
    static void setOkValue(int value);
    // The value the dialog's action needs (invitation dictionary, URL text, the
    // friend-request message...). Empty when none.
    static std::any object();
    static void setObject(std::any object);
    // 1 while an invitation question is open.
    static int kindOfDialog();
    static void setKinkOfDialog(int kind);

    static int8_t gameType();
    static void setGameType(int8_t type);

    // Switches of the settings: vibration, invitations, sound.
    static bool rung();
    static void setRung(bool on);
    static bool inviting();
    static void setInviting(bool on);
    static bool sound();
    static void setSound(bool on);

    // 1024 x 768 on a tablet, else 480 x 320.
    static int screenWidth();
    static int screenHeight();

    // --- Mailbox (newest first) ---
    // A copy of the list.
    static KavoMessageList listMessage();
    // Replaces the list (nothing is saved).
    static void setListMessage(KavoMessageList messages);
    // Each of these four changes the list and saves it when a player owns it.
    static void addItemIntoListMessage(std::shared_ptr<KavoMessage> message);
    static void removeItemIntoListMessage(const std::shared_ptr<KavoMessage>& message);
    static void removeItemsIntoListMessage(const KavoMessageList& messages);
    static void removeAllAddFriendMessagesIntoListMessage();
    // The messages of that type, in list order.
    static KavoMessageList listMessageWithFilter(int32_t type);

    // The sign-in reply: the list becomes the mail that arrived before the sign-in
    // followed by the stored mailbox of `iddb` (an unreadable stored value counts
    // as empty); `iddb` owns it from now on. Saves when mail was waiting.
    static void restoreListMessageForPlayer(int32_t iddb);
    // The connection ended or a new one starts: nobody owns the list any more and
    // it is emptied, so nothing of one player reaches another.
    static void signOutListMessage();
    // The player whose key the list is saved under, if any.
    static std::optional<int32_t> listMessageOwner();
    // The user-defaults key of a player's stored mailbox.
    static std::string listMessageKey(int32_t iddb);

private:
    UIController() = default;
};

} // namespace kavo
