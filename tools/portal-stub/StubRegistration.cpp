#include "tools/portal-stub/StubRegistration.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubRoster.h"

namespace portalstub {

using kavo::Message;
using kavo::test::TestPortal;

namespace {

// A name nobody may take: blank, locked, or a stub player's.
bool reserved(const std::string& name) {
    return name.find_first_not_of(" \t") == std::string::npos || name == StubPortal::kBannedUser ||
           stubPlayerNamed(name) != nullptr;
}

} // namespace

void StubRegistration::install(TestPortal& portal) {
    // The password is not logged; the stub signs in any password anyway.
    portal.onCommand(35, [](Message& request, TestPortal::Reply& reply) {
        const std::string name = request.readUTF();
        const bool opened = !reserved(name) && StubLedger::open(name);
        platform::log("registration of \"" + name + "\": " + (opened ? "opened" : "taken"));
        Message answer(35);
        answer.writeUTF(name);
        answer.writeBool(opened);
        answer.writeUTF(opened ? kRegisterPrefix + name : "");
        answer.writeUTF(opened ? kSmsNumber : "");
        reply.send(answer);
    });
    // Key 1: the text message of a password recovery.
    portal.onCommand(73, [](Message& request, TestPortal::Reply& reply) {
        const int8_t key = request.readByte();
        platform::log("text message syntax " + std::to_string(key));
        if (key != 1) return;
        Message answer(73);
        answer.writeByte(key);
        answer.writeUTF(kRecoverySyntax);
        answer.writeUTF(kSmsNumber);
        reply.send(answer);
    });
}

} // namespace portalstub
