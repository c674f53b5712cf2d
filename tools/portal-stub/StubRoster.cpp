#include "tools/portal-stub/StubRoster.h"

#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubProfile.h"

#include <iterator>

namespace portalstub {

const StubPlayer& stubNewcomer(size_t n) {
    static const StubPlayer* const newcomers[] = {stubPlayerNamed("tuan"), stubPlayerNamed("vy"),
                                                  stubPlayerNamed("khoa")};
    return *newcomers[n % std::size(newcomers)];
}

const StubPlayer* stubPlayerWithId(int32_t id) {
    for (const StubPlayer& player : kStubPlayers)
        if (player.id == id) return &player;
    return nullptr;
}

const StubPlayer* stubPlayerNamed(const std::string& name) {
    for (const StubPlayer& player : kStubPlayers)
        if (name == player.name) return &player;
    return nullptr;
}

int32_t stubPlayerId(const std::string& name) {
    const StubPlayer* player = stubPlayerNamed(name);
    return player ? player->id : 0;
}

int16_t stubPlayerAvatar(int32_t id) {
    const StubPlayer* player = stubPlayerWithId(id);
    return player ? int16_t(1 + (player - kStubPlayers) % 6) : 1;
}

kavo::Message playerDetail(int32_t id) {
    kavo::Message detail(34);
    const StubPlayer* player = stubPlayerWithId(id);
    const std::string me = StubLedger::session().player();
    if (!player && (me.empty() || id != StubPortal::playerIdOf(me))) {
        detail.writeInt(-1);
        return detail;
    }
    detail.writeInt(id);
    detail.writeUTF(player ? player->name : me);
    detail.writeLong(player ? StubLedger::stubPlayerMoney(player->name) : StubLedger::session().balance());
    detail.writeShort(player ? stubPlayerAvatar(id) : StubProfile::avatarOf(me));
    const int32_t seed = id % 50;
    for (int32_t value : {1500 + seed * 40, 10 + seed, 5 + seed % 7, seed % 3, 1}) // exp, wins, losses, draws, give-ups
        detail.writeInt(value);
    return detail;
}

} // namespace portalstub
