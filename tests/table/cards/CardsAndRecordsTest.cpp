#include "app/Resources.h"
#include "app/UIController.h"
#include "games/baicao/BaiCaoView.h"
#include "games/maubinh/MauBinhView.h"
#include "games/tienlen/TienLenView.h"
#include "games/xizach/XiZachView.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/cards/CardView.h"
#include "table/cards/CardViewPhom.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

class Cards : public TableTest {
protected:
    void playAs(int8_t game) { UIController::setGameType(game); }
    void signInAs(int32_t id) {
        auto me = std::make_shared<Player>();
        me->setIDDB(id);
        UIController::setMyInfo(me);
    }
    static std::vector<platform::ui::Touch> touchAt(platform::ui::View& view, platform::ui::Point local) {
        platform::ui::Touch touch;
        touch.windowLocation = view.convertPoint(local, nullptr);
        touch.view = &view;
        return {touch};
    }
};

// A Tien Len table that counts the selection checks its cards ask for.
struct CountingTienLen : TienLenView {
    int checks = 0;
    void checkValidSelectedCards() override { ++checks; }
};

TEST_F(Cards, TienLenIdsShowTheirPictureRankSuitAndColour) {
    struct Case {
        int8_t id;
        const char* picture;
        int rank, suit, colour;
        const char* identifier;
    };
    const Case cases[] = {
        {0, "100.png", 0, 0, 0, "card0"},   {8, "8.png", 2, 0, 0, "card8"},       {10, "10.png", 2, 2, 1, "card10"},
        {51, "51.png", 12, 3, 1, "card51"}, {-1, "52.png", 0, -1, 0, "cardBack"}, {60, "52.png", 15, 0, 0, "card60"},
    };
    for (const auto& c : cases) {
        auto card = CardView::withCardID(c.id);
        EXPECT_EQ(card->pictureName(), c.picture) << int(c.id);
        EXPECT_EQ(card->cardValue(), c.rank) << int(c.id);
        EXPECT_EQ(card->cardType(), c.suit) << int(c.id);
        EXPECT_EQ(card->cardColor(), c.colour) << int(c.id);
        EXPECT_EQ(card->cardID(), c.id);
        EXPECT_EQ(card->accessibilityIdentifier(), c.identifier);
    }
    EXPECT_EQ(CardView::withCardID(5, true)->cardMapping(),
              (std::vector<uint8_t>{11, 12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Cards, TheOtherGamesMapTheirWireOrderToThePictures) {
    playAs(13);
    const std::pair<int8_t, const char*> aceLow[] = {{0, "44.png"},  {7, "51.png"},  {8, "100.png"},
                                                     {51, "43.png"}, {-1, "52.png"}, {70, "52.png"}};
    for (const auto& [id, picture] : aceLow) {
        auto card = CardViewPhom::withCardID(id);
        EXPECT_EQ(card->pictureName(), picture) << int(id);
        EXPECT_EQ(card->cardID(), id);
    }
    playAs(16);
    const std::pair<int8_t, const char*> twoLow[] = {{0, "48.png"}, {3, "51.png"}, {4, "100.png"}, {-1, "52.png"}};
    for (const auto& [id, picture] : twoLow)
        EXPECT_EQ(CardViewPhom::withCardID(id)->pictureName(), picture) << int(id);
    for (int id = 0; id <= 51; ++id)
        EXPECT_EQ(CardViewPhom::mapToPhomValue(int8_t(id)), id);
    playAs(1);
    EXPECT_EQ(CardViewPhom::withCardID(5)->pictureName(), "");
}

TEST_F(Cards, BacksFollowTheLevelOfTheLastAcceptedInvitation) {
    playAs(11);
    EXPECT_EQ(CardView::baiTy()->pictureName(), "52.png");
    GameController::setLevelRoom(1);
    EXPECT_EQ(CardView::baiTy()->pictureName(), "53.png");
    EXPECT_EQ(CardViewPhom::withCardID(-1)->pictureName(), "53.png");
    GameController::setLevelRoom(2);
    EXPECT_EQ(CardView::baiTy()->pictureName(), "54.png");
    EXPECT_EQ(CardView::baiTy()->tag(), 52);
}

TEST_F(Cards, ATapLiftsTheCardAndASecondTapPutsItBackExactly) {
    auto table = std::make_shared<CountingTienLen>();
    GameController::setTableView(table);
    for (int8_t game : {int8_t(3), int8_t(13)}) {
        playAs(game);
        auto card = CardView::withCardID(20);
        const auto start = card->center();
        card->setSelected();
        EXPECT_EQ(card->center().y, start.y - 15);
        EXPECT_TRUE(card->isSelected());
        EXPECT_EQ(card->layer().shadowColor(), platform::ui::Color::white());
        card->setSelected();
        EXPECT_EQ(card->center(), start);
        EXPECT_FALSE(card->isSelected());
    }
    EXPECT_EQ(table->checks, 2); // only while Tien Len was played
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    auto big = CardView::withCardID(20);
    EXPECT_EQ(big->frame().size, (platform::ui::Size{120, 160}));
    const double y = big->center().y;
    big->setSelected();
    EXPECT_EQ(big->center().y, y - 30);
}

TEST_F(Cards, PokerCardsAreSmaller) {
    playAs(4);
    EXPECT_EQ(CardViewPhom::withCardID(3)->frame().size, (platform::ui::Size{30, 39}));
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    EXPECT_EQ(CardViewPhom::withCardID(3)->frame().size, (platform::ui::Size{72, 96}));
    playAs(13);
    EXPECT_EQ(CardViewPhom::withCardID(3)->frame().size, (platform::ui::Size{120, 160}));
}

TEST_F(Cards, ThreeCardTablesHearTapsPeeksAndDoubleTaps) {
    signInAs(7);
    auto baiCao = std::make_shared<BaiCaoView>();
    GameController::setTableView(baiCao);
    push(baiCao);
    playAs(11);
    auto theirs = BCCardView::withCardID(9, false, 8, true);
    EXPECT_EQ(theirs->transform().a, 0.6);
    EXPECT_FALSE(theirs->isTouch());
    EXPECT_EQ(theirs->cover(), nullptr);
    theirs->touchesEnded(touchAt(*theirs, {5, 5}));
    EXPECT_TRUE(baiCao->peekCalls().empty());

    auto mine = BCCardView::withCardID(9, false, 7, true);
    EXPECT_TRUE(mine->isTouch());
    ASSERT_NE(mine->cover(), nullptr);
    EXPECT_EQ(mine->accessibilityIdentifier(), "card9");
    EXPECT_FALSE(mine->isChecked());
    EXPECT_TRUE(BCCardView::withCardID(9, false, 7, false)->isChecked());
    mine->touchesEnded(touchAt(*mine, {5, 5}));
    EXPECT_EQ(baiCao->peekCalls(), (std::vector<std::string>{"doFireWithCardId 9"}));

    // A peek: the cover is dragged; 9 points reveal nothing, 11 do.
    baiCao->view()->addSubview(mine);
    mine->setIsBaiNan(true);
    mine->setBackCard(BCCardView::withCardID(30, false, 7, true));
    mine->setComparePoint(mine->frame().origin);
    const auto start = mine->center();
    mine->setCenter({start.x + 9, start.y});
    mine->touchesEnded({});
    EXPECT_EQ(baiCao->peekCalls().size(), 1u);
    mine->setCenter({start.x + 11, start.y});
    mine->touchesEnded({});
    EXPECT_EQ(baiCao->peekCalls(),
              (std::vector<std::string>{"doFireWithCardId 9", "showLoadingNanBai", "doFireWithCardId 30"}));

    mine->handleTapGesture();
    EXPECT_EQ(baiCao->peekCalls().back(), "setHiddenBtnNan");

    auto xiZach = std::make_shared<XiZachView>();
    GameController::setTableView(xiZach);
    playAs(2);
    BCCardView::withCardID(4, false, 8, true)->touchesEnded({});
    BCCardView::withCardID(5, false, 7, true)->touchesEnded({});
    EXPECT_EQ(xiZach->peekCalls(), (std::vector<std::string>{"xetBaiWithPlayer 8", "showMyCardWithCard 5"}));
}

TEST_F(Cards, ATabletPeekNeedsTheTabletDistance) {
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    signInAs(7);
    auto baiCao = std::make_shared<BaiCaoView>();
    GameController::setTableView(baiCao);
    playAs(11);
    auto mine = BCCardView::withCardID(9, false, 7, true);
    mine->setIsBaiNan(true);
    mine->setBackCard(BCCardView::withCardID(30, false, 7, true));
    mine->setComparePoint(mine->frame().origin);
    const auto start = mine->center();
    mine->setCenter({start.x + 21, start.y}); // 10 x 2.13 = 21.3
    mine->touchesEnded({});
    EXPECT_TRUE(baiCao->peekCalls().empty());
    mine->setCenter({start.x, start.y + 34}); // 14 x 2.4 = 33.6
    mine->touchesEnded({});
    EXPECT_EQ(baiCao->peekCalls().back(), "doFireWithCardId 30");
}

TEST_F(Cards, AHandGivesItsLiftedCardsAndLosesThePlayedOnes) {
    playAs(13);
    TienLenPlayer player;
    EXPECT_EQ(player.cards(), nullptr);
    player.resetCard();
    ASSERT_NE(player.cards(), nullptr);
    EXPECT_TRUE(player.getSelectedCardsValue().empty());
    for (int8_t id : {int8_t(3), int8_t(17), int8_t(-1), int8_t(40)})
        player.cards()->push_back(CardViewPhom::withCardID(id));
    (*player.cards())[3]->setSelected();
    (*player.cards())[1]->setSelected();
    EXPECT_EQ(player.getSelectedCardsValue(), (std::vector<uint8_t>{17, 40}));

    player.removeCards(std::vector<uint8_t>{99, 98});
    EXPECT_EQ(player.cards()->size(), 4u);
    const uint8_t some[] = {3};
    player.removeCards(some, 0);
    EXPECT_EQ(player.cards()->size(), 4u);
    player.removeCards(std::vector<uint8_t>{0xFF, 3});
    ASSERT_EQ(player.cards()->size(), 2u);
    EXPECT_EQ((*player.cards())[0]->cardID(), 17);
    EXPECT_EQ((*player.cards())[1]->cardID(), 40);

    player.unSelectAllCards();
    EXPECT_TRUE(player.getSelectedCardsValue().empty());
}

TEST_F(Cards, SoundsPlayOnlyWhileTheSwitchIsOn) {
    Resources::getInstance().initAfterLogin();
    platform::SystemSound::clearRecord();
    UIController::setSound(false);
    PlaySound::playSoundMove();
    PlaySound::playSoundWithSource(Resources::getInstance().com_ready());
    EXPECT_TRUE(platform::SystemSound::played().empty());
    UIController::setSound(true);
    PlaySound::playSoundWin();
    PlaySound::playTetrisDrop();
    EXPECT_EQ(platform::SystemSound::played(), (std::vector<std::string>{"WIN.WAV", "t_drop.wav"}));
}

} // namespace
} // namespace kavo::test
