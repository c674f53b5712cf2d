#pragma once

#include "net/Message.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavo::test {

// The client launched and signed in as "an" (money ClientWorld::kPlayerMoney) on the
// game grid, with the shop empty and closed, the local store answering "purchased",
// no composer and the device an iPhone.
class ShopFixture : public ClientFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Launches and walks the sign-in road to the game grid; the portal's record then
    // starts empty unless `keepRecord`.
    void signIn(bool keepRecord = false);
    // Sends a reply to the client, waits until its twin has run, and then until `done`.
    void reply(const Message& message, const std::function<bool()>& done);
    // Runs the main loop until the portal holds `count` messages of `command`.
    [[nodiscard]] bool waitFor(int16_t command, size_t count, double timeout = kStateWait);
    std::vector<std::vector<uint8_t>> bodies(int16_t command) const;
    // The message of the dialog on top ("" when none).
    static int64_t myMoney();

    // A channel list: one SMS row, two cards, two store rows, one promotion card.
    static Message channelList();
    // A page of items (101/21) or avatars (1203) with the given ids and prices.
    static Message itemPage(const std::vector<std::pair<int32_t, int32_t>>& idsAndPrices);
    static Message avatarPage(const std::vector<std::pair<int32_t, int32_t>>& idsAndPrices);
    // 71: status, message, receipt, money.
    static Message purchaseAnswer(int8_t status, const std::string& message, const std::string& receipt, int64_t money);
    // A UTF field's bytes.
    static std::vector<uint8_t> utf(const std::string& text);
};

} // namespace kavo::test

namespace kavo::test {

// Presses a button of the alert on top, as a finger would.
void pressAlertButton(int index);

} // namespace kavo::test

// Runs a driver script inside a fixture and stops the test with the driver's message.
#define ASSERT_DRIVE(script)                                                                                           \
    do {                                                                                                               \
        const auto driven_ = drive(script);                                                                            \
        ASSERT_TRUE(driven_.ok) << driven_.message;                                                                    \
    } while (0)
