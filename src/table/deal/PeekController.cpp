#include "table/deal/PeekController.h"

#include "app/EscapeTarget.h"
#include "app/Util.h"
#include "table/cards/BCCardView.h"

namespace kavo {

void PeekController::load(int32_t myId, platform::ui::Point rest, platform::ui::Rect frame,
                          std::function<void(const std::shared_ptr<BCCardView>&)> putBack) {
    rest_ = rest;
    cover_ = BCCardView::withCardID(-1, true, myId, true);
    cover_->setIsBaiNan(true);
    // Whoever signed in, the cover answers the finger: its drag is the peek.
    cover_->setIsTouch(true);
    cover_->setUserInteractionEnabled(true);
    cover_->setAccessibilityIdentifier("imgBaiTiNanBai");
    cover_->setTransform(platform::ui::AffineTransform::scale(2, 2));
    cover_->setCenter(rest);
    cover_->setAlpha(0);
    // The overlay lies under the card and the cover: Escape reaches it past them.
    overlay_ = closingView<platform::ui::View>(frame, "viewNanBai",
                                               [this, putBack = std::move(putBack)] { return closeOnEscape(putBack); });
    overlay_->setBackgroundColor(platform::ui::Color::black());
    overlay_->setAlpha(0.7);
}

std::shared_ptr<BCCardView> PeekController::backCard() const {
    return cover_ ? cover_->backCard() : nullptr;
}

bool PeekController::isPeeking() const {
    return cover_ && cover_->superview() != nullptr;
}

void PeekController::begin(const std::shared_ptr<BCCardView>& card, platform::ui::View& table,
                           std::function<void(const std::shared_ptr<BCCardView>&)> zoomed) {
    if (!card || !cover_) return;
    table.addSubview(overlay_);
    table.addSubview(card); // brought above the overlay
    cover_->setTransform(platform::ui::AffineTransform::scale(2, 2));
    cover_->setCenter(rest_);
    table.addSubview(cover_);
    cover_->setComparePoint(cover_->frame().origin);
    cover_->setBackPoint(card->center());
    cover_->setBackCard(card);
    const uint64_t generation = ++generation_;
    const auto target = cover_->center();
    auto cover = cover_;
    platform::ui::View::animate(
        kZoomSeconds,
        [card, cover, target] {
            card->setCenter(target);
            card->setTransform(platform::ui::AffineTransform::scale(2, 2));
            cover->setAlpha(1);
        },
        [this, generation, card, zoomed](bool) {
            if (generation != generation_) return;
            if (zoomed) zoomed(card);
        });
}

void PeekController::showLoading(platform::ui::View& table) {
    if (!overlay_) return;
    table.bringSubviewToFront(overlay_.get());
    Util::showLoadingOnView(overlay_);
    loading_ = true;
}

void PeekController::hideLoading(platform::ui::View& table) {
    if (!cover_) return;
    if (auto card = cover_->backCard(); card && card->superview() == &table) table.bringSubviewToFront(card.get());
    if (cover_->superview() == &table) table.bringSubviewToFront(cover_.get());
    Util::hideLoadingOnView(overlay_);
    loading_ = false;
}

void PeekController::end(const std::shared_ptr<BCCardView>& card, std::function<void()> back) {
    if (!cover_) return;
    if (auto* table = cover_->superview()) hideLoading(*table);
    Util::hideLoadingOnView(overlay_);
    loading_ = false;
    if (!card) return;
    const uint64_t generation = ++generation_;
    const auto home = cover_->backPoint();
    auto cover = cover_;
    platform::ui::View::animate(
        kZoomSeconds,
        [card, cover, home] {
            card->setTransform(platform::ui::AffineTransform::identity());
            card->setCenter(home);
            cover->setAlpha(0);
        },
        [this, generation, back](bool) {
            if (generation != generation_) return;
            overlay_->removeFromSuperview();
            cover_->removeFromSuperview();
            cover_->setTransform(platform::ui::AffineTransform::scale(2, 2));
            cover_->setCenter(rest_);
            cover_->setBackCard(nullptr);
            if (back) back();
        });
}

bool PeekController::closeOnEscape(const std::function<void(const std::shared_ptr<BCCardView>&)>& putBack) {
    auto card = backCard();
    if (!card || !isPeeking()) return false;
    if (const auto& back = card->cover(); back && back->superview() != card.get()) card->addSubview(back);
    if (putBack) putBack(card);
    return true;
}

void PeekController::dismiss() {
    ++generation_;
    if (!cover_) return;
    Util::hideLoadingOnView(overlay_);
    loading_ = false;
    if (auto card = cover_->backCard()) {
        card->setTransform(platform::ui::AffineTransform::identity());
        card->setCenter(cover_->backPoint());
    }
    cover_->removeFromSuperview();
    cover_->setAlpha(0);
    cover_->setTransform(platform::ui::AffineTransform::scale(2, 2));
    cover_->setCenter(rest_);
    cover_->setBackCard(nullptr);
    overlay_->removeFromSuperview();
}

void PeekController::keepOnTop(platform::ui::View& table) {
    if (!isPeeking()) return;
    table.bringSubviewToFront(overlay_.get());
    if (auto back = backCard()) table.bringSubviewToFront(back.get());
    table.bringSubviewToFront(cover_.get());
}

} // namespace kavo
