#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A game type with its display name.
class GameId {
public:
    GameId() = default;
    GameId(int8_t gameId, std::string gameName) : gameId_(gameId), gameName_(std::move(gameName)) {}

    int8_t gameId() const { return gameId_; }
    void setGameId(int8_t value) { gameId_ = value; }
    const std::string& gameName() const { return gameName_; }
    void setGameName(std::string value) { gameName_ = std::move(value); }

private:
    int8_t gameId_ = 0;
    std::string gameName_;
};

} // namespace kavo
