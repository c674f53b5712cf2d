#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/View.h"

#include <memory>

namespace platform::ui {

enum class ActivityIndicatorStyle { WhiteLarge, White, Gray };

// A spinning wheel of spokes that shows work in progress. While animating, a run loop
// timer turns it a spoke at a time. With hidesWhenStopped (the default) it is hidden
// whenever it is not animating. It takes no touches.
class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(Rect frame = {});
    explicit ActivityIndicatorView(ActivityIndicatorStyle style);
    ~ActivityIndicatorView() override;
    static std::shared_ptr<ActivityIndicatorView> make(Rect frame = {});
    // A view of the style's size (37 points for WhiteLarge, 20 otherwise) at the origin.
    static std::shared_ptr<ActivityIndicatorView> make(ActivityIndicatorStyle style);

    ActivityIndicatorStyle style() const { return style_; }
    void setStyle(ActivityIndicatorStyle style);
    Color color() const { return color_; }
    void setColor(Color color);
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return bool(timer_); }
    // Which spoke is brightest (0-11).
    int phase() const { return phase_; }

    void draw(GraphicsContext& context) override;

    static constexpr int spokes() { return 12; }

private:
    ActivityIndicatorStyle style_ = ActivityIndicatorStyle::White;
    Color color_ = Color::white();
    bool hidesWhenStopped_ = true;
    std::shared_ptr<platform::Timer> timer_;
    int phase_ = 0;
};

} // namespace platform::ui
