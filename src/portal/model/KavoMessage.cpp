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
    return message;
}

platform::Bytes KavoMessage::archiveList(const KavoMessageList& messages) {
    uint32_t count = 0;
    for (const auto& message : messages)
        if (message) ++count;
    // Straight to bytes: a long mailbox is archived without a record object per mail.
    platform::ArchiveEncoder encoder(count);
    for (const auto& message : messages) {
        if (!message) continue;
        encoder.beginRecord(kArchiveClassName);
        encoder.encodeInt64(message->fromID_, "fromID");
        encoder.encodeInt64(message->type_, "type");
        encoder.encodeInt64(message->time(), "time");
        encoder.encodeString(message->fromName_, "fromName");
        encoder.encodeString(message->message_, "message");
        encoder.encodeBool(message->isRead_ != 0, "isRead");
        encoder.encodeBool(message->isReply_ != 0, "isReply");
        encoder.encodeBool(message->isRequestAddFriend_ != 0, "isRequestAddFriend");
        encoder.encodeBool(message->isSee_ != 0, "isSee");
    }
    return encoder.finish();
}

std::optional<KavoMessageList> KavoMessage::unarchiveList(const platform::Bytes& bytes) {
    KavoMessageList messages;
    bool otherRecords = false;
    const bool ok = platform::KeyedArchive::forEachRecord(bytes, [&](const platform::ArchiveRecordView& record) {
        if (otherRecords) return;
        // An archive of other records is not a mailbox.
        if (record.className() != kArchiveClassName) {
            otherRecords = true;
            return;
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
        messages.push_back(std::move(message));
    });
    if (!ok || otherRecords) return std::nullopt;
    return messages;
}

} // namespace kavo
