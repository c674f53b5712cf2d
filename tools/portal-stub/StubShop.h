#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubHistory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class SqliteDatabase;
}

namespace portalstub {

// The stub's shop and top-up answers: the channel list, the promotion text, pages of
// items and avatars, purchases for oneself, gifts to friends (a person's gift is his from
// then on), card and store top-ups (each card and store receipt credited once), and a
// history of all of it. A purchase of what the shop lists is paid in one step with its
// check and its line in the history; one the balance does not cover, or of anything the
// shop never listed, is refused with its reason and changes nothing. The money is the
// session ledger's, the history the person's account's.
class StubShop {
public:
    static constexpr int kPages = 3;
    // What a card whose serial and code are digits adds.
    static constexpr int64_t kCardValue = 50000;
    // What a store receipt adds.
    static constexpr int64_t kStoreValue = 20000;
    // What a sent top-up text message adds.
    static constexpr int64_t kSmsValue = 10000;
    // The types of the channels the shop lists the top-ups under (71 names its channel by
    // the first byte): a scratch card, a store purchase, a promotion card.
    static constexpr int8_t kCardChannel = 2;
    static constexpr int8_t kStoreChannel = 5;
    static constexpr int8_t kPromotionChannel = 8;

    std::vector<StubCommand> commands();
    // The player who signed in; the money the sign-in reply carries.
    int64_t signIn(const std::string& name);
    // The answer to information key 13 (the promotion text).
    static std::string promotionText();
    static kavo::Message channels();
    // The price of an item or avatar the shop lists.
    static int32_t priceOf(int32_t id);
    // The names the shop lists an avatar, an item and a scratch card by (a card by its
    // carrier's sub id), in the client's language.
    static std::string avatarName(int32_t id);
    static std::string itemName(int32_t id);
    static std::string cardName(int8_t carrier);
    // The signed-in person pays `price` for `what` and it is kept in his history, with
    // what `keep` keeps (what he now owns, false when it was not kept), in one step: the
    // reason of the refusal (in his language: not `listed` by the shop, what `refusedIn`
    // says first in the same step, more than his balance (`tooDear` when given), or the
    // accounts file failing or not keeping what he bought, which is then not paid for), or
    // empty when it is bought.
    static std::string buy(bool listed, int64_t price, const HistoryEntry& what,
                           const std::function<bool(platform::SqliteDatabase&)>& keep = {},
                           const std::function<std::string(platform::SqliteDatabase&)>& refusedIn = {},
                           const std::string& tooDear = {});

private:
    using Reply = portalserver::PortalServer::Reply;
    static void onAvatarPage(kavo::Message& request, Reply& reply);
    static void onItemPage(kavo::Message& request, Reply& reply);
    static void onCart(kavo::Message& request, Reply& reply);
    static void onAvatarBought(kavo::Message& request, Reply& reply);
    static void onItemGiven(kavo::Message& request, Reply& reply);
    static void onAvatarGiven(kavo::Message& request, Reply& reply);
    // What a gift (104 `sub`) gives: an avatar or an item (StubProfile's kinds) by its id,
    // and whether the shop lists it.
    struct Present {
        int8_t sub;
        char kind;
        int32_t id;
        bool listed;
    };
    // The answer to a gift of `present` to the friend named `to`.
    static void give(const Present& present, const HistoryEntry& what, const std::string& to, Reply& reply);
    // The row of the top-up by a card of the channel `type`.
    static StubCommand cardTopUp(int8_t type);
    void onTextMessageSent(kavo::Message& request, Reply& reply);
    static void onHistory(kavo::Message& request, Reply& reply);
    int64_t money();
    // Adds a top-up and its history line: the balance after, or nothing when nothing was
    // added (the accounts file failed, or the ledger refused it).
    std::optional<int64_t> credit(int64_t amount, const HistoryEntry& what);
    // The same inside the caller's transaction.
    static std::optional<int64_t> creditIn(platform::SqliteDatabase& db, int64_t amount, const HistoryEntry& what);
    void onStoreReceipt(kavo::Message& request, Reply& reply);
    static kavo::Message topUpAnswer(int8_t type, const std::optional<int64_t>& money, const std::string& added,
                                     const std::string& receipt = "");
    static kavo::Message refusedTopUp(int8_t type, const std::string& reason);
};

} // namespace portalstub
