#pragma once

#include "app/MailStoreIndex.h"
#include "app/MailStoreReadMarks.h"
#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

namespace kavo {

// A player's stored mailbox and read marks, made ready for the sign-in: read from the user
// defaults, decoded, checked, unarchived and indexed by read(), on whichever thread handles
// the sign-in reply (the connection's reader), away from the screens. The main thread then
// only takes it in whole (MailStore::restore), so a mailbox of 100,000 mails costs it no
// more than a few thousand.
//
// read() builds it on its own and hands it back finished; after that it is only moved, so
// no thread sees it while it is built. It touches nothing that a screen reads.
class StoredMailbox {
public:
    // The mailbox of `iddb` as stored now; an absent or unreadable stored value counts as
    // an empty mailbox.
    static StoredMailbox read(int32_t iddb);

    StoredMailbox() = default;
    StoredMailbox(StoredMailbox&&) = default;
    StoredMailbox& operator=(StoredMailbox&&) = default;
    // A copy of 100,000 mails is never wanted.
    StoredMailbox(const StoredMailbox&) = delete;
    StoredMailbox& operator=(const StoredMailbox&) = delete;

    int32_t owner() const { return owner_; }
    size_t count() const { return mails_.size(); }

private:
    friend class MailStore;

    int32_t owner_ = 0;
    // Newest first, as stored.
    std::deque<std::shared_ptr<KavoMessage>> mails_;
    MailStoreIndex index_;
    MailStoreReadMarks read_;
    // How many stored mails a newer batch may replace: notices (kTypeLatestOnly) and
    // friend requests.
    size_t notices_ = 0;
    size_t friendRequests_ = 0;
};

} // namespace kavo
