#include "tools/portal-stub/StubCommands.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <iterator>
#include <optional>

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

} // namespace

StubCommands::StubCommands(PortalServer& portal, std::function<bool()> signedIn)
    : portal_(portal), signedIn_(std::move(signedIn)) {
    portal_.admitOnly([this](const Message& request) {
        if (admits(request.commandId())) return true;
        platform::log("command " + std::to_string(request.commandId()) + " before a sign-in: dropped");
        return false;
    });
}

void StubCommands::add(const std::vector<StubCommand>& table) {
    std::lock_guard lock(mutex_);
    for (const StubCommand& row : table) {
        if (row.beforeSignIn) beforeSignIn_.insert(row.command);
        if (!row.handler) continue;
        Answers& answers = answers_[row.command];
        if (row.sub == StubCommand::kEverySub)
            answers.other = row.handler;
        else
            answers.bySub[row.sub] = row.handler;
        portal_.onCommand(row.command, [this, command = row.command](Message& request, PortalServer::Reply& reply) {
            dispatch(command, request, reply);
        });
    }
}

bool StubCommands::admits(int16_t command) const {
    if (signedIn_()) return true;
    std::lock_guard lock(mutex_);
    return beforeSignIn_.count(command) > 0;
}

void StubCommands::dispatch(int16_t command, Message& request, PortalServer::Reply& reply) {
    PortalServer::Handler handler;
    std::optional<int32_t> sub;
    {
        std::lock_guard lock(mutex_);
        const Answers& answers = answers_[command];
        if (!answers.bySub.empty()) sub = subOf(request);
        const auto found = sub ? answers.bySub.find(*sub) : answers.bySub.end();
        handler = found != answers.bySub.end() ? found->second : answers.other;
    }
    if (handler) return handler(request, reply);
    platform::log("command " + std::to_string(command) +
                  (sub ? " sub " + std::to_string(*sub) : std::string(" without its sub")) + ": not answered");
}

} // namespace portalstub
