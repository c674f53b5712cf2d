#pragma once

#include "platform/foundation/Value.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class ChangePassView;
class LottoSubView;
class MessageView;
class MyLotto;
class ProfileSubView;

// Device orientations as the window reports them (3 and 4 are the two landscapes).
enum class InterfaceOrientation { Portrait = 1, PortraitUpsideDown = 2, LandscapeLeft = 3, LandscapeRight = 4 };

// The base of every full screen: the log-in screen, the lobby screens, the mailbox, the
// account screens and all table screens. It keeps the screen in landscape, owns the
// lottery panel that any screen can show, the mailbox badge, the loading spinner, the
// sliding player-profile panel, and the actions that open the app's panels over the
// current screen. Main thread only.
class KavoViewController : public platform::ui::ViewController {
public:
    KavoViewController();
    // `nibName` names the screen's layout; on a tablet it becomes "<nibName>-iPad".
    explicit KavoViewController(const std::string& nibName);
    ~KavoViewController() override;

    // The layout name this screen was made with (after the tablet rule).
    const std::string& nibName() const { return nibName_; }
    // The tablet rule on its own: "<name>-iPad" on a tablet, `name` on a phone.
    static std::string nibNameForDevice(const std::string& name);

    // ---- life cycle
    // Makes the lottery panel and the mailbox badge (hidden until reloadMessages).
    void viewDidLoad() override;
    // Reloads the mailbox badge on a later main-loop turn.
    void viewDidAppear(bool animated) override;
    // Only the two landscape orientations.
    virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const;

    // ---- overlays and badge
    // Never two spinners: an old one is removed first.
    void showLoadingScreen(const platform::ui::ViewPtr& view);
    void hideLoadingScreen(const platform::ui::ViewPtr& view);
    // The badge shows the number of mailbox entries (read or not); hidden when none.
    void reloadMessages();
    // The badge picture and its counter; a screen may move them in its layout.
    const std::shared_ptr<platform::ui::ImageView>& imgViewCounterMessage() const { return imgViewCounterMessage_; }
    const std::shared_ptr<platform::ui::Label>& lblCounterMessage() const { return lblCounterMessage_; }

    // ---- panels opened over this screen
    void napZel();           // shop and top-up
    void showLottoSubView(); // runs doShowLottoView
    void doShowLottoView();
    void clickSetting(); // settings, prepared for a table or a lobby screen
    // The settings and lottery buttons of a full screen ("clickSetting", "showLottoSubView"),
    // at phone rectangles inside `parent`.
    void addSettingAndLottoButtons(const platform::ui::ViewPtr& parent, platform::ui::Rect settingPhone,
                                   platform::ui::Rect lottoPhone);
    void showGopY(); // feedback to the administrators
    void showBetOnBoard();
    void showPlayersOnBoard();
    void showPassOnBoard();
    void changeMyPassord(); // a new change-password panel each time
    // Removes the invitation messages from the mailbox and disconnects.
    void logout();
    void clickChatFriend();
    // The mailbox panel over the whole screen, then the badge reloads.
    void showMessageView();
    // Flips the app delegate's menu button picture and tag.
    void showMenu();

    // ---- lottery replies, handed to this screen's lottery panel
    // Flattened rows: number, text, number, text, ...
    void reloadDataLottoHistory(const platform::Value& list);
    void reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list);
    void showRemainTimer(int seconds);
    const std::shared_ptr<LottoSubView>& lottoSubView() const { return lottoSubView_; }
    void setLottoSubView(std::shared_ptr<LottoSubView> panel) { lottoSubView_ = std::move(panel); }

    // Reachability status 0, 1 or 2 (none, Wi-Fi, mobile data).
    void updateInterfaceWithReachability(int status) { netWorkStatus_ = status; }
    int netWorkStatus() const { return netWorkStatus_; }

    // ---- the player-profile panel
    // Slides the panel in from the right and asks for the player's details; a second
    // call for the same player only shows it again, another player reloads it in place.
    void doShowUserInfo(int idDb);
    const std::shared_ptr<ProfileSubView>& profileSubView() const { return profileSubView_; }

    // Moves a view to a point (centre) over `seconds`, ease-in; the model values are
    // the end values at once.
    void animateView(const platform::ui::ViewPtr& view, platform::ui::Point point, double seconds = 1.0);

    // ---- what table screens add
    // Asks the player and leaves the table; nothing on other screens.
    virtual void doLeaveBoard() {}
    // True for the fourteen table screens (card tables, board games, dice tables).
    virtual bool isTableScreen() const { return false; }
    // A table whose settings sheet may offer the player count (the four-seat card tables).
    virtual bool offersPlayerCount() const { return false; }

    // ---- what the window shows and does around a screen
    // The screen has its own way out: the window's back button stays hidden over it.
    virtual bool hidesBackButton() const { return false; }
    // Going back from the screen (the back button, the swipe) leaves the server: the game grid.
    virtual bool backLeavesTheServer() const { return false; }
    // The window's background picture behind the screen.
    static constexpr const char* kBackgroundImage = "bg_main.png";
    virtual std::string backgroundImage() const { return kBackgroundImage; }
    // Where the window's back button stands (phone points), under the screen's header.
    static constexpr platform::ui::Point kBackButtonCentre{16, 18};
    virtual platform::ui::Point backButtonCentre() const { return kBackButtonCentre; }

    bool messageViewLoaded() const { return messageViewLoaded_; }
    void setMessageViewLoaded(bool loaded) { messageViewLoaded_ = loaded; }

private:
    // Adds the panel's view over this screen and lets it appear (sheets slide in).
    void openPanel(platform::ui::ViewController& panel, bool animated);
    void makeLottoSubView();

    std::string nibName_;
    std::shared_ptr<LottoSubView> lottoSubView_;
    int netWorkStatus_ = 0;
    std::shared_ptr<ChangePassView> changePass_;
    std::shared_ptr<platform::ui::Label> lblCounterMessage_;
    std::shared_ptr<platform::ui::ImageView> imgViewCounterMessage_;
    bool messageViewLoaded_ = false;
    std::shared_ptr<ProfileSubView> profileSubView_;
};

} // namespace kavo
