#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <memory>

namespace platform::ui {

enum class ProgressViewStyle { Default, Bar };

// A bar filled from the left by progress (0 to 1).
class ProgressView : public View {
public:
    explicit ProgressView(Rect frame = {});
    explicit ProgressView(ProgressViewStyle style);
    static std::shared_ptr<ProgressView> make(Rect frame = {});
    // A bar of the style's height (9 points; 11 for Bar) and 150 points wide.
    static std::shared_ptr<ProgressView> make(ProgressViewStyle style);

    ProgressViewStyle progressViewStyle() const { return style_; }
    void setProgressViewStyle(ProgressViewStyle style);
    double progress() const { return progress_; }
    // Clamped to 0..1; an animated change shows its final value at once.
    virtual void setProgress(double progress, bool animated = false);
    Color progressTintColor() const { return progressTint_; }
    void setProgressTintColor(Color color);
    Color trackTintColor() const { return trackTint_; }
    void setTrackTintColor(Color color);
    const ImagePtr& progressImage() const { return progressImage_; }
    void setProgressImage(ImagePtr image);
    const ImagePtr& trackImage() const { return trackImage_; }
    void setTrackImage(ImagePtr image);

    void draw(GraphicsContext& context) override;

private:
    ProgressViewStyle style_ = ProgressViewStyle::Default;
    double progress_ = 0;
    Color progressTint_ = Color::rgba(45, 110, 230);
    Color trackTint_ = Color::white(0.8);
    ImagePtr progressImage_;
    ImagePtr trackImage_;
};

} // namespace platform::ui
