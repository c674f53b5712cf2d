#pragma once

#include <string>

namespace kavo {

// The first step of a friend request by name, shared by every screen that offers one:
// the name is remembered under "REQUEST_ADD_FRIEND" (written at once) and searched
// (command 36); the logic handler asks for the exact match when the answer comes.
class FriendSearch {
public:
    static constexpr const char* kRequestKey = "REQUEST_ADD_FRIEND";
    static void requestByName(const std::string& name);
    // The OK dialog of an add-friend result: 0 added, 2 too many friends, anything else
    // already a friend. OK after "added" runs `addedAction` (a chat panel reloads the
    // friend list; the server's answer and the mailbox do nothing more); the other two
    // never act.
    static void showResult(int result, int addedAction);
};

} // namespace kavo
