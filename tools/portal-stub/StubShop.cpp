#include "tools/portal-stub/StubShop.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubRecords.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <cctype>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr int kRowsPerPage = 4;
// The top-up text message: this text, then the player's name, to this number.
constexpr const char* kSmsText = "KAVO NAP ";
constexpr const char* kSmsNumber = "8777";

// The scratch cards by carrier: "Thẻ <carrier>", "<carrier> card".
struct CardName {
    int8_t subId;
    const char* carrier;
};
constexpr CardName kCards[] = {{1, "gate"}, {2, "viettel"}, {3, "vina"}, {4, "Mobifone"}};

// Items and avatars of a page: ids by page and row, prices that grow with them.
int32_t itemId(int page, int row) {
    return 100 + page * kRowsPerPage + row;
}
int32_t avatarId(int page, int row) {
    return 20 + page * kRowsPerPage + row;
}
bool listedItem(int32_t id) {
    return id >= itemId(0, 0) && id <= itemId(StubShop::kPages - 1, kRowsPerPage - 1);
}
bool listedAvatar(int32_t id) {
    return id >= avatarId(0, 0) && id <= avatarId(StubShop::kPages - 1, kRowsPerPage - 1);
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (!std::isdigit(c)) return false;
    return true;
}

// A refusal where the reply has no place for one: the one-button notice with its reason.
void refuse(PortalServer::Reply& reply, const std::string& reason) {
    Message notice(45);
    notice.writeByte(0);
    notice.writeUTF(reason);
    reply.send(notice);
}

} // namespace

int32_t StubShop::priceOf(int32_t id) {
    return 1000 * (id % 10 + 1);
}

std::string StubShop::avatarName(int32_t id) {
    return "Avatar " + std::to_string(id);
}

std::string StubShop::itemName(int32_t id) {
    return say("Vật phẩm ", "Item ") + std::to_string(id);
}

std::string StubShop::cardName(int8_t carrier) {
    for (const auto& card : kCards)
        if (card.subId == carrier) return say(std::string("Thẻ ") + card.carrier, std::string(card.carrier) + " card");
    return say("Thẻ cào", "Scratch card");
}

int64_t StubShop::signIn(const std::string& name) {
    return StubLedger::session().signIn(name);
}

int64_t StubShop::money() {
    return StubLedger::session().balance();
}

std::string StubShop::buy(bool listed, int64_t price, const HistoryEntry& what,
                          const std::function<bool(platform::SqliteDatabase&)>& keep,
                          const std::function<std::string(platform::SqliteDatabase&)>& refusedIn,
                          const std::string& tooDear) {
    if (!listed) return say("Cửa hàng không bán món này", "The shop does not sell this");
    if (price == 0) return "";
    const std::string person = StubLedger::session().player();
    bool kept = true;
    std::string refusal;
    const auto paid = StubStore::session().attempt([&](platform::SqliteDatabase& db) {
        // Refused for what it is (an avatar he has, a gift to no one), it takes nothing.
        if (refusedIn) refusal = refusedIn(db);
        if (!refusal.empty()) return false;
        if (!StubLedger::session().spendIn(db, price, what.logged())) return false;
        StubRecords::addHistory(db, person, what, -price);
        // What is not his is not paid for: the payment is undone with it.
        kept = !keep || keep(db);
        return kept;
    });
    if (paid == StubStore::Outcome::Failed || !kept) return StubLedger::tryAgainLater();
    if (!refusal.empty()) return refusal;
    if (paid == StubStore::Outcome::Kept) return "";
    return tooDear.empty() ? say("Không đủ tiền", "Not enough money") : tooDear;
}

std::optional<int64_t> StubShop::credit(int64_t amount, const HistoryEntry& what) {
    std::optional<int64_t> money;
    const bool kept = StubStore::session().transaction([&](platform::SqliteDatabase& db) {
        money = creditIn(db, amount, what);
        return money.has_value();
    });
    if (!kept) return std::nullopt;
    return money;
}

std::optional<int64_t> StubShop::creditIn(platform::SqliteDatabase& db, int64_t amount, const HistoryEntry& what) {
    const auto money = StubLedger::session().creditIn(db, amount, what.logged());
    if (money) StubRecords::addHistory(db, StubLedger::session().player(), what, amount);
    return money;
}

// A store receipt adds its value once. The client sends a receipt until it is confirmed,
// again after a reconnection, so one credited before (from any connection, in this stub's
// life or a kept state folder's) is confirmed again with the balance as it is and adds
// nothing. An empty receipt is none: refused, nothing kept.
void StubShop::onStoreReceipt(Message& request, Reply& reply) {
    const std::string receipt = request.readUTF();
    if (receipt.empty()) {
        platform::log("store receipt of 0 bytes: refused");
        reply.send(refusedTopUp(kStoreChannel, say("Biên nhận không hợp lệ", "The receipt is not valid")));
        return;
    }
    std::optional<int64_t> money;
    bool first = false;
    const bool kept = StubStore::session().transaction([&](platform::SqliteDatabase& db) {
        const auto fresh = StubRecords::firstReceipt(db, receipt, StubLedger::session().player());
        if (!fresh) return false;
        first = *fresh;
        money = first ? creditIn(db, kStoreValue, HistoryEntry::storeTopUp()) : StubLedger::session().balanceWithin(db);
        return money.has_value();
    });
    if (!kept) money.reset();
    platform::log("store receipt of " + std::to_string(receipt.size()) + " bytes: " +
                  (!kept   ? "failed"
                   : first ? "credited"
                           : "credited before, confirmed again"));
    reply.send(topUpAnswer(
        kStoreChannel, money,
        first ? say("Nạp thành công " + groupedAmount(kStoreValue) + " Zel", groupedAmount(kStoreValue) + " Zel added")
              : say("Giao dịch này đã được nạp trước đó", "This purchase was added before"),
        receipt));
}

// A top-up's answer (71): its channel's type, whether it was added (a balance: then the
// text `added`, else a failure told as one), the receipt and the balance.
Message StubShop::topUpAnswer(int8_t type, const std::optional<int64_t>& money, const std::string& added,
                              const std::string& receipt) {
    Message answer(71);
    answer.writeByte(type);
    answer.writeByte(money ? 1 : 0);
    answer.writeUTF(money ? added : StubLedger::tryAgainLater());
    answer.writeUTF(receipt);
    answer.writeLong(money ? *money : StubLedger::session().balance());
    return answer;
}

// A top-up refused for `reason`, with the balance as it is.
Message StubShop::refusedTopUp(int8_t type, const std::string& reason) {
    Message answer(71);
    answer.writeByte(type);
    answer.writeByte(0);
    answer.writeUTF(reason);
    answer.writeUTF("");
    answer.writeLong(StubLedger::session().balance());
    return answer;
}

std::string StubShop::promotionText() {
    return say("Nạp thẻ khuyến mãi được thêm 20% Zel.", "Promotion cards give 20% more Zel.");
}

Message StubShop::channels() {
    Message list(44);
    list.writeByte(0);
    list.writeUTF(say("Nạp qua SMS", "Top up by SMS"));
    list.writeUTF(kSmsText);
    list.writeUTF(kSmsNumber);
    for (const auto& card : kCards) {
        list.writeByte(kCardChannel);
        list.writeByte(card.subId);
        list.writeUTF(cardName(card.subId));
        list.writeUTF("");
        list.writeUTF("");
    }
    const std::pair<int64_t, const char*> products[] = {{20000, "vn.kavo.online.zel20"},
                                                        {50000, "vn.kavo.online.zel50"}};
    for (const auto& [amount, product] : products) {
        list.writeByte(kStoreChannel);
        list.writeUTF(groupedAmount(amount) + " Zel");
        list.writeUTF(product);
        list.writeUTF("");
    }
    list.writeByte(kPromotionChannel);
    list.writeByte(5);
    list.writeUTF(say("Thẻ khuyến mãi", "Promotion card"));
    list.writeUTF("");
    list.writeUTF("");
    return list;
}

std::vector<StubCommand> StubShop::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    return {
        {44, kEvery, [](Message&, PortalServer::Reply& reply) { reply.send(channels()); }},
        {1203, kEvery, onAvatarPage},
        {101, 21, onItemPage},
        movesMoney({101, 6, onCart}),
        movesMoney({1202, kEvery, onAvatarBought}),
        movesMoney({104, 8, onItemGiven}),
        movesMoney({104, 9, onAvatarGiven}),
        // A top-up by the channel the shop lists it under: a scratch card (2), a promotion
        // card (8) or a store receipt (5).
        movesMoney(cardTopUp(kCardChannel)),
        movesMoney(cardTopUp(kPromotionChannel)),
        movesMoney({71, kStoreChannel, answeredBy(this, &StubShop::onStoreReceipt)}),
        movesMoney({57, kEvery, answeredBy(this, &StubShop::onTextMessageSent)}),
        {2703, 2, onHistory},
    };
}

void StubShop::onAvatarPage(Message& request, PortalServer::Reply& reply) {
    const int32_t page = request.readInt();
    Message avatars(1203);
    avatars.writeInt(kPages);
    for (int row = 0; page >= 0 && page < kPages && row < kRowsPerPage; ++row) {
        const int32_t id = avatarId(page, row);
        avatars.writeInt(id);
        avatars.writeUTF(avatarName(id));
        avatars.writeInt(priceOf(id));
        avatars.writeInt(30);
    }
    reply.send(avatars);
}

void StubShop::onItemPage(Message& request, PortalServer::Reply& reply) {
    const int page = request.readByte();
    Message items(101);
    items.writeByte(21);
    items.writeInt(kPages);
    for (int row = 0; page >= 0 && page < kPages && row < kRowsPerPage; ++row) {
        const int32_t id = itemId(page, row);
        items.writeInt(id);
        items.writeUTF(itemName(id));
        items.writeInt(priceOf(id));
        items.writeUTF("");
        items.writeBool(0);
    }
    reply.send(items);
}

// The cart: a count, then each item's id (a count the body does not hold is a cart of
// something the shop does not list); a cart of nothing buys nothing: it is refused, not
// paid with 0 Zel.
void StubShop::onCart(Message& request, PortalServer::Reply& reply) {
    const int32_t count = request.readInt();
    bool listed = count >= 0;
    std::vector<int32_t> bought;
    int64_t total = 0;
    for (int32_t i = 0; listed && i < count; ++i) {
        listed = request.available();
        const int32_t id = request.readInt();
        listed = listed && listedItem(id);
        total += priceOf(id);
        bought.push_back(id);
    }
    const std::string refusal =
        count == 0 ? say("Hãy chọn vật phẩm trước", "Choose an item first")
                   : buy(listed, total, HistoryEntry::itemsBought(bought), [&](platform::SqliteDatabase& db) {
                         return std::all_of(bought.begin(), bought.end(), [&](int32_t id) {
                             return StubProfile::own(db, StubLedger::session().player(), StubProfile::kItem, id);
                         });
                     });
    Message answer(101);
    answer.writeByte(6);
    answer.writeByte(refusal.empty() ? 0 : 1);
    if (refusal.empty())
        answer.writeInt(int32_t(total));
    else
        answer.writeUTF(refusal);
    reply.send(answer);
    if (refusal.empty()) reply.send(StubLedger::session().balanceReply());
}

// An avatar bought (1202) has no failure in its reply: a refusal is a notice.
// An avatar is bought once: one he has already is refused, with nothing taken.
void StubShop::onAvatarBought(Message& request, PortalServer::Reply& reply) {
    const int32_t id = request.readInt();
    const std::string person = StubLedger::session().player();
    const std::string refusal = buy(
        listedAvatar(id), priceOf(id), HistoryEntry::avatarBought(id),
        [&](platform::SqliteDatabase& db) { return StubProfile::own(db, person, StubProfile::kAvatar, id); },
        [&](platform::SqliteDatabase& db) {
            return StubProfile::owns(db, person, StubProfile::kAvatar, id)
                       ? say("Bạn đã có ảnh đại diện này", "You already have this avatar")
                       : "";
        });
    if (!refusal.empty()) return refuse(reply, refusal);
    Message bought(1202);
    bought.writeInt(id);
    reply.send(bought);
    reply.send(StubLedger::session().balanceReply());
}

// 104 sub 8 and 9: an item or an avatar given to a friend (the friend list is the
// mailbox's); their replies have no failure either.
void StubShop::onItemGiven(Message& request, PortalServer::Reply& reply) {
    const int32_t id = request.readInt();
    request.readInt();
    const std::string to = request.readUTF();
    give({8, StubProfile::kItem, id, listedItem(id)}, HistoryEntry::itemGiven(id, to), to, reply);
}

void StubShop::onAvatarGiven(Message& request, PortalServer::Reply& reply) {
    const int32_t id = request.readShort();
    const std::string to = request.readUTF();
    give({9, StubProfile::kAvatar, id, listedAvatar(id)}, HistoryEntry::avatarGiven(id, to), to, reply);
}

// A gift goes to a player someone is, whose it then is, kept in the step that pays for it: a
// person with an account (among his avatars or items at his next sign-in), or a stub player,
// who keeps it too. One to a name no one has, or an avatar the receiver has already, is
// refused with nothing taken. A refusal of a gift the giver could have meant names the
// friend it was for, as the giver may have several gifts on their way.
void StubShop::give(const Present& present, const HistoryEntry& what, const std::string& to, Reply& reply) {
    const std::string friendName = shortenedName(to);
    const StubPlayer* stubPlayer = stubPlayerNamed(to);
    // Whether the receiver owns the present's kind and id (`has`), or now owns it (`keep`),
    // inside the transaction; false for no one.
    const auto receiver = [&](platform::SqliteDatabase& db, bool keep) {
        if (StubLedger::hasAccount(db, to))
            return keep ? StubProfile::own(db, to, present.kind, present.id)
                        : StubProfile::owns(db, to, present.kind, present.id);
        if (!stubPlayer) return false;
        return keep ? StubProfile::ownedByStubPlayer(db, stubPlayer->id, present.kind, present.id)
                    : StubProfile::stubPlayerOwns(db, stubPlayer->id, present.kind, present.id);
    };
    const std::string refusal = buy(
        present.listed, priceOf(present.id), what, [&](platform::SqliteDatabase& db) { return receiver(db, true); },
        [&](platform::SqliteDatabase& db) {
            if (!stubPlayer && !StubLedger::hasAccount(db, to)) return noPlayerNamed(to);
            const bool has = present.kind == StubProfile::kAvatar && receiver(db, false);
            return has ? say(friendName + " đã có ảnh đại diện này", friendName + " already has this avatar")
                       : std::string();
        },
        say("Không đủ tiền tặng quà cho " + friendName, "Not enough money for a gift to " + friendName));
    if (!refusal.empty()) return refuse(reply, refusal);
    Message given(104);
    given.writeByte(present.sub);
    reply.send(given);
    reply.send(StubLedger::session().balanceReply());
}

// A scratch card (or a promotion card) of the channel `type` lists: one whose serial and
// code are digits adds its value once. A player whose answer was lost types his card
// again: a card used before (from any connection, in this stub's life or a kept state
// folder's) is refused as used and adds nothing; another card is not valid.
StubCommand StubShop::cardTopUp(int8_t type) {
    return {71, type, [type](Message& request, Reply& reply) {
                const int8_t carrier = request.readByte();
                const std::string serial = request.readUTF();
                const std::string code = request.available() ? request.readUTF() : std::string();
                if (!allDigits(serial) || !allDigits(code)) {
                    reply.send(refusedTopUp(type, say("Thẻ không hợp lệ", "The card is not valid")));
                    return;
                }
                std::optional<int64_t> money;
                bool used = false;
                const auto outcome = StubStore::session().attempt([&](platform::SqliteDatabase& db) {
                    const auto fresh = StubRecords::firstCard(db, carrier, serial, StubLedger::session().player());
                    used = fresh == false;
                    if (fresh != true) return false;
                    money = creditIn(db, kCardValue, HistoryEntry::cardTopUp(carrier));
                    return money.has_value();
                });
                const bool credited = outcome == StubStore::Outcome::Kept;
                platform::log("scratch card of carrier " + std::to_string(carrier) + ": " +
                              (credited ? "credited"
                               : used   ? "used before, refused"
                                        : "failed"));
                if (used && !credited) {
                    reply.send(refusedTopUp(type, say("Thẻ này đã được sử dụng", "This card has already been used")));
                    return;
                }
                reply.send(topUpAnswer(type, credited ? money : std::nullopt,
                                       say("Nạp thẻ thành công " + groupedAmount(kCardValue) + " Zel",
                                           "Card accepted: " + groupedAmount(kCardValue) + " Zel added")));
            }};
}

// The carrier reports a sent top-up message at once here: its value is added and the
// new balance goes out as a card's would. Another message (a registration's, a password's,
// one to another number or naming another player) tops nothing up: refused, nothing added.
void StubShop::onTextMessageSent(Message& request, PortalServer::Reply& reply) {
    const std::string body = request.readUTF();
    const std::string to = request.readUTF();
    const bool topUp = body == kSmsText + StubLedger::session().player() && to == kSmsNumber;
    platform::log("SMS sent: " + std::to_string(body.size()) + " bytes to " + std::to_string(to.size()) + " bytes" +
                  (topUp ? ", a top-up" : ", no top-up: refused"));
    if (!topUp) {
        reply.send(refusedTopUp(0, say("Tin nhắn này không phải tin nạp Zel", "This message is not a top-up")));
        return;
    }
    const auto money = credit(kSmsValue, HistoryEntry::smsTopUp());
    reply.send(topUpAnswer(0, money,
                           say("Nạp SMS thành công " + groupedAmount(kSmsValue) + " Zel",
                               "Text message top-up accepted: " + groupedAmount(kSmsValue) + " Zel added")));
}

// The transaction log (2703 sub 2), told in the client's language.
void StubShop::onHistory(Message&, PortalServer::Reply& reply) {
    Message history(2703);
    history.writeInt(2);
    for (const StubRecords::HistoryLine& line : StubRecords::history(StubLedger::session().player())) {
        history.writeUTF(line.time);
        history.writeUTF(line.entry.told(line.amount));
    }
    reply.send(history);
}

} // namespace portalstub
