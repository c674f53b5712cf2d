#include "account/ProfileSubView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "portal/GlobalService.h"
#include "social/ChatView.h"

namespace kavo {

ProfileSubView::ProfileSubView() : KavoViewController("ProfileSubView") {}

ProfileSubView::~ProfileSubView() = default;

void ProfileSubView::getInfoOfUserId(int32_t id) {
    currentId_ = id;
    btnInfo_Clicked();
}

void ProfileSubView::btnInfo_Clicked() {
    auto& service = GlobalService::getInstance();
    service.requestUserProfile(currentId_);
    service.requestOtherUserAchievementWithGameID(UIController::gameType(), currentId_);
}

void ProfileSubView::onOtherUserDataWithUser(const std::shared_ptr<User>& user) {
    user_ = user;
    if (!user_) return;
    view()->setHidden(false);
    if (lblName_) lblName_->setText(user_->fullname());
}

void ProfileSubView::onOtherAchievementWithGameId(int /*gameId*/, const std::vector<int32_t>& achivement) {
    achievement_ = achivement;
}

void ProfileSubView::onChatWithMessage(const std::shared_ptr<KavoMessage>& message) {
    if (message) chatMessages_.insert(chatMessages_.begin(), message);
}

void ProfileSubView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(35, 45, 70, 0.95));
    lblName_ = platform::ui::Label::make(Util::changeRectFromRect({10, 40, 260, 22}));
    lblName_->setAccessibilityIdentifier("lblName");
    lblName_->setTextColor(platform::ui::Color::white());
    lblName_->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(lblName_);
    btnInfo_ =
        platform::ui::Button::make(Util::changeRectFromRect({280, 36, 90, 30}), platform::ui::ButtonType::RoundedRect);
    btnInfo_->setAccessibilityIdentifier("btnInfo_Clicked");
    btnInfo_->setTitle(Resources::getInstance().textWithKey("KAVO_info"));
    btnInfo_->onTouchUpInside([this] { btnInfo_Clicked(); });
    root.addSubview(btnInfo_);
    activeChatView_ = ChatView::make(Util::changeRectFromRect({10, 80, 460, 230}));
    activeChatView_->setAccessibilityIdentifier("activeChatView");
    root.addSubview(activeChatView_);
}

} // namespace kavo
