#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/User.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class ChatView;

// The player-profile panel that slides in over any screen: another player's data and
// achievements, and a private chat with them.
class ProfileSubView : public KavoViewController {
public:
    ProfileSubView();
    ~ProfileSubView() override;

    // The player shown.
    int32_t currentId() const { return currentId_; }
    void setCurrentId(int32_t id) { currentId_ = id; }
    // Stores the id and fires the info button's action (the player's details are asked for).
    void getInfoOfUserId(int32_t id);
    // Asks for the details of the stored player: profile (1005) and achievements of
    // the current game (40/5).
    void btnInfo_Clicked();

    void onOtherUserDataWithUser(const std::shared_ptr<User>& user);
    const std::shared_ptr<User>& user() const { return user_; }
    void onOtherAchievementWithGameId(int gameId, const std::vector<int32_t>& achivement);
    const std::vector<int32_t>& achievement() const { return achievement_; }

    // The conversation with the shown player (made with the view).
    const std::shared_ptr<ChatView>& activeChatView() const { return activeChatView_; }
    // The newest mail of the open conversation.
    void onChatWithMessage(const std::shared_ptr<KavoMessage>& message);
    const KavoMessageList& chatMessages() const { return chatMessages_; }

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::Label>& lblName() const { return lblName_; }

private:
    int32_t currentId_ = 0;
    std::shared_ptr<User> user_;
    std::vector<int32_t> achievement_;
    std::shared_ptr<ChatView> activeChatView_;
    KavoMessageList chatMessages_;
    std::shared_ptr<platform::ui::Label> lblName_;
    std::shared_ptr<platform::ui::Button> btnInfo_;
};

} // namespace kavo
