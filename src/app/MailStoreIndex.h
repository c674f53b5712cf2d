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
// It keeps a 64-bit key of each identity: a match says that a listed mail may be the same,
// which the owner confirms with sameIdentity. The keys lie in one open-addressed table (a
// key per counted mail, a mail delivered twice twice), so that counting a stored mailbox
// of 100,000 mails is a pass over its texts and a store into an array, with no allocation
// per mail. It is kept up to date with each mail added or removed, so no lookup ever
// indexes a whole list again. Not thread-safe: its owner guards it.
class MailStoreIndex {
public:
    static uint64_t identityKey(const KavoMessage& message);
    static bool sameIdentity(const KavoMessage& a, const KavoMessage& b);

    // Room for that many counted mails without growing.
    void reserve(size_t mails);
    void add(const KavoMessage& message);
    void remove(const KavoMessage& message);
    // False when no counted mail has that identity.
    bool mayContain(const KavoMessage& message) const;
    // How many counted mails are of that type (chat lines too), so that a look for a kind
    // of mail the list does not hold costs nothing.
    size_t countOfType(int32_t type) const;
    void clear();

private:
    // A slot holds a key, or one of these two.
    static constexpr uint64_t kEmpty = 0;
    static constexpr uint64_t kRemoved = 1;
    // Keys never take the values of the two marks.
    static uint64_t slotKey(const KavoMessage& message);
    size_t mask() const { return slots_.size() - 1; }
    // Makes the table `capacity` slots (a power of two) and puts the keys back.
    void rehash(size_t capacity);
    void insertKey(uint64_t key);

    std::vector<uint64_t> slots_;
    // Keys, and keys plus removed marks (what lengthens a probe).
    size_t keys_ = 0;
    size_t used_ = 0;
    // Type -> how many counted mails have it; a mailbox holds a handful of types.
    std::vector<std::pair<int32_t, size_t>> types_;
};

} // namespace kavo
