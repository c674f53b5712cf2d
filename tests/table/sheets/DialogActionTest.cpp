#include "account/ProfileView.h"
#include "account/Profile_AssetsView.h"
#include "account/TopupZelView.h"
#include "app/KavoViewController.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/caro/CaroView.h"
#include "games/cotuong/CoTuongView.h"
#include "games/coup/CoUpView.h"
#include "games/covua/CoVuaView.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisView.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/Pasteboard.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/Application.h"
#include "portal/GlobalService.h"
#include "portal/model/MatchResultInfo.h"
#include "social/MessageView.h"
#include "table/registry/GameController.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

#include <functional>

namespace kavo::test {
namespace {

// The dialogs' buttons, pressed as a player would, and what each action code does.
class DialogAction : public TableTest {
protected:
    // Opens the two-button question for `code` (with its context); "No" is its cancel,
    // "Yes" its OK.
    void ask(int code, int8_t gameType = 0, std::any context = {}) {
        if (gameType) UIController::setGameType(gameType);
        UIController::startCancelOkDlg("Sure?", text("KAVO_no"), text("KAVO_yes"), {code, std::move(context)});
    }
    void ok(int code, int8_t gameType = 0, std::any context = {}) {
        ask(code, gameType, std::move(context));
        press("Yes");
    }
    void cancel(int code, int8_t gameType = 0) {
        ask(code, gameType);
        press("No");
    }
    // A table of that game kept by GameController, at room 7, board 9.
    template <class View> std::shared_ptr<View> keepTable() {
        auto table = std::make_shared<View>();
        table->setRoomId(7);
        table->setBoardId(9);
        GameController::setTableView(table);
        return table;
    }
};

// A friend request accepted: the answer, then the friend list that holds him.
TEST_F(DialogAction, AFriendRequestAcceptedAsksForTheFriendListAfterTheAnswer) {
    auto request = std::make_shared<KavoMessage>();
    request->setFromID(321);
    ok(UIController::kActionFriendRequest, 0, request);
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{104, Bytes().byte(2).int32(321).data()}, {104, {5}}}));
}

TEST_F(DialogAction, CancelOnlyDialogRunsTheCancelAction) {
    auto request = std::make_shared<KavoMessage>();
    request->setFromID(321);
    UIController::startCancelDlg("A friend request", {UIController::kActionFriendRequest, request});
    EXPECT_EQ(UIController::currentDialog()->numberOfButtons(), 1);
    press("Cancel");
    EXPECT_TRUE(client.sentOnce(104, Bytes().byte(3).int32(321).data()));
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

// What each answer to another player or to the server sends: the recovery question, a draw offer (per game: OK at the
// Chinese chess tables offers a draw back, Tetris answers with Caro's request), an undo request (1 or -1), the poker
// observer question, a skip at the Tien Len tables (which also clears the three of spades rule), a resignation (which
// marks the table) and a friend's delete.
TEST_F(DialogAction, EachAnswerSendsItsRequest) {
    auto caro = keepTable<CaroView>();
    auto covua = keepTable<CoVuaView>();
    auto cotuong = keepTable<CoTuongView>();
    auto coup = keepTable<CoUpView>();
    keepTable<PokerView>();
    auto tienlen = keepTable<TienLenView>();
    auto tienlenmb = keepTable<TienLenMBView>();
    tienlen->setForceMove3Bich(true);
    tienlenmb->setForceMove3Bich(true);
    auto tetris = std::make_shared<TetrisView>();
    tetris->setRoomID(3);
    tetris->setBoardID(4);
    GameController::setTableView(tetris);
    MessageView::getInstance()->set_selectedFriendID(55);
    auto request = std::make_shared<KavoMessage>();
    request->setFromID(321);
    using C = UIController;
    struct Case {
        int code;
        int8_t gameType;
        bool ok;
        int16_t command; // 0: nothing is sent
        ByteVector body;
    };
    const Case cases[] = {
        {C::kActionRecoverPassword, 0, true, 73, {1}},
        {C::kActionDrawOffer, 1, true, 24, {7, 9, 1}},
        {C::kActionDrawOffer, 1, false, 24, {7, 9, 0}},
        {C::kActionDrawOffer, 8, true, 24, {3, 4, 1}},
        {C::kActionDrawOffer, 8, false, 24, {3, 4, 0}},
        {C::kActionDrawOffer, 9, true, 24, {7, 9, 1}},
        {C::kActionDrawOffer, 9, false, 24, {7, 9, 0}},
        {C::kActionDrawOffer, 5, true, 77, {7, 9, 30}},
        {C::kActionDrawOffer, 5, false, 24, {7, 9, 0}},
        {C::kActionDrawOffer, 20, true, 86, {7, 9, 30}},
        {C::kActionDrawOffer, 20, false, 24, {7, 9, 0}},
        {C::kActionDrawOffer, 3, true, 0, {}},
        {C::kActionUndoRequest, 5, true, 77, {7, 9, 26, 1}},
        {C::kActionUndoRequest, 5, false, 77, {7, 9, 26, 0xff}},
        {C::kActionUndoRequest, 20, true, 86, {7, 9, 26, 1}},
        {C::kActionUndoRequest, 20, false, 86, {7, 9, 26, 0xff}},
        {C::kActionPokerObserver, 4, true, 82, {7, 9, 12, 1}},
        {C::kActionPokerObserver, 4, false, 82, {7, 9, 12, 0}},
        {C::kActionSkipTurn, 3, true, 49, {7, 9}},
        {C::kActionSkipTurn, 12, true, 49, {7, 9}},
        {C::kActionSkipTurn, 13, true, 0, {}},
        {C::kActionResign, 1, true, 27, {7, 9}},
        {C::kActionResign, 9, true, 27, {7, 9}},
        {C::kActionResign, 5, true, 77, {7, 9, 35}},
        {C::kActionResign, 20, true, 86, {7, 9, 35}},
        {C::kActionDeleteFriend, 0, true, 33, {0, 0, 0, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " at game " + std::to_string(c.gameType) + (c.ok ? " OK" : " cancel"));
        client.clear();
        ask(c.code, c.gameType, request);
        press(c.ok ? "Yes" : "No");
        if (c.command)
            EXPECT_TRUE(client.sentOnce(c.command, c.body));
        else
            EXPECT_TRUE(client.sent().empty());
    }
    EXPECT_FALSE(tienlen->forceMove3Bich());
    EXPECT_FALSE(tienlenmb->forceMove3Bich());
    EXPECT_TRUE(caro->isLosing());
    EXPECT_TRUE(covua->isLosing());
    EXPECT_TRUE(cotuong->isLosing());
    EXPECT_TRUE(coup->isLosing());
}

TEST_F(DialogAction, ShopQuestionsBuyTheAvatarOrItemTheyAskAbout) {
    ok(UIController::kActionBuyAvatar, 0, int32_t(42));
    EXPECT_TRUE(client.sentOnce(1202, Bytes().int32(42).data()));
    client.clear();
    ok(UIController::kActionBuyItem, 0, int32_t(77));
    EXPECT_TRUE(client.sentOnce(101, Bytes().byte(6).int32(1).int32(77).data()));
    client.clear();
    ok(UIController::kActionBuyItem); // a question that names nothing buys nothing
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(DialogAction, PokerNoticesActOnThePokerTableOnTop) {
    auto poker = keepTable<PokerView>();
    push(poker);
    poker->setIsSitDown(true);
    cancel(UIController::kActionPokerBuyStack, 4);
    EXPECT_FALSE(poker->isSitDown());

    cancel(UIController::kActionPokerObserverNotice, 4);
    EXPECT_TRUE(client.sentOnce(15, {7, 9}));
    EXPECT_NE(top(), poker);
}

// Here no browser takes a page: the player is told so, with the address.
TEST_F(DialogAction, TheContextTextIsCopiedOrItsAddressOpened) {
    ok(UIController::kActionCopyText, 0, std::string("REG an 1234"));
    EXPECT_EQ(platform::Pasteboard::general().string(), "REG an 1234");
    ok(UIController::kActionNewVersion, 0, std::string("http://example.invalid/new"));
    EXPECT_EQ(dialogText(), "This computer cannot open http://example.invalid/new");
    UIController::closeDialog();
    ok(UIController::kActionMoreGames, 0, platform::Value("http://example.invalid/games"));
    EXPECT_EQ(dialogText(), "This computer cannot open http://example.invalid/games");
    auto opened = platform::UrlOpener::opened();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].url, "http://example.invalid/new");
    EXPECT_EQ(opened[1].url, "http://example.invalid/games");
}

TEST_F(DialogAction, TurningInvitationsOffIsRemembered) {
    UIController::turnInviteOff();
    EXPECT_EQ(openDialogCode(), UIController::kActionTurnOffInvites);
    EXPECT_EQ(dialogText(), text("KAVO_turnOffInviteFeature"));
    press("Yes");
    EXPECT_FALSE(UIController::inviting());
    EXPECT_FALSE(platform::UserDefaults::standard().boolForKey("savedInviting"));
}

TEST_F(DialogAction, RemoveAllEmptiesTheMailboxOnTop) {
    auto mailbox = std::make_shared<MessageView>();
    mailbox->setMessageType(2);
    auto mail = std::make_shared<KavoMessage>();
    mail->setType(2);
    auto request = std::make_shared<KavoMessage>();
    request->setType(3);
    UIController::setListMessage({mail, request});
    mailbox->setListMessage({mail});
    push(mailbox);
    auto later = std::make_shared<KavoMessage>();
    UIController::addItemIntoListMessage(later); // arrives after the screen read the mailbox
    ok(UIController::kActionRemoveAllMail);
    EXPECT_TRUE(mailbox->listMessage().empty());
    EXPECT_EQ(UIController::listMessage(), KavoMessageList{later}) << "what the screen listed goes";
}

TEST_F(DialogAction, AvatarChoiceWearsThePickedAvatar) {
    auto profile = std::make_shared<ProfileView>();
    push(profile);
    profile->doChangeTab(ProfileView::kTabItems);
    profile->assetsView()->setSelectedAvatarID(12);
    ok(UIController::kActionChooseAvatar);
    EXPECT_EQ(UIController::myInfo()->avatar(), 12);
    EXPECT_TRUE(client.sentOnce(1008, Bytes().int32(12).data()));
}

TEST_F(DialogAction, TopUpOpensThePanelOverTheScreenAndAsksForTheChannels) {
    ok(UIController::kActionTopUp);
    EXPECT_TRUE(client.sentOnce(44, {}));
    bool found = false;
    for (const auto& subview : top()->view()->subviews())
        found |= bool(std::dynamic_pointer_cast<TopupZelView>(subview));
    EXPECT_TRUE(found);
}

// A code without an action only clears the code. In a window Escape answers a one-button
// notice like a click where its button only tidies up (a code without an action, the
// purchase's spinner, the friend list); a button that starts something the player must
// choose waits for the click, and Escape runs nothing.
TEST_F(DialogAction, EscapeAnswersANoticeWhoseButtonOnlyTidiesUp) {
    using C = UIController;
    const std::vector<int> answered = {
        4, 5, 7, 8212, 8236, -1, 999, C::kActionPurchaseConfirmed, C::kActionFriendAdded};
    const std::vector<int> waiting = {
        C::kActionBuyAvatar,       C::kActionInvitation,     C::kActionLeaveBoard,    C::kActionSkipTurn,
        C::kActionRecoverPassword, C::kActionTopUp,          C::kActionMoreGames,     C::kActionNewVersion,
        C::kActionDrawOffer,       C::kActionResign,         C::kActionCopyText,      C::kActionPokerObserver,
        C::kActionBuyItem,         C::kActionTurnOffInvites, C::kActionFriendRequest, C::kActionRemoveAllMail,
        C::kActionChooseAvatar,    C::kActionDeleteFriend,   C::kActionUndoRequest};
    for (const bool answers : {true, false})
        for (const int code : answers ? answered : waiting) {
            SCOPED_TRACE(code);
            auto panel = TopupZelView::make({0, 0, 480, 320});
            top()->view()->addSubview(panel);
            Util::showLoadingOnView(panel);
            client.clear();
            UIController::startOKDlg("Nạp thẻ thành công", {code});
            platform::ui::Application::shared().dispatchKey(platform::ui::Key::Escape);
            EXPECT_EQ(UIController::currentDialog() == nullptr, answers);
            EXPECT_EQ(openDialogCode(), answers ? C::kActionNone : code);
            if (code == C::kActionPurchaseConfirmed) {
                EXPECT_TRUE(panel->isUserInteractionEnabled()) << "the spinner went";
            }
            EXPECT_EQ(client.commands(),
                      code == C::kActionFriendAdded ? std::vector<int16_t>{29} : std::vector<int16_t>{});
            UIController::closeDialog();
            panel->removeFromSuperview();
        }
}

// Return presses a dialog's default button the way a click on it does: OK on a notice and
// on a question, the one button of a notice whose only button is its cancel; a dialog
// without buttons waits. Every kind of dialog the client opens, from one list.
TEST_F(DialogAction, ReturnPressesTheDefaultButtonOfEveryDialog) {
    using platform::ui::AlertView;
    const std::string yes = text("KAVO_yes"), ok = text("KAVO_OK"), cancel = text("KAVO_cancel");
    const std::vector<std::pair<std::function<void()>, std::string>> dialogs = {
        {[] { UIController::startOKDlg("Nạp thẻ thành công"); }, ok},
        {[] { UIController::startReportDlg(MatchResultInfo()); }, ok},
        {[&] { UIController::startCancelOkDlg("Thoát bàn?", text("KAVO_no"), yes); }, yes},
        {[] { UIController::startCancelDlg("Đang chờ"); }, cancel},
        {[] { UIController::startNilDlg("Đang chờ"); }, ""},
        // A screen's own question (more games, a purchase, a friend request) and its notices.
        {[&] { AlertView::make("", "Xem thêm?", nullptr, cancel, {ok})->show(); }, ok},
        {[] { AlertView::make("", "Tên đã dùng", nullptr, "OK")->show(); }, "OK"}};
    for (const auto& [open, expected] : dialogs) {
        open();
        const auto alert = AlertView::visibleAlerts().back();
        std::string clicked;
        for (int i = 0; i < alert->numberOfButtons(); ++i)
            alert->buttonAtIndex(i)->addTarget(platform::ui::ControlEvent::TouchUpInside,
                                               [&clicked, i, &alert] { clicked += alert->buttonTitleAtIndex(i); });
        platform::ui::Application::shared().dispatchKey(platform::ui::Key::Return);
        EXPECT_EQ(clicked, expected);
        EXPECT_EQ(alert->isVisible(), expected.empty()) << expected;
        alert->dismissWithClickedButtonIndex(0, false);
    }
}

} // namespace
} // namespace kavo::test
