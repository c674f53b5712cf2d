#pragma once

// The mails the benchmarks store as a player's mailbox, so that the mail and launch
// benchmarks read back the same archive.

#include "portal/model/KavoMessage.h"

#include <memory>
#include <string>

namespace kavo::bench {

// Mail `i` of a stored mailbox: the list's front (its newest) is 0.
inline std::shared_ptr<KavoMessage> storedMail(int i) {
    auto m = std::make_shared<KavoMessage>();
    m->setType(1);
    m->setTime(1'700'000'000'000LL + i);
    m->setFromID(500 + i % 50);
    m->setFromName("nguoigui" + std::to_string(i % 50));
    m->setMessage("Thu so " + std::to_string(i) + ": chuc ban mot ngay vui ve va nhieu may man");
    return m;
}

// Mails `first` to `first + count - 1`, in list order.
inline KavoMessageList storedMails(int first, int count) {
    KavoMessageList mails;
    mails.reserve(size_t(count));
    for (int i = first; i < first + count; ++i)
        mails.push_back(storedMail(i));
    return mails;
}

} // namespace kavo::bench
