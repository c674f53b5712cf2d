#pragma once

#include "app/widgets/CustomTextField.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "portal/model/Chat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class ChatDatabase;
class KavoViewController;

// The panel of one private conversation: the bubbles, a 40-unit text field, the
// emoticon picker and the send button. The messages screen makes one per partner and
// shows one at a time; a friend's panel borrows the screen's chat database and stores
// every line it sends (a panel for a mailbox sender has none and only sends). The
// player profile keeps one too. Main thread only.
class ChatView : public platform::ui::View,
                 public CustomTextFieldOwner,
                 public platform::ui::TableViewDataSource,
                 public platform::ui::TableViewDelegate,
                 public platform::ui::TextFieldDelegate,
                 public platform::ui::AlertViewDelegate {
public:
    // The typing limit, in UTF-16 units.
    static constexpr size_t kMaxLength = 40;
    // _typeChat of a friend's panel.
    static constexpr int32_t kFriendChat = 103;

    explicit ChatView(platform::ui::Rect frame = {});
    ~ChatView() override;
    // A panel with its whole layout (tablet geometry on a tablet).
    static std::shared_ptr<ChatView> make(platform::ui::Rect frame);

    // ---- what the messages screen gives it
    const std::string& friendName() const { return friendName_; }
    void setFriendName(std::string name) { friendName_ = std::move(name); }
    int32_t friendID() const { return friendID_; }
    void setFriendID(int32_t id) { friendID_ = id; }
    int32_t avatarFriendID() const { return avatarFriendID_; }
    void setAvatarFriendID(int32_t id) { avatarFriendID_ = id; }
    int32_t typeChat() const { return typeChat_; }
    void setTypeChat(int32_t type) { typeChat_ = type; }
    const std::shared_ptr<ChatDatabase>& parentSqlDB() const { return parentSqlDB_; }
    void setParentSqlDB(std::shared_ptr<ChatDatabase> db) { parentSqlDB_ = std::move(db); }
    KavoViewController* parentViewController() const { return parentViewController_; }
    void setParentViewController(KavoViewController* screen) { parentViewController_ = screen; }

    // The lines shown, oldest first.
    std::vector<std::shared_ptr<Chat>>& arrChat() { return arrChat_; }
    void resetArrChat() { arrChat_.clear(); }
    // Scrolls so the newest line shows, then reloads the bubbles.
    void reloadChats();
    void forceReloadData();
    void hideView() { setHidden(true); }

    // ---- controls
    void showEmoticonsScreen();
    void onClickEmotion(int tag);
    // The text changed: more than 40 units are cut to the first 40 (whole characters).
    void changedEditing();
    // Send button and return key.
    void doSendMessage();
    // Typing starts: the screen moves up once so the keyboard leaves the field visible.
    void beginEdit();
    // Asks whether to befriend the partner; OK searches the name (no control offers it).
    void doAddFriend();
    void onAddFriendResult(int result);
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;
    int addFriendResult() const { return addFriendResult_; }

    bool isEdit() const { return isEdit_; }
    bool isEmoViewShowed() const { return isEmoViewShowed_; }
    // How far the screen moves up while typing.
    static double editLift();

    // The player profile's emoticon field (CustomTextFieldOwner).
    void beginEdit(CustomTextField& sender) override;
    void endEditing(CustomTextField& sender) override;
    bool isEditing() const { return isEdit_; }

    // ---- table of bubbles
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    // ---- text field
    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;

    const std::shared_ptr<platform::ui::TableView>& tblContent() const { return tblContent_; }
    const std::shared_ptr<platform::ui::TextField>& txtChat() const { return txtChat_; }
    const std::shared_ptr<platform::ui::View>& emoView() const { return emoView_; }
    const std::shared_ptr<platform::ui::ScrollView>& emoScroll() const { return emoScroll_; }
    const std::shared_ptr<platform::ui::Button>& btnEmoticon() const { return btnEmoticon_; }
    const std::shared_ptr<platform::ui::Button>& btnSend() const { return btnSend_; }

private:
    void buildLayout();
    void addEmoticonButtons();
    // The view the keyboard lift moves: three levels up, or the panel when it stands alone.
    platform::ui::View& liftTarget();
    void moveLift(double dy, double duration);
    // Step 3 on of a send: the text leaves the field; stored, sent and shown.
    void sendMessage();

    std::string friendName_;
    int32_t friendID_ = 0;
    int32_t avatarFriendID_ = -1;
    int32_t typeChat_ = 0;
    std::shared_ptr<ChatDatabase> parentSqlDB_;
    KavoViewController* parentViewController_ = nullptr;
    std::vector<std::shared_ptr<Chat>> arrChat_;
    bool isEdit_ = false;
    bool isEmoViewShowed_ = false;
    int addFriendResult_ = -1;
    std::weak_ptr<platform::ui::AlertView> addFriendAlert_;

    std::shared_ptr<platform::ui::TableView> tblContent_;
    std::shared_ptr<platform::ui::TextField> txtChat_;
    std::shared_ptr<platform::ui::View> emoView_;
    std::shared_ptr<platform::ui::ScrollView> emoScroll_;
    std::shared_ptr<platform::ui::Button> btnEmoticon_;
    std::shared_ptr<platform::ui::Button> btnSend_;
};

} // namespace kavo
