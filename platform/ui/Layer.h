#pragma once

#include "platform/ui/Animation.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

#include <map>
#include <string>
#include <vector>

namespace platform::ui {

class View;

// The drawing properties of a view beyond its frame and colour. The renderer draws the
// border, corners, shadow and contents from here. Every setter marks the view for redraw.
class Layer {
public:
    explicit Layer(View& view) : view_(view) {}
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color color);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    Color shadowColor() const { return shadowColor_; }
    void setShadowColor(Color color);
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size offset);
    double shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(double opacity);
    double shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(double radius);
    // A picture drawn to fill the bounds, under the view's own drawing.
    const ImagePtr& contents() const { return contents_; }
    void setContents(ImagePtr image);
    // A turn about the vertical axis (radians), for cards seen edge-on while they flip.
    double zRotation() const { return zRotation_; }
    void setZRotation(double radians);
    // The same flag as View::clipsToBounds.
    bool masksToBounds() const;
    void setMasksToBounds(bool masks);

    // Animations by key; adding under a used key replaces it. Finished ones drop out
    // when asked for.
    void addAnimation(const std::string& key, LayerAnimation animation);
    void removeAnimation(const std::string& key);
    void removeAllAnimations();
    std::vector<std::string> animationKeys() const;
    const LayerAnimation* animationForKey(const std::string& key) const;
    bool hasAnimationsInFlight() const;

private:
    void changed();
    void pruneFinished() const;

    View& view_;
    double borderWidth_ = 0;
    Color borderColor_ = Color::black();
    double cornerRadius_ = 0;
    Color shadowColor_ = Color::black();
    Size shadowOffset_{0, -3};
    double shadowOpacity_ = 0;
    double shadowRadius_ = 3;
    ImagePtr contents_;
    double zRotation_ = 0;
    mutable std::map<std::string, LayerAnimation> animations_;
};

} // namespace platform::ui
