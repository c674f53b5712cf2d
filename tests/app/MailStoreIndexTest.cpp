// The mailbox's count of identities: a mail is found while a copy of it is counted, and not
// once the last copy went, through growth and long runs of mail coming and going.
#include "app/MailStoreIndex.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kavo {
namespace {

KavoMessage mail(int64_t time, const std::string& text, int32_t type = 1) {
    KavoMessage m;
    m.setType(type);
    m.setTime(time);
    m.setFromID(7);
    m.setFromName("admin");
    m.setMessage(text);
    return m;
}

TEST(MailStoreIndex, AMailCountedTwiceIsFoundUntilBothCopiesWent) {
    MailStoreIndex index;
    const KavoMessage m = mail(10, "chao");
    index.add(m);
    index.add(m);
    index.remove(m);
    EXPECT_TRUE(index.mayContain(m));
    index.remove(m);
    EXPECT_FALSE(index.mayContain(m));
    EXPECT_EQ(index.countOfType(1), 0u);
}

TEST(MailStoreIndex, AnyDifferenceOfTheIdentityIsAnotherMailAndChatLinesAreNeverFound) {
    MailStoreIndex index;
    const KavoMessage m = mail(10, "chao");
    index.add(m);
    KavoMessage otherSender = m;
    otherSender.setFromName("ban");
    KavoMessage otherId = m;
    otherId.setFromID(8);
    for (const KavoMessage& other : {mail(11, "chao"), mail(10, "chao!"), mail(10, "chao", 2), otherSender, otherId})
        EXPECT_FALSE(index.mayContain(other)) << other.message() << " " << other.time();
    const KavoMessage line = mail(0, "chat");
    index.add(line);
    EXPECT_FALSE(index.mayContain(line));
    EXPECT_EQ(index.countOfType(1), 2u) << "a chat line counts for its type";
}

// Far more mails come and go than the table holds at once: each is found exactly while it is
// counted, however many removed places lie in the way.
TEST(MailStoreIndex, ThousandsOfMailsComingAndGoingAreFoundExactlyWhileCounted) {
    MailStoreIndex index;
    constexpr int kKept = 1000;
    for (int i = 0; i < 50'000; ++i) {
        index.add(mail(1'000 + i, "thu " + std::to_string(i), i % 3));
        if (i >= kKept) index.remove(mail(1'000 + i - kKept, "thu " + std::to_string(i - kKept), (i - kKept) % 3));
    }
    for (int i = 0; i < 50'000; ++i)
        ASSERT_EQ(index.mayContain(mail(1'000 + i, "thu " + std::to_string(i), i % 3)), i >= 50'000 - kKept) << i;
    EXPECT_EQ(index.countOfType(0) + index.countOfType(1) + index.countOfType(2), size_t(kKept));
    index.clear();
    EXPECT_FALSE(index.mayContain(mail(1'000 + 49'999, "thu 49999", 49'999 % 3)));
}

} // namespace
} // namespace kavo
