#pragma once

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// A compose panel for one message to players named by user name (separated by ";" or
// ","), friends or not, with an emoticon board. Made whole by make(), which puts its
// dimming button over the top screen; the creator adds the panel above it. No screen
// offers it yet. Main thread only.
class SendMessageView : public platform::ui::View,
                        public platform::ui::TextFieldDelegate,
                        public platform::ui::TextViewDelegate,
                        public platform::ui::AlertViewDelegate {
public:
    // The longest text, in UTF-16 units.
    static constexpr size_t kMaxLength = 255;

    explicit SendMessageView(platform::ui::Rect frame);
    ~SendMessageView() override;
    static std::shared_ptr<SendMessageView> make(platform::ui::Rect frame);

    void hideSendMessageView();
    void doHideSendMessageView();
    // Asks whether to discard the message.
    void onCancel();
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;
    void doSendMail();
    void onClickEmotion(int tag);
    // The return key follows the text; more than 255 units are cut (whole characters).
    void changeEditing();

    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    bool shouldBeginEditing(platform::ui::TextView& view) override;
    void didChange(platform::ui::TextView& view) override;

    int32_t sendType() const { return sendType_; }
    bool isEdit() const { return isEdit_; }
    const std::shared_ptr<platform::ui::TextField>& txtTo() const { return txtTo_; }
    const std::shared_ptr<platform::ui::TextView>& txvContent() const { return txvContent_; }
    const std::shared_ptr<platform::ui::Button>& btnBg() const { return btnBg_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollViewEmoticons() const { return scrollViewEmoticons_; }

private:
    void build();
    void addEmoticonsScreen();
    void raise();
    void lower();
    static double lift();

    std::shared_ptr<platform::ui::Button> btnBg_, btnDiscard_, btnSendMsg_;
    std::shared_ptr<platform::ui::TextField> txtTo_;
    std::shared_ptr<platform::ui::TextView> txvContent_;
    std::shared_ptr<platform::ui::ScrollView> scrollViewEmoticons_;
    std::weak_ptr<platform::ui::AlertView> discardAlert_;
    bool isEdit_ = false;
    int32_t sendType_ = 0;
};

} // namespace kavo
