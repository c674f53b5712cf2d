// The cost of one money change of the portal stub's accounts, with 10 and with 5,000
// accounts in its file: a move of a person's balance (a hand's result, a top-up) and a
// transfer to a stub player (the balance checked, taken and given in one transaction).
// Each change is a transaction of its own on the file, as a connection's process makes it.
// Then the same changes over the wire, from many connections at once (LedgerWireBench),
// against the stub built beside it and each other stub program given, in turns:
//
//   kavo_ledger_bench [PORTAL-STUB...]
#include "bench/LedgerWireBench.h"
#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubMoneyRow.h"
#include "tools/portal-stub/StubStore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kChanges = 2000;

template <typename Change> double millisecondsPerChange(Change change) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kChanges; ++i)
        change(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kChanges;
}

} // namespace

int main(int argc, char** argv) {
    using portalstub::StubLedger;
    // The ledger logs every change; the figures are of the changes alone.
    platform::setLogSink([](const std::string&) {});
    for (int accounts : {10, 5000}) {
        std::string folder = std::filesystem::temp_directory_path().string() + "/ledger-bench-XXXXXX";
        if (!::mkdtemp(folder.data())) return 1;
        portalstub::StubStore::session().keepIn(folder);
        StubLedger& ledger = StubLedger::session();
        for (int i = 0; i < accounts; ++i) {
            ledger.signIn("player" + std::to_string(i));
            ledger.move(1, "opened");
        }
        ledger.signIn("player0");
        const double move = millisecondsPerChange([&](int i) { ledger.move(i % 2 ? 1 : -1, "bench"); });
        // A transfer as its row makes it: only a row that moves money may spend.
        const portalstub::StubMoneyRow row;
        const double transfer = millisecondsPerChange([&](int) {
            portalstub::StubStore::session().transaction(
                [&](platform::SqliteDatabase& db) { return ledger.spendIn(db, 1, "bench", "lan").has_value(); });
        });
        std::printf("%5d accounts: a move %.3f ms, a transfer %.3f ms (mean of %d each)\n", accounts, move, transfer,
                    kChanges);
        std::filesystem::remove_all(folder);
    }
    std::vector<std::string> stubs = {KAVO_PORTAL_STUB};
    for (int i = 1; i < argc; ++i)
        stubs.push_back(argv[i]);
    return runLedgerWireBench(stubs) ? 0 : 1;
}
