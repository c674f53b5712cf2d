#include "app/MailStoreArchive.h"

#include "platform/foundation/ArchiveRecords.h"

#include <limits>

namespace kavo {

namespace {

constexpr uint32_t kNoRecord = std::numeric_limits<uint32_t>::max();
// The checksum that closes an archive.
constexpr size_t kChecksumSize = 4;

} // namespace

uint8_t MailStoreArchive::flagsOf(const KavoMessage& m) {
    return uint8_t((m.isRead() != 0) | (m.isReply() != 0) << 1 | (m.isRequestAddFriend() != 0) << 2 |
                   (m.isSee() != 0) << 3);
}

std::string_view MailStoreArchive::recordAt(size_t index) const {
    const platform::Bytes& bytes = bytes_.dataValue();
    const size_t end = index + 1 < offsets_.size() ? offsets_[index + 1] : bytes.size() - kChecksumSize;
    return {reinterpret_cast<const char*>(bytes.data()) + offsets_[index], end - offsets_[index]};
}

void MailStoreArchive::clear() {
    bytes_ = platform::Value();
    messages_.clear();
    offsets_.clear();
    flags_.clear();
}

void MailStoreArchive::keep(platform::Value bytes, KavoMessageList messages, std::vector<uint32_t> offsets) {
    clear();
    // Offsets count to four gigabytes; a larger archive is saved anew in full each time.
    if (bytes.dataValue().size() > kNoRecord || offsets.size() != messages.size()) return;
    flags_.reserve(messages.size());
    for (const auto& m : messages)
        flags_.push_back(flagsOf(*m));
    bytes_ = std::move(bytes);
    messages_ = std::move(messages);
    offsets_ = std::move(offsets);
}

std::optional<KavoMessageList> MailStoreArchive::restore(const platform::Value& stored) {
    clear();
    auto list = KavoMessage::unarchiveList(stored.dataValue());
    if (!list) return list;
    // Every record of a mailbox archive is a mail, in the list's order.
    if (auto records = platform::archiveRecords(stored.dataValue())) {
        const auto* start = reinterpret_cast<const char*>(stored.dataValue().data());
        std::vector<uint32_t> offsets;
        offsets.reserve(records->size());
        for (auto record : *records)
            offsets.push_back(uint32_t(record.data() - start));
        keep(stored, *list, std::move(offsets));
    }
    return list;
}

platform::Value MailStoreArchive::archive(const List& list) {
    // The list is the base's mails, some of them gone, with new mails in front: walking
    // both from the back, a listed mail that is not the base's next one is new, or the
    // base's ones before it went. (A list made otherwise only costs more encoding.)
    std::vector<uint32_t> reused(list.size(), kNoRecord);
    size_t next = messages_.size();
    for (size_t i = list.size(); i-- > 0 && next > 0;) {
        while (next > 0 && messages_[next - 1] != list[i])
            --next;
        if (next == 0) break;
        --next;
        if (flags_[next] == flagsOf(*list[i])) reused[i] = uint32_t(next);
    }
    KavoMessageList encoded;
    for (size_t i = 0; i < list.size(); ++i)
        if (reused[i] == kNoRecord) encoded.push_back(list[i]);
    const platform::Bytes fresh = KavoMessage::archiveList(encoded);
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
    clear();
    keep(bytes, KavoMessageList(list.begin(), list.end()), std::move(offsets));
    return bytes;
}

} // namespace kavo
