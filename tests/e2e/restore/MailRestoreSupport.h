#pragma once

// What the tests of the sign-in's restore of a stored mailbox share: mails and the replies
// that carry them, a stored mailbox left in the file by an earlier run, the log read as it
// is written, and a hold on a stored mailbox's text that keeps its read under way.

#include "platform/foundation/Value.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/client/ClientTestSupport.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavo::test {

constexpr int32_t kOther = ClientWorld::kPlayerId + 1;
constexpr int64_t kStoredTime = 1'700'000'000'000LL;

std::shared_ptr<KavoMessage> mail(int32_t type, int64_t time, const std::string& text);
// Stored mail "thu <i>", newest first: its time falls as i grows.
std::shared_ptr<KavoMessage> storedMail(int i);
// "thu 1" ... "thu <count>".
KavoMessageList storedMails(int count);
// One mailbox reply (1701) of these mails, in list order.
Message mailboxReply(const KavoMessageList& mails);
Message signInReply(int32_t iddb);
std::vector<std::string> texts(const KavoMessageList& list);
// What a later run reads back for the player.
std::vector<std::string> storedTexts(int32_t iddb);

// Every log line, as it is written, on whichever thread; each line is also written out.
class LogWatch {
public:
    LogWatch();
    ~LogWatch();
    // Waits (real time, without the main loop) for a line that `wanted` takes.
    [[nodiscard]] bool waitFor(const std::function<bool(const std::string&)>& wanted, double timeout = kStateWait);
    // The lines that hold `part`.
    size_t count(const std::string& part) const;
    // True when a line holding `part` was written on the main thread.
    bool writtenOnMainThread(const std::string& part) const;

private:
    struct Line {
        std::string text;
        bool onMainThread = false;
    };
    mutable std::mutex mutex_;
    std::condition_variable written_;
    std::vector<Line> lines_;
};

// Holds a stored mailbox's Base64 text from a thread of its own, as the defaults' writer
// holds a slice while it writes it: a decode of that text waits until it is given back. It
// is given back once the main thread has turned kTurns times after the read began (see
// mainTurned), or after kPatience seconds: a main thread that stands still during the read
// (the read runs on it) gets the text back late, and the test fails instead of hanging.
class TextHold {
public:
    static constexpr int kTurns = 3;
    static constexpr double kPatience = kStateWait;

    explicit TextHold(const platform::Value& stored);
    ~TextHold();
    // True once the text is held (false when there was no text left to hold).
    bool holding() const { return holding_; }
    // A turn of the main loop once the read began.
    void mainTurned();
    // Waits until the text was given back; true when the main thread turned meanwhile.
    bool givenBackForTurns();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int turns_ = 0;
    bool held_ = false;
    bool givenBack_ = false;
    bool forTurns_ = false;
    bool holding_ = false;
    std::thread thread_;
};

// The hops to the main thread that wait for it (runOnMainThreadAndWait), counted through the
// main loop's tests' hook, which this sets; the hook goes with the loop's reset.
class WaitingHops {
public:
    WaitingHops();
    // Waits (real time, without the main loop) until `count` hops have waited.
    [[nodiscard]] bool reached(int count);

private:
    struct Count {
        std::mutex mutex;
        std::condition_variable changed;
        int hops = 0;
    };
    std::shared_ptr<Count> count_ = std::make_shared<Count>();
};

// What the stored mailbox's reads and discards tell its tests' hook, which this sets for its
// life: each look a read takes at the mails it decoded so far, and each mailbox freed with its
// memory given back, with its count of mails and whether that was on the main thread. Holding,
// the first look waits until it is let go (release, or the watch's end).
class ReadWatch {
public:
    enum Hold { kLetGo, kHoldFirstLook };
    explicit ReadWatch(Hold hold = kLetGo);
    ~ReadWatch();
    ReadWatch(const ReadWatch&) = delete;
    ReadWatch& operator=(const ReadWatch&) = delete;

    // Waits (real time, without the main loop) until a read looked.
    bool waitForLook();
    // Lets a read held at its first look go on.
    void release();
    // The counts of mails decoded at each look so far.
    std::vector<size_t> looks() const;
    // Waits (real time, without the main loop) until a mailbox was freed and its memory given
    // back.
    bool waitForGivenBack();
    struct GivenBack {
        size_t mails = 0;
        bool onMainThread = false;
    };
    std::vector<GivenBack> givenBack() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

class MailRestoreRoad : public ClientFixture {
protected:
    // A mailbox and read marks that an earlier run left in the file: read back, the large
    // archive stays its Base64 text until it is decoded. With `remembered`, this player is
    // the one who signed in last ("an").
    static void storeInFile(int32_t iddb, const KavoMessageList& mailbox, const KavoMessageList& read = {},
                            bool remembered = false);
    ::testing::AssertionResult connect();
    // Runs the main loop (real time) until `done`.
    [[nodiscard]] static bool runUntil(const std::function<bool()>& done, double timeout = kStateWait);
    static bool gridOnTop();
    static bool listed(const std::string& text);
    static std::optional<int32_t> owner();
    // Waits (real time, without the main loop) until the portal has a request of `command`.
    bool portalGot(int16_t command);
};

// A line that ends the read of `iddb`'s stored mailbox, or says it was not read.
std::function<bool(const std::string&)> readEnded(int32_t iddb);
// The line that begins the read of `iddb`'s stored mailbox.
std::string readBegins(int32_t iddb);
// The line of a read of `iddb`'s stored mailbox that stopped, dropped.
std::string readStopped(int32_t iddb);

} // namespace kavo::test
