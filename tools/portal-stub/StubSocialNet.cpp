#include "tools/portal-stub/StubSocialNet.h"

#include "net/Message.h"
#include "platform/runtime/Log.h"
#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubHttp.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNameBook.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubProfile.h"

#include <cstdio>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

std::string StubSocialNet::tagOf(int n) const {
    uint64_t hash = 14695981039346656037ull ^ secret_;
    for (char c : std::to_string(n))
        hash = (hash ^ uint8_t(c)) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string StubSocialNet::issueToken() {
    const int n = next_++;
    return "stub-" + std::to_string(n) + "-" + tagOf(n);
}

int StubSocialNet::numberOf(const std::string& token) const {
    // "stub-", 1 to 9 digits, "-", the tag.
    if (token.compare(0, 5, "stub-") != 0) return -1;
    size_t i = 5;
    int n = 0;
    while (i < token.size() && i < 14 && token[i] >= '0' && token[i] <= '9')
        n = n * 10 + (token[i++] - '0');
    if (i == 5 || i >= token.size() || token[i] != '-') return -1;
    if (token.compare(i + 1, std::string::npos, tagOf(n)) != 0) return -1;
    return n;
}

void StubSocialNet::installPages(StubHttp& http) {
    http.setRedirect("/dialog/oauth",
                     [this] { return "snconnect://success#access_token=" + issueToken() + "&expires_in=3600"; });
}

StubCommand StubSocialNet::signInCommand() {
    return signIn({2301, StubCommand::kEverySub, answeredBy(this, &StubSocialNet::onSignIn), true});
}

void StubSocialNet::onSignIn(Message& request, PortalServer::Reply& reply) {
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
    // Its own name, which the stub gives: no name that reads like it opens an account.
    StubNameBook::enter(name);
    Message signedIn(3);
    signedIn.writeInt(StubPortal::playerIdOf(name));
    signedIn.writeLong(StubLedger::session().signIn(name));
    signedIn.writeShort(StubProfile::avatarOf(name));
    signedIn.writeInt(2500);
    reply.send(signedIn);
    Message named(2306);
    named.writeInt(StubPortal::playerIdOf(name));
    named.writeUTF(name);
    reply.send(named);
}

} // namespace portalstub
