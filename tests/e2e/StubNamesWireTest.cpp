// No two of the portal stub's accounts read alike, over plain wire connections: a name
// with a blank at either end or a space a person cannot tell from a blank is not valid,
// one that reads as an account's or a stub player's name (another script's letters,
// fullwidth letters, a capital I for an l, an O for a zero) opens no account, at
// registration and at sign-in alike, also when several are sent at once, and a name
// written with its marks apart is the account of the name composed. Each letter of a name
// may carry three marks of its own. An account kept before names were compared so still
// signs in, and its file is left as it was.
#include "platform/foundation/SqliteDatabase.h"
#include "tests/e2e/StubWire.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavo::test {
namespace {

constexpr int64_t kStart = 1000000;
// The bound of a wait for an answer, as of every wait for a state (the client tests'
// kStateWait): far above what any load makes of it.
constexpr double kWait = 30;
const std::string kNotValid = "Tên đăng nhập không hợp lệ";
const std::string kAlike = "Tên đăng nhập này dễ nhầm với tên của người chơi khác";

// "Hải10" composed, and with its hook above apart (a, U+0309).
const std::string kHai10 = "H\xe1\xba\xa3i10";
const std::string kHai10Apart = "Ha\xcc\x89i10";

// What a sign-in (1) was answered: the id and balance it signed in with (3), or the
// refusal's text (4).
struct SignedIn {
    int32_t id = 0;
    int64_t money = -1;
    std::string refusal;
};

SignedIn signIn(StubPerson& person, const std::string& name) {
    person.send(1, signInBody(name));
    SignedIn answer;
    auto reply = person.nextOf({3, 4}, kWait);
    if (!reply) {
        answer.refusal = "no answer";
    } else if (reply->commandId() == 4) {
        answer.refusal = reply->readUTF();
    } else {
        answer.id = reply->readInt();
        answer.money = reply->readLong();
    }
    return answer;
}

// The answer to a registration (35) of `name`.
ByteVector registration(StubPerson& person, const std::string& name) {
    person.send(35, Bytes().utf(name).utf("123").data());
    auto answer = person.next(35, -1, kWait);
    return answer ? ByteVector(answer->data().begin(), answer->data().end()) : ByteVector{};
}

// The registration's answers: an account opened under `name`, `name` taken, or a refusal
// that says why without the name.
ByteVector opened(const std::string& name) {
    return Bytes().utf(name).boolean(true).utf("KAVO DK " + name).utf("8777").data();
}
ByteVector taken(const std::string& name) {
    return Bytes().utf(name).boolean(false).utf("").utf("").data();
}
ByteVector refused(const std::string& reason) {
    return Bytes().utf("").boolean(false).utf(reason).utf("").data();
}

// Whether a message for `name` goes (104 sub 13): whether a stub player or a person with
// an account has that name.
bool someoneNamed(StubPerson& watcher, const std::string& name) {
    watcher.send(104, Bytes().byte(13).utf(name).utf("chào").data());
    auto answer = watcher.next(104, 13, kWait);
    if (!answer) return false;
    answer->readByte();
    return answer->readByte() == 1;
}

// Sends `amount` to the stub player lan: the balance the answer tells.
int64_t sendToLan(StubPerson& person, int32_t amount) {
    person.send(17, Bytes().utf("lan").int32(amount).data());
    auto answer = person.next(17, -1, kWait);
    return answer ? answer->readLong() : -1;
}

// A stub of the test's own and a person's connection to it, not signed in.
class NameWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub_.ready());
        person_ = std::make_unique<StubPerson>(stub_.port());
        ASSERT_TRUE(person_->connected());
    }
    StubPerson& person() { return *person_; }

    StubProcess stub_;
    std::unique_ptr<StubPerson> person_;
};

// Names beside the account "Hải10" and the stub players: spaced as no name may be, or
// reading as one of theirs.
const std::tuple<const char*, std::string, std::string> kNamesRefused[] = {
    {"a blank at the end", "lan ", kNotValid},
    {"a blank at the start", " lan", kNotValid},
    {"a no-break space at the end", "lan\xc2\xa0", kNotValid},
    {"a no-break space inside", "Văn\xc2\xa0Hải", kNotValid},
    {"a narrow no-break space", "Văn\xe2\x80\xafHải", kNotValid},
    {"a figure space", "Văn\xe2\x80\x87Hải", kNotValid},
    {"an ideographic space inside", "Văn\xe3\x80\x80Hải", kNotValid},
    {"the braille blank", "lan\xe2\xa0\x80", kNotValid},
    {"two blanks in a row", "Văn  Hải", kNotValid},
    {"a Cyrillic a", "l\xd0\xb0n", kAlike},
    {"fullwidth letters", "\xef\xbd\x8c\xef\xbd\x81\xef\xbd\x8e", kAlike},
    {"a capital I for an l", "Ian", kAlike},
    {"a one for an l", "1an", kAlike},
    {"a capital O for a zero", "H\xe1\xba\xa3i1O", kAlike},
    {"fullwidth digits", "H\xe1\xba\xa3i\xef\xbc\x91\xef\xbc\x90", kAlike},
    {"a Cyrillic a in banned", "b\xd0\xb0nned", kAlike},
};

// Each such name is refused by registration and by sign-in, the reason told in the player's
// language, and opens no account: a message for it finds no one.
TEST_F(NameWire, ANameThatReadsAsAnothersOpensNoAccountAtRegistrationOrSignIn) {
    StubPerson& person = this->person();
    ASSERT_EQ(registration(person, kHai10), opened(kHai10));
    for (const auto& [what, name, reason] : kNamesRefused) {
        SCOPED_TRACE(what);
        EXPECT_EQ(registration(person, name), refused(reason));
        EXPECT_EQ(signIn(person, name).refusal, reason);
    }
    StubPerson watcher(stub_.port());
    ASSERT_EQ(watcher.signIn("khach"), kStart);
    for (const auto& [what, name, reason] : kNamesRefused)
        EXPECT_FALSE(someoneNamed(watcher, name)) << what << ": no account";
    EXPECT_TRUE(someoneNamed(watcher, "lan")) << "the stub player";
    EXPECT_TRUE(someoneNamed(watcher, kHai10)) << "the account";

    // Told in the player's language.
    person.send(2800, languageBody("en"));
    ASSERT_TRUE(person.next(46, -1, kWait));
    EXPECT_EQ(registration(person, "l\xd0\xb0n"), refused("This user name reads like another player's"));
    EXPECT_EQ(signIn(person, "lan ").refusal, "The user name is not valid");
}

// "Hải10" written with its mark apart is the account "Hải10": taken at registration,
// signed in with its id and balance. A full name with several marks written apart opens
// one account, kept under the name composed, which signs in written either way.
TEST_F(NameWire, ANameWrittenWithItsMarksApartIsTheAccountOfTheNameComposed) {
    StubPerson& person = this->person();
    ASSERT_EQ(registration(person, kHai10), opened(kHai10));
    EXPECT_EQ(registration(person, kHai10Apart), taken(kHai10));
    const SignedIn composed = signIn(person, kHai10);
    ASSERT_EQ(composed.money, kStart);
    ASSERT_EQ(sendToLan(person, 1000), kStart - 1000);
    const SignedIn apart = signIn(person, kHai10Apart);
    EXPECT_EQ(apart.id, composed.id);
    EXPECT_EQ(apart.money, kStart - 1000) << "the balance the name composed spent";

    const std::string full = "Nguyễn Văn Hải";
    const std::string fullApart = "Nguye\xcc\x82\xcc\x83n Va\xcc\x86n Ha\xcc\x89i";
    EXPECT_EQ(registration(person, fullApart), opened(full));
    EXPECT_EQ(registration(person, full), taken(full));
    EXPECT_EQ(registration(person, fullApart), taken(full));
    const SignedIn first = signIn(person, fullApart);
    ASSERT_EQ(first.money, kStart);
    EXPECT_NE(first.id, composed.id);
    ASSERT_EQ(sendToLan(person, 2000), kStart - 2000);
    const SignedIn second = signIn(person, full);
    EXPECT_EQ(second.id, first.id);
    EXPECT_EQ(second.money, kStart - 2000);
}

// A name's letters may each carry up to three combining marks that no letter takes in
// (an x with a circumflex, a tilde and a macron beside a q with three lines under it),
// and so may four emoji each with its variation selector; one letter with four marks is
// not valid. At registration and at sign-in alike.
TEST_F(NameWire, EachLetterOfANameCarriesUpToThreeMarksOfItsOwn) {
    const std::string heart = "\xe2\x9d\xa4\xef\xb8\x8f";
    const std::string threeEach = "x\xcc\x82\xcc\x83\xcc\x84q\xcc\xb2\xcc\xb3\xcc\xb1";
    const std::string fourOnOne = "x\xcc\x82\xcc\x83\xcc\x84\xcc\x86";
    StubPerson& person = this->person();
    for (const std::string& name : {threeEach, heart + heart + heart + heart}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(registration(person, name), opened(name));
        EXPECT_EQ(signIn(person, name).money, kStart);
    }
    EXPECT_EQ(registration(person, fourOnOne), refused(kNotValid));
    EXPECT_EQ(signIn(person, fourOnOne).refusal, kNotValid);
}

// The letters of `ascii` in their fullwidth forms (U+FF01 to U+FF5E).
std::string fullwidth(const std::string& ascii) {
    std::string wide;
    for (char letter : ascii) {
        const int point = 0xff01 + (letter - '!');
        wide += char(0xe0 | point >> 12);
        wide += char(0x80 | (point >> 6 & 0x3f));
        wide += char(0x80 | (point & 0x3f));
    }
    return wide;
}

// Five connections send at once, round after round, the sign-ins of five new names that
// read alike: one signs in, the four others are refused as reading like his.
TEST_F(NameWire, NamesThatReadAlikeSentAtOnceOpenOneAccount) {
    std::vector<StubPerson*> people = {&person()};
    std::vector<std::unique_ptr<StubPerson>> others;
    for (int i = 0; i < 4; ++i) {
        others.push_back(std::make_unique<StubPerson>(stub_.port()));
        ASSERT_TRUE(others.back()->connected());
        people.push_back(others.back().get());
    }
    for (const std::string base : {"zed", "paz", "quo", "axe", "zap", "qed", "vex", "jaw"}) {
        SCOPED_TRACE(base);
        const std::vector<std::string> names = {base + "10", base + "l0", base + "IO", base + "1O",
                                                fullwidth(base + "10")};
        for (size_t i = 0; i < names.size(); ++i)
            people[i]->send(1, signInBody(names[i]));
        size_t signedIn = 0;
        for (StubPerson* person : people) {
            auto reply = person->nextOf({3, 4}, kWait);
            ASSERT_TRUE(reply);
            signedIn += reply->commandId() == 3;
            if (reply->commandId() == 4) {
                EXPECT_EQ(reply->readUTF(), kAlike);
            }
        }
        EXPECT_EQ(signedIn, 1u);
    }
}

// An account kept before names were compared (the file has no name book) under a name
// with its mark apart signs in written either way, one that reads like a stub player's
// signs in as kept, and a name that reads as a kept one opens nothing; the file keeps
// both accounts under their names as they were kept, and no other.
TEST(StubNames, AnAccountKeptBeforeNamesWereComparedStillSignsInAndItsFileStaysAsItWas) {
    TestFolder folder;
    const std::string state = folder.path + "/accounts";
    ASSERT_TRUE(std::filesystem::create_directory(state));
    const std::set<std::pair<std::string, int64_t>> kept = {{"p" + kHai10Apart, 123456}, {"pIan", 222222}};
    {
        platform::SqliteDatabase file;
        ASSERT_TRUE(file.open(state + "/accounts.sqlite"));
        ASSERT_TRUE(file.exec("CREATE TABLE accounts (key TEXT PRIMARY KEY, money INTEGER NOT NULL) WITHOUT ROWID"));
        for (const auto& [key, money] : kept) {
            auto keep = file.prepare("INSERT INTO accounts (key, money) VALUES (?, ?)");
            ASSERT_TRUE(keep.bindText(1, key) && keep.bindInt(2, money));
            ASSERT_EQ(keep.step(), platform::SqliteDatabase::kDone);
        }
    }
    {
        StubProcess stub({"--state-dir", state});
        ASSERT_TRUE(stub.ready());
        StubPerson person(stub.port());
        ASSERT_TRUE(person.connected());
        const SignedIn apart = signIn(person, kHai10Apart);
        EXPECT_EQ(apart.money, 123456);
        const SignedIn composed = signIn(person, kHai10);
        EXPECT_EQ(composed.money, 123456);
        EXPECT_EQ(composed.id, apart.id);
        EXPECT_EQ(signIn(person, "Ian").money, 222222);
        EXPECT_EQ(registration(person, kHai10), taken(kHai10Apart));
        EXPECT_EQ(registration(person, "H\xe1\xba\xa3i1O"), refused(kAlike));
        EXPECT_EQ(signIn(person, "H\xe1\xba\xa3i1O").refusal, kAlike);
    }
    platform::SqliteDatabase file;
    ASSERT_TRUE(file.open(state + "/accounts.sqlite"));
    auto persons = file.prepare("SELECT key, money FROM accounts WHERE key >= 'p' AND key < 'q'");
    std::set<std::pair<std::string, int64_t>> found;
    while (persons.step() == platform::SqliteDatabase::kRow)
        found.emplace(persons.columnText(0), persons.columnInt(1));
    EXPECT_EQ(found, kept);
}

} // namespace
} // namespace kavo::test
