#include "platform/ui/Layer.h"

#include "platform/runtime/Clock.h"
#include "platform/ui/View.h"

namespace platform::ui {

void Layer::changed() {
    view_.setNeedsDisplay();
}

void Layer::setBorderWidth(double width) {
    borderWidth_ = width;
    changed();
}

void Layer::setBorderColor(Color color) {
    borderColor_ = color;
    changed();
}

void Layer::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    changed();
}

void Layer::setShadowColor(Color color) {
    shadowColor_ = color;
    changed();
}

void Layer::setShadowOffset(Size offset) {
    shadowOffset_ = offset;
    changed();
}

void Layer::setShadowOpacity(double opacity) {
    shadowOpacity_ = opacity;
    changed();
}

void Layer::setShadowRadius(double radius) {
    shadowRadius_ = radius;
    changed();
}

void Layer::setContents(ImagePtr image) {
    contents_ = std::move(image);
    changed();
}

void Layer::setZRotation(double radians) {
    zRotation_ = radians;
    changed();
}

bool Layer::masksToBounds() const {
    return view_.clipsToBounds();
}

void Layer::setMasksToBounds(bool masks) {
    view_.setClipsToBounds(masks);
}

void Layer::addAnimation(const std::string& key, LayerAnimation animation) {
    animation.startTime = platform::Clock::time();
    animations_[key] = std::move(animation);
    view_.trackAnimations();
    changed();
}

void Layer::removeAnimation(const std::string& key) {
    if (animations_.erase(key) > 0) changed();
}

void Layer::removeAllAnimations() {
    if (animations_.empty()) return;
    animations_.clear();
    changed();
}

void Layer::pruneFinished() const {
    double now = platform::Clock::time();
    std::erase_if(animations_, [now](const auto& entry) { return entry.second.endTime() <= now; });
}

std::vector<std::string> Layer::animationKeys() const {
    pruneFinished();
    std::vector<std::string> keys;
    for (const auto& entry : animations_)
        keys.push_back(entry.first);
    return keys;
}

const LayerAnimation* Layer::animationForKey(const std::string& key) const {
    pruneFinished();
    auto found = animations_.find(key);
    return found == animations_.end() ? nullptr : &found->second;
}

bool Layer::hasAnimationsInFlight() const {
    pruneFinished();
    return !animations_.empty();
}

} // namespace platform::ui
