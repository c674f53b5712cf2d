#pragma once

#include "table/registry/IGameMessageHandler.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavo {

// What the fourteen game handlers share: each accepts its own game type and, once
// installed, gives the board list its seat class and the game its title. A reply
// that the game does not read yet is logged and dropped.
class GameMessageHandler : public IGameMessageHandler {
public:
    // The seat class and the title come from the game's record (GameRecords.h).
    // `name` is for the log.
    GameMessageHandler(int8_t gameType, const char* name);

    bool isGameType(int8_t type) const override { return type == gameType_; }
    void onMessage(Message& message) override;
    void onPostSetupGameType() override;

    int8_t gameType() const { return gameType_; }
    // The room commands the table's rules list while its logic keeps the base's
    // do-nothing operation: each would be read and dropped without a word.
    virtual std::vector<int16_t> listedButNotTaken() const { return {}; }

private:
    int8_t gameType_;
    const char* name_;
};

} // namespace kavo
