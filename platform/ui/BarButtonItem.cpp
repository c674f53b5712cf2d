#include "platform/ui/BarButtonItem.h"

#include "platform/ui/SystemWords.h"

namespace platform::ui {

namespace {
std::string systemTitle(BarButtonSystemItem item) {
    switch (item) {
    case BarButtonSystemItem::Done:
        return SystemWords::text(SystemWord::Done);
    case BarButtonSystemItem::Cancel:
        return SystemWords::text(SystemWord::Cancel);
    case BarButtonSystemItem::Edit:
        return SystemWords::text(SystemWord::Edit);
    case BarButtonSystemItem::Save:
        return SystemWords::text(SystemWord::Save);
    case BarButtonSystemItem::Add:
        return "+";
    case BarButtonSystemItem::Refresh:
        return SystemWords::text(SystemWord::Refresh);
    case BarButtonSystemItem::Stop:
        return SystemWords::text(SystemWord::Stop);
    case BarButtonSystemItem::Action:
        return SystemWords::text(SystemWord::Share);
    case BarButtonSystemItem::Reply:
        return SystemWords::text(SystemWord::Reply);
    case BarButtonSystemItem::Search:
        return SystemWords::text(SystemWord::Search);
    case BarButtonSystemItem::Trash:
        return SystemWords::text(SystemWord::Delete);
    case BarButtonSystemItem::Play:
        return SystemWords::text(SystemWord::Play);
    case BarButtonSystemItem::Pause:
        return SystemWords::text(SystemWord::Pause);
    case BarButtonSystemItem::Rewind:
        return "<<";
    case BarButtonSystemItem::FastForward:
        return ">>";
    case BarButtonSystemItem::Undo:
        return SystemWords::text(SystemWord::Undo);
    case BarButtonSystemItem::Redo:
        return SystemWords::text(SystemWord::Redo);
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
    item->style_ = system == BarButtonSystemItem::Done ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered;
    item->action_ = std::move(action);
    return item;
}

BarButtonItemPtr BarButtonItem::withCustomView(ViewPtr view) {
    auto item = std::make_shared<BarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

std::string BarButtonItem::title() const {
    // A system item's word is read as the bar draws it, in the words handed last.
    return title_.empty() && systemItem_ ? systemTitle(*systemItem_) : title_;
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
