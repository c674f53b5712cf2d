#include "app/widgets/RefreshTableHeaderView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/foundation/DateFormat.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"

#include <cmath>

namespace kavo {

using namespace platform::ui;

namespace {

constexpr double kTallHeight = 100;
constexpr const char* kArrowImage = "blueArrow.png";

std::shared_ptr<Label> makeHeaderLabel(Rect frame, const Font& font) {
    auto label = Label::make(frame);
    label->setAutoresizingMask(AutoresizingFlexibleWidth);
    label->setFont(font);
    label->setTextColor(Color::white());
    label->setShadowColor(Color::white(0.9));
    label->setShadowOffset({0, 1});
    label->setBackgroundColor(Color::clear());
    label->setTextAlignment(TextAlignment::Center);
    return label;
}

// Changes made inside run without an animation, even within an animation block.
template <class F> void withoutAnimation(F&& changes) {
    Transaction::begin();
    Transaction::setDisableActions(true);
    changes();
    Transaction::commit();
}

} // namespace

RefreshTableHeaderView::RefreshTableHeaderView(Rect frame) : View(frame) {
    build();
}

std::shared_ptr<RefreshTableHeaderView> RefreshTableHeaderView::make(Rect frame) {
    return std::make_shared<RefreshTableHeaderView>(frame);
}

std::shared_ptr<RefreshTableHeaderView> RefreshTableHeaderView::initWithFrameRelativeToFrame(Rect frame) {
    auto header = make(Rect(0, -frame.height(), frame.width(), frame.height()));
    header->setBottomBorderThickness(1);
    return header;
}

void RefreshTableHeaderView::build() {
    const double width = bounds().width();
    const double height = bounds().height();
    const bool tall = height >= kTallHeight;
    setAutoresizingMask(AutoresizingFlexibleWidth);

    lastUpdatedLabel_ =
        makeHeaderLabel(tall ? Rect(0, height - 30, width, 20) : Rect(0, 0, width, 20), Font::system(12));
    lastUpdatedLabel_->setAccessibilityIdentifier("lastUpdatedLabel");
    addSubview(lastUpdatedLabel_);

    statusLabel_ =
        makeHeaderLabel(tall ? Rect(0, height - 48, width, 20) : Rect(0, 20, width, 20), Font::boldSystem(13));
    statusLabel_->setAccessibilityIdentifier("statusLabel");

    arrowImage_ = ImageView::make(tall ? Rect(25, height - 65, 30, 55) : Rect(0, 0, 15, 30));
    arrowImage_->setImage(Util::getImageWithName(kArrowImage));
    arrowImage_->setContentMode(ContentMode::ScaleAspectFit);
    arrowImage_->setAccessibilityIdentifier("arrowImage");

    activityView_ = ActivityIndicatorView::make(tall ? Rect(20, height - 30, 20, 20) : Rect(25, 10, 20, 20));
    activityView_->setStyle(ActivityIndicatorStyle::White);
    activityView_->setHidesWhenStopped(true);
    activityView_->setAccessibilityIdentifier("activityView");

    // The state's text is in place before the label shows.
    setState(PullRefreshNormal);
    addSubview(statusLabel_);
    addSubview(arrowImage_);
    addSubview(activityView_);
}

void RefreshTableHeaderView::setArrowTurned(bool turned, bool animated) {
    auto transform = turned ? AffineTransform::rotation(std::acos(-1.0)) : AffineTransform::identity();
    auto arrow = arrowImage_;
    if (animated)
        View::animate(kFlipDuration, [arrow, transform] { arrow->setTransform(transform); });
    else
        withoutAnimation([arrow, transform] { arrow->setTransform(transform); });
}

void RefreshTableHeaderView::setState(int state) {
    auto& resources = Resources::getInstance();
    switch (state) {
    case PullRefreshPulling:
        statusLabel_->setText(resources.textWithKey("KAVO_releaseToRefresh"));
        setArrowTurned(true, true);
        break;
    case PullRefreshNormal:
        // Back from "let go" the arrow turns back; from anything else it is upright at once.
        if (state_ == PullRefreshPulling) setArrowTurned(false, true);
        statusLabel_->setText(resources.textWithKey("KAVO_pullDownToRefresh"));
        activityView_->stopAnimating();
        withoutAnimation([this] { arrowImage_->setHidden(false); });
        if (state_ != PullRefreshPulling) setArrowTurned(false, false);
        break;
    case PullRefreshLoading:
        statusLabel_->setText(resources.textWithKey("KAVO_load"));
        activityView_->startAnimating();
        withoutAnimation([this] { arrowImage_->setHidden(true); });
        break;
    case PullRefreshFinished:
        activityView_->stopAnimating();
        withoutAnimation([this] { arrowImage_->setHidden(true); });
        break;
    default:
        break;
    }
    state_ = state;
}

void RefreshTableHeaderView::setCurrentDate() {
    setLastRefreshDate(platform::currentDate());
}

void RefreshTableHeaderView::setLastRefreshDate(std::optional<double> date) {
    auto& resources = Resources::getInstance();
    if (date)
        lastUpdatedLabel_->setText(resources.textWithKey("KAVO_lastUpdate") + ": " + platform::formatShortDate(*date) +
                                   " " + platform::formatShortTime(*date));
    else
        lastUpdatedLabel_->setText(resources.textWithKey("KAVO_neverUpdate"));
}

void RefreshTableHeaderView::pullDidScroll(double offsetY, bool reloading) {
    if (reloading) return;
    if (state_ == PullRefreshPulling && offsetY > -kPullDistance && offsetY < 0)
        setState(PullRefreshNormal);
    else if (state_ == PullRefreshNormal && offsetY < -kPullDistance)
        setState(PullRefreshPulling);
}

bool RefreshTableHeaderView::pullDidEndDragging(double offsetY, bool reloading) {
    if (reloading || offsetY > -kPullDistance) return false;
    setState(PullRefreshLoading);
    return true;
}

void RefreshTableHeaderView::setBottomBorderColor(std::optional<Color> color) {
    bottomBorderColor_ = color;
    setNeedsDisplay();
}

void RefreshTableHeaderView::setBottomBorderThickness(double thickness) {
    bottomBorderThickness_ = thickness;
    setNeedsDisplay();
}

void RefreshTableHeaderView::draw(GraphicsContext& context) {
    View::draw(context);
    if (bottomBorderThickness_ == 0) return;
    const Rect area = bounds();
    const double y = area.height() - bottomBorderThickness_ / 2;
    context.setStrokeColor(bottomBorderColor_.value_or(Color::rgba(160, 173, 182)));
    context.setLineWidth(bottomBorderThickness_);
    context.drawLine({0, y}, {area.width(), y});
}

} // namespace kavo
