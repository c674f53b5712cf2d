#pragma once

#include "app/EscapeTarget.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>

namespace kavo {

class CustomUIFont;

// The stake entry the lottery screen lays over itself when a number is tapped: the number
// and one stake field. Confirming hands the stake to the bet sheet's shared logic, which
// buys the lottery screen's selected number; it closes after every confirmation.
class LottoBetZelView : public platform::ui::View, public platform::ui::TextFieldDelegate, public EscapeTarget {
public:
    explicit LottoBetZelView(platform::ui::Rect frame);
    ~LottoBetZelView() override;
    static std::shared_ptr<LottoBetZelView> make(platform::ui::Rect frame);

    int32_t selectedNumber() const { return selectedNumber_; }
    void set_selectedNumber(int32_t number) { selectedNumber_ = number; }
    // Shows the number as "%d".
    void setNumber(int32_t number);
    void setTextFieldBecomeFirstResponder();
    // The dimming button: closes without sending.
    void hideBetZelView();
    // Escape closes it as the dimming button does.
    EscapeAnswer closeItself() override {
        hideBetZelView();
        return EscapeAnswer::closed;
    }
    void doneWithNumberPad();

    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    bool shouldChangeCharacters(platform::ui::TextField& field, size_t location, size_t length,
                                const std::string& replacement) override;

    const std::shared_ptr<platform::ui::TextField>& txfBetZel() const { return txfBetZel_; }
    const std::shared_ptr<CustomUIFont>& lblNumber() const { return lblNumber_; }

private:
    void setUIScreen();
    void close();

    std::shared_ptr<platform::ui::TextField> txfBetZel_;
    std::shared_ptr<platform::ui::Toolbar> numberToolbar_;
    std::shared_ptr<CustomUIFont> lblNumber_;
    int32_t selectedNumber_ = 0;
};

} // namespace kavo
