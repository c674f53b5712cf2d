// The Phom road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person from the game grid through a deal's first turns.
#include "tests/e2e/PhomRoad.h"

#include "table/sheets/boardChat.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(PhomRoad, APlayerJoinsIsDealtFiresDrawsAndEatsAgainstTheServer) {
    joinTheTable();
    auto view = table();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->getSeatFromID(kMe), 0);
    EXPECT_EQ(view->getSeatFromID(kChu), 1);
    EXPECT_EQ(view->getSeatFromID(kDung), 2);
    EXPECT_EQ(view->getSeatFromID(kBinh), 3);
    EXPECT_EQ(view->seat(1).btnName->text(), "Chu") << "names are shown as sent";
    send(Bytes().byte(2).byte(7).int32(kChu).utf("xin chao").message(9));
    ASSERT_FALSE(view->chatView()->historyChat().empty());
    EXPECT_EQ(view->chatView()->historyChat().back()->name(), "Chu");

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
    EXPECT_EQ(view->seat(2).btnName->text(), "Em");

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
    advance(0);
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

    // I fire a seven of my set: the set breaks and no meld reported holds the card in
    // flight; the echo moves it to my row.
    EXPECT_EQ(action(), text("KAVO_fire"));
    tapCard(24);
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "21:020718 68:020701080400ff");
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

    // A discard I could take with a card of the meld that holds my eaten card: refused.
    tapCard(41);
    tap("btnAutoSelected");
    fire(kMe, kChu, 41, 2);
    fire(kChu, kEm, 35, 2);
    fire(kEm, kBinh, 39, 2);
    fire(kBinh, kMe, 29, 2);
    sent();
    ASSERT_EQ(action(), text("KAVO_eat"));
    clearBubble();
    tapCard(26);
    tapCard(30);
    tap("btnAutoSelected");
    EXPECT_EQ(bubble(), text("KAVO_invalidCard"));
    EXPECT_EQ(sent(), "");
}

TEST_F(PhomRoad, AFireFromASetReportsTheRestLooseAndARefusalFormsTheSetAgain) {
    joinTheTable();
    auto view = table();
    deal();
    advance(2.5);
    sent();
    tapCard(25);
    tap("btnAutoSelected");
    EXPECT_EQ(sent(), "21:020719 68:020701080400ff");
    EXPECT_EQ(hand(), (std::vector<int>{8, 4, 0, 13, 26, 24, 30, 41, 51, 25})) << "the card waits for its echo";
    send(Bytes().byte(7).byte(2).utf("Chua den luot").message(54));
    EXPECT_EQ(bubble(), "Chua den luot");
    EXPECT_EQ(sent(), "68:020702"
                      "1a1918ff"
                      "080400ff");
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 13, 30, 41, 51}));
    EXPECT_NE(view->myCards()[1]->phom(), 0);
    EXPECT_EQ(view->myCards()[0]->phom(), view->myCards()[2]->phom());
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
    EXPECT_EQ(action(), text("KAVO_eat")) << "with three discards down I may still eat";
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

TEST_F(PhomRoad, AFriendListJustBeforeTheJoinMarksThatJoinsPlayers) {
    friendsFirst = {kChu};
    joinTheTable();
    EXPECT_EQ(table()->playerWithId(kChu)->isFriend(), 1);
    EXPECT_EQ(table()->playerWithId(kBinh)->isFriend(), 0);
}

TEST_F(PhomRoad, TheOwnerIsMarkedReadyWhateverTheJoinSays) {
    joinTheTable();
    EXPECT_EQ(table()->playerWithId(kMe)->isReady(), 1) << "my row says not ready, but I own the table";
}

} // namespace
} // namespace kavo::test
