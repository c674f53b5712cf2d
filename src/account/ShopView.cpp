#include "account/ShopView.h"

#include "account/KavoIAPHelper.h"
#include "account/ShopViewDetail.h"
#include "account/ShopWidgets.h"
#include "account/TopupActions.h"
#include "account/TopupZelByCardView.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

struct TabLook {
    const char* button;
    const char* titleKey;
    const char* selectedImage;
    const char* tableName;
};
constexpr TabLook kTabs[] = {
    {"btnNapZel", "KAVO_Shop_NapZel", "shop_tap_chon(left).png", "viewNapZel_tblView"},
    {"btnUuDai", "KAVO_Shop_TheUuDai", "shop_tap_chon(center).png", "viewTheUuDai_tblView"},
    {"btnVatPham", "KAVO_Shop_VatPham", "shop_tap_chon(center).png", "viewVatPham_tblView"},
    {"btnLichSu", "KAVO_Shop_LichSu", "shop_tap_chon(right).png", "viewLichSu_tblView"},
};
constexpr const char* kTabViewNames[] = {"viewNapZel", "viewTheUuDai", "viewVatPham", "viewLichSu"};

// The icon of a channel row by type.
const char* channelIcon(int8_t type) {
    switch (type) {
    case TopupActions::kSms:
        return "icon_SMS.png";
    case TopupActions::kCard:
        return "icon_thecao.png";
    case TopupActions::kStore:
        return "icon_appstore.png";
    default:
        return "";
    }
}

// Row subviews, found again by tag when a cell is reused.
constexpr int kChannelLabelTag = 101, kChannelIconTag = 102;
constexpr int kEntryPictureTag = 301, kEntryNameTag = 302, kEntryLineTag = 303, kEntryPriceTag = 304;
constexpr int kLogTimeTag = 401, kLogContentTag = 402;
constexpr int kRowBackgroundTag = 100;

// How near the end of the items table a drag must end to ask for more.
double loadMoreDistance() {
    return Util::isPad() ? 450 : 200;
}

ui::Size tileSize() {
    return Util::isPad() ? ui::Size{140, 170} : ui::Size{70, 85};
}

template <typename T> T* tagged(ui::TableViewCell& cell, int tag) {
    return dynamic_cast<T*>(cell.contentView()->viewWithTag(tag));
}

} // namespace

const std::shared_ptr<ShopView>& ShopView::getInstance() {
    static const std::shared_ptr<ShopView> instance = std::make_shared<ShopView>();
    return instance;
}

ShopView::ShopView() = default;

ShopView::~ShopView() {
    TopupActions::stopObserving(observers_);
}

void ShopView::viewDidLoad() {
    Resources::getInstance().loadLanguage();
    pageItems_ = 0;
    pageAvatars_ = 0;
    view()->setAccessibilityIdentifier("ShopView");
    // A phone screen wider than 480 points gets the wide frame.
    if (!Util::isPad() && ui::Screen::bounds().width() > 480) view()->setFrame({0, 0, 568, 320});
    setUIScreen();
    requestServerRows();
    observePurchases();
}

void ShopView::viewWillAppear(bool animated) {
    texts_.apply();
    // The server words its rows in the language it was told at the sign-in.
    if (rowsLanguage_ != Resources::getInstance().currentLanguage()) requestServerRows();
    if (contentView_) showTab(kTabNapZel);
    ViewController::viewWillAppear(animated);
}

void ShopView::requestServerRows() {
    // Rows worded in the language left go at once; the answers bring them back.
    setChannels({});
    updateThongTinSuDung("");
    rowsLanguage_ = Resources::getInstance().currentLanguage();
    auto& service = GlobalService::getInstance();
    service.requestChargeMoneyInfo();
    service.getInfoWithKey(13);
}

void ShopView::observePurchases() {
    TopupActions::stopObserving(observers_);
    observers_ = TopupActions::observe(this, {[this](const platform::Notification& note) {
                                                  TopupActions::sendReceipt(listNapZel_, selectedIndex_, note);
                                                  Util::hideLoadingOnView(view());
                                              },
                                              [this](const platform::Notification& note) {
                                                  TopupActions::showFailure(note);
                                                  Util::hideLoadingOnView(view());
                                              },
                                              [this] { Util::hideLoadingOnView(view()); }});
}

void ShopView::resetForTesting() {
    if (isViewLoaded()) view()->removeFromSuperview();
    TopupActions::stopObserving(observers_);
    KavoIAPHelper::sharedHelper().forgetBuyer(this);
    setView(nullptr);
    viewingTabIndex_ = 0;
    listNapZel_.clear();
    listDiscount_.clear();
    arrTotal_.clear();
    listTransactionLogs_.clear();
    listAvatars_.clear();
    listItems_.clear();
    listSelectedItems_.clear();
    selectedItem_ = {};
    pageItems_ = pageAvatars_ = 0;
    listAvatarHasReload_ = reloaded_ = firstPagesAsked_ = isAdded_ = isOver_ = isCheckOut_ = false;
    selectedIndex_ = -1;
    shopKind_ = 1;
    thongTinSuDung_.clear();
    rowsLanguage_.clear();
    tabButtons_ = {};
    texts_ = {};
    tabViews_ = {};
    tables_ = {};
    contentView_ = nullptr;
    lblThongTinKhuyenMai_ = lblTongCong_ = nullptr;
    txvThongTinKhuyenMai_ = nullptr;
    scrollViewShop_ = scrollViewCheckout_ = nullptr;
}

// ---------------------------------------------------------------- layout

void ShopView::setUIScreen() {
    auto& root = *view();
    root.setBackgroundColor(ui::Color::white(0, 0.85));
    root.addSubview(shopui::image(root.bounds(), "shop_background.png"));
    for (int i = 0; i < 4; ++i) {
        tabButtons_[size_t(i)] = shopui::button(scaled({20 + 110.0 * i, 34, 108, 30}), kTabs[i].button, "", "",
                                                [this, i] { doChangeTab(i + 1); });
        texts_.title(tabButtons_[size_t(i)], kTabs[i].titleKey);
        tabButtons_[size_t(i)]->setTag(i + 1);
        tabButtons_[size_t(i)]->titleLabel()->setFont(ui::Font::boldSystem(shopui::fontSize(12)));
        root.addSubview(tabButtons_[size_t(i)]);
    }
    root.addSubview(
        shopui::button(scaled({440, 2, 36, 30}), "doCloseThisView", "", "X", [this] { doCloseThisView(); }));
    contentView_ = ui::View::make(scaled({10, 66, 460, 250}));
    contentView_->setAccessibilityIdentifier("contentView");
    root.addSubview(contentView_);
    for (int i = 0; i < 4; ++i) {
        auto tab = ui::View::make(contentView_->bounds());
        tab->setAccessibilityIdentifier(kTabViewNames[i]);
        tabViews_[size_t(i)] = tab;
        contentView_->addSubview(tab);
        // The top-up and promotion rows are narrow: the method panels sit beside them.
        const ui::Rect frame = i < 2    ? ui::Rect{0, 0, 246, 250}
                               : i == 2 ? ui::Rect{0, 0, 460, 140}
                                        : ui::Rect{0, 0, 460, 210};
        auto table = ui::TableView::make(scaled(frame));
        table->setAccessibilityIdentifier(kTabs[i].tableName);
        table->setTag(i + 1);
        table->setBackgroundColor(ui::Color::clear());
        table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
        table->setDataSource(this);
        table->setDelegate(this);
        tables_[size_t(i)] = table;
        tab->addSubview(table);
        tab->setHidden(true);
    }
    buildNapZelView();
    buildVatPhamView();
    buildLichSuView();
    showTab(kTabNapZel);
}

void ShopView::buildNapZelView() {
    auto& tab = *tabViews_[0];
    lblThongTinKhuyenMai_ =
        shopui::label(scaled({252, 0, 208, 20}), "", shopui::fontSize(12), ui::Color::rgba(255, 220, 60));
    texts_.text(lblThongTinKhuyenMai_, "KAVO_Shop_KhuyenMai");
    tab.addSubview(lblThongTinKhuyenMai_);
    txvThongTinKhuyenMai_ = ui::TextView::make(scaled({252, 20, 208, 150}));
    txvThongTinKhuyenMai_->setAccessibilityIdentifier("txvThongTinKhuyenMai");
    txvThongTinKhuyenMai_->setEditable(false);
    txvThongTinKhuyenMai_->setBackgroundColor(ui::Color::clear());
    txvThongTinKhuyenMai_->setTextColor(ui::Color::white());
    txvThongTinKhuyenMai_->setText("");
    tab.addSubview(txvThongTinKhuyenMai_);
    // The method panels: hidden where the store is the only way to pay.
    const bool storeOnly = UIController::checkApStore();
    const char* names[] = {"viewNapZel_SMS", "viewNapZel_TheCao", "viewNapZel_AppStore"};
    const char* buttons[] = {"btnSMS", "btnTheCao", "btnAppstore"};
    const char* icons[] = {"icon_SMS.png", "icon_thecao.png", "icon_appstore.png"};
    for (int i = 0; i < 3; ++i) {
        auto panel = ui::View::make(scaled({252 + 70.0 * i, 176, 66, 66}));
        panel->setAccessibilityIdentifier(names[i]);
        auto button = shopui::button(panel->bounds(), buttons[i], "shop_frame_thecao.png", "", nullptr);
        button->setImage(Util::getImageWithName(icons[i]));
        panel->addSubview(button);
        panel->setHidden(storeOnly && i < 2);
        tab.addSubview(panel);
    }
}

void ShopView::buildVatPhamView() {
    auto& tab = *tabViews_[2];
    scrollViewShop_ = ui::ScrollView::make(scaled({0, 146, 290, 100}));
    scrollViewShop_->setAccessibilityIdentifier("viewShop_scrollViewShop");
    tab.addSubview(scrollViewShop_);
    scrollViewCheckout_ = ui::ScrollView::make(scaled({294, 146, 96, 100}));
    scrollViewCheckout_->setAccessibilityIdentifier("scrollViewCheckout");
    tab.addSubview(scrollViewCheckout_);
    lblTongCong_ = shopui::label(scaled({394, 146, 66, 20}), "", shopui::fontSize(11), ui::Color::white());
    lblTongCong_->setAccessibilityIdentifier("viewVatPham_lblTongCong");
    tab.addSubview(lblTongCong_);
    auto buy = shopui::button(scaled({394, 176, 66, 30}), "viewVatPham_btnMuaNgay", "button_red_normal.png", "",
                              [this] { purchaseListItems(); });
    texts_.title(buy, "KAVO_Shop_MuaNgay");
    tab.addSubview(buy);
}

void ShopView::buildLichSuView() {
    auto& tab = *tabViews_[3];
    // The history tab shows its two delete buttons; they do nothing, since the server offers no
    // deleting of history.
    auto remove =
        shopui::button(scaled({250, 214, 100, 30}), "viewLichSu_btnXoa", "shop_button_delete.png", "", nullptr);
    texts_.title(remove, "KAVO_Shop_Xoa");
    tab.addSubview(remove);
    auto removeAll =
        shopui::button(scaled({356, 214, 100, 30}), "viewLichSu_btnXoaTatCa", "shop_button_delete.png", "", nullptr);
    texts_.title(removeAll, "KAVO_Shop_XoaTatCa");
    tab.addSubview(removeAll);
}

// ---------------------------------------------------------------- tabs

void ShopView::doChangeTab(int tab) {
    if (tab == viewingTabIndex_ || tab < kTabNapZel || tab > kTabLichSu) return;
    for (const auto& table : tables_)
        if (table) table->setContentOffset(table->contentOffset(), false);
    showTab(tab);
}

void ShopView::showTab(int tab) {
    for (size_t i = 0; i < 4; ++i) {
        tabViews_[i]->setHidden(true);
        contentView_->sendSubviewToBack(tabViews_[i].get());
        tabButtons_[i]->setBackgroundImage(nullptr);
        tabButtons_[i]->setTitleColor(ui::Color::white());
    }
    viewingTabIndex_ = tab;
    const size_t i = size_t(tab - 1);
    tabButtons_[i]->setBackgroundImage(Util::getImageWithName(kTabs[i].selectedImage));
    tabButtons_[i]->setTitleColor(ui::Color::rgba(255, 220, 60));
    tabViews_[i]->setHidden(false);
    contentView_->bringSubviewToFront(tabViews_[i].get());
    if (tab == kTabVatPham) requestFirstPages();
    if (tab == kTabLichSu) GlobalService::getInstance().requestTransactionLog();
    tables_[i]->reloadData();
    if (tab == kTabVatPham) reloadTiles();
}

void ShopView::requestFirstPages() {
    // Asked once per connection: a second showing would append the same rows again.
    // When nothing came of the first asking, it is asked again.
    if (firstPagesAsked_ && !arrTotal_.empty()) return;
    firstPagesAsked_ = true;
    GlobalService::getInstance().requestAllItemsWithPage(int8_t(pageItems_));
    GlobalService::getInstance().requestAllAvatarWithPage(pageAvatars_);
}

void ShopView::connectionEnded() {
    arrTotal_.clear();
    pageItems_ = pageAvatars_ = 0;
    firstPagesAsked_ = false;
    if (isViewLoaded()) reloadTiles();
}

void ShopView::doCloseThisView() {
    if (isViewLoaded()) view()->removeFromSuperview();
}

const std::shared_ptr<ui::TableView>& ShopView::tableOfTab(int tab) const {
    static const std::shared_ptr<ui::TableView> none;
    if (tab < kTabNapZel || tab > kTabLichSu) return none;
    return tables_[size_t(tab - 1)];
}

// ---------------------------------------------------------------- replies

void ShopView::setChannels(const std::vector<std::shared_ptr<ChargeMoneyInfo>>& channels) {
    listNapZel_.clear();
    listDiscount_.clear();
    for (const auto& channel : channels) {
        if (!channel) continue;
        listNapZel_.push_back(channel);
        if (channel->type() == TopupActions::kPromotion) listDiscount_.push_back(channel);
    }
}

void ShopView::forceReloadDataWithListItemInfo(const std::vector<std::shared_ptr<ItemInfo>>& items) {
    for (const auto& item : items)
        if (item) arrTotal_.push_back(ShopEntry::of(item));
    scheduleReload();
}

void ShopView::forceReloadDataWithListAvatar(const std::vector<std::shared_ptr<Avatar>>& avatars) {
    for (const auto& avatar : avatars)
        if (avatar) arrTotal_.push_back(ShopEntry::of(avatar));
    scheduleReload();
}

void ShopView::scheduleReload() {
    // The page is in: whichever tab shows, the next load-more may go.
    reloaded_ = false;
    std::weak_ptr<ShopView> weak = std::static_pointer_cast<ShopView>(shared_from_this());
    platform::runOnMainThread([weak] {
        if (auto shop = weak.lock()) shop->forceReloadDataInShopView();
    });
}

void ShopView::set_listAvatars(std::vector<std::shared_ptr<Avatar>> avatars) {
    listAvatars_ = std::move(avatars);
    if (viewingTabIndex_ == kTabVatPham) reloadTiles();
}

void ShopView::updateThongTinSuDung(const std::string& info) {
    thongTinSuDung_ = info;
    if (txvThongTinKhuyenMai_) txvThongTinKhuyenMai_->setText(info);
}

void ShopView::forceReloadDataInShopView() {
    if (!isViewLoaded() || viewingTabIndex_ == 0) return;
    Util::showLoadingOnView(view());
    tableOfTab(viewingTabIndex_)->reloadData();
    if (viewingTabIndex_ == kTabVatPham) {
        reloaded_ = false;
        reloadTiles();
    }
    Util::hideLoadingOnView(view());
}

// ---------------------------------------------------------------- tables

int ShopView::numberOfRows(ui::TableView&, int) {
    switch (viewingTabIndex_) {
    case kTabNapZel:
        return int(listNapZel_.size());
    case kTabUuDai:
        return int(listDiscount_.size());
    case kTabVatPham:
        return int(arrTotal_.size());
    case kTabLichSu:
        return int(listTransactionLogs_.size());
    default:
        return 0;
    }
}

double ShopView::heightForRow(ui::TableView&, const ui::IndexPath&) {
    return Util::isPad() ? 134 : 56;
}

std::shared_ptr<ui::TableViewCell> ShopView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    const int tab = table.tag();
    const std::string identifier = "CellMoney" + std::to_string(tab);
    auto cell = table.dequeueReusableCell(identifier);
    if (!cell) {
        cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, identifier);
        cell->setBackgroundColor(ui::Color::clear());
        auto& content = *cell->contentView();
        const double width = tab < 2 ? (Util::isPad() ? 524 : 246) : tabViews_[2]->bounds().width();
        isAdded_ = !isAdded_;
        auto background = shopui::image({0, 0, width, Util::isPad() ? 136.0 : 58.0},
                                        isAdded_ ? "tap_profile_cell2.png" : "tap_profile_cell1.png");
        background->setTag(kRowBackgroundTag);
        content.addSubview(background);
        auto add = [&](ui::Rect frame, int tag, double size, ui::Color color, ui::TextAlignment alignment) {
            auto label = shopui::label(scaled(frame), "", shopui::fontSize(size), color, alignment);
            label->setTag(tag);
            content.addSubview(label);
        };
        if (tab == kTabVatPham) {
            auto picture = shopui::image(scaled({15, 14, 36, 28}), "");
            picture->setContentMode(ui::ContentMode::Center);
            picture->setTag(kEntryPictureTag);
            content.addSubview(picture);
            add({64, 10, 241, 21}, kEntryNameTag, 13, ui::Color::white(), ui::TextAlignment::Left);
            add({64, 31, 345, 21}, kEntryLineTag, 11, ui::Color::white(), ui::TextAlignment::Left);
            add({322, 8, 92, 21}, kEntryPriceTag, 11, ui::Color::white(), ui::TextAlignment::Right);
        } else if (tab == kTabLichSu) {
            add({12, 10, 241, 21}, kLogTimeTag, 13, ui::Color::lightGray(), ui::TextAlignment::Left);
            add({12, 31, 241, 21}, kLogContentTag, 13, ui::Color::white(), ui::TextAlignment::Left);
        } else {
            auto icon = shopui::image(scaled({11, 8, 47, 39}), "");
            icon->setTag(kChannelIconTag);
            content.addSubview(icon);
            add({84, 17, 149, 21}, kChannelLabelTag, 17, ui::Color::white(), ui::TextAlignment::Left);
        }
    }
    fillRow(*cell, tab, indexPath.row);
    return cell;
}

void ShopView::fillRow(ui::TableViewCell& cell, int tab, int row) {
    const size_t index = size_t(row);
    if (tab == kTabVatPham) {
        if (index >= arrTotal_.size()) return;
        const ShopEntry& entry = arrTotal_[index];
        if (auto* picture = tagged<ui::ImageView>(cell, kEntryPictureTag))
            Resources::getInstance().assignAvatarId(
                entry.id(), std::static_pointer_cast<ui::ImageView>(picture->shared_from_this()));
        if (auto* name = tagged<ui::Label>(cell, kEntryNameTag)) name->setText(entry.name());
        if (auto* line = tagged<ui::Label>(cell, kEntryLineTag)) line->setText("");
        if (auto* price = tagged<ui::Label>(cell, kEntryPriceTag))
            price->setText(Util::formatNumber(entry.price()) + " Zel");
        return;
    }
    if (tab == kTabLichSu) {
        if (index >= listTransactionLogs_.size() || !listTransactionLogs_[index]) return;
        if (auto* time = tagged<ui::Label>(cell, kLogTimeTag)) time->setText(listTransactionLogs_[index]->time());
        if (auto* content = tagged<ui::Label>(cell, kLogContentTag))
            content->setText(listTransactionLogs_[index]->content());
        return;
    }
    const auto& list = tab == kTabNapZel ? listNapZel_ : listDiscount_;
    if (index >= list.size() || !list[index]) return;
    if (auto* label = tagged<ui::Label>(cell, kChannelLabelTag)) label->setText(list[index]->info());
    if (auto* icon = tagged<ui::ImageView>(cell, kChannelIconTag)) {
        const char* name = tab == kTabNapZel ? channelIcon(list[index]->type()) : "icon_thecao.png";
        icon->setImage(*name ? Util::getImageWithName(name) : nullptr);
    }
}

void ShopView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    if (table.tag() != viewingTabIndex_) return;
    selectRow(indexPath.row);
}

void ShopView::selectRow(int row) {
    if (row < 0) return;
    const size_t index = size_t(row);
    switch (viewingTabIndex_) {
    case kTabNapZel:
        if (index < listNapZel_.size()) selectChannel(listNapZel_[index], row);
        break;
    case kTabUuDai:
        if (index < listDiscount_.size()) openCardForm(listDiscount_[index]);
        break;
    case kTabVatPham:
        if (index < arrTotal_.size()) selectEntry(arrTotal_[index]);
        break;
    default:
        break;
    }
}

void ShopView::selectChannel(const std::shared_ptr<ChargeMoneyInfo>& channel, int row) {
    if (!channel) return;
    switch (channel->type()) {
    case TopupActions::kSms:
        TopupActions::sendSms(*channel);
        break;
    case TopupActions::kStore:
        selectedIndex_ = row;
        TopupActions::buyInApp(*channel, this);
        Util::showLoadingOnView(view());
        break;
    case TopupActions::kCard:
        openCardForm(channel);
        break;
    default:
        break;
    }
}

void ShopView::openCardForm(const std::shared_ptr<ChargeMoneyInfo>& channel) {
    if (!channel) return;
    const auto& form = TopupZelByCardView::getInstance();
    form->set_selectedChargeMoneyInfo(channel);
    form->setBackgroundColor(ui::Color::clear());
    view()->addSubview(form);
}

void ShopView::selectEntry(const ShopEntry& entry) {
    // The avatar's success reply takes this entry's price off the money.
    if (entry.isAvatar()) selectedItem_ = entry;
    // The question carries what it asks about: its answer buys that entry, whatever the
    // shop shows by then.
    UIController::startCancelOkDlg(
        text("KAVO_Items_Question"), text("KAVO_cancel"), text("KAVO_OK"),
        {entry.isAvatar() ? UIController::kActionBuyAvatar : UIController::kActionBuyItem, entry.id()});
}

void ShopView::didEndDragging(ui::ScrollView& scrollView, bool) {
    loadMoreIfNeeded(scrollView);
}

void ShopView::loadMoreIfNeeded(ui::ScrollView& table) {
    if (table.tag() != kTabVatPham || reloaded_) return;
    if (table.contentOffset().y < table.contentSize().height - loadMoreDistance()) return;
    auto& service = GlobalService::getInstance();
    if (!listAvatarHasReload_) {
        service.requestAllAvatarWithPage(++pageAvatars_);
    } else {
        service.requestAllItemsWithPage(int8_t(++pageItems_));
    }
    listAvatarHasReload_ = !listAvatarHasReload_;
    Util::showLoadingOnView(view());
    reloaded_ = true;
}

// ---------------------------------------------------------------- cart

void ShopView::purchaseListItems() {
    std::vector<int32_t> ids;
    for (const auto& entry : listSelectedItems_)
        if (entry.item) ids.push_back(entry.item->itemId());
    GlobalService::getInstance().requestBuyItems(int32_t(ids.size()), ids);
    // A new, empty cart: later additions must go somewhere.
    listSelectedItems_.clear();
    reloadScrollViewCheckout();
}

// ---------------------------------------------------------------- tiles

void ShopView::reloadTiles() {
    if (!scrollViewShop_) return;
    const auto oldTiles = scrollViewShop_->subviews();
    for (const auto& tile : oldTiles)
        tile->removeFromSuperview();
    const double pitch = tileSize().width + 4;
    double x = 0;
    for (size_t i = 0; i < arrTotal_.size(); ++i, x += pitch)
        addAvatarIntoScrollView(*scrollViewShop_, arrTotal_[i], {x, 0}, kRowTileTag + int(i));
    for (size_t i = 0; i < listAvatars_.size(); ++i, x += pitch) {
        if (listAvatars_[i])
            addAvatarIntoScrollView(*scrollViewShop_, ShopEntry::of(listAvatars_[i]), {x, 0}, kAvatarTileTag + int(i));
    }
    scrollViewShop_->setContentSize({x, tileSize().height});
    reloadScrollViewCheckout();
}

void ShopView::reloadScrollViewCheckout() {
    if (!scrollViewCheckout_) return;
    const auto oldTiles = scrollViewCheckout_->subviews();
    for (const auto& tile : oldTiles)
        tile->removeFromSuperview();
    const double pitch = tileSize().width + 4;
    int64_t total = 0;
    for (size_t i = 0; i < listSelectedItems_.size(); ++i) {
        addAvatarIntoScrollView(*scrollViewCheckout_, listSelectedItems_[i], {pitch * double(i), 0},
                                kCartTileTag + int(i));
        total += listSelectedItems_[i].price();
    }
    scrollViewCheckout_->setContentSize({pitch * double(listSelectedItems_.size()), tileSize().height});
    if (lblTongCong_) lblTongCong_->setText(Util::formatNumber(total));
}

void ShopView::addAvatarIntoScrollView(ui::ScrollView& scrollView, const ShopEntry& entry, ui::Point xy, int tag) {
    const bool pad = Util::isPad();
    const ui::Size size = tileSize();
    auto tile = ui::View::make({xy.x, xy.y, size.width, size.height});
    tile->addSubview(shopui::image(tile->bounds(), "i_img_borderItem.png"));
    auto picture = shopui::image({10, 8, pad ? 100.0 : 50.0, pad ? 100.0 : 50.0}, "");
    picture->setContentMode(ui::ContentMode::Center);
    Resources::getInstance().assignAvatarId(entry.id(), picture);
    tile->addSubview(picture);
    tile->addSubview(shopui::label({7, pad ? 135.0 : 66.0, pad ? 114.0 : 57.0, pad ? 26.0 : 13.0}, entry.name(),
                                   pad ? 14 : 10, ui::Color::black(), ui::TextAlignment::Center));
    auto button = ui::Button::make(tile->bounds());
    button->setAccessibilityIdentifier("tile" + std::to_string(tag));
    button->setTag(tag);
    button->setShowsTouchWhenHighlighted(true);
    button->onTouchUpInside([this, raw = button.get()] { showAvatarDetail(*raw); });
    tile->addSubview(button);
    scrollView.addSubview(tile);
}

std::optional<ShopEntry> ShopView::entryOfTag(int tag) const {
    auto pickFrom = [](const std::vector<ShopEntry>& list, int index) -> std::optional<ShopEntry> {
        if (index < 0 || size_t(index) >= list.size() || list[size_t(index)].empty()) return std::nullopt;
        return list[size_t(index)];
    };
    if (tag >= kCartTileTag) return pickFrom(listSelectedItems_, tag - kCartTileTag);
    if (tag >= kAvatarTileTag) {
        const int index = tag - kAvatarTileTag;
        if (index < 0 || size_t(index) >= listAvatars_.size() || !listAvatars_[size_t(index)]) return std::nullopt;
        return ShopEntry::of(listAvatars_[size_t(index)]);
    }
    if (tag >= kRowTileTag) return pickFrom(arrTotal_, tag - kRowTileTag);
    return std::nullopt;
}

void ShopView::showAvatarDetail(const ui::View& tile) {
    const std::optional<ShopEntry> found = entryOfTag(tile.tag());
    if (!found) {
        platform::log("shop: no entry for tile " + std::to_string(tile.tag()));
        return;
    }
    const ShopEntry entry = *found;
    const bool pad = Util::isPad();
    const ui::Point p = tile.convertPoint({0, 0}, view().get());
    const ui::Size size = tileSize();
    selectedItem_ = entry;
    isCheckOut_ = tile.tag() >= kCartTileTag;
    shopKind_ = entry.kind();

    auto panel = std::make_shared<ShopViewDetail>();
    panel->set_isCheckOut(isCheckOut_);
    panel->set_itemType(entry.kind());
    panel->set_avatarID(entry.id());
    panel->set_imgViewAvatar(Resources::getInstance().getItemImageWithKey(entry.id()));
    panel->set_itemPrice(entry.price());
    ShopViewDetail::setItemPrice(entry.price());
    panel->set_strUsername(entry.name());
    panel->set_virtualRect({p.x, p.y, size.width, size.height});
    const double width = pad ? 292 : 146;
    const double height = pad ? 324 : 162;
    if (p.x > (pad ? 540 : 270)) {
        isOver_ = true;
        panel->setFrame({p.x - width - 10, p.y - (pad ? 88 : 44), width, height});
    } else {
        isOver_ = false;
        panel->setFrame({p.x + size.width, p.y - 44, width, height});
    }
    panel->ShowupScreen(*this);
}

} // namespace kavo
