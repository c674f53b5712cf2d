// The private chat panel: typing limit, emoticons, sending, scrolling and bubbles.
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/EmoticonText.h"
#include "platform/ui/Screen.h"
#include "social/ChatBubbleTableCell.h"
#include "social/ChatDatabase.h"
#include "social/ChatView.h"
#include "tests/support/DesktopClick.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class ChatPanel : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        Resources::getInstance().initAfterLogin();
        UIController::myInfo()->setIDDB(4242);
        UIController::myInfo()->setName("toi");
        db = std::make_shared<ChatDatabase>();
        ASSERT_TRUE(db->open(ChatDatabase::defaultPath()));
        panel = makePanel();
    }
    std::shared_ptr<ChatView> makePanel() {
        auto made = ChatView::make({0, 0, 298, 241});
        made->setFriendName("an");
        made->setFriendID(77);
        made->setTypeChat(ChatView::kFriendChat);
        made->setParentSqlDB(db);
        top()->view()->addSubview(made);
        return made;
    }
    void type(const std::string& text) {
        panel->txtChat()->setText(text);
        panel->changedEditing();
    }
    void addLines(int count) {
        for (int i = 0; i < count; ++i) {
            auto chat = std::make_shared<Chat>();
            chat->setContent("line " + std::to_string(i));
            panel->arrChat().push_back(chat);
        }
    }
    std::shared_ptr<ChatDatabase> db;
    std::shared_ptr<ChatView> panel;
};

TEST_F(ChatPanel, TypingKeepsFortyUnitsAndNeverHalvesAnEmoji) {
    const std::string forty(40, 'a');
    struct Case {
        std::string typed, kept;
    };
    const std::vector<Case> cases = {
        {forty, forty},
        {forty + "b", forty},
        {std::string(39, 'a') + "\xF0\x9F\x98\x80", std::string(39, 'a')}, // the emoji would be units 40 and 41
        {std::string(38, 'a') + "\xF0\x9F\x98\x80" + "z", std::string(38, 'a') + "\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        type(c.typed);
        EXPECT_EQ(panel->txtChat()->text(), c.kept) << c.typed.size();
    }
}

TEST_F(ChatPanel, AnEmoticonGoesInAloneOrAfterABlankAndIsNotCut) {
    const EmoticonTable table = EmoticonText::currentTable();
    ASSERT_GE(table.size(), 2u);
    panel->onClickEmotion(1000);
    EXPECT_EQ(panel->txtChat()->text(), table[0].first);
    panel->txtChat()->setText(std::string(40, 'a'));
    panel->onClickEmotion(1001);
    EXPECT_EQ(panel->txtChat()->text(), std::string(40, 'a') + " " + table[1].first);
    panel->onClickEmotion(1000 + int(table.size()));
    EXPECT_EQ(panel->txtChat()->text(), std::string(40, 'a') + " " + table[1].first) << "an unknown tag adds nothing";
}

TEST_F(ChatPanel, SendingAnEmptyLineDoesNothing) {
    panel->doSendMessage();
    EXPECT_TRUE(client.sent().empty());
    EXPECT_TRUE(panel->arrChat().empty());
    EXPECT_TRUE(db->queryAllConversation().empty());
}

TEST_F(ChatPanel, ASentLineIsStoredAsMineSentAndShown) {
    drive("type id=txtChat chào bạn\ntap id=btnSend");
    EXPECT_TRUE(client.sentOnce(5, Bytes().int32(77).utf("chào bạn").data()));
    EXPECT_EQ(panel->txtChat()->text(), "");
    ASSERT_EQ(panel->arrChat().size(), 1u);
    EXPECT_EQ(panel->arrChat()[0]->name(), "toi");
    EXPECT_EQ(panel->arrChat()[0]->isMe(), 1);
    const auto stored = db->queryConversationWithUserID("77", {});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->message(), "chào bạn");
    EXPECT_EQ(stored[0]->forWho(), 0);
    EXPECT_GT(stored[0]->time(), 1600000000000LL) << "milliseconds since 1970";
}

TEST_F(ChatPanel, APanelWithoutADatabaseStillSendsAndShows) {
    panel->setParentSqlDB(nullptr);
    panel->txtChat()->setText("hi admin");
    panel->doSendMessage();
    EXPECT_TRUE(client.sentOnce(5, Bytes().int32(77).utf("hi admin").data()));
    EXPECT_EQ(panel->arrChat().size(), 1u);
    EXPECT_TRUE(db->queryAllConversation().empty());
}

TEST_F(ChatPanel, TheConversationScrollsOnlyPastTheTablesHeight) {
    addLines(3);
    panel->reloadChats();
    EXPECT_EQ(panel->tblContent()->contentOffset().y, 0);
    addLines(1);
    panel->reloadChats();
    EXPECT_EQ(panel->tblContent()->contentOffset().y, 70);
}

TEST_F(ChatPanel, TwoEmoticonsWidenTheBubbleBySixteen) {
    const EmoticonTable table = EmoticonText::currentTable();
    auto add = [&](const std::string& text) {
        auto chat = std::make_shared<Chat>();
        chat->setContent(text);
        panel->arrChat().push_back(chat);
    };
    add("xin chao");
    add("xin chao" + table[0].first + table[0].first);
    panel->reloadChats();
    auto& tableView = *panel->tblContent();
    auto plain = std::dynamic_pointer_cast<ChatBubbleTableCell>(panel->cellForRow(tableView, {0, 0}));
    const double plainWidth = plain->messageContentView()->frame().width();
    auto emo = std::dynamic_pointer_cast<ChatBubbleTableCell>(panel->cellForRow(tableView, {0, 1}));
    // Measured in the font the label draws in (system 13), the text and its codes.
    const platform::ui::Font font = platform::ui::Font::system(13);
    const double textWidth = font.measure("xin chao").width + 2 * font.measure(table[0].first).width;
    EXPECT_NEAR(emo->messageContentView()->frame().width(), textWidth + 16, 1);
    EXPECT_EQ(plain->bgImageView()->frame().x(), 30) << "the partner's bubble stands left";
    EXPECT_DOUBLE_EQ(plain->bgImageView()->frame().width(), plainWidth + 25);
}

TEST_F(ChatPanel, PickerButtonsStandOnTheirGridOnPhoneAndTablet) {
    auto buttonAt = [](const ChatView& chat, int tag) -> platform::ui::View* {
        return chat.emoScroll()->viewWithTag(tag);
    };
    ASSERT_GE(EmoticonText::currentTable().size(), 10u);
    EXPECT_TRUE(panel->emoView()->isHidden());
    drive("tap id=btnEmoticon");
    EXPECT_FALSE(panel->emoView()->isHidden());
    EXPECT_EQ(buttonAt(*panel, 1000)->frame(), (platform::ui::Rect{10, 2, 24, 24}));
    EXPECT_EQ(buttonAt(*panel, 1009)->frame(), (platform::ui::Rect{42, 26, 24, 24}));
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    auto tablet = ChatView::make({0, 0, 636, 579});
    EXPECT_EQ(buttonAt(*tablet, 1000)->frame(), (platform::ui::Rect{14, 4, 48, 48}));
    EXPECT_EQ(buttonAt(*tablet, 1013)->frame(), (platform::ui::Rect{64, 52, 48, 48}));
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

// A desktop window has no on-screen keyboard: the chat panel stays where it is, so its
// tabs, title and close button stay in the window.
TEST_F(ChatPanel, InADesktopWindowTheLineFieldIsTypedIntoWithoutLiftingThePanel) {
    platform::ui::Keyboard::setModel(platform::ui::KeyboardModel::None);
    const platform::ui::Rect drawn = screenFrame(*panel);
    clickAndType(screenCentre(*panel->txtChat()), "chao ban");
    EXPECT_EQ(screenFrame(*panel), drawn);
    EXPECT_FALSE(panel->isEditing());
    EXPECT_EQ(panel->txtChat()->text(), "chao ban");
}

} // namespace
} // namespace kavo::test
