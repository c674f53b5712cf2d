#pragma once

#include "app/widgets/CustomLabel.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <memory>

namespace kavo {

// One speech bubble of the private chat: its five parts are made once and refilled
// by the panel each time the row is shown. Main thread only.
class ChatBubbleTableCell : public platform::ui::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "ChatCellIdentifier";
    ChatBubbleTableCell();

    const std::shared_ptr<platform::ui::Label>& senderAndTimeLabel() const { return senderAndTimeLabel_; }
    const std::shared_ptr<platform::ui::Label>& timeLabel() const { return timeLabel_; }
    const std::shared_ptr<platform::ui::ImageView>& bgImageView() const { return bgImageView_; }
    const std::shared_ptr<CustomLabel>& messageContentView() const { return messageContentView_; }
    const std::shared_ptr<platform::ui::ImageView>& avatar() const { return avatar_; }

private:
    std::shared_ptr<platform::ui::Label> senderAndTimeLabel_;
    std::shared_ptr<platform::ui::Label> timeLabel_;
    std::shared_ptr<platform::ui::ImageView> bgImageView_;
    std::shared_ptr<CustomLabel> messageContentView_;
    std::shared_ptr<platform::ui::ImageView> avatar_;
};

} // namespace kavo
