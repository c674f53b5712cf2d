#include "platform/ui/Toolbar.h"

#include "platform/ui/GraphicsContext.h"

#include <algorithm>

namespace platform::ui {

namespace {
constexpr double kMargin = 6;
constexpr double kGap = 8;
constexpr double kButtonHeight = 30;
} // namespace

Toolbar::Toolbar(Rect frame) : View(frame) {}

Toolbar::~Toolbar() {
    for (const auto& item : items_)
        item->setChangeHandler({});
}

std::shared_ptr<Toolbar> Toolbar::make(Rect frame) {
    return std::make_shared<Toolbar>(frame);
}

void Toolbar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    setNeedsDisplay();
}

void Toolbar::setTintColor(Color color) {
    tint_ = color;
    setNeedsDisplay();
}

void Toolbar::setItems(std::vector<BarButtonItemPtr> items, bool) {
    for (const auto& item : items_)
        item->setChangeHandler({});
    items_.clear();
    for (auto& item : items)
        if (item) items_.push_back(std::move(item));
    rebuild();
}

std::shared_ptr<Button> Toolbar::buttonForItem(const BarButtonItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return std::dynamic_pointer_cast<Button>(itemViews_[i]);
    return nullptr;
}

void Toolbar::rebuild() {
    for (const ViewPtr& view : itemViews_)
        if (view) view->removeFromSuperview();
    itemViews_.clear();
    std::weak_ptr<View> weak = weak_from_this();
    for (const auto& item : items_) {
        ViewPtr view;
        if (item->customView()) {
            view = item->customView();
        } else if (!item->isFlexibleSpace() && !item->isFixedSpace()) {
            auto button = Button::make();
            std::weak_ptr<BarButtonItem> weakItem = item;
            button->onTouchUpInside([weakItem] {
                auto target = weakItem.lock();
                if (!target || !target->isEnabled() || !target->action()) return;
                auto action = target->action(); // the action may replace the toolbar's items
                action();
            });
            view = button;
        }
        item->setChangeHandler([weak] {
            if (auto bar = std::static_pointer_cast<Toolbar>(weak.lock())) bar->layoutSubviews();
        });
        if (view) addSubview(view);
        itemViews_.push_back(view);
    }
    layoutSubviews();
}

double Toolbar::itemWidth(const BarButtonItem& item, const std::shared_ptr<Button>& button) const {
    if (item.width() > 0) return item.width();
    if (item.customView()) return item.customView()->bounds().width();
    if (item.isFixedSpace() || item.isFlexibleSpace()) return 0;
    if (item.image()) return item.image()->size().width + 12;
    return button ? button->titleLabel()->sizeThatFits({}).width + 20 : 0;
}

void Toolbar::layoutSubviews() {
    if (itemViews_.size() != items_.size()) return;
    Rect b = bounds();
    // Refresh the buttons from their items first: the widths depend on the titles.
    for (size_t i = 0; i < items_.size(); ++i) {
        auto button = std::dynamic_pointer_cast<Button>(itemViews_[i]);
        if (!button || items_[i]->customView()) continue;
        const BarButtonItem& item = *items_[i];
        button->setTitle(item.image() ? std::string() : item.title());
        button->setImage(item.image());
        button->setEnabled(item.isEnabled());
        button->setTag(item.tag());
        bool bordered = item.style() != BarButtonItemStyle::Plain;
        Color fill = item.style() == BarButtonItemStyle::Done ? Color::rgba(40, 90, 200)
                                                              : (bordered ? Color::white(0.2, 0.6) : Color::clear());
        button->setBackgroundColor(fill);
        button->layer().setCornerRadius(bordered ? 5 : 0);
        button->layer().setBorderWidth(bordered ? 1 : 0);
        button->layer().setBorderColor(Color::white(0.8, 0.7));
    }
    double fixed = 0;
    int flexible = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->isFlexibleSpace()) {
            ++flexible;
            continue;
        }
        fixed += itemWidth(*items_[i], std::dynamic_pointer_cast<Button>(itemViews_[i]));
    }
    double gaps = items_.empty() ? 0 : kGap * double(items_.size() - 1);
    double spare = std::max(0.0, b.width() - 2 * kMargin - fixed - gaps);
    double flexWidth = flexible > 0 ? spare / flexible : 0;
    double x = b.minX() + kMargin;
    for (size_t i = 0; i < items_.size(); ++i) {
        const BarButtonItem& item = *items_[i];
        double width =
            item.isFlexibleSpace() ? flexWidth : itemWidth(item, std::dynamic_pointer_cast<Button>(itemViews_[i]));
        if (const ViewPtr& view = itemViews_[i]) {
            double height = item.customView() ? view->bounds().height() : std::min(kButtonHeight, b.height() - 4);
            view->setFrame({x, b.midY() - height / 2, width, height});
        }
        x += width + kGap;
    }
}

void Toolbar::draw(GraphicsContext& context) {
    Rect b = bounds();
    Color fill = !tint_.isClear()                 ? tint_
                 : barStyle_ == BarStyle::Default ? Color::rgba(120, 138, 160)
                 : barStyle_ == BarStyle::Black   ? Color::rgba(20, 20, 20)
                                                  : Color::black().withAlpha(0.6);
    context.setFillColor(fill);
    context.fillRect(b);
    context.setStrokeColor(Color::black().withAlpha(0.5));
    context.setLineWidth(1);
    context.drawLine({b.minX(), b.minY() + 0.5}, {b.maxX(), b.minY() + 0.5});
}

} // namespace platform::ui
