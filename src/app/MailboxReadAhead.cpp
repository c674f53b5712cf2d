#include "app/MailboxReadAhead.h"

#include "app/MailStore.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"

#include <atomic>
#include <condition_variable>
#include <optional>
#include <utility>

namespace kavo {

namespace {

// The name of the player who signed in last.
constexpr const char* kPlayerNameKey = "KAVO_LOGIN_USERNAME_SUCCESS";

} // namespace

struct MailboxReadAhead::Read {
    explicit Read(int32_t player) : iddb(player) {}
    const int32_t iddb;
    std::mutex mutex;
    std::condition_variable finished;
    // Set under `mutex`; the read looks at it on its way and stops.
    std::atomic<bool> dropped = false;
    // Under `mutex`.
    bool done = false;
    std::optional<StoredMailbox> mailbox;
};

MailboxReadAhead& MailboxReadAhead::shared() {
    static MailboxReadAhead readAhead;
    return readAhead;
}

MailboxReadAhead::~MailboxReadAhead() {
    // A read still queued at the exit has nobody to wait for it.
    drop();
}

void MailboxReadAhead::startForRemembered() {
    const platform::Value id = platform::UserDefaults::standard().objectForKey(kPlayerIdKey);
    if (id.isNumber()) start(id.intValue());
}

void MailboxReadAhead::startFor(const std::string& name) {
    auto& defaults = platform::UserDefaults::standard();
    const platform::Value id = defaults.objectForKey(kPlayerIdKey);
    if (!name.empty() && id.isNumber() && name == defaults.stringForKey(kPlayerNameKey))
        start(id.intValue());
    else
        drop();
}

void MailboxReadAhead::start(int32_t iddb) {
    std::lock_guard lock(mutex_);
    if (current_ && current_->iddb == iddb) return;
    if (current_) drop(current_);
    current_.reset();
    // Taken here, on the main thread, in order with the mailbox's saves.
    StoredMailbox::Copy copy = MailStore::shared().storedCopy(iddb);
    if (copy.inMemory) return;
    auto read = std::make_shared<Read>(iddb);
    current_ = read;
    platform::log("mailbox of " + std::to_string(iddb) + " read ahead");
    queue_.async([read, copy = std::move(copy)]() mutable {
        if (read->dropped) return;
        StoredMailbox mailbox = StoredMailbox::read(std::move(copy), &read->dropped);
        {
            std::lock_guard readLock(read->mutex);
            if (!read->dropped) {
                read->mailbox = std::move(mailbox);
                read->done = true;
                read->finished.notify_all();
                return;
            }
        }
        StoredMailbox::discard(std::move(mailbox));
    });
}

void MailboxReadAhead::drop() {
    std::shared_ptr<Read> read;
    {
        std::lock_guard lock(mutex_);
        read = std::move(current_);
    }
    if (read) drop(read);
}

void MailboxReadAhead::drop(const std::shared_ptr<Read>& read) {
    std::shared_ptr<StoredMailbox> doomed;
    {
        std::lock_guard readLock(read->mutex);
        read->dropped = true;
        if (read->mailbox) doomed = std::make_shared<StoredMailbox>(std::move(*read->mailbox));
        read->mailbox.reset();
    }
    // Read already: 100,000 mails are freed on the read-ahead thread, not on the caller's.
    if (doomed) queue_.async([doomed] { StoredMailbox::discard(std::move(*doomed)); });
}

StoredMailbox MailboxReadAhead::take(int32_t iddb) {
    std::shared_ptr<Read> read;
    {
        std::lock_guard lock(mutex_);
        read = std::move(current_);
    }
    if (read && read->iddb == iddb) {
        std::unique_lock readLock(read->mutex);
        // Nobody else drops it once taken: the read ends with the mailbox.
        read->finished.wait(readLock, [&] { return read->done; });
        return std::move(*read->mailbox);
    }
    if (read) drop(read);
    return StoredMailbox::read(iddb);
}

void MailboxReadAhead::reset() {
    drop();
    queue_.waitUntilIdle();
}

} // namespace kavo
