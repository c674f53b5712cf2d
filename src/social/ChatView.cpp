#include "social/ChatView.h"

#include "app/EscapeTarget.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "app/widgets/EmoticonText.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"
#include "social/ChatBubbleTableCell.h"
#include "social/ChatDatabase.h"
#include "social/FriendSearch.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kavo {

using platform::ui::Button;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::ImageView;
using platform::ui::Rect;

namespace {

// The bubbles' table: a touch on the conversation closes the emoticon picker.
class ConversationTable : public platform::ui::TableView {
public:
    using TableView::TableView;
    std::function<void()> onTouch;
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override {
        if (onTouch) onTouch();
        TableView::touchesBegan(touches);
    }
};

// The panel's parts, phone and tablet.
struct ChatLayout {
    Rect table, emoticonButton, separator, textBackground, textField, sendButton, picker, pickerScroll;
    const char* emoticonImage;
    double fieldFont, sendFont;
};

const ChatLayout kPhone{{0, 0, 292, 190},
                        {2, 204, 37, 36},
                        {2, 195, 290, 8},
                        {45, 207, 191, 30},
                        {50, 213, 211, 30},
                        {238, 202, 54, 36},
                        {6, 146, 286, 48},
                        {0, 3, 280, 40},
                        "chat_add_icon.png",
                        12,
                        15};
const ChatLayout kTablet{{0, 0, 623, 460},
                         {4, 490, 79, 86},
                         {4, 468, 619, 8},
                         {96, 497, 407, 72},
                         {100, 515, 407, 72},
                         {508, 485, 115, 86},
                         {0, 355, 623, 115},
                         {10, 2, 610, 110},
                         "chat_add_icon",
                         24,
                         30};

const ChatLayout& layout() {
    return Util::isPad() ? kTablet : kPhone;
}

// The height of a row whose line fits on one line of text.
double rowHeight() {
    return Util::isPad() ? 120 : 60;
}

// The font a line's label draws in, and measures in, so that its bubble holds what is drawn.
Font lineFont() {
    return Util::isPad() ? Font::boldSystem(20) : Font::system(13);
}

// The widest a line's label may be for the label and its bubble to stay inside a table
// `tableWidth` wide: the partner's bubble starts at x 30 and reaches 5 past the label's end
// (its label starts at 50, on a tablet at 60); mine ends 37 short of the table's right edge
// on a phone and starts 24 left of its label, which ends at 580, on a tablet.
double widestLabel(bool mine, double tableWidth) {
    if (Util::isPad()) return mine ? 556 : tableWidth - 65;
    return mine ? tableWidth - 62 : tableWidth - 55;
}

// The size of a line's text as its label draws it, wrapped within the widest label its
// side allows (each emoticon 8 points wider than its code).
platform::ui::Size textSize(const Chat& chat, double tableWidth) {
    const Font font = lineFont();
    const EmoticonTable emoticons = EmoticonText::currentTable();
    const auto lines =
        CustomLabel::wrapLines(chat.content(), font, emoticons, widestLabel(chat.isMe() != 0, tableWidth));
    double widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, CustomLabel::drawnWidth(line, font, emoticons));
    return {std::ceil(widest), std::ceil(font.lineHeight() * double(lines.size()))};
}

// Where a row's avatar, text and bubble stand, for a text of `text` size (w by h), in a
// table `tableWidth` wide.
struct BubbleFrames {
    Rect avatar, label, bubble;
};

BubbleFrames bubbleFrames(bool mine, platform::ui::Size text, double tableWidth) {
    const double w = text.width, h = text.height;
    if (Util::isPad()) {
        // The partner's label starts 30 into the bubble: the bubble reaches 5 past its end.
        if (!mine) return {{0, 25, 30, 40}, {60, 30, w, h}, {30, 20, w + 35, h + 40}};
        const double x = 650 - w - 70;
        return {{574, 40, 30, 40}, {x, 40, w, h}, {x - 24, 24, w + 25, h + 40}};
    }
    if (!mine) return {{0, 10, 30, 40}, {50, 15, w, h}, {30, 10, w + 25, h + 20}};
    const double x = tableWidth - w - 55;
    return {{tableWidth - 30, 20, 30, 40}, {x, 20, w, h + 10}, {x - 7, 15, w + 25, h + 30}};
}

int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::shared_ptr<ImageView> picture(Rect frame, const char* name) {
    auto view = ImageView::make(frame);
    view->setImage(Util::getImageWithName(name));
    return view;
}

} // namespace

ChatView::ChatView(Rect frame) : platform::ui::View(frame) {}

ChatView::~ChatView() {
    if (tblContent_) {
        tblContent_->setDataSource(nullptr);
        tblContent_->setDelegate(nullptr);
    }
    if (txtChat_) txtChat_->setDelegate(nullptr);
    // A question still open must not call a panel that is gone.
    if (auto alert = addFriendAlert_.lock()) alert->setDelegate(nullptr);
}

std::shared_ptr<ChatView> ChatView::make(Rect frame) {
    auto panel = std::make_shared<ChatView>(frame);
    panel->buildLayout();
    return panel;
}

double ChatView::editLift() {
    return Util::isPad() ? 300 : 130;
}

void ChatView::buildLayout() {
    const ChatLayout& l = layout();
    auto table = std::make_shared<ConversationTable>(l.table);
    table->onTouch = [this] {
        emoView_->setHidden(true);
        isEmoViewShowed_ = false;
    };
    tblContent_ = table;
    tblContent_->setAccessibilityIdentifier("tblContent");
    tblContent_->setSeparatorStyle(platform::ui::TableViewCellSeparatorStyle::None);
    tblContent_->setBackgroundColor(Color::clear());
    tblContent_->setRowHeight(rowHeight());
    tblContent_->setDataSource(this);
    tblContent_->setDelegate(this);
    addSubview(tblContent_);

    btnEmoticon_ = Button::make(l.emoticonButton);
    btnEmoticon_->setAccessibilityIdentifier("btnEmoticon");
    btnEmoticon_->setImage(Util::getImageWithName(l.emoticonImage));
    btnEmoticon_->onTouchUpInside([this] { showEmoticonsScreen(); });
    addSubview(btnEmoticon_);

    addSubview(picture(l.separator, "chat_line.png"));
    addSubview(picture(l.textBackground, "chat_textbox_chat.png"));

    txtChat_ = platform::ui::TextField::make(l.textField);
    txtChat_->setAccessibilityIdentifier("txtChat");
    txtChat_->setFont(Font::system(l.fieldFont));
    txtChat_->setTextColor(Color::white());
    txtChat_->setBorderStyle(platform::ui::TextBorderStyle::None);
    txtChat_->setAutocorrectionType(platform::ui::AutocorrectionType::No);
    txtChat_->setPlaceholder(kavo::text("KAVO_chatHere"));
    txtChat_->setDelegate(this);
    txtChat_->addTarget(platform::ui::ControlEvent::EditingChanged, [this] { changedEditing(); });
    addSubview(txtChat_);

    btnSend_ = Button::make(l.sendButton);
    btnSend_->setAccessibilityIdentifier("btnSend");
    btnSend_->setBackgroundImage(Util::getImageWithName("chat_button_send.png"));
    btnSend_->setTitle(kavo::text("KAVO_Chat_Send"));
    btnSend_->setTitleColor(Color::white());
    btnSend_->titleLabel()->setFont(Font::boldSystem(l.sendFont));
    btnSend_->onTouchUpInside([this] { doSendMessage(); });
    addSubview(btnSend_);

    // Escape takes the board away as its button does.
    emoView_ = closingView<platform::ui::View>(l.picker, "emoView", [this] {
        showEmoticonsScreen();
        return true;
    });
    emoView_->addSubview(picture(Rect{0, 0, l.picker.width(), l.picker.height()}, "chat_bg_emoticon.png"));
    emoScroll_ = platform::ui::ScrollView::make(l.pickerScroll);
    emoView_->addSubview(emoScroll_);
    emoView_->setHidden(true);
    addSubview(emoView_);
    addEmoticonButtons();
}

void ChatView::addEmoticonButtons() {
    const EmoticonTable table = EmoticonText::currentTable();
    const bool pad = Util::isPad();
    const int perRow = pad ? 12 : 8;
    const double side = pad ? 48 : 24;
    for (size_t i = 0; i < table.size(); ++i) {
        const int column = int(i) % perRow;
        const int row = int(i) / perRow;
        const Rect frame = pad ? Rect{14.0 + 50 * column, 4.0 + 48 * row, side, side}
                               : Rect{10.0 + 32 * column, 2.0 + 24 * row, side, side};
        auto button = Button::make(frame);
        button->setImage(Util::getImageWithName(table[i].second));
        if (pad) button->imageView()->setContentMode(platform::ui::ContentMode::ScaleToFill);
        const int tag = 1000 + int(i);
        button->setTag(tag);
        button->setAccessibilityIdentifier("onClickEmotion");
        button->onTouchUpInside([this, tag] { onClickEmotion(tag); });
        emoScroll_->addSubview(button);
    }
    const double rows = double(table.size() / size_t(perRow));
    auto size = emoScroll_->contentSize();
    size.height += side * rows + 20;
    emoScroll_->setContentSize(size);
}

// ---------------------------------------------------------------- controls

void ChatView::showEmoticonsScreen() {
    isEmoViewShowed_ = emoView_->isHidden();
    emoView_->setHidden(!isEmoViewShowed_);
    if (isEmoViewShowed_) bringSubviewToFront(emoView_.get());
}

void ChatView::onClickEmotion(int tag) {
    const EmoticonTable table = EmoticonText::currentTable();
    const int index = tag - 1000;
    if (index < 0 || size_t(index) >= table.size()) return;
    const std::string& code = table[size_t(index)].first;
    const std::string current = txtChat_->text();
    // Not cut to the limit: the code is inserted whole.
    txtChat_->setText(current.empty() ? code : current + " " + code);
}

void ChatView::changedEditing() {
    const std::string current = txtChat_->text();
    if (platform::utf16Length(current) > kMaxLength) txtChat_->setText(platform::prefixUtf16(current, kMaxLength));
}

platform::ui::View& ChatView::liftTarget() {
    platform::ui::View* target = this;
    for (int level = 0; level < 3; ++level) {
        if (!target->superview()) return *this;
        target = target->superview();
    }
    return *target;
}

void ChatView::moveLift(double dy, double duration) {
    platform::ui::View& target = liftTarget();
    platform::ui::View::beginAnimations("chat");
    if (duration > 0) platform::ui::View::setAnimationDuration(duration);
    Rect frame = target.frame();
    frame.origin.y += dy;
    target.setFrame(frame);
    platform::ui::View::commitAnimations();
}

void ChatView::beginEdit() {
    // Without an on-screen keyboard there is nothing to make room for: lifted, the
    // panel's tabs, title and close button would leave the window.
    if (isEdit_ || !platform::ui::Keyboard::exists()) return;
    isEdit_ = true;
    moveLift(-editLift(), 0);
}

void ChatView::beginEdit(CustomTextField& /*sender*/) {
    beginEdit();
}

void ChatView::endEditing(CustomTextField& /*sender*/) {
    if (!isEdit_) return;
    isEdit_ = false;
    moveLift(editLift(), 0);
}

void ChatView::didBeginEditing(platform::ui::TextField& /*field*/) {
    beginEdit();
}

bool ChatView::shouldReturn(platform::ui::TextField& field) {
    if (&field != txtChat_.get()) return true;
    if (isEdit_) {
        txtChat_->resignFirstResponder();
        isEdit_ = false;
        moveLift(editLift(), 0.5);
    }
    emoView_->setHidden(true);
    isEmoViewShowed_ = false;
    sendMessage();
    return true;
}

void ChatView::doSendMessage() {
    if (isEdit_) {
        txtChat_->resignFirstResponder();
        isEdit_ = false;
        moveLift(editLift(), 0);
    }
    emoView_->setHidden(true);
    isEmoViewShowed_ = false;
    sendMessage();
}

void ChatView::sendMessage() {
    const std::string line = txtChat_->text();
    txtChat_->setText("");
    if (line.empty()) return;
    const int64_t now = nowMilliseconds();
    KavoMessage stored;
    stored.setFromID(friendID_);
    stored.setMessage(line);
    stored.setFromName(friendName_);
    stored.setTime(now);
    // A panel without a connection (a mailbox sender's) still sends and shows the line.
    if (parentSqlDB_)
        parentSqlDB_->insertMsg(stored, ChatDatabase::kSent);
    else
        platform::log("chat line not stored: the panel has no chat database");
    GlobalService::getInstance().chatToWithIDDB(friendID_, line);
    auto chat = std::make_shared<Chat>();
    chat->setName(UIController::myInfo()->name());
    chat->setContent(line);
    chat->setIsMe(1);
    chat->setTime(now);
    arrChat_.push_back(std::move(chat));
    reloadChats();
}

void ChatView::doAddFriend() {
    std::string question = kavo::text("KAVO_MakeFriendQuestion");
    if (const auto slot = question.find("%@"); slot != std::string::npos) question.replace(slot, 2, friendName_);
    auto alert = platform::ui::AlertView::make("", question, this, kavo::text("KAVO_cancel"), {kavo::text("KAVO_OK")});
    addFriendAlert_ = alert;
    alert->show();
}

void ChatView::clickedButtonAtIndex(platform::ui::AlertView& /*alert*/, int index) {
    if (index == 1) FriendSearch::requestByName(friendName_);
}

void ChatView::onAddFriendResult(int result) {
    addFriendResult_ = result;
    FriendSearch::showResult(result, UIController::kActionFriendAdded);
}

// ---------------------------------------------------------------- bubbles

void ChatView::reloadChats() {
    // Reloaded first: a reload pulls the offset back inside the rows, and the margin
    // below the newest line lies past them. A long line's row is taller than one line's.
    tblContent_->reloadData();
    const double height = tblContent_->frame().height();
    const double content = tblContent_->contentSize().height;
    if (height < content) {
        const double margin = Util::isPad() ? 40 : 20;
        tblContent_->setContentOffset({0, content - height + margin}, true);
    }
}

void ChatView::forceReloadData() {
    tblContent_->reloadData();
}

int ChatView::numberOfRows(platform::ui::TableView& /*table*/, int /*section*/) {
    return int(arrChat_.size());
}

double ChatView::heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) {
    if (indexPath.row < 0 || size_t(indexPath.row) >= arrChat_.size()) return rowHeight();
    // The row grows with the lines its text wraps onto, to hold the whole bubble.
    const Chat& chat = *arrChat_[size_t(indexPath.row)];
    const double tableWidth = table.frame().width();
    const BubbleFrames frames = bubbleFrames(chat.isMe() != 0, textSize(chat, tableWidth), tableWidth);
    return std::max(rowHeight(), std::ceil(frames.bubble.maxY()));
}

std::shared_ptr<platform::ui::TableViewCell> ChatView::cellForRow(platform::ui::TableView& table,
                                                                  const platform::ui::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<ChatBubbleTableCell>(
        table.dequeueReusableCell(ChatBubbleTableCell::kReuseIdentifier));
    if (!cell) cell = std::make_shared<ChatBubbleTableCell>();
    cell->setAccessoryType(platform::ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(platform::ui::TableViewCellSelectionStyle::None);
    cell->setUserInteractionEnabled(false);
    if (indexPath.row < 0 || size_t(indexPath.row) >= arrChat_.size()) return cell;
    const Chat& chat = *arrChat_[size_t(indexPath.row)];
    const auto& label = cell->messageContentView();
    label->setFont(lineFont());
    label->setNumberOfLines(0);
    label->setText(chat.content());
    label->setTextColor(Color::white());
    const bool mine = chat.isMe() != 0;
    auto bubble = Util::getImageWithName(mine ? "chat_khungthoai(right).png" : "chat_khungthoai(left).png");
    if (bubble) bubble = bubble->stretchable(24, 15);
    cell->bgImageView()->setImage(bubble);
    Resources::getInstance().assignAvatarId(mine ? UIController::myInfo()->avatar() : avatarFriendID_, cell->avatar());
    const BubbleFrames frames = bubbleFrames(mine, textSize(chat, table.frame().width()), table.frame().width());
    cell->avatar()->setFrame(frames.avatar);
    label->setFrame(frames.label);
    cell->bgImageView()->setFrame(frames.bubble);
    return cell;
}

} // namespace kavo
