#include "tools/portal-stub/StubRegistration.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNameBook.h"
#include "tools/portal-stub/StubNames.h"

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// What became of a registration refused with a reason, as the log says it.
const char* outcomeOf(StubNameBook::Kind kind) {
    switch (kind) {
    case StubNameBook::Kind::Alike:
        return "reads like another name";
    case StubNameBook::Kind::Failed:
        return "failed";
    default:
        return "not valid";
    }
}

// The answer (35): the name as its account is kept, whether it is now an account, and the
// text message that confirms it. A name that is someone's already (a person's, a stub
// player's, "banned") is answered as taken; a refusal that says why (a name not valid, one
// that reads like another player's, the accounts busy) does not repeat the name.
void onRegister(Message& request, PortalServer::Reply& reply) {
    // The password is not logged; the stub signs in any password anyway.
    const std::string name = request.readUTF();
    const auto found =
        readableName(name) ? StubNameBook::claim(name) : StubNameBook::Found{StubNameBook::Kind::NotValid, ""};
    const bool opened = found.kind == StubNameBook::Kind::Person && StubLedger::open(found.name);
    const std::string refusal = StubNameBook::refusal(found);
    platform::log("registration of \"" + shortenedName(name) + "\": " +
                  (opened            ? "opened"
                   : refusal.empty() ? "taken"
                                     : outcomeOf(found.kind)));
    Message answer(35);
    answer.writeUTF(refusal.empty() ? found.name : "");
    answer.writeBool(opened);
    answer.writeUTF(opened ? StubRegistration::kRegisterPrefix + found.name : refusal);
    answer.writeUTF(opened ? StubRegistration::kSmsNumber : "");
    reply.send(answer);
}

// 73 key 1: the text message of a password recovery.
void onRecovery(Message&, PortalServer::Reply& reply) {
    platform::log("text message syntax of a password recovery");
    Message answer(73);
    answer.writeByte(1);
    answer.writeUTF(StubRegistration::kRecoverySyntax);
    answer.writeUTF(StubRegistration::kSmsNumber);
    reply.send(answer);
}

} // namespace

std::vector<StubCommand> StubRegistration::commands() {
    return {{35, StubCommand::kEverySub, onRegister, true}, {73, 1, onRecovery, true}};
}

std::string StubRegistration::notValid() {
    return say("Tên đăng nhập không hợp lệ", "The user name is not valid");
}

} // namespace portalstub
