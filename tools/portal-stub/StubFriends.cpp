#include "tools/portal-stub/StubFriends.h"

#include "platform/runtime/Log.h"

namespace portalstub {

void installFriends(kavo::test::TestPortal& portal) {
    constexpr int8_t kFriendList = 5;
    portal.onCommand(104, [](kavo::Message& request, kavo::test::TestPortal::Reply& reply) {
        const int8_t sub = request.readByte();
        if (sub != kFriendList) {
            platform::log("friends request, sub " + std::to_string(sub));
            return;
        }
        kavo::Message list(104);
        list.writeByte(kFriendList);
        reply.send(list);
    });
}

} // namespace portalstub
