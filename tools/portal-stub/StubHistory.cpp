#include "tools/portal-stub/StubHistory.h"

#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubShop.h"
#include "tools/portal-stub/TableSheetsStub.h"

#include <cstdlib>
#include <sstream>

namespace portalstub {

namespace {

constexpr const char* kAvatarBought = "avatar";
constexpr const char* kItemsBought = "items";
constexpr const char* kItemGiven = "gave-item";
constexpr const char* kAvatarGiven = "gave-avatar";
constexpr const char* kGiftGiven = "gift";
constexpr const char* kCardTopUp = "card";
constexpr const char* kStoreTopUp = "store";
constexpr const char* kSmsTopUp = "sms";
constexpr const char* kSentTo = "sent";
constexpr const char* kLotteryTicket = "ticket";
constexpr const char* kLotteryWin = "win";

// A subject is the ids it names, then at most one name, which may hold blanks.
std::string subjectOf(int32_t id, const std::string& name = "") {
    return name.empty() ? std::to_string(id) : std::to_string(id) + " " + name;
}

int32_t leadingId(const std::string& subject) {
    return int32_t(std::strtol(subject.c_str(), nullptr, 10));
}

std::string nameAfterId(const std::string& subject) {
    const size_t blank = subject.find(' ');
    return blank == std::string::npos ? "" : subject.substr(blank + 1);
}

std::string itemNames(const std::string& subject) {
    std::istringstream ids(subject);
    std::string names;
    for (int32_t id; ids >> id;)
        names += (names.empty() ? "" : ", ") + StubShop::itemName(id);
    return names;
}

// "(-1.000 Zel)", "(+50.000 Zel)": grouped as the client's language groups an amount.
std::string amountText(int64_t amount) {
    return "(" + std::string(amount < 0 ? "" : "+") + groupedAmount(amount) + " Zel)";
}

std::string what(const HistoryEntry& entry) {
    const std::string& kind = entry.kind;
    const std::string& subject = entry.subject;
    if (kind == kAvatarBought) return say("Mua ", "Bought ") + StubShop::avatarName(leadingId(subject));
    if (kind == kItemsBought) return say("Mua ", "Bought ") + itemNames(subject);
    if (kind == kItemGiven || kind == kAvatarGiven || kind == kGiftGiven) {
        const int32_t id = leadingId(subject);
        const std::string given = kind == kItemGiven     ? StubShop::itemName(id)
                                  : kind == kAvatarGiven ? StubShop::avatarName(id)
                                                         : giftName(id);
        return say("Tặng " + given + " cho ", "Gave " + given + " to ") + nameAfterId(subject);
    }
    if (kind == kCardTopUp) return say("Nạp Zel: ", "Top-up: ") + StubShop::cardName(int8_t(leadingId(subject)));
    if (kind == kStoreTopUp) return say("Nạp Zel qua cửa hàng", "Top-up from the store");
    if (kind == kSmsTopUp) return say("Nạp Zel qua SMS", "Top-up by text message");
    if (kind == kSentTo) return say("Chuyển cho ", "Sent to ") + subject;
    if (kind == kLotteryTicket) return say("Mua vé số ", "Lottery ticket ") + subject;
    if (kind == kLotteryWin) return say("Trúng xổ số", "Lottery win");
    return kind;
}

} // namespace

HistoryEntry HistoryEntry::avatarBought(int32_t id) {
    return {kAvatarBought, subjectOf(id)};
}

HistoryEntry HistoryEntry::itemsBought(const std::vector<int32_t>& ids) {
    std::string subject;
    for (int32_t id : ids)
        subject += (subject.empty() ? "" : " ") + std::to_string(id);
    return {kItemsBought, subject};
}

HistoryEntry HistoryEntry::itemGiven(int32_t id, const std::string& to) {
    return {kItemGiven, subjectOf(id, to)};
}

HistoryEntry HistoryEntry::avatarGiven(int32_t id, const std::string& to) {
    return {kAvatarGiven, subjectOf(id, to)};
}

HistoryEntry HistoryEntry::giftGiven(int32_t item, const std::string& to) {
    return {kGiftGiven, subjectOf(item, to)};
}

HistoryEntry HistoryEntry::cardTopUp(int8_t carrier) {
    return {kCardTopUp, subjectOf(carrier)};
}

HistoryEntry HistoryEntry::storeTopUp() {
    return {kStoreTopUp, ""};
}

HistoryEntry HistoryEntry::smsTopUp() {
    return {kSmsTopUp, ""};
}

HistoryEntry HistoryEntry::sentTo(const std::string& name) {
    return {kSentTo, name};
}

HistoryEntry HistoryEntry::lotteryTicket(int32_t number) {
    return {kLotteryTicket, subjectOf(number)};
}

HistoryEntry HistoryEntry::lotteryWin() {
    return {kLotteryWin, ""};
}

std::string HistoryEntry::told(int64_t amount) const {
    return what(*this) + " " + amountText(amount);
}

} // namespace portalstub
