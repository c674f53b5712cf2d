#pragma once

#include "app/DialogAction.h"
#include "app/StoredMailbox.h"
#include "platform/foundation/Value.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "portal/IConnectOKListener.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/MatchResultInfo.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

// The state every screen shares: the signed-in player, the mailbox, the current
// game type and the switches. The replies change it on the main thread; the
// connection's reader thread may still read a little of it, so every accessor of it
// is safe from any thread. (The dialogs themselves come with the view layer.)
//
// Mailbox rules. The mailbox list (kept by MailStore) belongs to one signed-in
// player: it is restored from the user defaults when the sign-in reply arrives and
// changes are saved under that player's key "SAVED_OLD_MESSAGE_OF_<IDDB>", at once
// or, during a burst of mail, at most once a second (and at sign-out and exit). Before a sign-in
// (and after the connection ends) no player owns the list: mail that arrives then
// is kept in memory only and is placed in front of the restored list. The list is
// never saved while no player is signed in, nor under another player's key.
//
// Dialogs. Every alert of the client is opened here, each with its own action: an
// action code and, where the action needs one, a context object (DialogAction). When a
// button is pressed, one handler looks at the pressed dialog's code and carries the
// action out (leave the table, accept an invitation, answer a draw offer...). A dialog
// opened without an action (a plain notice) runs nothing, whatever dialog came before.
// What a dialog does and what it is (an invitation's question) is read from the dialog
// itself, so nothing of it outlives the dialog. The dialog operations are for the main
// thread.
//
// Context objects by action code: 0 and 25 the id (int32_t) of the avatar or item the
// buy question asks about; 1 the invitation as a platform::Value dictionary ("gameid",
// "roomid", "boardid", "password", "message", "levelRoom", "idInvitor"); 10 and 12 the
// address and 17 the text to copy, as std::string or a platform::Value string; 27 the
// friend request as std::shared_ptr<KavoMessage>.
class UIController : public platform::ui::AlertViewDelegate, public IConnectOKListener {
public:
    // Action codes with a name; the others are plain numbers that the tables use.
    static constexpr int kActionNone = -1;
    static constexpr int kActionBuyAvatar = 0;
    static constexpr int kActionInvitation = 1;
    static constexpr int kActionLeaveBoard = 2;
    static constexpr int kActionSkipTurn = 3;
    static constexpr int kActionKicked = 4;
    static constexpr int kActionRecoverPassword = 8;
    static constexpr int kActionTopUp = 9;
    static constexpr int kActionMoreGames = 10;
    static constexpr int kActionFriendAdded = 11;
    static constexpr int kActionNewVersion = 12;
    static constexpr int kActionDrawOffer = 13;
    static constexpr int kActionResign = 14;
    static constexpr int kActionDisconnect = 15;
    static constexpr int kActionDisconnect2 = 16;
    static constexpr int kActionCopyText = 17;
    static constexpr int kActionPurchaseConfirmed = 20;
    static constexpr int kActionPokerObserver = 24;
    static constexpr int kActionBuyItem = 25;
    static constexpr int kActionTurnOffInvites = 26;
    static constexpr int kActionFriendRequest = 27;
    static constexpr int kActionRemoveAllMail = 28;
    static constexpr int kActionChooseAvatar = 30;
    static constexpr int kActionDeleteFriend = 31;
    static constexpr int kActionPokerObserverNotice = 8212;
    static constexpr int kActionPokerBuyStack = 8236;
    static constexpr int kActionUndoRequest = 7726;

    static UIController& getInstance();

    // The signed-in player (never null). setMyInfo(nullptr) stores a new empty Player.
    static std::shared_ptr<Player> myInfo();
    static void setMyInfo(std::shared_ptr<Player> player);

    static std::string gameTitle();
    static void setGameTitle(std::string title);
    static std::string serverInfo();
    static void setServerInfo(std::string info);

    // 1 while an invitation's question is on screen, 0 as soon as it is gone, however it
    // went (a press, or another dialog that took its place). Main thread.
    static int kindOfDialog();

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
    // Its length, without copying it.
    static size_t listMessageCount();
    // Replaces the list (nothing is saved).
    static void setListMessage(KavoMessageList messages);
    // Each of these changes the list and saves it when a player owns it. A mail that
    // is already listed (same type, server time, sender and text) is not added again:
    // the add returns false, the batch add leaves it out of what it returns.
    static bool addItemIntoListMessage(std::shared_ptr<KavoMessage> message);
    // Each message to the front in turn, as many single adds would, with one save.
    static KavoMessageList addItemsIntoListMessage(const KavoMessageList& messages);
    static void removeItemIntoListMessage(const std::shared_ptr<KavoMessage>& message);
    static void removeItemsIntoListMessage(const KavoMessageList& messages);
    static void removeAllAddFriendMessagesIntoListMessage();
    // The player read these: they leave the list (saved) marked read and seen, and the
    // server sending one of them again does not list it anew.
    static void markItemsReadIntoListMessage(const KavoMessageList& messages);
    // The messages of that type, in list order.
    static KavoMessageList listMessageWithFilter(int32_t type);

    // The sign-in reply, in two steps. Off the main thread (the thread that handles the
    // reply): the stored mailbox of `iddb`, read ahead since the log-in form showed him
    // (MailboxReadAhead), or else read, decoded and indexed now (an unreadable stored value
    // counts as empty); nothing that a screen reads changes.
    static StoredMailbox readListMessage(int32_t iddb);
    // Then on the main thread: false when `stored` was read before a later save of its
    // player (read it again); nothing changes then.
    static bool isCurrentListMessage(const StoredMailbox& stored);
    // The list becomes the mail that arrived before the sign-in followed by that stored
    // mailbox, whose player owns it from now on. Saves when mail was waiting. False, and
    // nothing changed, when `stored` is not current. Else `stored` keeps what the list let
    // go, for the caller to free (off the main thread).
    static bool restoreListMessage(StoredMailbox& stored);
    static bool restoreListMessage(StoredMailbox&& stored);
    // The player opened the mailbox: every listed mail is seen.
    static void markAllListMessageSeen();
    // The connection ended or a new one starts: a pending save is written, then
    // nobody owns the list any more and it is emptied, so nothing of one player
    // reaches another.
    static void signOutListMessage();
    // Writes a pending save now (exit, stop signal). False when nothing was written.
    static bool flushListMessage();
    // The button a screen shows for unread mail (main thread); nullptr when none.
    static std::shared_ptr<platform::ui::Button> btnAlertMessage();
    static void setBtnAlertMessage(std::shared_ptr<platform::ui::Button> button);

    // --- Dialogs (main thread) ---
    // Each opens a dialog with the given action (none by default).
    // One "KAVO_OK" button that runs the OK action. Closes the open dialog first.
    static void startOKDlg(const std::string& text, DialogAction action = {});
    // startOKDlg with nothing behind the OK: a plain notice. postNotice shows it on the
    // main thread from any thread.
    static void showNotice(const std::string& text);
    static void postNotice(std::string text);
    // A player's details asked from a card table: nothing is shown for them.
    static void showUserInfo(const platform::Value& details) { (void)details; }
    // Only a "KAVO_cancel" button, which runs the cancel action. Closes the open dialog first.
    static void startCancelDlg(const std::string& text, DialogAction action = {});
    // A cancel button, then an OK button, with the given texts (already looked up).
    // Every dialog on screen is dismissed first.
    static void startCancelOkDlg(const std::string& text, const std::string& cancelTitle, const std::string& okTitle,
                                 DialogAction action = {});
    // No button at all (nothing opens one; it stands ready).
    static void startNilDlg(const std::string& text, DialogAction action = {});
    // The end-of-game report in a one-button dialog.
    static void startReportDlg(const MatchResultInfo& info, DialogAction action = {});
    // The report's three lines: "<name>: <result>", the level change, the money change.
    static std::string reportText(const MatchResultInfo& info);
    // Dismisses the dialog on screen in every window without running its action.
    static void closeDialog();
    // Asks whether to stop receiving invitations (code 26).
    static void turnInviteOff();
    // The dialog on screen, if any (the newest one).
    static std::shared_ptr<platform::ui::AlertView> currentDialog();

    // Presses the open dialog's OK or cancel button as a tap does (nothing when it has none).
    static void pressOk();
    static void pressCancel();

    // AlertViewDelegate: the press on one of the dialogs' buttons runs the OK or cancel
    // action of that dialog's own code.
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;
    int escapeButtonIndex(platform::ui::AlertView& alert) override;

    // --- Hotline ---
    // Dials the number; when the device cannot, asks the server for the number
    // (connecting first when needed), which dials it when it arrives.
    static void callHotline(const std::string& number);
    static void callHotlineFromServer(const std::string& number);
    // IConnectOKListener: the connection made for the hotline is up.
    void onConnectOK() override;

    // --- Device checks ---
    // The system version is at least 4.0 and the device is an "iphone".
    static bool checkVersionToSendSMS();
    static bool checkVersioniOS4();
    static bool checkVersioniOS5();
    // The configuration's "AppStore" is true and the SMS switch is on.
    static bool checkApStore();
    // Numeric comparison of dotted versions ("4.10" > "4.9"): -1, 0 or 1.
    static int compareVersions(const std::string& a, const std::string& b);

    // The background track loops while the sound is on; stopping is always allowed.
    static constexpr const char* kMusicFile = "nhac_nen.wav";
    static void playMusicBackground();
    static void stopMusicBackgrond();

    // The player whose key the list is saved under, if any.
    static std::optional<int32_t> listMessageOwner();
    // The user-defaults key of a player's stored mailbox.
    static std::string listMessageKey(int32_t iddb);
    // The user-defaults key of the mail a player has read (an archive of those mails).
    static std::string readMailKey(int32_t iddb);

private:
    UIController() = default;
    static void showDialog(const std::string& message, const std::string& cancelTitle,
                           const std::vector<std::string>& otherTitles, DialogAction action);
};

} // namespace kavo
