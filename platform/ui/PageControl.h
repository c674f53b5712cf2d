#pragma once

#include "platform/ui/Control.h"

#include <memory>

namespace platform::ui {

// A row of dots, one per page, the current one bright. A tap on the left half goes one
// page back, on the right half one page on; a change sends ValueChanged.
class PageControl : public Control {
public:
    explicit PageControl(Rect frame = {});
    static std::shared_ptr<PageControl> make(Rect frame = {});

    int numberOfPages() const { return pages_; }
    void setNumberOfPages(int pages);
    int currentPage() const { return current_; }
    void setCurrentPage(int page);
    bool hidesForSinglePage() const { return hidesForSinglePage_; }
    void setHidesForSinglePage(bool hides);
    // When set, a tap changes currentPage() at once but the dots keep showing the old page
    // until updateCurrentPageDisplay().
    bool defersCurrentPageDisplay() const { return defers_; }
    void setDefersCurrentPageDisplay(bool defers) { defers_ = defers; }
    void updateCurrentPageDisplay();

    Size sizeForNumberOfPages(int pages) const;
    void draw(GraphicsContext& context) override;

protected:
    void endTracking(Point location, bool inside) override;

private:
    int pages_ = 0;
    int current_ = 0;
    int shown_ = 0;
    bool hidesForSinglePage_ = false;
    bool defers_ = false;
};

} // namespace platform::ui
