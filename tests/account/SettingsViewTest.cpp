// The settings panel: its sections away from and at a table, the greyed table rows, the
// switches and their stored keys, and where each row leads.
#include "account/SettingsView.h"

#include "account/ChangePassView.h"
#include "app/EventView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/caro/CaroView.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/GameView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Switch.h"
#include "social/SendAdminView.h"
#include "table/sheets/menuCuoc.h"
#include "tests/account/support/AccountTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

// A screen that remembers which of its sheets the panel asked for.
class WatchingTable : public TienLenView {
public:
    std::vector<std::string> opened;
};

class Settings : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        settings_ = SettingsView::getInstance();
        settings_->setIsSetMoney(false);
        settings_->setIsSetPass(false);
        settings_->setIsSetPlayers(false);
    }
    void TearDown() override {
        if (settings_->isViewLoaded()) settings_->view()->removeFromSuperview();
        UIController::stopMusicBackgrond();
        AccountScreenFixture::TearDown();
    }
    std::vector<int> rowIds(int sectionId) const {
        std::vector<int> ids;
        for (const Setting& row : settings_->rowsOfSection(sectionId))
            ids.push_back(row.sId());
        return ids;
    }
    std::vector<int> sectionIds() const {
        std::vector<int> ids;
        for (const Setting& key : settings_->keys())
            ids.push_back(key.sId());
        return ids;
    }
    std::shared_ptr<ui::TableViewCell> cell(int section, int row) {
        auto& table = *settings_->tblSetting();
        table.layoutIfNeeded();
        table.scrollToRow({section, row}, ui::TableViewScrollPosition::Bottom, false);
        table.layoutIfNeeded();
        return table.cellForRow({section, row});
    }
    void select(int section, int row) {
        settings_->didSelectRow(*settings_->tblSetting(), {section, row});
        runPending();
    }

    std::shared_ptr<SettingsView> settings_;
};

TEST_F(Settings, AwayFromATableTheSettingsShowTwoSectionsOfFiveAndThreeRows) {
    auto grid = push(std::make_shared<GameView>());
    grid->clickSetting();
    EXPECT_EQ(settings_->view()->superview(), grid->view().get());
    EXPECT_EQ(sectionIds(), (std::vector<int>{0, 1}));
    EXPECT_EQ(rowIds(0), (std::vector<int>{0, 1, 2, 12, 4}));
    EXPECT_EQ(rowIds(1), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(settings_->tblSetting()->numberOfRows(0), 5);
    // The first look shows whole rows: none lies half under the list's foot (and "Hủy").
    auto& list = *settings_->tblSetting();
    list.layoutIfNeeded();
    for (const auto& row : list.visibleCells())
        EXPECT_LE(row->convertRect(row->bounds(), &list).maxY(), list.bounds().maxY() + 0.5) << row->text();
    std::string title;
    for (const auto& label : settings_->view()->subviewsOfType<ui::Label>())
        if (label->accessibilityIdentifier() == "lblTitle") title = label->text();
    EXPECT_TRUE(title == "Cài đặt" || title == "Settings") << "the header says it is the settings: " << title;
}

TEST_F(Settings, AtATableTheTableRowsComeFirstGreyedUnlessAllowed) {
    auto table = push(std::make_shared<WatchingTable>());
    settings_->setIsSetMoney(true);
    table->clickSetting();
    EXPECT_EQ(sectionIds(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(rowIds(2), (std::vector<int>{9, 10, 11}));
    auto money = cell(0, 0);
    auto players = cell(0, 1);
    ASSERT_TRUE(money && players);
    EXPECT_TRUE(money->isUserInteractionEnabled());
    EXPECT_FALSE(players->isUserInteractionEnabled());
    EXPECT_FALSE(settings_->willSelectRow(*settings_->tblSetting(), {0, 1}));
    EXPECT_TRUE(settings_->willSelectRow(*settings_->tblSetting(), {0, 0}));
    select(0, 0);
    EXPECT_EQ(menuCuoc::getInstance()->view()->superview(), table->view().get()) << "the stake sheet opens";
}

// The player count is a four-seat card table's: the sheet offers it there when the owner may
// set it, and at any other table never.
TEST_F(Settings, OnlyACardTableOffersThePlayerCount) {
    const std::pair<std::shared_ptr<GameTableView>, bool> tables[] = {{std::make_shared<TienLenView>(), true},
                                                                      {std::make_shared<CaroView>(), false}};
    for (const auto& [table, offers] : tables) {
        push(table);
        settings_->setIsSetPlayers(true);
        table->clickSetting();
        EXPECT_EQ(settings_->willSelectRow(*settings_->tblSetting(), {0, 1}).has_value(), offers) << table->className();
        pop();
    }
}

TEST_F(Settings, EachSwitchWritesItsKeyAndSoundOffStopsTheMusic) {
    push(std::make_shared<GameView>())->clickSetting();
    UIController::setSound(true);
    UIController::playMusicBackground();
    EXPECT_EQ(platform::SystemSound::looping(), UIController::kMusicFile);
    auto sound = cell(1, 2);
    ASSERT_TRUE(sound);
    auto toggle = std::dynamic_pointer_cast<ui::Switch>(sound->contentView()->subviewsOfType<ui::Switch>().front());
    toggle->setOn(false);
    toggle->sendActions(ui::ControlEvent::ValueChanged);
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_FALSE(defaults.boolForKey("savedSound"));
    EXPECT_FALSE(UIController::sound());
    EXPECT_EQ(platform::SystemSound::looping(), "");
    settings_->btnVibration_Clicked(true);
    settings_->btnInvite_Clicked(false);
    EXPECT_TRUE(defaults.boolForKey("savedRung"));
    EXPECT_FALSE(defaults.boolForKey("savedInviting"));
    // Stored to the file, and shown again at the next opening.
    platform::UserDefaults::standard().reset();
    EXPECT_TRUE(platform::UserDefaults::standard().boolForKey("savedRung"));
    settings_->refreshData(0);
    settings_->tblSetting()->reloadData();
    auto again = cell(1, 2)->contentView()->subviewsOfType<ui::Switch>().front();
    EXPECT_FALSE(again->isOn());
    settings_->btnSound_Clicked(true);
    EXPECT_EQ(platform::SystemSound::looping(), UIController::kMusicFile);
}

TEST_F(Settings, TheGuideOpensTheGuidePageAndTheRowsReachTheScreenUnderneath) {
    auto grid = push(std::make_shared<GameView>());
    grid->clickSetting();
    select(0, 0);
    advance(0.5);
    auto guide = std::dynamic_pointer_cast<EventView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(guide);
    pop();
    grid->clickSetting();
    select(0, 3); // change password
    EXPECT_TRUE(findById(grid->view(), "txtOldPass"));
    advance(0.5);
    EXPECT_EQ(settings_->view()->superview(), nullptr) << "the panel slid out";
    grid->clickSetting();
    select(0, 1); // feedback to the administrators
    EXPECT_EQ(SendAdminView::getInstance()->view()->superview(), grid->view().get());
}

TEST_F(Settings, CallHelpOnATabletShowsTheNumberAndKeepsThePanel) {
    push(std::make_shared<GameView>())->clickSetting();
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    select(0, 2);
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
    EXPECT_EQ(dialogText().rfind(text("KAVO_callHelp") + " ", 0), 0u) << dialogText();
    EXPECT_NE(settings_->view()->superview(), nullptr) << "the panel stays";
}

} // namespace
} // namespace kavo::test
