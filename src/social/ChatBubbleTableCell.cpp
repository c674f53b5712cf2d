#include "social/ChatBubbleTableCell.h"

#include "app/Util.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;

ChatBubbleTableCell::ChatBubbleTableCell()
    : platform::ui::TableViewCell(platform::ui::TableViewCellStyle::Default, kReuseIdentifier) {
    const platform::ui::Rect captionFrame = Util::convertRectFromrect({10, 10, 380, 16});
    senderAndTimeLabel_ = platform::ui::Label::make(captionFrame);
    senderAndTimeLabel_->setFont(Font::system(11));
    senderAndTimeLabel_->setTextColor(Color::black());
    senderAndTimeLabel_->setBackgroundColor(Color::clear());
    timeLabel_ = platform::ui::Label::make(captionFrame);
    timeLabel_->setFont(Font::system(9));
    timeLabel_->setTextColor(Color::black());
    timeLabel_->setBackgroundColor(Color::clear());
    bgImageView_ = platform::ui::ImageView::make();
    messageContentView_ = CustomLabel::make();
    messageContentView_->setFont(Font::system(13));
    messageContentView_->setBackgroundColor(Color::clear());
    messageContentView_->setTextAlignment(platform::ui::TextAlignment::Center);
    messageContentView_->setAccessibilityIdentifier("messageContentView");
    avatar_ = platform::ui::ImageView::make();
    avatar_->setContentMode(platform::ui::ContentMode::Center);
    avatar_->setClipsToBounds(true);
    for (const platform::ui::ViewPtr& part : std::initializer_list<platform::ui::ViewPtr>{
             senderAndTimeLabel_, timeLabel_, bgImageView_, messageContentView_, avatar_})
        contentView()->addSubview(part);
}

} // namespace kavo
