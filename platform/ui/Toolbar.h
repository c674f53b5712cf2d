#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace platform::ui {

enum class BarStyle { Default, Black, BlackTranslucent };

// A bar of items laid out from left to right. Each titled or pictured item is shown by a
// Button (found by its title), whose touch-up-inside runs the item's action.
class Toolbar : public View {
public:
    explicit Toolbar(Rect frame = {});
    ~Toolbar() override;
    static std::shared_ptr<Toolbar> make(Rect frame = {});

    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    Color tintColor() const { return tint_; }
    void setTintColor(Color color);
    const std::vector<BarButtonItemPtr>& items() const { return items_; }
    void setItems(std::vector<BarButtonItemPtr> items, bool animated = false);
    // The button that shows an item (nullptr for spaces and custom views).
    std::shared_ptr<Button> buttonForItem(const BarButtonItem* item) const;

    void layoutSubviews() override;
    void draw(GraphicsContext& context) override;

private:
    void rebuild();
    double itemWidth(const BarButtonItem& item, const std::shared_ptr<Button>& button) const;

    BarStyle barStyle_ = BarStyle::Default;
    Color tint_ = Color::clear();
    std::vector<BarButtonItemPtr> items_;
    std::vector<ViewPtr> itemViews_; // one per item (nullptr for spaces)
};

} // namespace platform::ui
