#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <memory>

namespace kavo {

// The bars above the recent conversations: friend invitations, administrator messages
// and system messages, each only while its count is above zero, with its count on a
// badge. Main thread only.
class MessageHeaderView {
public:
    struct Counts {
        int invites = 0;
        int admin = 0;
        int system = 0;
    };
    // The header's height in the table: one bar height per count above zero.
    static double height(const Counts& counts);
    // The bars; `onInvites` opens the invitations, `onMessages` the administrator (tag
    // 1) or system (tag 0) messages. `width` is the table's.
    static std::shared_ptr<platform::ui::View> make(const Counts& counts, double width, std::function<void()> onInvites,
                                                    std::function<void(int tag)> onMessages);
};

} // namespace kavo
