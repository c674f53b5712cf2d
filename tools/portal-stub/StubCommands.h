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
#include <string>
#include <utility>
#include <vector>

namespace portalstub {

// One request an area of the stub answers: its command, the sub it is for (kEverySub: the
// command has no subs), what answers it (nothing: the request is admitted and only
// logged), whether a client may send it before a sign-in, the game it serves (kAnyGame:
// every game that no row of its own names) and what the row does beside its handler. A
// command with subs has a row for each sub it answers and no row of every sub; the handler
// of a sub's row reads the body without the sub and never sees it, so that no handler
// decides between subs. A table's rows for one game are written plainly and given that
// game with atGame; a row's rule is given with boardJoin or signIn, and a row that moves
// money or ownership says so with movesMoney.
struct StubCommand {
    static constexpr int32_t kEverySub = INT32_MIN;
    static constexpr int kAnyGame = INT_MIN;
    // A join of a board (BoardJoin) meets the board's own refusals before its handler
    // seats the player; a sign-in (SignIn) is followed, once answered, by what waited for
    // the person. What each does is given to the dispatch once (StubRules).
    enum class Rule { None, BoardJoin, SignIn };
    int16_t command;
    int32_t sub;
    portalserver::PortalServer::Handler handler;
    bool beforeSignIn = false;
    int game = kAnyGame;
    Rule rule = Rule::None;
    // It moves money or ownership (a spend, a top-up, a purchase, a gift, a transfer, a
    // ticket): its handler alone may change a balance or what someone owns (StubMoneyRow),
    // and every request of it that must take nothing is walked by one test over the table.
    bool money = false;
};

// `row` with the rule of a join of a board, or of a sign-in.
StubCommand boardJoin(StubCommand row);
StubCommand signIn(StubCommand row);
// `row`, marked as one that moves money or ownership.
StubCommand movesMoney(StubCommand row);

// What the rows' rules do: whether a join (its request whole) may go on to the table,
// else it was answered with the board's refusal; what follows a sign-in once answered.
struct StubRules {
    std::function<bool(kavo::Message& join, portalserver::PortalServer::Reply& reply)> joinAdmitted;
    std::function<void(portalserver::PortalServer::Reply& reply)> afterSignIn;
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
// byte of the body; the first int for the commands that number their subs so, 2703; the
// byte after the room and the board for a table's own game command, 47, 77, 86, and for
// Xi Zach's move, 21 at that game alone) and the game chosen, to the row that names them,
// else the row of every game. No row replaces another: a second row for the same command,
// sub and game is refused, and so is a row of every sub beside rows of the command's subs
// at its game or every game (or one of a sub beside a row of every sub). The handler of a
// row that moves money runs as one (StubMoneyRow): no other may change a balance or what
// someone owns. Before a sign-in only the commands a row admits reach a handler; every
// other request is dropped, and the log says so. The tables are given before the portal
// serves, and the table is the only way in: a handler set on the portal beside it, or a
// second handler of every command or gate that would replace the dispatch or its gate, is
// found (onlyWayIn) and the stub does not serve with it.
class StubCommands {
public:
    // `signedIn` tells whether someone is signed in on the connection now, `gameType` the
    // game chosen; `rules` what the rows' rules do.
    StubCommands(portalserver::PortalServer& portal, std::function<bool()> signedIn, std::function<int()> gameType,
                 StubRules rules = {});
    StubCommands(const StubCommands&) = delete;
    StubCommands& operator=(const StubCommands&) = delete;

    // Adds a table's rows; false, with a line in the log for each, when a row was refused
    // (one given before has its command, sub and game, or the command's rows name its subs
    // and this one every sub, or the other way round: the first stays).
    bool add(const std::vector<StubCommand>& table);
    // Whether no handler was set on the portal beside the table, and its dispatch and gate
    // are the table's own; false, with a line in the log for each command such a handler
    // answers, and for a handler of every command or a gate set again, when one was.
    bool onlyWayIn() const;
    // Whether a request of `command` may be answered now.
    bool admits(int16_t command) const;
    // Answers `request` with the row it reaches (a join that play now makes, too).
    void dispatch(kavo::Message& request, portalserver::PortalServer::Reply& reply);

    // A row as the table holds it, without its handler.
    struct Row {
        int16_t command;
        int32_t sub;
        int game;
        bool beforeSignIn;
        StubCommand::Rule rule;
        bool money;
    };
    std::vector<Row> rows() const;

private:
    struct Key {
        int16_t command;
        int32_t sub;
        int game;
        auto operator<=>(const Key&) const = default;
    };
    struct Answer {
        portalserver::PortalServer::Handler handler;
        bool beforeSignIn;
        StubCommand::Rule rule;
        bool money;
    };
    using Rows = std::map<Key, Answer>;
    // The row `request` reaches at `game`, or the end; `sub` is set when the command has
    // subs and the body holds one. Under the mutex.
    Rows::const_iterator rowFor(kavo::Message& request, int game, std::optional<int32_t>& sub) const;
    // Why `row` is refused (empty: it is not). Under the mutex.
    std::string refusalOf(const StubCommand& row) const;
    // Runs `answer` for `request`, with its rule, as a row that moves money when it is one.
    void answer(const Answer& answer, kavo::Message& request, portalserver::PortalServer::Reply& reply);

    portalserver::PortalServer& portal_;
    std::function<bool()> signedIn_;
    std::function<int()> gameType_;
    StubRules rules_;
    mutable std::mutex mutex_;
    Rows rows_;
    std::set<int16_t> beforeSignIn_;
    // The commands, at the games of their rows, that a row names a sub of, and those with a
    // row of every sub.
    std::set<std::pair<int16_t, int>> withSubs_;
    std::set<std::pair<int16_t, int>> everySub_;
};

} // namespace portalstub
