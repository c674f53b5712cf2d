#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A text (or picture, imgId >= 0) that floats up over a screen, such as a received present.
class FlyTextInfo {
public:
    const std::string& text() const { return text_; }
    void setText(std::string value) { text_ = std::move(value); }
    int32_t imgId() const { return imgId_; }
    void setImgId(int32_t value) { imgId_ = value; }
    int32_t x() const { return x_; }
    void setX(int32_t value) { x_ = value; }
    int32_t y() const { return y_; }
    void setY(int32_t value) { y_ = value; }
    int32_t state() const { return state_; }
    void setState(int32_t value) { state_ = value; }
    int32_t speedY() const { return speedY_; }
    void setSpeedY(int32_t value) { speedY_ = value; }

private:
    std::string text_;
    int32_t imgId_ = -1;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t state_ = 0;
    int32_t speedY_ = 0;
};

} // namespace kavo
