#pragma once

#include "platform/foundation/Value.h"
#include "portal/model/KavoMessage.h"

#include <cstdint>
#include <deque>
#include <memory>
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
// (read, seen, ...) do, so a mail counts as unchanged while it is the same object with the
// flags its record holds. Not thread-safe: MailStore's lock guards it.
class MailStoreArchive {
public:
    using List = std::deque<std::shared_ptr<KavoMessage>>;

    // Reads a stored archive and keeps it as the base of the next one. Nullopt, and no
    // base, when the value is not an archive of mails.
    std::optional<KavoMessageList> restore(const platform::Value& stored);
    // The archive of `list` (newest first) as KavoMessage::archiveList makes it; it becomes
    // the base of the next one (shared with the value returned, not copied).
    platform::Value archive(const List& list);
    // Forgets the base.
    void clear();

private:
    static uint8_t flagsOf(const KavoMessage& message);
    // The record of the base's mail `index`.
    std::string_view recordAt(size_t index) const;
    // Takes `bytes` as the base, with its mails and where their records begin.
    void keep(platform::Value bytes, KavoMessageList messages, std::vector<uint32_t> offsets);

    platform::Value bytes_;
    // The base's mails in their order, where each one's record begins (the records lie
    // back to back) and the flags it holds.
    KavoMessageList messages_;
    std::vector<uint32_t> offsets_;
    std::vector<uint8_t> flags_;
};

} // namespace kavo
