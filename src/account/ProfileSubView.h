#pragma once

#include "app/EscapeTarget.h"
#include "app/KavoViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TextField.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/User.h"
#include "table/registry/GameRecords.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

class ChatView;
class ProfileSubAchievementView;
class ProfileSubUser;

// The panel that slides in over any screen with another player's profile: nickname and
// avatar, two tabs (personal data read-only, achievements), a report form with a category
// picker, and three buttons whose features are not there yet. The screen base opens it
// with the player's id. Main thread only.
class ProfileSubView : public KavoViewController,
                       public EscapeTarget,
                       public platform::ui::PickerViewDataSource,
                       public platform::ui::PickerViewDelegate {
public:
    static constexpr int kTabInfo = 1;
    static constexpr int kTabAchievements = 2;
    // The games whose achievements are asked for, in the order they are asked.
    static constexpr auto kAchievementRequests = gameTypesInOrder<placesIn(&GameRecord::otherAchievementRequestOrder)>(
        &GameRecord::otherAchievementRequestOrder);
    // How far the report form rises for the keyboard on a phone.
    static constexpr double kFormLift = 60;

    ProfileSubView();
    ~ProfileSubView() override;

    int32_t currentId() const { return currentId_.load(); }
    void setCurrentId(int32_t id) { currentId_.store(id); }
    // Stores the id and fires the info tab's button.
    void getInfoOfUserId(int32_t id);
    void btnInfo_Clicked();
    void doChangeTab(int tag);
    void showTab(platform::ui::Rect rect, int index, bool isProfileView, int32_t userId);

    void onOtherUserDataWithUser(const std::shared_ptr<User>& user);
    // Rows of another player than currentId() are dropped.
    void onOtherAchievementWithGameId(int32_t userId, int gameId, const std::vector<int32_t>& achivement);

    // Slide the panel out to the right and remove it; the category picker, laid over the
    // screen underneath, goes with it.
    void doClose();
    void doCloseThisView();
    // Escape closes the panel (its category picker and report form close on Escape
    // themselves, before it).
    EscapeAnswer closeItself() override;
    // The three features announced as not there yet.
    void btnPresentGift_Clicked();
    void btnChallenge_Clicked();
    void btnAddFavorite_Clicked();

    // ---- report form
    void showReportView();
    void closeReportView();
    void showPickerCategory();
    void hidePickerView();
    // The report's send, which Return in its comment presses too.
    void viewReportBtnSend_Clicked();
    // Refuses an empty comment; otherwise reports the shown player with the last picked
    // category (an empty text when none was picked) and the comment as typed.
    void doSendReport();
    void keyboardWillShow();
    void keyboardWillHide();

    int numberOfRowsInComponent(platform::ui::PickerView& picker, int component) override;
    std::string titleForRow(platform::ui::PickerView& picker, int row, int component) override;
    void didSelectRow(platform::ui::PickerView& picker, int row, int component) override;

    // A private chat attached to the panel; nothing attaches one, so it stays empty.
    const std::shared_ptr<ChatView>& activeChatView() const { return activeChatView_; }
    void onChatWithMessage(const std::shared_ptr<KavoMessage>& message);
    const KavoMessageList& chatMessages() const { return chatMessages_; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void setUIScreen();

    int viewingTabIndex() const { return viewingTabIndex_; }
    const std::shared_ptr<ProfileSubUser>& subUserDataView() const { return subUserDataView_; }
    const std::shared_ptr<ProfileSubAchievementView>& subAchievementView() const { return subAchievementView_; }
    const std::shared_ptr<platform::ui::Label>& lbUserName() const { return lbUserName_; }
    const std::shared_ptr<platform::ui::ImageView>& imageAvatar() const { return imageAvatar_; }
    const platform::ui::ViewPtr& viewReport() const { return viewReport_; }
    const std::shared_ptr<platform::ui::TextField>& viewReport_txtContent() const { return viewReport_txtContent_; }
    const std::shared_ptr<platform::ui::PickerView>& pickerCategory() const { return pickerCategory_; }
    const platform::ui::ViewPtr& actionSheet() const { return actionSheet_; }
    const std::optional<std::string>& selectedCategory() const { return selectedCategory_; }
    bool isEdit() const { return isEdit_; }

private:
    void underConstruction();
    void slideTo(double x);

    std::atomic<int32_t> currentId_{0};
    int viewingTabIndex_ = 0;
    std::shared_ptr<platform::ui::Button> btnInfo_, btnAchievement_;
    std::shared_ptr<ProfileSubUser> subUserDataView_;
    std::shared_ptr<ProfileSubAchievementView> subAchievementView_;
    std::shared_ptr<platform::ui::Label> lbUserName_;
    std::shared_ptr<platform::ui::ImageView> imageAvatar_;

    platform::ui::ViewPtr viewReport_;
    std::shared_ptr<platform::ui::Button> viewReport_btnBaoCao_, viewReport_btnSend_, btnReport_Cancel_;
    std::shared_ptr<platform::ui::Button> btnCategory_;
    std::shared_ptr<platform::ui::TextField> viewReport_txtContent_;
    platform::ui::ViewPtr actionSheet_;
    std::shared_ptr<platform::ui::PickerView> pickerCategory_;
    std::vector<std::string> listReportCategory_;
    std::optional<std::string> selectedCategory_;
    bool isEdit_ = false;

    std::shared_ptr<ChatView> activeChatView_;
    KavoMessageList chatMessages_;
    platform::NotificationCenter::Token showToken_ = 0;
    platform::NotificationCenter::Token hideToken_ = 0;
};

} // namespace kavo
