#include "social/SendMessageView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/EmoticonText.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Rect;

namespace {

// A phone rectangle on this device: each value doubled on a tablet.
Rect converted(Rect phone) {
    return Rect{Util::convertiPhoneWidthToIpad(phone.x()), Util::convertiPhoneHeightToIpad(phone.y()),
                Util::convertiPhoneWidthToIpad(phone.width()), Util::convertiPhoneHeightToIpad(phone.height())};
}

std::shared_ptr<platform::ui::ImageView> picture(Rect phone, const std::string& name) {
    auto view = platform::ui::ImageView::make(converted(phone));
    view->setImage(Util::getImageWithName(name));
    return view;
}

} // namespace

SendMessageView::SendMessageView(Rect frame) : platform::ui::View(frame) {}

SendMessageView::~SendMessageView() {
    if (txtTo_) txtTo_->setDelegate(nullptr);
    if (txvContent_) txvContent_->setDelegate(nullptr);
    if (auto alert = discardAlert_.lock()) alert->setDelegate(nullptr);
}

std::shared_ptr<SendMessageView> SendMessageView::make(Rect frame) {
    auto panel = std::make_shared<SendMessageView>(frame);
    panel->build();
    return panel;
}

double SendMessageView::lift() {
    return Util::isPad() ? Util::convertiPhoneHeightToIpad(80) - 30 : 80;
}

void SendMessageView::build() {
    auto& resources = Resources::getInstance();
    resources.loadLanguage();
    const std::string language = resources.currentLanguage();
    KavoOnlineAppDelegate::getInstance().setBackButtonHidden(true);
    btnBg_ = platform::ui::Button::make(Util::isPad() ? Rect{0, 0, 1024, 768} : Rect{0, 0, 480, 320});
    btnBg_->setAccessibilityIdentifier("hideSendMessageView");
    btnBg_->setBackgroundColor(Color::rgba(0, 0, 0, 0.8));
    btnBg_->onTouchUpInside([this] { hideSendMessageView(); });
    if (auto top = KavoOnlineAppDelegate::getInstance().topViewController()) top->view()->addSubview(btnBg_);

    const double fontSize = Util::isPad() ? 25 : 15;
    addSubview(picture({0, 0, 308, 162}, "i_img_backgroundNewMsg.png"));
    addSubview(picture({8, 15, 51, 39}, language == "vi" ? "i_img_SendMessageView_ToContentText.png"
                                                         : "i_img_SendMessageView_ToContentText-en.png"));
    addSubview(picture({66, 15, 233, 23}, "i_img_textBorderNewMsg.png"));
    txtTo_ = platform::ui::TextField::make(converted({70, 15, 230, 23}));
    txtTo_->setAccessibilityIdentifier("txtTo");
    txtTo_->setBackgroundColor(Color::clear());
    txtTo_->setTextAlignment(platform::ui::TextAlignment::Left);
    txtTo_->setFont(platform::ui::Font::system(fontSize));
    txtTo_->setTextColor(Color::black());
    txtTo_->setAutocorrectionType(platform::ui::AutocorrectionType::No);
    txtTo_->setReturnKeyType(platform::ui::ReturnKeyType::Next);
    txtTo_->setDelegate(this);
    addSubview(txtTo_);
    addSubview(picture({8, 55, 53, 95}, "i_img_SendMessageView_EmoticonsBackground.png"));
    scrollViewEmoticons_ = platform::ui::ScrollView::make(converted({5, 55, 55, 95}));
    scrollViewEmoticons_->setBackgroundColor(Color::clear());
    scrollViewEmoticons_->setShowsHorizontalScrollIndicator(true);
    addSubview(scrollViewEmoticons_);
    addSubview(picture({66, 43, 233, 107}, "i_img_SendMessageView_ContentBackground.png"));
    txvContent_ = platform::ui::TextView::make(converted({66, 43, 233, 107}));
    txvContent_->setAccessibilityIdentifier("txvContent");
    txvContent_->setBackgroundColor(Color::clear());
    txvContent_->setFont(platform::ui::Font::system(fontSize));
    txvContent_->setTextColor(Color::black());
    txvContent_->setReturnKeyType(platform::ui::ReturnKeyType::Next);
    txvContent_->setAutocorrectionType(platform::ui::AutocorrectionType::No);
    txvContent_->setDelegate(this);
    addSubview(txvContent_);
    btnDiscard_ = platform::ui::Button::make(converted({316, 39, 45, 45}));
    btnDiscard_->setAccessibilityIdentifier("onCancel");
    btnDiscard_->setImage(Util::getImageWithName("i_btn_discardNewMsg"));
    btnDiscard_->onTouchUpInside([this] { onCancel(); });
    addSubview(btnDiscard_);
    btnSendMsg_ = platform::ui::Button::make(converted({307, 87, 63, 63}));
    btnSendMsg_->setAccessibilityIdentifier("doSendMail");
    btnSendMsg_->setImage(Util::getImageWithName("i_btn_SendNewMsg"));
    btnSendMsg_->onTouchUpInside([this] { doSendMail(); });
    addSubview(btnSendMsg_);
    addSubview(picture({323, 107, 30, 18}, "i_text_SendNewMessage_" + language + ".png"));
    addEmoticonsScreen();
    txtTo_->becomeFirstResponder();
}

void SendMessageView::addEmoticonsScreen() {
    const EmoticonTable table = EmoticonText::currentTable();
    const bool pad = Util::isPad();
    const double w = Util::convertiPhoneWidthToIpad(12);
    const double h = Util::convertiPhoneHeightToIpad(12);
    for (size_t i = 0; i < table.size(); ++i) {
        Rect frame;
        if (pad) {
            frame = Rect{Util::convertiPhoneWidthToIpad(10 + double(i % 2) * (w + 2)),
                         Util::convertiPhoneHeightToIpad(2 + double(i / 2) * h), w, h};
        } else {
            frame = Rect{10.0 + 14 * double(i % 4), 2.0 + 12 * double(i / 4), 12, 12};
        }
        auto button = platform::ui::Button::make(frame);
        button->setBackgroundImage(Util::getImageWithName(table[i].second));
        const int tag = 1000 + int(i);
        button->setTag(tag);
        button->setAccessibilityIdentifier("onClickEmotion");
        button->onTouchUpInside([this, tag] { onClickEmotion(tag); });
        scrollViewEmoticons_->addSubview(button);
    }
    if (pad) {
        auto size = scrollViewEmoticons_->contentSize();
        size.height = double(table.size()) / 2 * h + scrollViewEmoticons_->frame().height() + 150;
        scrollViewEmoticons_->setContentSize(size);
    }
}

void SendMessageView::hideSendMessageView() {
    std::weak_ptr<platform::ui::View> weakSelf = weak_from_this();
    platform::runOnMainThread([weakSelf] {
        if (auto self = std::static_pointer_cast<SendMessageView>(weakSelf.lock())) self->doHideSendMessageView();
    });
}

void SendMessageView::doHideSendMessageView() {
    btnBg_->removeFromSuperview();
    removeFromSuperview();
    KavoOnlineAppDelegate::getInstance().restoreBackButton();
}

void SendMessageView::onCancel() {
    auto alert = platform::ui::AlertView::make("", kavo::text("KAVO_DiscardNewMsg"), this, kavo::text("KAVO_cancel"),
                                               {kavo::text("KAVO_Accept")});
    discardAlert_ = alert;
    alert->show();
}

void SendMessageView::clickedButtonAtIndex(platform::ui::AlertView& /*alert*/, int index) {
    if (index != 1) return;
    txtTo_->setText("");
    txvContent_->setText("");
    doHideSendMessageView();
}

void SendMessageView::doSendMail() {
    const std::string recipients = txtTo_->text();
    const std::string content = txvContent_->text();
    if (recipients.empty() || content.empty()) {
        UIController::startOKDlg(kavo::text("KAVO_LottoGeneralWarning"));
    } else {
        size_t start = 0;
        while (start <= recipients.size()) {
            const size_t end = recipients.find_first_of(";,", start);
            const std::string name =
                platform::trimWhitespace(recipients.substr(start, end == std::string::npos ? end : end - start));
            // "a;;b" or a trailing comma leave empty parts: nobody to send to.
            if (!name.empty()) GlobalService::getInstance().sendMessageToStranger(name, content);
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    txvContent_->setText("");
    txtTo_->resignFirstResponder();
    txvContent_->resignFirstResponder();
    lower();
    sendType_ = -1;
    hideSendMessageView();
}

void SendMessageView::onClickEmotion(int tag) {
    const EmoticonTable table = EmoticonText::currentTable();
    const int index = tag - 1000;
    if (index < 0 || size_t(index) >= table.size()) return;
    txvContent_->setText(txvContent_->text() + table[size_t(index)].first);
    changeEditing();
}

void SendMessageView::changeEditing() {
    const std::string text = txvContent_->text();
    if (platform::utf16Length(text) > kMaxLength) txvContent_->setText(platform::prefixUtf16(text, kMaxLength));
    txvContent_->setReturnKeyType(txvContent_->text().empty() ? platform::ui::ReturnKeyType::Default
                                                              : platform::ui::ReturnKeyType::Send);
}

void SendMessageView::raise() {
    // Nothing to make room for without an on-screen keyboard.
    if (isEdit_ || !platform::ui::Keyboard::exists()) return;
    platform::ui::View::beginAnimations("edit");
    setCenter({center().x, center().y - lift()});
    platform::ui::View::commitAnimations();
    isEdit_ = true;
}

void SendMessageView::lower() {
    // Only a raised panel comes down, so it never ends below where it was made.
    if (!isEdit_) return;
    setCenter({center().x, center().y + lift()});
    isEdit_ = false;
}

void SendMessageView::didBeginEditing(platform::ui::TextField& /*field*/) {
    raise();
}

bool SendMessageView::shouldReturn(platform::ui::TextField& /*field*/) {
    return true;
}

bool SendMessageView::shouldBeginEditing(platform::ui::TextView& /*view*/) {
    raise();
    return true;
}

void SendMessageView::didChange(platform::ui::TextView& /*view*/) {
    changeEditing();
}

} // namespace kavo
