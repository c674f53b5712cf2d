// The exit and a save begun on another thread: the process is this test program itself,
// started again to run ExitSave.Child alone, which sets a value and begins the exit on its
// main thread (std::exit, whose handler stops the defaults' writer as the client's exit
// does) while a second thread saves. A save the exit can still wait for is in the file; a
// later one is refused and said so in the log. None is lost without a word.
#include "platform/foundation/BackgroundWriter.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/Value.h"
#include "tests/platform/foundation/TempDir.h"
#include "tests/support/StateWaits.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <spawn.h>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace platform;

namespace {

constexpr const char* kModeVariable = "KAVO_EXIT_SAVE_CHILD";
constexpr const char* kFolderVariable = "KAVO_EXIT_SAVE_FOLDER";
constexpr const char* kRefused = "a save from another thread after the exit began is not written";

struct Ended {
    int status = -1; // the exit status, or -1 when it did not exit by itself
    std::string log; // what it wrote to stderr
};

// Runs this program's ExitSave.Child in `mode` with `folder` as its data folder.
Ended runChild(const std::string& mode, const std::string& folder) {
    const std::string logPath = folder + "/child.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> environment;
    // Not the sharding of a run that cut this program into parts: the child runs its one test.
    for (char** entry = environ; *entry; ++entry)
        if (!std::string_view(*entry).starts_with("GTEST_TOTAL_SHARDS=") &&
            !std::string_view(*entry).starts_with("GTEST_SHARD_INDEX="))
            environment.emplace_back(*entry);
    environment.push_back(std::string(kModeVariable) + "=" + mode);
    environment.push_back(std::string(kFolderVariable) + "=" + folder);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe", filter = "--gtest_filter=ExitSave.Child";
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t pid = 0;
    Ended ended;
    if (posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, envp.data()) == 0) {
        // A child that hangs is ended after kStateWait (its status then stays -1).
        int status = 0;
        pid_t done = 0;
        if (!kavo::test::lookUntil([&] { return (done = waitpid(pid, &status, WNOHANG)) != 0; })) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        } else if (done == pid && WIFEXITED(status)) {
            ended.status = WEXITSTATUS(status);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream file(logPath);
    std::stringstream text;
    text << file.rdbuf();
    ended.log = text.str();
    return ended;
}

Value savedIn(const std::string& folder) {
    return PropertyList::readFile(folder + "/" + std::string(UserDefaults::kFileName));
}

} // namespace

// Set by the exit's handlers, the writer's test hook and the saving thread; made once and
// never freed, since the threads still use them while the exit destroys what static objects
// it made. Each is set once, however often its moment comes.
struct Moment {
    std::once_flag once;
    std::promise<void> promise;
    std::shared_future<void> reached = promise.get_future().share();
    void mark() {
        std::call_once(once, [this] { promise.set_value(); });
    }
};
struct Moments {
    Moment stopping, saveWaits, stopWaits, writerStopped, saveDone;
};
Moments& moments() {
    static Moments* const made = new Moments;
    return *made;
}

// The child's side: an exit with a save from another thread, at one of two moments.
//  "during": the writer still makes a large value when the exit stops it, and the other
//            thread saves once the exit is in the stop; the value is made once that save
//            waits for it. The save's own data is made only once the stop waits for it:
//            a stop that returned without waiting never lets it be made, and the exit ends
//            the process without it. The stop must wait for the save too.
//  "late":   the other thread saves once the exit stopped the writer, while the exit does
//            the rest of its work (a handler that runs after the defaults' one and waits for
//            the save).
TEST(ExitSave, Child) {
    const char* mode = std::getenv(kModeVariable);
    const char* folder = std::getenv(kFolderVariable);
    if (!mode || !folder) GTEST_SKIP() << "the process that ExitSaveTest starts";
    const std::string moment = mode;
    // Handlers run in the reverse order of their registration: this one after the defaults'.
    if (moment == "late")
        std::atexit([] {
            moments().writerStopped.mark();
            // A bound for a save that never ends, inside the parent's for the whole child.
            if (moments().saveDone.reached.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
                std::fprintf(stderr, "ExitSave: the save had not ended 20 s after the writer stopped\n");
        });
    setDataDirectory(folder);
    auto& defaults = UserDefaults::standard(); // registers the handler that stops its writer
    defaults.setWriterTestHook([](BackgroundWriter::TestMoment reached) {
        switch (reached) {
        case BackgroundWriter::TestMoment::Stopping:
            moments().stopping.mark();
            break;
        case BackgroundWriter::TestMoment::SaveWaits:
            moments().saveWaits.mark();
            break;
        case BackgroundWriter::TestMoment::StopWaits:
            moments().stopWaits.mark();
            break;
        case BackgroundWriter::TestMoment::SaveWoken:
            break;
        }
    });
    defaults.setInt(1, "first");
    if (moment == "during")
        defaults.setObject(Value::deferredData([] {
                               moments().saveWaits.reached.wait();
                               return Value::sharedData(Bytes(100000, 7));
                           }),
                           "made");
    defaults.synchronize();
    std::thread([&defaults, moment] {
        if (moment == "late")
            moments().writerStopped.reached.wait();
        else
            moments().stopping.reached.wait();
        defaults.setInt(2, "late");
        // Made as the save is written, on this thread ("late" never gets so far).
        defaults.setObject(Value::deferredData([] {
                               moments().stopWaits.reached.wait();
                               return Value::sharedData(Bytes(1000, 9));
                           }),
                           "lateData");
        defaults.synchronize();
        moments().saveDone.mark();
    }).detach();
    std::exit(0);
}

TEST(ExitSave, ASaveBegunWhileTheExitWaitsForTheWriterIsWritten) {
    test::TempDir folder;
    const Ended ended = runChild("during", folder.path());
    EXPECT_EQ(ended.status, 0) << ended.log;
    const Value saved = savedIn(folder.path());
    EXPECT_EQ(saved.get("first").intValue(), 1);
    EXPECT_EQ(saved.get("made").dataValue(), Bytes(100000, 7));
    EXPECT_EQ(saved.get("late").intValue(), 2) << ended.log;
    EXPECT_EQ(saved.get("lateData").dataValue(), Bytes(1000, 9)) << ended.log;
    EXPECT_EQ(ended.log.find(kRefused), std::string::npos) << ended.log;
}

TEST(ExitSave, ASaveBegunAfterTheExitStoppedTheWriterIsRefusedAndLogged) {
    test::TempDir folder;
    const Ended ended = runChild("late", folder.path());
    EXPECT_EQ(ended.status, 0) << ended.log;
    const Value saved = savedIn(folder.path());
    EXPECT_EQ(saved.get("first").intValue(), 1);
    EXPECT_TRUE(saved.get("late").isNull()) << "written after the exit stopped waiting";
    EXPECT_NE(ended.log.find(kRefused), std::string::npos) << ended.log;
}
