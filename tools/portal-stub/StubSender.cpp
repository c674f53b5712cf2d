#include "tools/portal-stub/StubSender.h"

#include "tools/portal-server/PortalServer.h"

namespace portalstub {

bool StubSender::send(const kavo::Message& message) {
    return portal_.sendToClient(message);
}

bool StubSender::clientHere() const {
    return portal_.isClientConnected();
}

uint64_t StubSender::lastSentByThisThread() const {
    return portal_.lastSentByThisThread();
}

} // namespace portalstub
