#include "app/MailStore.h"

#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kavo {

namespace {

bool isFriendRequest(const KavoMessage& m) {
    return m.type() == KavoMessage::kTypeFriendRequest && m.isRequestAddFriend();
}

// Takes the mails of `list` that `goes` picks out of it, until `allFound` says none is left
// to find, and hands each to `taken` with the place it had in `list`. It looks from both ends
// toward the middle, so mails near either end (the newest, or the oldest) cost what lies
// between them and that end, not the list's length; the mails looked at close the gaps, and
// the rest stays in place.
void takeOut(std::deque<std::shared_ptr<KavoMessage>>& list, const std::function<bool()>& allFound,
             const std::function<bool(const KavoMessage&)>& goes,
             const std::function<void(size_t, std::shared_ptr<KavoMessage>)>& taken) {
    // Looked at: [0, front) and [back, size). Kept: [0, frontKept) and [backKept, size).
    size_t front = 0, frontKept = 0;
    size_t back = list.size(), backKept = list.size();
    while (!allFound() && front < back) {
        // One step from each end in turn.
        const bool fromFront = front <= list.size() - back;
        const size_t at = fromFront ? front++ : --back;
        if (goes(*list[at])) {
            taken(at, std::move(list[at]));
        } else if (fromFront) {
            if (frontKept != at) list[frontKept] = std::move(list[at]);
            ++frontKept;
        } else {
            if (--backKept != at) list[backKept] = std::move(list[at]);
        }
    }
    list.erase(list.begin() + std::ptrdiff_t(back), list.begin() + std::ptrdiff_t(backKept));
    list.erase(list.begin() + std::ptrdiff_t(frontKept), list.begin() + std::ptrdiff_t(front));
}

} // namespace

MailStore& MailStore::shared() {
    static MailStore store;
    return store;
}

// ---------------------------------------------------------------- identity

size_t MailStore::removeLocked(const std::function<bool(const KavoMessage&)>& drop) {
    // In place, in order; each mail that goes is uncounted, so the index never needs
    // making again.
    auto kept = list_.begin();
    for (auto it = list_.begin(); it != list_.end(); ++it) {
        if (!*it || drop(**it)) {
            if (*it) index_.remove(**it);
            continue;
        }
        if (kept != it) *kept = std::move(*it);
        ++kept;
    }
    const size_t removed = size_t(list_.end() - kept);
    list_.erase(kept, list_.end());
    return removed;
}

void MailStore::saveReadLocked() {
    if (!owner_ || UIController::myInfo()->IDDB() != *owner_) return;
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(KavoMessage::archiveList(read_.list()), UIController::readMailKey(*owner_));
    ++saves_[*owner_];
    defaults.synchronize();
}

uint64_t MailStore::savesOfLocked(int32_t iddb) const {
    const auto saved = saves_.find(iddb);
    return saved == saves_.end() ? 0 : saved->second;
}

bool MailStore::currentLocked(const StoredMailbox& stored) const {
    // His list in memory is kept as it is, whatever was read.
    if (owner_ == stored.owner_) return true;
    return !stored.inMemory_ && savesOfLocked(stored.owner_) == stored.saves_;
}

// ---------------------------------------------------------------- reading

KavoMessageList MailStore::list() const {
    std::lock_guard lock(mutex_);
    return KavoMessageList(list_.begin(), list_.end());
}

size_t MailStore::count() const {
    std::lock_guard lock(mutex_);
    return list_.size();
}

KavoMessageList MailStore::withType(int32_t type) const {
    std::lock_guard lock(mutex_);
    KavoMessageList matching;
    // Each new notice asks for the old ones: mostly none in a long list.
    if (index_.countOfType(type) == 0) return matching;
    for (const auto& m : list_)
        if (m && m->type() == type) matching.push_back(m);
    return matching;
}

std::optional<int32_t> MailStore::owner() const {
    std::lock_guard lock(mutex_);
    return owner_;
}

StoredMailbox::Copy MailStore::storedCopy(int32_t iddb) const {
    std::lock_guard lock(mutex_);
    StoredMailbox::Copy copy;
    copy.owner = iddb;
    copy.saves = savesOfLocked(iddb);
    copy.inMemory = owner_ == iddb;
    if (copy.inMemory) return copy;
    auto& defaults = platform::UserDefaults::standard();
    copy.mails = defaults.objectForKey(UIController::listMessageKey(iddb));
    copy.marks = defaults.objectForKey(UIController::readMailKey(iddb));
    return copy;
}

bool MailStore::isCurrent(const StoredMailbox& stored) const {
    std::lock_guard lock(mutex_);
    return currentLocked(stored);
}

// ---------------------------------------------------------------- changing

void MailStore::replace(const KavoMessageList& messages) {
    std::lock_guard lock(mutex_);
    list_.clear();
    index_.clear();
    index_.reserve(messages.size());
    for (const auto& m : messages) {
        if (!m) continue;
        list_.push_back(m);
        index_.add(*m);
    }
}

KavoMessageList MailStore::addToFront(const KavoMessageList& messages) {
    std::unique_lock lock(mutex_);
    writeBeforeAStrayChangeLocked();
    KavoMessageList stored;
    for (const auto& message : messages) {
        if (!message || index_.contains(*message) || read_.contains(*message)) continue;
        list_.push_front(message);
        index_.add(*message);
        stored.push_back(message);
    }
    if (!stored.empty()) changedLocked(lock);
    return stored;
}

void MailStore::removeWhere(const std::function<bool(const KavoMessage&)>& drop) {
    std::unique_lock lock(mutex_);
    writeBeforeAStrayChangeLocked();
    if (removeLocked(drop) > 0) changedLocked(lock);
}

void MailStore::removeMessages(const KavoMessageList& messages) {
    if (messages.empty()) return;
    const std::unordered_set<const KavoMessage*> doomed = [&] {
        std::unordered_set<const KavoMessage*> set;
        for (const auto& m : messages)
            set.insert(m.get());
        return set;
    }();
    removeWhere([&doomed](const KavoMessage& m) { return doomed.contains(&m); });
}

void MailStore::markRead(const KavoMessageList& messages) {
    std::unique_lock lock(mutex_);
    writeBeforeAStrayChangeLocked();
    std::unordered_set<const KavoMessage*> read;
    for (const auto& m : messages) {
        if (!m) continue;
        m->setIsRead(1);
        m->setIsSee(1);
        read_.remember(m);
        read.insert(m.get());
    }
    if (read.empty()) return;
    removeLocked([&read](const KavoMessage& m) { return read.contains(&m); });
    changedLocked(lock);
    saveReadLocked();
}

void MailStore::markAllSeen() {
    std::lock_guard lock(mutex_);
    for (const auto& m : list_)
        if (m) m->setIsSee(1);
}

void MailStore::removeFriendRequests() {
    {
        std::lock_guard lock(mutex_);
        if (!owner_) requestsReplaced_ = true;
        // Each friend-request list starts here: mostly none listed in a long list.
        if (index_.countOfType(KavoMessage::kTypeFriendRequest) == 0) return;
    }
    removeWhere(isFriendRequest);
}

bool MailStore::restore(StoredMailbox& stored) {
    std::unique_lock lock(mutex_);
    if (!currentLocked(stored)) return false;
    const int32_t iddb = stored.owner_;
    // Signed in again before the connection ended: what is in memory is the stored list
    // with every change since, some maybe not written yet.
    if (owner_ == iddb) return true;
    // What the previous owner changed while signed in is theirs: written under their key
    // before their list goes. Only mail of this connection that nobody owned yet is kept;
    // a list that belonged to another player is dropped (by the caller, off this thread).
    if (owner_ && pending_) saveLocked();
    List dropped;
    if (owner_) {
        dropped.swap(list_);
        index_.clear();
    }
    read_ = std::move(stored.read_);
    // What the server sent again before the sign-in and the player has read stays read.
    removeLocked([this](const KavoMessage& m) { return read_.contains(m); });
    const size_t waiting = list_.size();

    // The mailbox is asked for as the connection starts, so a new notice usually arrives
    // before the sign-in; its purge then found nothing, and the stored notices it
    // replaces must not come back behind it. Only the waiting mail can repeat a stored
    // one: the stored mails are looked at only when one of these leaves some out.
    const bool dropNotices = stored.notices_ > 0 && std::any_of(list_.begin(), list_.end(), [](const auto& m) {
                                 return m->type() == KavoMessage::kTypeLatestOnly;
                             });
    const bool dropRequests = requestsReplaced_ && stored.friendRequests_ > 0;
    const auto replaced = [&](const KavoMessage& m) {
        return (dropNotices && m.type() == KavoMessage::kTypeLatestOnly) || (dropRequests && isFriendRequest(m));
    };
    // The stored mails that the waiting mail repeats: the stored index counts their copies by
    // identity, so each costs a look at its own key, and a stored mail looked at is known for
    // a copy by the key it was counted under.
    std::unordered_map<uint64_t, size_t> repeats;
    size_t copiesLeft = 0;
    for (const auto& m : list_) {
        const size_t copies = stored.index_.copies(*m);
        if (copies > 0 && repeats.emplace(MailStoreIndex::identityKey(*m), copies).second) copiesLeft += copies;
    }
    size_t replacedLeft = (dropNotices ? stored.notices_ : 0) + (dropRequests ? stored.friendRequests_ : 0);
    // A copy that is also replaced counts for both.
    const auto goes = [&](const KavoMessage& m) {
        const bool isReplaced = replaced(m);
        if (isReplaced && replacedLeft > 0) --replacedLeft;
        const auto repeat = copiesLeft > 0 ? repeats.find(MailStoreIndex::countedKey(m)) : repeats.end();
        const bool isCopy = repeat != repeats.end() && repeat->second > 0;
        if (isCopy) {
            --repeat->second;
            --copiesLeft;
        }
        return isReplaced || isCopy;
    };
    // What goes joins what the caller frees. A server sends its newest mail again, which
    // lies at the stored list's front.
    const bool asReadWhole = stored.asRead_ && stored.asRead_->mails.size() == stored.mails_.size();
    std::vector<size_t> leftOut;
    takeOut(
        stored.mails_, [&] { return replacedLeft == 0 && copiesLeft == 0; }, goes,
        [&](size_t at, std::shared_ptr<KavoMessage> m) {
            stored.index_.remove(*m);
            dropped.push_back(std::move(m));
            leftOut.push_back(at);
        });
    std::sort(leftOut.begin(), leftOut.end());

    // The stored list and its index are taken over whole; the waiting mail goes in front.
    for (auto it = list_.rbegin(); it != list_.rend(); ++it) {
        stored.index_.add(**it);
        stored.mails_.push_front(std::move(*it));
    }
    list_ = std::move(stored.mails_);
    index_ = std::move(stored.index_);
    stored.mails_ = std::move(dropped);
    stored.index_.clear();
    owner_ = iddb;
    pending_ = false;
    requestsReplaced_ = false;
    // The restore is no save: the first change after it is saved at once. That save
    // replaces the stored archive's bytes (decoded where they lay, tens of megabytes for a
    // large mailbox), which nothing needs once the list is in memory; kept until a second
    // later, they would lie beside all that the game grid's first second allocates.
    // Saved now, the list is the waiting mail as it is and the stored mails as read, less
    // those left out: the writer puts it together, and the main thread copies only the
    // waiting mail (a copy of the whole list costs it milliseconds for 100,000 mails).
    // Unsaved, the mails as read stay with `stored`, for the caller to free.
    if (waiting > 0) {
        changedLocked(lock, [&]() -> ArchiveMaker {
            // The mails as read are those the stored list held before the restore (it is
            // restored once): else the list is copied as for any save.
            if (!asReadWhole) return snapshotLocked();
            KavoMessageList front(list_.begin(), list_.begin() + std::ptrdiff_t(waiting));
            std::vector<uint8_t> frontFlags;
            frontFlags.reserve(waiting);
            for (const auto& m : front)
                frontFlags.push_back(m->archivedFlags());
            return [front = std::move(front), frontFlags = std::move(frontFlags),
                    asRead = std::shared_ptr<const StoredMailbox::AsRead>(std::move(stored.asRead_)),
                    leftOut = std::move(leftOut)] {
                return platform::Value::sharedData(
                    KavoMessage::archiveEach([&](const KavoMessage::ArchiveVisitor& visit) {
                        for (size_t i = 0; i < front.size(); ++i)
                            visit(*front[i], frontFlags[i]);
                        if (!asRead) return;
                        // The places left out, in order.
                        auto out = leftOut.begin();
                        for (size_t i = 0; i < asRead->mails.size(); ++i) {
                            if (out != leftOut.end() && *out == i) {
                                ++out;
                                continue;
                            }
                            visit(*asRead->mails[i], asRead->flags[i]);
                        }
                    }));
            };
        });
    }
    return true;
}

void MailStore::signOut() {
    std::lock_guard lock(mutex_);
    if (pending_) saveLocked();
    owner_.reset();
    pending_ = false;
    requestsReplaced_ = false;
    list_.clear();
    index_.clear();
    read_.clear();
}

void MailStore::reset() {
    std::lock_guard lock(mutex_);
    list_.clear();
    index_.clear();
    read_.clear();
    owner_.reset();
    pending_ = false;
    requestsReplaced_ = false;
    timerScheduled_ = false;
    lastSave_ = -1e300;
    saves_.clear();
    ++epoch_;
}

// ---------------------------------------------------------------- saving

bool MailStore::flush() {
    std::lock_guard lock(mutex_);
    return pending_ && saveLocked(true);
}

void MailStore::writeBeforeAStrayChangeLocked() {
    // A change made while someone else is signed in is never saved (changedLocked), but a
    // save still due would take it along: what the owner changed before is written now.
    if (owner_ && pending_ && UIController::myInfo()->IDDB() != *owner_) saveLocked();
}

void MailStore::changedLocked(std::unique_lock<std::mutex>& /*lock*/, const std::function<ArchiveMaker()>& snapshot) {
    // Never under another player's key: a change made while someone else is signed in
    // is not saved at all.
    if (!owner_ || UIController::myInfo()->IDDB() != *owner_) return;
    pending_ = true;
    const double now = platform::Clock::time();
    const double sinceLast = now - lastSave_;
    // A clock that went back (a new manual clock) counts as a long pause.
    if (sinceLast >= kSaveInterval || sinceLast < 0) {
        saveLocked(false, snapshot);
    } else if (!timerScheduled_ || now > timerDue_ + kSaveInterval) {
        // (A timer long overdue was dropped with its run loop: arrange another.)
        scheduleSaveLocked(kSaveInterval - sinceLast);
    }
}

void MailStore::scheduleSaveLocked(double delay) {
    timerScheduled_ = true;
    timerDue_ = platform::Clock::time() + delay;
    const uint64_t epoch = epoch_;
    auto schedule = [this, delay, epoch] {
        platform::performAfterDelay(delay, [this, epoch] {
            std::lock_guard lock(mutex_);
            if (epoch != epoch_) return;
            timerScheduled_ = false;
            if (pending_) saveLocked();
        });
    };
    // Timers belong to the main thread.
    if (platform::isMainThread())
        schedule();
    else
        platform::runOnMainThread(schedule);
}

MailStore::ArchiveMaker MailStore::snapshotLocked() const {
    // Archiving 100,000 mails is left to the defaults' writer thread, out of the way of the
    // sign-in that saves at once. The mails' texts never change once they arrived; their
    // flags do, here, so the writer archives the flags as they are now. The stored archive
    // the new one replaces goes at once instead of waiting beside it.
    // One pass over the mails (a mailbox of 100,000 is memory the pass waits for).
    KavoMessageList mails;
    std::vector<uint8_t> flags;
    mails.reserve(list_.size());
    flags.reserve(list_.size());
    for (const auto& m : list_) {
        mails.push_back(m);
        flags.push_back(m->archivedFlags());
    }
    return [mails = std::move(mails), flags = std::move(flags)] {
        return platform::Value::sharedData(KavoMessage::archiveList(mails, &flags));
    };
}

bool MailStore::saveLocked(bool wait, const std::function<ArchiveMaker()>& snapshot) {
    if (!owner_) return false;
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(platform::Value::deferredData(snapshot ? snapshot() : snapshotLocked()),
                       UIController::listMessageKey(*owner_));
    ++saves_[*owner_];
    // The file is written on the defaults' writer thread unless the caller waits for it.
    const bool written = wait ? defaults.flush() : defaults.synchronize();
    if (!written) platform::log("mailbox: the user defaults could not be written; will try again");
    lastSave_ = platform::Clock::time();
    pending_ = !written;
    return written;
}

} // namespace kavo
