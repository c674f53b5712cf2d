#include "platform/ui/TableViewCell.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>
#include <functional>

namespace platform::ui {

namespace {
constexpr double kMargin = 10;

// The selection colour is a view above the background and below the content, so custom
// content stays visible over it.
class SelectionView : public View {
public:
    using View::View;
};
} // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(Rect(0, 0, 320, 44)), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
    auto selection = std::make_shared<SelectionView>(bounds());
    selection->setHidden(true);
    selection->setUserInteractionEnabled(false);
    selection->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    addSubview(selection);
    contentView_ = View::make(bounds());
    contentView_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    addSubview(contentView_);
}

std::shared_ptr<TableViewCell> TableViewCell::make(TableViewCellStyle style, const std::string& reuseIdentifier) {
    return std::make_shared<TableViewCell>(style, reuseIdentifier);
}

std::shared_ptr<Label> TableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = Label::make();
        textLabel_->setFont(Font::boldSystem(18));
        textLabel_->setHighlightedTextColor(Color::white());
        contentView_->addSubview(textLabel_);
        layoutSubviews();
    }
    return textLabel_;
}

std::shared_ptr<Label> TableViewCell::detailTextLabel() {
    if (style_ == TableViewCellStyle::Default) return nullptr;
    if (!detailTextLabel_) {
        detailTextLabel_ = Label::make();
        detailTextLabel_->setHighlightedTextColor(Color::white());
        if (style_ == TableViewCellStyle::Subtitle) {
            detailTextLabel_->setFont(Font::system(14));
            detailTextLabel_->setTextColor(Color::gray());
        } else {
            detailTextLabel_->setFont(Font::system(17));
            detailTextLabel_->setTextColor(Color::rgba(56, 84, 135));
        }
        if (style_ == TableViewCellStyle::Value1) detailTextLabel_->setTextAlignment(TextAlignment::Right);
        contentView_->addSubview(detailTextLabel_);
        layoutSubviews();
    }
    return detailTextLabel_;
}

std::shared_ptr<ImageView> TableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = ImageView::make();
        imageView_->setContentMode(ContentMode::ScaleAspectFit);
        contentView_->addSubview(imageView_);
        layoutSubviews();
    }
    return imageView_;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
    accessoryType_ = type;
    layoutSubviews();
    setNeedsDisplay();
}

void TableViewCell::setAccessoryView(ViewPtr view) {
    if (accessoryView_) accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (accessoryView_) addSubview(accessoryView_);
    layoutSubviews();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style) {
    selectionStyle_ = style;
    updateLabelHighlight();
}

void TableViewCell::setBackgroundView(ViewPtr view) {
    if (backgroundView_) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        insertSubview(backgroundView_, 0);
        backgroundView_->setFrame(bounds());
    }
}

void TableViewCell::setSelected(bool selected, bool) {
    if (selected_ == selected) return;
    selected_ = selected;
    updateLabelHighlight();
}

void TableViewCell::setHighlighted(bool highlighted, bool) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    updateLabelHighlight();
}

void TableViewCell::prepareForReuse() {
    setSelected(false);
    setHighlighted(false);
}

void TableViewCell::setSeparator(bool shown, Color color) {
    if (separatorShown_ == shown && separatorColor_ == color) return;
    separatorShown_ = shown;
    separatorColor_ = color;
    setNeedsDisplay();
}

void TableViewCell::updateLabelHighlight() {
    bool on = (selected_ || highlighted_) && selectionStyle_ != TableViewCellSelectionStyle::None;
    for (const ViewPtr& child : subviews()) {
        if (auto* selection = dynamic_cast<SelectionView*>(child.get())) {
            selection->setHidden(!on);
            selection->setBackgroundColor(
                selectionStyle_ == TableViewCellSelectionStyle::Gray ? Color::white(0.72) : Color::rgba(5, 140, 245));
        }
    }
    // Everything in the content that can show a highlight does.
    std::function<void(View&)> walk = [&](View& view) {
        for (const ViewPtr& child : view.subviews()) {
            if (auto* label = dynamic_cast<Label*>(child.get())) label->setHighlighted(on);
            if (auto* image = dynamic_cast<ImageView*>(child.get())) image->setHighlighted(on);
            walk(*child);
        }
    };
    walk(*contentView_);
    setNeedsDisplay();
}

double TableViewCell::accessoryWidth() const {
    if (accessoryView_) return accessoryView_->bounds().width() + kMargin;
    return accessoryType_ == TableViewCellAccessoryType::None ? 0 : 30;
}

void TableViewCell::layoutSubviews() {
    Rect b = bounds();
    if (backgroundView_) backgroundView_->setFrame(b);
    double accessory = accessoryWidth();
    if (accessoryView_) {
        Size size = accessoryView_->bounds().size;
        accessoryView_->setFrame(
            {b.maxX() - kMargin - size.width, b.midY() - size.height / 2, size.width, size.height});
    }
    Rect content(b.minX(), b.minY(), std::max(0.0, b.width() - accessory), b.height());
    contentView_->setFrame(content);

    double h = content.height();
    double x = kMargin;
    if (imageView_ && imageView_->image()) {
        Size size = imageView_->image()->size();
        double scale = size.height > h ? h / size.height : 1;
        Size shown{size.width * scale, size.height * scale};
        imageView_->setFrame({x, (h - shown.height) / 2, shown.width, shown.height});
        x += shown.width + kMargin;
    }
    double width = std::max(0.0, content.width() - x - kMargin);
    switch (style_) {
    case TableViewCellStyle::Default:
        if (textLabel_) textLabel_->setFrame({x, 0, width, h});
        break;
    case TableViewCellStyle::Subtitle:
        if (textLabel_) textLabel_->setFrame({x, h * 0.08, width, h * 0.5});
        if (detailTextLabel_) detailTextLabel_->setFrame({x, h * 0.56, width, h * 0.36});
        break;
    case TableViewCellStyle::Value1:
        if (textLabel_) textLabel_->setFrame({x, 0, width * 0.6, h});
        if (detailTextLabel_) detailTextLabel_->setFrame({x + width * 0.4, 0, width * 0.6, h});
        break;
    case TableViewCellStyle::Value2:
        if (textLabel_) {
            textLabel_->setFrame({x, 0, 70, h});
            textLabel_->setTextAlignment(TextAlignment::Right);
        }
        if (detailTextLabel_) detailTextLabel_->setFrame({x + 80, 0, std::max(0.0, width - 80), h});
        break;
    }
}

void TableViewCell::draw(GraphicsContext& context) {
    Rect b = bounds();
    if (separatorShown_) {
        context.setStrokeColor(separatorColor_);
        context.setLineWidth(1);
        context.drawLine({b.minX(), b.maxY() - 0.5}, {b.maxX(), b.maxY() - 0.5});
    }
    if (accessoryView_) return;
    Point mid{b.maxX() - 18, b.midY()};
    switch (accessoryType_) {
    case TableViewCellAccessoryType::None:
        break;
    case TableViewCellAccessoryType::DisclosureIndicator:
        context.setStrokeColor(Color::gray());
        context.setLineWidth(3);
        context.drawLine({mid.x - 4, mid.y - 6}, {mid.x + 2, mid.y});
        context.drawLine({mid.x + 2, mid.y}, {mid.x - 4, mid.y + 6});
        break;
    case TableViewCellAccessoryType::DetailDisclosureButton:
        fillCircle(context, mid, 11, Color::rgba(36, 112, 216));
        context.setStrokeColor(Color::white());
        context.setLineWidth(3);
        context.drawLine({mid.x - 3, mid.y - 5}, {mid.x + 2, mid.y});
        context.drawLine({mid.x + 2, mid.y}, {mid.x - 3, mid.y + 5});
        break;
    case TableViewCellAccessoryType::Checkmark:
        context.setStrokeColor(Color::rgba(50, 79, 133));
        context.setLineWidth(3);
        context.drawLine({mid.x - 7, mid.y}, {mid.x - 2, mid.y + 6});
        context.drawLine({mid.x - 2, mid.y + 6}, {mid.x + 7, mid.y - 7});
        break;
    }
}

} // namespace platform::ui
