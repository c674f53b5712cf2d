#include "tools/portal-stub/StubNotices.h"

namespace portalstub {

void installNotices(kavo::test::TestPortal& portal) {
    portal.onCommand(2800, [](kavo::Message&, kavo::test::TestPortal::Reply& reply) {
        kavo::Message notice(46);
        notice.writeUTF(
            "Sự kiện: nhân đôi Zel cho mọi ván thắng cuối tuần này! Double Zel for every win this weekend!");
        reply.send(notice);
    });
}

} // namespace portalstub
