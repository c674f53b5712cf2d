#include "tests/account/ShopTestSupport.h"

#include "account/ShopView.h"
#include "account/TopupZelByCardView.h"
#include "account/WaitingGifts.h"
#include "app/UIController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "platform/services/PaymentQueue.h"
#include "platform/services/SmsComposer.h"
#include "platform/ui/AlertView.h"
#include "tests/support/Bytes.h"

namespace kavo::test {

void ShopFixture::SetUp() {
    ClientFixture::SetUp();
    ShopView::getInstance()->resetForTesting();
    TopupZelByCardView::getInstance()->removeFromSuperview();
    WaitingGifts::forget();
    platform::PaymentQueue::defaultQueue().resetForTesting();
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Purchased);
    platform::SmsComposer::setTestResult(std::nullopt);
    platform::SmsComposer::clearRecord();
    platform::DeviceFacts facts;
    facts.model = "iPhone";
    facts.systemVersion = "6.1";
    platform::Device::setForTesting(facts);
}

void ShopFixture::TearDown() {
    platform::PaymentQueue::defaultQueue().resetForTesting();
    platform::SmsComposer::setTestResult(std::nullopt);
    platform::Device::resetForTesting();
    ShopView::getInstance()->resetForTesting();
    ClientFixture::TearDown();
}

void ShopFixture::signIn(bool keepRecord) {
    launch();
    auto result = drive("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                        "type id=txfPassword bimat\ntap id=btnSignIn\nwait text=" +
                        std::string(ClientWorld::kServerName) + "\ntap text=" + ClientWorld::kServerName +
                        "\nscreen GameView\nadvance 0.5\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    if (keepRecord) return;
    // The sign-in's last requests reach the portal before its record starts again.
    ASSERT_TRUE(portalCaughtUp());
    portal().clearMessages();
}

void ShopFixture::reply(const Message& message, const std::function<bool()>& done) {
    ASSERT_TRUE(portal().sendToClient(message));
    ASSERT_TRUE(clientCaughtUp()) << "reply " << message.commandId() << " not read";
    EXPECT_TRUE(platform::RunLoop::main().runUntil(done, kStateWait)) << "reply " << message.commandId() << " not seen";
    runPosted();
}

bool ShopFixture::waitFor(int16_t command, size_t count, double timeout) {
    return platform::RunLoop::main().runUntil([&] { return portal().messages(command).size() >= count; }, timeout);
}

std::vector<std::vector<uint8_t>> ShopFixture::bodies(int16_t command) const {
    std::vector<std::vector<uint8_t>> all;
    for (const auto& message : ClientWorld::get().portal().messages(command))
        all.push_back(message.body);
    return all;
}

int64_t ShopFixture::myMoney() {
    auto me = UIController::myInfo();
    return me ? me->money() : -1;
}

Message ShopFixture::channelList() {
    Message list(44);
    auto row = [&list](int8_t type, int8_t subId, const std::string& info, const std::string& content,
                       const std::string& to) {
        list.writeByte(type);
        if (subId >= 0) list.writeByte(subId);
        list.writeUTF(info);
        list.writeUTF(content);
        list.writeUTF(to);
    };
    row(0, -1, "Nap SMS", "KAVO NAP ", "8777");
    row(2, 1, "Thẻ gate", "", "");
    row(2, 2, "Thẻ viettel", "", "");
    row(5, -1, "Goi 20000", "vn.kavo.online.zel20", "");
    row(5, -1, "Goi 50000", "vn.kavo.online.zel50", "");
    row(8, 5, "The uu dai", "", "");
    return list;
}

Message ShopFixture::itemPage(const std::vector<std::pair<int32_t, int32_t>>& idsAndPrices) {
    Bytes page;
    page.byte(21).int32(3);
    for (const auto& [id, price] : idsAndPrices) {
        page.int32(id).utf("Item " + std::to_string(id)).int32(price).utf("").boolean(false);
    }
    return page.message(101);
}

Message ShopFixture::avatarPage(const std::vector<std::pair<int32_t, int32_t>>& idsAndPrices) {
    Bytes page;
    page.int32(3);
    for (const auto& [id, price] : idsAndPrices) {
        page.int32(id).utf("Avatar " + std::to_string(id)).int32(price).int32(30);
    }
    return page.message(1203);
}

Message ShopFixture::purchaseAnswer(int8_t status, const std::string& message, const std::string& receipt,
                                    int64_t money) {
    Bytes answer;
    answer.byte(5).byte(status).utf(message).utf(receipt).int64(money);
    return answer.message(71);
}

std::vector<uint8_t> ShopFixture::utf(const std::string& text) {
    std::vector<uint8_t> bytes{uint8_t(text.size() >> 8), uint8_t(text.size() & 0xFF)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

} // namespace kavo::test

namespace kavo::test {

void pressAlertButton(int index) {
    auto alerts = platform::ui::AlertView::visibleAlerts();
    ASSERT_FALSE(alerts.empty());
    auto button = alerts.back()->buttonAtIndex(index);
    ASSERT_NE(button, nullptr) << alerts.size() << " alerts, the last with " << alerts.back()->numberOfButtons()
                               << " buttons: " << alerts.back()->message() << " shown " << alerts.back()->isVisible();
    button->sendActions(platform::ui::ControlEvent::TouchUpInside);
}

} // namespace kavo::test
