#include "social/MessageView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/MessageBadge.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "social/AddFriendView.h"
#include "social/ChatDatabase.h"
#include "social/ChatView.h"
#include "social/FriendInviteView.h"
#include "social/FriendSearch.h"
#include "social/MessageHeaderView.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace kavo {

using platform::ui::Button;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;

namespace {

constexpr int8_t kFriendListRequest = 5;
constexpr int32_t kTypeAdministrator = 3;

// Tags of a friend row's parts.
constexpr int kTagAvatar = 101;
constexpr int kTagStatus = 102;
constexpr int kTagName = 103;

double rowHeight() {
    return Util::isPad() ? 100 : 41;
}

// A line's identity, to store and show each received line once.
using LineKey = std::tuple<int32_t, int64_t, std::string>;
// Private lines arrive untyped; friend requests and typed mail stay in the mailbox when
// their sender's panel opens.
bool mayBePrivateLine(const KavoMessage& message) {
    return !message.isRequestAddFriend() && message.type() == 0;
}

// The system bar holds the server's mail that is neither the administrators' nor a
// friend request, and no private line: every mail of the list shows under a bar or in
// its sender's conversation, as many as the unread badge counts.
bool isSystemMail(const KavoMessage& message) {
    return !message.isRequestAddFriend() && message.type() != kTypeAdministrator && !message.isPrivateLine();
}

LineKey keyOf(const KavoMessage& message) {
    return {message.fromID(), message.time(), message.message()};
}

std::shared_ptr<Chat> receivedLine(const KavoMessage& message) {
    auto chat = std::make_shared<Chat>();
    chat->setName(message.fromName());
    chat->setContent(message.message());
    chat->setIsMe(0);
    chat->setTime(message.time());
    return chat;
}

} // namespace

const std::shared_ptr<MessageView>& MessageView::getInstance() {
    static const std::shared_ptr<MessageView> instance = std::make_shared<MessageView>();
    return instance;
}

std::shared_ptr<MessageView> MessageView::pushNew() {
    auto mailbox = std::make_shared<MessageView>();
    if (auto navigation = KavoOnlineAppDelegate::getInstance().navigationController())
        navigation->pushViewController(mailbox, true);
    return mailbox;
}

MessageView::MessageView() : KavoViewController("MessageView") {}

void MessageView::resetForTesting() {
    if (isViewLoaded()) {
        view()->removeFromSuperview();
        tblView_->setDataSource(nullptr);
        tblView_->setDelegate(nullptr);
    }
    setView(nullptr);
    if (kavoDB_) kavoDB_->close();
    kavoDB_.reset();
    friendInviteView_.reset();
    addFriendView_.reset();
    listMessage_.clear();
    listAllFriends_.clear();
    listRecentChats_.clear();
    listChatView_.clear();
    activeChatView_.reset();
    newMessageList_.clear();
    newMessageComing_ = newMessageComingForReloading_ = isAdded_ = false;
    viewingTabIndex_ = kTabFriends;
    countInvites_ = countMessageFromAdmin_ = countMessageFromSystem_ = 0;
    selectedFromID_ = 0;
    selectedIndex_ = -1;
    messageType_ = 2;
}

MessageView::~MessageView() {
    if (tblView_) {
        tblView_->setDataSource(nullptr);
        tblView_->setDelegate(nullptr);
    }
    if (kavoDB_) kavoDB_->close();
}

void MessageView::setListMessage(KavoMessageList messages) {
    listMessage_.clear();
    for (auto& message : messages)
        if (message) listMessage_.push_back(std::move(message));
}

void MessageView::set_listAllFriends(std::vector<std::shared_ptr<Player>> friends) {
    listAllFriends_.clear();
    for (auto& player : friends)
        if (player) listAllFriends_.push_back(std::move(player));
}

bool MessageView::checkSenderExistInListFriends(const std::string& name) {
    for (const auto& player : Resources::getInstance().listMyFriends())
        if (player && player->name() == name) return true;
    return false;
}

// ---------------------------------------------------------------- layout

void MessageView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(Color::rgba(20, 30, 55));
    auto tab = [&](Rect frame, const char* identifier, int tag) {
        auto button = Button::make(scaled(frame));
        button->setAccessibilityIdentifier(identifier);
        button->setTag(tag);
        button->setTitleColor(Color::white());
        button->onTouchUpInside([this, tag] { doChangeTab(tag); });
        root.addSubview(button);
        return button;
    };
    // The tabs stand below the back button and the event ticker's strip (the top left
    // 240 x 30), with room between them for the unread badge.
    btnGanDay_ = tab({4, 42, 78, 28}, "btnGanDay", kTabRecent);
    btnBanBe_ = tab({98, 42, 78, 28}, "btnBanBe", kTabFriends);

    tblView_ = platform::ui::TableView::make(scaled({4, 72, 170, 212}));
    tblView_->setAccessibilityIdentifier("tblView");
    tblView_->setBackgroundColor(Color::clear());
    tblView_->setRowHeight(rowHeight());
    tblView_->setDataSource(this);
    tblView_->setDelegate(this);
    root.addSubview(tblView_);

    btnRemoveAll_ = Button::make(scaled({4, 288, 110, 28}));
    btnRemoveAll_->setAccessibilityIdentifier("onRemoveAll");
    btnRemoveAll_->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
    btnRemoveAll_->onTouchUpInside([this] { onRemoveAll(); });
    root.addSubview(btnRemoveAll_);

    // The open conversation's picture, name and time: right of the ticker's strip.
    imgViewUserAvatar_ = platform::ui::ImageView::make(scaled({242, 4, 30, 30}));
    imgViewUserAvatar_->setAccessibilityIdentifier("imgViewUserAvatar");
    imgViewUserAvatar_->setHidden(true);
    root.addSubview(imgViewUserAvatar_);
    lblUserName_ = platform::ui::Label::make(scaled({276, 2, 80, 18}));
    lblUserName_->setAccessibilityIdentifier("lblUserName");
    lblChatTime_ = platform::ui::Label::make(scaled({276, 20, 80, 14}));
    lblChatTime_->setAccessibilityIdentifier("lblChatTime");
    for (const auto& label : {lblUserName_, lblChatTime_}) {
        label->setTextColor(Color::white());
        label->setBackgroundColor(Color::clear());
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumFontSize(6 * Util::iPad());
        root.addSubview(label);
    }

    btnAddFriend_ = Button::make(scaled({358, 6, 80, 26}));
    btnAddFriend_->setAccessibilityIdentifier("btnAddFriend");
    btnAddFriend_->setBackgroundImage(Util::getImageWithName("tap_main_selectTab.png"));
    btnAddFriend_->onTouchUpInside([this] { showAddFriendView(); });
    root.addSubview(btnAddFriend_);

    btnClose_ = Button::make(scaled({446, 4, 29, 27}));
    btnClose_->setAccessibilityIdentifier("doCloseThisView");
    btnClose_->setBackgroundImage(Util::getImageWithName("close_button.png"));
    btnClose_->onTouchUpInside([this] { doCloseThisView(); });
    root.addSubview(btnClose_);

    viewContent_ = platform::ui::View::make(scaled({178, 40, 298, 241}));
    viewContent_->setAccessibilityIdentifier("viewContent");
    root.addSubview(viewContent_);

    for (const auto& button : {btnGanDay_, btnBanBe_, btnAddFriend_}) {
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumFontSize(7 * Util::iPad());
    }
    // The unread badge between the tabs, off the close button.
    if (imgViewCounterMessage() && lblCounterMessage()) {
        placeMessageBadge(*imgViewCounterMessage(), *lblCounterMessage(), btnGanDay_->frame());
        root.bringSubviewToFront(imgViewCounterMessage().get());
        root.bringSubviewToFront(lblCounterMessage().get());
    }
}

void MessageView::setUIScreen() {
    btnGanDay_->setTitle(text("KAVO_Chat_GanDay"));
    btnBanBe_->setTitle(text("KAVO_Chat_BanBe"));
    lblChatTime_->setText("");
    lblUserName_->setText("");
    btnAddFriend_->setTitle(text("KAVO_addFriend"));
    btnRemoveAll_->setTitle(text("KAVO_delete"));
    imgViewUserAvatar_->setHidden(true);
    // Bold system fonts by the view's width: tabs, time, name.
    const double width = view()->frame().width();
    double tabs = 8, time = 6, name = 6;
    if (Util::isPad())
        std::tie(tabs, time, name) = width >= 800 ? std::tuple{26.0, 20.0, 30.0} : std::tuple{16.0, 12.0, 12.0};
    else if (width >= 400)
        std::tie(tabs, time, name) = std::tuple{13.0, 9.0, 15.0};
    for (const auto& tabButton : {btnGanDay_, btnBanBe_})
        tabButton->titleLabel()->setFont(Font::boldSystem(tabs));
    lblChatTime_->setFont(Font::boldSystem(time));
    lblUserName_->setFont(Font::boldSystem(name));
}

// ---------------------------------------------------------------- coming into view and closing

void MessageView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    setMessageViewLoaded(true);
    listAllFriends_.clear();
    listRecentChats_.clear();
    listChatView_.clear();
    activeChatView_ = nullptr;
    newMessageList_.clear();
    viewingTabIndex_ = kTabFriends;
    newMessageComingForReloading_ = false;
    GlobalService::getInstance().requestFriendList(kFriendListRequest);
    setUIScreen();
    markTab(kTabFriends);
    showTatCaBanBe();
    syncListMessage();
    reloadInviteCount();
    for (const auto& subview : std::vector<platform::ui::ViewPtr>(viewContent_->subviews()))
        subview->removeFromSuperview();
    // The invitation and add-friend sheets of the last showing go with it (back takes the
    // mailbox off without closing them): each showing starts on the friends list.
    if (friendInviteView_ && friendInviteView_->isViewLoaded()) friendInviteView_->view()->removeFromSuperview();
    if (addFriendView_ && addFriendView_->isViewLoaded()) addFriendView_->view()->removeFromSuperview();
    // A new connection for each showing; the panels of the last one went above.
    if (kavoDB_) kavoDB_->close();
    kavoDB_ = std::make_shared<ChatDatabase>();
    kavoDB_->open(ChatDatabase::defaultPath());
    tblView_->reloadData();
}

void MessageView::doCloseThisView() {
    setMessageViewLoaded(false);
    if (kavoDB_) kavoDB_->close();
    auto self = std::static_pointer_cast<MessageView>(shared_from_this());
    auto navigation = KavoOnlineAppDelegate::getInstance().navigationController();
    if (navigation && navigation->topViewController() == self) {
        // A pushed mailbox leaves the stack; the shared one only leaves the screen under it.
        navigation->popViewController(true);
    } else {
        view()->removeFromSuperview();
    }
    platform::runOnMainThread([] {
        if (auto top = topScreenAs<KavoViewController>()) top->reloadMessages();
    });
}

// ---------------------------------------------------------------- tabs and the list

void MessageView::markTab(int tag) {
    for (const auto& button : {btnGanDay_, btnBanBe_}) {
        button->setBackgroundImage(nullptr);
        button->setTitleColor(Color::white());
    }
    const auto& chosen = tag == kTabRecent ? btnGanDay_ : btnBanBe_;
    chosen->setBackgroundImage(Util::getImageWithName("tap_main_selectTab.png"));
    chosen->setTitleColor(Color::rgba(255, 255, 0));
}

void MessageView::doChangeTab(int tag) {
    if (tag == viewingTabIndex_ || (tag != kTabRecent && tag != kTabFriends)) return;
    markTab(tag);
    if (tag == kTabRecent)
        showRecentChats();
    else
        showTatCaBanBe();
}

void MessageView::showTatCaBanBe() {
    viewingTabIndex_ = kTabFriends;
    showLoadingScreen(view());
    reloadListLater();
}

void MessageView::showRecentChats() {
    viewingTabIndex_ = kTabRecent;
    if (kavoDB_) {
        for (auto& partner : kavoDB_->queryAllConversation())
            if (std::find(listRecentChats_.begin(), listRecentChats_.end(), partner) == listRecentChats_.end())
                listRecentChats_.push_back(std::move(partner));
    }
    showLoadingScreen(view());
    reloadListLater();
}

void MessageView::reloadListLater() {
    std::weak_ptr<platform::ui::ViewController> weakSelf = weak_from_this();
    platform::runOnMainThread([weakSelf] {
        if (auto self = std::dynamic_pointer_cast<MessageView>(weakSelf.lock())) self->forceReloadFriendList();
    });
}

void MessageView::forceReloadFriendList() {
    if (!isViewLoaded()) return;
    tblView_->reloadData();
    hideLoadingScreen(view());
}

void MessageView::reloadInviteCount() {
    countInvites_ = countMessageFromAdmin_ = countMessageFromSystem_ = 0;
    for (const auto& message : listMessage_) {
        if (message->isRequestAddFriend())
            ++countInvites_;
        else if (message->type() == kTypeAdministrator)
            ++countMessageFromAdmin_;
        else if (isSystemMail(*message))
            ++countMessageFromSystem_;
    }
}

void MessageView::syncListMessage() {
    listMessage_ = UIController::listMessage();
}

void MessageView::refreshBadge() {
    reloadMessages();
}

std::shared_ptr<Player> MessageView::friendWithId(int32_t id) const {
    for (const auto& player : listAllFriends_)
        if (player->IDDB() == id) return player;
    return nullptr;
}

std::shared_ptr<Player> MessageView::friendAtRow(int row) const {
    if (row < 0) return nullptr;
    if (viewingTabIndex_ == kTabFriends)
        return size_t(row) < listAllFriends_.size() ? listAllFriends_[size_t(row)] : nullptr;
    if (size_t(row) >= listRecentChats_.size()) return nullptr;
    const std::string& partner = listRecentChats_[size_t(row)];
    const auto id = int32_t(std::atoll(partner.c_str()));
    if (auto player = friendWithId(id)) return player;
    // Somebody who is no friend: named by the id, with the default picture.
    auto stranger = std::make_shared<Player>();
    stranger->setIDDB(id);
    stranger->setName(partner);
    stranger->setAvatar(-1);
    return stranger;
}

int MessageView::numberOfRows(platform::ui::TableView& /*table*/, int /*section*/) {
    return int(viewingTabIndex_ == kTabRecent ? listRecentChats_.size() : listAllFriends_.size());
}

double MessageView::heightForRow(platform::ui::TableView& /*table*/, const platform::ui::IndexPath& /*indexPath*/) {
    return rowHeight();
}

std::shared_ptr<platform::ui::TableViewCell> MessageView::cellForRow(platform::ui::TableView& table,
                                                                     const platform::ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell("CellIdentifier");
    const bool pad = Util::isPad();
    if (!cell) {
        cell = platform::ui::TableViewCell::make(platform::ui::TableViewCellStyle::Default, "CellIdentifier");
        const auto& content = cell->contentView();
        auto background = platform::ui::ImageView::make(Rect{0, 0, table.frame().width(), pad ? 104.0 : 43.0});
        background->setImage(Util::getImageWithName(isAdded_ ? "tap_profile_cell1.png" : "tap_profile_cell2.png"));
        isAdded_ = !isAdded_;
        content->addSubview(background);
        auto avatar = platform::ui::ImageView::make(pad ? Rect{0, 0, 87, 100} : Rect{0, 0, 40, 40});
        avatar->setContentMode(platform::ui::ContentMode::Center);
        avatar->setClipsToBounds(true);
        avatar->setTag(kTagAvatar);
        content->addSubview(avatar);
        auto name = platform::ui::Label::make(pad ? Rect{87, 0, 123, 51} : Rect{41, 0, 58, 21});
        name->setFont(Font::boldSystem(pad ? 16 : 8));
        name->setTextColor(Color::white());
        name->setBackgroundColor(Color::clear());
        name->setTextAlignment(platform::ui::TextAlignment::Left);
        name->setTag(kTagName);
        content->addSubview(name);
        auto status = platform::ui::ImageView::make(pad ? Rect{277, 36, 24, 24} : Rect{130, 15, 10, 10});
        status->setTag(kTagStatus);
        status->setAccessibilityIdentifier("imgStatus");
        content->addSubview(status);
    }
    const auto player = friendAtRow(indexPath.row);
    const auto& content = cell->contentView();
    auto* avatar = dynamic_cast<platform::ui::ImageView*>(content->viewWithTag(kTagAvatar));
    auto* name = dynamic_cast<platform::ui::Label*>(content->viewWithTag(kTagName));
    auto* status = dynamic_cast<platform::ui::ImageView*>(content->viewWithTag(kTagStatus));
    if (!player || !avatar || !name || !status) return cell;
    name->setText(player->name());
    const char* statusImage = player->isReady() ? "chat_icon_trangthai2.png" : "chat_icon_trangthai3.png";
    for (const auto& message : listMessage_)
        if (message->fromID() == player->IDDB()) statusImage = "chat_icon_trangthai1.png";
    status->setImage(Util::getImageWithName(statusImage));
    if (player->avatar() < 0)
        avatar->setImage(Util::getImageWithName("av0.png"));
    else
        Resources::getInstance().assignAvatarId(
            player->avatar(), std::static_pointer_cast<platform::ui::ImageView>(avatar->shared_from_this()));
    return cell;
}

double MessageView::heightForHeader(platform::ui::TableView& /*table*/, int /*section*/) {
    if (viewingTabIndex_ != kTabRecent) return 0;
    return MessageHeaderView::height({countInvites_, countMessageFromAdmin_, countMessageFromSystem_});
}

platform::ui::ViewPtr MessageView::viewForHeader(platform::ui::TableView& table, int /*section*/) {
    if (viewingTabIndex_ != kTabRecent) return nullptr;
    const MessageHeaderView::Counts counts{countInvites_, countMessageFromAdmin_, countMessageFromSystem_};
    if (MessageHeaderView::height(counts) <= 0) return nullptr;
    return MessageHeaderView::make(
        counts, table.frame().width(), [this] { showFriendInviteView(); },
        [this](int tag) { showMessageFromSystem(tag); });
}

bool MessageView::canEditRow(platform::ui::TableView& /*table*/, const platform::ui::IndexPath& /*indexPath*/) {
    return viewingTabIndex_ == kTabFriends;
}

std::string MessageView::titleForDeleteConfirmationButton(platform::ui::TableView& /*table*/,
                                                          const platform::ui::IndexPath& /*indexPath*/) {
    return text("KAVO_delete");
}

void MessageView::commitEditingStyle(platform::ui::TableView& /*table*/, platform::ui::TableViewCellEditingStyle style,
                                     const platform::ui::IndexPath& indexPath) {
    if (style != platform::ui::TableViewCellEditingStyle::Delete || viewingTabIndex_ != kTabFriends) return;
    // The row stays until the server sends a new friend list.
    if (auto player = friendAtRow(indexPath.row)) GlobalService::getInstance().deleteFriend(player->IDDB());
}

void MessageView::didSelectRow(platform::ui::TableView& /*table*/, const platform::ui::IndexPath& indexPath) {
    selectRow(indexPath.row);
}

void MessageView::selectRow(int row) {
    const auto player = friendAtRow(row);
    if (!player) return;
    selectedIndex_ = row;
    lblUserName_->setText(player->name());
    imgViewUserAvatar_->setHidden(false);
    if (player->avatar() < 0)
        imgViewUserAvatar_->setImage(Util::getImageWithName("av0.png"));
    else
        Resources::getInstance().assignAvatarId(player->avatar(), imgViewUserAvatar_);
    selectedFromID_ = player->IDDB();
    createChatViewForUser(*player);
    showChatViewForUser(*player);
    refreshBadge();
}

// ---------------------------------------------------------------- panels

void MessageView::addPanel(const std::string& key, const std::shared_ptr<ChatView>& panel) {
    panel->setParentViewController(this);
    listChatView_[key] = panel;
    viewContent_->addSubview(panel);
}

void MessageView::showPanel(const std::shared_ptr<ChatView>& panel) {
    for (const auto& [key, other] : listChatView_)
        other->hideView();
    panel->setHidden(false);
    activeChatView_ = panel;
}

void MessageView::takeReceivedLine(ChatView& panel, const KavoMessage& message) {
    if (kavoDB_) kavoDB_->insertMsg(message, ChatDatabase::kReceived);
    panel.arrChat().push_back(receivedLine(message));
}

std::string MessageView::lastLineTime(int32_t partnerId) {
    if (!kavoDB_) return "";
    const auto lines = kavoDB_->queryConversationWithUserID(std::to_string(partnerId), listAllFriends_);
    if (lines.empty() || lines.back()->time() == 0) return "";
    return text("KAVO_Chat_Time") + " " + Util::getDateWithLong(lines.back()->time());
}

bool MessageView::createChatViewForUser(const Player& player) {
    const std::string& name = player.name();
    if (listChatView_.count(name)) {
        KavoMessageList fromFriend;
        for (const auto& message : listMessage_)
            if (message->fromName() == name) fromFriend.push_back(message);
        UIController::markItemsReadIntoListMessage(fromFriend);
        syncListMessage();
        tblView_->reloadData();
        return false;
    }
    const Rect frame = Util::isPad() ? Rect{0, 0, viewContent_->frame().width(), 579} : Rect{0, 0, 298, 241};
    auto panel = ChatView::make(frame);
    panel->setAccessibilityIdentifier("chatView");
    panel->resetArrChat();
    panel->setFriendName(name);
    panel->setFriendID(selectedFromID_);
    panel->setTypeChat(ChatView::kFriendChat);
    panel->setAvatarFriendID(player.avatar());
    panel->setParentSqlDB(kavoDB_);

    std::set<LineKey> shown;
    const auto stored = kavoDB_->queryConversationWithUserID(std::to_string(player.IDDB()), listAllFriends_);
    for (const auto& record : stored) {
        auto chat = std::make_shared<Chat>();
        chat->setName(record->fromName());
        chat->setContent(record->message());
        chat->setIsMe(record->forWho() == ChatDatabase::kSent ? 1 : 0);
        panel->arrChat().push_back(std::move(chat));
        // Only received lines can come back through the mailbox.
        if (record->forWho() == ChatDatabase::kReceived) shown.insert(keyOf(*record));
    }
    lblChatTime_->setText(stored.empty() || stored.back()->time() == 0
                              ? std::string()
                              : text("KAVO_Chat_Time") + " " + Util::getDateWithLong(stored.back()->time()));

    // The friend's mail that waited in the list becomes lines of the panel, oldest first;
    // a line already stored is neither stored nor shown again.
    KavoMessageList read;
    for (auto it = listMessage_.rbegin(); it != listMessage_.rend(); ++it) {
        const auto& message = *it;
        if (message->fromName() != name || !mayBePrivateLine(*message)) continue;
        read.push_back(message);
        if (shown.insert(keyOf(*message)).second) takeReceivedLine(*panel, *message);
    }
    // Read now: saved, so that they do not wait in the mailbox again at the next sign-in.
    UIController::markItemsReadIntoListMessage(read);
    syncListMessage();
    // Lines of the pending list that the panel now shows stay out of it.
    newMessageList_.erase(std::remove_if(newMessageList_.begin(), newMessageList_.end(),
                                         [&](const auto& message) {
                                             return message->fromName() == name && shown.count(keyOf(*message));
                                         }),
                          newMessageList_.end());
    if (newMessageList_.empty()) newMessageComingForReloading_ = false;

    tblView_->reloadData();
    refreshBadge();
    addPanel(name, panel);
    return true;
}

bool MessageView::showChatViewForUser(const Player& player) {
    auto found = listChatView_.find(player.name());
    if (found == listChatView_.end()) return false;
    const auto& panel = found->second;
    lblChatTime_->setText(lastLineTime(player.IDDB()));
    lblUserName_->setText(player.name());
    showPanel(panel);
    if (newMessageComingForReloading_) {
        for (auto it = newMessageList_.begin(); it != newMessageList_.end();) {
            if ((*it)->fromName() == player.name()) {
                panel->arrChat().push_back(receivedLine(**it));
                it = newMessageList_.erase(it);
            } else {
                ++it;
            }
        }
        if (newMessageList_.empty()) newMessageComingForReloading_ = false;
    }
    panel->reloadChats();
    return true;
}

void MessageView::showMessageFromSystem(int tag) {
    const bool administrators = tag == 1;
    if (administrators)
        countMessageFromAdmin_ = 0;
    else
        countMessageFromSystem_ = 0;
    // Friend invitations share the administrators' type; they have a bar of their own.
    auto isWanted = [administrators](const std::shared_ptr<KavoMessage>& message) {
        return administrators ? message->type() == kTypeAdministrator && !message->isRequestAddFriend()
                              : isSystemMail(*message);
    };
    auto first = std::find_if(listMessage_.begin(), listMessage_.end(), isWanted);
    if (first != listMessage_.end()) {
        const auto message = *first;
        createChatViewForMessage(*message);
        showChatViewForMessage(*message);
        // Read: they leave the mailbox, and the server sending them again lists nothing.
        KavoMessageList read;
        std::copy_if(listMessage_.begin(), listMessage_.end(), std::back_inserter(read), isWanted);
        UIController::markItemsReadIntoListMessage(read);
        syncListMessage();
        reloadListLater();
    }
    refreshBadge();
    tblView_->reloadData();
}

bool MessageView::createChatViewForMessage(const KavoMessage& message) {
    const std::string& name = message.fromName();
    KavoMessageList fromSender;
    for (const auto& entry : listMessage_)
        if (entry->fromName() == name) fromSender.push_back(entry);
    if (listChatView_.count(name)) {
        UIController::markItemsReadIntoListMessage(fromSender);
        return false;
    }
    const Rect frame = Util::isPad() ? Rect{0, 0, 636, 579} : Rect{0, 0, 298, 241};
    auto panel = ChatView::make(frame);
    panel->setAccessibilityIdentifier("chatView");
    panel->resetArrChat();
    panel->setFriendName(name);
    panel->setFriendID(message.fromID());
    panel->setAvatarFriendID(-1);
    for (const auto& entry : fromSender)
        panel->arrChat().push_back(receivedLine(*entry));
    UIController::markItemsReadIntoListMessage(fromSender);
    addPanel(name, panel);
    return true;
}

bool MessageView::showChatViewForMessage(const KavoMessage& message) {
    auto found = listChatView_.find(message.fromName());
    if (found == listChatView_.end()) return false;
    showPanel(found->second);
    found->second->reloadChats();
    return true;
}

// ---------------------------------------------------------------- sheets

void MessageView::showFriendInviteView() {
    if (!friendInviteView_) friendInviteView_ = std::make_shared<FriendInviteView>();
    const auto& sheet = friendInviteView_->view();
    sheet->setFrame(Util::isPad() ? Rect{0, 0, 1024, 768} : Rect{0, 0, 480, 320});
    view()->addSubview(sheet);
    friendInviteView_->viewDidAppear(false);
    // The invitations now live in the sheet; the list is saved with its next change.
    KavoMessageList kept;
    for (const auto& message : UIController::listMessage())
        if (!message->isRequestAddFriend()) kept.push_back(message);
    UIController::setListMessage(kept);
    syncListMessage();
    reloadInviteCount();
    refreshBadge();
    // The screen's unread badge stays under the sheet, off its first row.
    view()->bringSubviewToFront(sheet.get());
    reloadListLater();
}

EscapeAnswer MessageView::closeItself() {
    doCloseThisView();
    return EscapeAnswer::closed;
}

void MessageView::showAddFriendView() {
    if (!addFriendView_) addFriendView_ = std::make_shared<AddFriendView>();
    view()->addSubview(addFriendView_->view());
    addFriendView_->viewWillAppear(true);
}

void MessageView::getFriendList() {
    GlobalService::getInstance().requestFriendList(kFriendListRequest);
}

void MessageView::getAdminMessage() {
    GlobalService::getInstance().requestFriendList(kFriendListRequest);
}

void MessageView::onAddFriendResult(int result) {
    FriendSearch::showResult(result, UIController::kActionNone);
}

// ---------------------------------------------------------------- mail

void MessageView::onChatWithMessage(std::shared_ptr<KavoMessage> message) {
    if (!message) return;
    // Mailbox batches carry notices and friend requests: they wait in the list and never
    // become lines of a conversation or of the chat file.
    if (!message->isPrivateLine()) {
        addPending(message);
        return;
    }
    // A friend's line shows at once in his conversation when that is the one open.
    if (activeChatView_ && !activeChatView_->isHidden() && activeChatView_->friendName() == message->fromName()) {
        takeReceivedLine(*activeChatView_, *message);
        activeChatView_->reloadChats();
        return;
    }
    onNewMessage(std::move(message));
}

void MessageView::onNewMessage(std::shared_ptr<KavoMessage> message) {
    if (!message) return;
    // Stored here as well: a panel made later in this showing reads it from the file.
    if (kavoDB_) kavoDB_->insertMsg(*message, ChatDatabase::kReceived);
    addPending(message);
}

void MessageView::addPending(const std::shared_ptr<KavoMessage>& message) {
    UIController::addItemIntoListMessage(message);
    syncListMessage();
    if (selectedIndex_ >= 0) ++selectedIndex_;
    newMessageComing_ = true;
    newMessageComingForReloading_ = true;
    newMessageList_.push_back(message);
    reloadInviteCount();
    if (isViewLoaded()) {
        tblView_->reloadData();
        hideLoadingScreen(view());
    }
}

void MessageView::clickedButtonAtIndex(platform::ui::AlertView& /*alert*/, int index) {
    if (index != 1 || selectedIndex_ < 0 || size_t(selectedIndex_) >= listMessage_.size()) return;
    const auto asked = listMessage_[size_t(selectedIndex_)];
    showLoadingScreen(view());
    // Every entry of that same message leaves.
    KavoMessageList same;
    for (const auto& message : listMessage_)
        if (message == asked) same.push_back(message);
    if (!same.empty()) UIController::removeItemsIntoListMessage(same);
    syncListMessage();
    reloadInviteCount();
    reloadListLater();
}

void MessageView::onRemoveAll() {
    UIController::startCancelOkDlg(text("KAVO_thongbao_xoa_item"), text("KAVO_cancel"), text("KAVO_OK"),
                                   {UIController::kActionRemoveAllMail});
}

void MessageView::doRemoveAllMessages() {
    UIController::removeItemsIntoListMessage(listMessage_);
    listMessage_.clear();
    reloadInviteCount();
    if (isViewLoaded()) tblView_->reloadData();
}

} // namespace kavo
