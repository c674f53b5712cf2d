#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace portalstub {

// What moved a person's money, as his history keeps it: a kind and what it names (ids, a
// player's name), without words. A line is told when the history is asked for, in the
// language of the client that asks and with the names the shop and the tables give, so a
// player who switches his language reads all of it in the new one.
struct HistoryEntry {
    std::string kind;
    std::string subject;

    static HistoryEntry avatarBought(int32_t id);
    static HistoryEntry itemsBought(const std::vector<int32_t>& ids);
    // An item or an avatar of the shop given to a friend by name.
    static HistoryEntry itemGiven(int32_t id, const std::string& to);
    static HistoryEntry avatarGiven(int32_t id, const std::string& to);
    // A present of the table's gift sheet given to the player seated at the table named `to`.
    static HistoryEntry giftGiven(int32_t item, const std::string& to);
    static HistoryEntry cardTopUp(int8_t carrier);
    static HistoryEntry storeTopUp();
    static HistoryEntry smsTopUp();
    static HistoryEntry sentTo(const std::string& name);
    static HistoryEntry lotteryTicket(int32_t number);
    static HistoryEntry lotteryWin();

    // The line the player reads, with the amount it moved his money by.
    std::string told(int64_t amount) const;
    // Without words, for the ledger's log.
    std::string logged() const { return subject.empty() ? kind : kind + " " + subject; }
};

} // namespace portalstub
