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
#include "tests/support/Bytes.h"

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
            reply.send(1003, Bytes().boolean(!request.readUTF().empty()));
        });
        // The grid's friend list: one friend online.
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() != 5) return;
            reply.send(104, Bytes().byte(5).int32(501).utf("binh").int64(70000).int16(2).byte(0).utf(""));
        });
        portal().onCommand(1005, [](Message& request, TestPortal::Reply& reply) {
            Bytes record = Bytes().int32(request.readInt()).utf("binh").int64(70000).utf("Bình").byte(1);
            record.boolean(true).int16(1995).utf("").utf("").boolean(false).utf("").utf("").byte(-1).utf("");
            reply.send(1005, record.byte(2).byte(3).boolean(true).int32(10).boolean(false).utf("1 giờ").int32(2));
        });
        portal().onCommand(2703, [](Message& request, TestPortal::Reply& reply) {
            const int32_t sub = request.readInt();
            Bytes answer;
            answer.int32(sub);
            if (sub == 0) {
                answer.utf("Gian lận").utf("Quảng cáo");
            } else if (sub == 1) {
                answer.byte(1);
            } else {
                return;
            }
            reply.send(2703, answer);
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
    portal().sendToClient(Bytes().int32(0).utf("Gian lận").utf("Quảng cáo").message(2703));
    road("wait text=binh 30\ntap text=binh\nadvance 0.5\nwait text=" + text("KAVO_Man") +
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
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return reportSent().has_value(); }, 30));
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
    EXPECT_TRUE(portal().waitForClientGone(kStateWait));
}

// The settings sheet is kept for the process; the fixture has it laid out anew for each
// test's idiom. Its money row, shown here, is put back for the next test.
class SettingsScreens : public SettingsRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {
protected:
    void TearDown() override {
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
         "\ntap id=onCancel\nadvance 0.5\nwait text=binh 30\ntap text=binh\nadvance 0.5\ntap id=showReportView\n"
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
