// Presents from the portal stub's shop, over plain wire connections: an avatar or an item
// given to a person with an account is his from then on (among his avatars and items at
// his next sign-in) and the giver's to pay, and one given to a stub player is his to keep;
// an avatar the receiver has already (bought or given) is refused, and a gift the giver's
// money does not cover too, each naming the friend in the giver's language and taking
// nothing.
#include "tests/e2e/StubWire.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {
namespace {

constexpr int64_t kStart = 1000000;

// The body of a reply to `command` (and `sub`) that a request brings.
ByteVector answerTo(StubPerson& person, int16_t command, const ByteVector& request, int sub = -1) {
    person.send(command, request);
    auto answer = person.next(command, sub);
    return answer ? ByteVector(answer->data().begin(), answer->data().end()) : ByteVector{};
}

// His avatars (1010) and his items (101 sub 3, category 2, page 0), as bodies.
ByteVector avatarsOf(StubPerson& person) {
    return answerTo(person, 1010, {});
}
ByteVector itemsOf(StubPerson& person) {
    return answerTo(person, 101, Bytes().byte(3).int32(2).byte(0).byte(0).data(), 3);
}

// An avatar (104 sub 9) and an item (104 sub 8) given to the friend named `to`.
ByteVector avatarFor(int16_t avatar, const std::string& to) {
    return Bytes().byte(9).int16(avatar).utf(to).int32(0).data();
}
ByteVector itemFor(int32_t item, const std::string& to) {
    return Bytes().byte(8).int32(item).int32(0).utf(to).data();
}

// What a gift is answered: "" when given, else the refusal's text; and the balance the
// giver is told after a gift given (-1 after a refusal, which tells none).
std::pair<std::string, int64_t> giftAnswer(StubPerson& giver, const ByteVector& gift) {
    giver.send(104, gift);
    auto answer = giver.nextAny();
    while (answer && answer->commandId() != 45 && answer->commandId() != 104)
        answer = giver.nextAny();
    if (!answer) return {"no answer", -1};
    if (answer->commandId() == 45) {
        answer->readByte();
        return {answer->readUTF(), -1};
    }
    auto told = giver.next(17);
    return {"", told ? told->readLong() : -1};
}

// A person signs in as `name` on a connection of his own: his id (0 when refused).
int32_t personId(StubPerson& person, const std::string& name) {
    auto signedIn = person.signInReply(name);
    return signedIn ? signedIn->readInt() : 0;
}

TEST(StubGifts, APresentToAPersonIsAmongHisAvatarsAndItemsAtHisNextSignIn) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    int32_t receiverId = 0;
    {
        StubPerson receiver(stub.port());
        receiverId = personId(receiver, "nhanqua");
        ASSERT_NE(receiverId, 0);
        EXPECT_EQ(avatarsOf(receiver), Bytes().int32(0).data()) << "a new person has no avatar";
        receiver.send(1202, Bytes().int32(23).data()); // one of his own, 4,000 Zel
        ASSERT_TRUE(receiver.next(1202));
    }

    StubPerson giver(stub.port());
    ASSERT_EQ(giver.signIn("tangqua"), kStart);
    EXPECT_EQ(giftAnswer(giver, avatarFor(22, "nhanqua")), std::make_pair(std::string(), kStart - 3000));
    EXPECT_EQ(giftAnswer(giver, itemFor(101, "nhanqua")), std::make_pair(std::string(), kStart - 5000));
    EXPECT_EQ(giftAnswer(giver, avatarFor(22, "nhanqua")),
              std::make_pair(std::string("nhanqua đã có ảnh đại diện này"), int64_t(-1)))
        << "the avatar given before";
    EXPECT_EQ(giftAnswer(giver, avatarFor(23, "nhanqua")),
              std::make_pair(std::string("nhanqua đã có ảnh đại diện này"), int64_t(-1)))
        << "the avatar he bought";
    giver.send(2800, languageBody("en"));
    EXPECT_EQ(giftAnswer(giver, avatarFor(23, "nhanqua")),
              std::make_pair(std::string("nhanqua already has this avatar"), int64_t(-1)));
    // What is left is sent away but 1,000: a gift of 2,000 is more than that.
    giver.send(17, Bytes().utf("lan").int32(int32_t(kStart - 6000)).data());
    ASSERT_TRUE(giver.next(17));
    EXPECT_EQ(giftAnswer(giver, itemFor(101, "nhanqua")),
              std::make_pair(std::string("Not enough money for a gift to nhanqua"), int64_t(-1)));
    giver.send(2800, languageBody("vi"));
    EXPECT_EQ(giftAnswer(giver, itemFor(101, "nhanqua")),
              std::make_pair(std::string("Không đủ tiền tặng quà cho nhanqua"), int64_t(-1)));

    StubPerson again(stub.port());
    EXPECT_EQ(again.signIn("tangqua"), 1000) << "the refusals took nothing";
    StubPerson receiver(stub.port());
    EXPECT_EQ(receiver.signIn("nhanqua"), kStart - 4000) << "a present costs its receiver nothing";
    EXPECT_EQ(avatarsOf(receiver), Bytes()
                                       .int32(2)
                                       .int32(receiverId)
                                       .int32(23)
                                       .utf("Avatar 23")
                                       .utf("30 ngày")
                                       .int32(receiverId)
                                       .int32(22)
                                       .utf("Avatar 22")
                                       .utf("30 ngày")
                                       .data());
    EXPECT_EQ(itemsOf(receiver), Bytes()
                                     .byte(3)
                                     .int32(2)
                                     .byte(0)
                                     .int32(1)
                                     .int32(1)
                                     .int32(101)
                                     .utf("Vật phẩm 101")
                                     .int32(2000)
                                     .utf("")
                                     .boolean(false)
                                     .data());
}

// A present to a stub player is his to keep, as a person's is: an avatar given to him is
// paid once, and given again, on another connection or after the stub started anew on the
// same accounts, is refused naming him and takes nothing; an item he may be given again.
TEST(StubGifts, APresentToAStubPlayerIsHisAndAnAvatarHeHasIsRefused) {
    TestFolder folder;
    const std::vector<std::string> kept = {"--state-dir", folder.path + "/accounts"};
    const auto refused = std::make_pair(std::string("an đã có ảnh đại diện này"), int64_t(-1));
    {
        StubProcess stub(kept);
        ASSERT_TRUE(stub.ready());
        StubPerson giver(stub.port());
        ASSERT_EQ(giver.signIn("tangqua"), kStart);
        EXPECT_EQ(giftAnswer(giver, avatarFor(22, "an")), std::make_pair(std::string(), kStart - 3000));
        EXPECT_EQ(giftAnswer(giver, avatarFor(22, "an")), refused) << "again";
        EXPECT_EQ(giftAnswer(giver, itemFor(101, "an")), std::make_pair(std::string(), kStart - 5000));
        EXPECT_EQ(giftAnswer(giver, itemFor(101, "an")), std::make_pair(std::string(), kStart - 7000))
            << "an item again";
        StubPerson other(stub.port());
        ASSERT_EQ(other.signIn("khac"), kStart);
        EXPECT_EQ(giftAnswer(other, avatarFor(22, "an")), refused) << "from another person";
        other.send(2800, languageBody("en"));
        EXPECT_EQ(giftAnswer(other, avatarFor(22, "an")),
                  std::make_pair(std::string("an already has this avatar"), int64_t(-1)));
        EXPECT_EQ(giftAnswer(other, avatarFor(23, "an")), std::make_pair(std::string(), kStart - 4000))
            << "another avatar";
    }
    StubProcess again(kept);
    ASSERT_TRUE(again.ready());
    StubPerson giver(again.port());
    ASSERT_EQ(giver.signIn("tangqua"), kStart - 7000) << "the refusals took nothing";
    EXPECT_EQ(giftAnswer(giver, avatarFor(22, "an")), refused) << "after the stub's restart";
    StubPerson other(again.port());
    EXPECT_EQ(other.signIn("khac"), kStart - 4000);
}

// What a gift at a table (101 sub 7) from `giver` at room 1 and `board`, of `item`, to the
// player `to` is answered: "" when given (the answer naming the giver `from`, the gift and
// its receiver, and the balance told after it), else the refusal's text.
std::string tableGiftAnswer(StubPerson& giver, int32_t from, int8_t board, int32_t item, int32_t to) {
    giver.send(101, Bytes().byte(7).byte(1).byte(board).int32(item).int32(to).data());
    auto answer = giver.next(101, 7);
    if (!answer) return "no answer";
    answer->readByte();
    if (answer->readByte() != 0) return answer->readUTF();
    const int32_t named[] = {answer->readInt(), answer->readInt(), answer->readInt()};
    if (named[0] != from || named[1] != item || named[2] != to) return "given, named otherwise";
    return giver.next(17) ? "" : "given, no balance told";
}

// A person's balance, as his details (34) give it.
int64_t balanceOf(StubPerson& person, int32_t id) {
    Message detail(34, answerTo(person, 34, Bytes().int32(id).data()));
    detail.readInt();
    detail.readUTF();
    return detail.readLong();
}

// A gift at a table goes to a player at that table: from a giver seated there, to a player
// seated with him (a stub player, or the giver himself, whom giving to everyone includes).
// One from a giver at no table, or at another than the gift names, and one to an id no one
// has (999999, 0, -1), to a stub player who sits elsewhere, to a person at a table of his
// own or to a player kicked from the table takes nothing, leaves no line and is told why in
// the giver's language; so is one sent from a gift sheet left open after its giver left.
TEST(StubGifts, AGiftAtATableGoesToAPlayerAtThatTable) {
    constexpr int32_t kLan = 4001;
    constexpr int32_t kMinh = 4002;
    constexpr int32_t kAn = 201;   // a stub player at no table of his
    constexpr int32_t kHoa = 4003; // a stub player who sits at another game's tables
    const std::string notHere = "Bạn không ngồi ở bàn này";
    const std::string notWithYou = "Người chơi này không ngồi cùng bàn với bạn";
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    StubPerson other(stub.port());
    const int32_t otherId = personId(other, "ngoiban");
    ASSERT_NE(otherId, 0);
    ASSERT_FALSE(answerTo(other, 8, Bytes().byte(1).byte(1).utf("").data()).empty()) << "at a table of his own";
    StubPerson giver(stub.port());
    const int32_t me = personId(giver, "tangban");
    ASSERT_NE(me, 0);
    int64_t balance = kStart;
    std::vector<std::string> history;
    const auto unmoved = [&](const std::string& what) {
        EXPECT_EQ(balanceOf(giver, me), balance) << what;
        EXPECT_EQ(historyOf(giver), history) << what;
    };

    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, kLan), notHere) << "at no table yet";
    unmoved("at no table yet");
    ASSERT_FALSE(answerTo(giver, 8, Bytes().byte(1).byte(1).utf("").data()).empty());
    const std::pair<const char*, int32_t> nobodyHere[] = {{"no one's id", 999999},
                                                          {"id 0", 0},
                                                          {"id -1", -1},
                                                          {"a stub player at no table", kAn},
                                                          {"a stub player elsewhere", kHoa},
                                                          {"a person at his own table", otherId}};
    for (const auto& [what, to] : nobodyHere) {
        EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, to), notWithYou) << what;
        unmoved(what);
    }
    EXPECT_EQ(tableGiftAnswer(giver, me, 2, 4101, kLan), notHere) << "at another table than he sits at";
    unmoved("another table");

    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, kLan), "");
    balance -= 1000;
    history.push_back("Tặng Quà 41-1 cho lan (-1.000 Zel)");
    unmoved("given to lan");
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4102, me), "") << "to himself, as giving to everyone does";
    balance -= 2000;
    history.push_back("Tặng Quà 41-2 cho tangban (-2.000 Zel)");
    unmoved("given to himself");

    // Minh is kicked: the stub player who takes his place is at the table, minh no longer.
    giver.send(11, Bytes().byte(1).byte(1).int32(kMinh).data());
    auto joins = giver.next(12);
    ASSERT_TRUE(joins);
    joins->readByte();
    const int32_t newcomer = joins->readInt();
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, kMinh), notWithYou) << "a player kicked";
    unmoved("a player kicked");
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, newcomer), "") << "the one in his place";
    balance -= 1000;
    history.push_back("Tặng Quà 41-1 cho tuan (-1.000 Zel)");
    unmoved("given to the newcomer");

    // The gift sheet stays open as he leaves: what it sends then is refused.
    giver.send(15, Bytes().byte(1).byte(1).data());
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, kLan), notHere) << "after he left";
    unmoved("after he left");
    giver.send(2800, languageBody("en"));
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, kLan), "You are not at this table");
    ASSERT_FALSE(answerTo(giver, 8, Bytes().byte(1).byte(1).utf("").data()).empty());
    EXPECT_EQ(tableGiftAnswer(giver, me, 1, 4101, 999999), "This player is not at your table");
    giver.send(2800, languageBody("vi"));
    unmoved("in English");
}

} // namespace
} // namespace kavo::test
