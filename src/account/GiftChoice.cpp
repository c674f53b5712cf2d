#include "account/GiftChoice.h"

#include "account/GiftPageView.h"

#include <algorithm>

namespace kavo {

void GiftChoice::setSelectedGiftId(int itemId) {
    selectedGiftId_ = itemId;
    pages_.erase(std::remove_if(pages_.begin(), pages_.end(), [](const auto& page) { return page.expired(); }),
                 pages_.end());
    for (const auto& weak : pages_)
        if (auto page = weak.lock()) page->refreshMarks();
}

void GiftChoice::addPage(const std::shared_ptr<GiftPageView>& page) {
    if (page) pages_.push_back(page);
}

} // namespace kavo
