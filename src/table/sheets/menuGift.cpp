#include "table/sheets/menuGift.h"

#include "account/GiftPageView.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/Font.h"
#include "portal/GlobalService.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"
#include "table/sheets/SheetPanel.h"

#include <cmath>
#include <map>
#include <utility>

namespace kavo {

using platform::ui::Button;
using platform::ui::ControlState;

namespace {

constexpr const char* kTabSelected = "button_tang_qua_selected.png";
constexpr const char* kTabUnselected = "button_tang_qua_unselected.png";
// A button that is not a tab carries this in its disabled-state title.
constexpr const char* kNotATab = "-1";

std::map<std::pair<int32_t, int>, std::shared_ptr<ItemsOfCategory>>& pageCache() {
    static std::map<std::pair<int32_t, int>, std::shared_ptr<ItemsOfCategory>> cache;
    return cache;
}

int tabIndexOf(const Button& button) {
    const auto title = button.titleForState(ControlState::Disabled);
    return title.empty() ? -1 : std::atoi(title.c_str());
}

} // namespace

void menuGift::cacheItems(int32_t categoryId, int page, std::shared_ptr<ItemsOfCategory> items) {
    if (items) pageCache().try_emplace({categoryId, page}, std::move(items));
}

std::shared_ptr<ItemsOfCategory> menuGift::cachedItems(int32_t categoryId, int page) {
    auto found = pageCache().find({categoryId, page});
    return found == pageCache().end() ? nullptr : found->second;
}

void menuGift::clearCache() {
    pageCache().clear();
}

menuGift::menuGift() : CustomUIActionSheetViewController("menuGift") {}

menuGift::~menuGift() {
    if (scrollView_) scrollView_->setDelegate(nullptr);
}

void menuGift::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {0, 0, 480, 300}, text("KAVO_presentGift"));
    setActionSheetView(panel);
    imgSelectedTab_ = platform::ui::ImageView::make(Util::changeRectFromRect({70, 66, 60, 4}));
    imgSelectedTab_->setImage(Util::getImageWithName(kTabSelected));
    imgSelectedTab_->setAccessibilityIdentifier("imgSelectedTab");
    panel->addSubview(imgSelectedTab_);
    scrollView_ = platform::ui::ScrollView::make(Util::changeRectFromRect({20, 72, 440, 160}));
    scrollView_->setAccessibilityIdentifier("scrollView");
    panel->addSubview(scrollView_);
    pageControl_ = platform::ui::PageControl::make(Util::changeRectFromRect({190, 234, 100, 16}));
    pageControl_->setAccessibilityIdentifier("pageControl");
    pageControl_->addTarget(platform::ui::ControlEvent::ValueChanged, [this] { changePage(); });
    panel->addSubview(pageControl_);
    btnTang_ = SheetPanel::addButton(*panel, {60, 254, 160, 36}, "btnTang", "", [this] { clickTang(); });
    btnTangTatCa_ = SheetPanel::addButton(*panel, {260, 254, 160, 36}, "btnTangTatCa", text("KAVO_tangAll"),
                                          [this] { clickTangAll(); });
    // Chosen once: the title stays for the life of the sheet.
    auto me = UIController::myInfo();
    btnTang_->setTitle(text(me && me->IDDB() == selectedUserId_ ? "KAVO_nguon_mua" : "KAVO_nguon_tang"));
    SheetPanel::addButton(*panel, {440, 4, 32, 28}, "slideOut", "x", [this] { slideOut(); });
}

void menuGift::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    for (const auto& button : view()->subviewsOfType<Button>()) {
        if (std::find(tabs_.begin(), tabs_.end(), button) == tabs_.end())
            button->setTitle(kNotATab, ControlState::Disabled);
    }
    GlobalService::getInstance().requestGetCategory(8, 0, 0);
    currentPage_ = 0;
    theSecondInitScrollView_ = 0;
    choice_->setSelectedGiftId(GiftChoice::kNone);
}

void menuGift::drawCategoryMenuWithCategoryList(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories) {
    view();
    for (const auto& tab : tabs_)
        tab->removeFromSuperview();
    tabs_.clear();
    listGifts_.clear();
    for (const auto& category : categories) {
        if (category) listGifts_.push_back(category);
    }
    const double x0 = std::trunc(60 * Util::iPadX()) + 10 * Util::iPadX();
    for (size_t i = 0; i < listGifts_.size(); ++i) {
        auto tab = Button::make({x0 + double(i) * 70 * Util::iPadX(), std::trunc(27 * Util::iPadY()),
                                 60 * Util::iPadX(), 40 * Util::iPadY()});
        tab->setTitle(listGifts_[i]->name());
        tab->setTitleColor(platform::ui::Color::white());
        tab->titleLabel()->setFont(platform::ui::Font::boldSystem(12 * Util::iPad()));
        tab->setTitle(std::to_string(i), ControlState::Disabled);
        tab->setTag(listGifts_[i]->categoryId());
        tab->setAccessibilityIdentifier("doChangeTab");
        tab->setBackgroundImage(Util::getImageWithName(i == 0 ? kTabSelected : kTabUnselected));
        Button* raw = tab.get();
        tab->onTouchUpInside([this, raw] { doChangeTab(*raw); });
        // On the panel: the panel is put back on top of the sheet each time it slides in.
        actionSheetView()->addSubview(tab);
        tabs_.push_back(tab);
    }
    if (tabs_.empty()) return;
    viewingTabIndex_ = 0;
    imgSelectedTab_->setCenter({tabs_[0]->center().x, imgSelectedTab_->center().y});
    actionSheetView()->bringSubviewToFront(imgSelectedTab_.get());
    getItemsWithGift(tabs_[0]->tag(), 0);
}

void menuGift::unActiveAllTab() {
    for (const auto& button : view()->subviewsOfType<Button>()) {
        if (button->titleForState(ControlState::Disabled) != kNotATab)
            button->setBackgroundImage(Util::getImageWithName(kTabUnselected));
    }
}

void menuGift::doChangeTab(Button& tab) {
    const int index = tabIndexOf(tab);
    if (index == viewingTabIndex_) return;
    unActiveAllTab();
    tab.setBackgroundImage(Util::getImageWithName(kTabSelected));
    platform::ui::View::animate(0.4, [this, x = tab.center().x] {
        imgSelectedTab_->setCenter({x, imgSelectedTab_->center().y});
    });
    viewingTabIndex_ = index;
    theSecondInitScrollView_ = 0;
    currentPage_ = 0;
    getItemsWithGift(tab.tag(), 0);
}

void menuGift::getItemsWithGift(int32_t categoryId, int page) {
    if (page < 0) return;
    if (page != 0 && giftSelected_ && page >= giftSelected_->totalPage()) return;
    if (auto cached = cachedItems(categoryId, page)) {
        giftSelected_ = cached;
        updateItemsOfGift();
        return;
    }
    // The server is always asked for the category's first page.
    GlobalService::getInstance().requestListItemsByGift(15, categoryId, 0);
}

void menuGift::updateItemsOfGift() {
    if (theSecondInitScrollView_ == 0) {
        initScrollView();
        theSecondInitScrollView_ = 1;
    } else {
        drawScrollViewItemListWithPage(currentPage_);
    }
}

void menuGift::initScrollView() {
    view();
    scrollView_->removeAllSubviews();
    const int pages = giftSelected_ ? std::max(0, giftSelected_->totalPage()) : 0;
    viewControllers_.assign(size_t(pages), nullptr);
    scrollView_->setPagingEnabled(true);
    const double width = scrollView_->frame().width();
    scrollView_->setContentSize({width * pages, 180});
    scrollView_->setContentOffset({0, 0}, false);
    scrollView_->setDelegate(this);
    pageControl_->setNumberOfPages(pages);
    pageControl_->setCurrentPage(0);
    drawScrollViewItemListWithPage(currentPage_);
}

void menuGift::drawScrollViewItemListWithPage(int page) {
    if (page < 0 || size_t(page) >= viewControllers_.size()) return;
    auto& slot = viewControllers_[size_t(page)];
    if (!slot) {
        slot = GiftPageView::initWithPageNumber(page, giftSelected_);
        slot->setMnuGift(choice_);
    }
    const auto& pageView = slot->view();
    if (!pageView->superview()) {
        const auto size = scrollView_->frame().size;
        pageView->setFrame({size.width * currentPage_, 0, size.width, size.height});
        scrollView_->addSubview(pageView);
    }
    Util::hideLoadingOnView(pageView);
}

void menuGift::didScroll(platform::ui::ScrollView& scrollView) {
    if (pageControlUsed_) return;
    const double width = scrollView.frame().width();
    if (width <= 0) return;
    pageControl_->setCurrentPage(int(std::floor((scrollView.contentOffset().x - width / 2) / width)) + 1);
}

void menuGift::willBeginDragging(platform::ui::ScrollView&) {
    pageControlUsed_ = false;
}

void menuGift::didEndDecelerating(platform::ui::ScrollView&) {
    pageControlUsed_ = false;
}

void menuGift::changePage() {
    currentPage_ = pageControl_->currentPage();
    const auto size = scrollView_->frame().size;
    scrollView_->scrollRectToVisible({size.width * currentPage_, 0, size.width, size.height}, true);
    pageControlUsed_ = true;
}

std::shared_ptr<GameTableView> menuGift::table() {
    const int8_t game = GameController::gameType();
    return tableRule(game) ? GameController::getTableView(game) : nullptr;
}

void menuGift::clickTang() {
    if (selectedGiftId() == GiftChoice::kNone) return;
    auto screen = table();
    if (!screen) return;
    auto receiver = screen->chosenPlayer();
    // Nobody chosen: nothing to give, and never to user 0.
    if (!receiver) return;
    GlobalService::getInstance().requestBuyGift(selectedGiftId(), screen->roomId(), screen->boardId(),
                                                receiver->IDDB());
    slideOut();
}

void menuGift::clickTangAll() {
    if (selectedGiftId() == GiftChoice::kNone) return;
    auto screen = table();
    if (!screen) return;
    for (const auto& player : screen->tablePlayers()) {
        if (player && player->IDDB() != -1)
            GlobalService::getInstance().requestBuyGift(selectedGiftId(), screen->roomId(), screen->boardId(),
                                                        player->IDDB());
    }
    slideOut();
}

} // namespace kavo
