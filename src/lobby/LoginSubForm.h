#pragma once

#include "app/EscapeTarget.h"
#include "app/ReturnTarget.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// What the three forms of the log-in screen share: a clear full-screen layer that keeps
// touches from the screen below, a panel with the form's picture, a title, an
// instruction, rows of caption + field + clear button, a main button and a close
// button; the panel rises while the keyboard is up. The controls are built once, on the
// first setUIScreen; every setUIScreen refreshes the texts from the language table.
// Return in the form's last field presses its main button.
// Laid out in phone points; on a tablet the panel is (136, 38, 751, 693) and the
// controls inside it follow the phone-to-tablet rule. Main thread only.
class LoginSubForm : public platform::ui::View,
                     public platform::ui::TextFieldDelegate,
                     public EscapeTarget,
                     public ReturnTarget {
public:
    // Tags of the texts every form sets.
    static constexpr int kTagTitle = 101;
    static constexpr int kTagInstruction = 102;
    // The instruction's grey, light enough to read on the form's dark panel picture.
    static constexpr platform::ui::Color kInstructionColor{0.82, 0.82, 0.86, 1};

    explicit LoginSubForm(platform::ui::Rect frame);
    ~LoginSubForm() override;

    // Builds the controls the first time, then refreshes the texts (refreshScreen), empties
    // the fields and fills in whatever the form fills when it opens (didOpen).
    void setUIScreen();
    // The language table again, and the texts of the tagged views.
    virtual void refreshScreen() = 0;
    // The close button: lowers a raised panel at once, then removes the form.
    void doCloseThisView();
    // Escape closes the form as its close button does.
    EscapeAnswer closeItself() override;
    // The main button (sign in, register, send).
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return mainButton_; }
    // The keyboard: raises the panel once while it is up, lowers it when it goes.
    void keyboardWillShow();
    void keyboardWillHide();

    bool isEdit() const { return isEdit_; }
    bool isBuilt() const { return built_; }
    const platform::ui::ViewPtr& mainView() const { return mainView_; }
    const std::shared_ptr<platform::ui::Button>& btnDelete() const { return btnDelete_; }

protected:
    // Builds the form's own controls into mainView() (phone points; see rect()).
    virtual void buildControls() = 0;
    // Runs at the end of every setUIScreen.
    virtual void didOpen() {}
    // How far the panel rises for the keyboard, and whether it rises with an animation.
    virtual double keyboardLift() const;
    virtual bool animatesRaise() const { return true; }

    // ---- helpers for the layouts
    static bool isPad();
    // A phone rectangle inside the panel, converted on a tablet.
    static platform::ui::Rect rect(double x, double y, double width, double height);
    // The phone size, or the tablet one on a tablet.
    static double fontSize(double phone, double tablet);
    std::shared_ptr<platform::ui::Label> addLabel(platform::ui::Rect frame, int tag, platform::ui::Font font,
                                                  platform::ui::Color color, platform::ui::TextAlignment alignment,
                                                  const std::string& identifier);
    void addSeparator(double x, double y);
    std::shared_ptr<platform::ui::TextField> addField(platform::ui::Rect background, platform::ui::Rect field,
                                                      double fontSize, const std::string& identifier);
    std::shared_ptr<platform::ui::Button> addImageButton(platform::ui::Rect frame, const std::string& image, int tag,
                                                         const std::string& identifier, std::function<void()> action);
    // The form's one main button, which Return in its last field presses.
    std::shared_ptr<platform::ui::Button> addMainButton(platform::ui::Rect frame, int tag, double fontSize,
                                                        const std::string& identifier, std::function<void()> action);
    // The text of the tagged view inside the panel (label or button title).
    void setTaggedText(int tag, const std::string& key, bool upperCase);
    // The captions of one form's fields read at one size: the size at which the longest of
    // them fits its box (starting from `font`), never one caption larger than the others.
    void matchCaptionSizes(std::initializer_list<int> tags, const platform::ui::Font& font);
    // Ends editing in the form's fields.
    void endEditing();
    // The fields in order, for endEditing.
    std::vector<std::shared_ptr<platform::ui::TextField>> fields_;

private:
    void moveMainView(double dy, bool animated);

    platform::ui::ViewPtr mainView_;
    std::shared_ptr<platform::ui::Button> btnDelete_;
    std::shared_ptr<platform::ui::Button> mainButton_;
    bool isEdit_ = false;
    bool built_ = false;
    platform::NotificationCenter::Token showToken_ = 0;
    platform::NotificationCenter::Token hideToken_ = 0;
};

// Upper case as the forms show their captions (Vietnamese letters included).
std::string upperText(const std::string& text);

} // namespace kavo
