// The own profile: its four tabs, what each asks the server and when, the personal data
// edits, the achievements table, the items with wearing an avatar, and the transactions.
#include "account/ProfileView.h"

#include "account/BirthdayPicker.h"
#include "account/CellTaiSan.h"
#include "account/Profile_AchievementView.h"
#include "account/Profile_AssetsView.h"
#include "account/Profile_TransactionView.h"
#include "account/Profile_UserDataView.h"
#include "account/ThanhTichCell.h"
#include "account/TopupZelView.h"
#include "account/TransferMoneyView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/ColoredProgressView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/render/Renderer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "portal/model/Province.h"
#include "tests/account/support/AccountTestSupport.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/client/OpenDialog.h"

#include <functional>
#include <ostream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

// The signed-in player's record (reply 1005) with a birthday and a province.
ByteVector record(int8_t day, int8_t month, int16_t year, int8_t province, int32_t percent = 40) {
    Bytes body;
    body.int32(7).utf("an").int64(1250000).utf("Trần An").byte(1).boolean(true).int16(year).utf("1 Lê Lợi");
    body.utf("0123").boolean(false).utf("").utf("0909").byte(province).utf("").byte(month).byte(day);
    body.boolean(true).int32(percent).boolean(false).utf("5 giờ").int32(3);
    return body;
}

ByteVector achievementRow(int8_t game) {
    return Bytes().byte(3).byte(game).int32(100 + game).int32(10 + game).int32(game).int32(2).int32(1);
}

class Profile : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        UIController::myInfo()->setAvatar(1);
        profile_ = push(std::make_shared<ProfileView>());
    }
    std::shared_ptr<Profile_UserDataView> info() { return profile_->userDataView(); }

    std::shared_ptr<ProfileView> profile_;
};

// ---------------------------------------------------------------- tabs

// The record holds what play changes (the level, the playing time): the screen asks for it
// each time it shows, not at each change of tab.
TEST_F(Profile, TheInfoTabOpensFirstAndTheRecordIsAskedAtEachShowingOfTheScreen) {
    ASSERT_TRUE(info());
    EXPECT_FALSE(profile_->assetsView());
    EXPECT_FALSE(profile_->achievementView());
    EXPECT_FALSE(profile_->transactionView());
    EXPECT_EQ(bodies(1005), std::vector<ByteVector>{Bytes().int32(7).data()});
    const auto kept = info();
    profile_->doChangeTab(ProfileView::kTabItems);
    EXPECT_TRUE(info()->view()->isHidden());
    profile_->doChangeTab(ProfileView::kTabInfo);
    EXPECT_EQ(bodies(1005).size(), 1u);
    profile_->doChangeTab(ProfileView::kTabItems);
    profile_->viewDidAppear(false);
    EXPECT_EQ(info(), kept);
    EXPECT_FALSE(info()->view()->isHidden());
    EXPECT_EQ(bodies(1005), (std::vector<ByteVector>{Bytes().int32(7).data(), Bytes().int32(7).data()}));
    profile_->viewDidAppear(false);
    EXPECT_EQ(bodies(1005).size(), 3u) << "shown again on its own tab";
}

TEST_F(Profile, TheItemsTabAsksItsThreeListsEachTimeItShows) {
    const std::vector<ByteVector> once = {{0x03, 0, 0, 0, 2, 0, 0}, {0x10}};
    profile_->doChangeTab(ProfileView::kTabItems);
    EXPECT_EQ(bodies(1010).size(), 1u);
    EXPECT_EQ(bodies(101), once);
    const auto kept = profile_->assetsView();
    profile_->doChangeTab(ProfileView::kTabTransactions);
    profile_->doChangeTab(ProfileView::kTabItems);
    EXPECT_EQ(profile_->assetsView(), kept);
    EXPECT_EQ(bodies(1010).size(), 2u);
    EXPECT_EQ(bodies(101), (std::vector<ByteVector>{once[0], once[1], once[0], once[1]}));
    // The order of one showing: avatars, items, event items.
    const auto sent = recorder_.sent();
    std::vector<int16_t> order;
    for (const auto& message : sent)
        if (message.commandId == 1010 || message.commandId == 101) order.push_back(message.commandId);
    EXPECT_EQ(order, (std::vector<int16_t>{1010, 101, 101, 1010, 101, 101}));
}

TEST_F(Profile, AchievementsAreAskedOnceInTheirOrder) {
    profile_->doChangeTab(ProfileView::kTabAchievements);
    profile_->doChangeTab(ProfileView::kTabInfo);
    profile_->doChangeTab(ProfileView::kTabAchievements);
    std::vector<ByteVector> expected;
    for (int8_t game : {3, 12, 13, 5, 9, 11, 2, 1, 8, 18, 17, 20, 16, 4})
        expected.push_back({0x03, uint8_t(game)});
    EXPECT_EQ(bodies(40), expected);
}

TEST_F(Profile, ShuffledAchievementsShowThirteenSectionsInOrderOnceAllAreIn) {
    profile_->doChangeTab(ProfileView::kTabAchievements);
    auto tab = profile_->achievementView();
    auto& table = *tab->myTableView();
    // Tetris is asked for but not listed; a game may answer twice, the later row counts.
    const int8_t arrivals[] = {16, 8, 4, 20, 17, 18, 1, 2, 11, 9, 5, 13};
    for (int8_t game : arrivals)
        reply(40, achievementRow(game));
    reply(40, Bytes().byte(3).byte(13).int32(999).int32(0).int32(0).int32(0).int32(0));
    table.reloadData();
    EXPECT_EQ(table.numberOfRows(0), 0) << "twelve listed games answered: nothing shown yet";
    reply(40, achievementRow(12));
    reply(40, achievementRow(3));
    ASSERT_EQ(table.numberOfSections(), 13);
    for (int section = 0; section < 13; ++section)
        EXPECT_EQ(table.numberOfRows(section), 1) << section;
    table.layoutIfNeeded();
    auto first = std::dynamic_pointer_cast<ThanhTichCell>(table.cellForRow({0, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->lbKinhNghiem()->text(), "103") << "Tien Len leads";
    EXPECT_EQ(first->lbThang()->text(), "13");
    EXPECT_EQ(first->lbThua()->text(), "3");
    EXPECT_EQ(first->lbHoa()->text(), "2");
    EXPECT_EQ(first->lbBoCuoc()->text(), "1");
    EXPECT_EQ(tab->listGameAchivement().at(13)[1], 999);
    EXPECT_EQ(tab->listGameAchivement().count(8), 0u);
    // A row short of its six numbers is dropped, the row held stays.
    tab->updateViewWithAchievement({3, 7, 7, 7, 7}, 3);
    ASSERT_EQ(tab->listGameAchivement().at(3).size(), 6u);
    EXPECT_EQ(tab->listGameAchivement().at(3)[1], 103);
}

TEST_F(Profile, TheTransactionsTabAsksItsLogOnCreationAndShowsTheRows) {
    profile_->doChangeTab(ProfileView::kTabTransactions);
    profile_->doChangeTab(ProfileView::kTabInfo);
    profile_->doChangeTab(ProfileView::kTabTransactions);
    EXPECT_EQ(bodies(2703), std::vector<ByteVector>{Bytes().int32(2).data()});
    auto tab = profile_->transactionView();
    EXPECT_FALSE(tab->view()->isUserInteractionEnabled()) << "waiting for the log";
    reply(2703, Bytes().int32(2).utf("10:00").utf("+5 Zel").utf("11:00").utf("-3 Zel"));
    EXPECT_TRUE(tab->view()->isUserInteractionEnabled());
    auto& table = *tab->myTableView();
    ASSERT_EQ(table.numberOfRows(0), 2);
    table.layoutIfNeeded();
    auto row = std::dynamic_pointer_cast<CellLichSu>(table.cellForRow({0, 1}));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->lblContent()->text(), "-3 Zel");
    EXPECT_EQ(row->lblTime()->text(), "11:00");
}

// ---------------------------------------------------------------- personal data

struct Shown {
    int8_t day, month;
    int16_t year;
    int8_t province;
    const char* birthday;
    const char* provinceText; // nullptr: the "unknown" text
};

TEST_F(Profile, TheRecordShowsItsBirthdayAndProvinceByTheRules) {
    Province::setList({std::make_shared<Province>(1, "Hà Nội")});
    const Shown cases[] = {{17, 5, 1990, 1, "17/05/1990", "Hà Nội"},
                           {0, 5, 1990, -1, "", nullptr},
                           {17, 0, 1990, 9, "", "9"},
                           {17, 5, 0, 1, "", "Hà Nội"}};
    for (const Shown& shown : cases) {
        auto user = std::make_shared<User>();
        user->setBirthDay(shown.day);
        user->setBirthMonth(shown.month);
        user->setBirthYear(shown.year);
        user->setProvinceId(shown.province);
        info()->updateViewWithUserData(user);
        EXPECT_EQ(info()->vNamSinh()->text(), shown.birthday);
        EXPECT_EQ(info()->vTinhTP()->text(), shown.provinceText ? shown.provinceText : text("KAVO_unknow"));
    }
    reply(1005, record(17, 5, 1990, 1));
    EXPECT_EQ(info()->vNickname()->text(), "an");
    EXPECT_EQ(info()->vTien()->text(), "1.250.000 Zel");
    EXPECT_EQ(info()->txfHoTen()->text(), "Trần An");
    EXPECT_EQ(info()->vGioiTinh()->text(), text("KAVO_Man"));
    EXPECT_EQ(info()->vThangCap()->text(), "40 %");
    EXPECT_DOUBLE_EQ(info()->progressView()->progress(), 0.4);
    EXPECT_EQ(info()->progressView()->tintColor(), (ui::Color{1, 1, 0, 1})) << "the tint saturates to yellow";
    EXPECT_TRUE(profile_->view()->isUserInteractionEnabled()) << "the record removes the screen's spinner";
}

TEST_F(Profile, AGenderChoiceSendsTheWholeRecordWithTheGender) {
    reply(1005, record(17, 5, 1990, 1));
    for (int gender : {2, 0, 1}) {
        recorder_.clear();
        info()->btnRow_Clicked(Profile_UserDataView::kRowGender);
        EXPECT_FALSE(info()->actionSheet()->isHidden());
        info()->didSelectRow(*info()->pickerCity(), gender, 0);
        Bytes expected;
        expected.utf("Trần An").byte(int8_t(gender)).int16(1990).utf("1 Lê Lợi").utf("0123").utf("0909");
        expected.byte(1).byte(5).byte(17);
        EXPECT_EQ(bodies(1002), std::vector<ByteVector>{expected.data()}) << gender;
    }
    EXPECT_EQ(info()->vGioiTinh()->text(), text("KAVO_Man"));
}

TEST_F(Profile, ABirthdayWheelOpensOnTheStoredDateAndSendsTheNewOne) {
    reply(1005, record(30, 4, 1990, 1)); // the last day of its month
    info()->btnRow_Clicked(Profile_UserDataView::kRowBirthday);
    EXPECT_FALSE(info()->pickerDate()->isHidden());
    EXPECT_EQ(info()->pickerDate()->selectedRowInComponent(0), 29);
    info()->pickerDate()->didSelectRow(*info()->pickerDate(), 2, 1); // March
    EXPECT_EQ(info()->vNamSinh()->text(), "30/03/1990");
    const ByteVector expected =
        Bytes().utf("Trần An").byte(1).int16(1990).utf("1 Lê Lợi").utf("0123").utf("0909").byte(1).byte(3).byte(30);
    EXPECT_EQ(bodies(1002), std::vector<ByteVector>{expected});
}

struct WheelCase {
    int year;
    int month;
    int lastDay; // where the 31st settles
};

TEST_F(Profile, TheBirthdayWheelKeepsEveryDateOnTheCalendar) {
    const WheelCase cases[] = {
        {2023, 1, 31},  {2023, 2, 28},  {2023, 3, 31}, {2023, 4, 30}, {2023, 5, 31},
        {2023, 6, 30},  {2023, 7, 31},  {2023, 8, 31}, {2023, 9, 30}, {2023, 10, 31},
        {2023, 11, 30}, {2023, 12, 31}, {1900, 2, 28}, {2000, 2, 29}, {2024, 2, 29},
    };
    reply(1005, record(17, 5, 1990, 1));
    info()->btnRow_Clicked(Profile_UserDataView::kRowBirthday);
    auto picker = info()->pickerDate();
    for (const auto& c : cases) {
        picker->didSelectRow(*picker, 0, 1);                                   // January
        picker->didSelectRow(*picker, c.year - BirthdayPicker::kFirstYear, 2); // the year
        picker->didSelectRow(*picker, 30, 0);                                  // the 31st
        picker->didSelectRow(*picker, c.month - 1, 1);                         // the month
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d/%02d/%04d", c.lastDay, c.month, c.year);
        EXPECT_EQ(info()->vNamSinh()->text(), expected) << c.year << "-" << c.month;
        const ByteVector sent = bodies(1002).back();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(int(sent[sent.size() - 2]), c.month) << c.year << "-" << c.month;
        EXPECT_EQ(int(sent.back()), c.lastDay) << c.year << "-" << c.month;
    }
    // The 29th of February stays in a leap year.
    picker->didSelectRow(*picker, 2000 - BirthdayPicker::kFirstYear, 2);
    picker->didSelectRow(*picker, 28, 0);
    picker->didSelectRow(*picker, 1, 1);
    EXPECT_EQ(info()->vNamSinh()->text(), "29/02/2000");
    // A month outside the wheel counts as a long one.
    EXPECT_EQ(BirthdayPicker::daysInMonth(13, 2024), 31);
    EXPECT_EQ(BirthdayPicker::daysInMonth(0, 2024), 31);
}

TEST_F(Profile, AReturnSendsTheRecordEvenUnchangedAndLowersWhatItRaised) {
    reply(1005, record(17, 5, 1990, 1));
    auto screen = profile_->view();
    const ui::Point before = screen->center();
    ASSERT_TRUE(info()->txfSoDT()->becomeFirstResponder());
    // The phone field lies at 394 on the screen: 394 - 162 + 50.
    EXPECT_DOUBLE_EQ(info()->yPop(), 282);
    EXPECT_DOUBLE_EQ(screen->center().y, before.y - 282);
    info()->txfSoDT()->setText("0911");
    ASSERT_TRUE(info()->txfHoTen()->becomeFirstResponder()); // raised already: nothing more
    EXPECT_DOUBLE_EQ(screen->center().y, before.y - 282);
    EXPECT_EQ(bodies(1002).size(), 1u) << "moving on ended the phone's edit";
    ui::Application::shared().dispatchKey(ui::Key::Return);
    EXPECT_DOUBLE_EQ(screen->center().y, before.y);
    EXPECT_FALSE(info()->isEdit());
    ASSERT_EQ(bodies(1002).size(), 2u) << "Return sends the name unchanged";
    EXPECT_EQ(info()->userData()->phoneNum(), "0911");
}

TEST_F(Profile, TopUpOpensThePanelOverTheProfileAndAsksForTheChannels) {
    profile_->doTopupZel();
    EXPECT_EQ(bodies(44), std::vector<ByteVector>{{}});
    EXPECT_FALSE(profile_->view()->subviewsOfType<TopupZelView>().empty());
}

TEST_F(Profile, TheBackButtonHidesUnderTheTopUpPanelAndReturnsWhenItCloses) {
    const auto& back = KavoOnlineAppDelegate::getInstance().btnBack();
    ASSERT_TRUE(back);
    back->setHidden(false);
    profile_->doTopupZel();
    const auto panels = profile_->view()->subviewsOfType<TopupZelView>();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_TRUE(back->isHidden());
    panels[0]->hideTopupView();
    EXPECT_TRUE(profile_->view()->subviewsOfType<TopupZelView>().empty());
    EXPECT_FALSE(back->isHidden());
}

// The top-up panel's framed background lies under its rows: nothing of the profile shows
// through it (through the dimming alone the profile's texts would read among the rows).
TEST_F(Profile, NothingOfTheProfileShowsThroughTheTopUpPanel) {
    reply(1005, record(17, 5, 1990, 1));
    profile_->doTopupZel();
    const auto panels = profile_->view()->subviewsOfType<TopupZelView>();
    ASSERT_EQ(panels.size(), 1u);
    Bytes channels;
    channels.byte(0).utf("Nạp qua SMS").utf("KAVO NAP ").utf("8777");
    channels.byte(2).byte(1).utf("Thẻ gate").utf("").utf("");
    channels.byte(5).utf("20.000 Zel").utf("vn.kavo.online.zel20").utf("");
    reply(44, channels.data());
    ASSERT_EQ(panels[0]->listMoney().size(), 3u);
    const ui::Rect content = platform::automation::ViewQuery::visibleRect(*panels[0]->mainView());
    ASSERT_FALSE(content.isEmpty());
    const auto panelPixels = [&] {
        const auto screen = platform::render::Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
        return screen ? screen->cropped(content)->pixelData() : std::vector<uint8_t>{};
    };
    const auto withTheProfile = panelPixels();
    info()->view()->setHidden(true);
    const auto withoutIt = panelPixels();
    ASSERT_FALSE(withTheProfile.empty());
    EXPECT_TRUE(withTheProfile == withoutIt) << "the profile's info tab shows through the panel";
}

// ---------------------------------------------------------------- items

TEST_F(Profile, TheTransferHeaderOpensTheSheetOverTheProfile) {
    profile_->doChangeTab(ProfileView::kTabItems);
    auto assets = profile_->assetsView();
    EXPECT_EQ(assets->myTableView()->numberOfRows(0), 0);
    auto header = assets->viewForHeader(*assets->myTableView(), 0);
    ASSERT_TRUE(header);
    auto button = header->subviewsOfType<ui::Button>();
    ASSERT_EQ(button.size(), 1u);
    EXPECT_EQ(button[0]->accessibilityIdentifier(), "showTransferZel");
    button[0]->sendActions(ui::ControlEvent::TouchUpInside);
    ASSERT_TRUE(assets->transferMoneyView());
    EXPECT_EQ(assets->transferMoneyView()->view()->superview(), profile_->view().get());
}

// The owned avatars' list carries no price: their rows show none, an item's its own.
TEST_F(Profile, AnotherAvatarAsksToWearItAndOkChangesItOnTheProfileAtOnce) {
    profile_->doChangeTab(ProfileView::kTabItems);
    reply(1010, Bytes().int32(2).int32(0).int32(1).utf("Mèo").utf("").int32(0).int32(4).utf("Cáo").utf("").data());
    reply(101,
          Bytes().byte(3).int32(2).byte(0).int32(1).int32(1090).int32(90).utf("Mũ").int32(5000).utf("").boolean(false));
    auto assets = profile_->assetsView();
    auto& table = *assets->myTableView();
    ASSERT_EQ(table.numberOfRows(1), 2);
    const auto price = [&](int section) {
        auto row = std::dynamic_pointer_cast<CellTaiSan>(assets->cellForRow(table, {section, 0}));
        return row ? row->lblSoTien()->text() : "no row";
    };
    EXPECT_EQ(price(1), "");
    EXPECT_EQ(price(2), "5.000 Zel");
    assets->didSelectRow(table, {1, 0}); // worn already
    EXPECT_EQ(dialogText(), "");
    assets->didSelectRow(table, {2, 0}); // an item: only remembered
    EXPECT_EQ(dialogText(), "");
    EXPECT_EQ(assets->rowIndex(), 0);
    assets->didSelectRow(table, {1, 1});
    EXPECT_EQ(dialogText(), text("KAVO_Change_Avatar"));
    EXPECT_EQ(openDialogCode(), UIController::kActionChooseAvatar);
    auto dialog = UIController::currentDialog();
    ASSERT_TRUE(dialog);
    dialog->buttonAtIndex(1)->sendActions(ui::ControlEvent::TouchUpInside);
    runPending();
    EXPECT_EQ(bodies(1008), std::vector<ByteVector>{Bytes().int32(4).data()});
    EXPECT_EQ(UIController::myInfo()->avatar(), 4);
    EXPECT_EQ(Resources::getInstance().waitingIdOfView(info()->imgViewAvatar()), 4) << "the info tab's picture";
}

TEST_F(Profile, NoiseWithTheProfileOnTopLeavesItWorking) {
    profile_->doChangeTab(ProfileView::kTabItems);
    profile_->doChangeTab(ProfileView::kTabAchievements);
    profile_->doChangeTab(ProfileView::kTabTransactions);
    uint32_t seed = 11;
    const int16_t commands[] = {1005, 40, 1010, 101, 2703, 17};
    for (int i = 0; i < 600; ++i) {
        ByteVector body;
        for (int n = int(seed % 48); n > 0; --n) {
            seed = seed * 1103515245u + 12345u;
            body.push_back(uint8_t(seed >> 16));
        }
        reply(commands[i % 6], body);
        closeDialog();
    }
    profile_->doChangeTab(ProfileView::kTabInfo);
    EXPECT_FALSE(info()->view()->isHidden());
    reply(1005, record(1, 2, 2000, -1));
    EXPECT_EQ(info()->vNamSinh()->text(), "01/02/2000");
}

// A desktop window has no on-screen keyboard: the profile screen stays where it is while
// the player wheels each field into sight, clicks it and types.
TEST_F(Profile, InADesktopWindowTheScreenStaysAndEachClickTypesIntoItsField) {
    reply(1005, record(17, 5, 1990, 1));
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    auto screen = profile_->view();
    const ui::Rect drawn = screenFrame(*screen);
    const ui::Point wheelAt = screenCentre(*info()->scrollView());
    struct Typed {
        std::shared_ptr<ui::TextField> field;
        const char* text;
    };
    const Typed typed[] = {{info()->txfHoTen(), "Nguyen An"},
                           {info()->txfDiaChi(), "Ha Noi"},
                           {info()->txfCMND(), "0123"},
                           {info()->txfSoDT(), "0911"}};
    for (const auto& t : typed) {
        for (int turn = 0;
             turn < 40 && platform::automation::ViewQuery::hitView(screenCentre(*t.field)) != t.field.get(); ++turn)
            ui::Application::shared().dispatchScroll(wheelAt, {0, 20});
        const ui::Point aim = screenCentre(*t.field);
        ASSERT_EQ(platform::automation::ViewQuery::hitView(aim), t.field.get()) << t.text << " is in sight";
        t.field->setText("");
        clickAndType(aim, t.text);
        EXPECT_EQ(screenFrame(*screen), drawn) << t.text;
        EXPECT_EQ(screenCentre(*t.field), aim) << t.text;
        EXPECT_EQ(t.field->text(), t.text);
    }
    EXPECT_FALSE(info()->isEdit());
}

// ---------------------------------------------------------------- an edit ends however the field is left

// How a player leaves the field he typed in, in a desktop window.
struct LeavingRoad {
    const char* name;
    std::function<void(Profile_UserDataView& tab, size_t field)> leave;
};

void PrintTo(const LeavingRoad& road, std::ostream* out) {
    *out << road.name;
}

// The four text fields of the tab, top to bottom.
std::vector<std::shared_ptr<ui::TextField>> fieldsOf(Profile_UserDataView& tab) {
    return {tab.txfHoTen(), tab.txfDiaChi(), tab.txfCMND(), tab.txfSoDT()};
}

// Scrolls the tab with the wheel until the view is in sight, and clicks it; `text` is typed.
void clickInTab(Profile_UserDataView& tab, const ui::View& target, const std::string& text = "") {
    const ui::Point wheelAt = screenCentre(*tab.scrollView());
    for (int turn = 0; turn < 40 && ui::Application::shared().dispatchScroll(wheelAt, {0, -40}); ++turn) {
    }
    for (int turn = 0; turn < 40 && platform::automation::ViewQuery::hitView(screenCentre(target)) != &target; ++turn)
        ui::Application::shared().dispatchScroll(wheelAt, {0, 20});
    ASSERT_EQ(platform::automation::ViewQuery::hitView(screenCentre(target)), &target) << "in sight";
    clickAndType(screenCentre(target), text);
}

void clickOn(const ui::View& target) {
    clickAndType(screenCentre(target), "");
}

// The shown view with that identifier (nullptr when none).
const ui::View* shownById(const std::string& id) {
    const auto selector = platform::automation::Selector::parse("id=" + id);
    return selector ? platform::automation::ViewQuery::find(*selector) : nullptr;
}

const std::vector<LeavingRoad>& leavingRoads() {
    static const std::vector<LeavingRoad> roads = {
        {"AnotherField",
         [](Profile_UserDataView& tab, size_t field) { clickInTab(tab, *fieldsOf(tab)[(field + 1) % 4]); }},
        {"APicker",
         [](Profile_UserDataView& tab, size_t) {
             const ui::View* row = shownById("btnRow_Clicked2");
             ASSERT_TRUE(row);
             clickInTab(tab, *row);
             EXPECT_FALSE(tab.pickerCity()->isHidden()) << "the gender picker opened";
         }},
        {"Escape", [](Profile_UserDataView&, size_t) { ui::Application::shared().dispatchKey(ui::Key::Escape); }},
        {"AnotherTab",
         [](Profile_UserDataView& tab, size_t) {
             const ui::View* items = shownById("btnItems");
             ASSERT_TRUE(items);
             clickOn(*items);
             EXPECT_TRUE(tab.view()->isHidden()) << "the items tab shows";
         }},
        {"TheScreenClosing",
         [](Profile_UserDataView&, size_t) {
             const auto& back = KavoOnlineAppDelegate::getInstance().btnBack();
             ASSERT_TRUE(back && !back->isHidden());
             clickOn(*back);
             platform::RunLoop::main().advance(ui::NavigationController::TransitionDuration);
         }},
        {"TheWindowLosingTheFocus", [](Profile_UserDataView&, size_t) { ui::Application::shared().windowLostFocus(); }},
    };
    return roads;
}

class ProfileEditEnds : public Profile, public ::testing::WithParamInterface<std::tuple<LeavingRoad, size_t>> {};

// The player adds to a field and leaves it by any road: the record goes to the server with
// what he typed at once, before anything else he does (the other fields as the record had
// them).
TEST_P(ProfileEditEnds, WhatWasTypedGoesToTheServerAsTheFieldIsLeft) {
    const auto& [road, field] = GetParam();
    reply(1005, record(17, 5, 1990, 1));
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    recorder_.clear();
    std::vector<std::string> texts = {"Trần An", "1 Lê Lợi", "0123", "0909"};
    clickInTab(*info(), *fieldsOf(*info())[field], " 7");
    texts[field] += " 7";
    ASSERT_EQ(fieldsOf(*info())[field]->text(), texts[field]);
    EXPECT_TRUE(bodies(1002).empty()) << "nothing is sent while he types";

    road.leave(*info(), field);
    const ByteVector expected = Bytes()
                                    .utf(texts[0])
                                    .byte(1)
                                    .int16(1990)
                                    .utf(texts[1])
                                    .utf(texts[2])
                                    .utf(texts[3])
                                    .byte(1)
                                    .byte(5)
                                    .byte(17)
                                    .data();
    ASSERT_FALSE(bodies(1002).empty()) << "the edit was sent as the field was left";
    EXPECT_EQ(bodies(1002).front(), expected);
}

std::string roadAndField(const ::testing::TestParamInfo<std::tuple<LeavingRoad, size_t>>& info) {
    static const char* const names[] = {"HoTen", "DiaChi", "CMND", "SoDT"};
    return std::string(std::get<0>(info.param).name) + "_" + names[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryFieldEveryRoad, ProfileEditEnds,
                         ::testing::Combine(::testing::ValuesIn(leavingRoads()),
                                            ::testing::Range(size_t(0), size_t(4))),
                         roadAndField);

} // namespace
} // namespace kavo::test
