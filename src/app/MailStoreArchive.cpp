#include "app/MailStoreArchive.h"

#include "platform/foundation/ArchiveRecords.h"

#include <limits>

namespace kavo {

namespace {

constexpr uint32_t kNoRecord = std::numeric_limits<uint32_t>::max();
// The checksum that closes an archive.
constexpr size_t kChecksumSize = 4;

template <typename Mails> MailStoreArchive::Snapshot snapshotOf(const Mails& mails) {
    MailStoreArchive::Snapshot taken{KavoMessageList(mails.begin(), mails.end()), {}};
    taken.flags.reserve(mails.size());
    for (const auto& m : mails)
        taken.flags.push_back(m->archivedFlags());
    return taken;
}

} // namespace

MailStoreArchive::Snapshot MailStoreArchive::snapshot(const List& list) {
    return snapshotOf(list);
}

std::string_view MailStoreArchive::recordAt(size_t index) const {
    const platform::Bytes& bytes = bytes_.dataValue();
    const size_t end = index + 1 < offsets_.size() ? offsets_[index + 1] : bytes.size() - kChecksumSize;
    return {reinterpret_cast<const char*>(bytes.data()) + offsets_[index], end - offsets_[index]};
}

void MailStoreArchive::clearLocked() {
    bytes_ = platform::Value();
    base_ = {};
    offsets_.clear();
}

void MailStoreArchive::keepLocked(platform::Value bytes, Snapshot mails, std::vector<uint32_t> offsets) {
    clearLocked();
    // Offsets count to four gigabytes; a larger archive is saved anew in full each time.
    if (bytes.dataValue().size() > kNoRecord || offsets.size() != mails.mails.size()) return;
    bytes_ = std::move(bytes);
    base_ = std::move(mails);
    offsets_ = std::move(offsets);
}

std::optional<KavoMessageList> MailStoreArchive::restore(const platform::Value& stored) {
    std::lock_guard lock(mutex_);
    clearLocked();
    // Every record of a mailbox archive is a mail, in the list's order.
    std::vector<uint32_t> offsets;
    auto list = KavoMessage::unarchiveList(stored.dataValue(), &offsets);
    if (!list) return list;
    keepLocked(stored, snapshotOf(*list), std::move(offsets));
    return list;
}

platform::Value MailStoreArchive::archive(Snapshot snapshot) {
    std::lock_guard lock(mutex_);
    const KavoMessageList& list = snapshot.mails;
    const KavoMessageList& base = base_.mails;
    // The list is the base's mails, some of them gone, with new mails in front: walking
    // both from the back, a listed mail that is not the base's next one is new, or the
    // base's ones before it went. (A list made otherwise only costs more encoding.)
    std::vector<uint32_t> reused(list.size(), kNoRecord);
    size_t next = base.size();
    for (size_t i = list.size(); i-- > 0 && next > 0;) {
        while (next > 0 && base[next - 1] != list[i])
            --next;
        if (next == 0) break;
        --next;
        if (base_.flags[next] == snapshot.flags[i]) reused[i] = uint32_t(next);
    }
    Snapshot encoded;
    for (size_t i = 0; i < list.size(); ++i) {
        if (reused[i] != kNoRecord) continue;
        encoded.mails.push_back(list[i]);
        encoded.flags.push_back(snapshot.flags[i]);
    }
    const platform::Bytes fresh = KavoMessage::archiveList(encoded.mails, &encoded.flags);
    const auto freshRecords = platform::archiveRecords(fresh).value_or(std::vector<std::string_view>{});

    std::vector<std::string_view> records;
    records.reserve(list.size());
    size_t nextFresh = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (reused[i] != kNoRecord)
            records.push_back(recordAt(reused[i]));
        else if (nextFresh < freshRecords.size())
            records.push_back(freshRecords[nextFresh++]);
    }
    std::vector<uint32_t> offsets;
    platform::Value bytes = platform::Value::sharedData(platform::archiveOfRecords(records, &offsets));
    // What the new base takes is made once the old one is gone: a large mailbox's lists
    // add up beside its two archives.
    records = {};
    reused = {};
    keepLocked(bytes, std::move(snapshot), std::move(offsets));
    return bytes;
}

} // namespace kavo
