#pragma once

#include "app/MailStoreIndex.h"
#include "app/MailStoreReadMarks.h"
#include "platform/foundation/Value.h"
#include "portal/model/KavoMessage.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kavo {

// A player's stored mailbox and read marks, made ready for the sign-in: decoded, checked,
// unarchived and indexed by read() on whichever thread reads it (the mailbox's read-ahead
// thread, or the connection's reader), away from the screens. The main thread then only
// takes it in whole (MailStore::restore), so a mailbox of 100,000 mails costs it no more
// than a few thousand.
//
// It is read from a copy of what is stored (Copy), which MailStore hands out in order with
// its own saves: the copy knows how many times its player's list was saved before it was
// taken, so a restore can tell a list read before a later save (which it does not take)
// from a current one. read() builds the mailbox on its own and hands it back finished;
// after that it is only moved, so no thread sees it while it is built. It touches nothing
// that a screen reads.
class StoredMailbox {
public:
    // What is stored for one player at one moment: the stored values share their text with
    // the user defaults, so taking a copy costs nothing however large the mailbox.
    struct Copy {
        int32_t owner = 0;
        platform::Value mails;
        platform::Value marks;
        // How many times the owner's list had been saved when the copy was taken.
        uint64_t saves = 0;
        // The owner's list was the one in memory (he is signed in): nothing stored is
        // newer than it, so nothing is copied or read.
        bool inMemory = false;
    };

    // Decodes, checks, unarchives and counts a copy on the calling thread; an absent or
    // unreadable stored value counts as an empty mailbox. A read that `dropped` says nobody
    // will take stops where it is (between its steps, and every kDropLook mails of its
    // decode), frees what it made and leaves the mailbox empty.
    static StoredMailbox read(Copy copy, const std::atomic<bool>* dropped = nullptr);
    // How many mails a read decodes between two looks at whether it was dropped: a look costs
    // nothing beside a thousand mails' decode, and a dropped read of 100,000 stops within it.
    static constexpr size_t kDropLook = 1000;
    // The same, of the copy MailStore gives out now.
    static StoredMailbox read(int32_t iddb);
    // Frees a mailbox nobody takes in (read for another player, or what a restore let go)
    // on the calling thread, and gives the memory of a large one back to the system: freed
    // on a thread of its own, it would stay in that thread's heap, which the main thread
    // never allocates from.
    static void discard(StoredMailbox&& mailbox);

    // The moments a read or a discard tells the tests' hook, on the thread it runs on, with a
    // count of mails.
    enum class TestMoment {
        // A read looks whether it was dropped, that many mails decoded (every kDropLook).
        Decoding,
        // A discarded mailbox of that many mails was freed and its memory given back.
        GivenBack,
    };
    // Null outside tests. A hook may hold the thread that calls it.
    static void setTestHook(std::function<void(TestMoment, size_t mails)> hook);

    StoredMailbox() = default;
    StoredMailbox(StoredMailbox&&) = default;
    StoredMailbox& operator=(StoredMailbox&&) = default;
    // A copy of 100,000 mails is never wanted.
    StoredMailbox(const StoredMailbox&) = delete;
    StoredMailbox& operator=(const StoredMailbox&) = delete;

    int32_t owner() const { return owner_; }
    size_t count() const { return mails_.size(); }
    // True when nothing was read, the owner's list being in memory.
    bool inMemory() const { return inMemory_; }

private:
    friend class MailStore;

    int32_t owner_ = 0;
    uint64_t saves_ = 0;
    bool inMemory_ = false;
    // Newest first, as stored.
    std::deque<std::shared_ptr<KavoMessage>> mails_;
    // The mails as read, in stored order, with the flags they were stored with (nobody
    // changes them before the restore): the save that follows the restore archives these,
    // less the ones it leaves out, on the defaults' writer thread, so that the main thread
    // does not copy the whole list for it. Shared with that save, which reads them only.
    struct AsRead {
        std::deque<std::shared_ptr<KavoMessage>> mails;
        std::vector<uint8_t> flags;
    };
    // None when nothing was read.
    std::shared_ptr<AsRead> asRead_;
    MailStoreIndex index_;
    MailStoreReadMarks read_;
    // How many stored mails a newer batch may replace: notices (kTypeLatestOnly) and
    // friend requests.
    size_t notices_ = 0;
    size_t friendRequests_ = 0;
};

} // namespace kavo
