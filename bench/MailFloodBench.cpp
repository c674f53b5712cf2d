// A flood of mail through the client: 10,000 mailbox replies parsed as the reader
// thread parses them, their main-thread twins, the app-wide list and its saving; then
// a stored mailbox of 100,000 mails read back at sign-in. Prints the main thread's
// processor time and the growth of the resident memory for each. Then what mail sent again
// costs the main thread against that stored mailbox: 100 or 1,000 waiting mails that repeat
// its newest or its oldest mails at the sign-in's restore, and 1,000 that repeat them once
// signed in, each beside as many new mails (the least of five runs, each a restore anew).
//
//   kavo_mail_bench [mails] [stored]
//
// The read-back and the repeats are measured in fresh processes of their own (the program
// starts itself with --restore DIR and --repeats DIR), so memory the flood freed cannot hide
// what the read-back takes.

#include "app/MailStore.h"
#include "app/UIController.h"
#include "bench/StoredMails.h"
#include "net/Message.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/Player.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One mailbox reply holding one mail, as a flooding server sends them.
kavo::Message mailReply(int i) {
    kavo::Message m(1701);
    m.writeInt(1);
    m.writeLong(1'700'000'000'000LL + i);
    m.writeInt(500 + i % 50);
    m.writeUTF("nguoigui" + std::to_string(i % 50));
    m.writeUTF("Thu so " + std::to_string(i) + ": chuc ban mot ngay vui ve va nhieu may man");
    return m;
}

void signIn(int32_t iddb) {
    auto me = std::make_shared<kavo::Player>();
    me->setIDDB(iddb);
    kavo::UIController::setMyInfo(me);
    kavo::UIController::restoreListMessage(kavo::UIController::readListMessage(iddb));
}

// A stored mailbox of `count` mails under the key of `iddb`.
void writeStoredMailbox(int32_t iddb, int count) {
    const kavo::KavoMessageList list = kavo::bench::storedMails(0, count);
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(kavo::KavoMessage::archiveList(list), kavo::UIController::listMessageKey(iddb));
    defaults.synchronize();
    defaults.reset();
}

int measureRestore(const std::string& data) {
    platform::Bundle::main().setMainPath(KAVO_SOURCE_DIR "/resources");
    platform::setDataDirectory(data);
    platform::RunLoop::main().bindToCurrentThread();
    // The client reads its defaults file as it starts, long before the sign-in.
    platform::UserDefaults::standard().objectForKey(kavo::UIController::listMessageKey(42));
    const double memoryBefore = residentMegabytes();
    const double wallBefore = wallSeconds();
    // As the sign-in reply does it: read on the reader thread, taken in on the main thread.
    const double before = threadSeconds();
    kavo::StoredMailbox stored = kavo::UIController::readListMessage(42);
    const double read = threadSeconds() - before;
    auto me = std::make_shared<kavo::Player>();
    me->setIDDB(42);
    kavo::UIController::setMyInfo(me);
    const double takeIn = threadSeconds();
    kavo::UIController::restoreListMessage(std::move(stored));
    const double taken = threadSeconds() - takeIn;
    std::printf("restore: %zu stored mails, read %.3f s (reader thread), taken in %.4f s (main thread), wall %.3f s, "
                "memory growth %.1f MB\n",
                kavo::UIController::listMessageCount(), read, taken, wallSeconds() - wallBefore,
                residentMegabytes() - memoryBefore);
    return 0;
}

kavo::KavoMessageList newMails(int count) {
    kavo::KavoMessageList mails;
    for (int i = 0; i < count; ++i) {
        auto m = kavo::bench::storedMail(i);
        m->setTime(1'800'000'000'000LL + i);
        m->setMessage("Thu moi " + std::to_string(i));
        mails.push_back(std::move(m));
    }
    return mails;
}

// The least and the most main-thread seconds of five runs of `work`, each after `setUp`.
std::pair<double, double> spreadOf(const std::function<void()>& setUp, const std::function<void()>& work) {
    double least = 1e9, most = 0;
    for (int run = 0; run < 5; ++run) {
        setUp();
        const double before = threadSeconds();
        work();
        const double took = threadSeconds() - before;
        least = std::min(least, took);
        most = std::max(most, took);
    }
    return {least, most};
}

int measureRepeats(const std::string& data, int stored) {
    platform::Bundle::main().setMainPath(KAVO_SOURCE_DIR "/resources");
    platform::setDataDirectory(data);
    platform::RunLoop::main().bindToCurrentThread();
    platform::ScopedManualClock clock;
    // Each run starts from the stored mailbox as written: what a run saves is put back.
    const std::string file = platform::joinPath(data, "defaults.plist");
    const std::string written = file + ".written";
    std::filesystem::copy_file(file, written, std::filesystem::copy_options::overwrite_existing);
    kavo::StoredMailbox mailbox;
    // Nobody signed in: `waiting` arrives, then the stored mailbox is read for player 42.
    const auto readWith = [&](const kavo::KavoMessageList& waiting) {
        kavo::MailStore::shared().reset();
        auto& defaults = platform::UserDefaults::standard();
        defaults.flush();
        std::filesystem::copy_file(written, file, std::filesystem::copy_options::overwrite_existing);
        defaults.reset();
        kavo::UIController::addItemsIntoListMessage(waiting);
        mailbox = kavo::UIController::readListMessage(42);
        auto me = std::make_shared<kavo::Player>();
        me->setIDDB(42);
        kavo::UIController::setMyInfo(me);
    };
    const auto restore = [&] { kavo::UIController::restoreListMessage(std::move(mailbox)); };
    const std::pair<const char*, kavo::KavoMessageList> waitingCases[] = {
        {"none", {}},
        {"100 new", newMails(100)},
        {"100 repeating the newest", kavo::bench::storedMails(0, 100)},
        {"1,000 new", newMails(1000)},
        {"1,000 repeating the newest", kavo::bench::storedMails(0, 1000)},
        {"1,000 repeating the oldest", kavo::bench::storedMails(stored - 1000, 1000)},
    };
    for (const auto& [what, waiting] : waitingCases) {
        const auto [least, most] = spreadOf([&] { readWith(waiting); }, restore);
        std::printf("restore, waiting mail %s: %.2f-%.2f ms main thread (%zu listed)\n", what, least * 1000,
                    most * 1000, kavo::UIController::listMessageCount());
    }
    const std::pair<const char*, kavo::KavoMessageList> sentCases[] = {
        {"1,000 new", newMails(1000)},
        {"1,000 repeating the newest", kavo::bench::storedMails(0, 1000)},
        {"1,000 repeating the oldest", kavo::bench::storedMails(stored - 1000, 1000)},
    };
    const auto first = newMails(1001).back();
    for (const auto& [what, sent] : sentCases) {
        // Signed in, the save the first mail makes behind: the mail sent only arranges one.
        const auto signedIn = [&] {
            readWith({});
            restore();
            kavo::UIController::addItemIntoListMessage(first);
        };
        const auto [least, most] = spreadOf(signedIn, [&] { kavo::UIController::addItemsIntoListMessage(sent); });
        std::printf("signed in, mail sent %s: %.2f-%.2f ms main thread (%zu listed)\n", what, least * 1000, most * 1000,
                    kavo::UIController::listMessageCount());
    }
    return 0;
}

void drainMainThread() {
    while (platform::RunLoop::main().runPending() > 0) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--restore") return measureRestore(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "--repeats") return measureRepeats(argv[2], std::atoi(argv[3]));
    const int mails = argc > 1 ? std::atoi(argv[1]) : 10'000;
    const int stored = argc > 2 ? std::atoi(argv[2]) : 100'000;
    char pattern[] = "/tmp/kavo-mail-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string data = pattern;
    platform::Bundle::main().setMainPath(KAVO_SOURCE_DIR "/resources");
    platform::setDataDirectory(data);
    platform::RunLoop::main().bindToCurrentThread();
    platform::ScopedManualClock clock;
    signIn(42);

    // -- the flood
    std::vector<kavo::Message> replies;
    replies.reserve(size_t(mails));
    for (int i = 0; i < mails; ++i)
        replies.push_back(mailReply(i));
    const double memoryBefore = residentMegabytes();
    const double wallBefore = wallSeconds();
    std::thread reader([&replies] {
        for (auto& reply : replies)
            kavo::GlobalMessageHandler::getInstance().onMessage(reply);
    });
    double mainThread = 0;
    bool readerDone = false;
    while (!readerDone) {
        readerDone = kavo::UIController::listMessageCount() >= size_t(mails);
        const double before = threadSeconds();
        drainMainThread();
        // The coalesced save falls due on the main loop.
        platform::RunLoop::main().advance(0.1);
        mainThread += threadSeconds() - before;
        if (!readerDone) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    reader.join();
    const double before = threadSeconds();
    drainMainThread();
    platform::RunLoop::main().advance(1.0);
    kavo::UIController::flushListMessage();
    mainThread += threadSeconds() - before;
    std::printf("flood: %d mails, main thread %.3f s, wall %.3f s, memory growth %.1f MB, listed %zu\n", mails,
                mainThread, wallSeconds() - wallBefore, residentMegabytes() - memoryBefore,
                kavo::UIController::listMessageCount());

    // -- a stored mailbox of `stored` mails, read back at the next start
    kavo::UIController::signOutListMessage();
    writeStoredMailbox(42, stored);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const int status = std::system(("'" + self + "' --restore '" + data + "'").c_str());
    if (status != 0) std::printf("restore: failed (%d)\n", status);
    const int repeats = std::system(("'" + self + "' --repeats '" + data + "' " + std::to_string(stored)).c_str());
    if (repeats != 0) std::printf("repeats: failed (%d)\n", repeats);

    kavo::UIController::signOutListMessage();
    std::filesystem::remove_all(data);
    return 0;
}
