#pragma once

#include "app/EscapeTarget.h"
#include "app/LanguageTexts.h"
#include "app/ReturnTarget.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "portal/model/ChargeMoneyInfo.h"

#include <memory>

namespace kavo {

// The scratch-card form: the card's serial and code, sent as typed for the chosen
// card channel (command 71). The server's answer is shown by the logic handler; the
// form waits for nothing and stays open after a send. Return in the code (the last field)
// presses the top-up button. Main thread only.
class TopupZelByCardView : public platform::ui::View,
                           public platform::ui::TextFieldDelegate,
                           public EscapeTarget,
                           public ReturnTarget {
public:
    explicit TopupZelByCardView(platform::ui::Rect frame = {});
    // A new form of `frame`, laid out.
    static std::shared_ptr<TopupZelByCardView> make(platform::ui::Rect frame);
    // The shop's form, made once and kept (what is typed stays between openings until a
    // top-up goes through; the texts are read again each time it is put on screen).
    static const std::shared_ptr<TopupZelByCardView>& getInstance();
    // Forgets the shop's form: the next one is made for the device and language then
    // chosen (tests that switch them in one process).
    static void resetForTesting();
    // The server accepted a top-up: every form empties its fields.
    static void topUpAccepted();

    void set_selectedChargeMoneyInfo(std::shared_ptr<ChargeMoneyInfo> channel) { channel_ = std::move(channel); }
    const std::shared_ptr<ChargeMoneyInfo>& selectedChargeMoneyInfo() const { return channel_; }

    void doTopup();
    void hideThisView();
    // Escape closes the form as its close does (a raised form is lowered first).
    EscapeAnswer closeItself() override {
        hideThisView();
        return EscapeAnswer::closed;
    }
    bool isEdit() const { return isEdit_; }
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return btnTopup_; }

    const std::shared_ptr<platform::ui::TextField>& txfSeriesNumber() const { return txfSeriesNumber_; }
    const std::shared_ptr<platform::ui::TextField>& txfPinCode() const { return txfPinCode_; }
    const std::shared_ptr<platform::ui::View>& mainView() const { return mainView_; }

    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    void didMoveToSuperview() override;

private:
    void setUIScreen();
    void raise();
    void lower();

    std::shared_ptr<ChargeMoneyInfo> channel_;
    std::shared_ptr<platform::ui::Button> btnBG_, btnTopup_;
    std::shared_ptr<platform::ui::View> mainView_;
    std::shared_ptr<platform::ui::TextField> txfSeriesNumber_, txfPinCode_;
    bool isEdit_ = false;
    LanguageTexts texts_;
};

} // namespace kavo
