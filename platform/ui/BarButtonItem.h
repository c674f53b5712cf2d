#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform::ui {

enum class BarButtonItemStyle { Plain, Bordered, Done };
enum class BarButtonSystemItem {
    Done,
    Cancel,
    Edit,
    Save,
    Add,
    FlexibleSpace,
    FixedSpace,
    Refresh,
    Stop,
    Action,
    Reply,
    Search,
    Trash,
    Play,
    Pause,
    Rewind,
    FastForward,
    Undo,
    Redo,
};

class BarButtonItem;
using BarButtonItemPtr = std::shared_ptr<BarButtonItem>;

// One item of a toolbar: a titled or pictured button with an action, a custom view, or
// a space (flexible spaces share the room left over; fixed spaces take width()).
class BarButtonItem {
public:
    static BarButtonItemPtr withTitle(const std::string& title, BarButtonItemStyle style, std::function<void()> action);
    static BarButtonItemPtr withImage(ImagePtr image, BarButtonItemStyle style, std::function<void()> action);
    static BarButtonItemPtr withSystemItem(BarButtonSystemItem item, std::function<void()> action = {});
    static BarButtonItemPtr withCustomView(ViewPtr view);

    // A system item without a title of its own: the platform's word or sign for it.
    std::string title() const;
    void setTitle(const std::string& title);
    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image);
    BarButtonItemStyle style() const { return style_; }
    void setStyle(BarButtonItemStyle style);
    // 0: as wide as its content.
    double width() const { return width_; }
    void setWidth(double width);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    const std::function<void()>& action() const { return action_; }
    void setAction(std::function<void()> action) { action_ = std::move(action); }
    const ViewPtr& customView() const { return customView_; }
    std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
    bool isFlexibleSpace() const { return systemItem_ == BarButtonSystemItem::FlexibleSpace; }
    bool isFixedSpace() const { return systemItem_ == BarButtonSystemItem::FixedSpace; }

    // Set by the bar that shows the item, so changes reach its button.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    void changed() const {
        if (changed_) changed_();
    }

    std::string title_;
    ImagePtr image_;
    BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
    double width_ = 0;
    bool enabled_ = true;
    int tag_ = 0;
    std::function<void()> action_;
    ViewPtr customView_;
    std::optional<BarButtonSystemItem> systemItem_;
    std::function<void()> changed_;
};

} // namespace platform::ui
