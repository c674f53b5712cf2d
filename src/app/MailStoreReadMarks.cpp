#include "app/MailStoreReadMarks.h"

namespace kavo {

MailStoreReadMarks MailStoreReadMarks::fromArchive(const platform::Bytes& archive) {
    MailStoreReadMarks marks;
    const KavoMessageList stored = KavoMessage::unarchiveList(archive).value_or(KavoMessageList{});
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        if (*it) marks.remember(*it);
    return marks;
}

bool MailStoreReadMarks::contains(const KavoMessage& message) const {
    return index_.contains(message);
}

void MailStoreReadMarks::remember(const std::shared_ptr<KavoMessage>& message) {
    if (!message || message->time() == 0 || contains(*message)) return;
    mails_.push_front(message);
    index_.add(*message);
    if (mails_.size() <= kKept) return;
    index_.remove(*mails_.back());
    mails_.pop_back();
}

void MailStoreReadMarks::clear() {
    mails_.clear();
    index_.clear();
}

} // namespace kavo
