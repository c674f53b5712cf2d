// The mailbox's index of identities: a mail is found while a copy of it is counted, and not
// once the last copy went, through growth and long runs of mail coming and going; a lookup
// counts the copies of an identity; a mail that changed while counted (its text, its server
// time gone to 0) is uncounted by its removal under what it was, and once freed nothing of it
// is read again.
#include "app/MailStoreIndex.h"

#include <deque>
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
    KavoMessage m = mail(10, "chao");
    index.add(m);
    index.add(m);
    EXPECT_EQ(index.copies(m), 2u);
    index.remove(m);
    EXPECT_TRUE(index.contains(m));
    index.remove(m);
    EXPECT_FALSE(index.contains(m));
    EXPECT_EQ(index.countOfType(1), 0u);
}

TEST(MailStoreIndex, AnyDifferenceOfTheIdentityIsAnotherMailAndChatLinesAreNeverFound) {
    MailStoreIndex index;
    KavoMessage m = mail(10, "chao");
    index.add(m);
    KavoMessage otherSender = m;
    otherSender.setFromName("ban");
    KavoMessage otherId = m;
    otherId.setFromID(8);
    for (const KavoMessage& other : {mail(11, "chao"), mail(10, "chao!"), mail(10, "chao", 2), otherSender, otherId})
        EXPECT_FALSE(index.contains(other)) << other.message() << " " << other.time();
    KavoMessage line = mail(0, "chat");
    index.add(line);
    EXPECT_FALSE(index.contains(line));
    EXPECT_EQ(index.countOfType(1), 2u) << "a chat line counts for its type";
    // A copy of a counted mail is counted nowhere: its removal takes nothing away.
    KavoMessage copy = m;
    index.remove(copy);
    EXPECT_TRUE(index.contains(m));
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

// A lookup counts the mails of an identity, whichever of them went; a mail whose identity
// changed while counted (its text, or its server time gone to 0, as a chat line's) is
// uncounted by its removal all the same, under what it was: nothing of it is found after.
TEST(MailStoreIndex, AMailThatChangedWhileCountedIsUncountedUnderWhatItWas) {
    MailStoreIndex index;
    KavoMessage first = mail(10, "chao");
    KavoMessage second = mail(10, "chao");
    KavoMessage other = mail(12, "khac");
    index.add(first);
    index.add(other);
    index.add(second);
    EXPECT_EQ(index.copies(mail(10, "chao")), 2u);
    index.remove(first);
    EXPECT_EQ(index.copies(mail(10, "chao")), 1u);

    KavoMessage texted = mail(11, "chao");
    KavoMessage timeless = mail(13, "chao");
    index.add(texted);
    index.add(timeless);
    texted.setMessage("chao ban");
    timeless.setTime(0);
    index.remove(texted);
    index.remove(timeless);
    for (const KavoMessage& was : {mail(11, "chao"), mail(11, "chao ban"), mail(13, "chao")})
        EXPECT_FALSE(index.contains(was)) << was.message() << " " << was.time();
    EXPECT_EQ(index.countOfType(1), 2u);
    EXPECT_EQ(index.copies(mail(10, "chao")), 1u);
    EXPECT_TRUE(index.contains(other));
}

// A counted mail that changed and went is freed: a lookup of what it was, and the same mail
// counted again, read nothing of it (the address sanitizer of the tests' build would say so),
// and the one counted again is found until it goes.
TEST(MailStoreIndex, AMailThatChangedAndWasFreedIsNeverReadAgain) {
    MailStoreIndex index;
    auto listed = std::make_shared<KavoMessage>(mail(10, "chao"));
    index.add(*listed);
    listed->setTime(0);
    index.remove(*listed);
    listed.reset();
    EXPECT_FALSE(index.contains(mail(10, "chao")));
    KavoMessage again = mail(10, "chao");
    index.add(again);
    EXPECT_EQ(index.copies(mail(10, "chao")), 1u);
    index.remove(again);
    EXPECT_FALSE(index.contains(mail(10, "chao")));
}

} // namespace
} // namespace kavo
