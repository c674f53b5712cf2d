#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "app/KavoViewController.h"
#include "lobby/ServerListText.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/IConnectOKListener.h"

#include <memory>
#include <string>

namespace kavo {

// The sheet on which the player picks the game server before signing in. It lists the
// servers of the stored server-list text; a pick stores the choice, connects and, once
// the server has accepted the client, signs in: with the remembered user name and
// password when the log-in screen is in its password mode (201), with the social
// network's token in its social-network mode (204).
//
// It also owns the server-list text: the user default "serverdata", falling back to
// the configured "ServerName" list, and one refetch from the configured "LinkServer"
// address per showing, after a failed connect.
//
// Shown by adding its view to the log-in screen's view and calling viewDidAppear(true)
// (no slide-in on that road). One instance serves the whole run. Main thread only,
// except onConnectOK, which comes from the connection's reader thread.
class ServerView : public CustomUIActionSheetViewController,
                   public IConnectOKListener,
                   public platform::ui::TableViewDataSource,
                   public platform::ui::TableViewDelegate {
public:
    static constexpr const char* kServerDataKey = "serverdata";
    static constexpr const char* kLoginServerNameKey = "LoginServerName";
    static constexpr const char* kLoginServerIndexKey = "LoginServerINDEX";
    static constexpr const char* kIpServerKey = "ipServer";
    static constexpr const char* kPortServerKey = "portServer";
    static constexpr const char* kCellIdentifier = "CellServerView";
    // How many ticks of the 1-second loading timer the overlay may stay after a pick.
    static constexpr int kLoadingTicks = 10;
    // How long the refetch of the list may take before it counts as failed.
    static constexpr double kRefetchTimeout = 10;
    // The time-out of each of the refetch's two fetches (kRefetchTimeout unless a test
    // shortens it).
    void setRefetchTimeout(double seconds) { refetchTimeout_ = seconds; }

    static std::shared_ptr<ServerView> getInstance();
    // Drops the shared sheet (between tests); the next getInstance makes a new one.
    static void resetInstance();

    ServerView();
    ~ServerView() override;

    // ---- the list shown
    const ServerList& listServers() const { return listServers_; }
    void setListServers(ServerList list) { listServers_ = std::move(list); }
    const std::shared_ptr<platform::ui::TableView>& tableView() const { return tableView_; }
    // True from each showing until a refetch starts: a connect failure while it holds
    // refetches the list instead of showing the failure.
    bool isAllowLoadUrl() const { return isAllowLoadUrl_; }
    void setIsAllowLoadUrl(bool allow) { isAllowLoadUrl_ = allow; }
    int timeCount() const { return timeCount_; }
    bool isLoadingTimerRunning() const { return bool(timerCount_); }
    // True while the refetch's answer is awaited.
    bool isRefetching() const { return refetching_; }

    // ---- life cycle
    void layoutForPhone() override;
    void layoutForTablet() override;
    // Empties the mailbox list and sets the header texts.
    void viewDidLoad() override;
    // Allows one refetch, puts the loading overlay on the sheet and rebuilds the list.
    void viewDidAppear(bool animated) override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    // The base's close, remembered so that a close still animating when the sheet is
    // shown again does not take the new showing away.
    void slideOut() override;
    void animationDidStop(const std::string& name, bool finished) override;
    // The server choice is a step of the sign-in, not a sheet over one: Escape leaves it
    // (and the form under it) as they are, and is not passed to what lies under them.
    EscapeAnswer closeItself() override { return EscapeAnswer::keepsEscape; }
    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const;

    // ---- actions
    // The close button.
    void closeThisView();
    // Rebuilds the list from the stored text (or the configured default list).
    void detectInfos();
    // The pick of a row: target, remember, overlay, connect, loading timer.
    void selectServerAtIndex(int row);
    // Connects to the target set by the pick (the social-network token first in 204 mode).
    void loginning();
    // IConnectOKListener: signs in on the main thread.
    void onConnectOK() override;
    // The refetch after a failed connect: the connectivity probe, then the list
    // address, each fetched off the main thread with a time-out; the answer picks the
    // saved server (or the first) and connects again. Without connectivity the probe
    // tells the player and the list stays; a fetch that fails or yields no usable
    // entry keeps the list and tells the player "KAVO_connectFail".
    void doLoadServersFromURL();
    // One tick of the loading timer.
    void setTimeCount();
    // The overlay goes and its ticker stops (a refusal during the sign-in ends it so).
    void hideLoading();
    void closeDialog();
    // Empty hooks kept for the sheet's callers.
    void setUIScreen() {}
    void dataSourceDidFinishLoadingNewData() {}

    // ---- the server-list text (shared with the registration form)
    // The stored text, or the configured default list (stored when nothing usable was).
    static std::string storedServerListText();
    // Makes a server the connection target (host, and its port as a number).
    static void useServer(const Server& server);
    // Closes the current connection without any event following.
    static void closeConnectionSilently();

    // ---- table
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    void buildPanel();
    void setHeaderTexts();
    // The sign-in step on the main thread.
    void signInAfterConnect();
    void finishRefetch(const std::string& text, bool answered);
    void stopLoadingTimer();

    ServerList listServers_;
    std::shared_ptr<platform::ui::TableView> tableView_;
    bool isAllowLoadUrl_ = false;
    bool refetching_ = false;
    double refetchTimeout_ = kRefetchTimeout;
    std::shared_ptr<platform::ui::Label> lblSelectServer_;
    std::shared_ptr<platform::ui::Label> lblHigh_;
    std::shared_ptr<platform::ui::Label> lblAverage_;
    std::shared_ptr<platform::ui::Label> lblLow_;
    std::shared_ptr<platform::ui::Label> lblServerName_;
    std::shared_ptr<platform::ui::Label> lblStatus_;
    std::shared_ptr<platform::ui::Button> btnDelete_;
    unsigned shows_ = 0;
    unsigned closingShow_ = 0;
    int timeCount_ = 0;
    std::shared_ptr<platform::Timer> timerCount_;
    // Lets a refetch answer that arrives after the sheet went away be dropped.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace kavo
