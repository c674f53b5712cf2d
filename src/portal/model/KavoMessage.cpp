#include "portal/model/KavoMessage.h"

namespace kavo {

platform::ArchiveRecord KavoMessage::encode() const {
    platform::ArchiveRecord record(kArchiveClassName);
    record.encodeInt(fromID_, "fromID");
    record.encodeInt(type_, "type");
    record.encodeInt64(time(), "time");
    record.encodeString(fromName_, "fromName");
    record.encodeString(message_, "message");
    record.encodeBool(isRead_ != 0, "isRead");
    record.encodeBool(isReply_ != 0, "isReply");
    record.encodeBool(isRequestAddFriend_ != 0, "isRequestAddFriend");
    record.encodeBool(isSee_ != 0, "isSee");
    if (isPrivateLine_) record.encodeBool(true, "isPrivateLine");
    return record;
}

std::shared_ptr<KavoMessage> KavoMessage::decode(const platform::ArchiveRecord& record) {
    auto message = std::make_shared<KavoMessage>();
    message->setFromID(record.decodeInt("fromID"));
    message->setType(record.decodeInt("type"));
    message->setTime(record.decodeInt64("time"));
    message->setFromName(record.decodeString("fromName"));
    message->setMessage(record.decodeString("message"));
    message->setIsRead(record.decodeBool("isRead") ? 1 : 0);
    message->setIsReply(record.decodeBool("isReply") ? 1 : 0);
    message->setIsRequestAddFriend(record.decodeBool("isRequestAddFriend") ? 1 : 0);
    message->setIsSee(record.decodeBool("isSee") ? 1 : 0);
    message->setIsPrivateLine(record.decodeBool("isPrivateLine") ? 1 : 0);
    return message;
}

uint8_t KavoMessage::archivedFlags() const {
    return uint8_t((isRead_ != 0) | (isReply_ != 0) << 1 | (isRequestAddFriend_ != 0) << 2 | (isSee_ != 0) << 3 |
                   (isPrivateLine_ != 0) << 4);
}

void KavoMessage::archiveInto(platform::ArchiveEncoder& encoder, uint8_t bits) const {
    encoder.beginRecord(kArchiveClassName);
    encoder.encodeInt64(fromID_, "fromID");
    encoder.encodeInt64(type_, "type");
    encoder.encodeInt64(time(), "time");
    encoder.encodeString(fromName_, "fromName");
    encoder.encodeString(message_, "message");
    encoder.encodeBool(bits & 1, "isRead");
    encoder.encodeBool(bits & 2, "isReply");
    encoder.encodeBool(bits & 4, "isRequestAddFriend");
    encoder.encodeBool(bits & 8, "isSee");
    // Only a private line carries its mark: the rest of the mailbox is stored as before.
    if (bits & 16) encoder.encodeBool(true, "isPrivateLine");
}

platform::Bytes KavoMessage::archiveList(const KavoMessageList& messages, const std::vector<uint8_t>* flags) {
    return archiveEach([&](const ArchiveVisitor& visit) {
        for (size_t i = 0; i < messages.size(); ++i) {
            const KavoMessage* message = messages[i].get();
            if (message) visit(*message, flags && i < flags->size() ? (*flags)[i] : message->archivedFlags());
        }
    });
}

platform::Bytes KavoMessage::archiveEach(const std::function<void(const ArchiveVisitor&)>& each) {
    uint32_t count = 0;
    uint32_t privateLines = 0;
    size_t texts = 0;
    each([&](const KavoMessage& message, uint8_t flags) {
        ++count;
        texts += message.fromName_.size() + message.message_.size();
        privateLines += (flags & 16) != 0;
    });
    // The bytes are sized beforehand: grown as they come, 100,000 mails' archive would
    // need its old and its doubled buffer at once, half as much again as the archive.
    const auto archivedSize = [](uint32_t records, uint8_t bits) {
        platform::ArchiveEncoder encoder(records);
        for (uint32_t i = 0; i < records; ++i)
            KavoMessage().archiveInto(encoder, bits);
        return encoder.finish().size();
    };
    const size_t frame = archivedSize(0, 0);
    const size_t record = archivedSize(1, 0) - frame;
    const size_t mark = archivedSize(1, 16) - frame - record;
    // Straight to bytes: a long mailbox is archived without a record object per mail.
    platform::ArchiveEncoder encoder(count, frame + count * record + privateLines * mark + texts);
    each([&encoder](const KavoMessage& message, uint8_t flags) { message.archiveInto(encoder, flags); });
    return encoder.finish();
}

std::optional<KavoMessageList> KavoMessage::unarchiveList(const platform::Bytes& bytes) {
    KavoMessageList messages;
    if (!unarchiveEach(bytes, [&messages](std::shared_ptr<KavoMessage> m) {
            messages.push_back(std::move(m));
            return true;
        }))
        return std::nullopt;
    return messages;
}

bool KavoMessage::unarchiveEach(const platform::Bytes& bytes,
                                const std::function<bool(std::shared_ptr<KavoMessage>)>& each) {
    bool otherRecords = false;
    const bool ok = platform::KeyedArchive::forEachRecord(bytes, [&](const platform::ArchiveRecordView& record) {
        // An archive of other records is not a mailbox.
        if (record.className() != kArchiveClassName) {
            otherRecords = true;
            return false;
        }
        auto message = std::make_shared<KavoMessage>();
        message->fromID_ = record.decodeInt("fromID");
        message->type_ = record.decodeInt("type");
        message->setTime(record.decodeInt64("time"));
        message->fromName_ = std::string(record.decodeString("fromName"));
        message->message_ = std::string(record.decodeString("message"));
        message->isRead_ = record.decodeBool("isRead") ? 1 : 0;
        message->isReply_ = record.decodeBool("isReply") ? 1 : 0;
        message->isRequestAddFriend_ = record.decodeBool("isRequestAddFriend") ? 1 : 0;
        message->isSee_ = record.decodeBool("isSee") ? 1 : 0;
        message->isPrivateLine_ = record.decodeBool("isPrivateLine") ? 1 : 0;
        return each(std::move(message));
    });
    return ok && !otherRecords;
}

} // namespace kavo
