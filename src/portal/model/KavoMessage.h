#pragma once

#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/Value.h"
#include "portal/model/AtomicInt64.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

class KavoMessage;
using KavoMessageList = std::vector<std::shared_ptr<KavoMessage>>;

// One message of the mailbox or of a chat: a private or room chat line, a server
// mail, a friend request. The signed-in player's mailbox survives between runs as
// one keyed archive of these records (see archiveList).
class KavoMessage {
public:
    // Kinds the client itself looks at; the server sends others too.
    static constexpr int32_t kTypeFriendRequest = 3;
    // The mailbox keeps only the newest batch of this kind.
    static constexpr int32_t kTypeLatestOnly = 4;

    int32_t fromID() const { return fromID_; }
    void setFromID(int32_t value) { fromID_ = value; }
    // Lower case when it came from the server.
    const std::string& fromName() const { return fromName_; }
    void setFromName(std::string value) { fromName_ = std::move(value); }
    const std::string& message() const { return message_; }
    void setMessage(std::string value) { message_ = std::move(value); }
    int8_t isRead() const { return isRead_; }
    void setIsRead(int8_t value) { isRead_ = value; }
    int8_t isReply() const { return isReply_; }
    void setIsReply(int8_t value) { isReply_ = value; }
    int32_t type() const { return type_; }
    void setType(int32_t value) { type_ = value; }
    int64_t time() const { return time_.get(); }
    void setTime(int64_t value) { time_.set(value); }
    int8_t isRequestAddFriend() const { return isRequestAddFriend_; }
    void setIsRequestAddFriend(int8_t value) { isRequestAddFriend_ = value; }
    int8_t isSee() const { return isSee_; }
    void setIsSee(int8_t value) { isSee_ = value; }
    // A line a player wrote to this player (a private chat line, reply 5), marked as it
    // arrives: it belongs to its sender's conversation, not to the notices. Archived under
    // a key of its own, which a client that does not know it passes over.
    int8_t isPrivateLine() const { return isPrivateLine_; }
    void setIsPrivateLine(int8_t value) { isPrivateLine_ = value; }
    // Set by the chat screens; not archived.
    int32_t senderAvatarID() const { return senderAvatarID_; }
    void setSenderAvatarID(int32_t value) { senderAvatarID_ = value; }
    int32_t forWho() const { return forWho_; }
    void setForWho(int32_t value) { forWho_ = value; }

    // The class name the archive records carry.
    static constexpr const char* kArchiveClassName = "KavoMessage";

    // The record's archived fields, in this order: "fromID" (int), "type" (int),
    // "time" (64-bit int), "fromName", "message" (objects), "isRead", "isReply",
    // "isRequestAddFriend", "isSee" (bools), and "isPrivateLine" (bool) on a private line
    // only. senderAvatarID and forWho are left out.
    platform::ArchiveRecord encode() const;
    // Reads the same keys; a missing key reads as 0, no or no text.
    static std::shared_ptr<KavoMessage> decode(const platform::ArchiveRecord& record);

    // The archived flags, one bit each: isRead, isReply, isRequestAddFriend, isSee,
    // isPrivateLine.
    uint8_t archivedFlags() const;
    // The whole list as archive bytes, newest first as given. With `flags` (one per
    // message), those are archived instead of the messages' own: a copy taken where the
    // flags are set lets another thread archive the list as it was then.
    static platform::Bytes archiveList(const KavoMessageList& messages, const std::vector<uint8_t>* flags = nullptr);
    // Takes one message of an archive and the flags to archive for it.
    using ArchiveVisitor = std::function<void(const KavoMessage&, uint8_t flags)>;
    // The archive of the messages that `each` hands to the visitor it is given, newest first
    // as handed. `each` runs twice (the bytes are sized first) and hands the same both times.
    // A list held in parts is archived so without being copied into one.
    static platform::Bytes archiveEach(const std::function<void(const ArchiveVisitor&)>& each);
    // The list back, or nothing when the bytes are not a readable archive of
    // messages (corrupt, cut short or of another layout).
    static std::optional<KavoMessageList> unarchiveList(const platform::Bytes& bytes);
    // Hands each message of the archive to `each` in order, for as long as `each` returns
    // true, so that a long list goes straight where it is kept and its taker can stop it
    // half way. False when the bytes are not a readable archive of messages, or `each`
    // stopped: what `each` was given then is to be dropped.
    static bool unarchiveEach(const platform::Bytes& bytes,
                              const std::function<bool(std::shared_ptr<KavoMessage>)>& each);

private:
    friend class MailStoreIndex;

    // The key of the identity a mailbox's index last counted this message under (0: none),
    // which its removal uncounts whatever the message became since. A copy is another
    // message, counted nowhere; a message given another's fields stays counted as it was.
    struct CountedKey {
        uint64_t value = 0;
        CountedKey() = default;
        CountedKey(const CountedKey& /*other*/) {}
        CountedKey& operator=(const CountedKey& /*other*/) { return *this; }
    };

    // Adds this mail's record, with the archived flags `bits`.
    void archiveInto(platform::ArchiveEncoder& encoder, uint8_t bits) const;

    // Largest first: a mailbox holds 100,000 of these, each as small as its fields allow.
    std::string fromName_;
    std::string message_;
    AtomicInt64 time_;
    CountedKey countedKey_;
    int32_t fromID_ = 0;
    int32_t type_ = 0;
    int32_t senderAvatarID_ = 0;
    int32_t forWho_ = 0;
    int8_t isRead_ = 0;
    int8_t isReply_ = 0;
    int8_t isRequestAddFriend_ = 0;
    int8_t isSee_ = 0;
    int8_t isPrivateLine_ = 0;
};

} // namespace kavo
