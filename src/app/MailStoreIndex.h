#pragma once

#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <unordered_map>

namespace kavo {

// How many mails of a list have each identity (type, server time, sender id and name,
// text), so that a mail delivered again is found without walking the list, and how many
// have each type. Chat lines
// carry no server time (0): they have no identity, are never counted and never found.
//
// It counts hashes: a match says that a listed mail may be the same, which the owner
// confirms with sameIdentity. It is kept up to date with each mail added or removed, so
// no lookup ever indexes a whole list again. Not thread-safe: its owner guards it.
class MailStoreIndex {
public:
    static size_t identityHash(const KavoMessage& message);
    static bool sameIdentity(const KavoMessage& a, const KavoMessage& b);

    void reserve(size_t mails) { counts_.reserve(mails); }
    void add(const KavoMessage& message);
    void remove(const KavoMessage& message);
    // False when no counted mail has that identity.
    bool mayContain(const KavoMessage& message) const;
    // How many counted mails are of that type (chat lines too), so that a look for a kind
    // of mail the list does not hold costs nothing.
    size_t countOfType(int32_t type) const;
    void clear() {
        counts_.clear();
        types_.clear();
    }

private:
    // Identity hash -> how many counted mails have it.
    std::unordered_map<size_t, int> counts_;
    // Type -> how many counted mails have it.
    std::unordered_map<int32_t, size_t> types_;
};

} // namespace kavo
