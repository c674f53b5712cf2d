#include "lobby/LoginSubForm.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"

#include <algorithm>
#include <vector>

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;
using platform::ui::TextAlignment;

namespace {

// The panel on each device.
Rect mainViewFrame() {
    return Util::isPad() ? Rect{136, 38, 751, 693} : Rect{64, 16, 352, 289};
}

} // namespace

std::string upperText(const std::string& text) {
    return platform::toUpper(text);
}

LoginSubForm::LoginSubForm(Rect frame) : View(frame) {
    auto& center = platform::NotificationCenter::defaultCenter();
    showToken_ = center.addObserver(platform::ui::Keyboard::WillShowNotification,
                                    [this](const platform::Notification&) { keyboardWillShow(); });
    hideToken_ = center.addObserver(platform::ui::Keyboard::WillHideNotification,
                                    [this](const platform::Notification&) { keyboardWillHide(); });
}

LoginSubForm::~LoginSubForm() {
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(showToken_);
    center.removeObserver(hideToken_);
}

bool LoginSubForm::isPad() {
    return Util::isPad();
}

Rect LoginSubForm::rect(double x, double y, double width, double height) {
    return Util::changeRectFromRect({x, y, width, height});
}

double LoginSubForm::fontSize(double phone, double tablet) {
    return isPad() ? tablet : phone;
}

void LoginSubForm::setUIScreen() {
    if (!built_) {
        built_ = true;
        setBackgroundColor(Color::clear());
        // Behind everything: takes the touches that would reach the screen below.
        auto blocker = platform::ui::Control::make(bounds());
        blocker->setBackgroundColor(Color::clear());
        addSubview(blocker);

        mainView_ = View::make(mainViewFrame());
        mainView_->setBackgroundColor(Color::clear());
        mainView_->setAccessibilityIdentifier("mainView");
        auto background = platform::ui::ImageView::make(Rect{{0, 0}, mainView_->bounds().size});
        background->setImage(Util::getImageWithName("t_img_backgroundLogin_RegisterScreen.png"));
        mainView_->addSubview(background);
        addSubview(mainView_);

        buildControls();

        btnDelete_ =
            addImageButton(rect(322, 0, 30, 30), "t_btn_delete.png", 0, "btnDelete", [this] { doCloseThisView(); });
    }
    refreshScreen();
    // A form opens empty: what was typed before it was closed (a registration sent, a name
    // left half typed) would otherwise take the new typing after it. The log-in form fills
    // in the remembered name in didOpen.
    for (const auto& field : fields_)
        field->setText("");
    didOpen();
}

// ---------------------------------------------------------------- keyboard

double LoginSubForm::keyboardLift() const {
    return isPad() ? 200 : 60;
}

void LoginSubForm::moveMainView(double dy, bool animated) {
    if (!mainView_) return;
    platform::ui::Point center = mainView_->center();
    center.y += dy;
    if (!animated) {
        mainView_->setCenter(center);
        return;
    }
    auto panel = mainView_;
    View::animate(0.5, [panel, center] { panel->setCenter(center); });
}

void LoginSubForm::keyboardWillShow() {
    // Only the form on screen moves; a kept form that is not shown stays where it is.
    if (isEdit_ || !window()) return;
    moveMainView(-keyboardLift(), animatesRaise());
    isEdit_ = true;
}

void LoginSubForm::keyboardWillHide() {
    if (!isEdit_) return;
    moveMainView(keyboardLift(), true);
    isEdit_ = false;
}

void LoginSubForm::doCloseThisView() {
    if (isEdit_) {
        moveMainView(keyboardLift(), false);
        isEdit_ = false;
    }
    // A field of a closed form must not keep the keyboard.
    endEditing();
    removeFromSuperview();
}

EscapeAnswer LoginSubForm::closeItself() {
    doCloseThisView();
    return EscapeAnswer::closed;
}

void LoginSubForm::endEditing() {
    for (const auto& field : fields_) {
        if (field && field->isFirstResponder()) field->resignFirstResponder();
    }
}

// ---------------------------------------------------------------- building blocks

std::shared_ptr<platform::ui::Label> LoginSubForm::addLabel(Rect frame, int tag, Font font, Color color,
                                                            TextAlignment alignment, const std::string& identifier) {
    auto label = platform::ui::Label::make(frame);
    label->setTag(tag);
    label->setFont(font);
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setBackgroundColor(Color::clear());
    // A caption longer than its box shrinks to a readable size, then wraps; never cut.
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(9);
    label->setWrapsWhenShrunk(true);
    if (!identifier.empty()) label->setAccessibilityIdentifier(identifier);
    mainView_->addSubview(label);
    return label;
}

void LoginSubForm::addSeparator(double x, double y) {
    auto line = platform::ui::ImageView::make(rect(x, y, 333, 1));
    line->setImage(Util::getImageWithName("t_img_LoginScreenSeperateLine.png"));
    mainView_->addSubview(line);
}

std::shared_ptr<platform::ui::TextField> LoginSubForm::addField(Rect background, Rect frame, double size,
                                                                const std::string& identifier) {
    auto image = platform::ui::ImageView::make(background);
    image->setImage(Util::getImageWithName("t_img_backgroundLoginTextField.png"));
    mainView_->addSubview(image);

    auto field = platform::ui::TextField::make(frame);
    field->setBackgroundColor(Color::clear());
    field->setTextColor(Color::white());
    field->setFont(Font::boldSystem(size));
    field->setTextAlignment(TextAlignment::Center);
    field->setAutocorrectionType(platform::ui::AutocorrectionType::No);
    field->setAutocapitalizationType(platform::ui::AutocapitalizationType::None);
    field->setClearButtonMode(platform::ui::TextFieldViewMode::Never);
    field->setDelegate(this);
    field->setAccessibilityIdentifier(identifier);
    mainView_->addSubview(field);
    fields_.push_back(field);
    return field;
}

std::shared_ptr<platform::ui::Button> LoginSubForm::addImageButton(Rect frame, const std::string& image, int tag,
                                                                   const std::string& identifier,
                                                                   std::function<void()> action) {
    auto button = platform::ui::Button::make(frame);
    button->setImage(Util::getImageWithName(image));
    button->setBackgroundColor(Color::clear());
    button->setTag(tag);
    button->setAccessibilityIdentifier(identifier);
    button->onTouchUpInside(std::move(action));
    mainView_->addSubview(button);
    return button;
}

std::shared_ptr<platform::ui::Button> LoginSubForm::addMainButton(Rect frame, int tag, double size,
                                                                  const std::string& identifier,
                                                                  std::function<void()> action) {
    auto button = platform::ui::Button::make(frame);
    button->setBackgroundImage(Util::getImageWithName("t_img_btnDangKy_DangNhap.png"));
    button->setTitleColor(Color::white());
    button->titleLabel()->setFont(Font::boldSystem(size));
    button->titleLabel()->setTextAlignment(TextAlignment::Center);
    // The title stays on the picture's red face, off its rounded rim: a longer one ("ĐĂNG
    // NHẬP" on the phone) is drawn a little smaller rather than over the edges.
    const double rim = frame.height() / 5;
    button->setContentEdgeInsets({0, rim, 0, rim});
    button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    button->titleLabel()->setMinimumFontSize(size * 0.7);
    button->setTag(tag);
    button->setAccessibilityIdentifier(identifier);
    button->onTouchUpInside(std::move(action));
    mainView_->addSubview(button);
    mainButton_ = button;
    return button;
}

void LoginSubForm::setTaggedText(int tag, const std::string& key, bool upperCase) {
    if (!mainView_) return;
    std::string text = Resources::getInstance().textWithKey(key);
    if (upperCase) text = upperText(text);
    View* view = mainView_->viewWithTag(tag);
    if (auto* label = dynamic_cast<platform::ui::Label*>(view)) {
        label->setText(text);
    } else if (auto* button = dynamic_cast<platform::ui::Button*>(view)) {
        button->setTitle(text);
    }
}

void LoginSubForm::matchCaptionSizes(std::initializer_list<int> tags, const Font& font) {
    if (!mainView_) return;
    std::vector<platform::ui::Label*> captions;
    double size = font.size();
    for (int tag : tags) {
        auto* label = dynamic_cast<platform::ui::Label*>(mainView_->viewWithTag(tag));
        if (!label) continue;
        label->setFont(font);
        size = std::min(size, label->fittedFont().size());
        captions.push_back(label);
    }
    for (auto* label : captions)
        label->setFont(font.withSize(size));
}

} // namespace kavo
