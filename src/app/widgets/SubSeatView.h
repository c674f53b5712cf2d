#pragma once

#include "app/widgets/CircularProgressIndicator.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

#include <memory>

namespace kavo {

// The frame of one player's seat with the turn countdown behind the avatar frame. The
// tables stop every seat when the turn moves and start the seat to play.
class SubSeatView : public platform::ui::View {
public:
    static constexpr double TickSeconds = 0.033;

    explicit SubSeatView(platform::ui::Rect frame = {});
    ~SubSeatView() override;
    static std::shared_ptr<SubSeatView> make(platform::ui::Rect frame = {});

    // Starts the countdown from a whole pie; it runs out after `secondsLeft` (the turn
    // length is not used). A running countdown is replaced.
    void startWithSeconds(float turnSeconds, float secondsLeft);
    // One tick: progress grows by 1 / (limitseconds / 0.033); reaching 1 stops the seat.
    void updateProgress();
    // Hides the countdown and stops its timer.
    void stop();
    bool isCounting() const { return bool(timer_); }

    float limitseconds() const { return limitseconds_; }
    const std::shared_ptr<platform::Timer>& timer() const { return timer_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBgCenter() const { return imgBgCenter_; }
    const std::shared_ptr<CircularProgressIndicator>& CPI() const { return CPI_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBorderOutside() const { return imgBorderOutside_; }

private:
    void initComponents();

    std::shared_ptr<platform::ui::ImageView> imgBgCenter_;
    float limitseconds_ = 0;
    std::shared_ptr<platform::Timer> timer_;
    std::shared_ptr<CircularProgressIndicator> CPI_;
    std::shared_ptr<platform::ui::ImageView> imgBorderOutside_;
};

} // namespace kavo
