#include "portal/model/Player.h"

#include "app/Util.h"

namespace kavo {

LevelDetail LevelDetail::fromExp(int32_t exp) {
    int32_t lv = 1;
    int64_t requirement = 100;
    int64_t remainder = exp;
    while (remainder - requirement >= 0) {
        remainder -= requirement;
        requirement += 100;
        ++lv;
    }
    LevelDetail detail;
    detail.lv = lv;
    detail.expRemain = int32_t(remainder);
    detail.expRequire = int32_t(requirement);
    // Division rounds toward zero, so a negative experience gives a negative per cent.
    detail.percent = int32_t(remainder * 100 / requirement);
    return detail;
}

Player::Player() : userProfile_(std::make_shared<User>()), gift_(platform::ui::Image::named(kDefaultGiftImage)) {}

void Player::setExp(int32_t value) {
    exp_ = value;
    level_ = LevelDetail::fromExp(value);
}

std::string Player::getMoneyString() const {
    return Util::formatNumber(money());
}

} // namespace kavo
