#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavo {

// The store receipts that the server has not confirmed yet, kept in the user
// defaults so that a paid purchase survives a crash, a closed panel or a lost
// connection. Each entry is "user;purchase name;receipt;date", unescaped, oldest
// first; a receipt may be recorded more than once. Main thread only.
class PendingReceipts {
public:
    static constexpr const char* kListKey = "KAVO_DATA_TRANSACTION_LIST_";
    // The user name of the last successful sign-in, written by the sign-in reply.
    static constexpr const char* kUserKey = "KAVO_LOGIN_USERNAME_SUCCESS";
    static constexpr const char* kDatePattern = "MMM dd, yyyy HH:mm";

    struct Entry {
        std::string user;
        std::string receipt;
    };

    // The entry text for a purchase made at `date` (seconds since 1970, local time).
    static std::string entryText(const std::string& user, const std::string& purchaseName, const std::string& receipt,
                                 double date);
    // Reads an entry from both ends, so a purchase name holding ";" does not move the
    // receipt: the user before the first ";", the date after the last, the receipt the
    // field before the date. An entry with fewer than four fields gives nothing.
    static std::optional<Entry> parse(const std::string& entry);

    // Every entry, oldest first (entries that are not text are skipped).
    static std::vector<std::string> entries();
    // Appends the entry and writes the user defaults to disk before returning.
    static void append(const std::string& entry);
    // Removes every entry of `user` with `receipt`; returns how many went.
    static int removeConfirmed(const std::string& user, const std::string& receipt);
    // The receipts still waiting for `user`, oldest first.
    static std::vector<std::string> receiptsOf(const std::string& user);
    // The signed-in user the list is kept under.
    static std::string currentUser();
};

} // namespace kavo
