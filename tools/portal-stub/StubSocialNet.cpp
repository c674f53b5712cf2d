#include "tools/portal-stub/StubSocialNet.h"

#include "net/Message.h"
#include "platform/runtime/Log.h"
#include "tests/support/TestPortal.h"
#include "tools/portal-stub/StubHttp.h"
#include "tools/portal-stub/StubPortal.h"

namespace portalstub {

using kavo::Message;
using kavo::test::TestPortal;

std::string StubSocialNet::issueToken() {
    std::string token = "stub-" + std::to_string(next_++);
    std::lock_guard lock(mutex_);
    issued_.insert(token);
    return token;
}

int StubSocialNet::numberOf(const std::string& token) {
    std::lock_guard lock(mutex_);
    if (!issued_.count(token)) return -1;
    return std::stoi(token.substr(5));
}

void StubSocialNet::install(StubHttp& http, TestPortal& portal) {
    http.setRedirect("/dialog/oauth",
                     [this] { return "snconnect://success#access_token=" + issueToken() + "&expires_in=3600"; });
    portal.onCommand(2301, [this](Message& request, TestPortal::Reply& reply) {
        const std::string token = request.readUTF();
        const int n = numberOf(token);
        // The token is a credential: its length only.
        platform::log("social sign-in with a token of " + std::to_string(token.size()) + " characters" +
                      (n < 0 ? " (unknown)" : ""));
        if (n < 0) {
            reply.send(Message(2302));
            return;
        }
        const std::string name = "sn" + std::to_string(n);
        Message signedIn(3);
        signedIn.writeInt(StubPortal::playerIdOf(name));
        signedIn.writeLong(1000000);
        signedIn.writeShort(1);
        signedIn.writeInt(2500);
        reply.send(signedIn);
        Message named(2306);
        named.writeInt(StubPortal::playerIdOf(name));
        named.writeUTF(name);
        reply.send(named);
    });
}

} // namespace portalstub
