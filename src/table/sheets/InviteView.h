#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "portal/model/Player.h"

#include <memory>
#include <vector>

namespace kavo {

// The invitation sheet of a table: two tabs (players waiting for a game, my online
// friends), a grid of avatars with name and money, any number chosen, one invitation
// (74) each. The table asks the waiting list before it opens the sheet; the global
// logic handler fills the list and redraws the grid on the main thread. Main thread
// only.
class InviteView : public CustomUIActionSheetViewController {
public:
    InviteView();
    ~InviteView() override;

    void viewDidLoad() override;
    // Captions, three columns, the loading indicator, the waiting tab marked.
    void viewWillAppear(bool animated) override;
    void clickWaitRoom();
    void clickFriend();
    // A cell's button: chooses or un-chooses its player.
    void doInviteBoard(platform::ui::Button& cell);
    // One invitation per chosen player, in the order chosen; then the sheet closes.
    void clicInvite();

    // Makes listPlayers a new empty list.
    void resetListPlayer();
    std::vector<std::shared_ptr<Player>>& listPlayers() { return listPlayers_; }
    const std::vector<std::shared_ptr<Player>>& listPlayers() const { return listPlayers_; }
    void setListPlayers(std::vector<std::shared_ptr<Player>> players);
    const std::vector<std::shared_ptr<Player>>& listSelectedInvitor() const { return listSelectedInvitor_; }

    // Redraws the grid from listPlayers, with nobody chosen.
    void showDataTableView();
    void forceReloadTableView() { showDataTableView(); }
    int numberRowInView() const;
    double heightOfView() const;
    void showWithTypeInvite(int type);
    int typeInvite() const { return typeInvite_; }
    void setTypeInvite(int type) { typeInvite_ = type; }
    int numOfColumn() const { return numOfColumn_; }

    // The loading timer: a tick a second; the indicator goes after 11.
    void countTime();
    int countWait() const { return countWait_; }
    const std::shared_ptr<platform::Timer>& countTimer() const { return countTimer_; }
    void setCountTimer(std::shared_ptr<platform::Timer> timer) { countTimer_ = std::move(timer); }
    void stopCountTimer();

    const std::shared_ptr<platform::ui::ScrollView>& scrollViewContent() const { return scrollViewContent_; }
    const std::shared_ptr<platform::ui::Button>& btnWaitRoom() const { return btnWaitRoom_; }
    const std::shared_ptr<platform::ui::Button>& btnFriend() const { return btnFriend_; }
    const std::shared_ptr<platform::ui::Button>& btnInvite() const { return btnInvite_; }
    const std::shared_ptr<platform::ui::ImageView>& imgSelectedTab() const { return imgSelectedTab_; }

private:
    void switchTab(int type);
    void startLoading();

    int numOfColumn_ = 0;
    int typeInvite_ = 0;
    std::shared_ptr<platform::ui::Label> lblWaitRoom_, lblFriend_;
    std::shared_ptr<platform::ui::ScrollView> scrollViewContent_;
    std::shared_ptr<platform::ui::Button> btnWaitRoom_, btnFriend_, btnInvite_;
    std::shared_ptr<platform::ui::ImageView> imgSelectedTab_;
    std::vector<std::shared_ptr<Player>> listSelectedInvitor_;
    std::vector<std::shared_ptr<Player>> listPlayers_;
    std::shared_ptr<platform::Timer> countTimer_;
    int countWait_ = 0;
};

} // namespace kavo
