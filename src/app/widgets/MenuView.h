#pragma once

#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class menuPassword;

// The drop-down menu of the Mau Binh table: five tiles in two rows that switch sounds and
// vibration (kept in the user defaults "savedSound" and "savedRung"), show and change the
// table's turn time through a picker, open the table-password sheet and (not yet
// available) reach the social network. The table screen shows it at its left edge with
// the top bar's back button hidden; closing slides it off to the left.
class MenuView : public platform::ui::View,
                 public platform::ui::PickerViewDataSource,
                 public platform::ui::PickerViewDelegate,
                 public platform::ui::ActionSheetDelegate {
public:
    // A view the table screen may put behind the menu; closing removes it.
    static constexpr int kBackdropTag = 555;
    static constexpr double kCloseDuration = 0.3;

    explicit MenuView(platform::ui::Rect frame);
    ~MenuView() override;
    // Made and built (the table screen must be the navigation controller's top screen).
    static std::shared_ptr<MenuView> make(platform::ui::Rect frame);

    // Builds the content; the picker sheet goes onto the top screen's view.
    void setUIScreen();
    // Shows the table's turn time and its speed text (120 slow, 60 fast, others average).
    void setTimerTime(int seconds);

    // Tile actions.
    void btnSound_Clicked();
    void btnVibration_Clicked();
    void btnSocialNetwork_Clicked();
    void btnTime_Clicked();
    void btnPassword_Clicked();
    void hideMenuView();
    // The picker's Done: sends the picked speed to the Mau Binh table on top.
    void hidePickerView();

    // 0 slow, 1 average, 2 fast.
    int selectedMauBinhTime() const { return selectedMauBinhTime_; }

    // PickerViewDataSource / PickerViewDelegate
    int numberOfComponents(platform::ui::PickerView& picker) override;
    int numberOfRowsInComponent(platform::ui::PickerView& picker, int component) override;
    std::string titleForRow(platform::ui::PickerView& picker, int row, int component) override;
    void didSelectRow(platform::ui::PickerView& picker, int row, int component) override;

    const platform::ui::ViewPtr& viewSound() const { return viewSound_; }
    const platform::ui::ViewPtr& viewVibration() const { return viewVibration_; }
    const platform::ui::ViewPtr& viewSocialNetwork() const { return viewSocialNetwork_; }
    const platform::ui::ViewPtr& viewTimer() const { return viewTimer_; }
    const platform::ui::ViewPtr& viewPassword() const { return viewPassword_; }
    const platform::ui::ViewPtr& viewRow1() const { return viewRow1_; }
    const platform::ui::ViewPtr& viewRow2() const { return viewRow2_; }
    const std::shared_ptr<platform::ui::Label>& lblTime() const { return lblTime_; }
    const std::shared_ptr<platform::ui::Label>& lblTimeText() const { return lblTimeText_; }
    const std::shared_ptr<platform::ui::Button>& btnTime() const { return btnTime_; }
    const std::shared_ptr<platform::ui::Button>& btnPassword() const { return btnPassword_; }
    const std::shared_ptr<platform::ui::PickerView>& pickerMauBinh() const { return pickerMauBinh_; }
    const std::shared_ptr<platform::ui::ActionSheet>& mnViewActionSheet() const { return mnViewActionSheet_; }
    const std::shared_ptr<menuPassword>& mnPassword() const { return mnPassword_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewSound() const { return imgViewSound_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewVibration() const { return imgViewVibration_; }

private:
    struct Tile {
        platform::ui::ViewPtr view;
        std::shared_ptr<platform::ui::Button> button;
        std::shared_ptr<platform::ui::ImageView> state;
    };
    Tile makeTile(platform::ui::Rect frame, const std::string& icon, const std::string& stateImage,
                  const std::string& actionName);
    void buildPickerSheet();
    static std::string toggleImageName(bool on);
    // The view of the navigation controller's top screen (nullptr when there is none).
    static platform::ui::View* topScreenView();

    std::shared_ptr<platform::ui::Button> btnSound_;
    std::shared_ptr<platform::ui::Button> btnVibration_;
    std::shared_ptr<platform::ui::Button> btnSocialNetwork_;
    std::shared_ptr<platform::ui::ImageView> imgViewSound_;
    std::shared_ptr<platform::ui::ImageView> imgViewVibration_;
    std::shared_ptr<platform::ui::ImageView> imgViewSocialNetwork_;
    std::shared_ptr<platform::ui::ImageView> imgViewTime_;
    std::shared_ptr<platform::ui::ImageView> imgViewPassword_;
    platform::ui::ViewPtr viewSound_;
    platform::ui::ViewPtr viewVibration_;
    platform::ui::ViewPtr viewSocialNetwork_;
    platform::ui::ViewPtr viewTimer_;
    platform::ui::ViewPtr viewPassword_;
    platform::ui::ViewPtr viewRow1_;
    platform::ui::ViewPtr viewRow2_;
    std::vector<std::string> arrTimeMauBinh_;
    int selectedMauBinhTime_ = 0;
    std::shared_ptr<platform::ui::Label> lblTimeText_;
    std::shared_ptr<platform::ui::Button> btnBG_;
    std::shared_ptr<platform::ui::Label> lblTime_;
    std::shared_ptr<platform::ui::Button> btnTime_;
    std::shared_ptr<platform::ui::Button> btnPassword_;
    std::shared_ptr<platform::ui::ActionSheet> mnViewActionSheet_;
    std::shared_ptr<platform::ui::PickerView> pickerMauBinh_;
    std::shared_ptr<menuPassword> mnPassword_;
};

} // namespace kavo
