#pragma once

#include "platform/ui/ImageView.h"
#include "table/cards/PlayingCard.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// One card at the Tien Len tables. The wire id is also the picture index (rank = id /
// 4 with 0 the three and 12 the two, suit = id mod 4, suits 2 and 3 red). A tap lifts
// it out of the hand. Main thread only.
class CardView : public platform::ui::ImageView, public PlayingCard {
public:
    explicit CardView(platform::ui::Rect frame = {});

    // A face-up card of hand size. An id outside 0..51 shows the back of the room
    // level and keeps the id it was given.
    static std::shared_ptr<CardView> withCardID(int8_t cardId);
    // The same; `isPhom` also gives it the ace-low rank mapping.
    static std::shared_ptr<CardView> withCardID(int8_t cardId, bool isPhom);
    // A small face-down card (tag 52) with the back of the room level.
    static std::shared_ptr<CardView> baiTy();

    static int cardWidth();
    static int cardHeight();

    int8_t cardID() const override { return cardID_; }
    void setCardID(int8_t id) { cardID_ = id; }
    bool isSelected() const override { return isSelected_; }
    // Only the flag: the card does not move (the screens use it when they rebuild a hand).
    void setIsSelected(bool selected) { isSelected_ = selected; }
    // Lifts or drops the card; at Tien Len and Tien Len MB the table then checks the
    // selection.
    void setSelected() override;
    platform::ui::View& cardView() override { return *this; }

    int8_t phom() const { return phom_; }
    void setPhom(int8_t phom) { phom_ = phom; }
    int cardType() const { return cardType_; }
    int cardValue() const { return cardValue_; }
    int cardColor() const { return cardColor_; }
    bool isTouch() const { return isTouch_; }
    void setIsTouch(bool touch) { isTouch_ = touch; }
    const std::vector<uint8_t>& cardMapping() const { return cardMapping_; }
    // The picture file shown ("100.png", "7.png", "53.png").
    const std::string& pictureName() const { return pictureName_; }

    void setHighLightWithWidth();
    void unsetHighLightWithWidth();

    // Layout values the screens keep on a card while they lay out and animate a hand.
    int pos = 0;
    bool isMove = false;
    bool isMoving = false;
    platform::ui::Point oldCenter;
    platform::ui::Point newCenter;

private:
    void showPicture(const std::string& name);

    int8_t cardID_ = 0;
    bool isSelected_ = false;
    int8_t phom_ = 0;
    int cardType_ = 0;
    int cardValue_ = 0;
    int cardColor_ = 0;
    bool isTouch_ = false;
    std::vector<uint8_t> cardMapping_;
    std::string pictureName_;
};

// The ace-low rank of each Tien Len rank (entry r is the Tien Len rank of ace-low r).
inline constexpr uint8_t kPhomRankMapping[13] = {11, 12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

// One player's cards as a plain record.
struct CardInfo {
    std::vector<uint8_t> cards;
    int32_t owner = 0;
};

} // namespace kavo
