#pragma once

#include "platform/ui/Image.h"
#include "portal/model/AtomicInt64.h"
#include "portal/model/User.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace kavo {

// Level, progress and requirement derived from a player's experience.
struct LevelDetail {
    int32_t lv = 0;
    int32_t expRemain = 0;  // experience gathered inside the current level
    int32_t expRequire = 0; // experience the current level needs
    int32_t percent = 0;    // progress inside the level, whole per cent

    // Level 1 needs 100 points, each further level 100 more than the one before:
    // level 2 begins at 100, level 3 at 300, level 4 at 600.
    static LevelDetail fromExp(int32_t exp);

    bool operator==(const LevelDetail&) const = default;
};

// A player as lists, rankings and tables show it; the games derive their own
// players from it. Two players are the same player when their IDDB is.
class Player {
public:
    // The picture a seat shows for the gift until a game sets another; every new
    // player starts with it.
    static constexpr const char* kDefaultGiftImage = "tl_present.png";

    Player();
    virtual ~Player() = default;
    Player(const Player&) = default;
    Player& operator=(const Player&) = default;

    // Atomic like the money: the signed-in player's id is read on the reader thread
    // while a reply on the main thread may set it.
    int32_t IDDB() const { return static_cast<int32_t>(IDDB_.get()); }
    void setIDDB(int32_t value) { IDDB_.set(value); }
    int32_t avatar() const { return avatar_; }
    void setAvatar(int32_t value) { avatar_ = value; }
    int32_t exp() const { return exp_; }
    // Stores the experience and recomputes the level.
    void setExp(int32_t value);
    int8_t finishPosition() const { return finishPosition_; }
    void setFinishPosition(int8_t value) { finishPosition_ = value; }
    // Ready at a table; online in friend lists.
    int8_t isReady() const { return isReady_; }
    void setIsReady(int8_t value) { isReady_ = value; }
    const LevelDetail& level() const { return level_; }
    void setLevel(LevelDetail value) { level_ = value; }
    int64_t money() const { return money_.get(); }
    void setMoney(int64_t value) { money_.set(value); }
    // Adds a (possibly negative) amount, as a game's result moves money.
    void addMoney(int64_t delta) { money_.add(delta); }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    const std::string& showName() const { return showName_; }
    void setShowName(std::string value) { showName_ = std::move(value); }
    const std::shared_ptr<User>& userProfile() const { return userProfile_; }
    void setUserProfile(std::shared_ptr<User> value) { userProfile_ = std::move(value); }
    // The gift shown at the player's seat.
    const platform::ui::ImagePtr& gift() const { return gift_; }
    void setGift(platform::ui::ImagePtr value) { gift_ = std::move(value); }
    // Who gave that gift: the name of the giver at the table when it arrived; empty for
    // a gift whose giver the client never learned and for no gift.
    const std::string& giftGiver() const { return giftGiver_; }
    void setGiftGiver(std::string value) { giftGiver_ = std::move(value); }
    const platform::ui::ImagePtr& imgAvatar() const { return imgAvatar_; }
    void setImgAvatar(platform::ui::ImagePtr value) { imgAvatar_ = std::move(value); }
    int8_t isFriend() const { return isFriend_; }
    void setIsFriend(int8_t value) { isFriend_ = value; }
    // Where an online friend sits.
    int8_t gameID() const { return gameID_; }
    void setGameID(int8_t value) { gameID_ = value; }
    int8_t roomID() const { return roomID_; }
    void setRoomID(int8_t value) { roomID_ = value; }
    int8_t boardID() const { return boardID_; }
    void setBoardID(int8_t value) { boardID_ = value; }

    bool equals(const Player& other) const { return IDDB() == other.IDDB(); }
    // The money with the grouping of the money labels.
    std::string getMoneyString() const;
    std::string toString() const { return name_; }

private:
    AtomicInt64 IDDB_;
    int32_t avatar_ = 0;
    int32_t exp_ = 0;
    int8_t finishPosition_ = 0;
    int8_t isReady_ = 0;
    LevelDetail level_;
    AtomicInt64 money_;
    std::string name_;
    std::string showName_;
    std::shared_ptr<User> userProfile_;
    platform::ui::ImagePtr gift_;
    std::string giftGiver_;
    platform::ui::ImagePtr imgAvatar_;
    int8_t isFriend_ = 0;
    int8_t gameID_ = 0;
    int8_t roomID_ = 0;
    int8_t boardID_ = 0;
};

} // namespace kavo
