#include "table/sheets/boardChat.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "app/widgets/EmoticonText.h"
#include "lobby/BoardView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

using platform::ui::Rect;
using platform::ui::ReturnKeyType;

namespace {

// The chat field tells the sheet after every change, so the length rule runs on
// typed and pasted text alike.
class ChatTextField : public CustomTextField {
public:
    using CustomTextField::CustomTextField;
    std::function<void()> onChange;
    void insertText(const std::string& text) override {
        CustomTextField::insertText(text);
        if (text != "\n" && onChange) onChange();
    }
    void deleteBackward() override {
        CustomTextField::deleteBackward();
        if (onChange) onChange();
    }
};

// The palette: the toggle, then five emoticons a row, each `emoticonSide()` square, 2 apart.
double emoticonSide() {
    return Util::isPad() ? 50 : 24;
}
double toggleWidth() {
    return 35 * Util::iPad();
}
double paletteWidth() {
    return toggleWidth() + 5 * (emoticonSide() + 2) - 2;
}

// The layouts of the palette toggle: tag 1 narrows the history and the field.
struct ChatLayout {
    double rightX, rightY;
    Rect history, fieldImage, field;
    const char* fieldPicture;
};

ChatLayout layoutFor(int tag, double longSide) {
    const bool pad = Util::isPad();
    if (tag == 1) {
        // Open, the palette lies right of the narrowed history, inside the window: on the phone
        // in the middle of what the history leaves.
        if (pad) return {675, 12, {12, 12, 660, 244}, {12, 260, 660, 124}, {20, 265, 650, 120}, "server_bg_item.png"};
        const Rect history{6, 0, 290, 110};
        const double rightX = history.maxX() + (longSide - history.maxX() - paletteWidth()) / 2;
        return {rightX, 5, history, {6, 108, 290, 52}, {10, 110, 285, 52}, "server_bg_item.png"};
    }
    // Folded, only the toggle shows: the palette starts at the window's right edge.
    return pad ? ChatLayout{954,
                            12,
                            {12, 12, 938, 244},
                            {12, 259, 938, 124},
                            {21, 264, 924, 120},
                            "textfield_chat1.png"}
               : ChatLayout{longSide - 35,        5, {6, 0, 440, 110}, {6, 108, 440, 52}, {10, 110, 435, 52},
                            "textfield_chat1.png"};
}

void setTopBarAlpha(double alpha) {
    if (const auto& bar = KavoOnlineAppDelegate::getInstance().viewTopBar()) bar->setAlpha(alpha);
}

void showTopBar() {
    if (const auto& bar = KavoOnlineAppDelegate::getInstance().viewTopBar()) bar->setHidden(false);
}

} // namespace

const std::shared_ptr<boardChat>& boardChat::getInstance() {
    static const std::shared_ptr<boardChat> instance = std::make_shared<boardChat>();
    return instance;
}

boardChat::boardChat() : CustomUIActionSheetViewController("boardChat") {}

boardChat::~boardChat() {
    if (tblHistoryChat_) {
        tblHistoryChat_->setDataSource(nullptr);
        tblHistoryChat_->setDelegate(nullptr);
    }
}

size_t boardChat::countCharacters(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

std::string boardChat::firstCharacters(const std::string& text, size_t limit) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count == limit) return text.substr(0, i);
        ++count;
    }
    return text;
}

void boardChat::viewDidLoad() {
    const double longSide = Util::isPad() ? 1024 : 480;
    auto panel = platform::ui::View::make(Util::isPad() ? Rect{0, 0, 1024, 400} : Rect{0, 0, 480, 165});
    panel->setBackgroundColor(platform::ui::Color::rgba(30, 40, 60, 0.95));
    panel->setAccessibilityIdentifier("actionSheetView");
    view()->addSubview(panel);
    setActionSheetView(panel);

    const auto layout = layoutFor(0, longSide);
    tblHistoryChat_ = platform::ui::TableView::make(layout.history);
    tblHistoryChat_->setAccessibilityIdentifier("tblHistoryChat");
    tblHistoryChat_->setRowHeight(20);
    tblHistoryChat_->setBackgroundColor(platform::ui::Color::clear());
    tblHistoryChat_->setDataSource(this);
    tblHistoryChat_->setDelegate(this);
    panel->addSubview(tblHistoryChat_);

    imgTextField_ = platform::ui::ImageView::make(layout.fieldImage);
    imgTextField_->setAccessibilityIdentifier("imgTextField");
    imgTextField_->setImage(Util::getImageWithName(layout.fieldPicture));
    panel->addSubview(imgTextField_);

    auto field = std::make_shared<ChatTextField>(layout.field);
    field->onChange = [this] { changedEditing(); };
    txtChat_ = field;
    txtChat_->setAccessibilityIdentifier("txtChat");
    txtChat_->setParentViewController(this);
    panel->addSubview(txtChat_);

    // The right-hand panel: the palette toggle beside the emoticons, which it holds whole (a
    // click outside a view's bounds does not reach what it holds).
    const double side = paletteWidth();
    viewRight_ = platform::ui::View::make({layout.rightX, layout.rightY, side, Util::isPad() ? 380.0 : 160.0});
    viewRight_->setAccessibilityIdentifier("viewRight");
    panel->addSubview(viewRight_);
    btnEmotion_ = platform::ui::Button::make({0, 0, 30 * Util::iPad(), 30 * Util::iPad()});
    btnEmotion_->setAccessibilityIdentifier("clickEmotion");
    btnEmotion_->setTitle(":)");
    btnEmotion_->setTag(0);
    btnEmotion_->onTouchUpInside([this] { clickEmotion(); });
    viewRight_->addSubview(btnEmotion_);
    viewEmotions_ = platform::ui::View::make({toggleWidth(), 0, side - toggleWidth(), viewRight_->frame().height()});
    viewEmotions_->setAccessibilityIdentifier("viewEmotions");
    viewRight_->addSubview(viewEmotions_);

    // The palette: keys in the table's own order, kept for the presses.
    const double s = emoticonSide();
    const double top = Util::isPad() ? 20 : 2;
    const auto table = EmoticonText::tableFromValue(Resources::getInstance().xDictEmotion());
    emotionKeys_.clear();
    for (size_t i = 0; i < table.size(); ++i) {
        emotionKeys_.push_back(table[i].first);
        auto button = platform::ui::Button::make({double(i % 5) * (s + 2), double(i / 5) * s + top, s, s});
        button->setBackgroundImage(Util::getImageWithName(table[i].second));
        button->setTag(1000 + int(i));
        button->setAccessibilityIdentifier("onClickEmotion");
        const int tag = 1000 + int(i);
        button->onTouchUpInside([this, tag] { onClickEmotion(tag); });
        viewEmotions_->addSubview(button);
    }
}

void boardChat::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    isNewAdd_ = true;
    reloadHistory();
    txtChat_->setText("");
    txtChat_->setReturnKeyType(ReturnKeyType::Default);
    txtChat_->becomeFirstResponder();
    platform::ui::View::beginAnimations(PresentAnimationName);
    Rect frame = actionSheetView()->frame();
    frame.origin = Util::isPad() ? platform::ui::Point{0, 30} : platform::ui::Point{0, frame.origin.y - 82};
    actionSheetView()->setFrame(frame);
    platform::ui::View::commitAnimations();
    viewDidAppear(animated);
}

void boardChat::viewDidAppear(bool animated) {
    CustomUIActionSheetViewController::viewDidAppear(animated);
    setTopBarAlpha(0);
}

void boardChat::viewWillDisappear(bool animated) {
    CustomUIActionSheetViewController::viewWillDisappear(animated);
    showTopBar();
}

void boardChat::slideOut() {
    CustomUIActionSheetViewController::slideOut();
    // The bar went transparent when the sheet appeared: it comes back with the table.
    showTopBar();
    setTopBarAlpha(1);
}

ReturnKeyType boardChat::returnKeyType() const {
    return txtChat_ ? txtChat_->returnKeyType() : ReturnKeyType::Default;
}

void boardChat::changedEditing() {
    if (!txtChat_) return;
    const std::string text = txtChat_->text();
    txtChat_->setReturnKeyType(text.empty() ? ReturnKeyType::Default : ReturnKeyType::Send);
    if (countCharacters(text) > kTypingLimit) txtChat_->setText(firstCharacters(text, kTypingLimit));
}

void boardChat::clearText() {
    if (!txtChat_) return;
    txtChat_->setText("");
    changedEditing();
    txtChat_->becomeFirstResponder();
}

void boardChat::onClickEmotion(int tag) {
    const int index = tag - 1000;
    if (!txtChat_ || index < 0 || size_t(index) >= emotionKeys_.size()) return;
    txtChat_->setText(txtChat_->text() + emotionKeys_[size_t(index)]);
    changedEditing();
}

void boardChat::clickEmotion() {
    const int tag = btnEmotion_->tag() == 0 ? 1 : 0;
    btnEmotion_->setTag(tag);
    const auto layout = layoutFor(tag, Util::isPad() ? 1024 : 480);
    platform::ui::View::animate(0.4, [this, layout] {
        Rect right = viewRight_->frame();
        right.origin = {layout.rightX, layout.rightY};
        viewRight_->setFrame(right);
        tblHistoryChat_->setFrame(layout.history);
        imgTextField_->setFrame(layout.fieldImage);
        txtChat_->setFrame(layout.field);
    });
    imgTextField_->setImage(Util::getImageWithName(layout.fieldPicture));
    // The rows wrap to the history's new width.
    reloadHistory();
}

void boardChat::endEditing(CustomTextField& sender) {
    textFieldDoneEditting(sender);
}

void boardChat::textFieldDoneEditting(CustomTextField& sender) {
    slideOut();
    if (returnKeyType() == ReturnKeyType::Default) return;
    showTopBar();
    const std::string line = firstCharacters(sender.text(), kSendLimit);
    if (topScreenAs<BoardView>()) {
        auto me = UIController::myInfo();
        appendHistory(me ? me->name() : std::string(), line);
        return;
    }
    const int8_t game = GameController::gameType();
    if (!tableRule(game)) return;
    if (auto table = GameController::getTableView(game)) table->onChatFromMeWithText(line);
}

void boardChat::appendHistory(const std::string& name, const std::string& content) {
    auto chat = std::make_shared<Chat>();
    chat->setName(name);
    chat->setContent(content);
    historyChat_.push_back(std::move(chat));
    isNewAdd_ = true;
    reloadHistory();
}

void boardChat::reloadHistory() {
    if (!tblHistoryChat_) return;
    tblHistoryChat_->reloadData();
    if (isNewAdd_ && !historyChat_.empty()) {
        tblHistoryChat_->scrollToRow({0, int(historyChat_.size()) - 1}, platform::ui::TableViewScrollPosition::Top,
                                     true);
    }
    isNewAdd_ = false;
}

int boardChat::numberOfRows(platform::ui::TableView&, int) {
    return int(historyChat_.size());
}

namespace {

// The history's rows: bold 12 on one line of 20 points.
constexpr double kRowHeight = 20;

platform::ui::Font rowFont() {
    return platform::ui::Font::boldSystem(12);
}

} // namespace

std::string boardChat::rowText(int row) const {
    if (row < 0 || size_t(row) >= historyChat_.size()) return "";
    const auto& chat = historyChat_[size_t(row)];
    return chat->name() + ": " + chat->content();
}

double boardChat::heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) {
    const size_t lines =
        CustomLabel::wrapLines(rowText(indexPath.row), rowFont(), EmoticonText::currentTable(), table.frame().width())
            .size();
    return kRowHeight + double(lines - 1) * rowFont().lineHeight();
}

std::shared_ptr<platform::ui::TableViewCell> boardChat::cellForRow(platform::ui::TableView& table,
                                                                   const platform::ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell("CellHistoryBoardChat");
    if (!cell)
        cell = platform::ui::TableViewCell::make(platform::ui::TableViewCellStyle::Subtitle, "CellHistoryBoardChat");
    cell->contentView()->removeAllSubviews();
    const int row = indexPath.row;
    if (row < 0 || size_t(row) >= historyChat_.size()) return cell;
    // The whole width of the history, the text wrapped onto as many lines as it needs.
    auto label = CustomLabel::make(rowText(row), {0, 0, table.frame().width(), heightForRow(table, indexPath)});
    label->setFont(rowFont());
    label->setNumberOfLines(0);
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setTextColor(row % 2 == 0 ? platform::ui::Color::green() : platform::ui::Color::white());
    cell->contentView()->addSubview(label);
    return cell;
}

} // namespace kavo
