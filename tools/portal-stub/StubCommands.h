#pragma once

#include "tools/portal-server/PortalServer.h"

#include <climits>
#include <compare>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace portalstub {

// One request an area of the stub answers: its command, the sub it is for (kEverySub:
// every sub that no row of its own names), what answers it (nothing: the request is
// admitted and only logged), whether a client may send it before a sign-in, and the game
// it serves (kAnyGame: every game that no row of its own names). A table's rows for one
// game are written plainly and given that game with atGame.
struct StubCommand {
    static constexpr int32_t kEverySub = INT32_MIN;
    static constexpr int kAnyGame = INT_MIN;
    int16_t command;
    int32_t sub;
    portalserver::PortalServer::Handler handler;
    bool beforeSignIn = false;
    int game = kAnyGame;
};

// `rows`, each serving `game` alone.
std::vector<StubCommand> atGame(int game, std::vector<StubCommand> rows);
// `rows` once for each of `games`.
std::vector<StubCommand> atGames(std::initializer_list<int> games, const std::vector<StubCommand>& rows);

// The table rows of an area whose handlers are members of `area`.
template <class Area>
portalserver::PortalServer::Handler answeredBy(Area* area, void (Area::*member)(kavo::Message&,
                                                                                portalserver::PortalServer::Reply&)) {
    return [area, member](kavo::Message& request, portalserver::PortalServer::Reply& reply) {
        (area->*member)(request, reply);
    };
}

// The commands of the stub's areas on one connection's portal, each area's given as one
// table, and the one place every request is dispatched: by its command, its sub (the first
// byte of the body, or its first int for the commands that number their subs so, 2703)
// and the game chosen, to the row that names them, else the row of every sub or every game
// (a sub named before a game). No row replaces another: a second row for the same command,
// sub and game is refused. Before a sign-in only the commands a row admits reach a
// handler; every other request is dropped, and the log says so. The tables are given
// before the portal serves.
class StubCommands {
public:
    // `signedIn` tells whether someone is signed in on the connection now, `gameType` the
    // game chosen.
    StubCommands(portalserver::PortalServer& portal, std::function<bool()> signedIn, std::function<int()> gameType);
    StubCommands(const StubCommands&) = delete;
    StubCommands& operator=(const StubCommands&) = delete;

    // Adds a table's rows; false, with a line in the log for each, when a row was refused
    // because one given before has its command, sub and game (that one stays).
    bool add(const std::vector<StubCommand>& table);
    // Whether a request of `command` may be answered now.
    bool admits(int16_t command) const;
    // Answers `request` with the row it reaches (a join that play now makes, too).
    void dispatch(kavo::Message& request, portalserver::PortalServer::Reply& reply);

private:
    struct Key {
        int16_t command;
        int32_t sub;
        int game;
        auto operator<=>(const Key&) const = default;
    };
    using Rows = std::map<Key, portalserver::PortalServer::Handler>;
    // The row `request` reaches at `game`, or the end; `sub` is set when the command has
    // subs and the body holds one. Under the mutex.
    Rows::const_iterator rowFor(kavo::Message& request, int game, std::optional<int32_t>& sub) const;

    portalserver::PortalServer& portal_;
    std::function<bool()> signedIn_;
    std::function<int()> gameType_;
    mutable std::mutex mutex_;
    Rows rows_;
    std::set<int16_t> beforeSignIn_;
    std::set<int16_t> withSubs_; // the commands a row names a sub of
    std::set<int16_t> answered_; // the commands of every row
};

} // namespace portalstub
