// Another player's profile panel: opening, the two tabs and what they ask, the report form.
#include "account/ProfileSubView.h"

#include "account/ProfileSubAchievementView.h"
#include "account/ProfileSubUser.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "tests/account/support/AccountTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

ByteVector otherRecord(int32_t id, const std::string& nick) {
    Bytes body;
    body.int32(id).utf(nick).int64(3400000).utf("Bình").byte(2).boolean(true).int16(1992).utf("").utf("");
    body.boolean(false).utf("").utf("0912").byte(-1).utf("").byte(3).byte(9).boolean(true).int32(75).boolean(false);
    body.utf("2 giờ").int32(5);
    return body;
}

class OtherProfile : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        Resources::getInstance().setListReportCategory({"Gian lận", "Quảng cáo"});
        grid_ = push(std::make_shared<GameView>());
        recorder_.clear();
        grid_->doShowUserInfo(77);
        advance(0.3);
        panel_ = grid_->profileSubView();
    }
    std::shared_ptr<GameView> grid_;
    std::shared_ptr<ProfileSubView> panel_;
};

TEST_F(OtherProfile, OpeningAsksTheProfileAndTheSamePlayerAgainOnlyUnhides) {
    EXPECT_EQ(bodies(1005), std::vector<ByteVector>{Bytes().int32(77).data()});
    EXPECT_DOUBLE_EQ(panel_->view()->frame().x(), 160);
    panel_->view()->setHidden(true);
    grid_->doShowUserInfo(77);
    EXPECT_FALSE(panel_->view()->isHidden());
    EXPECT_EQ(bodies(1005).size(), 1u);
    grid_->doShowUserInfo(78);
    EXPECT_EQ(bodies(1005).back(), Bytes().int32(78).data()) << "another player reloads in place";
    EXPECT_DOUBLE_EQ(panel_->view()->frame().x(), 160);
}

TEST_F(OtherProfile, TheRecordShowsReadOnlyAndEveryInfoTapAsksAgain) {
    reply(1005, otherRecord(77, "binh"));
    EXPECT_EQ(panel_->lbUserName()->text(), "binh");
    const auto& info = panel_->subUserDataView();
    EXPECT_EQ(info->vTien()->text(), "3.400.000 " + text("KAVO_zel"));
    EXPECT_EQ(info->vGioiTinh()->text(), text("KAVO_Woman"));
    EXPECT_EQ(info->vNamSinh()->text(), "09/03/1992");
    EXPECT_EQ(info->vTinhTP()->text(), text("KAVO_unknow"));
    EXPECT_EQ(info->vDiemTichLuy()->text(), "75%");
    EXPECT_EQ(info->vSoDT()->text(), "0912");
    EXPECT_EQ(info->vDiaChi()->text(), "");
    panel_->doChangeTab(ProfileSubView::kTabInfo);
    panel_->doChangeTab(ProfileSubView::kTabInfo);
    EXPECT_EQ(bodies(1005).size(), 3u);
}

TEST_F(OtherProfile, AchievementsAreAskedAtEveryChoiceAndShownOnceAllAreIn) {
    std::vector<ByteVector> asked;
    for (int8_t game : {11, 18, 2, 17, 1, 5, 20, 9, 16, 13, 4, 8, 3, 12})
        asked.push_back(Bytes().byte(5).byte(game).int32(77).data());
    panel_->doChangeTab(ProfileSubView::kTabAchievements);
    EXPECT_EQ(bodies(40), asked);
    auto tab = panel_->subAchievementView();
    // A row about the signed-in player (7) is dropped by the dispatcher.
    reply(40, Bytes().byte(5).int32(7).byte(3).int32(1).int32(1).int32(1).int32(1).int32(1).int32(0));
    for (int game : Profile_AchievementView::kListGameId)
        reply(40,
              Bytes().byte(5).int32(77).byte(int8_t(game)).int32(game).int32(2).int32(3).int32(4).int32(5).int32(0));
    ASSERT_EQ(tab->myTableView()->numberOfSections(), 13);
    EXPECT_EQ(tab->myTableView()->numberOfRows(0), 1);
    EXPECT_EQ(tab->listGameAchivement().at(3)[1], 3);
    // Back to the info tab and again: the rows are cleared and asked again.
    panel_->doChangeTab(ProfileSubView::kTabInfo);
    panel_->doChangeTab(ProfileSubView::kTabAchievements);
    EXPECT_TRUE(tab->listGameAchivement().empty());
    EXPECT_EQ(bodies(40).size(), 28u);
}

TEST_F(OtherProfile, TheReportSendsTheCommentWithTheLastPickedCategory) {
    reply(1005, otherRecord(77, "binh"));
    panel_->showReportView();
    EXPECT_DOUBLE_EQ(panel_->viewReport()->frame().x(), 0);
    panel_->doSendReport();
    EXPECT_EQ(dialogText(), text("KAVO_LottoGeneralWarning")) << "an empty comment is refused";
    EXPECT_TRUE(bodies(2703).empty());
    closeDialog();

    panel_->viewReport_txtContent()->setText(" nói bậy ");
    panel_->viewReportBtnSend_Clicked();
    panel_->showPickerCategory();
    EXPECT_FALSE(panel_->actionSheet()->isHidden());
    panel_->didSelectRow(*panel_->pickerCategory(), 0, 0);
    panel_->didSelectRow(*panel_->pickerCategory(), 1, 0);
    panel_->didSelectRow(*panel_->pickerCategory(), 5, 0); // no such row: the pick stays
    panel_->hidePickerView();
    panel_->viewReportBtnSend_Clicked();
    EXPECT_EQ(bodies(2703),
              (std::vector<ByteVector>{Bytes().int32(1).utf("binh").utf("").utf(" nói bậy ").data(),
                                       Bytes().int32(1).utf("binh").utf("Quảng cáo").utf(" nói bậy ").data()}));
    reply(2703, Bytes().int32(1).byte(1));
    EXPECT_EQ(dialogText(), text("KAVO_Report_Complete"));
    closeDialog();
    reply(2703, Bytes().int32(1).byte(0));
    EXPECT_EQ(dialogText(), text("KAVO_Report_Fail"));
}

TEST_F(OtherProfile, TheThreeIdleButtonsSayUnderConstruction) {
    panel_->btnChallenge_Clicked();
    EXPECT_EQ(dialogText(), text("KAVO_WarningUnderConstruction"));
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
}

TEST_F(OtherProfile, LateRowsOfThePreviousPlayerStayOutOfTheNextPlayersTable) {
    panel_->doChangeTab(ProfileSubView::kTabAchievements);
    grid_->doShowUserInfo(88);
    advance(0.3);
    panel_->doChangeTab(ProfileSubView::kTabAchievements);
    auto tab = panel_->subAchievementView();
    ASSERT_TRUE(tab->listGameAchivement().empty());
    for (int game : Profile_AchievementView::kListGameId)
        reply(40,
              Bytes().byte(5).int32(77).byte(int8_t(game)).int32(game).int32(9).int32(9).int32(9).int32(9).int32(0));
    EXPECT_TRUE(tab->listGameAchivement().empty()) << "player 77's rows reached player 88's table";
    for (int game : Profile_AchievementView::kListGameId)
        reply(40,
              Bytes().byte(5).int32(88).byte(int8_t(game)).int32(game).int32(6).int32(1).int32(0).int32(0).int32(0));
    ASSERT_EQ(tab->listGameAchivement().size(), Profile_AchievementView::kListGameId.size());
    for (const auto& [game, row] : tab->listGameAchivement())
        EXPECT_EQ(row[2], 6) << game;
}

TEST_F(OtherProfile, NoiseWithThePanelOpenLeavesItWorking) {
    panel_->doChangeTab(ProfileSubView::kTabAchievements);
    uint32_t seed = 5;
    const int16_t commands[] = {1005, 40, 2703, 1003};
    for (int i = 0; i < 400; ++i) {
        ByteVector body;
        for (int n = int(seed % 60); n > 0; --n) {
            seed = seed * 1103515245u + 12345u;
            body.push_back(uint8_t(seed >> 16));
        }
        reply(commands[i % 4], body);
        closeDialog();
    }
    reply(1005, otherRecord(77, "binh"));
    EXPECT_EQ(panel_->lbUserName()->text(), "binh");
}

} // namespace
} // namespace kavo::test
