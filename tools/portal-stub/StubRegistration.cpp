#include "tools/portal-stub/StubRegistration.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubRoster.h"

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// A name no account may have: one a person cannot read as the name it is (StubNames: one
// that reads as blank, holds a control, format or invisible character, or is longer than
// the name fields show).
bool invalidName(const std::string& name) {
    return !readableName(name);
}

// A name someone has: locked, or a stub player's.
bool reserved(const std::string& name) {
    return name == StubPortal::kBannedUser || stubPlayerNamed(name) != nullptr;
}

// The answer (35): the name, whether it is now an account, and the text message that
// confirms it (a refusal's text says why a name is not valid, and does not repeat it).
void onRegister(Message& request, PortalServer::Reply& reply) {
    // The password is not logged; the stub signs in any password anyway.
    const std::string name = request.readUTF();
    const bool valid = !invalidName(name);
    const bool opened = valid && !reserved(name) && StubLedger::open(name);
    platform::log("registration of \"" + shortenedName(name) + "\": " +
                  (opened  ? "opened"
                   : valid ? "taken"
                           : "not valid"));
    Message answer(35);
    answer.writeUTF(valid ? name : "");
    answer.writeBool(opened);
    answer.writeUTF(opened ? StubRegistration::kRegisterPrefix + name : valid ? "" : StubRegistration::notValid());
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
