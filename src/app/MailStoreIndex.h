#pragma once

#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace kavo {

// The identities (type, server time, sender id and name, text) of a list's mails, so that
// a mail delivered again is found without walking the list, and how many mails of each
// type it holds. Chat lines carry no server time (0): they have no identity, are never
// counted and never found.
//
// It holds, for each counted mail, the mail itself beside a 64-bit key of its identity: a
// key's match is confirmed against that mail, so a mail sent again costs a look at its own
// copies, whatever the length of the list. The slots lie in one open-addressed table (a
// slot per counted mail), so that counting a stored mailbox of 100,000 mails is a pass over
// its texts and a store into an array, with no allocation per mail. It is kept up to date
// with each mail added or removed, so no lookup ever indexes a whole list again. A counted
// mail must stay alive, and counted, until it is removed. Not thread-safe: its owner guards
// it.
class MailStoreIndex {
public:
    static uint64_t identityKey(const KavoMessage& message);
    static bool sameIdentity(const KavoMessage& a, const KavoMessage& b);

    // Room for that many counted mails without growing.
    void reserve(size_t mails);
    void add(const KavoMessage& message);
    // Uncounts that very mail (not another one of its identity).
    void remove(const KavoMessage& message);
    // True when a counted mail has the identity of `message`.
    bool contains(const KavoMessage& message) const;
    // Calls `each` with every counted mail that has the identity of `message`.
    void forEachCopy(const KavoMessage& message, const std::function<void(const KavoMessage&)>& each) const;
    // How many counted mails are of that type (chat lines too), so that a look for a kind
    // of mail the list does not hold costs nothing.
    size_t countOfType(int32_t type) const;
    void clear();

private:
    // An empty slot has no mail; a removed one keeps its key (a probe goes on past it) and
    // has no mail either.
    struct Slot {
        uint64_t key = kEmpty;
        const KavoMessage* mail = nullptr;
    };
    static constexpr uint64_t kEmpty = 0;
    static constexpr uint64_t kRemoved = 1;
    // Keys never take the values of the two marks.
    static uint64_t slotKey(const KavoMessage& message);
    size_t mask() const { return slots_.size() - 1; }
    // Makes the table `capacity` slots (a power of two) and puts the counted mails back.
    void rehash(size_t capacity);
    void insert(Slot slot);
    // Calls `found` with each counted mail of that identity until it returns true.
    template <typename Found> void findCopies(const KavoMessage& message, Found found) const;

    std::vector<Slot> slots_;
    // Counted mails, and counted mails plus removed marks (what lengthens a probe).
    size_t keys_ = 0;
    size_t used_ = 0;
    // Type -> how many counted mails have it; a mailbox holds a handful of types.
    std::vector<std::pair<int32_t, size_t>> types_;
};

} // namespace kavo
