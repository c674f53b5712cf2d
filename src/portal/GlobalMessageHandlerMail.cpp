#include "platform/foundation/Text.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/ReplyFields.h"

#include <algorithm>

namespace kavo {

namespace {

// Reply 45: notices by sub-command.
constexpr uint8_t kNoticeDialog = 0;
constexpr uint8_t kNoticeEvent = 1;
constexpr uint8_t kNoticeVersion = 2;
constexpr uint8_t kNoticePresents = 3;

// The sender and text of a chat or a mail, after the `head` fields: int id, UTF
// name (lowered), UTF text.
template <typename... Fields> std::shared_ptr<KavoMessage> readChat(ReplyReader& reader, const Fields&... head) {
    auto chat = readRecord<KavoMessage>(reader, head..., asInt32(&KavoMessage::setFromID),
                                        asUtf(&KavoMessage::setFromName), asUtf(&KavoMessage::setMessage));
    chat->setFromName(platform::toLower(chat->fromName()));
    return chat;
}

} // namespace

bool GlobalMessageHandler::handleMail(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 1701:
        receiveMailbox(reader);
        return true;
    case 45:
        receiveNotice(reader);
        return true;
    case 5: {
        auto chat = readChat(reader);
        if (reader.ok()) logic.onChatFromWithMessage(std::move(chat));
        return true;
    }
    case 1707: {
        auto chat = readChat(reader, asInt64(&KavoMessage::setTime));
        if (reader.ok()) logic.onChatOnRoomWithMessage(std::move(chat));
        return true;
    }
    case 46: {
        const auto [text] = readValues(reader, asUtf);
        if (reader.ok()) showUnlessSigningIn([this, text] { doShowEventWithMessage(text); });
        return true;
    }
    default:
        return false;
    }
}

void GlobalMessageHandler::receiveMailbox(ReplyReader& reader) {
    KavoMessageList batch = readRows(reader, [](ReplyReader& row) {
        return readChat(row, asInt32(&KavoMessage::setType), asInt64(&KavoMessage::setTime));
    });
    std::reverse(batch.begin(), batch.end()); // the last row first
    if (!batch.empty()) globalLogicHandler().onListNewMessage(std::move(batch));
}

void GlobalMessageHandler::receiveNotice(ReplyReader& reader) {
    const auto [sub] = readValues(reader, asByte);
    if (!reader.ok() || uint8_t(sub) > kNoticePresents) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (uint8_t(sub)) {
    case kNoticeDialog: {
        const auto [text] = readValues(reader, asUtf);
        if (reader.ok()) showUnlessSigningIn([this, text] { globalLogicHandler().showAnswerToWaits(text); });
        break;
    }
    case kNoticeEvent: {
        const auto [text] = readValues(reader, asUtf);
        if (reader.ok()) showUnlessSigningIn([this, text] { doShowEventWithMessage(text); });
        break;
    }
    case kNoticeVersion: {
        const auto [info, url] = readValues(reader, asUtf, asUtf);
        if (reader.ok()) showUnlessSigningIn([&logic, info, url] { logic.onVersionWithInfo(info, url); });
        break;
    }
    case kNoticePresents: {
        AssetList presents = readRecords<Asset>(reader, asInt32(&Asset::setAssetId), asUtf(&Asset::setName));
        showUnlessSigningIn([&logic, presents] { logic.onPresentReceived(presents); });
        break;
    }
    }
}

} // namespace kavo
