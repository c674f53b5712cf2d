#pragma once

#include "table/cards/CardViewPhom.h"

namespace kavo {

// A card of Bai Cao, Cao Rua and Xi Zach. Another player's card is drawn at 0.6
// scale and ignores touches. My card is covered by the room level's back; a tap, a
// double tap and (in peek mode) a drag report to the game's table. Main thread only.
class BCCardView : public CardViewPhom {
public:
    // `isBaiCao` NO also marks my card checked.
    static std::shared_ptr<BCCardView> withCardID(int8_t cardId, bool isPhom, int32_t playerId, bool isBaiCao);

    bool isBaiNan() const { return isBaiNan_; }
    void setIsBaiNan(bool peek) { isBaiNan_ = peek; }
    platform::ui::Point firstPoint() const { return firstPoint_; }
    platform::ui::Point comparePoint() const { return comparePoint_; }
    void setComparePoint(platform::ui::Point point) { comparePoint_ = point; }
    platform::ui::Point backPoint() const { return backPoint_; }
    void setBackPoint(platform::ui::Point point) { backPoint_ = point; }
    const std::shared_ptr<BCCardView>& backCard() const { return backCard_; }
    void setBackCard(std::shared_ptr<BCCardView> card) { backCard_ = std::move(card); }
    // The back that hides my card's face (nullptr on another player's card).
    const std::shared_ptr<platform::ui::ImageView>& cover() const { return cover_; }

    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    void touchesMoved(const std::vector<platform::ui::Touch>& touches) override;
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    // The double tap: at Bai Cao and Cao Rua every card is shown.
    void handleTapGesture();

private:
    void peekEnded();
    void tapped();

    bool isBaiNan_ = false;
    platform::ui::Point firstPoint_;
    platform::ui::Point comparePoint_;
    platform::ui::Point backPoint_;
    std::shared_ptr<BCCardView> backCard_;
    std::shared_ptr<platform::ui::ImageView> cover_;
};

} // namespace kavo
