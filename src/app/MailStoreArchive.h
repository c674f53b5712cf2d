#pragma once

#include "platform/foundation/Value.h"
#include "portal/model/KavoMessage.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace kavo {

// The mailbox's last archive and where each of its mails lies in it, so that the next
// archive copies the records of the mails that did not change instead of encoding them
// again: a sign-in with a large stored mailbox takes a few new mails and saves at once,
// and encoding 100,000 mails anew was most of its time.
//
// A mail's texts, sender, type and time never change once it arrived; only its flags
// (read, seen, ...) do, on the main thread. So a save takes a snapshot there (the mails
// and their flags) and archives it on any thread: a mail counts as unchanged while it is
// the same object with the flags its record holds. Safe from any thread.
class MailStoreArchive {
public:
    using List = std::deque<std::shared_ptr<KavoMessage>>;

    // The list as a save takes it, where the flags are set.
    struct Snapshot {
        KavoMessageList mails;
        std::vector<uint8_t> flags;
    };
    static Snapshot snapshot(const List& list);

    // Reads a stored archive and keeps it as the base of the next one. Nullopt, and no
    // base, when the value is not an archive of mails.
    std::optional<KavoMessageList> restore(const platform::Value& stored);
    // The archive of the snapshot's mails (newest first) as KavoMessage::archiveList makes
    // it; it becomes the base of the next one (shared with the value returned, not copied).
    platform::Value archive(Snapshot snapshot);

private:
    // The record of the base's mail `index`.
    std::string_view recordAt(size_t index) const;
    void clearLocked();
    // Takes `bytes` as the base, with its mails, their flags and where their records begin.
    void keepLocked(platform::Value bytes, Snapshot mails, std::vector<uint32_t> offsets);

    std::mutex mutex_;
    platform::Value bytes_;
    // The base's mails in their order, the flags each one's record holds and where it
    // begins (the records lie back to back).
    Snapshot base_;
    std::vector<uint32_t> offsets_;
};

} // namespace kavo
