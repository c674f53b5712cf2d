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
    std::vector<platform::ArchiveRecord> records;
    records.reserve(messages.size());
    for (const auto& message : messages) {
        if (message) records.push_back(message->encode());
    }
    return platform::KeyedArchive::archive(records);
}

std::optional<KavoMessageList> KavoMessage::unarchiveList(const platform::Bytes& bytes) {
    auto records = platform::KeyedArchive::unarchive(bytes);
    if (!records) return std::nullopt;
    KavoMessageList messages;
    messages.reserve(records->size());
    for (const auto& record : *records) {
        // An archive of other records is not a mailbox.
        if (record.className() != kArchiveClassName) return std::nullopt;
        messages.push_back(decode(record));
    }
    return messages;
}

} // namespace kavo
