#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/TableView.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class TextRowsSource;

// The mailbox: the player's mail of one type (2 system notices, 3 friend requests,
// 4 administrators' messages) and the friend list. One panel instance serves the
// screen base (getInstance); the app delegate pushes its own instances. Main thread only.
class MessageView : public KavoViewController {
public:
    // The single panel instance the screen base sizes to the full screen and adds.
    static const std::shared_ptr<MessageView>& getInstance();
    MessageView();
    ~MessageView() override;

    // Set before the screen is pushed.
    int32_t messageType() const { return messageType_; }
    void setMessageType(int32_t type) { messageType_ = type; }
    const KavoMessageList& listMessage() const { return listMessage_; }
    void setListMessage(KavoMessageList messages);

    void set_listAllFriends(std::vector<std::shared_ptr<Player>> friends);
    const std::vector<std::shared_ptr<Player>>& listAllFriends() const { return listAllFriends_; }
    void forceReloadFriendList();

    // One mail arriving while the mailbox is on top: it goes to the front of the list
    // (and into the app-wide mailbox).
    void onNewMessage(std::shared_ptr<KavoMessage> message);
    // The newest mail while the mailbox is open.
    void onChatWithMessage(std::shared_ptr<KavoMessage> message);
    // Removes every mail of this type from the list and from the app-wide mailbox.
    void doRemoveAllMessages();

    // The friend chosen in the friend list (the delete question acts on it).
    int32_t _selectedFriendID() const { return selectedFriendID_; }
    void set_selectedFriendID(int32_t id) { selectedFriendID_ = id; }

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::TableView>& tblMessage() const { return tblMessage_; }

private:
    void reloadRows();

    int32_t messageType_ = 2;
    KavoMessageList listMessage_;
    std::vector<std::shared_ptr<Player>> listAllFriends_;
    int32_t selectedFriendID_ = 0;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tblMessage_;
};

} // namespace kavo
