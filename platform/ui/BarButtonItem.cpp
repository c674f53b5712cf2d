#include "platform/ui/BarButtonItem.h"

namespace platform::ui {

namespace {
std::string systemTitle(BarButtonSystemItem item) {
    switch (item) {
    case BarButtonSystemItem::Done:
        return "Done";
    case BarButtonSystemItem::Cancel:
        return "Cancel";
    case BarButtonSystemItem::Edit:
        return "Edit";
    case BarButtonSystemItem::Save:
        return "Save";
    case BarButtonSystemItem::Add:
        return "+";
    case BarButtonSystemItem::Refresh:
        return "Refresh";
    case BarButtonSystemItem::Stop:
        return "Stop";
    case BarButtonSystemItem::Action:
        return "Share";
    case BarButtonSystemItem::Reply:
        return "Reply";
    case BarButtonSystemItem::Search:
        return "Search";
    case BarButtonSystemItem::Trash:
        return "Delete";
    case BarButtonSystemItem::Play:
        return "Play";
    case BarButtonSystemItem::Pause:
        return "Pause";
    case BarButtonSystemItem::Rewind:
        return "<<";
    case BarButtonSystemItem::FastForward:
        return ">>";
    case BarButtonSystemItem::Undo:
        return "Undo";
    case BarButtonSystemItem::Redo:
        return "Redo";
    case BarButtonSystemItem::FlexibleSpace:
    case BarButtonSystemItem::FixedSpace:
        return "";
    }
    return "";
}
} // namespace

BarButtonItemPtr BarButtonItem::withTitle(const std::string& title, BarButtonItemStyle style,
                                          std::function<void()> action) {
    auto item = std::make_shared<BarButtonItem>();
    item->title_ = title;
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

BarButtonItemPtr BarButtonItem::withImage(ImagePtr image, BarButtonItemStyle style, std::function<void()> action) {
    auto item = std::make_shared<BarButtonItem>();
    item->image_ = std::move(image);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

BarButtonItemPtr BarButtonItem::withSystemItem(BarButtonSystemItem system, std::function<void()> action) {
    auto item = std::make_shared<BarButtonItem>();
    item->systemItem_ = system;
    item->title_ = systemTitle(system);
    item->style_ = system == BarButtonSystemItem::Done ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered;
    item->action_ = std::move(action);
    return item;
}

BarButtonItemPtr BarButtonItem::withCustomView(ViewPtr view) {
    auto item = std::make_shared<BarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

void BarButtonItem::setTitle(const std::string& title) {
    title_ = title;
    changed();
}

void BarButtonItem::setImage(ImagePtr image) {
    image_ = std::move(image);
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    style_ = style;
    changed();
}

void BarButtonItem::setWidth(double width) {
    width_ = width;
    changed();
}

void BarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

} // namespace platform::ui
