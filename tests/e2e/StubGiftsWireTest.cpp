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

} // namespace
} // namespace kavo::test
