#include "social/MessageView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/Label.h"
#include "table/TextRowsSource.h"

namespace kavo {

const std::shared_ptr<MessageView>& MessageView::getInstance() {
    static const std::shared_ptr<MessageView> instance = std::make_shared<MessageView>();
    return instance;
}

MessageView::MessageView() : KavoViewController("MessageView"), rows_(std::make_shared<TextRowsSource>()) {}

MessageView::~MessageView() = default;

void MessageView::setListMessage(KavoMessageList messages) {
    listMessage_.clear();
    for (auto& message : messages) {
        if (message) listMessage_.push_back(std::move(message));
    }
    reloadRows();
}

void MessageView::set_listAllFriends(std::vector<std::shared_ptr<Player>> friends) {
    listAllFriends_ = std::move(friends);
}

void MessageView::forceReloadFriendList() {
    reloadRows();
}

void MessageView::onNewMessage(std::shared_ptr<KavoMessage> message) {
    if (!message) return;
    UIController::addItemIntoListMessage(message);
    if (message->type() == messageType_) listMessage_.insert(listMessage_.begin(), std::move(message));
    reloadRows();
}

void MessageView::onChatWithMessage(std::shared_ptr<KavoMessage> message) {
    onNewMessage(std::move(message));
}

void MessageView::doRemoveAllMessages() {
    UIController::removeItemsIntoListMessage(UIController::listMessageWithFilter(messageType_));
    listMessage_.clear();
    reloadRows();
}

void MessageView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(25, 35, 60));
    auto title = platform::ui::Label::make(Util::changeRectFromRect({10, 40, 300, 24}),
                                           Resources::getInstance().textWithKey("KAVO_Chat_TinNhanHeThong"));
    title->setAccessibilityIdentifier("lblTitle");
    title->setTextColor(platform::ui::Color::white());
    title->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(title);
    tblMessage_ = rows_->makeTable(Util::changeRectFromRect({10, 70, 460, 240}), "tblMessage");
    root.addSubview(tblMessage_);
    reloadRows();
}

void MessageView::reloadRows() {
    std::vector<std::string> rows;
    for (const auto& message : listMessage_)
        rows.push_back(message->fromName() + ": " + message->message());
    rows_->setRows(std::move(rows));
    if (tblMessage_) tblMessage_->reloadData();
}

} // namespace kavo
