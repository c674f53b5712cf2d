#pragma once

#include "app/MailStoreIndex.h"
#include "app/MailStoreReadMarks.h"
#include "app/StoredMailbox.h"
#include "platform/foundation/Value.h"
#include "portal/model/KavoMessage.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace kavo {

// The app-wide mailbox list (newest first) and its stored copy in the user defaults.
//
// A server may send thousands of mails in a few seconds, so nothing here costs the
// whole list per message: the list is a deque (a new mail goes to the front in
// constant time), duplicates are found through an index of the keys of the mails'
// identities (MailStoreIndex), kept up to date as mail comes and goes, and saving is
// coalesced. A change is saved at once when the last save is at least kSaveInterval old,
// else once when that interval is over (a timer on the main run loop); flush() saves what
// is pending at once (sign-out, exit, a stop signal).
//
// The list belongs to one signed-in player (see UIController): it is saved only under
// that player's key and only while that player is the one signed in.
//
// Every method is safe from any thread; the saving timer runs on the main thread. The
// screens read the list, so it changes on the main thread, and so do the mails' flags
// (under the lock, as a save reads them): the sign-in's stored mailbox is read and indexed
// off the main thread (StoredMailbox, read ahead by MailboxReadAhead or on the reader
// thread) and only taken in here.
class MailStore {
public:
    static constexpr double kSaveInterval = 1.0;

    static MailStore& shared();

    KavoMessageList list() const;
    size_t count() const;
    // The messages of that type, in list order.
    KavoMessageList withType(int32_t type) const;
    // Replaces the list (and counts its identities again); nothing is saved.
    void replace(const KavoMessageList& messages);

    // Puts each message of `messages` to the front in turn (so the last one given ends
    // up first). A mail already in the list, or twice in the batch, is stored once: the
    // same type, server time, sender and text. Chat lines carry no server time (0) and
    // are never taken for duplicates. Returns the messages actually stored.
    KavoMessageList addToFront(const KavoMessageList& messages);
    // Removes the messages that `drop` picks; saves when something went.
    void removeWhere(const std::function<bool(const KavoMessage&)>& drop);
    // Removes exactly these objects.
    void removeMessages(const KavoMessageList& messages);
    // The player read these: they leave the list, marked read and seen, and the list is
    // saved. The ones with a server time are remembered (the newest kReadKept, stored
    // under a key of their own), so that the server sending one again, now or at a later
    // sign-in, does not list it anew.
    void markRead(const KavoMessageList& messages);
    static constexpr size_t kReadKept = MailStoreReadMarks::kKept;
    // A new friend-request list is coming: the requests listed so far go. Before the
    // sign-in the stored requests are not listed yet; restore leaves them out then.
    void removeFriendRequests();

    // The player opened the mailbox: every listed mail is seen. The flags change under the
    // lock, as a save on another thread (the stop signal's) reads them under it; seeing is
    // saved with the next change.
    void markAllSeen();

    // What is stored for `iddb` now, for a StoredMailbox to read on any thread. Taken under
    // the lock that every save takes, so it counts the saves of that player before it: a
    // restore tells from that count whether a save came after (isCurrent). When the list in
    // memory is his, nothing is copied: it is newer than anything stored.
    StoredMailbox::Copy storedCopy(int32_t iddb) const;
    // False when `stored` cannot be restored: its player's list was saved after its copy was
    // taken (the sign-out of a connection that had just ended writes what was pending), or
    // nothing was read because his list was in memory and it no longer is. It is then read
    // again, off the main thread.
    bool isCurrent(const StoredMailbox& stored) const;

    // The sign-in reply: mail that waited without an owner stays in front of the stored
    // list of its player (`stored`, read and indexed before), who owns the list from now
    // on. When the waiting mail holds notices (kTypeLatestOnly), the stored notices are
    // left out: the newer ones replace them; so are the stored friend requests after
    // removeFriendRequests, the stored mails that waiting mail repeats, and every waiting
    // mail the player has read. Costs the waiting mail, not the stored: the stored list and
    // its index are taken over as they are, a repeated stored mail is found through that
    // index, and what is left out is looked for from both ends of the stored list until the
    // last of it is found (a server sends its newest mail again). A player who owns the list
    // already (signed in again on the same connection) keeps it as it is in memory, newer
    // than the stored one.
    // False, and nothing changed, when `stored` is not current (isCurrent). Else `stored`
    // is left holding what the list let go (another player's list, stored mails left out),
    // for the caller to free on its own thread rather than on the main thread.
    bool restore(StoredMailbox& stored);
    // Saves what is pending for the owner, then forgets the owner and empties the list.
    void signOut();

    std::optional<int32_t> owner() const;

    // Writes a pending change now (when a player owns the list) and waits for the file.
    // False when nothing was written.
    bool flush();

    // Between tests: empties the list and forgets the owner and any pending save.
    void reset();

private:
    MailStore() = default;

    using List = std::deque<std::shared_ptr<KavoMessage>>;

    bool currentLocked(const StoredMailbox& stored) const;
    uint64_t savesOfLocked(int32_t iddb) const;
    // Removes the mails that `drop` picks, uncounting them; how many went.
    size_t removeLocked(const std::function<bool(const KavoMessage&)>& drop);
    void saveReadLocked();
    // Before a change: writes what is pending when someone else than the owner is signed in.
    void writeBeforeAStrayChangeLocked();
    // Makes the archive of the list as it was when the maker was made, on whichever thread
    // asks for it (the defaults' writer, or whoever reads the value first), as often as asked.
    using ArchiveMaker = std::function<platform::Value()>;
    // Saves now or arranges a save, as the interval allows. A save now takes its snapshot
    // from `snapshot` when given (a list whose parts are at hand), else from snapshotLocked.
    void changedLocked(std::unique_lock<std::mutex>& lock, const std::function<ArchiveMaker()>& snapshot = {});
    // A copy of the list and its mails' flags as they are now, and the maker of its archive.
    ArchiveMaker snapshotLocked() const;
    // Hands a snapshot of the list to the user defaults, archived by their writer as it
    // writes (or by whoever reads the value first); with `wait`, returns once the file is
    // written.
    bool saveLocked(bool wait = false, const std::function<ArchiveMaker()>& snapshot = {});
    void scheduleSaveLocked(double delay);

    mutable std::mutex mutex_;
    List list_;
    // The identities of list_, always up to date.
    MailStoreIndex index_;
    // Mail the owner has read.
    MailStoreReadMarks read_;
    std::optional<int32_t> owner_;
    // A friend-request list came while nobody owned the list: the stored requests are old.
    bool requestsReplaced_ = false;
    bool pending_ = false;
    bool timerScheduled_ = false;
    double timerDue_ = 0;
    double lastSave_ = -1e300;
    // How many times each player's list or read marks were saved in this run.
    std::unordered_map<int32_t, uint64_t> saves_;
    // Bumped by reset(), so a timer of an earlier test does nothing.
    uint64_t epoch_ = 0;
};

} // namespace kavo
