#include "tools/portal-stub/StubCommands.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <iterator>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// The commands whose sub is the first int of the body; every other command's is its
// first byte.
constexpr int16_t kIntSubCommands[] = {2703};

bool subIsInt(int16_t command) {
    return std::find(std::begin(kIntSubCommands), std::end(kIntSubCommands), command) != std::end(kIntSubCommands);
}

// The sub of `request`, its cursor left at 0; nothing when the body is too short to hold one.
std::optional<int32_t> subOf(Message& request) {
    const size_t size = subIsInt(request.commandId()) ? 4 : 1;
    if (request.data().size() < size) return std::nullopt;
    const int32_t sub = size == 4 ? request.readInt() : request.readByte();
    request.setIdx(0);
    return sub;
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

StubCommands::StubCommands(PortalServer& portal, std::function<bool()> signedIn, std::function<int()> gameType)
    : portal_(portal), signedIn_(std::move(signedIn)), gameType_(std::move(gameType)) {
    portal_.admitOnly([this](const Message& request) {
        if (admits(request.commandId())) return true;
        platform::log("command " + std::to_string(request.commandId()) + " before a sign-in: dropped");
        return false;
    });
    portal_.onAnyCommand([this](Message& request, PortalServer::Reply& reply) { dispatch(request, reply); });
}

bool StubCommands::add(const std::vector<StubCommand>& table) {
    std::lock_guard lock(mutex_);
    bool added = true;
    for (const StubCommand& row : table) {
        if (!rows_.emplace(Key{row.command, row.sub, row.game}, row.handler).second) {
            platform::log("portal-stub: a second row for command " + std::to_string(row.command) + ", " +
                          subText(row.sub) + ", " + gameText(row.game) + " is refused");
            added = false;
            continue;
        }
        if (row.beforeSignIn) beforeSignIn_.insert(row.command);
        if (row.sub != StubCommand::kEverySub) withSubs_.insert(row.command);
        answered_.insert(row.command);
    }
    return added;
}

bool StubCommands::admits(int16_t command) const {
    if (signedIn_()) return true;
    std::lock_guard lock(mutex_);
    return beforeSignIn_.count(command) > 0;
}

StubCommands::Rows::const_iterator StubCommands::rowFor(Message& request, int game, std::optional<int32_t>& sub) const {
    const int16_t command = request.commandId();
    if (withSubs_.count(command)) sub = subOf(request);
    for (const int32_t wanted : {sub.value_or(StubCommand::kEverySub), StubCommand::kEverySub})
        for (const int at : {game, StubCommand::kAnyGame})
            if (auto row = rows_.find({command, wanted, at}); row != rows_.end()) return row;
    return rows_.end();
}

void StubCommands::dispatch(Message& request, PortalServer::Reply& reply) {
    const int16_t command = request.commandId();
    const int game = gameType_();
    PortalServer::Handler handler;
    std::optional<int32_t> sub;
    bool reached = false;
    bool known = false;
    {
        std::lock_guard lock(mutex_);
        const auto row = rowFor(request, game, sub);
        reached = row != rows_.end();
        if (reached) handler = row->second;
        known = answered_.count(command) > 0;
    }
    if (handler) return handler(request, reply);
    // A request no handler answers may carry a password (a password change, a
    // registration): only its id and size are logged.
    if (reached || !known)
        return platform::log("command " + std::to_string(command) + ", " + std::to_string(request.data().size()) +
                             " bytes");
    platform::log("command " + std::to_string(command) + (sub ? " " + subText(*sub) : std::string()) + " at " +
                  gameText(game) + ": not answered");
}

} // namespace portalstub
