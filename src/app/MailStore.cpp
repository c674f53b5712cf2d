#include "app/MailStore.h"

#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <malloc.h>
#include <unordered_set>
#include <vector>

namespace kavo {

namespace {

// A stored archive from which size on its reading leaves memory worth giving back.
constexpr size_t kLargeArchive = size_t(1) << 20;

bool isFriendRequest(const KavoMessage& m) {
    return m.type() == KavoMessage::kTypeFriendRequest && m.isRequestAddFriend();
}

} // namespace

MailStore& MailStore::shared() {
    static MailStore store;
    return store;
}

// ---------------------------------------------------------------- identity

size_t MailStore::identityHash(const KavoMessage& m) {
    size_t h = std::hash<std::string>{}(m.message());
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(std::hash<std::string>{}(m.fromName()));
    mix(std::hash<int64_t>{}(m.time()));
    mix(std::hash<int32_t>{}(m.type()));
    mix(std::hash<int32_t>{}(m.fromID()));
    return h;
}

bool MailStore::sameIdentity(const KavoMessage& a, const KavoMessage& b) {
    return a.time() == b.time() && a.type() == b.type() && a.fromID() == b.fromID() && a.fromName() == b.fromName() &&
           a.message() == b.message();
}

bool MailStore::containsLocked(const KavoMessage& message) {
    if (message.time() == 0) return false;
    if (indexStale_) rebuildIndexLocked();
    if (!index_.contains(identityHash(message))) return false;
    // A hash match is confirmed field by field; it is rare outside a real duplicate.
    return std::any_of(list_.begin(), list_.end(), [&](const auto& m) { return m && sameIdentity(*m, message); });
}

void MailStore::indexLocked(const KavoMessage& message) {
    if (!indexStale_ && message.time() != 0) ++index_[identityHash(message)];
}

bool MailStore::wasReadLocked(const KavoMessage& message) const {
    if (message.time() == 0 || !readIndex_.contains(identityHash(message))) return false;
    return std::any_of(read_.begin(), read_.end(), [&](const auto& m) { return sameIdentity(*m, message); });
}

void MailStore::rememberReadLocked(const std::shared_ptr<KavoMessage>& message) {
    if (message->time() == 0 || wasReadLocked(*message)) return;
    read_.push_front(message);
    ++readIndex_[identityHash(*message)];
    if (read_.size() <= kReadKept) return;
    if (--readIndex_[identityHash(*read_.back())] == 0) readIndex_.erase(identityHash(*read_.back()));
    read_.pop_back();
}

void MailStore::saveReadLocked() {
    if (!owner_ || UIController::myInfo()->IDDB() != *owner_) return;
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(KavoMessage::archiveList(KavoMessageList(read_.begin(), read_.end())),
                     UIController::readMailKey(*owner_));
    defaults.synchronize();
}

void MailStore::rebuildIndexLocked() {
    index_.clear();
    indexStale_ = false;
    index_.reserve(list_.size());
    for (const auto& m : list_)
        if (m) indexLocked(*m);
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
    for (const auto& m : list_)
        if (m && m->type() == type) matching.push_back(m);
    return matching;
}

std::optional<int32_t> MailStore::owner() const {
    std::lock_guard lock(mutex_);
    return owner_;
}

// ---------------------------------------------------------------- changing

void MailStore::replace(const KavoMessageList& messages) {
    std::lock_guard lock(mutex_);
    list_.clear();
    for (const auto& m : messages)
        if (m) list_.push_back(m);
    indexStale_ = true;
}

KavoMessageList MailStore::addToFront(const KavoMessageList& messages) {
    std::unique_lock lock(mutex_);
    KavoMessageList stored;
    for (const auto& message : messages) {
        if (!message || containsLocked(*message) || wasReadLocked(*message)) continue;
        list_.push_front(message);
        indexLocked(*message);
        stored.push_back(message);
    }
    if (!stored.empty()) changedLocked(lock);
    return stored;
}

void MailStore::removeWhere(const std::function<bool(const KavoMessage&)>& drop) {
    std::unique_lock lock(mutex_);
    const size_t before = list_.size();
    auto kept = std::remove_if(list_.begin(), list_.end(), [&](const auto& m) { return !m || drop(*m); });
    list_.erase(kept, list_.end());
    if (list_.size() == before) return;
    indexStale_ = true;
    changedLocked(lock);
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
    std::unordered_set<const KavoMessage*> read;
    for (const auto& m : messages) {
        if (!m) continue;
        m->setIsRead(1);
        m->setIsSee(1);
        rememberReadLocked(m);
        read.insert(m.get());
    }
    if (read.empty()) return;
    std::erase_if(list_, [&read](const auto& m) { return !m || read.contains(m.get()); });
    indexStale_ = true;
    changedLocked(lock);
    saveReadLocked();
}

void MailStore::removeFriendRequests() {
    {
        std::lock_guard lock(mutex_);
        if (!owner_) requestsReplaced_ = true;
    }
    removeWhere(isFriendRequest);
}

void MailStore::restoreFor(int32_t iddb, const platform::Value& storedArchive) {
    // Read before the lock: the mail that arrives meanwhile does not wait for it.
    KavoMessageList stored;
    if (!storedArchive.isNull()) {
        if (auto list = KavoMessage::unarchiveList(storedArchive.dataValue()))
            stored = std::move(*list);
        else
            platform::log("stored mailbox of " + std::to_string(iddb) + " cannot be read; starting empty");
    }
    // A large stored archive's text and bytes, read on this thread, leave tens of megabytes
    // free in its heap, which the allocator keeps and the writer's thread cannot use for
    // the archive it makes next: given back now, they do not add up at the grid. (Giving
    // back takes a few milliseconds; a small mailbox leaves nothing worth it.)
    if (!storedArchive.isNull() && storedArchive.size() >= kLargeArchive) ::malloc_trim(0);
    KavoMessageList readBefore;
    if (const platform::Value value = platform::UserDefaults::standard().objectForKey(UIController::readMailKey(iddb));
        !value.isNull())
        readBefore = KavoMessage::unarchiveList(value.dataValue()).value_or(KavoMessageList{});
    std::unique_lock lock(mutex_);
    // What the previous owner changed while signed in is theirs: written under their key
    // before their list goes. Only mail of this connection that nobody owned yet is kept;
    // a list that belonged to another player is dropped.
    if (owner_ && pending_) saveLocked();
    if (owner_) list_.clear();
    read_.clear();
    readIndex_.clear();
    for (auto it = readBefore.rbegin(); it != readBefore.rend(); ++it)
        if (*it) rememberReadLocked(*it);
    // What the server sent again before the sign-in and the player has read stays read.
    std::erase_if(list_, [this](const auto& m) { return !m || wasReadLocked(*m); });
    const size_t waiting = list_.size();
    rebuildIndexLocked();
    // The mailbox is asked for as the connection starts, so a new notice usually arrives
    // before the sign-in; its purge then found nothing, and the stored notices it
    // replaces must not come back behind it.
    const bool newNotices = std::any_of(list_.begin(), list_.end(),
                                        [](const auto& m) { return m && m->type() == KavoMessage::kTypeLatestOnly; });
    // Only the waiting mail can repeat a stored one. The stored mails, up to 100,000, are
    // indexed when a new mail is first looked up, not on the way to the game grid.
    const bool mailWaits = !index_.empty();
    for (const auto& m : stored) {
        if (!m || (mailWaits && containsLocked(*m))) continue;
        if (newNotices && m->type() == KavoMessage::kTypeLatestOnly) continue;
        if (requestsReplaced_ && isFriendRequest(*m)) continue;
        list_.push_back(m);
    }
    indexStale_ = true;
    stored = {};
    owner_ = iddb;
    pending_ = false;
    requestsReplaced_ = false;
    if (waiting > 0) changedLocked(lock);
}

void MailStore::signOut() {
    std::lock_guard lock(mutex_);
    if (pending_) saveLocked();
    owner_.reset();
    pending_ = false;
    requestsReplaced_ = false;
    list_.clear();
    index_.clear();
    indexStale_ = false;
    read_.clear();
    readIndex_.clear();
}

void MailStore::reset() {
    std::lock_guard lock(mutex_);
    list_.clear();
    index_.clear();
    indexStale_ = false;
    read_.clear();
    readIndex_.clear();
    owner_.reset();
    pending_ = false;
    requestsReplaced_ = false;
    timerScheduled_ = false;
    lastSave_ = -1e300;
    ++epoch_;
}

// ---------------------------------------------------------------- saving

bool MailStore::flush() {
    std::lock_guard lock(mutex_);
    return pending_ && saveLocked(true);
}

void MailStore::changedLocked(std::unique_lock<std::mutex>& /*lock*/) {
    // Never under another player's key: a change made while someone else is signed in
    // is not saved at all.
    if (!owner_ || UIController::myInfo()->IDDB() != *owner_) return;
    pending_ = true;
    const double now = platform::Clock::time();
    const double sinceLast = now - lastSave_;
    // A clock that went back (a new manual clock) counts as a long pause.
    if (sinceLast >= kSaveInterval || sinceLast < 0) {
        saveLocked();
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

bool MailStore::saveLocked(bool wait) {
    if (!owner_) return false;
    auto& defaults = platform::UserDefaults::standard();
    // Archiving 100,000 mails is left to the defaults' writer thread, out of the way of the
    // sign-in that saves at once. The mails' texts never change once they arrived; their
    // flags do, here, so the writer archives the flags as they are now. The stored archive
    // the new one replaces goes at once instead of waiting beside it.
    KavoMessageList mails(list_.begin(), list_.end());
    std::vector<uint8_t> flags;
    flags.reserve(mails.size());
    for (const auto& m : mails)
        flags.push_back(m->archivedFlags());
    defaults.setObject(platform::Value::deferredData([mails = std::move(mails), flags = std::move(flags)] {
                           return platform::Value::sharedData(KavoMessage::archiveList(mails, &flags));
                       }),
                       UIController::listMessageKey(*owner_));
    // The file is written on the defaults' writer thread unless the caller waits for it.
    const bool written = wait ? defaults.flush() : defaults.synchronize();
    if (!written) platform::log("mailbox: the user defaults could not be written; will try again");
    lastSave_ = platform::Clock::time();
    pending_ = !written;
    return written;
}

} // namespace kavo
