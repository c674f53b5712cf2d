#include "tools/portal-stub/StubNotices.h"

#include "tools/portal-stub/StubLanguage.h"

namespace portalstub {

std::vector<StubCommand> noticeCommands() {
    const auto onClientLanguage = [](kavo::Message& request, portalserver::PortalServer::Reply& reply) {
        setClientLanguage(request.readUTF());
        kavo::Message notice(46);
        notice.writeUTF(say("Sự kiện: nhân đôi Zel cho mọi ván thắng cuối tuần này!",
                            "Event: double Zel for every win this weekend!"));
        reply.send(notice);
    };
    return {{2800, StubCommand::kEverySub, onClientLanguage, true}};
}

} // namespace portalstub
