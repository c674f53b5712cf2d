#include "social/LeaderboardView.h"

#include "app/EscapeTarget.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "social/GameTitles.h"

#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr const char* kCellId = "CellIdentifier";
// The tagged views of a row.
constexpr int kTagAvatar = 101; // the game's icon on a picker row
constexpr int kTagName = 102;   // the game's title on a picker row
constexpr int kTagInfo = 103;
constexpr int kTagStatus = 104;
constexpr const char* kTabImage = "tap_tieude_leaderboard_new.png";

ui::ImagePtr image(std::string_view name) {
    return Util::getImageWithName(std::string(name));
}

template <class T> std::shared_ptr<T> tagged(ui::TableViewCell& cell, int tag) {
    ui::View* found = cell.contentView()->viewWithTag(tag);
    return found ? std::dynamic_pointer_cast<T>(found->self()) : nullptr;
}

// The position of a game type in the picker, or -1 outside the fourteen.
int pickerIndexOf(int gameType) {
    for (size_t i = 0; i < kRankedGames.size(); ++i)
        if (kRankedGames[i].gameType == gameType) return int(i);
    return -1;
}

std::shared_ptr<ui::Label> makeLabel(ui::Rect frame, double size, ui::Color color) {
    auto label = ui::Label::make(frame);
    label->setBackgroundColor(ui::Color::clear());
    label->setTextColor(color);
    label->setFont(ui::Font::boldSystem(size));
    label->setTextAlignment(ui::TextAlignment::Left);
    return label;
}

// A tab or mode button: clear, with a white bold title.
std::shared_ptr<ui::Button> makeButton(const ui::ViewPtr& parent, ui::Rect frame, const std::string& id,
                                       const std::string& title, double fontSize) {
    auto button = ui::Button::make(frame);
    button->setAccessibilityIdentifier(id);
    button->setBackgroundColor(ui::Color::clear());
    button->setTitle(title);
    button->setTitleColor(ui::Color::white());
    button->titleLabel()->setFont(ui::Font::boldSystem(fontSize));
    parent->addSubview(button);
    return button;
}

void stopScrolling(const std::shared_ptr<ui::TableView>& table) {
    if (table) table->setContentOffset(table->contentOffset(), false);
}

} // namespace

LeaderboardView::LeaderboardView() : KavoViewController("LeaderboardView") {}

LeaderboardView::~LeaderboardView() {
    for (const auto& table : {tblViewIconGames_, tblViewDanhSach_}) {
        if (!table) continue;
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
}

LeaderboardView::Rows* LeaderboardView::listTopForGame(int gameType) {
    const int index = pickerIndexOf(gameType);
    return index < 0 ? nullptr : &listTopGames_[size_t(index)];
}

int* LeaderboardView::pageCounter(int gameType) {
    const int index = pickerIndexOf(gameType);
    return index < 0 ? nullptr : &pageGames_[size_t(index)];
}

void LeaderboardView::set_listTopRichestsBetweenFriend(Rows rows) {
    listTopRichestsBetweenFriend_ = std::move(rows);
    forceReloadDataDanhSach();
}

void LeaderboardView::set_listTopPlayersBetweenFriends(Rows rows) {
    listTopPlayersBetweenFriends_ = std::move(rows);
    forceReloadDataDanhSach();
}

const LeaderboardView::Rows& LeaderboardView::shownList() {
    static const Rows kNone;
    if (isFriendModeON_) return bValViewCaoThu_ ? listTopPlayersBetweenFriends_ : listTopRichestsBetweenFriend_;
    if (!bValViewCaoThu_) return listTopRichests_;
    const Rows* list = listTopForGame(selectGameID_);
    return list ? *list : kNone;
}

void LeaderboardView::forceReloadDataDanhSach() {
    if (!isViewLoaded()) return;
    tblViewDanhSach_->reloadData();
    Util::hideLoadingOnView(tblViewDanhSach_);
    isReloaded_ = false;
}

void LeaderboardView::queueReloadDanhSach() {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto self = std::static_pointer_cast<LeaderboardView>(weak.lock())) self->forceReloadDataDanhSach();
    });
}

// ---------------------------------------------------------------- layout

void LeaderboardView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    const bool pad = Util::isPad();
    const ui::ViewPtr& root = view();
    root->setBackgroundColor(ui::Color::rgba(25, 35, 60));

    lblTitleBangXepHang_ = makeLabel(Util::changeRectFromRect({150, 4, 180, 28}), pad ? 30 : 15, ui::Color::yellow());
    lblTitleBangXepHang_->setAccessibilityIdentifier("lblTitleBangXepHang");
    lblTitleBangXepHang_->setTextAlignment(ui::TextAlignment::Center);
    root->addSubview(lblTitleBangXepHang_);

    mainView_ = ui::View::make(Util::changeRectFromRect({40, 36, 436, 280}));
    mainView_->setAccessibilityIdentifier("mainView");
    mainView_->setBackgroundColor(ui::Color::rgba(40, 55, 90));
    root->addSubview(mainView_);

    const double tabFont = pad ? 24 : 12;
    btnTopDaiGia_ = makeButton(mainView_, Util::changeRectFromRect({0, 0, 218, 30}), "btnTopDaiGia",
                               text("KAVO_Leaderboard_TopRichest"), tabFont);
    btnTopDaiGia_->setTag(kTabRichest);
    btnTopDaiGia_->onTouchUpInside([this] { doChangeTab(kTabRichest); });
    btnTopCaoThu_ = makeButton(mainView_, Util::changeRectFromRect({218, 0, 218, 30}), "btnTopCaoThu",
                               text("KAVO_Leaderboard_TopStrongest"), tabFont);
    btnTopCaoThu_->setTag(kTabStrongest);
    btnTopCaoThu_->onTouchUpInside([this] { doChangeTab(kTabStrongest); });

    // The two mode tabs stand upright along the left side: drawn lying, turned a
    // quarter anticlockwise.
    auto modePanel = [&](ui::Rect phoneUpright, const std::string& panelId, const std::string& buttonId,
                         const std::string& title) {
        const ui::Rect upright = Util::changeRectFromRect(phoneUpright);
        auto panel = ui::View::make(ui::Rect(0, 0, upright.height(), upright.width()));
        panel->setCenter({upright.x() + upright.width() / 2, upright.y() + upright.height() / 2});
        panel->setAccessibilityIdentifier(panelId);
        panel->setTransform(ui::AffineTransform::rotation(-M_PI / 2));
        root->addSubview(panel);
        auto button = makeButton(panel, panel->bounds(), buttonId, title, tabFont);
        return std::make_pair(panel, button);
    };
    std::tie(viewCongDong_, btnCongDong_) =
        modePanel({4, 40, 34, 130}, "viewCongDong", "btnCongDong", text("KAVO_Leaderboard_Community"));
    std::tie(viewBanBe_, btnBanBe_) =
        modePanel({4, 176, 34, 130}, "viewBanBe", "btnBanBe", text("KAVO_Leaderboard_Friend"));
    btnBanBe_->onTouchUpInside([this] { btnFriends_Clicked(); });
    btnCongDong_->onTouchUpInside([this] { btnCommunity_Clicked(); });

    const ui::Rect panelFrame = Util::changeRectFromRect({0, 30, 436, 250});
    const ui::Rect tableFrame = ui::Rect(0, Util::changeRectFromRect({0, 20, 1, 1}).y(), panelFrame.width(),
                                         panelFrame.height() - Util::changeRectFromRect({0, 20, 1, 1}).y());
    auto makeTable = [&](const std::string& id) {
        auto table = ui::TableView::make(tableFrame);
        table->setAccessibilityIdentifier(id);
        table->setBackgroundColor(ui::Color::clear());
        table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
        table->setRowHeight(pad ? 134 : 56);
        table->setDataSource(this);
        table->setDelegate(this);
        return table;
    };

    viewIconGames_ = ui::View::make(panelFrame);
    viewIconGames_->setAccessibilityIdentifier("viewIconGames");
    lblChonTroChoi_ = makeLabel(Util::changeRectFromRect({10, 0, 300, 20}), pad ? 20 : 10, ui::Color::white());
    lblChonTroChoi_->setAccessibilityIdentifier("lblChonTroChoi");
    viewIconGames_->addSubview(lblChonTroChoi_);
    tblViewIconGames_ = makeTable("tblViewIconGames");
    viewIconGames_->addSubview(tblViewIconGames_);

    // A game's list over the game picker: Escape goes back to the picker as its back icon does.
    // It is open while its back icon shows.
    viewDanhSach_ = closingView<ui::View>(
        panelFrame, "viewDanhSach",
        [this] {
            btnBack_->sendActions(platform::ui::ControlEvent::TouchUpInside);
            return true;
        },
        [this] { return !imgViewIconBack_->isHidden(); });
    btnBack_ = makeButton(viewDanhSach_, Util::changeRectFromRect({0, 0, 40, 20}), "btnBack", "", tabFont);
    btnBack_->onTouchUpInside([this] { btnBack_Clicked(); });
    imgViewIconBack_ = ui::ImageView::make(Util::changeRectFromRect({10, 2, 16, 16}));
    imgViewIconBack_->setAccessibilityIdentifier("imgViewIconBack");
    imgViewIconBack_->setImage(image("icon_black_room.png"));
    viewDanhSach_->addSubview(imgViewIconBack_);
    lblCaoThuName_ = makeLabel(Util::changeRectFromRect({91, 0, 131, 20}), pad ? 20 : 10, ui::Color::white());
    lblCaoThuName_->setAccessibilityIdentifier("lblCaoThuName");
    lblLevel_ = makeLabel(Util::changeRectFromRect({230, 0, 121, 20}), pad ? 20 : 10, ui::Color::white());
    lblLevel_->setAccessibilityIdentifier("lblLevel");
    lblTrangThai_ = makeLabel(Util::changeRectFromRect({345, 0, 80, 20}), pad ? 20 : 10, ui::Color::white());
    lblTrangThai_->setAccessibilityIdentifier("lblTrangThai");
    for (const auto& caption : {lblCaoThuName_, lblLevel_, lblTrangThai_})
        viewDanhSach_->addSubview(caption);
    tblViewDanhSach_ = makeTable("tblViewDanhSach");
    tblViewDanhSach_->setTag(kListTableTag);
    viewDanhSach_->addSubview(tblViewDanhSach_);

    mainView_->addSubview(viewIconGames_);
    mainView_->addSubview(viewDanhSach_);
    setUIScreen();
    // The tab and the mode are chosen, and page 0 asked, at each appearance: choosing
    // them here as well would ask twice on the first showing.
}

void LeaderboardView::setUIScreen() {
    lblTitleBangXepHang_->setText(platform::toUpper(text("KAVO_Chart")));
    btnTopDaiGia_->setTitle(text("KAVO_Leaderboard_TopRichest"));
    btnTopCaoThu_->setTitle(text("KAVO_Leaderboard_TopStrongest"));
    btnCongDong_->setTitle(text("KAVO_Leaderboard_Community"));
    btnBanBe_->setTitle(text("KAVO_Leaderboard_Friend"));
    lblChonTroChoi_->setText(text("KAVO_Leaderboard_SelectGame"));
    lblTrangThai_->setText(text("KAVO_Status"));
    for (const auto& button : {btnCongDong_, btnBanBe_}) {
        button->setBackgroundColor(ui::Color::clear());
        button->setTitleColor(ui::Color::white());
    }
}

void LeaderboardView::setUIScreenForViewDanhSach() {
    const bool pad = Util::isPad();
    const GameTitle* game = bValViewCaoThu_ ? rankedGameOfType(selectGameID_) : nullptr;
    if (game) {
        lblCaoThuName_->setFont(ui::Font::boldSystem(pad ? 18 : 9));
        lblCaoThuName_->setTextColor(ui::Color::yellow());
        lblCaoThuName_->setText(text(game->strongestKey));
        lblLevel_->setText("Level");
    } else {
        lblCaoThuName_->setFont(ui::Font::boldSystem(pad ? 20 : 10));
        lblCaoThuName_->setTextColor(ui::Color::white());
        lblCaoThuName_->setText("Nickname");
        lblLevel_->setText("Zel");
    }
    lblTrangThai_->setText(text("KAVO_Status"));
}

void LeaderboardView::resetLists() {
    listTopRichests_.clear();
    for (auto& list : listTopGames_)
        list.clear();
    listTopXepGach_.clear();
    firstPageAsked_.clear();
}

void LeaderboardView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    viewingTabIndex_ = kTabNone;
    isFriendModeON_ = false;
    bValViewCaoThu_ = false;
    isReloaded_ = false;
    pageDaiGia_ = 0;
    pageGames_.fill(0);
    setUIScreen();
    resetLists();
    tblViewIconGames_->reloadData();
    tblViewDanhSach_->reloadData();
    btnTopDaiGia_->sendActions(ui::ControlEvent::TouchUpInside);
    btnCongDong_->sendActions(ui::ControlEvent::TouchUpInside);
}

// ---------------------------------------------------------------- tabs and modes

void LeaderboardView::showListLoading() {
    Util::showLoadingOnView(tblViewDanhSach_);
}

void LeaderboardView::showTopRichest() {
    viewingTabIndex_ = kTabRichest;
    bValViewCaoThu_ = false;
    viewDanhSach_->setHidden(false);
    mainView_->bringSubviewToFront(viewDanhSach_.get());
    viewIconGames_->setHidden(true);
    imgViewIconBack_->setHidden(true);

    btnTopDaiGia_->setBackgroundImage(nullptr);
    btnTopDaiGia_->setTitleColor(ui::Color::yellow());
    btnTopCaoThu_->setBackgroundImage(Util::flipImage(image(kTabImage), ImageOrientation::UpMirrored));
    btnTopCaoThu_->setTitleColor(ui::Color::white());

    tblViewDanhSach_->reloadData();
    if (isFriendModeON_) {
        showListLoading();
        GlobalService::getInstance().getRichestListBetweenFriend();
    } else if (pageDaiGia_ != 0) {
        queueReloadDanhSach();
        Util::hideLoadingOnView(tblViewDanhSach_);
    } else {
        showListLoading();
        GlobalService::getInstance().requestRichestWithPage(0);
        pageDaiGia_ = 1;
    }
    lblTrangThai_->setText(text("KAVO_Status"));
    setUIScreenForViewDanhSach();
}

void LeaderboardView::showTopPlayer() {
    viewingTabIndex_ = kTabStrongest;
    bValViewCaoThu_ = true;
    btnTopDaiGia_->setBackgroundImage(image(kTabImage));
    btnTopDaiGia_->setTitleColor(ui::Color::white());
    btnTopCaoThu_->setBackgroundImage(nullptr);
    btnTopCaoThu_->setTitleColor(ui::Color::yellow());
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto self = std::static_pointer_cast<LeaderboardView>(weak.lock())) self->showGamesIcon();
    });
    setUIScreenForViewDanhSach();
}

void LeaderboardView::showGamesIcon() {
    viewIconGames_->setHidden(false);
    mainView_->bringSubviewToFront(viewIconGames_.get());
    viewDanhSach_->setHidden(true);
    imgViewIconBack_->setHidden(true);
    tblViewIconGames_->reloadData();
}

void LeaderboardView::doChangeTab(int tag) {
    if (tag == viewingTabIndex_) return;
    if (tag == kTabStrongest) {
        stopScrolling(tblViewIconGames_);
        stopScrolling(tblViewDanhSach_);
        showTopPlayer();
    } else if (tag == kTabRichest) {
        stopScrolling(tblViewIconGames_);
        showTopRichest();
    }
}

void LeaderboardView::styleModes() {
    const auto& on = isFriendModeON_ ? btnBanBe_ : btnCongDong_;
    const auto& onPanel = isFriendModeON_ ? viewBanBe_ : viewCongDong_;
    const auto& off = isFriendModeON_ ? btnCongDong_ : btnBanBe_;
    const auto& offPanel = isFriendModeON_ ? viewCongDong_ : viewBanBe_;
    on->setTitleColor(ui::Color::yellow());
    onPanel->setBackgroundColor(mainView_->backgroundColor());
    off->setBackgroundColor(ui::Color::clear());
    offPanel->setBackgroundColor(ui::Color::clear());
    off->setTitleColor(ui::Color::white());
}

void LeaderboardView::btnFriends_Clicked() {
    isFriendModeON_ = true;
    styleModes();
    if (bValViewCaoThu_) {
        showGamesIcon();
        return;
    }
    tblViewDanhSach_->reloadData();
    GlobalService::getInstance().getRichestListBetweenFriend();
    showListLoading();
}

void LeaderboardView::btnCommunity_Clicked() {
    isFriendModeON_ = false;
    styleModes();
    if (!bValViewCaoThu_) {
        queueReloadDanhSach();
    } else {
        showGamesIcon();
    }
}

void LeaderboardView::btnBack_Clicked() {
    if (bValViewCaoThu_) showGamesIcon();
}

void LeaderboardView::chooseGameAtRow(int row) {
    if (row < 0 || size_t(row) >= kRankedGames.size()) return;
    const int gameType = kRankedGames[size_t(row)].gameType;
    selectGameID_ = gameType;
    viewIconGames_->setHidden(true);
    viewDanhSach_->setHidden(false);
    mainView_->bringSubviewToFront(viewDanhSach_.get());
    setUIScreenForViewDanhSach();
    imgViewIconBack_->setHidden(false);
    tblViewDanhSach_->reloadData();
    if (isFriendModeON_) {
        GlobalService::getInstance().requestTopPlayerBetweenFriendsSortedByExpWithGameID(int8_t(gameType));
        showListLoading();
        return;
    }
    showListLoading();
    // A list already held is shown again as it is; an empty one asks its first page,
    // once: a second choice before that page arrives would have it appended twice.
    if (listTopForGame(gameType)->empty() && firstPageAsked_.insert(gameType).second) {
        GlobalService::getInstance().requestStrongestWithPage(0, int8_t(gameType));
    } else {
        queueReloadDanhSach();
    }
}

// ---------------------------------------------------------------- tables

int LeaderboardView::numberOfRows(ui::TableView& table, int /*section*/) {
    if (&table == tblViewIconGames_.get()) return int(kRankedGames.size());
    return int(shownList().size());
}

double LeaderboardView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return Util::isPad() ? 134 : 56;
}

std::shared_ptr<ui::TableViewCell> LeaderboardView::makeRowCell(ui::TableView& table) {
    const bool pad = Util::isPad();
    const bool picker = &table == tblViewIconGames_.get();
    auto cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kCellId);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const ui::ViewPtr& content = cell->contentView();
    auto background = ui::ImageView::make({0, 0, table.bounds().width(), pad ? 137.0 : 59.0});
    background->setImage(image(isAdded_ ? "tap_profile_cell1.png" : "tap_profile_cell2.png"));
    isAdded_ = !isAdded_;
    content->addSubview(background);

    auto avatar = ui::ImageView::make(pad ? ui::Rect(29, 12, 108, 107) : ui::Rect(14, 5, 51, 45));
    avatar->setTag(kTagAvatar);
    avatar->setContentMode(ui::ContentMode::ScaleAspectFit);
    content->addSubview(avatar);
    const ui::Rect nameFrame = pad ? ui::Rect(193, 47, picker ? 660 : 279, 50) : ui::Rect(91, 20, 131, 21);
    auto name = makeLabel(nameFrame, pad ? 20 : 10, ui::Color::white());
    name->setTag(kTagName);
    content->addSubview(name);
    if (picker) return cell;

    auto info =
        makeLabel(pad ? ui::Rect(490, 47, 257, 50) : ui::Rect(230, 20, 121, 21), pad ? 20 : 10, ui::Color::yellow());
    info->setTag(kTagInfo);
    content->addSubview(info);
    auto status = ui::ImageView::make(pad ? ui::Rect(760, 40, 57, 57) : ui::Rect(359, 17, 27, 28));
    status->setTag(kTagStatus);
    content->addSubview(status);
    return cell;
}

void LeaderboardView::fillPlayerRow(ui::TableViewCell& cell, const Player& player) {
    if (auto avatar = tagged<ui::ImageView>(cell, kTagAvatar))
        Resources::getInstance().assignAvatarId(player.avatar(), avatar);
    if (auto name = tagged<ui::Label>(cell, kTagName)) name->setText(player.name());
    if (auto info = tagged<ui::Label>(cell, kTagInfo)) {
        if (bValViewCaoThu_) {
            info->setText("Level: " + std::to_string(player.level().lv) + " + " +
                          std::to_string(player.level().percent) + "%");
        } else {
            info->setText(Util::formatNumber(player.money()) + " Zel");
        }
    }
    if (auto status = tagged<ui::ImageView>(cell, kTagStatus))
        status->setImage(image(player.isReady() ? "icon_trangthai.png" : "icon_trangthai2.png"));
}

void LeaderboardView::fillGameRow(ui::TableViewCell& cell, int row) {
    const GameTitle& game = kRankedGames[size_t(row)];
    if (auto icon = tagged<ui::ImageView>(cell, kTagAvatar)) icon->setImage(image(game.pickerIcon));
    if (auto title = tagged<ui::Label>(cell, kTagName)) title->setText(text(game.rankingTitleKey));
}

std::shared_ptr<ui::TableViewCell> LeaderboardView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kCellId);
    if (!cell) cell = makeRowCell(table);
    const size_t row = size_t(indexPath.row);
    if (indexPath.row < 0) return cell;
    if (&table == tblViewIconGames_.get()) {
        if (row < kRankedGames.size()) fillGameRow(*cell, indexPath.row);
        return cell;
    }
    const Rows& list = shownList();
    if (row < list.size() && list[row]) fillPlayerRow(*cell, *list[row]);
    return cell;
}

void LeaderboardView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    if (&table != tblViewIconGames_.get()) return;
    table.deselectRow(indexPath);
    chooseGameAtRow(indexPath.row);
}

void LeaderboardView::willBeginDragging(ui::ScrollView& /*scrollView*/) {
    hasScrolled_ = true;
}

void LeaderboardView::didEndDragging(ui::ScrollView& scrollView, bool /*willDecelerate*/) {
    if (scrollView.tag() != kListTableTag || isFriendModeON_ || isReloaded_) return;
    const double margin = Util::isPad() ? 450 : 200;
    if (scrollView.contentOffset().y < scrollView.contentSize().height - margin) return;
    if (!bValViewCaoThu_) {
        ++pageDaiGia_;
        GlobalService::getInstance().requestRichestWithPage(int8_t(pageDaiGia_));
    } else {
        int* page = pageCounter(selectGameID_);
        if (!page) return;
        ++*page;
        GlobalService::getInstance().requestStrongestWithPage(int8_t(*page), int8_t(selectGameID_));
    }
    showListLoading();
    isReloaded_ = true;
}

} // namespace kavo
