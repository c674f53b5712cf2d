#pragma once

#include "app/MailStoreIndex.h"
#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <deque>
#include <memory>

namespace kavo {

// The mails a player has read that carry a server time, newest first: the newest kKept
// are remembered (and stored under a key of their own), so that the server sending one
// again, now or at a later sign-in, does not list it anew. Not thread-safe: its owner
// guards it.
class MailStoreReadMarks {
public:
    static constexpr size_t kKept = 500;

    // The marks stored as `archive` (oldest last), as they were remembered; an archive
    // that cannot be read counts as none.
    static MailStoreReadMarks fromArchive(const platform::Bytes& archive);

    bool contains(const KavoMessage& message) const;
    // To the front, unless it has no server time or is remembered already; the oldest
    // goes past kKept.
    void remember(const std::shared_ptr<KavoMessage>& message);
    KavoMessageList list() const { return KavoMessageList(mails_.begin(), mails_.end()); }
    void clear();

private:
    std::deque<std::shared_ptr<KavoMessage>> mails_;
    MailStoreIndex index_;
};

} // namespace kavo
