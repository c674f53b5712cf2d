#include "account/TopupActions.h"

#include "account/KavoIAPHelper.h"
#include "account/PendingReceipts.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/Log.h"
#include "platform/services/PaymentQueue.h"
#include "platform/services/SmsComposer.h"
#include "portal/GlobalService.h"

#include <set>

namespace kavo {

std::string TopupActions::smsBody(const ChargeMoneyInfo& channel) {
    return channel.smsContent() + UIController::myInfo()->name();
}

void TopupActions::sendSms(const ChargeMoneyInfo& channel) {
    const std::string body = smsBody(channel);
    if (UIController::checkVersionToSendSMS() && platform::SmsComposer::canSendText()) {
        GlobalService::getInstance().sendSMSWithData(body, channel.smsTo());
        return;
    }
    UIController::showNotice(
        platform::formatText(Resources::getInstance().textWithKey("KAVO_syntaxSMS1"), {body, channel.smsTo()}));
}

void TopupActions::buyInApp(const ChargeMoneyInfo& channel, const void* buyer) {
    Resources::getInstance().setCurrentPurchaseName(channel.info());
    KavoIAPHelper::sharedHelper().buyProductIdentifier(channel.smsContent(), buyer);
}

void TopupActions::sendReceipt(const std::vector<std::shared_ptr<ChargeMoneyInfo>>& rows, int row,
                               const platform::Notification& purchased) {
    if (row < 0 || size_t(row) >= rows.size() || !rows[size_t(row)]) {
        platform::log("purchase: the remembered row " + std::to_string(row) + " is gone; the receipt stays pending");
        return;
    }
    GlobalService::getInstance().sendReceiptString(*rows[size_t(row)], purchased.userInfo["receipt"].stringValue());
}

namespace {

// Receipts sent again at this sign-in whose answer has not come yet.
std::set<std::string>& receiptsSentAgain() {
    static std::set<std::string> receipts;
    return receipts;
}

} // namespace

void TopupActions::resendPendingReceipts() {
    const ChargeMoneyInfo storeChannel(kStore);
    receiptsSentAgain().clear();
    // A restore can record one receipt several times; the server needs it once.
    for (const auto& receipt : PendingReceipts::receiptsOf(PendingReceipts::currentUser()))
        if (receiptsSentAgain().insert(receipt).second)
            GlobalService::getInstance().sendReceiptString(storeChannel, receipt);
}

bool TopupActions::takeAnswerToReceiptSentAgain(const std::string& receipt) {
    return receiptsSentAgain().erase(receipt) > 0;
}

void TopupActions::showFailure(const platform::Notification& failed) {
    if (failed.userInfo["errorCode"].intValue() == platform::kPaymentCancelledErrorCode) return;
    UIController::showNotice(failed.userInfo["error"].stringValue());
}

std::vector<platform::NotificationCenter::Token> TopupActions::observe(const void* buyer, Handlers handlers) {
    auto& center = platform::NotificationCenter::defaultCenter();
    return {
        center.addObserver(IAPHelper::kProductPurchased,
                           [buyer, handler = std::move(handlers.purchased)](const platform::Notification& note) {
                               if (note.sender == buyer && handler) handler(note);
                           }),
        center.addObserver(IAPHelper::kProductPurchaseFailed,
                           [buyer, handler = std::move(handlers.failed)](const platform::Notification& note) {
                               if (note.sender == buyer && handler) handler(note);
                           }),
        center.addObserver(IAPHelper::kProductsLoaded,
                           [handler = std::move(handlers.loaded)](const platform::Notification&) {
                               if (handler) handler();
                           }),
    };
}

void TopupActions::stopObserving(std::vector<platform::NotificationCenter::Token>& tokens) {
    for (auto token : tokens)
        platform::NotificationCenter::defaultCenter().removeObserver(token);
    tokens.clear();
}

} // namespace kavo
