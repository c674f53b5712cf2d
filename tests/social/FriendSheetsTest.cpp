// The sheets around friends: invitations, adding a friend by name, feedback, the
// player details sheet and the compose panel for messages by name.
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/EmoticonText.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Image.h"
#include "portal/GlobalLogicHandler.h"
#include "social/AddFriendView.h"
#include "social/ChatView.h"
#include "social/FriendInviteView.h"
#include "social/MessageView.h"
#include "social/PlayerDetailView.h"
#include "social/SendAdminView.h"
#include "social/SendMessageView.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

std::shared_ptr<KavoMessage> invitation(int32_t id, const std::string& name) {
    auto message = std::make_shared<KavoMessage>();
    message->setType(3);
    message->setFromID(id);
    message->setFromName(name);
    message->setIsRequestAddFriend(1);
    return message;
}

std::shared_ptr<KavoMessage> notice(const std::string& text) {
    auto message = std::make_shared<KavoMessage>();
    message->setMessage(text);
    return message;
}

platform::Value details(int64_t money, int exp, int won = 3) {
    platform::Value data = platform::Value::emptyArray();
    data.append(std::string("minh"));
    data.append(money);
    data.append(2);
    data.append(exp);
    data.append(won);
    data.append(4);
    data.append(5);
    data.append(6);
    return data;
}

class FriendSheets : public TableTest {
protected:
    std::shared_ptr<FriendInviteView> openInvitations(KavoMessageList mail) {
        UIController::setListMessage(std::move(mail));
        auto screen = std::make_shared<MessageView>();
        push(screen);
        runMainThread();
        screen->showFriendInviteView();
        runMainThread();
        return screen->friendInviteView();
    }
    // The 104 requests sent, as (type, id).
    std::vector<std::pair<int, int32_t>> answers() const {
        std::vector<std::pair<int, int32_t>> out;
        for (const auto& message : client.sent()) {
            if (message.commandId != 104 || message.body.size() != 5) continue;
            Message body(104, message.body);
            const int type = body.readByte();
            out.emplace_back(type, body.readInt());
        }
        return out;
    }
};

// ---------------------------------------------------------------- invitations

TEST_F(FriendSheets, NoInvitationShowsNoRowsAndNoSpinner) {
    auto sheet = openInvitations({notice("hello")});
    EXPECT_EQ(sheet->numberOfRows(*sheet->mainTableView(), 0), 0);
    EXPECT_EQ(sheet->view()->subviewsOfType<platform::ui::ActivityIndicatorView>().size(), 0u);
}

TEST_F(FriendSheets, AcceptingOrRefusingSendsOneAnswerPerInvitationInOrder) {
    auto keep = notice("stays");
    auto sheet = openInvitations({invitation(11, "dung"), keep, invitation(12, "em"), invitation(13, "gi")});
    ASSERT_EQ(sheet->_arrLoiMoi().size(), 3u);
    sheet->btnAccept_Clicked(FriendInviteView::kAcceptTag + 1);
    EXPECT_EQ(answers(), (std::vector<std::pair<int, int32_t>>{{2, 12}}));
    ASSERT_EQ(sheet->_arrLoiMoi().size(), 2u) << "the others stay listed";
    sheet->btnAccept_Clicked(FriendInviteView::kAcceptTag + 2);
    EXPECT_EQ(answers().size(), 1u) << "a stale tag sends nothing";
    sheet->btnXoaTatCa_Clicked();
    EXPECT_EQ(answers(), (std::vector<std::pair<int, int32_t>>{{2, 12}, {3, 11}, {3, 13}}));
    EXPECT_TRUE(sheet->_arrLoiMoi().empty());
    EXPECT_EQ(UIController::listMessage(), KavoMessageList{keep});
}

// Accepted friends join the friend list, asked for once after the answers; a refusal asks
// for nothing more.
TEST_F(FriendSheets, AcceptAllAndTheLastInvitationAskForTheFriendListAfterTheAnswers) {
    const RecordedMessage friendList{104, {5}};
    auto sheet = openInvitations({invitation(21, "a"), invitation(22, "b")});
    client.clear();
    sheet->btnChapNhatTatCa_Clicked();
    EXPECT_EQ(client.sent(),
              (std::vector<RecordedMessage>{
                  {104, Bytes().byte(2).int32(21).data()}, {104, Bytes().byte(2).int32(22).data()}, friendList}));
    client.clear();
    UIController::setListMessage({invitation(23, "c"), invitation(24, "d")});
    sheet->viewDidAppear(false);
    sheet->btnAccept_Clicked(FriendInviteView::kAcceptTag);
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{104, Bytes().byte(2).int32(23).data()}, friendList}));
    client.clear();
    sheet->btnDelete_Clicked(FriendInviteView::kRefuseTag);
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{104, Bytes().byte(3).int32(24).data()}}));
    EXPECT_TRUE(sheet->_arrLoiMoi().empty());
}

TEST_F(FriendSheets, ReusedRowsAfterScrollingActOnTheirOwnInvitation) {
    KavoMessageList many;
    for (int i = 0; i < 30; ++i)
        many.push_back(invitation(100 + i, "p" + std::to_string(i)));
    auto sheet = openInvitations(many);
    auto& table = *sheet->mainTableView();
    table.setContentOffset({0, 41 * 15});
    table.layoutIfNeeded();
    drive("tap text=p17");
    for (const auto& cell : table.visibleCells()) {
        auto path = table.indexPathForCell(cell.get());
        ASSERT_TRUE(path);
        const auto& parts = cell->contentView()->subviews();
        EXPECT_EQ(parts[parts.size() - 2]->tag(), FriendInviteView::kAcceptTag + path->row);
    }
    auto cell = table.cellForRow({0, 17});
    ASSERT_TRUE(cell);
    const auto& parts = cell->contentView()->subviews();
    client.clear();
    sheet->btnDelete_Clicked(parts.back()->tag());
    EXPECT_TRUE(client.sentOnce(104, Bytes().byte(3).int32(117).data()));
}

// ---------------------------------------------------------------- add friend

TEST_F(FriendSheets, AddFriendSearchesNamesLongerThanThreeUnits) {
    auto made = std::make_shared<AddFriendView>();
    AddFriendView& sheet = *made;
    top()->view()->addSubview(sheet.view());
    sheet.viewWillAppear(false);
    sheet.txtName()->setText("abc");
    sheet.doAddFriend();
    EXPECT_EQ(dialogText(), text("KAVO_limit4Num"));
    EXPECT_TRUE(client.sent().empty());
    sheet.txtName()->setText("");
    sheet.doAddFriend();
    EXPECT_TRUE(client.sent().empty()) << "an empty field is too short";

    top()->view()->addSubview(sheet.view());
    sheet.viewWillAppear(false);
    sheet.txtName()->setText("abcd");
    sheet.doAddFriend();
    platform::RunLoop::main().advance(1);
    EXPECT_EQ(sheet.view()->superview(), nullptr) << "the sheet slid out";
    EXPECT_TRUE(client.sentOnce(36, Bytes().utf("abcd").data()));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("REQUEST_ADD_FRIEND"), "abcd");
}

TEST_F(FriendSheets, TheSearchAnswerAsksForTheExactNameOnly) {
    platform::UserDefaults::standard().setString("Minh", "REQUEST_ADD_FRIEND");
    auto player = [](int32_t id, const std::string& name) {
        auto made = std::make_shared<Player>();
        made->setIDDB(id);
        made->setName(name);
        return made;
    };
    GlobalLogicHandler::getInstance().onSearchResult({player(7, "minh"), player(8, "Minh")});
    runMainThread();
    EXPECT_TRUE(client.sentOnce(104, Bytes().byte(15).int32(8).utf("Minh").data()));
    client.clear();
    GlobalLogicHandler::getInstance().onSearchResult({player(7, "minh")});
    runMainThread();
    EXPECT_TRUE(client.sent().empty());
    EXPECT_EQ(dialogText(), text("KAVO_notFoundNick"));
}

// The mailbox and a chat panel tell the answer alike; only the chat panel's OK after
// "added" reloads the friend list. (The server's answer is walked in the friends road.)
TEST_F(FriendSheets, TheMailboxAndTheChatPanelTellTheAddFriendResult) {
    const std::vector<std::pair<int, const char*>> cases = {
        {0, "KAVO_addFriendOK"}, {1, "KAVO_friendExist"}, {2, "KAVO_tooMuchFriend"}, {5, "KAVO_friendExist"}};
    auto mailbox = std::make_shared<MessageView>();
    auto chat = std::make_shared<ChatView>();
    for (const auto& [result, key] : cases) {
        mailbox->onAddFriendResult(result);
        EXPECT_EQ(dialogText(), text(key)) << result << " in the mailbox";
        EXPECT_EQ(openDialogCode(), UIController::kActionNone) << result << " in the mailbox";
        chat->onAddFriendResult(result);
        EXPECT_EQ(dialogText(), text(key)) << result << " in a chat panel";
        EXPECT_EQ(openDialogCode(), result == 0 ? UIController::kActionFriendAdded : UIController::kActionNone)
            << result << " in a chat panel";
    }
}

// ---------------------------------------------------------------- feedback

TEST_F(FriendSheets, FeedbackIsSentAsTypedAndOnlyEmptyIsRefused) {
    auto& sheet = *SendAdminView::getInstance();
    EXPECT_EQ(&sheet, SendAdminView::getInstance().get());
    top()->view()->addSubview(sheet.view());
    sheet.viewWillAppear(false);
    sheet.doSendMail();
    EXPECT_TRUE(client.sent().empty());
    EXPECT_EQ(dialogText(), "");

    top()->view()->addSubview(sheet.view());
    sheet.viewWillAppear(false);
    sheet.txtContent()->setText(" ");
    sheet.doSendMail();
    EXPECT_TRUE(client.sentOnce(5, fromHex("00000005000120")));
    EXPECT_EQ(dialogText(), text("KAVO_thankComment"));
    EXPECT_EQ(sheet.txtContent()->text(), "");
    EXPECT_EQ(sheet.sendType(), -1);

    sheet.txtContent()->setText("draft");
    sheet.onCancel();
    EXPECT_EQ(sheet.txtContent()->text(), "");
}

// ---------------------------------------------------------------- player details

TEST_F(FriendSheets, PlayerDetailsShowLevelMoneyAndRecord) {
    PlayerDetailView sheet;
    sheet.view();
    struct Case {
        int exp;
        const char* level;
    };
    for (const Case& c : {Case{150, "2 + 25%"}, Case{0, "1 + 0%"}}) {
        sheet.updateViewWithData(details(1234567, c.exp));
        EXPECT_EQ(sheet.lblLevel()->text(), c.level);
    }
    EXPECT_EQ(sheet.lblName()->text(), "minh");
    EXPECT_EQ(sheet.lblMoney()->text(), "1,234,567 " + text("KAVO_zel"));
    const std::vector<std::string> record = {sheet.lblWin()->text(), sheet.lblLose()->text(), sheet.lblDraw()->text(),
                                             sheet.lblGiveup()->text()};
    EXPECT_EQ(record, (std::vector<std::string>{"3", "4", "5", "6"})) << "won, lost, drawn, given up";

    platform::Value shortData = platform::Value::emptyArray();
    shortData.append(std::string("cut"));
    shortData.append(int64_t(1));
    sheet.updateViewWithData(shortData);
    EXPECT_EQ(sheet.lblName()->text(), "minh") << "a short reply is dropped";
}

TEST_F(FriendSheets, TheBackgroundFollowsTheGameAndAddFriendSearchesEachPress) {
    PlayerDetailView sheet;
    top()->view()->addSubview(sheet.view());
    UIController::setGameType(1);
    sheet.viewWillAppear(false);
    EXPECT_EQ(sheet.imgBg()->image() ? sheet.imgBg()->image()->name() : "", "caro-bg-menu.png");
    UIController::setGameType(8);
    sheet.viewWillAppear(false);
    EXPECT_EQ(sheet.imgBg()->image() ? sheet.imgBg()->image()->name() : "", "bg_profile.png");
    sheet.updateViewWithData(details(10, 10));
    sheet.addFriend();
    sheet.addFriend();
    int searches = 0;
    for (const auto& message : client.sent())
        if (message.commandId == 36) {
            ++searches;
            EXPECT_EQ(message.body, Bytes().utf("minh").data());
        }
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("REQUEST_ADD_FRIEND"), "minh");
}

// ---------------------------------------------------------------- messages by name

TEST_F(FriendSheets, MessagesByNameGoOncePerRealNameInOrder) {
    struct Case {
        const char* to;
        std::vector<std::string> names;
    };
    for (const Case& c : {Case{"a; b,c", {"a", "b", "c"}}, Case{"a;;b,", {"a", "b"}}}) {
        client.clear();
        auto panel = SendMessageView::make({80, 80, 308, 162});
        top()->view()->addSubview(panel);
        panel->txtTo()->setText(c.to);
        panel->txvContent()->setText("xin chao");
        panel->doSendMail();
        std::vector<std::string> sentTo;
        for (const auto& message : client.sent()) {
            Message body(104, message.body);
            EXPECT_EQ(body.readByte(), 13);
            sentTo.push_back(body.readUTF());
            EXPECT_EQ(body.readUTF(), "xin chao");
        }
        EXPECT_EQ(sentTo, c.names) << c.to;
        EXPECT_EQ(panel->sendType(), -1);
        runMainThread();
        EXPECT_EQ(panel->superview(), nullptr) << "closed after sending";
    }
}

TEST_F(FriendSheets, TheComposeTextStopsAt255UnitsAndTheReturnKeyFollowsIt) {
    auto panel = SendMessageView::make({80, 80, 308, 162});
    top()->view()->addSubview(panel);
    panel->txvContent()->setText(std::string(256, 'x'));
    panel->changeEditing();
    EXPECT_EQ(panel->txvContent()->text(), std::string(255, 'x'));
    panel->txvContent()->setText(std::string(254, 'x') + "\xF0\x9F\x98\x80");
    panel->changeEditing();
    EXPECT_EQ(panel->txvContent()->text(), std::string(254, 'x')) << "the emoji is not halved";
    EXPECT_EQ(panel->txvContent()->returnKeyType(), platform::ui::ReturnKeyType::Send);
    panel->txvContent()->setText("");
    panel->changeEditing();
    EXPECT_EQ(panel->txvContent()->returnKeyType(), platform::ui::ReturnKeyType::Default);
}

TEST_F(FriendSheets, EmptyFieldsWarnSendNothingAndClose) {
    auto panel = SendMessageView::make({80, 80, 308, 162});
    top()->view()->addSubview(panel);
    panel->txtTo()->setText("an");
    panel->doSendMail();
    EXPECT_EQ(dialogText(), text("KAVO_LottoGeneralWarning"));
    EXPECT_TRUE(client.sent().empty());
    runMainThread();
    EXPECT_EQ(panel->superview(), nullptr);
    EXPECT_EQ(panel->btnBg()->superview(), nullptr);
}

// A desktop window has no on-screen keyboard: the compose panel stays where it is while
// the player clicks and types into its two fields.
TEST_F(FriendSheets, InADesktopWindowTheComposePanelStaysAndEachClickTypesIntoItsField) {
    platform::ui::Keyboard::setModel(platform::ui::KeyboardModel::None);
    // The panel draws its parts at twice their phone size; at the left edge they are in sight.
    auto panel = SendMessageView::make({0, 0, 616, 324});
    top()->view()->addSubview(panel);
    const platform::ui::Rect drawn = screenFrame(*panel);
    const platform::ui::Point to = screenCentre(*panel->txtTo());
    const platform::ui::Point content = screenCentre(*panel->txvContent());
    clickAndType(to, "an");
    clickAndType(content, "xin chao");
    EXPECT_EQ(screenFrame(*panel), drawn);
    EXPECT_FALSE(panel->isEdit());
    EXPECT_EQ(panel->txtTo()->text(), "an");
    EXPECT_EQ(panel->txvContent()->text(), "xin chao");
}

} // namespace
} // namespace kavo::test
