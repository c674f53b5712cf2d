#pragma once

#include "platform/foundation/NotificationCenter.h"
#include "portal/model/ChargeMoneyInfo.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// What the shop's top-up tab and the top-up panel do alike with a channel row and
// with the store's answers. `buyer` is the screen that owns the purchase: only its
// own outcomes reach it.
class TopupActions {
public:
    static constexpr int8_t kSms = 0;
    static constexpr int8_t kCard = 2;
    static constexpr int8_t kStore = 5;
    static constexpr int8_t kPromotion = 8;

    // The SMS body: the channel's prefix followed directly by the player's name.
    static std::string smsBody(const ChargeMoneyInfo& channel);
    // Opens the composer when the device can send text; otherwise shows the syntax so
    // that the player can send it by hand.
    static void sendSms(const ChargeMoneyInfo& channel);
    // Starts the store purchase of the channel's product.
    static void buyInApp(const ChargeMoneyInfo& channel, const void* buyer);
    // Sends the receipt of a purchase to the server for the remembered row; a row
    // outside the list sends nothing.
    static void sendReceipt(const std::vector<std::shared_ptr<ChargeMoneyInfo>>& rows, int row,
                            const platform::Notification& purchased);
    // Sends every receipt still pending for the signed-in user once more, so that a
    // paid purchase whose answer was lost is credited after the next sign-in.
    // Each distinct receipt goes once per sign-in.
    static void resendPendingReceipts();
    // True once for the answer to a receipt sent again at this sign-in: its refusal
    // was shown to the player when it first came.
    static bool takeAnswerToReceiptSentAgain(const std::string& receipt);
    // Shows the store's failure, except for the buyer's own cancel.
    static void showFailure(const platform::Notification& failed);

    // Observes the helper's three notifications; each handler is called only for
    // outcomes whose sender is `buyer` ("ProductsLoaded" always). Returns the tokens.
    struct Handlers {
        std::function<void(const platform::Notification&)> purchased;
        std::function<void(const platform::Notification&)> failed;
        std::function<void()> loaded;
    };
    static std::vector<platform::NotificationCenter::Token> observe(const void* buyer, Handlers handlers);
    static void stopObserving(std::vector<platform::NotificationCenter::Token>& tokens);
};

} // namespace kavo
