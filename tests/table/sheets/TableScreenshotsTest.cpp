// Pictures of every shared table sheet and of the whole deck, phone and tablet, written
// into the build folder for a person to look at.
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/caorua/CaoRuaView.h"
#include "games/caro/CaroView.h"
#include "games/poker/PokerView.h"
#include "games/tienlen/TienLenView.h"
#include "platform/render/Renderer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/MauBinhResultView.h"
#include "table/sheets/PlayerInfo.h"
#include "table/sheets/PokerBuyStackView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuGift.h"
#include "table/sheets/menuMoiBan.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuPlayer.h"
#include "table/sheets/menuSetup.h"
#include "table/sheets/menuSoNguoi.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>

namespace kavo::test {
namespace {

class TableShots : public TableShotsTest {
protected:
    void SetUp() override {
        TableShotsTest::SetUp();
        Resources::getInstance().initAfterLogin();
        me = playerRecord<TienLenPlayer>(7, "me", 250000);
        UIController::setMyInfo(me);
    }
    // Shows the sheet over the table, lets its animation end, writes the picture and
    // closes it again.
    void shoot(GameTableView& table, const std::shared_ptr<platform::ui::ViewController>& sheet,
               const std::string& name, const std::function<void()>& whenOpen = {}) {
        table.openSheet(sheet);
        runMainThread();
        if (whenOpen) whenOpen();
        platform::RunLoop::main().advance(1.0);
        const std::string path = "table-" + name + "-" + device() + ".png";
        expectReadable(path, sheet->view().get());
        sheet->view()->removeFromSuperview();
    }
    template <class View> std::shared_ptr<View> table(int8_t room = 1, int8_t board = 4) {
        auto screen = std::make_shared<View>();
        screen->setRoomId(room);
        screen->setBoardId(board);
        GameController::setTableView(screen);
        push(screen);
        UIController::setGameType(screen->gameType());
        return screen;
    }
    std::shared_ptr<TienLenPlayer> me;
};

std::shared_ptr<Player> guest(int32_t id, const std::string& name, int64_t money) {
    return playerRecord<TienLenPlayer>(id, name, money);
}

TEST_P(TableShots, EverySheetIsDrawnForThisDevice) {
    auto tienLen = table<TienLenView>();
    auto an = guest(8, "an", 120000);
    tienLen->setupPlayersWithRoom(1, 4, 7, 100, {me, an, guest(9, "binh", 5400)});
    tienLen->setCurrentControlPlayer(an);
    shoot(*tienLen, tienLen->betView(), "bet");
    shoot(*tienLen, menuSoNguoi::getInstance(), "players");
    shoot(*tienLen, menuPassword::getInstance(), "password");
    shoot(*tienLen, std::make_shared<menuMoiBan>(), "invite-menu");
    auto info = std::make_shared<PlayerInfo>();
    info->view();
    info->loadInfoWithName("an", 120000, 5, 31, 12, 1);
    shoot(*tienLen, info, "player-info");
    shoot(*tienLen, std::make_shared<menuPlayer>(), "player-menu");

    std::vector<std::shared_ptr<Player>> waiting;
    for (int i = 0; i < 7; ++i)
        waiting.push_back(guest(100 + i, "player" + std::to_string(i), 1000 * (i + 1)));
    tienLen->inviteView()->setListPlayers(waiting);
    shoot(*tienLen, tienLen->inviteView(), "invitations", [&] { tienLen->inviteView()->showDataTableView(); });

    tienLen->chatView()->appendHistory("an", "xin chao :)");
    tienLen->chatView()->appendHistory("me", "hello");
    shoot(*tienLen, tienLen->chatView(), "chat");

    tienLen->showGiftView();
    std::vector<std::shared_ptr<CategoryShopInfo>> categories;
    for (const char* name : {"Hoa", "Banh", "Qua"}) {
        auto category = std::make_shared<CategoryShopInfo>();
        category->setCategoryId(int32_t(40 + categories.size()));
        category->setName(name);
        categories.push_back(category);
    }
    tienLen->onShowListGift(categories);
    auto page = std::make_shared<ItemsOfCategory>();
    page->setCategoryId(40);
    page->setTotalPage(2);
    for (int i = 1; i <= 4; ++i) {
        auto item = std::make_shared<ItemInfo>();
        item->setItemId(400 + i);
        item->setName("gift " + std::to_string(i));
        item->setPrice(i == 4 ? 5000000 : 1000 * i); // the dearest is the widest price
        page->itemList().push_back(item);
    }
    tienLen->onShowItemsWithGift(page);
    shoot(*tienLen, tienLen->giftView(), "gifts");

    auto& result = *tienLen->mauBinhResultView();
    result.setListResult({"an", "Sap 3 chi", "+1,200", "binh", "", "-600", "me", "", "-600"});
    result.setIsWin(true);
    shoot(*tienLen, tienLen->mauBinhResultView(), "result");

    auto caoRua = table<CaoRuaView>();
    shoot(*caoRua, caoRua->setupView(), "setup");
    shoot(*caoRua, caoRua->autoView(), "auto");
    auto caro = table<CaroView>();
    shoot(*caro, std::make_shared<menuSpeed>(), "speed");
    auto poker = table<PokerView>();
    poker->buyStackView()->setMinStack(2000);
    poker->buyStackView()->setMaxStack(20000);
    shoot(*poker, poker->buyStackView(), "buy-in");
}

TEST_P(TableShots, TheWholeDeckIsReadable) {
    auto screen = std::make_shared<KavoViewController>();
    push(screen);
    screen->view()->setBackgroundColor(platform::ui::Color::rgba(20, 90, 50));
    const bool tablet = device() == "tablet";
    const double stepX = tablet ? 75 : 35;
    const double stepY = tablet ? 150 : 62;
    for (int id = 0; id < 52; ++id) {
        auto card = CardView::withCardID(int8_t(id));
        // Rows by suit, columns by rank, as a hand is sorted.
        card->setFrame({(id / 4) * stepX + 2, (id % 4) * stepY + 2, double(CardView::cardWidth()),
                        double(CardView::cardHeight())});
        screen->view()->addSubview(card);
    }
    for (int level = 0; level < 3; ++level) {
        GameController::setLevelRoom(level);
        auto back = CardView::withCardID(-1);
        EXPECT_EQ(back->pictureName(), std::to_string(52 + level) + ".png");
        back->setFrame(
            {level * stepX * 2 + 2, 4 * stepY + 2, double(CardView::cardWidth()), double(CardView::cardHeight())});
        screen->view()->addSubview(back);
    }
    const std::string path = "table-deck-" + device() + ".png";
    expectReadable(path);
}

TEST_P(TableShots, ACardTableWithThreePlayersBubblesAndTheTurnBar) {
    auto tienLen = table<TienLenView>();
    auto an = guest(8, "an", 120000);
    an->setIsReady(1);
    tienLen->setupPlayersWithRoom(1, 4, 7, 500, {me, an, guest(-1, "", 0), guest(9, "binh", 5400)});
    me->resetCard();
    const int width = CardView::cardWidth();
    const double step = device() == "tablet" ? 62 : 30;
    for (int i = 0; i < 13; ++i) {
        auto card = CardView::withCardID(int8_t(i * 4 % 52 + i % 4));
        // The hand's band: from x 40 (tablet 70), its top 5 (tablet 50) above the card's height
        // from the bottom.
        const double height = CardView::cardHeight();
        card->setCenter({(device() == "tablet" ? 70 : 40) + i * step + width / 2.0,
                         device() == "tablet" ? 768 - 50 - height / 2 : 320 - 5 - height / 2});
        tienLen->view()->addSubview(card);
        me->cards()->push_back(card);
    }
    for (int i = 0; i < 3; ++i) {
        auto played = CardView::withCardID(int8_t(20 + i * 4));
        played->setCenter({(device() == "tablet" ? 460 : 215) + i * step, device() == "tablet" ? 330.0 : 140.0});
        tienLen->view()->addSubview(played);
    }
    tienLen->onChatFromWithId(8, "", "nhanh len :)");
    tienLen->onChatFromWithId(9, "", "ok");
    tienLen->onBuzzWithContent("an: BUZZ!");
    tienLen->setInterval(20);
    tienLen->setDieTime(14);
    tienLen->setCurrentPlayer(7);
    tienLen->setTimerWithSeat(0);
    receiveUnreadMail();
    platform::RunLoop::main().advance(0.5);
    const std::string path = "table-card-" + device() + ".png";
    // The system line is centred on the middle of the table, where the played cards lie.
    const std::vector<std::string> middle{"is covered by the bubble chat4"};
    expectReadable(path, nullptr, middle);
    // My turn: the bar runs in the middle and the arrow stands beside my seat (less than 90
    // points from its frame, above my hand).
    ASSERT_FALSE(tienLen->imgMyTurn()->isHidden());
    const auto mark = tienLen->imgMyTurn()->frame();
    const auto mySeat = tienLen->seat(0).btnSeat->frame();
    const double scale = device() == "tablet" ? 2.14 : 1;
    EXPECT_LT(std::max({mark.minX() - mySeat.maxX(), mySeat.minX() - mark.maxX(), 0.0}), 90 * scale);
    EXPECT_LT(std::max({mark.minY() - mySeat.maxY(), mySeat.minY() - mark.maxY(), 0.0}), 20 * scale);
    // An event runs along the top left strip: the table's title stays clear of it.
    KavoOnlineAppDelegate::getInstance().startEventWithiOS4("Sự kiện: nạp Zel hôm nay được tặng gấp đôi");
    platform::RunLoop::main().advance(1.0);
    const std::string ticker = "table-card-ticker-" + device() + ".png";
    expectReadable(ticker, nullptr, middle);
    const auto strip =
        KavoOnlineAppDelegate::getInstance().viewTopBar()->frame().intersection(platform::ui::Screen::bounds());
    ASSERT_FALSE(strip.isEmpty()) << "the ticker runs";
    EXPECT_FALSE(tienLen->lblTitle()->convertRect(tienLen->lblTitle()->bounds(), nullptr).intersects(strip));
    KavoOnlineAppDelegate::getInstance().stopEvent();
    tienLen->clickShowActionPlayer(*tienLen->seat(1).btnSeat);
    platform::RunLoop::main().advance(0.5);
    const std::string menu = "table-card-menu-" + device() + ".png";
    expectReadable(menu, tienLen->viewPlayerMenu().get());
    // The top seat's menu leaves its heart, name and money, lifted above it, in sight.
    tienLen->hideForActionPlayerMenu();
    tienLen->setupPlayersWithRoom(1, 4, 7, 500, {me, an, guest(10, "cuong", 7000), guest(9, "binh", 5400)});
    tienLen->clickShowActionPlayer(*tienLen->seat(2).btnSeat);
    platform::RunLoop::main().advance(0.5);
    expectReadable("table-card-menu-top-" + device() + ".png", tienLen->viewPlayerMenu().get());
}

INSTANTIATE_TEST_SUITE_P(Devices, TableShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
