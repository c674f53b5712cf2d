// The settings road: the panel from the game grid, the sound switch, the password change,
// a friend's profile with a report, and log out, against the test portal on the manual clock.
#include "account/ProfileSubView.h"
#include "account/SettingsView.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "tests/e2e/AccountRoad.h"

#include <gtest/gtest.h>
#include <optional>

namespace kavo::test {
namespace {

class SettingsRoad : public AccountRoad {
protected:
    void SetUp() override {
        AccountRoad::SetUp();
        portal().onCommand(1003, [](Message& request, TestPortal::Reply& reply) {
            request.readUTF();
            Message answer(1003);
            answer.writeBool(!request.readUTF().empty());
            reply.send(answer);
        });
        // The grid's friend list: one friend online.
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() != 5) return;
            Message friends(104);
            friends.writeByte(5);
            friends.writeInt(501);
            friends.writeUTF("binh");
            friends.writeLong(70000);
            friends.writeShort(2);
            friends.writeByte(0);
            friends.writeUTF("");
            reply.send(friends);
        });
        portal().onCommand(1005, [](Message& request, TestPortal::Reply& reply) {
            Message record(1005);
            record.writeInt(request.readInt());
            record.writeUTF("binh");
            record.writeLong(70000);
            record.writeUTF("Bình");
            record.writeByte(1);
            record.writeBool(true);
            record.writeShort(1995);
            for (int i = 0; i < 2; ++i)
                record.writeUTF("");
            record.writeBool(false);
            record.writeUTF("");
            record.writeUTF("");
            record.writeByte(-1);
            record.writeUTF("");
            record.writeByte(2);
            record.writeByte(3);
            record.writeBool(true);
            record.writeInt(10);
            record.writeBool(false);
            record.writeUTF("1 giờ");
            record.writeInt(2);
            reply.send(record);
        });
        portal().onCommand(2703, [](Message& request, TestPortal::Reply& reply) {
            const int32_t sub = request.readInt();
            Message answer(2703);
            answer.writeInt(sub);
            if (sub == 0) {
                answer.writeUTF("Gian lận");
                answer.writeUTF("Quảng cáo");
            } else if (sub == 1) {
                answer.writeByte(1);
            } else {
                return;
            }
            reply.send(answer);
        });
    }
};

TEST_F(SettingsRoad, ThePlayerTurnsTheSoundOffAndOnAndChangesThePassword) {
    platform::UserDefaults::standard().setBool(true, "savedSound");
    UIController::setSound(true);
    signIn();
    road("tap id=clickSetting\nadvance 0.5\ndrag id=tblSetting 0 -150\nadvance 1\ndrag id=tblSetting 0 -150\nadvance "
         "1\nwait text=" +
         text("KAVO_Setting_Sound") + "\ntap id=savedSound");
    EXPECT_FALSE(platform::UserDefaults::standard().boolForKey("savedSound"));
    EXPECT_FALSE(UIController::sound());
    EXPECT_EQ(platform::SystemSound::looping(), "");
    road("tap id=savedSound");
    EXPECT_TRUE(platform::UserDefaults::standard().boolForKey("savedSound"));
    EXPECT_EQ(platform::SystemSound::looping(), UIController::kMusicFile);
    UIController::stopMusicBackgrond();

    road("drag id=tblSetting 0 150\nadvance 1\ntap text=" + text("KAVO_ChangePassword") +
         "\nadvance 0.5\ntype id=txtOldPass cu\ntype id=txtNewPass moi\ntype id=txtConfirmNewPass moi\n"
         "tap id=onChangePass\nadvance 0.5");
    ASSERT_TRUE(waitForCount(1003, 1));
    Message sent(1003, portal().messages(1003)[0].body);
    EXPECT_EQ(sent.readUTF(), "cu");
    EXPECT_EQ(sent.readUTF(), "moi");
    road("wait text=" + text("KAVO_changePassSuccess"));
}

TEST_F(SettingsRoad, ThePlayerOpensAFriendsProfileAndReportsThem) {
    signIn();
    portal().sendToClient([] {
        Message categories(2703);
        categories.writeInt(0);
        categories.writeUTF("Gian lận");
        categories.writeUTF("Quảng cáo");
        return categories;
    }());
    road("wait text=binh 5\ntap text=binh\nadvance 0.5\nwait text=" + text("KAVO_Man") +
         "\ntap id=showReportView\ntype id=viewReport_txtContent spam\ntap id=viewReport_btnSend");
    // The profile asks for the report categories (2703 too) as it opens; the report is
    // the 2703 that starts with kind 1.
    auto reportSent = [this]() -> std::optional<std::vector<uint8_t>> {
        for (const auto& sent : portal().messages(2703)) {
            Message copy(2703, sent.body);
            if (copy.readInt() == 1) return sent.body;
        }
        return std::nullopt;
    };
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return reportSent().has_value(); }, 5));
    Message report(2703, *reportSent());
    EXPECT_EQ(report.readInt(), 1);
    EXPECT_EQ(report.readUTF(), "binh");
    EXPECT_EQ(report.readUTF(), "");
    EXPECT_EQ(report.readUTF(), "spam");
    road("wait text=" + text("KAVO_Report_Complete"));
}

TEST_F(SettingsRoad, LogOutDisconnects) {
    signIn();
    road("tap id=clickSetting\nadvance 0.5\ntap text=" + text("KAVO_logout"));
    EXPECT_TRUE(portal().waitForClientGone(5));
}

// The settings sheet is kept for the process and laid out in the idiom of its first
// showing: each idiom's test lays it out anew, and leaves none behind for the next test.
class SettingsScreens : public SettingsRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {
protected:
    void SetUp() override {
        SettingsRoad::SetUp();
        SettingsView::getInstance()->setView(nullptr);
    }
    void TearDown() override {
        SettingsView::getInstance()->setView(nullptr);
        SettingsView::getInstance()->setIsSetMoney(false);
        SettingsRoad::TearDown();
    }
};

TEST_P(SettingsScreens, ThePanelsArePhotographed) {
    const bool tablet = GetParam() == platform::ui::Idiom::Tablet;
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    road("tap id=clickSetting\nadvance 0.5\nshot " + shotPath("settings-lobby", tablet) +
         "\ntap text=" + text("KAVO_ChangePassword") + "\nadvance 0.5\nshot " + shotPath("settings-password", tablet) +
         "\ntap id=onCancel\nadvance 0.5\nwait text=binh 5\ntap text=binh\nadvance 0.5\ntap id=showReportView\n"
         "advance 0.3\nshot " +
         shotPath("settings-report", tablet));
    // At a table the table's rows come first.
    auto table = std::make_shared<TienLenView>();
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(table, false);
    advance(0.5);
    SettingsView::getInstance()->setIsSetMoney(true);
    table->clickSetting();
    road("advance 0.5\nshot " + shotPath("settings-table", tablet));
    EXPECT_TRUE(std::filesystem::exists(shotPath("settings-table", tablet)));
}

INSTANTIATE_TEST_SUITE_P(Idioms, SettingsScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
