// The mailbox's index of identities: a mail is found while a copy of it is counted, and not
// once the last copy went, through growth and long runs of mail coming and going; a lookup
// gives the counted copies themselves.
#include "app/MailStoreIndex.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

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

std::vector<const KavoMessage*> copiesOf(const MailStoreIndex& index, const KavoMessage& message) {
    std::vector<const KavoMessage*> copies;
    index.forEachCopy(message, [&copies](const KavoMessage& copy) { copies.push_back(&copy); });
    return copies;
}

TEST(MailStoreIndex, AMailCountedTwiceIsFoundUntilBothCopiesWent) {
    MailStoreIndex index;
    const KavoMessage m = mail(10, "chao");
    index.add(m);
    index.add(m);
    index.remove(m);
    EXPECT_TRUE(index.contains(m));
    index.remove(m);
    EXPECT_FALSE(index.contains(m));
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
        EXPECT_FALSE(index.contains(other)) << other.message() << " " << other.time();
    const KavoMessage line = mail(0, "chat");
    index.add(line);
    EXPECT_FALSE(index.contains(line));
    EXPECT_EQ(index.countOfType(1), 2u) << "a chat line counts for its type";
}

// Far more mails come and go than the table holds at once: each is found exactly while it is
// counted, however many removed places lie in the way.
TEST(MailStoreIndex, ThousandsOfMailsComingAndGoingAreFoundExactlyWhileCounted) {
    MailStoreIndex index;
    constexpr int kKept = 1000;
    std::deque<KavoMessage> counted;
    for (int i = 0; i < 50'000; ++i) {
        counted.push_back(mail(1'000 + i, "thu " + std::to_string(i), i % 3));
        index.add(counted.back());
        if (i >= kKept) {
            index.remove(counted.front());
            counted.pop_front();
        }
    }
    for (int i = 0; i < 50'000; ++i)
        ASSERT_EQ(index.contains(mail(1'000 + i, "thu " + std::to_string(i), i % 3)), i >= 50'000 - kKept) << i;
    EXPECT_EQ(index.countOfType(0) + index.countOfType(1) + index.countOfType(2), size_t(kKept));
    index.clear();
    EXPECT_FALSE(index.contains(mail(1'000 + 49'999, "thu 49999", 49'999 % 3)));
}

// A lookup gives the counted mails of that identity themselves, so their owner finds them
// without walking its list; removing one copy leaves the other. A mail whose identity changed
// while counted is uncounted by its removal all the same: once it is gone, a lookup under its
// old identity does not reach it.
TEST(MailStoreIndex, ALookupGivesTheCountedCopiesThemselves) {
    MailStoreIndex index;
    const KavoMessage first = mail(10, "chao");
    const KavoMessage second = mail(10, "chao");
    const KavoMessage other = mail(12, "khac");
    auto changed = std::make_unique<KavoMessage>(mail(11, "chao"));
    index.add(first);
    index.add(other);
    index.add(second);
    index.add(*changed);
    std::vector<const KavoMessage*> copies = copiesOf(index, mail(10, "chao"));
    std::sort(copies.begin(), copies.end());
    std::vector<const KavoMessage*> expected{&first, &second};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(copies, expected);
    index.remove(first);
    EXPECT_EQ(copiesOf(index, mail(10, "chao")), std::vector<const KavoMessage*>{&second});

    changed->setMessage("chao ban");
    index.remove(*changed);
    changed.reset();
    EXPECT_TRUE(copiesOf(index, mail(11, "chao")).empty());
    EXPECT_TRUE(copiesOf(index, mail(11, "chao ban")).empty());
    EXPECT_EQ(index.countOfType(1), 2u);
}

} // namespace
} // namespace kavo
