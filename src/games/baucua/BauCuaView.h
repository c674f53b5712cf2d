#pragma once

#include "social/PlayerDetailView.h"
#include "table/GameTableView.h"

#include <memory>

namespace kavo {

// The Bau Cua table screen.
class BauCuaView : public GameTableView {
public:
    BauCuaView();

    // Resets the table screen.
    void clearView();
    int clearCount() const { return clearCount_; }
    // Made with the view and never shown: the details go to UIController::showUserInfo.
    const std::shared_ptr<PlayerDetailView>& playerDetailView() const { return playerDetailView_; }
    void viewDidLoad() override;
    void onRequestDetail(const platform::Value& details) override;

private:
    int clearCount_ = 0;
    std::shared_ptr<PlayerDetailView> playerDetailView_;
};

} // namespace kavo
