#pragma once

#include <memory>
#include <vector>

namespace kavo {

class GiftPageView;

// The gift chosen in a gift sheet (-1 for none), shared by the sheet's pages. When
// the choice changes, every page already built redraws its marks, so at most one
// item is marked across the sheet. The sheet owns it; pages hold it too.
class GiftChoice {
public:
    static constexpr int kNone = -1;

    int selectedGiftId() const { return selectedGiftId_; }
    void setSelectedGiftId(int itemId);
    // A page that shows the choice; forgotten when it goes.
    void addPage(const std::shared_ptr<GiftPageView>& page);

private:
    int selectedGiftId_ = kNone;
    std::vector<std::weak_ptr<GiftPageView>> pages_;
};

} // namespace kavo
