#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "portal/ReplyFields.h"

#include <tuple>

namespace kavo {

namespace {

// The key of the name the log-in request stored.
constexpr const char* kLoginUsernameKey = "KAVO_LOGIN_USERNAME";
// Reply 72: this sub means "the real sub follows, without text".
constexpr uint8_t kServerInfoNoText = 255;

} // namespace

bool GlobalMessageHandler::handleSignIn(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 3:
        saveUserInfoWithMessage(reader);
        return true;
    case 72:
        receiveServerInfo(reader);
        return true;
    case 4: {
        const auto [reason] = readValues(reader, asUtf);
        if (!reader.ok()) return true;
        doShowAlertViewWithMessage(reason);
        GlobalService::getInstance().disconnect();
        return true;
    }
    case 220: {
        // A cut-short answer reads as a refusal: the connection is given up either way.
        const auto [accepted] = readValues(reader, asByte);
        accepted == 1 ? logic.onSetClientInfoOK() : logic.onConnectFail();
        return true;
    }
    case 48:
        readAndCall(reader, logic, &GlobalLogicHandler::onVersionWithInfo, asUtf, asUtf);
        return true;
    case 2601:
        // The server has the push token: it need not be sent again.
        platform::runOnMainThread([] {
            auto& defaults = platform::UserDefaults::standard();
            defaults.removeObjectForKey("PNDT");
            defaults.synchronize();
        });
        return true;
    case 2800: {
        const auto [text] = readValues(reader, asUtf);
        if (reader.ok()) platform::log("server: " + text);
        return true;
    }
    case 147:
        readAndCall(reader, logic, &GlobalLogicHandler::onAdminCommandResponseWithText, asUtf);
        return true;
    // Registration, recovery and the social-network log-in.
    case 35:
        readAndCall(reader, logic, &GlobalLogicHandler::onRegisterInfoWithUsername, asUtf, asFlag, asUtf, asUtf);
        return true;
    case 73:
        readAndCall(reader, logic, &GlobalLogicHandler::onGetSMSSyntaxWithSubId, asByte, asUtf, asUtf);
        return true;
    case 2302:
        logic.onInvalidLoginSN();
        return true;
    case 2303:
        logic.onCreateKavoAccount();
        return true;
    case 2306: {
        const auto [iddb, name] = readValues(reader, asInt32, asUtf);
        if (!reader.ok()) return true;
        // The signed-in player is read by the screens: it changes on the main thread.
        platform::runOnMainThread([iddb, name] {
            const auto me = UIController::myInfo();
            me->setIDDB(iddb);
            me->setName(name);
        });
        logic.onUpdateUsername(name);
        return true;
    }
    default:
        return false;
    }
}

void GlobalMessageHandler::saveUserInfoWithMessage(ReplyReader& reader) {
    auto player = readRecord<Player>(reader, asInt32(&Player::setIDDB), asInt64(&Player::setMoney),
                                     asInt16(&Player::setAvatar), asInt32(&Player::setExp));
    if (!reader.ok()) return;
    player->setName(platform::UserDefaults::standard().stringForKey(kLoginUsernameKey));

    GlobalService& service = GlobalService::getInstance();
    service.sendClientInformationV2();
    service.getInfoWithKey(11); // the server list
    service.sendClientInformationV4();
    // The player's stored mailbox: read ahead since the log-in form showed him, or else
    // read, decoded and indexed here, on the reader thread, while the server answers those
    // requests; the main thread only takes it in.
    StoredMailbox mailbox = UIController::readListMessage(player->IDDB());
    globalLogicHandler().onLoginSuccess(std::move(player), std::move(mailbox));
}

void GlobalMessageHandler::receiveServerInfo(ReplyReader& reader) {
    auto [subId] = readValues(reader, asByte);
    std::string info;
    if (uint8_t(subId) == kServerInfoNoText) {
        std::tie(subId) = readValues(reader, asByte);
    } else {
        std::tie(info) = readValues(reader, asUtf);
    }
    if (reader.ok()) globalLogicHandler().onGetInfoWithSubId(uint8_t(subId), info);
}

} // namespace kavo
