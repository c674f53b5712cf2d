// The pages of a gift sheet: what a page shows and how the choice moves between pages.
#include "account/GiftChoice.h"
#include "account/GiftPageView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "tests/support/client/ClientTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

class GiftPage : public ClientFixture {
protected:
    std::shared_ptr<GiftChoice> choice = std::make_shared<GiftChoice>();

    static std::shared_ptr<ItemsOfCategory> items(int first, int count) {
        auto category = std::make_shared<ItemsOfCategory>();
        for (int i = 0; i < count; ++i) {
            auto item = std::make_shared<ItemInfo>();
            item->setItemId(first + i);
            item->setPrice(10 * (i + 1));
            category->itemList().push_back(item);
        }
        return category;
    }
    std::shared_ptr<GiftPageView> page(int number, int first, int count) {
        auto made = GiftPageView::initWithPageNumber(number, items(first, count));
        made->setMnuGift(choice);
        made->view();
        return made;
    }
    static void touch(GiftPageView& page, int itemId) {
        for (const auto& view : page.view()->subviews()) {
            auto* button = dynamic_cast<platform::ui::Button*>(view.get());
            if (button && button->tag() == itemId)
                return button->sendActions(platform::ui::ControlEvent::TouchUpInside);
        }
        ADD_FAILURE() << "no item " << itemId << " on the page";
    }
};

TEST_F(GiftPage, TwelveItemsShowTheFirstTenAndNoneShowAnEmptyPage) {
    auto full = page(0, 500, 12);
    EXPECT_EQ(full->shownItems(), 10);
    std::vector<std::string> prices;
    for (const auto& view : full->view()->subviews())
        if (auto* label = dynamic_cast<platform::ui::Label*>(view.get())) prices.push_back(label->text());
    ASSERT_EQ(prices.size(), 10u);
    EXPECT_EQ(prices.front(), "10 Zel");
    EXPECT_EQ(prices.back(), "100 Zel");
    auto empty = page(1, 0, 0);
    EXPECT_EQ(empty->shownItems(), 0);
    EXPECT_TRUE(empty->view()->subviews().empty());
}

TEST_F(GiftPage, TouchingAnItemChoosesItAndTouchingItAgainDropsTheChoice) {
    auto first = page(0, 500, 4);
    touch(*first, 502);
    EXPECT_EQ(choice->selectedGiftId(), 502);
    EXPECT_EQ(first->markedItem(), 502);
    touch(*first, 503);
    EXPECT_EQ(first->markedItem(), 503);
    touch(*first, 503);
    EXPECT_EQ(choice->selectedGiftId(), -1);
    EXPECT_EQ(first->markedItem(), -1);
}

TEST_F(GiftPage, OneItemIsMarkedAcrossThePagesOfTheSheet) {
    auto first = page(0, 500, 10);
    auto second = page(1, 600, 10);
    touch(*first, 505);
    touch(*second, 601);
    EXPECT_EQ(first->markedItem(), -1) << "the first page follows the sheet's choice";
    EXPECT_EQ(second->markedItem(), 601);
    auto later = page(2, 601, 1);
    EXPECT_EQ(later->markedItem(), 601) << "a page built later shows the choice";
}

} // namespace
