#include "tools/portal-stub/StubCommands.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubMoneyRow.h"

#include <cstddef>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// Where a command's requests name their sub: in the first byte unless listed here; the
// reports and history (2703) in the first int, a table's own game command (Mau Binh's 47,
// the chess tables' 77 and 86) and Xi Zach's move (21: a draw or a stand) in the byte after
// the room and the board. A place of one game is its own: the command has no sub there at
// another game.
struct SubPlace {
    int16_t command;
    int game;
    size_t at;
    size_t size;
};
constexpr int kXiZach = 2;
constexpr SubPlace kSubPlaces[] = {{2703, StubCommand::kAnyGame, 0, 4},
                                   {47, StubCommand::kAnyGame, 2, 1},
                                   {77, StubCommand::kAnyGame, 2, 1},
                                   {86, StubCommand::kAnyGame, 2, 1},
                                   {21, kXiZach, 2, 1}};

SubPlace placeOf(int16_t command, int game) {
    for (const SubPlace& place : kSubPlaces)
        if (place.command == command && (place.game == StubCommand::kAnyGame || place.game == game)) return place;
    return {command, StubCommand::kAnyGame, 0, 1};
}

// The sub of `request` at `game`, its cursor left at 0; nothing when the body is too short
// to hold one.
std::optional<int32_t> subOf(Message& request, int game) {
    const SubPlace place = placeOf(request.commandId(), game);
    if (request.data().size() < place.at + place.size) return std::nullopt;
    request.setIdx(int(place.at));
    const int32_t sub = place.size == 4 ? request.readInt() : request.readByte();
    request.setIdx(0);
    return sub;
}

// `request` without its sub at `game`: what a sub's row reads.
Message withoutSub(const Message& request, int game) {
    const SubPlace place = placeOf(request.commandId(), game);
    const auto data = request.data();
    std::vector<uint8_t> body(data.begin(), data.begin() + std::ptrdiff_t(place.at));
    body.insert(body.end(), data.begin() + std::ptrdiff_t(place.at + place.size), data.end());
    return Message(request.commandId(), body);
}

// Whether `kinds` (commands at games) holds `command` at a game a row at `game` meets: the
// same game, or every game on either side.
bool meets(const std::set<std::pair<int16_t, int>>& kinds, int16_t command, int game) {
    for (const auto& [kind, at] : kinds)
        if (kind == command && (at == game || at == StubCommand::kAnyGame || game == StubCommand::kAnyGame))
            return true;
    return false;
}

std::string subText(int32_t sub) {
    return sub == StubCommand::kEverySub ? "every sub" : "sub " + std::to_string(sub);
}

std::string gameText(int game) {
    return game == StubCommand::kAnyGame ? "every game" : "game " + std::to_string(game);
}

} // namespace

std::vector<StubCommand> atGame(int game, std::vector<StubCommand> rows) {
    for (StubCommand& row : rows)
        row.game = game;
    return rows;
}

std::vector<StubCommand> atGames(std::initializer_list<int> games, const std::vector<StubCommand>& rows) {
    std::vector<StubCommand> all;
    for (int game : games)
        for (StubCommand& row : atGame(game, rows))
            all.push_back(std::move(row));
    return all;
}

StubCommand boardJoin(StubCommand row) {
    row.rule = StubCommand::Rule::BoardJoin;
    return row;
}

StubCommand signIn(StubCommand row) {
    row.rule = StubCommand::Rule::SignIn;
    return row;
}

StubCommand movesMoney(StubCommand row) {
    row.money = true;
    return row;
}

StubCommands::StubCommands(PortalServer& portal, std::function<bool()> signedIn, std::function<int()> gameType,
                           StubRules rules)
    : portal_(portal), signedIn_(std::move(signedIn)), gameType_(std::move(gameType)), rules_(std::move(rules)) {
    portal_.admitOnly([this](const Message& request) {
        if (admits(request.commandId())) return true;
        platform::log("command " + std::to_string(request.commandId()) + " before a sign-in: dropped");
        return false;
    });
    portal_.onAnyCommand([this](Message& request, PortalServer::Reply& reply) { dispatch(request, reply); });
}

std::string StubCommands::refusalOf(const StubCommand& row) const {
    const std::string named =
        "command " + std::to_string(row.command) + ", " + subText(row.sub) + ", " + gameText(row.game);
    if (rows_.count({row.command, row.sub, row.game})) return "a second row for " + named + " is refused";
    if (row.sub == StubCommand::kEverySub && meets(withSubs_, row.command, row.game))
        return "a row for " + named + " beside rows of its subs is refused";
    if (row.sub != StubCommand::kEverySub && meets(everySub_, row.command, row.game))
        return "a row for " + named + " beside a row of every sub is refused";
    return "";
}

bool StubCommands::add(const std::vector<StubCommand>& table) {
    std::lock_guard lock(mutex_);
    bool added = true;
    for (const StubCommand& row : table) {
        if (const std::string refusal = refusalOf(row); !refusal.empty()) {
            platform::log("portal-stub: " + refusal);
            added = false;
            continue;
        }
        rows_.emplace(Key{row.command, row.sub, row.game}, Answer{row.handler, row.beforeSignIn, row.rule, row.money});
        if (row.beforeSignIn) beforeSignIn_.insert(row.command);
        (row.sub == StubCommand::kEverySub ? everySub_ : withSubs_).insert({row.command, row.game});
    }
    return added;
}

bool StubCommands::onlyWayIn() const {
    const std::vector<int16_t> beside = portal_.commandsWithHandlers();
    for (const int16_t command : beside)
        platform::log("portal-stub: a handler of command " + std::to_string(command) +
                      " was set beside the table; it is refused");
    // The dispatch and its gate were set once, here: a second set would have replaced
    // either in silence.
    const bool ownDispatch = portal_.anyCommandHandlersSet() == 1;
    if (!ownDispatch)
        platform::log("portal-stub: a handler of every command was set beside the table's dispatch; it is refused");
    const bool ownGate = portal_.gatesSet() == 1;
    if (!ownGate) platform::log("portal-stub: a gate was set beside the table's own; it is refused");
    return beside.empty() && ownDispatch && ownGate;
}

bool StubCommands::admits(int16_t command) const {
    if (signedIn_()) return true;
    std::lock_guard lock(mutex_);
    return beforeSignIn_.count(command) > 0;
}

std::vector<StubCommands::Row> StubCommands::rows() const {
    std::lock_guard lock(mutex_);
    std::vector<Row> all;
    for (const auto& [key, answer] : rows_)
        all.push_back({key.command, key.sub, key.game, answer.beforeSignIn, answer.rule, answer.money});
    return all;
}

StubCommands::Rows::const_iterator StubCommands::rowFor(Message& request, int game, std::optional<int32_t>& sub) const {
    const int16_t command = request.commandId();
    const bool withSubs = withSubs_.count({command, game}) || withSubs_.count({command, StubCommand::kAnyGame});
    if (withSubs) sub = subOf(request, game);
    const int32_t wanted = withSubs ? sub.value_or(StubCommand::kEverySub) : StubCommand::kEverySub;
    for (const int at : {game, StubCommand::kAnyGame})
        if (auto row = rows_.find({command, wanted, at}); row != rows_.end()) return row;
    return rows_.end();
}

void StubCommands::answer(const Answer& answer, Message& request, PortalServer::Reply& reply) {
    std::optional<StubMoneyRow> moneyRow;
    if (answer.money) moneyRow.emplace();
    switch (answer.rule) {
    case StubCommand::Rule::BoardJoin:
        if (rules_.joinAdmitted && !rules_.joinAdmitted(request, reply)) return;
        answer.handler(request, reply);
        return;
    case StubCommand::Rule::SignIn:
        answer.handler(request, reply);
        if (rules_.afterSignIn) rules_.afterSignIn(reply);
        return;
    case StubCommand::Rule::None:
        answer.handler(request, reply);
        return;
    }
}

void StubCommands::dispatch(Message& request, PortalServer::Reply& reply) {
    const int16_t command = request.commandId();
    const int game = gameType_();
    std::optional<Answer> found;
    std::optional<int32_t> sub;
    bool known = false;
    {
        std::lock_guard lock(mutex_);
        if (const auto row = rowFor(request, game, sub); row != rows_.end()) found = row->second;
        known = meets(withSubs_, command, StubCommand::kAnyGame) || meets(everySub_, command, StubCommand::kAnyGame);
    }
    if (found && found->handler) {
        if (!sub) return answer(*found, request, reply);
        // A sub's row reads the request without its sub: the sub is the row's, not the handler's.
        Message body = withoutSub(request, game);
        return answer(*found, body, reply);
    }
    // A request no handler answers may carry a password (a password change, a
    // registration): only its id and size are logged.
    if (found || !known)
        return platform::log("command " + std::to_string(command) + ", " + std::to_string(request.data().size()) +
                             " bytes");
    platform::log("command " + std::to_string(command) + (sub ? " " + subText(*sub) : std::string()) + " at " +
                  gameText(game) + ": not answered");
}

} // namespace portalstub
