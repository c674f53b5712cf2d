#pragma once

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Color.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>

namespace kavo {

enum PullRefreshState {
    PullRefreshPulling = 0,
    PullRefreshNormal = 1,
    PullRefreshLoading = 2,
    PullRefreshFinished = 3
};

// The header above the first row of a list that tells the player to pull down, then to let
// go, then shows that a reload runs, with the time of the last update. It only shows
// states; the list decides when to change them (pullDidScroll / pullDidEndDragging give
// the list's scroll handling its thresholds in one place).
class RefreshTableHeaderView : public platform::ui::View {
public:
    explicit RefreshTableHeaderView(platform::ui::Rect frame);
    static std::shared_ptr<RefreshTableHeaderView> make(platform::ui::Rect frame);
    // Just above the given area (0, -height, width, height), with a 1-point bottom border.
    static std::shared_ptr<RefreshTableHeaderView> initWithFrameRelativeToFrame(platform::ui::Rect frame);

    // How far the list must be pulled (content offset y at or below -kPullDistance) to reload,
    // and the top inset the list keeps for the header while it reloads.
    static constexpr double kPullDistance = 65;
    static constexpr double kLoadingInset = 60;
    // How long the arrow takes to turn.
    static constexpr double kFlipDuration = 0.18;

    int state() const { return state_; }
    void setState(int state);

    void setCurrentDate();
    // Seconds since 1970, or nothing for the never-updated text.
    void setLastRefreshDate(std::optional<double> date);

    // The list's drag moved to `offsetY`: switches between pulling and normal at the threshold.
    void pullDidScroll(double offsetY, bool reloading);
    // The drag ended at `offsetY`: true (and the loading state) when a reload should start.
    bool pullDidEndDragging(double offsetY, bool reloading);

    std::optional<platform::ui::Color> bottomBorderColor() const { return bottomBorderColor_; }
    void setBottomBorderColor(std::optional<platform::ui::Color> color);
    double bottomBorderThickness() const { return bottomBorderThickness_; }
    void setBottomBorderThickness(double thickness);

    const std::shared_ptr<platform::ui::Label>& lastUpdatedLabel() const { return lastUpdatedLabel_; }
    const std::shared_ptr<platform::ui::Label>& statusLabel() const { return statusLabel_; }
    const std::shared_ptr<platform::ui::ImageView>& arrowImage() const { return arrowImage_; }
    const std::shared_ptr<platform::ui::ActivityIndicatorView>& activityView() const { return activityView_; }

    void draw(platform::ui::GraphicsContext& context) override;

private:
    void build();
    void setArrowTurned(bool turned, bool animated);

    std::shared_ptr<platform::ui::Label> lastUpdatedLabel_;
    std::shared_ptr<platform::ui::Label> statusLabel_;
    std::shared_ptr<platform::ui::ImageView> arrowImage_;
    std::shared_ptr<platform::ui::ActivityIndicatorView> activityView_;
    int state_ = PullRefreshNormal;
    std::optional<platform::ui::Color> bottomBorderColor_;
    double bottomBorderThickness_ = 0;
};

} // namespace kavo
