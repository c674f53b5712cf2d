#include "app/StoredMailbox.h"

#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"

#include <malloc.h>
#include <string>

namespace kavo {

namespace {

// A stored archive from which size on its reading leaves memory worth giving back.
constexpr size_t kLargeArchive = size_t(1) << 20;

} // namespace

StoredMailbox StoredMailbox::read(int32_t iddb) {
    auto& defaults = platform::UserDefaults::standard();
    StoredMailbox stored;
    stored.owner_ = iddb;
    {
        // The value shares its text with the defaults: the decode happens where it lies.
        const platform::Value value = defaults.objectForKey(UIController::listMessageKey(iddb));
        defaults.synchronize();
        if (!value.isNull()) {
            if (auto list = KavoMessage::unarchiveList(value.dataValue())) {
                stored.index_.reserve(list->size());
                for (auto& m : *list) {
                    if (!m) continue;
                    stored.index_.add(*m);
                    stored.notices_ += m->type() == KavoMessage::kTypeLatestOnly;
                    stored.friendRequests_ += m->type() == KavoMessage::kTypeFriendRequest && m->isRequestAddFriend();
                    stored.mails_.push_back(std::move(m));
                }
            } else {
                platform::log("stored mailbox of " + std::to_string(iddb) + " cannot be read; starting empty");
            }
            // A large archive's text and bytes leave tens of megabytes free in the heaps,
            // which the allocator keeps and the defaults' writer cannot use for the archive
            // it makes next: given back now, they do not add up at the grid. (Giving back
            // takes a few milliseconds; a small mailbox leaves nothing worth it.)
            if (value.size() >= kLargeArchive) ::malloc_trim(0);
        }
    }
    if (const platform::Value marks = defaults.objectForKey(UIController::readMailKey(iddb)); !marks.isNull())
        stored.read_ = MailStoreReadMarks::fromArchive(marks.dataValue());
    return stored;
}

} // namespace kavo
