#pragma once

#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/registry/GameMessageHandler.h"
#include "table/room/RoomCommandReader.h"

#include <atomic>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace kavo {

// A game's message handler: reads the room commands its rules name with the shared
// reader and leaves every other command to the game (readGameCommand), on the reader
// thread, handing the fields to the logic handler in force. It keeps nothing between
// messages; an exception while reading is logged and the message dropped.
template <class Logic, class PlayerRecord> class RoomMessageHandler : public GameMessageHandler {
public:
    void onMessage(Message& message) override {
        Logic& logic = *logic_.load();
        try {
            ReplyReader reader(message);
            if (readRoomCommand<PlayerRecord>(rules_, message.commandId(), reader, logic)) return;
            readGameCommand(message.commandId(), reader, logic);
        } catch (const std::exception& e) {
            platform::log(std::string("Exception ") + e.what());
        } catch (...) {
            platform::log("Exception in a message of " + rules_.table);
        }
    }

    std::vector<int16_t> listedButNotTaken() const override {
        std::vector<int16_t> dropped;
        for (int16_t command : rules_.commands)
            if (!logicTakes(command)) dropped.push_back(command);
        return dropped;
    }

    // The logic handler the fields go to (tests put a recording one in; nullptr puts the
    // game's own back).
    void setGameLogicHandler(Logic* handler) { logic_.store(handler ? handler : &ownLogic_); }

protected:
    RoomMessageHandler(int8_t gameType, const char* name, Logic& ownLogic, RoomRules<PlayerRecord> rules)
        : GameMessageHandler(gameType, name), ownLogic_(ownLogic), logic_(&ownLogic), rules_(std::move(rules)) {}

    // A command that is not one of the table's room commands (reader thread).
    virtual void readGameCommand(int16_t command, ReplyReader& reader, Logic& logic) = 0;

    // False, logged, when a game command of `command`'s was cut short.
    bool whole(int16_t command, const ReplyReader& reader) const {
        if (reader.ok()) return true;
        platform::log(rules_.table + ": command " + std::to_string(command) + " cut short, dropped");
        return false;
    }
    const std::string& table() const { return rules_.table; }

private:
    // Whether `Logic` (or a class between it and TableLogic) overrides the operation of
    // `command`: an inherited one names TableLogic's member, an overriding one its own.
    template <class Own, class Inherited> static constexpr bool overrides(Own, Inherited) {
        return !std::is_same_v<Own, Inherited>;
    }
    static bool logicTakes(int16_t command) {
        using Base = TableLogic<PlayerRecord>;
        switch (command) {
        case room::kStake:
            return overrides(&Logic::onOwnerSetMoneyWithRoomeId, &Base::onOwnerSetMoneyWithRoomeId);
        case room::kStakeMoneyFirst:
        case room::kStakePlayerFirst:
            return overrides(&Logic::onOwnerSetMoneyOnBoardWithRoomId, &Base::onOwnerSetMoneyOnBoardWithRoomId);
        case room::kBonus:
            return overrides(&Logic::onBonusMoneyWithRommId, &Base::onBonusMoneyWithRommId);
        case room::kMoveError:
            return overrides(&Logic::onMoveErrorWithRoomeId, &Base::onMoveErrorWithRoomeId);
        case room::kScoreText:
            return overrides(&Logic::onDiemSoWithWho, &Base::onDiemSoWithWho);
        case room::kJoinView:
            return overrides(&Logic::onJoinViewGameSuccessWithRoomId, &Base::onJoinViewGameSuccessWithRoomId);
        default:
            return true; // the basic commands' operations have no body to inherit
        }
    }

    Logic& ownLogic_;
    std::atomic<Logic*> logic_;
    const RoomRules<PlayerRecord> rules_;
};

} // namespace kavo
