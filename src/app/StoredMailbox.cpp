#include "app/StoredMailbox.h"

#include "app/MailStore.h"
#include "platform/runtime/Log.h"

#include <malloc.h>
#include <mutex>
#include <string>
#include <utility>

namespace kavo {

namespace {

// A stored archive from which size on its reading leaves memory worth giving back.
constexpr size_t kLargeArchive = size_t(1) << 20;
// A mailbox of that many mails (an archive of about kLargeArchive) frees as much.
constexpr size_t kLargeMailbox = 10'000;

bool isDropped(const std::atomic<bool>* dropped) {
    return dropped && dropped->load(std::memory_order_relaxed);
}

// The tests' hook, set and called from any thread; never destroyed, so that a read still
// running at the exit finds it.
std::mutex hookMutex;
std::function<void(StoredMailbox::TestMoment, size_t)>& testHook() {
    static auto* hook = new std::function<void(StoredMailbox::TestMoment, size_t)>();
    return *hook;
}

void tellTestHook(StoredMailbox::TestMoment moment, size_t mails) {
    std::function<void(StoredMailbox::TestMoment, size_t)> hook;
    {
        std::lock_guard lock(hookMutex);
        hook = testHook();
    }
    // Called without the lock: the hook may hold this thread while a test sets another.
    if (hook) hook(moment, mails);
}

} // namespace

void StoredMailbox::setTestHook(std::function<void(TestMoment, size_t mails)> hook) {
    std::lock_guard lock(hookMutex);
    testHook() = std::move(hook);
}

StoredMailbox StoredMailbox::read(int32_t iddb) {
    return read(MailStore::shared().storedCopy(iddb));
}

StoredMailbox StoredMailbox::read(Copy copy, const std::atomic<bool>* dropped) {
    StoredMailbox stored;
    stored.owner_ = copy.owner;
    stored.saves_ = copy.saves;
    stored.inMemory_ = copy.inMemory;
    const std::string whose = "stored mailbox of " + std::to_string(copy.owner) + ": ";
    if (copy.inMemory) {
        platform::log(whose + "in memory, not read");
        return stored;
    }
    platform::log(whose + "reading");
    const auto tellDropped = [&] { platform::log(whose + "dropped, not read"); };
    const auto stop = [&] {
        if (!isDropped(dropped)) return false;
        tellDropped();
        return true;
    };
    if (!copy.mails.isNull()) {
        if (stop()) return stored;
        // The value shares its text with the defaults: the decode happens where it lies.
        const platform::Bytes& archive = copy.mails.dataValue();
        if (stop()) return stored;
        // Each mail goes straight to the list and is counted while its texts are at hand. The
        // decode of a large mailbox is most of a read: a drop stops it at the next look.
        size_t decoded = 0;
        bool stopped = false;
        const bool readable = KavoMessage::unarchiveEach(archive, [&](std::shared_ptr<KavoMessage> m) {
            if (++decoded % kDropLook == 0) {
                tellTestHook(TestMoment::Decoding, decoded);
                if (isDropped(dropped)) {
                    stopped = true;
                    return false;
                }
            }
            if (!m) return true;
            stored.index_.add(*m);
            stored.notices_ += m->type() == KavoMessage::kTypeLatestOnly;
            stored.friendRequests_ += m->type() == KavoMessage::kTypeFriendRequest && m->isRequestAddFriend();
            stored.mails_.push_back(std::move(m));
            return true;
        });
        if (stopped) {
            platform::log(whose + std::to_string(decoded) + " mails decoded");
            tellDropped();
        } else if (!readable) {
            platform::log(whose + "cannot be read; starting empty");
        }
        if (stopped || !readable) {
            // What was decoded goes here, as a dropped mailbox does.
            StoredMailbox decodedPart;
            std::swap(decodedPart.mails_, stored.mails_);
            std::swap(decodedPart.index_, stored.index_);
            stored.notices_ = stored.friendRequests_ = 0;
            discard(std::move(decodedPart));
            if (stopped) return stored;
        }
        // The mails as read, for the save after the restore. Made once they are all read, in
        // small blocks: the reading left that much free in the heap, so they take no memory
        // beyond what the reading took at its height.
        if (readable) {
            stored.asRead_ = std::make_shared<AsRead>();
            stored.asRead_->flags.reserve(stored.mails_.size());
            for (const auto& m : stored.mails_) {
                stored.asRead_->mails.push_back(m);
                stored.asRead_->flags.push_back(m->archivedFlags());
            }
        }
        // A large archive's reading leaves megabytes free in the heaps, which the allocator
        // keeps and the defaults' writer cannot use for the archive it makes next: given
        // back now, they do not add up at the grid. (Giving back takes a few milliseconds;
        // a small mailbox leaves nothing worth it.)
        if (copy.mails.size() >= kLargeArchive) ::malloc_trim(0);
    }
    if (!copy.marks.isNull()) stored.read_ = MailStoreReadMarks::fromArchive(copy.marks.dataValue());
    platform::log(whose + std::to_string(stored.mails_.size()) + " mails read");
    return stored;
}

void StoredMailbox::discard(StoredMailbox&& mailbox) {
    const size_t mails = mailbox.count();
    mailbox = StoredMailbox();
    if (mails >= kLargeMailbox) {
        ::malloc_trim(0);
        tellTestHook(TestMoment::GivenBack, mails);
    }
}

} // namespace kavo
