#include "platform/foundation/UserDefaults.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Log.h"
#include "tests/platform/foundation/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace platform;
using platform::test::TempDir;

namespace {

struct QuietLog {
    QuietLog() {
        setLogSink([](const std::string&) {});
    }
    ~QuietLog() { setLogSink(nullptr); }
};

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

// Another process in the middle of writing `target`: its temporary file exists when the
// constructor returns, and the write ends when finish() says so.
class WriterProcess {
public:
    explicit WriterProcess(const std::string& target) {
        int started[2], go[2];
        if (::pipe(started) != 0 || ::pipe(go) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(started[0]);
            ::close(go[1]);
            const bool ok = writeFileAtomically(target, [&](const ChunkSink& sink) {
                sink("first half, ");
                char c = 's';
                if (::write(started[1], &c, 1) == 1 && ::read(go[0], &c, 1) == 1) sink("second half");
            });
            ::_exit(ok ? 0 : 1);
        }
        ::close(started[1]);
        ::close(go[0]);
        char c;
        (void)!::read(started[0], &c, 1);
        ::close(started[0]);
        go_ = go[1];
    }
    ~WriterProcess() { finish(); }
    // Lets the write end; the exit status: 0 when the write succeeded.
    int finish() {
        if (go_ >= 0) {
            const char c = 'g';
            (void)!::write(go_, &c, 1);
            ::close(go_);
            go_ = -1;
        }
        int status = -1;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) pid_ = -1;
        return status;
    }
    // Ends it in the middle of its write, as a crash would.
    void kill() {
        if (pid_ > 0) ::kill(pid_, SIGKILL);
        // Nothing reads the pipe any more: writing to it would end this process.
        ::close(go_);
        go_ = -1;
        finish();
    }

private:
    pid_t pid_ = -1;
    int go_ = -1;
};

// Points the standard defaults at a temp data folder for one test.
struct StandardDefaultsFixture : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        setDataDirectory(dir.path());
        UserDefaults::standard().reset();
    }
    void TearDown() override {
        UserDefaults::standard().reset();
        setDataDirectory("");
    }
};

} // namespace

TEST_F(StandardDefaultsFixture, EveryKindIsReadableAfterARestart) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("an", "uname");
    defaults.setString("mật khẩu", "password");
    defaults.setBool(true, "savedSound");
    defaults.setInt(-5, "LoginServerINDEX");
    defaults.setInt64(int64_t(1) << 42, "big");
    defaults.setDouble(0.75, "volume");
    defaults.setData(Bytes{9, 8, 7}, "12");
    defaults.setDate(1700000000, "lastSeen");
    Value servers = Value::emptyArray();
    servers.append("Local");
    defaults.setObject(servers, "servers");
    Value account;
    account.set("id", 7);
    defaults.setObject(account, "account");
    ASSERT_TRUE(defaults.flush());

    UserDefaults restarted; // a new process over the same data folder
    EXPECT_EQ(restarted.stringForKey("uname"), "an");
    EXPECT_EQ(restarted.stringForKey("password"), "mật khẩu");
    EXPECT_TRUE(restarted.boolForKey("savedSound"));
    EXPECT_EQ(restarted.intForKey("LoginServerINDEX"), -5);
    EXPECT_EQ(restarted.int64ForKey("big"), int64_t(1) << 42);
    EXPECT_EQ(restarted.doubleForKey("volume"), 0.75);
    EXPECT_EQ(restarted.dataForKey("12"), (Bytes{9, 8, 7}));
    EXPECT_EQ(restarted.dateForKey("lastSeen"), 1700000000);
    EXPECT_EQ(restarted.arrayForKey("servers"), servers);
    EXPECT_EQ(restarted.dictionaryForKey("account"), account);
    EXPECT_TRUE(restarted.arrayForKey("account").isNull());
}

TEST_F(StandardDefaultsFixture, AbsentKeysGiveZeroOrEmpty) {
    auto& defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults.objectForKey("savedRung").isNull());
    EXPECT_FALSE(defaults.boolForKey("savedRung"));
    EXPECT_EQ(defaults.stringForKey("uname"), "");
    EXPECT_EQ(defaults.intForKey("x"), 0);
    EXPECT_TRUE(defaults.dataForKey("x").empty());
}

TEST_F(StandardDefaultsFixture, RemovedKeysStayRemovedAfterARestart) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("token", "PNDT");
    defaults.flush();
    defaults.removeObjectForKey("PNDT");
    defaults.flush();
    defaults.reset();
    EXPECT_TRUE(defaults.objectForKey("PNDT").isNull());
}

TEST_F(StandardDefaultsFixture, ChangesNotSynchronizedAreNotOnDisk) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("kept", "a");
    defaults.flush();
    defaults.setString("lost", "b");
    UserDefaults other;
    EXPECT_EQ(other.stringForKey("a"), "kept");
    EXPECT_TRUE(other.objectForKey("b").isNull());
}

TEST_F(StandardDefaultsFixture, TheFileIsPrivateToTheUser) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("secret", "password");
    ASSERT_TRUE(defaults.flush());
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("defaults.plist").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"defaults.plist"}); // no temporary file left
}

TEST_F(StandardDefaultsFixture, SynchronizeWritesOnlyWhenSomethingChanged) {
    auto& defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults.flush());
    EXPECT_FALSE(fileExists(dir.file("defaults.plist")));
    defaults.setBool(true, "savedRung");
    EXPECT_TRUE(defaults.flush());
    EXPECT_TRUE(fileExists(dir.file("defaults.plist")));
}

// Setting what is already stored leaves the file alone: here a file changed behind the
// defaults' back shows whether it was written again.
TEST_F(StandardDefaultsFixture, SettingTheStoredValueAgainWritesNothing) {
    auto& defaults = UserDefaults::standard();
    defaults.setBool(true, "savedRung");
    defaults.setString("nam", "KAVO_LOGIN_USERNAME");
    defaults.setData(Bytes{1, 2, 3}, "SAVED_OLD_MESSAGE_OF_11");
    ASSERT_TRUE(defaults.flush());
    Value behind = PropertyList::readFile(dir.file("defaults.plist"));
    behind.set("marker", Value("written elsewhere"));
    ASSERT_TRUE(PropertyList::writeFile(dir.file("defaults.plist"), behind));

    defaults.setBool(true, "savedRung");
    defaults.setString("nam", "KAVO_LOGIN_USERNAME");
    defaults.setData(Bytes{1, 2, 3}, "SAVED_OLD_MESSAGE_OF_11");
    defaults.removeObjectForKey("never stored");
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(PropertyList::readFile(dir.file("defaults.plist")).get("marker").stringValue(), "written elsewhere");

    defaults.setBool(false, "savedRung");
    ASSERT_TRUE(defaults.flush());
    const Value after = PropertyList::readFile(dir.file("defaults.plist"));
    EXPECT_FALSE(after.contains("marker"));
    EXPECT_FALSE(after.get("savedRung").boolValue());
    EXPECT_EQ(after.get("KAVO_LOGIN_USERNAME").stringValue(), "nam");
}

TEST(UserDefaults, AFailedWriteIsWrittenAgainUnchangedOnceTheFolderAllowsIt) {
    TempDir dir;
    UserDefaults defaults(dir.file("later/defaults.plist"));
    QuietLog quiet;
    defaults.setInt(3, "n");
    EXPECT_FALSE(defaults.flush()) << "no folder yet";
    ASSERT_TRUE(createDirectories(dir.file("later")));
    EXPECT_TRUE(defaults.flush());
    EXPECT_EQ(PropertyList::readFile(dir.file("later/defaults.plist")).get("n").intValue(), 3);
}

TEST_F(StandardDefaultsFixture, RemovingAStoredKeyIsAChange) {
    auto& defaults = UserDefaults::standard();
    defaults.setInt(5, "count");
    ASSERT_TRUE(defaults.flush());
    defaults.removeObjectForKey("count");
    ASSERT_TRUE(defaults.flush());
    defaults.reset();
    EXPECT_TRUE(defaults.objectForKey("count").isNull());
}

// What a kill in the middle of a write leaves: a half-written temporary file beside the
// defaults. The next run reads the defaults and removes it, and only it.
TEST_F(StandardDefaultsFixture, ALeftoverTemporaryFileIsRemovedAtStartAndTheDefaultsRead) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("good", "state");
    ASSERT_TRUE(defaults.flush());
    const std::vector<std::string> kept = {"defaults.plist.tmp",       "defaults.plist.tmpAB12C",
                                           "defaults.plist.tmpAB12C-", "defaults.plist.tmpAB12CDE",
                                           "other.plist.tmpAB12CD",    ".tmpAB12CD"};
    for (const auto& name : kept)
        ASSERT_TRUE(writeFileAtomically(dir.file(name), std::string("keep")));
    ASSERT_TRUE(writeFileAtomically(dir.file("defaults.plist.tmpAB12CD"), std::string("<plist><dict><key>state")));
    QuietLog quiet;
    defaults.reset();
    EXPECT_EQ(defaults.stringForKey("state"), "good");
    auto names = filesIn(dir.path());
    std::sort(names.begin(), names.end());
    auto expected = kept;
    expected.push_back("defaults.plist");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST_F(StandardDefaultsFixture, ACorruptFileStartsEmptyAndIsReplacedOnTheNextSave) {
    ASSERT_TRUE(writeFileAtomically(dir.file("defaults.plist"), std::string("garbage")));
    QuietLog quiet;
    auto& defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults.objectForKey("anything").isNull());
    defaults.setInt(3, "n");
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(PropertyList::readFile(dir.file("defaults.plist"))["n"].intValue(), 3);
}

TEST_F(StandardDefaultsFixture, FollowsTheDataFolderWhenItChanges) {
    auto& defaults = UserDefaults::standard();
    defaults.setString("first", "where");
    TempDir second;
    setDataDirectory(second.path());
    EXPECT_TRUE(defaults.objectForKey("where").isNull());
    // The unsaved change went to the first folder's file before the switch.
    EXPECT_EQ(PropertyList::readFile(dir.file("defaults.plist"))["where"].stringValue(), "first");
    defaults.setString("second", "where");
    defaults.flush();
    setDataDirectory(dir.path());
    EXPECT_EQ(defaults.stringForKey("where"), "first");
}

TEST_F(StandardDefaultsFixture, SettersFromManyThreadsAllLand) {
    auto& defaults = UserDefaults::standard();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&defaults, t] {
            for (int i = 0; i < 50; ++i) {
                defaults.setInt(i, "t" + std::to_string(t) + "_" + std::to_string(i));
                if (i % 10 == 0) defaults.flush();
                defaults.intForKey("t0_0");
            }
        });
    }
    for (auto& t : threads)
        t.join();
    ASSERT_TRUE(defaults.flush());
    UserDefaults restarted;
    EXPECT_EQ(restarted.dictionaryRepresentation().size(), 400u);
    EXPECT_EQ(restarted.intForKey("t7_49"), 49);
}

TEST(FileSystem, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    std::string target = dir.file("settings.plist");
    ASSERT_TRUE(writeFileAtomically(target, std::string("old")));
    QuietLog quiet;
    // A folder where the temporary file cannot be made.
    EXPECT_FALSE(writeFileAtomically(dir.file("missing/settings.plist"), std::string("new")));
    // A target that is a folder: the rename fails after the bytes were written.
    ASSERT_TRUE(createDirectories(dir.file("folder")));
    EXPECT_FALSE(writeFileAtomically(dir.file("folder"), std::string("new")));
    EXPECT_EQ(readTextFile(target), "old");
    auto names = filesIn(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder", "settings.plist"}));
}

// Two clients on one data folder: the second one's start removes the temporary file of a
// writer that died, and leaves the one a live writer is filling, whose save then lands.
TEST(FileSystem, TheStartRemovesOnlyTheTemporaryFilesOfWritersThatAreGone) {
    TempDir dir;
    const std::string target = dir.file("defaults.plist");
    WriterProcess killed(target);
    killed.kill();
    WriterProcess live(target);
    ASSERT_EQ(filesIn(dir.path()).size(), 2u);
    QuietLog quiet;
    EXPECT_EQ(removeInterruptedWrites(dir.path(), "defaults.plist"), 1u);
    EXPECT_EQ(live.finish(), 0);
    EXPECT_EQ(readTextFile(target), "first half, second half");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"defaults.plist"});
}

TEST(FileSystem, ReplacesWholeFilesAndReadsThemBack) {
    TempDir dir;
    std::string target = dir.file("blob");
    Bytes big(300000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    ASSERT_TRUE(writeFileAtomically(target, big));
    EXPECT_EQ(readFile(target), big);
    ASSERT_TRUE(writeFileAtomically(target, Bytes{}));
    EXPECT_EQ(readFile(target), Bytes{});
    EXPECT_FALSE(readFile(dir.file("absent")).has_value());
}

TEST(FileSystem, DocumentsFolderIsMadeInsideTheDataFolder) {
    TempDir dir;
    setDataDirectory(dir.file("data"));
    EXPECT_EQ(documentsDirectory(), dir.file("data/Documents"));
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("data/Documents").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    setDataDirectory("");
}
