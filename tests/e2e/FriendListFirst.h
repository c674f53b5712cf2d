#pragma once

// A friend list (reply 104, sub 5) sent just ahead of a join reply, both before the main
// thread turns again: the reader has read the join before the list's main-thread twin
// has run, so only flags looked up in the join's own twin can see the new list.
#include "tests/e2e/ReaderCaughtUp.h"
#include "tests/support/Bytes.h"

#include <string>
#include <vector>

namespace kavo::test {

inline Message friendListOf(const std::vector<int32_t>& ids) {
    Bytes body = Bytes().byte(5);
    for (int32_t id : ids)
        body.int32(id).utf("ban " + std::to_string(id)).int64(10).int16(1).byte(0).utf("");
    return body.message(104);
}

// Sends the list, then the join, and waits until the reader has read both; the caller
// turns the main loop afterwards.
template <class Portal>
bool sendFriendsThenJoin(Portal& portal, const std::vector<int32_t>& friends, const Message& join) {
    return portal.sendToClient(friendListOf(friends)) && portal.sendToClient(join) && readerHasRead(portal);
}

} // namespace kavo::test
