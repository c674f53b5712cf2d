#include "platform/foundation/Value.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/ReplyFields.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kavo {

namespace {

// Reply 44: the top-up channels of these types carry a sub-id.
constexpr int8_t kChannelsWithSubId[] = {1, 2, 4, 8};

} // namespace

bool GlobalMessageHandler::handleMoney(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 44:
        receiveMoneyInfo(reader);
        return true;
    case 71:
        receivePurchaseInfo(reader);
        return true;
    case 1401:
        receiveLottoHistory(reader);
        return true;
    case 17: {
        const auto [newMoney] = readValues(reader, asInt64);
        if (!reader.ok()) return true;
        const auto [info] = readValues(reader, asUtf);
        // A cut-short text still carries the balance; there is just nothing to say.
        logic.onTransferMoneyWithNewMoney(newMoney, reader.ok() ? info : std::string());
        return true;
    }
    case 1400:
        readAndCall(reader, logic, &GlobalLogicHandler::onGetTimeNextRound, asInt32);
        return true;
    case 1402:
        logic.onGetMyLottoHistory(readRecords<MyLotto>(reader, asInt32(&MyLotto::setNumber),
                                                       asInt32(&MyLotto::setMoney), asFlag(&MyLotto::setIsUsed)));
        return true;
    case 1403:
        readAndCall(reader, logic, &GlobalLogicHandler::onGetBuyLotto, asFlag, asInt32, asUtf);
        return true;
    case 1404:
        readAndCall(reader, logic, &GlobalLogicHandler::onReceivedLottoResult, asInt32, asUtf);
        return true;
    default:
        return false;
    }
}

void GlobalMessageHandler::receiveMoneyInfo(ReplyReader& reader) {
    globalLogicHandler().onMoneyInfo(readRows(reader, [](ReplyReader& row) {
        const auto [type] = readValues(row, asByte);
        auto channel = std::make_shared<ChargeMoneyInfo>(type);
        if (std::find(std::begin(kChannelsWithSubId), std::end(kChannelsWithSubId), type) !=
            std::end(kChannelsWithSubId))
            readInto(row, *channel, asByte(&ChargeMoneyInfo::setSubId));
        readInto(row, *channel, asUtf(&ChargeMoneyInfo::setInfo), asUtf(&ChargeMoneyInfo::setSmsContent),
                 asUtf(&ChargeMoneyInfo::setSmsTo));
        return channel;
    }));
}

void GlobalMessageHandler::receivePurchaseInfo(ReplyReader& reader) {
    const auto [unused, status, text, receipt] = readValues(reader, asByte, asByte, asUtf, asUtf);
    if (!reader.ok()) return;
    platform::Value info = platform::Value::emptyDictionary();
    info.set("status", std::to_string(uint8_t(status)));
    info.set("message", text);
    info.set("receiptString", receipt);
    // The balance may be missing: the answer is still given, without a "money" entry.
    if (reader.hasMore()) {
        const auto [money] = readValues(reader, asInt64);
        if (reader.ok()) info.set("money", std::to_string(money));
    }
    globalLogicHandler().onPurchaseInfo(std::move(info));
}

void GlobalMessageHandler::receiveLottoHistory(ReplyReader& reader) {
    platform::Value history = platform::Value::emptyArray();
    for (auto& [number, text] : readRows(reader, [](ReplyReader& row) { return readValues(row, asInt32, asUtf); })) {
        history.append(number);
        history.append(std::move(text));
    }
    globalLogicHandler().onGetLottoHistory(std::move(history));
}

} // namespace kavo
