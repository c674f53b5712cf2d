#include "account/LottoView.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/CustomLabel.h"
#include "games/baicao/BaiCaoView.h"
#include "games/baucua/BauCuaView.h"
#include "games/caorua/CaoRuaView.h"
#include "games/caro/CaroView.h"
#include "games/cotuong/CoTuongView.h"
#include "games/covua/CoVuaView.h"
#include "games/maubinh/MauBinhView.h"
#include "games/phom/PhomNewView.h"
#include "games/poker/PokerView.h"
#include "games/tienlen/TienLenMessageHandler.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "games/xizach/XiZachView.h"
#include "lobby/BoardView.h"
#include "net/Message.h"
#include "platform/automation/ViewQuery.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalLogicHandler.h"
#include "table/base/ActionController.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/MauBinhResultView.h"
#include "table/sheets/PokerBuyStackView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuGift.h"
#include "table/sheets/menuMoiBan.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuPlayer.h"
#include "table/sheets/menuSetup.h"
#include "table/sheets/menuSoNguoi.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/client/ReadableScreen.h"
#include "tests/support/client/ShownLanguage.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

std::shared_ptr<Player> player(int32_t id, const std::string& name, int64_t money = 0) {
    return playerRecord<TienLenPlayer>(id, name, money);
}

std::string imageName(const platform::ui::ImagePtr& image) {
    return image ? image->name() : "";
}

class Sheets : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(7, "me", 1000);
        UIController::setMyInfo(me);
        menuGift::clearCache();
        Resources::getInstance().initAfterLogin(); // the emoticons of the palette
    }
    // A table of that type at room 2, board 5, on top, with me and `others` seated.
    template <class View> std::shared_ptr<View> seat(std::vector<std::shared_ptr<Player>> others = {}) {
        auto table = std::make_shared<View>();
        table->setRoomId(2);
        table->setBoardId(5);
        GameController::setTableView(table);
        push(table);
        UIController::setGameType(table->gameType());
        others.insert(others.begin(), me);
        table->setupPlayersWithRoom(2, 5, me->IDDB(), 100, others);
        runMainThread();
        client.clear(); // the seats' avatar pictures asked for
        return table;
    }
    void open(GameTableView& table, const std::shared_ptr<platform::ui::ViewController>& sheet) {
        table.openSheet(sheet);
        runMainThread();
    }
    std::shared_ptr<Player> me;
};

// ------------------------------------------------------------------ stake

TEST_F(Sheets, TheStakeSheetChecksTheAmountBeforeItSends) {
    auto table = seat<TienLenView>();
    struct Case {
        const char* typed;
        const char* dialog; // "" for none
    };
    open(*table, table->betView());
    drive("tap id=btnOK");
    EXPECT_TRUE(client.sent().empty());
    EXPECT_EQ(dialogText(), "");
    const std::string overMoney = text("KAVO_banChiCo") + " 1,000 " + text("KAVO_zel") + " " + text("KAVO_setMaxMoney");
    const Case refused[] = {{"-5", "KAVO_InvalidBet"}, {"1001", ""}, {"99999999999999", ""}};
    for (const auto& c : refused) {
        open(*table, table->betView());
        drive(std::string("type id=txtMoney ") + c.typed + "\ntap id=btnOK");
        EXPECT_EQ(dialogText(), c.dialog[0] ? text(c.dialog) : overMoney) << c.typed;
        press("OK");
    }
    EXPECT_TRUE(client.sent().empty());
    for (const char* typed : {"0", "abc", "1000"}) {
        open(*table, table->betView());
        drive(std::string("type id=txtMoney ") + typed + "\ntap id=btnOK");
    }
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{19, Bytes().byte(2).byte(5).int32(0).data()},
                                                           {19, Bytes().byte(2).byte(5).int32(0).data()},
                                                           {19, Bytes().byte(2).byte(5).int32(1000).data()}}));
}

TEST_F(Sheets, TheStakeGoesOutByTheGamesOwnCommand) {
    auto xiZach = seat<XiZachView>();
    open(*xiZach, xiZach->betView());
    drive("type id=txtMoney 24\ntap id=btnOK");
    EXPECT_TRUE(client.sentOnce(24, Bytes().byte(2).byte(5).int32(24).data()));
    client.clear();
    auto bauCua = seat<BauCuaView>();
    open(*bauCua, bauCua->betView());
    drive("type id=txtMoney 0\ntap id=btnOK");
    EXPECT_EQ(dialogText(), text("KAVO_no0Zel"));
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Sheets, ThePokerStakeGoesOutAsItsBetAndATypedOneAsNothing) {
    auto poker = seat<PokerView>();
    open(*poker, poker->betView());
    drive("type id=txtMoney 300\ntap id=btnOK");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{82, Bytes().byte(2).byte(5).int32(300).data()}}));
    client.clear();
    menuCuoc::doSaveSetMoney("300");
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Sheets, TheLotteryEntryBuysFromFiveHundred) {
    auto lotto = std::make_shared<LottoView>();
    lotto->setSelectedNumber(42);
    push(lotto);
    client.clear(); // the lottery screen asks for its draw, history and bets as it appears
    menuCuoc::doSaveSetMoney("499");
    EXPECT_EQ(dialogText(), text("KAVO_LottoMoneyWarning"));
    press("OK");
    menuCuoc::doSaveSetMoney("500");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{1403, Bytes().int32(42).int32(500).data()}, {1402, {}}}));
}

// ------------------------------------------------------------------ players and password

TEST_F(Sheets, ThePlayersSheetSendsEachCardGamesOwnMaximumAndNothingElsewhere) {
    struct Case {
        const char* game;
        std::function<std::shared_ptr<GameTableView>()> seatIt;
        std::vector<RecordedMessage> sent; // after "four", "three" and "solo"
    };
    const std::vector<RecordedMessage> fourThreeTwo = {{56, {2, 5, 4}}, {56, {2, 5, 3}}, {56, {2, 5, 2}}};
    const Case cases[] = {
        {"Tien Len", [this] { return seat<TienLenView>(); }, fourThreeTwo},
        {"Tien Len MB", [this] { return seat<TienLenMBView>(); }, fourThreeTwo},
        {"Phom", [this] { return seat<PhomNewView>(); }, fourThreeTwo},
        {"Bai Cao", [this] { return seat<BaiCaoView>(); }, fourThreeTwo},
        {"Xi Zach", [this] { return seat<XiZachView>(); }, fourThreeTwo},
        {"Cao Rua", [this] { return seat<CaoRuaView>(); }, {{56, {2, 5, 6}}, {56, {2, 5, 5}}, {56, {2, 5, 2}}}},
        {"Mau Binh", [this] { return seat<MauBinhView>(); }, {}},
        {"poker", [this] { return seat<PokerView>(); }, {}},
        {"Caro", [this] { return seat<CaroView>(); }, {}},
        {"Bau Cua", [this] { return seat<BauCuaView>(); }, {}},
    };
    for (const auto& c : cases) {
        auto table = c.seatIt();
        for (const char* button : {"btn4Nguoi", "btn3Nguoi", "btn2nguoi"}) {
            open(*table, menuSoNguoi::getInstance());
            if (c.sent == fourThreeTwo) drive("expect text=" + text("KAVO_player_4"));
            drive(std::string("tap id=") + button);
        }
        EXPECT_EQ(client.sent(), c.sent) << c.game;
        client.clear();
    }
}

TEST_F(Sheets, ThePasswordSheetSendsEvenAnEmptyPassword) {
    auto tienLen = seat<TienLenView>();
    open(*tienLen, menuPassword::getInstance());
    EXPECT_EQ(menuPassword::getInstance()->txtPassword()->placeholder(), text("KAVO_dat_pass"));
    drive("tap id=btnOK");
    EXPECT_TRUE(client.sentOnce(18, Bytes().byte(2).byte(5).utf("").data()));
    client.clear();
    auto bauCua = seat<BauCuaView>();
    open(*bauCua, menuPassword::getInstance());
    drive("type id=txtPassword 12\ntap id=btnOK");
    EXPECT_TRUE(client.sent().empty());
    auto caro = seat<CaroView>();
    open(*caro, menuPassword::getInstance());
    EXPECT_EQ(menuPassword::getInstance()->txtPassword()->placeholder(), text("KAVO_nhap_pass"));
}

TEST_F(Sheets, TheSetupRowsOpenCaoRuasSheetsAndNothingAtOtherTables) {
    const auto& password = menuPassword::getInstance();
    const auto& players = menuSoNguoi::getInstance();
    password->view()->removeFromSuperview();
    players->view()->removeFromSuperview();
    auto caoRua = seat<CaoRuaView>();
    open(*caoRua, caoRua->setupView());
    drive("tap id=btnPass");
    EXPECT_EQ(password->view()->superview(), caoRua->view().get());
    password->view()->removeFromSuperview();

    auto tienLen = seat<TienLenView>();
    auto setup = std::make_shared<menuSetup>();
    for (const char* row : {"btnSoNguoi", "btnPass"}) {
        open(*tienLen, setup);
        drive(std::string("tap id=") + row);
    }
    EXPECT_EQ(players->view()->superview(), nullptr);
    EXPECT_EQ(password->view()->superview(), nullptr);
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Sheets, SetupAndSpeedSheets) {
    auto caoRua = seat<CaoRuaView>();
    open(*caoRua, caoRua->setupView());
    EXPECT_FALSE(caoRua->setupView()->btnCuoc()->isEnabled());
    drive("tap id=btnSoNguoi");
    EXPECT_TRUE(menuSoNguoi::getInstance()->view()->superview());
    auto tienLen = seat<TienLenView>();
    auto setup = std::make_shared<menuSetup>();
    open(*tienLen, setup);
    EXPECT_TRUE(setup->btnCuoc()->isEnabled());
    drive("tap id=btnCuoc#2"); // the sheet's, over the table's own
    EXPECT_EQ(tienLen->betView()->view()->superview(), tienLen->view().get());

    auto caro = seat<CaroView>();
    auto speed = std::make_shared<menuSpeed>();
    open(*caro, speed);
    EXPECT_TRUE(speed->imgFaster()->isHidden());
    EXPECT_FALSE(speed->imgNormal()->isHidden());
    EXPECT_TRUE(speed->imgSlower()->isHidden());
    drive("tap id=btnSlower");
    EXPECT_EQ(caro->customInterval(), 2);
}

// ------------------------------------------------------------------ invitations

TEST_F(Sheets, TheInvitationGridChoosesAndInvitesInOrder) {
    auto table = seat<TienLenView>();
    auto& invite = *table->inviteView();
    open(*table, table->inviteView());
    std::vector<std::shared_ptr<Player>> waiting;
    // Three to a row: a row is added only for a player past a full row.
    for (auto [count, rows] : {std::pair{0, 0}, {2, 1}, {3, 1}, {4, 2}, {7, 3}}) {
        while (int(waiting.size()) < count)
            waiting.push_back(player(100 + int(waiting.size()), "p" + std::to_string(waiting.size()), 5000));
        GlobalLogicHandler::getInstance().onWaitingList(waiting);
        runMainThread();
        EXPECT_EQ(invite.numberRowInView(), rows) << count << " players";
        EXPECT_EQ(invite.scrollViewContent()->contentSize().height, 120 * rows) << count << " players";
    }
    client.clear(); // the avatars asked for
    drive("expect text=p5\nexpect text=5,000\ntap id=doInviteBoard#1\ntap id=doInviteBoard#1");
    EXPECT_TRUE(invite.listSelectedInvitor().empty());
    drive("tap id=doInviteBoard#5\ntap id=doInviteBoard#2");
    invite.scrollViewContent()->setContentOffset({0, 150});
    drive("tap id=doInviteBoard#4\ntap id=btnInvite"); // p6, the fourth cell still in view
    EXPECT_EQ(client.sent(),
              (std::vector<RecordedMessage>{
                  {74, Bytes().int32(104).data()}, {74, Bytes().int32(101).data()}, {74, Bytes().int32(106).data()}}));
}

TEST_F(Sheets, TheFriendsTabShowsOnlineFriendsAndEachWaitCountsFromZero) {
    auto table = seat<TienLenView>();
    auto& invite = *table->inviteView();
    open(*table, table->inviteView());
    drive("tap id=btnWaitRoom");
    EXPECT_TRUE(client.sent().empty());
    drive("tap id=btnFriend");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{104, {5}}}));
    platform::RunLoop::main().advance(11.0);
    EXPECT_EQ(invite.countWait(), 11);
    EXPECT_EQ(invite.countTimer(), nullptr);
    drive("tap id=btnWaitRoom");
    platform::RunLoop::main().advance(3.0);
    EXPECT_EQ(invite.countWait(), 3);
    auto online = player(201, "online");
    online->setIsReady(1);
    GlobalLogicHandler::getInstance().onFriendList({online, player(202, "offline")});
    runMainThread();
    drive("expect text=online\nexpect-not text=offline");
}

// A desktop window has no on-screen keyboard: the stake and password sheets stay where
// every sheet slides in, in the middle of the screen, and a click types into the field.
TEST_F(Sheets, InADesktopWindowTheStakeAndPasswordSheetsStayInTheMiddleAndTakeTheClick) {
    platform::ui::Keyboard::setModel(platform::ui::KeyboardModel::None);
    auto table = seat<TienLenView>();
    const std::shared_ptr<menuCuoc> stake = table->betView();
    const std::shared_ptr<menuPassword> password = menuPassword::getInstance();
    stake->view();
    password->view();
    struct Case {
        std::shared_ptr<CustomUIActionSheetViewController> sheet;
        std::shared_ptr<platform::ui::TextField> field;
    };
    for (const Case& c : {Case{stake, stake->txtMoney()}, Case{password, password->txtPassword()}}) {
        SCOPED_TRACE(c.field->accessibilityIdentifier());
        open(*table, c.sheet);
        const platform::ui::View& panel = *c.field->superview();
        const platform::ui::Rect drawn = screenFrame(panel);
        EXPECT_DOUBLE_EQ(drawn.midY(), 160);
        c.field->resignFirstResponder();
        clickAndType(screenCentre(*c.field), "25");
        runMainThread();
        EXPECT_EQ(screenFrame(panel), drawn);
        EXPECT_EQ(c.field->text(), "25");
        c.sheet->slideOut();
        runMainThread();
    }
}

// ------------------------------------------------------------------ chat

TEST_F(Sheets, TheChatSheetCutsByCharactersAndSendsThroughTheTable) {
    auto table = seat<TienLenView>();
    auto chat = table->chatView();
    open(*table, chat);
    const auto& bar = KavoOnlineAppDelegate::getInstance().viewTopBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->alpha(), 0);
    drive("type id=txtChat " + std::string(49, 'a') + "\u00e9\u00e9");
    EXPECT_EQ(chat->txtChat()->text(), std::string(49, 'a') + "\u00e9");
    drive("type id=txtChat " + std::string(49, 'b'));
    chat->onClickEmotion(1000);
    EXPECT_EQ(boardChat::countCharacters(chat->txtChat()->text()), 50u);
    EXPECT_EQ(chat->returnKeyType(), platform::ui::ReturnKeyType::Send);
    drive("return id=txtChat");
    ASSERT_EQ(client.sent().size(), 1u);
    EXPECT_EQ(client.sent()[0].commandId, 9);
    EXPECT_EQ(bar->alpha(), 1);
    EXPECT_FALSE(bar->isHidden());

    open(*table, chat);
    drive("return id=txtChat");
    EXPECT_EQ(client.sent().size(), 1u);
    open(*table, chat);
    drive("type id=txtChat    \nreturn id=txtChat");
    EXPECT_EQ(client.sent().size(), 1u); // blanks reach the table, which drops them
    table->chatView()->appendHistory("an", "hi");
    open(*table, chat);
    // The 50 cut kept only the first character of the emoticon code ">:(".
    drive("expect text=me: " + std::string(49, 'b') + ">\nexpect text=an: hi");
}

TEST_F(Sheets, HistoryRowsAlternateAndTheBoardListKeepsItsOwnLines) {
    auto boards = std::make_shared<BoardView>();
    push(boards);
    client.clear(); // the board list's own requests
    auto chat = boardChat::getInstance();
    boards->view()->addSubview(chat->view());
    chat->viewWillAppear(false);
    runMainThread();
    drive("type id=txtChat hello\nreturn id=txtChat");
    EXPECT_TRUE(client.sent().empty());
    ASSERT_EQ(chat->historyChat().size(), 1u);
    EXPECT_EQ(chat->historyChat()[0]->name(), "me");
    chat->appendHistory("an", "second");
    auto& table = *chat->tblHistoryChat();
    auto first = chat->cellForRow(table, {0, 0});
    auto second = chat->cellForRow(table, {0, 1});
    auto label = [](const std::shared_ptr<platform::ui::TableViewCell>& cell) {
        return std::dynamic_pointer_cast<platform::ui::Label>(cell->contentView()->subviews().at(0));
    };
    EXPECT_EQ(label(first)->text(), "me: hello");
    EXPECT_EQ(label(first)->textColor(), platform::ui::Color::green());
    EXPECT_EQ(label(second)->textColor(), platform::ui::Color::white());
}

// A long line at the table reads whole in the chat sheet's history: its row wraps it over
// the history's width and grows to hold it, and again when the palette narrows the history.
TEST_F(Sheets, ALongTableLineWrapsInTheHistoryAndReadsWhole) {
    auto table = seat<TienLenView>({player(8, "minh")});
    const std::string line = "Ván này mình cược gấp đôi nhé, ai không đủ Zel thì đứng dậy nhường chỗ cho "
                             "người khác vào chơi ngay!";
    ASSERT_EQ(boardChat::countCharacters(line), size_t(boardChat::kSendLimit));
    Message message = Bytes().byte(2).byte(5).int32(8).utf(line).message(9);
    TienLenMessageHandler::getInstance()->onMessage(message);
    runMainThread();
    auto chat = table->chatView();
    open(*table, chat);
    auto& history = *chat->tblHistoryChat();
    for (const bool narrowed : {false, true}) {
        SCOPED_TRACE(narrowed ? "narrowed" : "wide");
        if (narrowed) drive("tap id=clickEmotion");
        auto cell = history.cellForRow({0, 0});
        ASSERT_TRUE(cell);
        auto label = std::dynamic_pointer_cast<CustomLabel>(cell->contentView()->subviews().at(0));
        ASSERT_TRUE(label);
        const auto lines = label->displayLines();
        EXPECT_GT(lines.size(), 1u) << "wrapped";
        std::string joined;
        for (const std::string& shown : lines)
            joined += (joined.empty() ? "" : " ") + shown;
        EXPECT_EQ(joined, "minh: " + line);
        EXPECT_LE(label->frame().width(), history.frame().width());
        EXPECT_GE(history.rectForRow({0, 0}).height() + 0.5, double(lines.size()) * label->font().lineHeight());
        EXPECT_EQ(describe(unreadableTexts(&history)), "");
    }
}

// The open emoticon palette lies inside the window, right of the narrowed history, on each
// device: the toggle and every emoticon show whole, a click at an emoticon's centre reaches
// it and puts its code in the field.
TEST_F(Sheets, TheOpenEmoticonPaletteLiesInsideTheWindowRightOfTheHistory) {
    for (platform::ui::Idiom device : {platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet}) {
        SCOPED_TRACE(device == platform::ui::Idiom::Tablet ? "tablet" : "phone");
        relaunchAs(device);
        auto table = seat<TienLenView>({player(8, "minh")});
        auto chat = table->chatView();
        open(*table, chat);
        drive("tap id=clickEmotion\nadvance 0.5");
        const platform::ui::Size size = platform::ui::Screen::size();
        const platform::ui::Rect window{0, 0, size.width, size.height};
        const platform::ui::Rect history = screenFrame(*chat->tblHistoryChat());
        auto toggle = platform::automation::ViewQuery::hitView(screenFrame(*chat->btnEmotion()).center());
        EXPECT_TRUE(toggle && toggle->isDescendantOf(chat->btnEmotion().get())) << "the toggle takes its clicks";
        EXPECT_TRUE(window.contains(screenFrame(*chat->btnEmotion())));
        std::vector<std::shared_ptr<platform::ui::Button>> emoticons;
        for (const auto& shown : chat->viewEmotions()->subviewsOfType<platform::ui::Button>())
            if (shown->accessibilityIdentifier() == "onClickEmotion") emoticons.push_back(shown);
        ASSERT_FALSE(emoticons.empty());
        for (const auto& emoticon : emoticons) {
            const platform::ui::Rect drawn = screenFrame(*emoticon);
            EXPECT_TRUE(window.contains(drawn)) << emoticon->tag() << " lies at x " << drawn.x();
            EXPECT_GE(drawn.minX(), history.maxX()) << emoticon->tag();
            auto* hit = platform::automation::ViewQuery::hitView(drawn.center());
            EXPECT_TRUE(hit && hit->isDescendantOf(emoticon.get())) << emoticon->tag();
        }
        const platform::ui::Point first = screenFrame(*emoticons.front()).center();
        clickAndType(first, "");
        runMainThread();
        EXPECT_FALSE(chat->txtChat()->text().empty()) << "the first emoticon's code went into the field";
        chat->slideOut();
        runMainThread();
    }
}

// ------------------------------------------------------------------ gifts

std::vector<std::shared_ptr<CategoryShopInfo>> threeCategories() {
    std::vector<std::shared_ptr<CategoryShopInfo>> list;
    for (int i = 0; i < 3; ++i) {
        auto category = std::make_shared<CategoryShopInfo>();
        category->setCategoryId(30 + i);
        category->setName("cat" + std::to_string(i));
        list.push_back(category);
    }
    return list;
}

std::shared_ptr<ItemsOfCategory> itemsPage(int32_t category, std::vector<int32_t> ids) {
    auto page = std::make_shared<ItemsOfCategory>();
    page->setCategoryId(category);
    page->setTotalPage(1);
    for (int32_t id : ids) {
        auto item = std::make_shared<ItemInfo>();
        item->setItemId(id);
        item->setName("gift" + std::to_string(id));
        page->itemList().push_back(item);
    }
    return page;
}

TEST_F(Sheets, TheGiftSheetShowsTabsAndAsksOrReusesPages) {
    auto table = seat<TienLenView>({player(8, "an")});
    table->setCurrentControlPlayer(table->players()[1]);
    table->showGiftView();
    runMainThread();
    EXPECT_TRUE(client.sentOnce(101, Bytes().byte(1).int32(8).byte(0).byte(0).data()));
    EXPECT_EQ(table->giftView()->btnTang()->currentTitle(), text("KAVO_nguon_tang"));
    client.clear();
    table->onShowListGift(threeCategories());
    const auto& tabs = table->giftView()->tabs();
    ASSERT_EQ(tabs.size(), 3u);
    EXPECT_EQ(tabs[0]->frame().x(), 70);
    EXPECT_EQ(tabs[1]->frame().x(), 140);
    EXPECT_EQ(tabs[2]->frame().x(), 210);
    EXPECT_EQ(tabs[0]->frame().y(), 27);
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{101, Bytes().byte(15).int32(30).byte(0).data()}}));
    table->onShowItemsWithGift(itemsPage(30, {501, 502}));
    drive("expect id=gift502");
    client.clear();
    drive("tap text=cat0");
    EXPECT_TRUE(client.sent().empty()); // the active tab
    drive("tap text=cat1");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{101, Bytes().byte(15).int32(31).byte(0).data()}}));
    client.clear();
    drive("tap text=cat0");
    EXPECT_TRUE(client.sent().empty()); // cached
    drive("expect id=gift501");
    drive("tap id=btnTang");
    EXPECT_TRUE(client.sent().empty()); // nothing chosen yet
    drive("tap id=gift502\ntap id=btnTang");
    EXPECT_TRUE(client.sentOnce(101, Bytes().byte(7).byte(2).byte(5).int32(502).int32(8).data()));
}

TEST_F(Sheets, GivingToEveryoneSkipsEmptySeatsAndIncludesTheGiver) {
    auto empty = player(-1, "");
    auto table = seat<TienLenView>({player(8, "an"), empty, player(9, "binh")});
    table->setCurrentControlPlayer(me);
    table->showGiftView();
    runMainThread();
    EXPECT_EQ(table->giftView()->btnTang()->currentTitle(), text("KAVO_nguon_mua"));
    table->onShowListGift(threeCategories());
    table->onShowItemsWithGift(itemsPage(30, {501}));
    client.clear();
    drive("tap id=gift501\ntap id=btnTangTatCa");
    EXPECT_EQ(client.sent(),
              (std::vector<RecordedMessage>{{101, Bytes().byte(7).byte(2).byte(5).int32(501).int32(7).data()},
                                            {101, Bytes().byte(7).byte(2).byte(5).int32(501).int32(8).data()},
                                            {101, Bytes().byte(7).byte(2).byte(5).int32(501).int32(9).data()}}));
}

// ------------------------------------------------------------------ seat actions and player menu

TEST_F(Sheets, SeatActionsActOnTheChosenPlayerOfTheCurrentTable) {
    ActionController::doKick();
    ActionController::doBuzz();
    EXPECT_TRUE(client.sent().empty()); // no table
    auto coTuong = seat<CoTuongView>({player(8, "an")});
    client.clear(); // the seats' avatar pictures
    ActionController::doKick();
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{11, Bytes().byte(2).byte(5).int32(8).data()}}));
    client.clear();
    ActionController::doBuzz(); // nobody chosen
    EXPECT_TRUE(client.sent().empty());
    seat<CaroView>();
    ActionController::doKick();
    EXPECT_TRUE(client.sent().empty());
    auto bauCua = seat<BauCuaView>({player(9, "binh")});
    bauCua->setCurrentControlSeat(bauCua->playerList()[1]);
    ActionController::doKick();
    ActionController::doAddFriend();
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("REQUEST_ADD_FRIEND"), "binh");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{11, Bytes().byte(2).byte(5).int32(9).data()},
                                                           {36, Bytes().utf("binh").data()}}));
}

TEST_F(Sheets, ThePlayerMenuLaysOutByWhoIsChosen) {
    auto others = player(8, "an");
    auto chess = seat<CoVuaView>({others, player(9, "binh")});
    auto menu = std::make_shared<menuPlayer>();
    chess->setCurrentControlPlayer(others);
    open(*chess, menu);
    EXPECT_EQ(menu->imgBg()->frame().height(), 200);
    EXPECT_EQ(menu->btnBuzz()->center(), (platform::ui::Point{240, 180}));
    drive("tap id=btnKick");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{11, Bytes().byte(2).byte(5).int32(8).data()},
                                                           {11, Bytes().byte(2).byte(5).int32(9).data()}}));
    client.clear();
    auto tienLen = seat<TienLenView>({others});
    tienLen->setIsGameEnd(false);
    tienLen->setCurrentControlPlayer(others);
    open(*tienLen, menu);
    EXPECT_EQ(menu->imgBg()->frame().height(), 170);
    EXPECT_TRUE(menu->btnKick()->isHidden());
    tienLen->setCurrentControlPlayer(me);
    open(*tienLen, menu);
    EXPECT_EQ(menu->imgBg()->frame().height(), 100);
    auto poker = seat<PokerView>();
    poker->setCurrentControlPlayer(me);
    open(*poker, menu);
    EXPECT_EQ(menu->btnKick()->currentTitle(), text("KAVO_standUp"));
    drive("tap id=btnKick");
    EXPECT_TRUE(client.sent().empty());
    auto caro = seat<CaroView>({others});
    caro->openPlayerMenu(others);
    runMainThread();
    EXPECT_EQ(caro->playerMenu()->view()->superview(), caro->view().get());
    EXPECT_EQ(imageName(caro->playerMenu()->imgBg()->image()), "caro-bg-menu.png");
    caro->playerMenu()->slideOut();
    tienLen = seat<TienLenView>({others});
    tienLen->setCurrentControlPlayer(others);
    open(*tienLen, menu);
    drive("tap id=btnAddFriend");
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("REQUEST_ADD_FRIEND"), "an");
    EXPECT_TRUE(client.sentOnce(36, Bytes().utf("an").data()));
}

// ------------------------------------------------------------------ result and buy-in

TEST_F(Sheets, TheBuyInStaysWithinItsBoundsAndStartsAgainAtTheSmallest) {
    auto poker = seat<PokerView>();
    poker->showBuyStack(2000);
    runMainThread();
    auto& sheet = *poker->buyStackView();
    sheet.setCurrentValue(2500);
    drive("tap id=clickTru");
    EXPECT_EQ(sheet.currentValue(), 2000);
    sheet.setCurrentValue(19500);
    drive("tap id=clickCong");
    EXPECT_EQ(sheet.currentValue(), 20000);
    sheet.sliderStack()->setValue(4999.7);
    sheet.sliderChange();
    EXPECT_EQ(sheet.currentValue(), 4999);
    poker->showBuyStack(2000);
    runMainThread();
    drive("tap id=btnOK");
    EXPECT_TRUE(client.sentOnce(82, Bytes().byte(2).byte(5).int32(2000).data()));
}

TEST_F(Sheets, SevenResultTextsFillTwoRows) {
    auto table = seat<TienLenView>();
    auto& result = *table->mauBinhResultView();
    result.setListResult({"an", "x", "+1", "binh", "y", "-1", "cuong"});
    result.setIsWin(true);
    open(*table, table->mauBinhResultView());
    EXPECT_EQ(result.lblnguoiChoi(1)->text(), "binh");
    EXPECT_EQ(result.lblTien(1)->text(), "-1");
    EXPECT_EQ(result.lblnguoiChoi(2)->text(), "");
    EXPECT_EQ(result.imgLinhVat()->image()->name(), "linh_vat_thang_en.png");
}

// A row for every three texts (player, note, money), up to the sheet's four rows, whether
// the texts fill their rows or leave part of one; a later showing with fewer players shows
// none of the rows before.
TEST_F(Sheets, TheResultSheetShowsARowForEveryThreeTexts) {
    auto table = seat<TienLenView>();
    auto& result = *table->mauBinhResultView();
    const std::vector<std::string> texts = {"an",  "Mau thau", "+300", "binh",       "Thua 1 chi", "-100", "cuong",
                                            "Sap", "-100",     "dung", "Thua 2 chi", "-100",       "em"};
    auto shown = [&](size_t count) {
        result.setListResult({texts.begin(), texts.begin() + std::ptrdiff_t(count)});
        open(*table, table->mauBinhResultView());
        auto seen = platform::automation::ViewQuery::visibleTexts(result.view().get());
        result.view()->removeFromSuperview();
        return seen;
    };
    // The banner, the headings and the button (its face and its title).
    const std::vector<std::string> bare = {"LOSE", "User name", "Note", "Money", "OK", "OK"};
    ASSERT_EQ(shown(0), bare);
    for (size_t count : {12u, 3u, 6u, 2u, 9u, 7u, 13u, 12u, 6u}) {
        const size_t rows = std::min<size_t>(count / 3, 4);
        std::vector<std::string> expected = bare;
        expected.insert(expected.begin() + 4, texts.begin(), texts.begin() + std::ptrdiff_t(rows * 3));
        EXPECT_EQ(shown(count), expected) << count << " texts";
    }
}

// The table owner's sheets are made once for the run: each showing reads the language in
// force, whichever language made them.
TEST_F(Sheets, TheOwnersSheetsReadTheLanguageInForceAtEachShowing) {
    auto table = seat<CaoRuaView>();
    for (const std::shared_ptr<CustomUIActionSheetViewController>& sheet :
         {std::static_pointer_cast<CustomUIActionSheetViewController>(menuCuoc::getInstance()),
          std::static_pointer_cast<CustomUIActionSheetViewController>(menuSoNguoi::getInstance()),
          std::static_pointer_cast<CustomUIActionSheetViewController>(menuPassword::getInstance())}) {
        std::map<std::string, std::vector<std::string>> vietnamese;
        for (const char* language : {"vi", "en"}) {
            Resources::getInstance().setCurrentLanguage(language);
            Resources::getInstance().loadLanguage();
            open(*table, sheet);
            vietnamese[language] = vietnameseTexts(platform::automation::ViewQuery::visibleTexts(sheet->view().get()));
            sheet->view()->removeFromSuperview();
        }
        EXPECT_FALSE(vietnamese["vi"].empty()) << sheet->className();
        EXPECT_EQ(vietnamese["en"], std::vector<std::string>{}) << sheet->className();
    }
}

// The banner reads the whole word in capitals, Vietnamese letters with their marks too.
TEST_F(Sheets, TheResultBannerShowsTheOutcomeInCapitals) {
    auto table = seat<TienLenView>();
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"vi", true, "THẮNG"}, {"vi", false, "THUA"}, {"en", true, "WIN"}};
    for (const auto& [language, win, banner] : cases) {
        Resources::getInstance().setCurrentLanguage(language);
        Resources::getInstance().loadLanguage();
        table->mauBinhResultView()->setIsWin(win);
        open(*table, table->mauBinhResultView());
        EXPECT_EQ(table->mauBinhResultView()->txtThangThua()->text(), banner) << language;
    }
}

} // namespace
} // namespace kavo::test
