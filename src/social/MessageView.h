#pragma once

#include "app/EscapeTarget.h"
#include "app/KavoViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class AddFriendView;
class ChatDatabase;
class ChatView;
class FriendInviteView;

// The mailbox and private conversations: a tab of recent partners (from the chat
// database), a tab of all friends, header bars for friend invitations, administrator
// and system messages, and on the right the chat panel of the chosen partner. The
// shared instance is laid over the current screen (getInstance); a table's mailbox
// button and a notification push fresh instances, each with its own chat database
// connection (opened when it comes into view, closed by its close control) and its
// own panels. The mail itself stays in the app-wide list of UIController; this screen
// re-reads it whenever it changes it. Main thread only.
class MessageView : public KavoViewController,
                    public EscapeTarget,
                    public platform::ui::TableViewDataSource,
                    public platform::ui::TableViewDelegate,
                    public platform::ui::AlertViewDelegate {
public:
    static constexpr int kTabRecent = 1;
    static constexpr int kTabFriends = 2;

    static const std::shared_ptr<MessageView>& getInstance();
    // A fresh instance pushed on the navigation stack (the tables' mailbox buttons).
    static std::shared_ptr<MessageView> pushNew();
    // Forgets its screen, sheets and lists: the next showing builds them again for the device
    // in use (tests run phone and tablet in one process; a device never changes its kind).
    void resetForTesting();
    MessageView();
    ~MessageView() override;

    // ---- what others set or call
    int32_t messageType() const { return messageType_; }
    void setMessageType(int32_t type) { messageType_ = type; }
    // The screen's copy of the app-wide mail (replaced by it when the screen comes into view).
    const KavoMessageList& listMessage() const { return listMessage_; }
    void setListMessage(KavoMessageList messages);
    void set_listAllFriends(std::vector<std::shared_ptr<Player>> friends);
    const std::vector<std::shared_ptr<Player>>& listAllFriends() const { return listAllFriends_; }
    // Reloads the list and hides the loading overlay.
    void forceReloadFriendList();
    // A private message while this screen is open: stored as received, then pending.
    void onNewMessage(std::shared_ptr<KavoMessage> message);
    // New mail (notices, friend requests) while open: pending in the list, never stored
    // in the chat file nor shown as a conversation line. A private line shows in its
    // sender's conversation when that one is open (stored as received), else onNewMessage.
    void onChatWithMessage(std::shared_ptr<KavoMessage> message);
    // Every message of the list leaves the app-wide mail.
    void doRemoveAllMessages();
    void onAddFriendResult(int result);
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;
    // Whether a name is one of the friends the resources cached.
    static bool checkSenderExistInListFriends(const std::string& name);

    // ---- controls
    void doChangeTab(int tag);
    void doCloseThisView();
    void onRemoveAll();
    void showAddFriendView();
    void getFriendList();
    void getAdminMessage();
    void showFriendInviteView();
    // Escape closes the mailbox panel as its close control does (what it opens over
    // itself closes on Escape itself, before it).
    EscapeAnswer closeItself() override;
    // 1 administrator messages, 0 system messages.
    void showMessageFromSystem(int tag);
    // The row a person chose in the list.
    void selectRow(int row);

    // ---- panels
    // The friend's panel, made unless there is one (then only their mail leaves the list).
    bool createChatViewForUser(const Player& player);
    bool showChatViewForUser(const Player& player);
    bool createChatViewForMessage(const KavoMessage& message);
    bool showChatViewForMessage(const KavoMessage& message);
    const std::map<std::string, std::shared_ptr<ChatView>>& listChatView() const { return listChatView_; }
    const std::shared_ptr<ChatView>& activeChatView() const { return activeChatView_; }

    // ---- state
    int viewingTabIndex() const { return viewingTabIndex_; }
    const std::vector<std::string>& listRecentChats() const { return listRecentChats_; }
    const KavoMessageList& newMessageList() const { return newMessageList_; }
    int countInvites() const { return countInvites_; }
    int countMessageFromAdmin() const { return countMessageFromAdmin_; }
    int countMessageFromSystem() const { return countMessageFromSystem_; }
    int selectedIndex() const { return selectedIndex_; }
    void setSelectedIndex(int index) { selectedIndex_ = index; }
    int32_t _selectedFromID() const { return selectedFromID_; }
    void set_selectedFromID(int32_t id) { selectedFromID_ = id; }
    // The friend the delete question of the dialogs acts on.
    int32_t _selectedFriendID() const { return selectedFromID_; }
    void set_selectedFriendID(int32_t id) { selectedFromID_ = id; }
    const std::shared_ptr<ChatDatabase>& chatDatabase() const { return kavoDB_; }
    const std::shared_ptr<FriendInviteView>& friendInviteView() const { return friendInviteView_; }
    const std::shared_ptr<AddFriendView>& addFriendView() const { return addFriendView_; }

    // ---- outlets
    const std::shared_ptr<platform::ui::TableView>& tblView() const { return tblView_; }
    const std::shared_ptr<platform::ui::View>& viewContent() const { return viewContent_; }
    const std::shared_ptr<platform::ui::Label>& lblUserName() const { return lblUserName_; }
    const std::shared_ptr<platform::ui::Label>& lblChatTime() const { return lblChatTime_; }
    const std::shared_ptr<platform::ui::Button>& btnGanDay() const { return btnGanDay_; }
    const std::shared_ptr<platform::ui::Button>& btnBanBe() const { return btnBanBe_; }

    // ---- view cycle
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // ---- the list
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    double heightForHeader(platform::ui::TableView& table, int section) override;
    platform::ui::ViewPtr viewForHeader(platform::ui::TableView& table, int section) override;
    bool canEditRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void commitEditingStyle(platform::ui::TableView& table, platform::ui::TableViewCellEditingStyle style,
                            const platform::ui::IndexPath& indexPath) override;
    std::string titleForDeleteConfirmationButton(platform::ui::TableView& table,
                                                 const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    void setUIScreen();
    void showTatCaBanBe();
    void showRecentChats();
    void markTab(int tag);
    void reloadInviteCount();
    void reloadListLater();
    // The message goes to the front of the app-wide list and waits for its panel.
    void addPending(const std::shared_ptr<KavoMessage>& message);
    // The friend of a row of the shown tab (a stand-in for a partner who is no friend).
    std::shared_ptr<Player> friendAtRow(int row) const;
    std::shared_ptr<Player> friendWithId(int32_t id) const;
    // "KAVO_Chat_Time <date>" of the partner's newest stored line, or "".
    std::string lastLineTime(int32_t partnerId);
    void syncListMessage();
    void refreshBadge();
    void addPanel(const std::string& key, const std::shared_ptr<ChatView>& panel);
    void showPanel(const std::shared_ptr<ChatView>& panel);
    // A friend's line that arrived: kept in the chat file and added to `panel`'s lines.
    void takeReceivedLine(ChatView& panel, const KavoMessage& message);

    int32_t messageType_ = 2;
    KavoMessageList listMessage_;
    std::vector<std::shared_ptr<Player>> listAllFriends_;
    std::vector<std::string> listRecentChats_;
    std::map<std::string, std::shared_ptr<ChatView>> listChatView_;
    std::shared_ptr<ChatView> activeChatView_;
    KavoMessageList newMessageList_;
    bool newMessageComing_ = false;
    bool newMessageComingForReloading_ = false;
    int viewingTabIndex_ = kTabFriends;
    int countInvites_ = 0, countMessageFromAdmin_ = 0, countMessageFromSystem_ = 0;
    int32_t selectedFromID_ = 0;
    int selectedIndex_ = -1;
    bool isAdded_ = false;
    std::shared_ptr<ChatDatabase> kavoDB_;
    std::shared_ptr<FriendInviteView> friendInviteView_;
    std::shared_ptr<AddFriendView> addFriendView_;

    std::shared_ptr<platform::ui::Button> btnGanDay_, btnBanBe_, btnAddFriend_, btnClose_, btnRemoveAll_;
    std::shared_ptr<platform::ui::TableView> tblView_;
    std::shared_ptr<platform::ui::ImageView> imgViewUserAvatar_;
    std::shared_ptr<platform::ui::Label> lblUserName_, lblChatTime_;
    std::shared_ptr<platform::ui::View> viewContent_;
};

} // namespace kavo
