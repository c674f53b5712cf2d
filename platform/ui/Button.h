#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace platform::ui {

enum class ButtonType { Custom, RoundedRect, DetailDisclosure, InfoLight, InfoDark, ContactAdd };

// A push button. Title, title colour, image and background image are kept per control
// state; a state without its own value uses the Normal one. The title and the image are
// shown by a label and an image view inside the button (titleLabel(), imageView()); the
// background image fills the bounds. A button with neither image nor background image
// draws as a labelled box (rounded rectangle, border, title), so it is visible before its
// pictures exist.
class Button : public Control {
public:
    explicit Button(Rect frame = {}, ButtonType type = ButtonType::Custom);
    static std::shared_ptr<Button> make(Rect frame = {}, ButtonType type = ButtonType::Custom);

    ButtonType buttonType() const { return type_; }

    void setTitle(const std::string& title, ControlState state = ControlState::Normal);
    void setTitleColor(Color color, ControlState state = ControlState::Normal);
    void setTitleShadowColor(Color color, ControlState state = ControlState::Normal);
    void setImage(ImagePtr image, ControlState state = ControlState::Normal);
    void setBackgroundImage(ImagePtr image, ControlState state = ControlState::Normal);

    std::string titleForState(ControlState state) const;
    Color titleColorForState(ControlState state) const;
    Color titleShadowColorForState(ControlState state) const;
    ImagePtr imageForState(ControlState state) const;
    ImagePtr backgroundImageForState(ControlState state) const;

    std::string currentTitle() const { return titleForState(state()); }
    Color currentTitleColor() const { return titleColorForState(state()); }
    ImagePtr currentImage() const { return imageForState(state()); }
    ImagePtr currentBackgroundImage() const { return backgroundImageForState(state()); }

    const std::shared_ptr<Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<ImageView>& imageView() const { return imageView_; }

    EdgeInsets contentEdgeInsets() const { return contentInsets_; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    EdgeInsets titleEdgeInsets() const { return titleInsets_; }
    void setTitleEdgeInsets(const EdgeInsets& insets);
    EdgeInsets imageEdgeInsets() const { return imageInsets_; }
    void setImageEdgeInsets(const EdgeInsets& insets);

    // A glow at the centre while highlighted.
    bool showsTouchWhenHighlighted() const { return showsTouch_; }
    void setShowsTouchWhenHighlighted(bool shows);
    // Darkens the pictures while highlighted when no highlighted picture is given.
    bool adjustsImageWhenHighlighted() const { return adjustsHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsHighlighted_ = adjusts; }
    bool adjustsImageWhenDisabled() const { return adjustsDisabled_; }
    void setAdjustsImageWhenDisabled(bool adjusts) { adjustsDisabled_ = adjusts; }

    // Shorthand for addTarget(ControlEvent::TouchUpInside, action).
    int onTouchUpInside(std::function<void()> action);

    // The title shown (what automation finds the button by).
    std::string text() const override;

    // True when the button draws its placeholder box (no pictures to show).
    bool drawsPlaceholderBox() const;

    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    void draw(GraphicsContext& context) override;

protected:
    void stateChanged() override;

private:
    template <class T> static T lookup(const std::map<unsigned, T>& values, ControlState state, T fallback);
    void refresh();
    Color defaultTitleColor() const;

    ButtonType type_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, Color> titleColors_;
    std::map<unsigned, Color> titleShadowColors_;
    std::map<unsigned, ImagePtr> images_;
    std::map<unsigned, ImagePtr> backgroundImages_;
    std::shared_ptr<Label> titleLabel_;
    std::shared_ptr<ImageView> imageView_;
    EdgeInsets contentInsets_;
    EdgeInsets titleInsets_;
    EdgeInsets imageInsets_;
    bool showsTouch_ = false;
    bool adjustsHighlighted_ = true;
    bool adjustsDisabled_ = true;
};

} // namespace platform::ui
