#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace platform::ui {

// How a picture sits in a view larger or smaller than itself.
enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// The rectangle a picture of `imageSize` takes in `bounds` under `mode`.
Rect rectForContentMode(ContentMode mode, const Rect& bounds, Size imageSize);

// Shows a picture (stretchable pictures keep their caps), or a flip-book of pictures
// while animating. Image views take no touches by default.
class ImageView : public View {
public:
    explicit ImageView(Rect frame = {});
    ~ImageView() override;
    static std::shared_ptr<ImageView> make(Rect frame = {});
    // A view of the picture's size at the origin.
    static std::shared_ptr<ImageView> make(const ImagePtr& image);

    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image);
    const ImagePtr& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(ImagePtr image);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);

    // The flip-book: each picture in turn over animationDuration (1/30 s each when 0),
    // animationRepeatCount times (0: until stopped). Frames advance on run loop timers.
    const std::vector<ImagePtr>& animationImages() const { return animationImages_; }
    void setAnimationImages(std::vector<ImagePtr> images);
    double animationDuration() const { return animationDuration_; }
    void setAnimationDuration(double seconds) { animationDuration_ = seconds; }
    int animationRepeatCount() const { return animationRepeatCount_; }
    void setAnimationRepeatCount(int count) { animationRepeatCount_ = count; }
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return bool(timer_); }

    // The picture shown now.
    ImagePtr currentImage() const;

    Size sizeThatFits(Size size) const override;
    void draw(GraphicsContext& context) override;

private:
    void advanceFrame();

    ImagePtr image_;
    ImagePtr highlightedImage_;
    bool highlighted_ = false;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    std::vector<ImagePtr> animationImages_;
    double animationDuration_ = 0;
    int animationRepeatCount_ = 0;
    std::shared_ptr<platform::Timer> timer_;
    size_t frame_ = 0;
    size_t framesShown_ = 0;
};

} // namespace platform::ui
