// A flood of mail through the client: 10,000 mailbox replies parsed as the reader
// thread parses them, their main-thread twins, the app-wide list and its saving; then
// a stored mailbox of 100,000 mails read back at sign-in. Prints the main thread's
// processor time and the growth of the resident memory for each.
//
//   kavo_mail_bench [mails] [stored]
//
// The read-back is measured in a fresh process of its own (the program starts itself
// with --restore DIR), so memory the flood freed cannot hide what the read-back takes.

#include "app/UIController.h"
#include "net/Message.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/Player.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
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
    kavo::KavoMessageList list;
    list.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto m = std::make_shared<kavo::KavoMessage>();
        m->setType(1);
        m->setTime(1'700'000'000'000LL + i);
        m->setFromID(500 + i % 50);
        m->setFromName("nguoigui" + std::to_string(i % 50));
        m->setMessage("Thu so " + std::to_string(i) + ": chuc ban mot ngay vui ve va nhieu may man");
        list.push_back(std::move(m));
    }
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

void drainMainThread() {
    while (platform::RunLoop::main().runPending() > 0) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--restore") return measureRestore(argv[2]);
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

    kavo::UIController::signOutListMessage();
    std::filesystem::remove_all(data);
    return 0;
}
