#pragma once

#include "account/Profile_UserDataView.h"

namespace kavo {

// Another player's personal data in the profile panel: the record read-only, in a smaller
// layout, with the level progress as a number instead of a bar.
class ProfileSubUser : public Profile_UserDataView {
public:
    ProfileSubUser();

    void viewDidLoad() override;
    void setUIScreen() override;
    void updateViewWithUserData(const std::shared_ptr<User>& user) override;

    const std::shared_ptr<platform::ui::Label>& vDiemTichLuy() const { return vDiemTichLuy_; }

protected:
    void layoutRows() override;

private:
    std::shared_ptr<platform::ui::Label> lblDiemTichLuy_, vDiemTichLuy_;
};

} // namespace kavo
