// The Phom road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person from the game grid through a deal's first turns.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "portal/GlobalService.h"
#include "table/GameController.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kBinh = 99; // place 0: left of me (seat 3)
constexpr int32_t kChu = 77;  // place 2: right of me (seat 1)
constexpr int32_t kDung = 55; // place 3: across (seat 2)
constexpr int32_t kEm = 66;   // sits down in place 3 later

Bytes& row(Bytes& bytes, int32_t id, const std::string& name, bool ready = true) {
    bytes.int32(id);
    if (id == -1) return bytes;
    return bytes.utf(name).int64(500000).int16(1).int32(300).boolean(ready);
}

// The dealt hand: a set of sevens, ace-two-three of spades and four loose cards.
const std::vector<int8_t> kHand = {13, 51, 0, 24, 30, 4, 26, 41, 8, 25};

class PhomRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        portal().onCommand(61, [](Message& request, TestPortal::Reply& reply) {
            Message accepted(61);
            accepted.writeByte(request.readByte());
            reply.send(accepted);
        });
        portal().onCommand(2700, [](Message&, TestPortal::Reply& reply) {
            reply.send(Bytes()
                           .int32(100000)
                           .int32(1)
                           .byte(2)
                           .byte(7)
                           .boolean(false)
                           .int32(1000)
                           .int32(10000)
                           .boolean(false)
                           .byte(3)
                           .byte(4)
                           .byte(0)
                           .message(2700));
        });
    }

    // Signs in, opens the Phom list, joins board 7 of room 2 and gets the join reply:
    // four places with me in the second, so that the others turn around me.
    void joinTheTable() {
        launch();
        const int connections = portal().connectionCount();
        GlobalService::getInstance().connect();
        ASSERT_TRUE(portal().waitForConnections(connections + 1, 5));
        ASSERT_TRUE(
            portal().sendToClient(Bytes().int32(kMe).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500).message(3)));
        auto result = drive("screen GameView 5\nadvance 0.5\ntap id=btnPhom\nscreen BoardView 5\nadvance 0.5\n"
                            "wait text=1000 zel 5\ntap text=1000 zel");
        ASSERT_TRUE(result.ok) << result.message << "\n" << log();
        ASSERT_FALSE(lastSent(8).empty());
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        row(join, kBinh, "Binh");
        row(join, kMe, "Khach", false);
        row(join, kChu, "Chu");
        row(join, kDung, "Dung");
        send(join.message(8));
        ASSERT_TRUE(drive("screen PhomNewView 5\nadvance 0.5").ok) << log();
        // The join's notice, if any, is closed like a person would.
        advance(5);
        portal().clearMessages();
    }
    void send(const Message& message) {
        ASSERT_TRUE(portal().sendToClient(message));
        platform::RunLoop::main().runUntil([] { return false; }, 0.2);
        advance(0);
    }
    void tap(const std::string& id) {
        auto result = drive("tap id=" + id);
        ASSERT_TRUE(result.ok) << id << ": " << result.message << "\n" << log();
    }
    // The table requests the portal got since the last clear, as "command:hex" in order.
    std::string sent() {
        platform::RunLoop::main().runUntil([] { return false; }, 0.2);
        std::string all;
        for (const auto& message : portal().messages()) {
            // The table's own requests; pictures and the like are not this road's.
            static constexpr int16_t kTable[] = {20, 21, 49, 63, 64, 65, 67, 68};
            if (std::find(std::begin(kTable), std::end(kTable), message.commandId) == std::end(kTable)) continue;
            all += (all.empty() ? "" : " ") + std::to_string(message.commandId) + ":" + toHex(message.body);
        }
        portal().clearMessages();
        return all;
    }
    std::vector<uint8_t> lastSent(int16_t command) {
        platform::RunLoop::main().runUntil([&] { return !portal().messages(command).empty(); }, 5);
        const auto all = portal().messages(command);
        return all.empty() ? std::vector<uint8_t>{} : all.back().body;
    }
    std::shared_ptr<PhomNewView> table() { return GameController::getPhomNewView(); }
    // A finger on the strip of a hand card that the next card leaves uncovered.
    void tapCard(int id) {
        std::shared_ptr<CardViewPhom> card;
        for (const auto& c : table()->myCards())
            if (c->cardID() == id) card = c;
        ASSERT_TRUE(card) << id;
        const auto frame = card->convertRect(card->bounds(), nullptr);
        const platform::ui::Point point{frame.x() + 4, frame.y() + frame.height() / 2};
        auto& app = platform::ui::Application::shared();
        app.dispatchTouch(platform::ui::TouchPhase::Began, point);
        platform::RunLoop::main().runPending();
        app.dispatchTouch(platform::ui::TouchPhase::Ended, point);
        advance(0);
    }
    // Closes the table's own bubble so that the next text shows at once.
    void clearBubble() { table()->hideChat(PhomNewView::kBubble); }
    std::vector<int> hand() {
        std::vector<int> ids;
        for (const auto& card : table()->myCards())
            ids.push_back(card->cardID());
        return ids;
    }
    std::string bubble() {
        const auto& chat = table()->chat(PhomNewView::kBubble);
        if (chat->isHidden() || chat->subviews().empty()) return "";
        return chat->subviews().front()->text();
    }
    std::string action() {
        const auto& button = table()->btnAutoSelected();
        return button->isHidden() ? "" : button->titleForState(platform::ui::ControlState::Normal);
    }
    void fire(int32_t by, int32_t next, int8_t card, int8_t slot) {
        send(Bytes().byte(2).byte(7).int32(by).int32(next).byte(card).byte(slot).message(21));
    }
    void deal() {
        tap("btnStart");
        EXPECT_EQ(sent(), "20:0207");
        Bytes start = Bytes().byte(2).byte(7).byte(30).int32(kMe).int32(kMe);
        for (int8_t card : kHand)
            start.byte(card);
        send(start.message(20));
    }
    size_t shownCards() {
        const auto& cards = table()->playersCards(0);
        return size_t(std::count_if(cards.begin(), cards.end(), [](const auto& c) { return !c->isHidden(); }));
    }
};

TEST_F(PhomRoad, APlayerJoinsIsDealtFiresDrawsAndEatsAgainstTheServer) {
    joinTheTable();
    auto view = table();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->getSeatFromID(kMe), 0);
    EXPECT_EQ(view->getSeatFromID(kChu), 1);
    EXPECT_EQ(view->getSeatFromID(kDung), 2);
    EXPECT_EQ(view->getSeatFromID(kBinh), 3);
    EXPECT_EQ(view->seat(1).btnName->text(), "chu");

    // Dung leaves (his rows are cleared, the seat empties) and Em sits in his place.
    view->cardShow()[2][0] = 33;
    send(Bytes().int32(kDung).int32(kMe).message(14));
    EXPECT_EQ(view->getIDAtSeat(2), -1);
    EXPECT_EQ(view->cardShow()[2][0], -1);
    EXPECT_TRUE(view->seat(2).btnName->isHidden());
    Bytes em = Bytes().byte(3).int32(kEm).utf("Em").int64(300000).int16(2).int32(100);
    send(em.message(12));
    send(Bytes().int32(kEm).boolean(true).message(16));
    EXPECT_EQ(view->getSeatFromID(kEm), 2);
    EXPECT_EQ(view->seat(2).btnName->text(), "em");

    // The deal: ten cards, one every 0.1 s, sorted with the melds first and raised.
    deal();
    EXPECT_EQ(sent(), "68:020702"
                      "1a1918ff"
                      "080400ff"
                      " 68:020702"
                      "1a1918ff"
                      "080400ff");
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 13, 30, 41, 51}));
    EXPECT_EQ(shownCards(), 1u);
    advance(0.1);
    EXPECT_EQ(shownCards(), 2u);
    // A slide asked for while the deal runs waits for it.
    view->paintMyCards(view->myCards());
    platform::RunLoop::main().runUntil([] { return false; }, 0.05);
    EXPECT_TRUE(view->waitingChiaBai());
    advance(0.3);
    EXPECT_LT(shownCards(), 10u);
    advance(0.8);
    EXPECT_EQ(shownCards(), 10u);
    EXPECT_FALSE(view->waitingChiaBai());
    advance(1.0);
    const int rowY = view->handRowY();
    for (const auto& card : view->myCards()) {
        const bool meld = card->phom() != 0;
        EXPECT_EQ(card->center().y, rowY + (meld ? 5 : 0)) << int(card->cardID());
        EXPECT_EQ(card->layer().shadowOpacity() > 0, meld) << int(card->cardID());
    }
    EXPECT_FALSE(view->btnBaiTy()->isHidden());

    // Out of turn the stock only says to wait.
    tap("btnBaiTy");
    EXPECT_EQ(bubble(), text("KAVO_ChoDenLuot"));
    EXPECT_EQ(sent(), "");

    // I fire a seven of my set: the set breaks, 21 goes out; the echo moves it to my row.
    EXPECT_EQ(action(), text("KAVO_fire"));
    tapCard(24);
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "21:020718 68:020702"
                      "1a1918ff"
                      "080400ff");
    fire(kMe, kChu, 24, 0);
    EXPECT_EQ(hand(), (std::vector<int>{8, 4, 0, 13, 26, 25, 30, 41, 51}));
    EXPECT_EQ(sent(), "68:020701080400ff");
    ASSERT_EQ(view->playersFiredCards(0).size(), 1u);
    EXPECT_EQ(view->playersFiredCards(0)[0]->cardID(), 24);
    EXPECT_EQ(action(), "");

    // A slot outside the row changes no row.
    const auto rows = view->cardShow();
    fire(kChu, kEm, 33, 9);
    EXPECT_EQ(view->cardShow(), rows);
    fire(kChu, kEm, 33, 0);
    fire(kEm, kBinh, 37, 0);
    EXPECT_EQ(view->cardShow()[1][0], 33);
    EXPECT_EQ(view->cardShow()[2][0], 37);

    // Binh's discard names me next: eat or draw. I draw.
    fire(kBinh, kMe, 27, 0);
    EXPECT_EQ(action(), text("KAVO_eat"));
    EXPECT_TRUE(view->isEatCard());
    EXPECT_FALSE(view->imgNextMe()->isHidden());
    tap("btnBaiTy");
    EXPECT_EQ(sent(), "68:020701080400ff 63:0207 68:020701080400ff");
    clearBubble();
    tap("btnBaiTy");
    EXPECT_EQ(bubble(), text("KAVO_ChoDenLuot"));
    send(Bytes().byte(2).byte(7).int32(kMe).byte(40).message(63));
    EXPECT_EQ(hand(), (std::vector<int>{8, 4, 0, 13, 26, 25, 30, 41, 40, 51}));
    EXPECT_EQ(action(), text("KAVO_fire"));
    EXPECT_TRUE(view->imgNextMe()->isHidden());
    sent();
    tapCard(51);
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "21:020733 68:020701080400ff");
    fire(kMe, kChu, 51, 1);
    fire(kChu, kEm, 34, 1);
    fire(kEm, kBinh, 38, 1);

    // Binh fires the last seven: I eat it with my two sevens.
    fire(kBinh, kMe, 27, 1);
    sent();
    clearBubble();
    tapCard(26);
    tap("btnAutoSelected");
    EXPECT_EQ(bubble(), text("KAVO_selectMin2Cards"));
    EXPECT_EQ(sent(), "");
    tapCard(26);
    tapCard(25);
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "64:02071b1a19 68:020701080400ff");
    // The server refuses first (its text in the bubble), then takes the eat.
    clearBubble();
    send(Bytes().byte(7).byte(2).utf("Không thành phỏm").message(54));
    EXPECT_EQ(bubble(), "Không thành phỏm");
    send(Bytes().byte(2).byte(7).int32(kMe).message(64));
    EXPECT_EQ(hand(), (std::vector<int>{27, 26, 25, 8, 4, 0, 13, 30, 41, 40}));
    EXPECT_TRUE(view->myCards()[0]->isFix());
    EXPECT_EQ(view->myCards()[0]->phom(), view->myCards()[1]->phom());
    // The eaten card left Binh's row; my last discard took its place there.
    EXPECT_EQ(view->cardShow()[3][1], 51);
    EXPECT_EQ(view->cardShow()[0][1], -1);
    EXPECT_EQ(view->showCardEat()[0][0], 27);
    EXPECT_EQ(action(), text("KAVO_fire"));
    EXPECT_EQ(sent(), "68:020702"
                      "1b1a19ff"
                      "080400ff");
}

TEST_F(PhomRoad, ASkipPassesTheTurnAndTheDrawAfterThreeDiscardsOffersLayingMelds) {
    joinTheTable();
    auto view = table();
    deal();
    advance(2.5);
    sent();
    // The server passes the turn on with 49: to me, eat or draw with my clock running.
    send(Bytes().byte(2).byte(7).int32(kMe).int32(kMe).message(49));
    EXPECT_EQ(action(), text("KAVO_eat"));
    EXPECT_FALSE(view->progressTimer()->isHidden());
    send(Bytes().byte(2).byte(7).int32(kChu).int32(kMe).message(49));
    EXPECT_EQ(view->currentPlayer(), kChu);
    // Three discards of mine on the table (the server's echoes), then my draw.
    fire(kMe, kChu, 13, 0);
    fire(kMe, kChu, 30, 1);
    fire(kMe, kChu, 41, 2);
    fire(kBinh, kMe, 46, 0);
    sent();
    tap("btnBaiTy");
    EXPECT_EQ(sent(), "68:020702"
                      "1a1918ff"
                      "080400ff"
                      " 63:0207 68:020702"
                      "1a1918ff"
                      "080400ff");
    send(Bytes().byte(2).byte(7).int32(kMe).byte(45).message(63));
    EXPECT_EQ(action(), text("KAVO_haPhom"));
    sent();
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "65:020702"
                      "1a1918ff"
                      "080400ff");
    EXPECT_EQ(action(), "");
}

} // namespace
} // namespace kavo::test
