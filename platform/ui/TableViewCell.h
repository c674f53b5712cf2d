#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace platform::ui {

enum class TableViewCellStyle { Default, Value1, Value2, Subtitle };
enum class TableViewCellAccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };
enum class TableViewCellSelectionStyle { None, Blue, Gray };

// One row of a table. Its content goes into contentView() (or onto the cell itself); the
// standard label, detail label and image view are made on first use. A cell that is
// selected or highlighted draws its selection colour behind the content, and its
// standard labels turn white. Touches on a cell go on to the table, which selects the row.
class TableViewCell : public View {
public:
    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default, std::string reuseIdentifier = {});
    static std::shared_ptr<TableViewCell> make(TableViewCellStyle style = TableViewCellStyle::Default,
                                               const std::string& reuseIdentifier = {});

    TableViewCellStyle style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }

    const ViewPtr& contentView() const { return contentView_; }
    std::shared_ptr<Label> textLabel();
    // nullptr for the Default style, which has no detail.
    std::shared_ptr<Label> detailTextLabel();
    std::shared_ptr<ImageView> imageView();

    TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(TableViewCellAccessoryType type);
    const ViewPtr& accessoryView() const { return accessoryView_; }
    void setAccessoryView(ViewPtr view);
    TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(TableViewCellSelectionStyle style);
    const ViewPtr& backgroundView() const { return backgroundView_; }
    void setBackgroundView(ViewPtr view);

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated = false);

    // Called before the table hands the cell out again from its reuse pool.
    virtual void prepareForReuse();

    // Set by the table: a line along the bottom edge.
    void setSeparator(bool shown, Color color);

    void layoutSubviews() override;
    void draw(GraphicsContext& context) override;

private:
    void updateLabelHighlight();
    double accessoryWidth() const;

    TableViewCellStyle style_;
    std::string reuseIdentifier_;
    ViewPtr contentView_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
    std::shared_ptr<ImageView> imageView_;
    TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::None;
    ViewPtr accessoryView_;
    ViewPtr backgroundView_;
    TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::Blue;
    bool selected_ = false;
    bool highlighted_ = false;
    bool separatorShown_ = false;
    Color separatorColor_ = Color::lightGray();
};

} // namespace platform::ui
