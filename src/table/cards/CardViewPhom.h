#pragma once

#include "platform/ui/ImageView.h"
#include "table/cards/PlayingCard.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// One card at every card table but the two Tien Len ones. Those games send their
// cards in other orders (ace-low; Mau Binh two-low), so the card keeps the wire id
// exactly as it came and maps it only to choose the picture. Main thread only.
class CardViewPhom : public platform::ui::View, public PlayingCard {
public:
    explicit CardViewPhom(platform::ui::Rect frame = {});

    // A card of the current game. 255 and any id the game's order cannot place show
    // the room level's back; in a game without cards no picture is shown.
    static std::shared_ptr<CardViewPhom> withCardID(int8_t cardId, bool isPhom = false, int32_t playerId = 0);

    // Ace-low wire id -> picture index (Phom, Bai Cao, Xi Zach, poker, Cao Rua).
    static int8_t mapToRealCardIdWithId(int8_t cardId);
    // Two-low wire id -> picture index (Mau Binh).
    static int8_t mapFromMauBinhValue(int8_t cardId);
    // There and back through the ace-low order: the id itself for 0..51.
    static int8_t mapToPhomValue(int8_t cardId);
    // The widget's size: the hand size, times 0.6 at the poker table.
    static platform::ui::Size widgetSize();

    int8_t cardID() const override { return cardID_; }
    bool isSelected() const override { return isSelected_; }
    void setIsSelected(bool selected) { isSelected_ = selected; }
    // Lifts or drops the card; no table is asked to check anything.
    void setSelected() override;
    platform::ui::View& cardView() override { return *this; }

    int8_t phom() const { return phom_; }
    void setPhom(int8_t phom) { phom_ = phom; }
    bool isFix() const { return isFix_; }
    void setIsFix(bool fix) { isFix_ = fix; }
    bool isPhom() const { return isPhom_; }
    void setIsPhom(bool phom) { isPhom_ = phom; }
    bool isChecked() const { return isChecked_; }
    void setIsChecked(bool checked) { isChecked_ = checked; }
    bool isTouch() const { return isTouch_; }
    void setIsTouch(bool touch) { isTouch_ = touch; }
    int32_t playerID() const { return playerID_; }
    void setPlayerID(int32_t id) { playerID_ = id; }
    int cardValue() const { return cardValue_; }
    int cardType() const { return cardType_; }
    int cardColor() const { return cardColor_; }
    const std::vector<uint8_t>& cardMapping() const { return cardMapping_; }
    // The picture file of the face ("44.png", "52.png"; "" when none).
    const std::string& pictureName() const { return pictureName_; }
    const std::shared_ptr<platform::ui::ImageView>& faceView() const { return face_; }

    void setHighLightWithWidth();
    void unsetHighLightWithWidth();
    void setHighLightWithColor(platform::ui::Color color);
    void unsetHighLight();

protected:
    // Picture, ids and flags of a new card; BCCardView adds its own parts after.
    void setUpCard(int8_t cardId, bool isPhom, int32_t playerId);

private:
    int8_t cardID_ = 0;
    int8_t phom_ = 0;
    bool isSelected_ = false;
    bool isFix_ = false;
    bool isPhom_ = false;
    bool isChecked_ = false;
    bool isTouch_ = false;
    int32_t playerID_ = 0;
    int cardValue_ = 0;
    int cardType_ = 0;
    int cardColor_ = 0;
    std::vector<uint8_t> cardMapping_;
    std::string pictureName_;
    std::shared_ptr<platform::ui::ImageView> face_;
};

} // namespace kavo
