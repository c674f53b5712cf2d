#include "lobby/RoomView.h"

#include "account/TransferMoneyView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/RefreshTableHeaderView.h"
#include "lobby/BoardView.h"
#include "lobby/LobbyLayout.h"
#include "lobby/TableEntry.h"
#include "platform/foundation/Text.h"
#include "portal/GlobalService.h"
#include "table/registry/GameRecords.h"

#include <mutex>
#include <string_view>
#include <utility>

namespace kavo {

namespace ui = platform::ui;
using lobby::image;
using lobby::text;

namespace {

constexpr const char* kRoomCellId = "RoomCellIdentifier";

const char* const kLevelKeys[] = {"KAVO_roomLevel0", "KAVO_roomLevel1", "KAVO_roomLevel2"};
const char* const kLevelImages[] = {"phong-binh-dan.png", "phong-dai-gia.png", "phong-vip.png"};

std::mutex gRoomNameMutex;
platform::Value gRoomName;

} // namespace

RoomView::RoomView() : KavoViewController("RoomView") {}

RoomView::~RoomView() {
    if (tableView_) {
        tableView_->setDataSource(nullptr);
        tableView_->setDelegate(nullptr);
    }
}

platform::Value RoomView::gameRoomName() {
    std::lock_guard lock(gRoomNameMutex);
    return gRoomName;
}

void RoomView::setGameRoomName(platform::Value name) {
    std::lock_guard lock(gRoomNameMutex);
    gRoomName = std::move(name);
}

double RoomView::fillOfRoom(int roomFree) {
    return (100.0 - double(roomFree * 100) / kRoomPlaces) / 100.0;
}

bool RoomView::isSegmentFull(int roomFree, int segment) {
    if (segment < 0 || segment >= int(kGaugeThresholds.size())) return false;
    return fillOfRoom(roomFree) > kGaugeThresholds[size_t(segment)];
}

bool RoomView::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const {
    return orientation == InterfaceOrientation::LandscapeLeft;
}

// ---------------------------------------------------------------- layout

void RoomView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    setUIScreen();
    if (!refreshHeaderView_) {
        // Just above the first row.
        const ui::Rect bounds = tableView_->bounds();
        refreshHeaderView_ =
            RefreshTableHeaderView::make(ui::Rect(0, -bounds.height(), bounds.width(), bounds.height()));
        refreshHeaderView_->setBackgroundColor(ui::Color::clear());
        refreshHeaderView_->setBottomBorderThickness(1.0);
        tableView_->addSubview(refreshHeaderView_);
        tableView_->setShowsVerticalScrollIndicator(true);
    }
    transferMoneyView_ = std::make_shared<TransferMoneyView>();
}

void RoomView::setUIScreen() {
    const ui::ViewPtr& root = view();
    root->setBackgroundColor(ui::Color::clear());
    tableView_ = ui::TableView::make(lobby::scaled({0, 30, 480, 250}));
    tableView_->setAccessibilityIdentifier("tableView");
    tableView_->setBackgroundColor(ui::Color::clear());
    tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    tableView_->setAlwaysBounceVertical(true);
    tableView_->setRowHeight(40);
    tableView_->setSectionHeaderHeight(20);
    tableView_->setDataSource(this);
    tableView_->setDelegate(this);
    root->addSubview(tableView_);

    // The bar of actions along the bottom, each button with its name inside.
    struct Action {
        std::shared_ptr<ui::Button>& button;
        std::shared_ptr<ui::Label>& label;
        const char* buttonId;
        const char* labelId;
    };
    Action actions[] = {
        {btnAutoFind_, lblAutoFind_, "doFindAutoBoard", "lblAutoFind"},
        {btnRefresh_, lblRefresh_, "btnRefresh", "lblRefresh"},
        {btnTangZel_, lblTangZel_, "doTangZel", "lblTangZel"},
        {btnNapZel_, lblNapZel_, "napZel", "lblNapZel"},
        {btnDangXuat_, lblDangXuat_, "logout", "lblDangXuat"},
    };
    double x = 8;
    for (Action& action : actions) {
        action.button = lobby::addButton(root, {x, 284, 88, 32}, action.buttonId);
        action.label = lobby::addLabel(action.button, {0, 0, 88, 32}, action.labelId, "");
        x += 94;
    }
    btnAutoFind_->onTouchUpInside([this] { doFindAutoBoard(); });
    btnRefresh_->onTouchUpInside([this] { doUpdateRoomList(); });
    btnTangZel_->onTouchUpInside([this] { doTangZel(); });
    btnNapZel_->onTouchUpInside([this] { napZel(); });
    btnDangXuat_->onTouchUpInside([this] { logout(); });
    addSettingAndLottoButtons(root, {330, 4, 56, 22}, {390, 4, 56, 22});
}

// ---------------------------------------------------------------- appearance

void RoomView::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    // A game without a room title (Bau Cua, Mau Binh, Co Up) leaves the top bar as it is.
    if (const std::string_view key = gameRecordOrNone(UIController::gameType()).roomTitleKey; !key.empty()) {
        setTitle(text(key));
        if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle())
            title->setText(platform::toUpper(text(key)));
    }
    lblAutoFind_->setText(text("KAVO_playNow"));
    lblRefresh_->setText(text("KAVO_updateList"));
    lblTangZel_->setText(text("KAVO_transferMoney"));
    lblDangXuat_->setText(text("KAVO_logout"));
    lblNapZel_->setText(text("KAVO_napZel"));
}

void RoomView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    showLoadingScreen(view());
    Util::boundLoadingOnView(view());
    GlobalService::getInstance().requestRoomList();
}

// ---------------------------------------------------------------- actions

void RoomView::doUpdateRoomList() {
    reloading_ = true;
    showLoadingScreen(view());
    // Without an answer the refresh ends as an answered one would, so it can be tried again.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    Util::boundLoadingOnView(view(), Util::kLoadingBound, [weak] {
        if (auto self = std::static_pointer_cast<RoomView>(weak.lock())) self->dataSourceDidFinishLoadingNewData();
    });
    GlobalService::getInstance().requestRoomList();
    btnRefresh_->setEnabled(false);
}

void RoomView::doFindAutoBoard() {
    if (!TableEntry::opens(UIController::gameType())) return;
    GlobalService::getInstance().joinAnyBoard();
}

void RoomView::doTangZel() {
    view()->addSubview(transferMoneyView_->view());
    transferMoneyView_->viewWillAppear(false);
}

void RoomView::dataSourceDidFinishLoadingNewData() {
    reloading_ = false;
    const auto table = tableView_;
    ui::View::animate(0.3, [table] { table->setContentInset({}); });
    refreshHeaderView_->setState(PullRefreshNormal);
    refreshHeaderView_->setCurrentDate();
    btnRefresh_->setEnabled(true);
    // The refresh's spinner goes with the reload it stood for.
    hideLoadingScreen(view());
}

// ---------------------------------------------------------------- pull to refresh

void RoomView::didScroll(ui::ScrollView& scrollView) {
    if (!scrollView.isDragging() || !refreshHeaderView_) return;
    refreshHeaderView_->pullDidScroll(scrollView.contentOffset().y, reloading_);
}

void RoomView::didEndDragging(ui::ScrollView& scrollView, bool /*willDecelerate*/) {
    if (!refreshHeaderView_ || !refreshHeaderView_->pullDidEndDragging(scrollView.contentOffset().y, reloading_))
        return;
    reloading_ = true;
    GlobalService::getInstance().requestRoomList();
    const auto table = tableView_;
    ui::View::animate(0.2, [table] {
        ui::EdgeInsets insets = table->contentInset();
        insets.top = RefreshTableHeaderView::kLoadingInset;
        table->setContentInset(insets);
    });
}

// ---------------------------------------------------------------- table

int RoomView::numberOfSections(ui::TableView& /*table*/) {
    return int(keys_.size());
}

int RoomView::numberOfRows(ui::TableView& /*table*/, int section) {
    if (section < 0 || size_t(section) >= keys_.size()) return 0;
    auto rooms = names_.find(keys_[size_t(section)]);
    return rooms == names_.end() ? 0 : int(rooms->second.size());
}

double RoomView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return 40;
}

double RoomView::heightForHeader(ui::TableView& /*table*/, int /*section*/) {
    return 20;
}

ui::ViewPtr RoomView::viewForHeader(ui::TableView& /*table*/, int section) {
    const bool pad = Util::isPad();
    auto header = ui::View::make(pad ? ui::Rect(34, 0, 956, 22) : ui::Rect(34, 0, 412, 22));
    header->setBackgroundColor(ui::Color::clear());
    auto picture = ui::ImageView::make(header->bounds());
    picture->setImage(image("phong-tieu-de.png"));
    header->addSubview(picture);
    auto label = ui::Label::make(pad ? ui::Rect(100, 2, 756, 20) : ui::Rect(100, 2, 212, 20));
    label->setBackgroundColor(ui::Color::clear());
    label->setTextColor(ui::Color::red());
    label->setFont(ui::Font::boldSystem(15));
    label->setTextAlignment(ui::TextAlignment::Center);
    if (section >= 0 && size_t(section) < keys_.size()) {
        const int level = keys_[size_t(section)];
        if (level >= 0 && level < 3) label->setText(text(kLevelKeys[level]));
    }
    header->addSubview(label);
    return header;
}

std::shared_ptr<RoomInfo> RoomView::roomAt(const ui::IndexPath& indexPath) const {
    if (indexPath.section < 0 || size_t(indexPath.section) >= keys_.size()) return nullptr;
    auto rooms = names_.find(keys_[size_t(indexPath.section)]);
    if (rooms == names_.end() || indexPath.row < 0 || size_t(indexPath.row) >= rooms->second.size()) return nullptr;
    return rooms->second[size_t(indexPath.row)];
}

std::shared_ptr<ui::TableViewCell> RoomView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kRoomCellId);
    if (!cell) cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kRoomCellId);
    const ui::ViewPtr& content = cell->contentView();
    content->removeAllSubviews();
    const auto room = roomAt(indexPath);
    if (!room) return cell;

    const int level = room->lv();
    auto levelImage = ui::ImageView::make(ui::Rect(50, 2, 25, 26));
    if (level >= 0 && level < 3) levelImage->setImage(image(kLevelImages[level]));
    content->addSubview(levelImage);

    auto name = ui::Label::make(ui::Rect(85, 5, 200, 20), text("KAVO_room") + " " + std::to_string(room->roomId()));
    name->setTextColor(ui::Color::white());
    name->setBackgroundColor(ui::Color::clear());
    name->setFont(ui::Font::boldSystem(15));
    content->addSubview(name);

    // The gauge: two ends and five segments, full as the room fills.
    const bool pad = Util::isPad();
    auto gaugePart = [&content](double x, const char* picture) {
        auto part = ui::ImageView::make(ui::Rect(x, 10, 10, 11));
        part->setContentMode(ui::ContentMode::Center);
        part->setImage(image(picture));
        content->addSubview(part);
    };
    gaugePart(pad ? 880 : 340, "limit.png");
    gaugePart(pad ? 952 : 412, "limit.png");
    for (int k = 0; k < int(kGaugeThresholds.size()); ++k)
        gaugePart((pad ? 892 : 352) + 12 * k, isSegmentFull(room->roomFree(), k) ? "full.png" : "empty.png");
    return cell;
}

void RoomView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    const auto room = roomAt(indexPath);
    if (!room) return;
    auto& app = KavoOnlineAppDelegate::getInstance();
    if (const auto& title = app.lblWindowTitle()) title->setText(this->title() + " " + std::to_string(room->roomId()));
    if (const auto& navigation = app.navigationController())
        navigation->pushViewController(std::make_shared<BoardView>(), true);
}

} // namespace kavo
