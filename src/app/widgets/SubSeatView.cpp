#include "app/widgets/SubSeatView.h"

#include "app/Util.h"
#include "platform/ui/Image.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Rect;

SubSeatView::SubSeatView(Rect frame) : View(frame) {
    initComponents();
}

SubSeatView::~SubSeatView() {
    if (timer_) timer_->invalidate();
}

std::shared_ptr<SubSeatView> SubSeatView::make(Rect frame) {
    return std::make_shared<SubSeatView>(frame);
}

void SubSeatView::initComponents() {
    setBackgroundColor(Color::clear());
    const double width = bounds().width(), height = bounds().height();
    CPI_ = CircularProgressIndicator::make(Rect{0, 0, width, height});
    CPI_->setFillBackgroundColor(Color::black().withAlpha(0.5));
    addSubview(CPI_);
    imgBorderOutside_ = platform::ui::ImageView::make(Rect{0, 0, width, height});
    imgBorderOutside_->setImage(platform::ui::Image::named("tl_border_seat.png"));
    addSubview(imgBorderOutside_);
    imgBgCenter_ = platform::ui::ImageView::make(
        Rect{3 * Util::iPadX(), 3 * Util::iPadY(), width - 7 * Util::iPadX(), height - 6 * Util::iPadY()});
    imgBgCenter_->setImage(platform::ui::Image::named("tl_khung_avatar.png"));
    addSubview(imgBgCenter_);
}

void SubSeatView::startWithSeconds(float turnSeconds, float secondsLeft) {
    // The countdown always starts from a whole pie and runs out with the seconds left;
    // the turn's length does not shape it.
    (void)turnSeconds;
    imgBgCenter_->setImage(platform::ui::Image::named("tl_khung_avatar.png"));
    limitseconds_ = secondsLeft;
    CPI_->setAlpha(1);
    CPI_->setProgress(0);
    if (timer_) timer_->invalidate();
    std::weak_ptr<View> weakSelf = weak_from_this();
    timer_ = platform::Timer::scheduled(TickSeconds, true, [weakSelf] {
        if (auto self = std::static_pointer_cast<SubSeatView>(weakSelf.lock())) self->updateProgress();
    });
}

void SubSeatView::updateProgress() {
    // No time left (or a nonsensical negative time) ends the countdown at the first tick.
    const double increment = limitseconds_ > 0 ? 1.0 / (double(limitseconds_) / TickSeconds) : 1.0;
    const float progress = CPI_->progress() + float(increment);
    if (progress >= 1) stop();
    CPI_->setProgress(progress);
}

void SubSeatView::stop() {
    CPI_->setAlpha(0);
    if (timer_) timer_->invalidate();
    timer_.reset();
}

} // namespace kavo
