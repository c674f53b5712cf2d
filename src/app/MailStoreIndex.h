#pragma once

#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kavo {

// The identities (type, server time, sender id and name, text) of a list's mails, so that
// a mail delivered again is found without walking the list, and how many mails of each
// type it holds. Chat lines carry no server time (0): they have no identity, are never
// counted and never found.
//
// It holds keys, not mails: a 64-bit key of each counted mail's identity, in one
// open-addressed table (eight bytes a counted mail), so that counting a stored mailbox of
// 100,000 mails is a pass over its texts and a store into an array, with no allocation per
// mail, and a mail sent again costs a look at its own key, whatever the length of the list,
// without reading any listed mail. Two identities share a key with odds of one in 2^64 a
// pair, far below anything else that loses a mail.
//
// Nothing in it leads to a mail, so nothing that happens to a mail or to its list can make
// it read one that is gone. A mail keeps the key it was last counted under (its counted key)
// and its removal uncounts that key, whatever the mail became since: one whose server time
// went to 0 or whose text changed leaves nothing of what it was behind. It is kept up to date
// with each mail added or removed, so no lookup ever indexes a whole list again. Not
// thread-safe: its owner guards it, and the counted keys of the mails it counts.
class MailStoreIndex {
public:
    // The key of the identity `message` has now; never 0 or 1, which mark the table's empty
    // and removed places.
    static uint64_t identityKey(const KavoMessage& message);
    // The key `message` was last counted under (0 when it never was).
    static uint64_t countedKey(const KavoMessage& message) { return message.countedKey_.value; }

    // Room for that many counted mails without growing.
    void reserve(size_t mails);
    // Counts `message` under the key of its identity now, which it keeps for its removal.
    void add(KavoMessage& message);
    // Uncounts one mail of the key `message` was counted under: the copies of an identity are
    // alike.
    void remove(const KavoMessage& message);
    // True when a counted mail has the identity of `message`.
    bool contains(const KavoMessage& message) const { return copies(message) > 0; }
    // How many counted mails have the identity of `message`.
    size_t copies(const KavoMessage& message) const;
    // How many counted mails are of that type (chat lines too), so that a look for a kind
    // of mail the list does not hold costs nothing.
    size_t countOfType(int32_t type) const;
    void clear();

private:
    static constexpr uint64_t kEmpty = 0;
    static constexpr uint64_t kRemoved = 1;
    size_t mask() const { return slots_.size() - 1; }
    // Makes the table `capacity` places (a power of two) and puts the counted keys back.
    void rehash(size_t capacity);
    void insert(uint64_t key);

    std::vector<uint64_t> slots_;
    // Counted keys, and counted keys plus removed marks (what lengthens a probe).
    size_t keys_ = 0;
    size_t used_ = 0;
    // Type -> how many counted mails have it; a mailbox holds a handful of types.
    std::vector<std::pair<int32_t, size_t>> types_;
};

} // namespace kavo
