#include "app/UIController.h"
#include "platform/services/UrlOpener.h"
#include "portal/GlobalMessageHandler.h"
#include "tests/portal/PortalTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace kavo::test {
namespace {

// Every portal reply, with the sub-commands of those that have one.
const std::vector<int16_t> kReplies = {
    3,    4,    5,    6,    7,    10,   17,   29,   30,   31,   32,   33,   34,   35,   36,   38,   40,   41,   44,
    45,   46,   48,   55,   61,   71,   72,   73,   74,   76,   78,   79,   101,  104,  147,  220,  1003, 1005, 1008,
    1010, 1201, 1202, 1203, 1400, 1401, 1402, 1403, 1404, 1701, 1707, 2302, 2303, 2306, 2601, 2700, 2703, 2800};
const std::vector<int16_t> kRepliesWithSub = {40, 45, 72, 78, 79, 101, 104};

class GarbledReplies : public ::testing::Test {
protected:
    PortalEnvironment env;

    GarbledReplies() {
        // Addresses a reply asks to open are only recorded.
        platform::UrlOpener::setBrowserLauncher([](const std::string&) { return false; });
    }
    ~GarbledReplies() override {
        PortalEnvironment::runMainThread();
        platform::UrlOpener::setBrowserLauncher({});
        platform::UrlOpener::clearRecord();
    }
};

// A server that sends noise, cut rows or lying lengths must never bring the client
// down: each reply is read as far as it goes and handled by the real logic handler
// and its screen work on the main thread.
TEST_F(GarbledReplies, NoiseInEveryPortalReplyIsSurvived) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byteValue(0, 255);
    std::uniform_int_distribution<size_t> length(0, 24);
    for (int round = 0; round < 12; ++round) {
        for (int16_t command : kReplies) {
            const bool withSub =
                std::find(kRepliesWithSub.begin(), kRepliesWithSub.end(), command) != kRepliesWithSub.end();
            for (int sub = 0; sub < (withSub ? 24 : 1); ++sub) {
                // Small numbers and short texts as often as noise, so that rows parse
                // and reach the logic handler as well as failing half way.
                Bytes fields;
                for (size_t n = length(random); n > 0; --n) {
                    switch (byteValue(random) % 4) {
                    case 0:
                        fields.byte(int8_t(byteValue(random)));
                        break;
                    case 1:
                        fields.byte(int8_t(byteValue(random) % 6));
                        break;
                    case 2:
                        fields.int32(byteValue(random) % 4 == 0 ? -1 : byteValue(random) % 30);
                        break;
                    default:
                        fields.utf(std::string(size_t(byteValue(random) % 6), 'a' + char(byteValue(random) % 26)));
                        break;
                    }
                }
                ByteVector body = fields.data();
                if (withSub) body.insert(body.begin(), uint8_t(sub));
                deliver(command, body);
                PortalEnvironment::runMainThread();
            }
        }
    }
    // The client still understands the server afterwards.
    deliver(17, Bytes().int64(7777).utf("da chuyen"));
    deliver(1701, Bytes().int32(2).int64(5).int32(9).utf("He thong").utf("van chay"));
    PortalEnvironment::runMainThread();
    EXPECT_EQ(UIController::myInfo()->money(), 7777);
    const auto mail = UIController::listMessageWithFilter(2);
    ASSERT_FALSE(mail.empty());
    EXPECT_EQ(mail.front()->message(), "van chay");
    EXPECT_EQ(mail.front()->fromName(), "he thong");
}

} // namespace
} // namespace kavo::test
