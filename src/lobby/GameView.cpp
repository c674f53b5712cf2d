#include "lobby/GameView.h"

#include "account/ProfileSubView.h"
#include "account/ProfileView.h"
#include "app/EventView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/MessageBadge.h"
#include "app/PageOpener.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LobbyGames.h"
#include "lobby/LobbyLayout.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalService.h"
#include "social/LeaderboardView.h"
#include "table/registry/GameController.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;
using lobby::image;
using lobby::scaled;
using lobby::text;

namespace {

constexpr const char* kFriendCellId = "CellIdentifier";
constexpr double kJoinTimeout = 5.0;
// The friend cells' tagged views.
constexpr int kTagAvatar = 101;
constexpr int kTagMoney = 102;
constexpr int kTagName = 103;

// The view of a cell's content with that tag, when it is a T.
template <class T> std::shared_ptr<T> tagged(ui::TableViewCell& cell, int tag) {
    ui::View* found = cell.contentView()->viewWithTag(tag);
    return found ? std::dynamic_pointer_cast<T>(found->self()) : nullptr;
}

// The grid's fifteenth button: other games.
constexpr const char* kMoreGamesButton = "btnGameKhac";
constexpr const char* kMoreGamesIcon = "icon_gamekhac.png";
constexpr const char* kMoreGamesKey = "KAVO_moreGames";

} // namespace

GameView::GameView() : KavoViewController("GameView") {}

GameView::~GameView() {
    if (mainTableView_) {
        mainTableView_->setDataSource(nullptr);
        mainTableView_->setDelegate(nullptr);
    }
    if (moreGamesAlert_) moreGamesAlert_->setDelegate(nullptr);
}

// ---------------------------------------------------------------- layout

void GameView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    arrayOnlineFriends_.clear();
    friendOnline_ = true;
    setUIScreen();
    LoadIcon();
}

void GameView::setUIScreen() {
    using lobby::addButton;
    using lobby::addLabel;
    const ui::ViewPtr& root = view();
    root->setBackgroundColor(ui::Color::clear());

    // The player on the left, above the friends, below the event ticker's strip (the top
    // left 240 x 30).
    playerAvatar_ = ui::ImageView::make(scaled({4, 32, 32, 32}));
    playerAvatar_->setAccessibilityIdentifier("playerAvatar");
    root->addSubview(playerAvatar_);
    lblUserName_ =
        addLabel(root, {40, 30, 114, 21}, "lblUserName", "", 12, true, ui::Color::white(), ui::TextAlignment::Left);
    // A long name is drawn smaller, on two lines if need be, rather than cut.
    lblUserName_->setAdjustsFontSizeToFitWidth(true);
    lblUserName_->setMinimumFontSize(lobby::fontSize(8));
    lblUserName_->setWrapsWhenShrunk(true);
    lblPlayerMoney_ =
        addLabel(root, {40, 51, 114, 15}, "lblPlayerMoney", "", 12, true, ui::Color::yellow(), ui::TextAlignment::Left);

    btnOnline_ = addButton(root, {2, 68, 74, 22}, "btnOnline", text("KAVO_Main_Text_Online"));
    btnOnline_->setTag(kTabOnline);
    btnAll_ = addButton(root, {78, 68, 74, 22}, "btnAll", text("KAVO_Main_Text_All"));
    btnAll_->setTag(kTabAll);
    for (const auto& tab : {btnOnline_, btnAll_}) {
        tab->setBackgroundImage(nullptr);
        tab->setBackgroundColor(ui::Color::white(0, 0.35));
        std::weak_ptr<ui::Button> weakTab = tab;
        tab->onTouchUpInside([this, weakTab] {
            if (auto pressed = weakTab.lock()) doChangeTab(pressed->tag());
        });
    }

    mainTableView_ = ui::TableView::make(scaled({2, 92, 152, 164}));
    mainTableView_->setAccessibilityIdentifier("mainTableView");
    mainTableView_->setBackgroundColor(ui::Color::white(0, 0.25));
    mainTableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    mainTableView_->setRowHeight(Util::isPad() ? 100 : 41);
    mainTableView_->setDataSource(this);
    mainTableView_->setDelegate(this);
    root->addSubview(mainTableView_);

    // Event page and own profile side by side, the rankings under them: each title whole at
    // its size in either language.
    btnEvent_ = addButton(root, {2, 258, 74, 28}, "doShowEventView", text("KAVO_event"));
    btnEvent_->onTouchUpInside([this] { doShowEventView(); });
    btnProfile_ = addButton(root, {78, 258, 76, 28}, "doShowProfileView", text("KAVO_info"));
    btnProfile_->onTouchUpInside([this] { doShowProfileView(); });
    btnLeaderboard_ = addButton(root, {2, 288, 152, 28}, "doShowLeaderboard", text("KAVO_Chart"));
    btnLeaderboard_->onTouchUpInside([this] { doShowLeaderboard(); });
    for (const auto& button : {btnEvent_, btnProfile_, btnLeaderboard_}) {
        button->titleLabel()->setFont(ui::Font::boldSystem(lobby::fontSize(10)));
        // A long title shrinks to a readable size, then takes two lines.
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumFontSize(lobby::fontSize(8));
        button->titleLabel()->setWrapsWhenShrunk(true);
        button->setNeedsLayout();
    }
    // Room at the right for the unread badge, so it never sits on the mailbox caption.
    btnChat_ = addButton(root, {402, 4, 62, 22}, "btnChat", text("KAVO_chat"));
    btnChat_->onTouchUpInside([this] { clickChatFriend(); });
    btnNapZel_ = addButton(root, {338, 4, 62, 22}, "btnNapZel", text("KAVO_napZel"));
    btnNapZel_->onTouchUpInside([this] { napZel(); });
    for (const auto& button : {btnChat_, btnNapZel_}) {
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumFontSize(lobby::fontSize(9));
        button->setNeedsLayout();
    }
    // Wide enough for "Settings" and "Lottery" at their size.
    addSettingAndLottoButtons(root, {242, 4, 48, 22}, {292, 4, 44, 22});

    // The heading stands below the event ticker's strip (the top left 240 x 30), above the grid.
    lblSelectGame_ = addLabel(root, {158, 30, 160, 18}, "lblSelectGame", text("KAVO_SelectGame"), 14, true,
                              ui::Color::rgba(255, 220, 60), ui::TextAlignment::Left);
    lblSelectGame_->setAdjustsFontSizeToFitWidth(true);
    lblSelectGame_->setMinimumFontSize(lobby::fontSize(9));
    scrollView_ = ui::ScrollView::make(scaled({156, 48, 324, 272}));
    scrollView_->setAccessibilityIdentifier("scrollView");
    scrollView_->setShowsHorizontalScrollIndicator(false);
    root->addSubview(scrollView_);

    if (imgViewCounterMessage() && lblCounterMessage()) {
        placeMessageBadge(*imgViewCounterMessage(), *lblCounterMessage(), btnChat_->frame());
        root->bringSubviewToFront(imgViewCounterMessage().get());
        root->bringSubviewToFront(lblCounterMessage().get());
    }
}

void GameView::LoadIcon() {
    gridButtons_.clear();
    const double s = Util::iPad();
    const ui::Size size = Util::changeSizeFromSize({75, 65});
    const ui::Rect labelSize = scaled({0, 0, 110, 20});
    // The row pitch is the column pitch (button width plus 35s), not the button height.
    const double pitch = size.width + 35 * s;
    for (int i = 0; i < kGridButtonCount; ++i) {
        const bool moreGames = i == kGridButtonCount - 1;
        const LobbyGame* game = moreGames ? nullptr : &kLobbyGames[size_t(i)];
        const double x = 15 * s + (i % 3) * pitch;
        const double y = 5 * s + (i / 3) * pitch;

        auto button = ui::Button::make(ui::Rect(x, y, size.width, size.height));
        button->setAccessibilityIdentifier(game ? std::string(game->buttonName) : kMoreGamesButton);
        button->setShowsTouchWhenHighlighted(true);
        button->setBackgroundImage(ui::Image::named(game ? std::string(game->icon) : kMoreGamesIcon));
        if (game) {
            button->setBackgroundImage(image(game->highlightIcon), ui::ControlState::Highlighted);
            const int gameType = game->gameType;
            button->onTouchUpInside([this, gameType] { selectGame(gameType); });
        } else {
            button->onTouchUpInside([this] { doJoinGameKhac(); });
        }
        scrollView_->addSubview(button);
        gridButtons_.push_back(button);

        auto label = ui::Label::make(ui::Rect(x + size.width / 2 - labelSize.width() / 2, y + size.height,
                                              labelSize.width(), labelSize.height()));
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(ui::Color::white());
        label->setFont(ui::Font::boldSystem(9 * s));
        label->setTextAlignment(ui::TextAlignment::Center);
        label->setText(text(game ? game->titleKey : kMoreGamesKey));
        scrollView_->addSubview(label);
    }
    scrollView_->setContentSize({scrollView_->bounds().width(), 5 * (size.height + 35 * s + 5)});
}

void GameView::setEnableControl() {
    for (const auto& button : gridButtons_)
        button->setEnabled(true);
}

void GameView::setDisableControl() {
    for (const auto& button : gridButtons_)
        button->setEnabled(false);
}

void GameView::removeSelectObjects() {
    for (const auto& button : gridButtons_)
        button->removeFromSuperview();
}

// ---------------------------------------------------------------- appearance

void GameView::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle()) {
        title->setText(platform::toUpper(platform::UserDefaults::standard().stringForKey("LoginServerName")));
    }
}

void GameView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    Resources::getInstance().initAfterLogin();
    btnAll_->sendActions(ui::ControlEvent::TouchUpInside);
    const auto me = UIController::myInfo();
    showMyMoney();
    lblUserName_->setText(me->name());
    playerAvatar_->setContentMode(ui::ContentMode::ScaleAspectFit);
    Resources::getInstance().assignAvatarId(me->avatar(), playerAvatar_);
    GlobalService::getInstance().getReportCategory();
}

void GameView::viewDidDisappear(bool animated) {
    KavoViewController::viewDidDisappear(animated);
    hideLoading();
    // The friend list goes to the grid on top only: a grid left before it came stops
    // waiting for it, or the wait would run out under the next screen and tell the player
    // that a server which did answer could not be reached.
    Util::hideLoadingOnView(mainTableView_);
}

void GameView::setUsernameWithName(const std::string& name) {
    if (lblUserName_) lblUserName_->setText(name);
}

void GameView::showMyMoney() {
    if (lblPlayerMoney_) lblPlayerMoney_->setText(Util::formatNumber(UIController::myInfo()->money()));
}

// ---------------------------------------------------------------- choosing a game

void GameView::selectGame(int gameType) {
    selectedGameID_ = gameType;
    joinGame();
}

void GameView::joinGame() {
    // The spinner blocks the grid until the board list comes or 5 s pass.
    Util::hideLoadingOnView(scrollView_);
    Util::showLoadingOnView(scrollView_);
    GameController::doPlayWithGameId(selectedGameID_);
    Util::hideLoadingOnViewAfterDelay(scrollView_, kJoinTimeout);
}

void GameView::doJoinGameKhac() {
    Util::hideLoadingOnView(scrollView_);
    Util::showLoadingOnView(scrollView_);
    GlobalService::getInstance().getInfoWithKey(3);
    Util::hideLoadingOnViewAfterDelay(scrollView_, kJoinTimeout);
}

void GameView::hideLoading() {
    if (scrollView_) Util::hideLoadingOnView(scrollView_);
}

void GameView::doShowMoreGames() {
    // The answer ends the wait doJoinGameKhac began; left up, its bound would call it lost.
    hideLoading();
    // The grid answers its own question (OK opens the address): it sets no action code of
    // the app's dialogs, which no dialog of its own would ever run.
    if (moreGamesAlert_) moreGamesAlert_->setDelegate(nullptr);
    moreGamesAlert_ = ui::AlertView::make("", text("KAVO_notice"), this, text("KAVO_cancel"), {text("KAVO_OK")});
    moreGamesAlert_->show();
}

void GameView::clickedButtonAtIndex(ui::AlertView& /*alert*/, int index) {
    if (index == 1 && !infoMoreGames_.empty()) PageOpener::open(infoMoreGames_);
    // Either answer builds the grid again.
    scrollView_->removeAllSubviews();
    LoadIcon();
}

// ---------------------------------------------------------------- friends

void GameView::set_arrayAllFriends(std::vector<std::shared_ptr<Player>> friends) {
    arrayAllFriends_ = std::move(friends);
}

void GameView::rebuildOnlineFriends() {
    arrayOnlineFriends_.clear();
    for (const auto& player : arrayAllFriends_) {
        if (player && player->isReady()) arrayOnlineFriends_.push_back(player);
    }
}

const std::vector<std::shared_ptr<Player>>& GameView::shownFriends() const {
    return friendOnline_ ? arrayOnlineFriends_ : arrayAllFriends_;
}

void GameView::forceReloadData() {
    if (!mainTableView_) return;
    mainTableView_->reloadData();
    Util::hideLoadingOnView(mainTableView_);
}

void GameView::styleTab(const std::shared_ptr<ui::Button>& tab, bool selected) {
    tab->setBackgroundImage(selected ? image("tap_main_selectTab.png") : nullptr);
    tab->setTitleColor(selected ? ui::Color::yellow() : ui::Color::white());
}

void GameView::doChangeTab(int tag) {
    if (tag == viewingTabIndex_) return;
    if (tag == kTabAll) {
        showAllFriend();
    } else if (tag == kTabOnline) {
        showOnlineFriend();
    }
}

void GameView::showOnlineFriend() {
    rebuildOnlineFriends();
    viewingTabIndex_ = kTabOnline;
    styleTab(btnAll_, false);
    styleTab(btnOnline_, true);
    friendOnline_ = true;
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto self = std::static_pointer_cast<GameView>(weak.lock())) self->forceReloadData();
    });
}

void GameView::showAllFriend() {
    viewingTabIndex_ = kTabAll;
    styleTab(btnAll_, true);
    styleTab(btnOnline_, false);
    friendOnline_ = false;
    GlobalService::getInstance().requestFriendList(int8_t(5));
    Util::showLoadingOnView(mainTableView_);
    Util::boundLoadingOnView(mainTableView_);
}

int GameView::numberOfRows(ui::TableView& /*table*/, int /*section*/) {
    return int(shownFriends().size());
}

double GameView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return Util::isPad() ? 100 : 41;
}

std::shared_ptr<ui::TableViewCell> GameView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kFriendCellId);
    if (!cell) {
        cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kFriendCellId);
        const bool pad = Util::isPad();
        const ui::ViewPtr& content = cell->contentView();
        auto background = ui::ImageView::make(ui::Rect(0, 0, table.bounds().width(), pad ? 104 : 43));
        background->setImage(image(isAdded_ ? "tap_profile_cell1.png" : "tap_profile_cell2.png"));
        isAdded_ = !isAdded_;
        content->addSubview(background);

        auto avatar = ui::ImageView::make(pad ? ui::Rect(4, 4, 80, 92) : ui::Rect(2, 2, 36, 36));
        avatar->setTag(kTagAvatar);
        avatar->setContentMode(ui::ContentMode::Center);
        avatar->setClipsToBounds(true); // a large picture stays inside its square
        content->addSubview(avatar);

        // The name, and under it the amount, each the row's width right of the picture.
        auto name = ui::Label::make(pad ? ui::Rect(87, 0, 230, 50) : ui::Rect(41, 1, 108, 19));
        name->setTag(kTagName);
        name->setBackgroundColor(ui::Color::clear());
        name->setTextColor(ui::Color::white());
        name->setFont(ui::Font::boldSystem(pad ? 16 : 8));
        name->setTextAlignment(ui::TextAlignment::Left);
        content->addSubview(name);

        auto money = ui::Label::make(pad ? ui::Rect(87, 50, 230, 50) : ui::Rect(41, 20, 108, 19));
        money->setTag(kTagMoney);
        money->setBackgroundColor(ui::Color::clear());
        money->setTextColor(ui::Color::yellow());
        money->setFont(ui::Font::boldSystem(pad ? 16 : 8));
        money->setTextAlignment(ui::TextAlignment::Left);
        content->addSubview(money);
    }
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    const auto& friends = shownFriends();
    if (indexPath.row < 0 || size_t(indexPath.row) >= friends.size() || !friends[size_t(indexPath.row)]) return cell;
    const Player& player = *friends[size_t(indexPath.row)];
    if (auto name = tagged<ui::Label>(*cell, kTagName)) name->setText(player.name());
    if (auto money = tagged<ui::Label>(*cell, kTagMoney)) money->setText(Util::formatNumber(player.money()));
    if (auto avatar = tagged<ui::ImageView>(*cell, kTagAvatar))
        Resources::getInstance().assignAvatarId(player.avatar(), avatar);
    return cell;
}

void GameView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    const auto& friends = shownFriends();
    if (indexPath.row < 0 || size_t(indexPath.row) >= friends.size() || !friends[size_t(indexPath.row)]) return;
    doShowUserInfo(friends[size_t(indexPath.row)]->IDDB());
}

bool GameView::canEditRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return true;
}

std::string GameView::titleForDeleteConfirmationButton(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return text("KAVO_delete");
}

void GameView::commitEditingStyle(ui::TableView& table, ui::TableViewCellEditingStyle style,
                                  const ui::IndexPath& indexPath) {
    if (style != ui::TableViewCellEditingStyle::Delete) return;
    const auto& source = viewingTabIndex_ == kTabOnline ? arrayOnlineFriends_ : arrayAllFriends_;
    if (indexPath.row < 0 || size_t(indexPath.row) >= source.size()) return;
    // A copy: the lists change below. Only this device forgets the friend.
    const std::shared_ptr<Player> gone = source[size_t(indexPath.row)];
    auto remove = [&gone](std::vector<std::shared_ptr<Player>>& list) {
        list.erase(std::remove(list.begin(), list.end(), gone), list.end());
    };
    if (viewingTabIndex_ == kTabOnline) remove(arrayOnlineFriends_);
    remove(arrayAllFriends_);
    rebuildOnlineFriends();
    table.reloadData();
}

// ---------------------------------------------------------------- the profile panel

void GameView::onOtherUserDataWithUser(const std::shared_ptr<User>& user) {
    const auto& panel = profileSubView();
    if (!panel) return;
    panel->view()->setHidden(false);
    panel->onOtherUserDataWithUser(user);
}

void GameView::onOtherAchievementWithGameId(int32_t userId, int gameId, const std::vector<int32_t>& achievement) {
    if (const auto& panel = profileSubView()) panel->onOtherAchievementWithGameId(userId, gameId, achievement);
}

// ---------------------------------------------------------------- other screens

namespace {
// The frame of a full screen on this device.
ui::Rect fullScreen() {
    return Util::isPad() ? ui::Rect(0, 0, 1024, 768) : ui::Rect(0, 0, 480, 320);
}
} // namespace

void GameView::doShowEventView() {
    if (!eventView_) eventView_ = EventView::make("EventView");
    eventView_->view(); // its title and page act on a loaded view
    eventView_->viewDidAppear(true);
    eventView_->setTitleLabel(text("KAVO_event"));
    if (auto navigation = KavoOnlineAppDelegate::getInstance().navigationController())
        navigation->pushViewController(eventView_, true);
    eventView_->loadWebViewWithURL(Resources::getInstance().configString("LinkEvent"));
}

void GameView::doShowProfileView() {
    if (!profileView_) profileView_ = std::make_shared<ProfileView>();
    profileView_->view()->setFrame(fullScreen());
    if (auto navigation = KavoOnlineAppDelegate::getInstance().navigationController())
        navigation->pushViewController(profileView_, true);
}

void GameView::doShowLeaderboard() {
    if (!leaderboardView_) leaderboardView_ = std::make_shared<LeaderboardView>();
    leaderboardView_->view()->setFrame(fullScreen());
    // The navigation controller tells the screen it appeared once the push ends; a
    // second appearance here would reset the lists and ask page 0 twice.
    if (auto navigation = KavoOnlineAppDelegate::getInstance().navigationController())
        navigation->pushViewController(leaderboardView_, true);
}

} // namespace kavo
