#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A table of a room, as the board lists show it.
class Board {
public:
    int8_t roomId() const { return roomId_; }
    void setRoomId(int8_t value) { roomId_ = value; }
    int8_t boardId() const { return boardId_; }
    void setBoardId(int8_t value) { boardId_ = value; }
    int8_t isPass() const { return isPass_; }
    void setIsPass(int8_t value) { isPass_ = value; }
    int32_t money() const { return money_; }
    void setMoney(int32_t value) { money_ = value; }
    int32_t maxBetMoney() const { return maxBetMoney_; }
    void setMaxBetMoney(int32_t value) { maxBetMoney_ = value; }
    int8_t nPlayer() const { return nPlayer_; }
    void setNPlayer(int8_t value) { nPlayer_ = value; }
    int8_t maxPlayer() const { return maxPlayer_; }
    void setMaxPlayer(int8_t value) { maxPlayer_ = value; }
    int8_t isPlaying() const { return isPlaying_; }
    void setIsPlaying(int8_t value) { isPlaying_ = value; }
    const std::string& strMoney() const { return strMoney_; }
    void setStrMoney(std::string value) { strMoney_ = std::move(value); }

private:
    int8_t roomId_ = 0;
    int8_t boardId_ = 0;
    int8_t isPass_ = 0;
    int32_t money_ = 0;
    int32_t maxBetMoney_ = 0;
    int8_t nPlayer_ = 0;
    int8_t maxPlayer_ = 0;
    int8_t isPlaying_ = 0;
    std::string strMoney_;
};

} // namespace kavo
