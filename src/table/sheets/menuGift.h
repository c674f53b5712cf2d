#pragma once

#include "account/GiftChoice.h"
#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "portal/model/ShopRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class GameTableView;
class GiftPageView;

// The in-table gift sheet: the catalogue's categories as tabs over a paged row of
// items; the player picks an item and gives it to the chosen player or to everyone
// at the table (the giver included). Its table hands it the catalogue replies. Main
// thread only.
class menuGift : public CustomUIActionSheetViewController, public platform::ui::ScrollViewDelegate {
public:
    menuGift();
    ~menuGift() override;

    void viewDidLoad() override;
    // Slides in, asks the category list (101/1: 8, 0, 0) and starts on page 0 with
    // nothing chosen.
    void viewWillAppear(bool animated) override;

    void setSelectedUserId(int32_t userId) { selectedUserId_ = userId; }
    int32_t selectedUserId() const { return selectedUserId_; }
    void setSelectedGiftId(int32_t giftId) { choice_->setSelectedGiftId(giftId); }
    int32_t selectedGiftId() const { return choice_->selectedGiftId(); }
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page) { currentPage_ = page; }
    int viewingTabIndex() const { return viewingTabIndex_; }
    const std::shared_ptr<ItemsOfCategory>& giftSelected() const { return giftSelected_; }
    void setGiftSelected(std::shared_ptr<ItemsOfCategory> page) { giftSelected_ = std::move(page); }

    // One tab per category; the first becomes active and its first page is shown.
    void drawCategoryMenuWithCategoryList(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories);
    // A tab was pressed (its index is kept in its disabled-state title).
    void doChangeTab(platform::ui::Button& tab);
    // The cached page becomes the one shown, or the category's first page is asked.
    void getItemsWithGift(int32_t categoryId, int page);
    // Shows giftSelected: builds the pages the first time for a category.
    void updateItemsOfGift();
    void changePage();
    void clickTang();
    void clickTangAll();

    void didScroll(platform::ui::ScrollView& scrollView) override;
    void willBeginDragging(platform::ui::ScrollView& scrollView) override;
    void didEndDecelerating(platform::ui::ScrollView& scrollView) override;

    const std::vector<std::shared_ptr<platform::ui::Button>>& tabs() const { return tabs_; }
    const std::shared_ptr<platform::ui::Button>& btnTang() const { return btnTang_; }
    const std::shared_ptr<platform::ui::Button>& btnTangTatCa() const { return btnTangTatCa_; }
    const std::shared_ptr<platform::ui::ImageView>& imgSelectedTab() const { return imgSelectedTab_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollView() const { return scrollView_; }
    const std::shared_ptr<platform::ui::PageControl>& pageControl() const { return pageControl_; }

    // The item pages received, by category and page; the first page stored for a key
    // stays. Shared by every table's sheet for the life of the process.
    static void cacheItems(int32_t categoryId, int page, std::shared_ptr<ItemsOfCategory> items);
    static std::shared_ptr<ItemsOfCategory> cachedItems(int32_t categoryId, int page);
    static void clearCache();

private:
    void initScrollView();
    void drawScrollViewItemListWithPage(int page);
    void unActiveAllTab();
    // The open table of the current game when it has this sheet's game type in the
    // list of tables that take gifts, else nullptr.
    static std::shared_ptr<GameTableView> table();

    std::shared_ptr<platform::ui::ScrollView> scrollView_;
    std::shared_ptr<platform::ui::PageControl> pageControl_;
    std::shared_ptr<platform::ui::ImageView> imgSelectedTab_;
    std::shared_ptr<platform::ui::Button> btnTang_;
    std::shared_ptr<platform::ui::Button> btnTangTatCa_;
    std::vector<std::shared_ptr<platform::ui::Button>> tabs_;
    std::vector<std::shared_ptr<GiftPageView>> viewControllers_;
    std::vector<std::shared_ptr<CategoryShopInfo>> listGifts_;
    int viewingTabIndex_ = 0;
    std::shared_ptr<ItemsOfCategory> giftSelected_;
    bool pageControlUsed_ = false;
    int currentPage_ = 0;
    int theSecondInitScrollView_ = 0;
    // The chosen gift, shared with the pages so that one item is marked across them.
    std::shared_ptr<GiftChoice> choice_ = std::make_shared<GiftChoice>();
    int32_t selectedUserId_ = 0;
};

} // namespace kavo
