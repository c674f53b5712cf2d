#include "platform/ui/ImageView.h"

#include "platform/ui/GraphicsContext.h"

#include <algorithm>

namespace platform::ui {

Rect rectForContentMode(ContentMode mode, const Rect& b, Size s) {
    if (s.width <= 0 || s.height <= 0) return b;
    switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        return b;
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        double sx = b.width() / s.width, sy = b.height() / s.height;
        double scale = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        double w = s.width * scale, h = s.height * scale;
        return {b.midX() - w / 2, b.midY() - h / 2, w, h};
    }
    case ContentMode::Center:
        return {b.midX() - s.width / 2, b.midY() - s.height / 2, s.width, s.height};
    case ContentMode::Top:
        return {b.midX() - s.width / 2, b.minY(), s.width, s.height};
    case ContentMode::Bottom:
        return {b.midX() - s.width / 2, b.maxY() - s.height, s.width, s.height};
    case ContentMode::Left:
        return {b.minX(), b.midY() - s.height / 2, s.width, s.height};
    case ContentMode::Right:
        return {b.maxX() - s.width, b.midY() - s.height / 2, s.width, s.height};
    case ContentMode::TopLeft:
        return {b.minX(), b.minY(), s.width, s.height};
    case ContentMode::TopRight:
        return {b.maxX() - s.width, b.minY(), s.width, s.height};
    case ContentMode::BottomLeft:
        return {b.minX(), b.maxY() - s.height, s.width, s.height};
    case ContentMode::BottomRight:
        return {b.maxX() - s.width, b.maxY() - s.height, s.width, s.height};
    }
    return b;
}

ImageView::ImageView(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::~ImageView() {
    if (timer_) timer_->invalidate();
}

std::shared_ptr<ImageView> ImageView::make(Rect frame) {
    return std::make_shared<ImageView>(frame);
}

std::shared_ptr<ImageView> ImageView::make(const ImagePtr& image) {
    Size size = image ? image->size() : Size{};
    auto view = std::make_shared<ImageView>(Rect(0, 0, size.width, size.height));
    view->setImage(image);
    return view;
}

void ImageView::setImage(ImagePtr image) {
    if (image_ == image) return;
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlightedImage(ImagePtr image) {
    highlightedImage_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void ImageView::setContentMode(ContentMode mode) {
    contentMode_ = mode;
    setNeedsDisplay();
}

void ImageView::setAnimationImages(std::vector<ImagePtr> images) {
    bool wasAnimating = isAnimating();
    stopAnimating();
    animationImages_ = std::move(images);
    if (wasAnimating) startAnimating();
}

void ImageView::startAnimating() {
    if (timer_ || animationImages_.empty()) return;
    frame_ = 0;
    framesShown_ = 1;
    double count = double(animationImages_.size());
    double step = animationDuration_ > 0 ? animationDuration_ / count : 1.0 / 30;
    std::weak_ptr<View> weak = weak_from_this();
    timer_ = platform::Timer::scheduled(step, true, [weak] {
        if (auto view = std::static_pointer_cast<ImageView>(weak.lock())) view->advanceFrame();
    });
    setNeedsDisplay();
}

void ImageView::stopAnimating() {
    if (!timer_) return;
    timer_->invalidate();
    timer_.reset();
    setNeedsDisplay();
}

void ImageView::advanceFrame() {
    if (animationImages_.empty()) {
        stopAnimating();
        return;
    }
    size_t total = animationImages_.size() * size_t(std::max(0, animationRepeatCount_));
    if (animationRepeatCount_ > 0 && framesShown_ >= total) {
        stopAnimating();
        return;
    }
    frame_ = (frame_ + 1) % animationImages_.size();
    ++framesShown_;
    setNeedsDisplay();
}

ImagePtr ImageView::currentImage() const {
    if (timer_ && !animationImages_.empty()) return animationImages_[frame_ % animationImages_.size()];
    if (highlighted_ && highlightedImage_) return highlightedImage_;
    return image_;
}

Size ImageView::sizeThatFits(Size) const {
    ImagePtr image = currentImage();
    return image ? image->size() : Size{};
}

void ImageView::draw(GraphicsContext& context) {
    ImagePtr image = currentImage();
    if (!image) return;
    context.drawImage(image, rectForContentMode(contentMode_, bounds(), image->size()));
}

} // namespace platform::ui
