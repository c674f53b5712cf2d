#pragma once

#include "net/MobileClient.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/StateWaits.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace kavo::test {

// The next message among what `listener` recorded after `seen` that `wanted` (given the
// command and the body) takes, waiting for it; `seen` moves past it. The wait is
// generous: the whole suite may be running beside it.
template <class Wanted>
[[nodiscard]] std::optional<Message> nextMatching(RecordingListener& listener, size_t& seen, Wanted wanted,
                                                  double timeout = kStateWait) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    for (;;) {
        const auto all = listener.messages();
        for (size_t i = seen; i < all.size(); ++i) {
            if (!wanted(all[i].commandId, all[i].body)) continue;
            seen = i + 1;
            return Message(all[i].commandId, all[i].body);
        }
        const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return std::nullopt;
        // Whether one came or not, what was recorded is looked at again.
        (void)listener.waitForMessages(all.size() + 1, left);
    }
}

// The next reply of `command` (and, when `sub` is not -1, whose first byte is `sub`).
[[nodiscard]] inline std::optional<Message> nextReply(RecordingListener& listener, size_t& seen, int16_t command,
                                                      int sub = -1, double timeout = kStateWait) {
    const auto wanted = [&](int16_t id, const ByteVector& body) {
        return id == command && (sub == -1 || (!body.empty() && int8_t(body[0]) == sub));
    };
    return nextMatching(listener, seen, wanted, timeout);
}

// The pid of the process that the stub's log says pauses a spend of `account`, once it
// says so; -1 when the log has not within `timeout` seconds (a bound, not a guess).
inline pid_t processPausingASpendOf(const std::string& log, const std::string& account, double timeout) {
    const std::string said = "portal-stub: process ";
    const std::string pauses = " pauses a spend of " + account + " ";
    pid_t pausing = -1;
    (void)lookUntil(
        [&] {
            std::ifstream file(log);
            for (std::string line; std::getline(file, line);) {
                const size_t at = line.find(said);
                if (at != std::string::npos && line.find(pauses, at) != std::string::npos) {
                    pausing = pid_t(std::atoi(line.c_str() + at + said.size()));
                    return true;
                }
            }
            return false;
        },
        timeout);
    return pausing;
}

// A folder of the test's own under /tmp, removed with the object.
struct TestFolder {
    std::string path = "/tmp/stub-test-XXXXXX";
    TestFolder() { ::mkdtemp(path.data()); }
    ~TestFolder() { std::filesystem::remove_all(path); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
};

// A sign-in request (1) as `name`.
inline ByteVector signInBody(const std::string& name) {
    return Bytes().utf(name).utf("123").utf("1.0").data();
}

// The client's info (2800) naming its language.
inline ByteVector languageBody(const std::string& language) {
    return Bytes().utf(R"({"command":"SET_CLIENT_INFOR","data":{"lang":")" + language + R"(","os":2}})").data();
}

// The texts of a person's money history (2703 sub 2), without their times (`Person`: a
// StubPerson or a StubWire).
template <class Person> std::vector<std::string> historyOf(Person& person) {
    person.send(2703, Bytes().int32(2).data());
    auto history = person.next(2703);
    std::vector<std::string> lines;
    if (!history) return lines;
    history->readInt();
    while (history->available()) {
        history->readUTF();
        lines.push_back(history->readUTF());
    }
    return lines;
}

// One person's wire connection to a shared stub.
class StubPerson {
public:
    explicit StubPerson(uint16_t port) { client_.connectToHost("127.0.0.1", port); }
    ~StubPerson() { client_.close(); }
    bool connected() { return listener_.waitFor(RecordingListener::Event::ConnectionOK); }
    void send(int16_t command, const ByteVector& body) { client_.sendMessage(Message(command, body)); }
    [[nodiscard]] std::optional<Message> next(int16_t command, int sub = -1, double timeout = kStateWait) {
        return nextReply(listener_, seen_, command, sub, timeout);
    }
    // The next reply of any of `commands`.
    std::optional<Message> nextOf(const std::vector<int16_t>& commands, double timeout = kStateWait) {
        const auto wanted = [&](int16_t id, const ByteVector&) {
            return std::find(commands.begin(), commands.end(), id) != commands.end();
        };
        return nextMatching(listener_, seen_, wanted, timeout);
    }
    // The next message, whatever it is.
    [[nodiscard]] std::optional<Message> nextAny() {
        return nextMatching(listener_, seen_, [](int16_t, const ByteVector&) { return true; });
    }
    // Connects and signs in as `name`: the sign-in's answer (3: his id, his balance).
    std::optional<Message> signInReply(const std::string& name) {
        if (!connected()) return std::nullopt;
        send(1, signInBody(name));
        return next(3);
    }
    // Connects and signs in as `name`: his balance (-1 when the sign-in failed).
    int64_t signIn(const std::string& name) {
        auto signedIn = signInReply(name);
        if (!signedIn) return -1;
        signedIn->readInt();
        return signedIn->readLong();
    }
    const RecordingListener& listener() const { return listener_; }
    // Whether the stub ended the connection within `timeout` seconds.
    [[nodiscard]] bool dropped(double timeout) { return listener_.waitForEnd(timeout); }

private:
    RecordingListener listener_;
    MobileClient client_{&listener_};
    size_t seen_ = 0;
};

// A bare wire client against a portal stub of its own: the stub tests sign in, sit and
// play with raw requests and read the stub's replies, with no screens.
class StubWire : public ::testing::Test {
protected:
    using Environment = std::vector<std::pair<std::string, std::string>>;
    // The environment is set before the stub starts (its pauses and deals read it).
    explicit StubWire(Environment environment = {}, const std::vector<std::string>& options = {})
        : environment_(std::move(environment)) {
        for (const auto& [name, value] : environment_)
            ::setenv(name.c_str(), value.c_str(), 1);
        stub_.emplace(options);
    }
    ~StubWire() override {
        stub_.reset();
        for (const auto& entry : environment_)
            ::unsetenv(entry.first.c_str());
    }
    void SetUp() override {
        ASSERT_TRUE(stub_->ready()) << "the stub did not start";
        client_.connectToHost("127.0.0.1", stub_->port());
        ASSERT_TRUE(listener_.waitFor(RecordingListener::Event::ConnectionOK));
    }
    void TearDown() override { client_.close(); }

public:
    // As a StubPerson: a request, and the next reply of a command.
    void send(int16_t command, const ByteVector& body) { client_.sendMessage(Message(command, body)); }
    [[nodiscard]] std::optional<Message> next(int16_t command, int sub = -1, double timeout = kStateWait) {
        return nextReply(listener_, seen_, command, sub, timeout);
    }
    // The next reply of any of `commands`, in arrival order.
    [[nodiscard]] std::optional<Message> nextOf(std::initializer_list<int16_t> commands, double timeout = kStateWait) {
        const auto wanted = [&](int16_t id, const ByteVector&) {
            return std::find(commands.begin(), commands.end(), id) != commands.end();
        };
        return nextMatching(listener_, seen_, wanted, timeout);
    }
    // A negative check: no reply of `command` (and `sub`) comes within `seconds` after those
    // read so far. It takes none: the next `next` reads on from where the last one did.
    [[nodiscard]] bool nothingComesWithin(double seconds, int16_t command, int sub = -1) {
        return kavo::test::nothingComesWithin(seconds, [&] {
            size_t from = seen_;
            return nextReply(listener_, from, command, sub, 0).has_value();
        });
    }

protected:
    // Signs in as `name` and chooses a game: the player's id.
    int32_t signInAndChoose(const std::string& name, int8_t gameType) {
        send(1, signInBody(name));
        auto signedIn = next(3);
        if (!signedIn) return 0;
        send(61, {uint8_t(gameType)});
        if (!next(61)) return 0;
        return signedIn->readInt();
    }
    // Sits at `board` of room 1 (`command` 8 or 1900): the stake the join answers (-1 when
    // no join came).
    int32_t stakeAtJoin(int8_t board, int16_t command = 8) {
        auto joined = join(board, command);
        if (!joined) return -1;
        joined->readInt();
        return joined->readInt();
    }
    // My money in the answer to a join (`command` 8 or 1900) of `board` of room 1: the
    // record after room, board, owner and stake is mine.
    int64_t myMoneyAtJoin(int8_t board, int16_t command = 8) {
        auto joined = join(board, command);
        if (!joined) return -1;
        for (int i = 0; i < 3; ++i)
            joined->readInt();
        joined->readUTF();
        return joined->readLong();
    }
    // A player's amount as his details (34) give it now.
    int64_t amountOf(int32_t id) {
        send(34, Bytes().int32(id).data());
        auto detail = next(34);
        if (!detail) return -1;
        detail->readInt();
        detail->readUTF();
        return detail->readLong();
    }
    // Joins `board` of room 1 (`command` 8 or 1900): the answer (8), its owner read next.
    std::optional<Message> join(int8_t board, int16_t command = 8) {
        send(command, Bytes().byte(1).byte(board).utf("").data());
        auto joined = next(8);
        if (!joined) return joined;
        joined->readShort(); // room, board
        return joined;
    }

    Environment environment_;
    std::optional<StubProcess> stub_;
    RecordingListener listener_;
    MobileClient client_{&listener_};
    size_t seen_ = 0;
};

} // namespace kavo::test
