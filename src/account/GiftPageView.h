#pragma once

#include "account/GiftChoice.h"
#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"
#include "portal/model/ShopRecords.h"

#include <memory>

namespace kavo {

// One page of a gift sheet: up to ten gift items (two rows of five) as framed
// pictures with their price. Touching an item chooses it, or drops the choice when
// it was chosen already; the choice lives in the sheet's GiftChoice.
class GiftPageView : public platform::ui::ViewController {
public:
    static constexpr int kColumns = 5;
    static constexpr int kRows = 2;

    GiftPageView(int pageNumber, std::shared_ptr<ItemsOfCategory> itemsOfCategory);
    static std::shared_ptr<GiftPageView> initWithPageNumber(int pageNumber,
                                                            std::shared_ptr<ItemsOfCategory> itemsOfCategory);

    int pageNumber() const { return pageNumber_; }
    const std::shared_ptr<ItemsOfCategory>& itemsOfCategory() const { return itemsOfCategory_; }
    // The sheet's choice; the page registers itself to follow it.
    void setMnuGift(std::shared_ptr<GiftChoice> choice);
    const std::shared_ptr<GiftChoice>& mnuGift() const { return choice_; }

    void viewDidLoad() override;
    // The touched item's button (its tag is the item id).
    void itemClicked(const platform::ui::Button& button);
    // Marks the sheet's choice, if it is on this page, and unmarks the rest.
    void refreshMarks();
    // How many items the page shows, and the item marked (-1 for none).
    int shownItems() const { return shownItems_; }
    int markedItem() const { return marked_; }

private:
    int pageNumber_;
    std::shared_ptr<ItemsOfCategory> itemsOfCategory_;
    std::shared_ptr<GiftChoice> choice_;
    int shownItems_ = 0;
    int marked_ = GiftChoice::kNone;
};

} // namespace kavo
