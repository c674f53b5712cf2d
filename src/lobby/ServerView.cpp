#include "lobby/ServerView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LoginView.h"
#include "net/MobileClient.h"
#include "platform/foundation/HttpClient.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableViewCell.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "sdk/socialnet/SNSession.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;
using platform::ui::TextAlignment;

namespace {

std::shared_ptr<ServerView>& sharedSheet() {
    static std::shared_ptr<ServerView> sheet;
    return sheet;
}

platform::UserDefaults& defaults() {
    return platform::UserDefaults::standard();
}

// The panel the sheet shows, vertically centred on the screen.
Rect panelFrame() {
    return Util::isPad() ? Rect{0, 24, 1024, 720} : Rect{0, 10, 480, 300};
}

std::shared_ptr<platform::ui::Label> makeHeaderLabel(Rect frame, double size, Color color, TextAlignment alignment,
                                                     const std::string& identifier) {
    auto label = platform::ui::Label::make(frame);
    label->setFont(Font::boldSystem(size * Util::iPad()));
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setBackgroundColor(Color::clear());
    label->setAccessibilityIdentifier(identifier);
    return label;
}

// A small coloured mark in front of a legend text.
void addLegendMark(const platform::ui::ViewPtr& panel, double x, Color color) {
    auto mark = platform::ui::View::make(scaled({x, 277, 10, 10}));
    mark->setBackgroundColor(color);
    panel->addSubview(mark);
}

// The top screen when it is the log-in screen.
LoginView* loginScreenOnTop() {
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    return dynamic_cast<LoginView*>(top.get());
}

} // namespace

std::shared_ptr<ServerView> ServerView::getInstance() {
    auto& sheet = sharedSheet();
    if (!sheet) sheet = std::make_shared<ServerView>();
    return sheet;
}

void ServerView::resetInstance() {
    auto& sheet = sharedSheet();
    if (sheet && GlobalService::getInstance().getConnectOKListener() == sheet.get())
        GlobalService::getInstance().setConnectOKListener(nullptr);
    sheet.reset();
}

ServerView::ServerView() : CustomUIActionSheetViewController("ServerView") {}

ServerView::~ServerView() {
    *alive_ = false;
    stopLoadingTimer();
    if (GlobalService::getInstance().getConnectOKListener() == this)
        GlobalService::getInstance().setConnectOKListener(nullptr);
    if (tableView_) {
        tableView_->setDataSource(nullptr);
        tableView_->setDelegate(nullptr);
    }
}

// ---------------------------------------------------------------- layout

void ServerView::layoutForPhone() {
    buildPanel();
}

void ServerView::layoutForTablet() {
    buildPanel();
}

void ServerView::buildPanel() {
    view()->setFrame(screenRect());
    view()->setBackgroundColor(Color::clear());
    auto panel = platform::ui::View::make(panelFrame());
    panel->setAccessibilityIdentifier("actionSheetView");

    auto box = platform::ui::View::make(scaled({70, 0, 340, 300}));
    box->setBackgroundColor(Color::rgba(20, 30, 60, 0.92));
    box->layer().setCornerRadius(8 * Util::iPad());
    box->layer().setBorderWidth(1);
    box->layer().setBorderColor(Color::rgba(255, 204, 0));
    panel->addSubview(box);

    lblSelectServer_ =
        makeHeaderLabel(scaled({80, 4, 300, 26}), 17, Color::yellow(), TextAlignment::Center, "lblSelectServer");
    panel->addSubview(lblSelectServer_);
    lblServerName_ =
        makeHeaderLabel(scaled({90, 32, 200, 20}), 13, Color::white(), TextAlignment::Left, "lblServerName");
    panel->addSubview(lblServerName_);
    lblStatus_ = makeHeaderLabel(scaled({300, 32, 100, 20}), 13, Color::white(), TextAlignment::Center, "lblStatus");
    panel->addSubview(lblStatus_);

    tableView_ = platform::ui::TableView::make(scaled({75, 54, 330, 214}));
    tableView_->setAccessibilityIdentifier("tableView");
    tableView_->setBackgroundColor(Color::clear());
    tableView_->setSeparatorStyle(platform::ui::TableViewCellSeparatorStyle::None);
    tableView_->setRowHeight(80 * Util::iPadY());
    tableView_->setDataSource(this);
    tableView_->setDelegate(this);
    panel->addSubview(tableView_);

    // The legend of the server load (every row shows the same mark: no load is known).
    addLegendMark(panel, 90, Color::green());
    lblLow_ = makeHeaderLabel(scaled({104, 272, 80, 20}), 12, Color::white(), TextAlignment::Left, "lblLow");
    panel->addSubview(lblLow_);
    addLegendMark(panel, 190, Color::yellow());
    lblAverage_ = makeHeaderLabel(scaled({204, 272, 80, 20}), 12, Color::white(), TextAlignment::Left, "lblAverage");
    panel->addSubview(lblAverage_);
    addLegendMark(panel, 290, Color::red());
    lblHigh_ = makeHeaderLabel(scaled({304, 272, 80, 20}), 12, Color::white(), TextAlignment::Left, "lblHigh");
    panel->addSubview(lblHigh_);

    btnDelete_ = platform::ui::Button::make(scaled({380, 0, 30, 30}));
    btnDelete_->setBackgroundImage(Util::getImageWithName("t_btn_delete.png"));
    btnDelete_->setAccessibilityIdentifier("btnDelete");
    btnDelete_->onTouchUpInside([this] { closeThisView(); });
    panel->addSubview(btnDelete_);

    setActionSheetView(panel);
    view()->addSubview(panel);
}

void ServerView::setHeaderTexts() {
    lblAverage_->setText(text("KAVO_Server_MatDoTrungBinh"));
    lblHigh_->setText(text("KAVO_Server_MatDoCao"));
    lblLow_->setText(text("KAVO_Server_MatDoThap"));
    lblSelectServer_->setText(platform::toUpper(text("KAVO_Server_SelectServer")));
    lblServerName_->setText(text("KAVO_Server_ServerName"));
    lblStatus_->setText(text("KAVO_Server_TrangThai"));
}

// ---------------------------------------------------------------- life cycle

void ServerView::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    // Mail that came before anyone signed in belongs to nobody.
    UIController::setListMessage({});
    setHeaderTexts();
}

void ServerView::viewDidAppear(bool animated) {
    CustomUIActionSheetViewController::viewDidAppear(animated);
    ++shows_;
    // This road has no slide-in: the sheet covers the screen with its panel in place
    // (a close that ended before left the panel low).
    view()->setFrame(screenRect());
    if (actionSheetView()) actionSheetView()->setFrame(panelFrame());
    // The language may have changed since the sheet was made.
    setHeaderTexts();
    isAllowLoadUrl_ = true;
    Util::showLoadingOnView(view());
    detectInfos();
}

void ServerView::viewWillAppear(bool animated) {
    ++shows_;
    CustomUIActionSheetViewController::viewWillAppear(animated);
}

void ServerView::viewDidDisappear(bool animated) {
    CustomUIActionSheetViewController::viewDidDisappear(animated);
    slideOut();
}

void ServerView::slideOut() {
    closingShow_ = shows_;
    CustomUIActionSheetViewController::slideOut();
}

void ServerView::animationDidStop(const std::string& name, bool finished) {
    // A close that ends after the sheet was shown again leaves it up.
    if (closingShow_ != shows_) return;
    CustomUIActionSheetViewController::animationDidStop(name, finished);
}

bool ServerView::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const {
    return orientation == InterfaceOrientation::LandscapeLeft;
}

// ---------------------------------------------------------------- actions

void ServerView::closeThisView() {
    slideOut();
}

std::string ServerView::storedServerListText() {
    const platform::Value stored = defaults().objectForKey(kServerDataKey);
    const std::string configured = Resources::getInstance().configString("ServerName");
    if (stored.isNull() || (stored.isString() && stored.stringValue().empty())) {
        defaults().setString(configured, kServerDataKey);
        defaults().synchronize();
        return configured;
    }
    // Something that is not text: the configured list for this showing only.
    if (!stored.isString()) return configured;
    return stored.stringValue();
}

void ServerView::detectInfos() {
    listServers_ = ServerListText::parse(storedServerListText());
    if (tableView_) tableView_->reloadData();
    Util::hideLoadingOnView(view());
}

void ServerView::useServer(const Server& server) {
    GlobalService::setIP(server.sIP());
    GlobalService::setPORT(ServerListText::portValue(server.sPORT()));
}

void ServerView::closeConnectionSilently() {
    IMobileClient& session = GlobalService::getInstance().session();
    if (auto* client = dynamic_cast<MobileClient*>(&session)) {
        client->manualDisconnect();
    } else {
        session.close();
    }
}

void ServerView::selectServerAtIndex(int row) {
    if (row < 0 || size_t(row) >= listServers_.size()) return;
    const auto server = listServers_[size_t(row)];
    platform::log(server->sNAME() + ", " + server->sIP());
    useServer(*server);
    defaults().setString(server->sNAME(), kLoginServerNameKey);
    defaults().setString(std::to_string(row), kLoginServerIndexKey);
    defaults().synchronize();

    Util::showLoadingOnView(view());
    loginning();

    // The overlay stays at most kLoadingTicks seconds; a second pick restarts the count.
    timeCount_ = 0;
    stopLoadingTimer();
    std::weak_ptr<ViewController> weak = weak_from_this();
    timerCount_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto sheet = std::dynamic_pointer_cast<ServerView>(weak.lock())) sheet->setTimeCount();
    });
}

void ServerView::setTimeCount() {
    ++timeCount_;
    if (timeCount_ < kLoadingTicks) return;
    Util::hideLoadingOnView(view());
    timeCount_ = 0;
    stopLoadingTimer();
}

void ServerView::stopLoadingTimer() {
    if (timerCount_) timerCount_->invalidate();
    timerCount_.reset();
}

void ServerView::loginning() {
    GlobalService& service = GlobalService::getInstance();
    LoginView* login = loginScreenOnTop();
    if (login && login->kindOfView() == LoginView::kKindSocialNet) {
        // The token goes in the queue first; it leaves once the new connection is up.
        auto& delegate = KavoOnlineAppDelegate::getInstance();
        auto session = delegate.session();
        if (session && session->isOpen() && !session->accessToken().empty()) {
            service.requestAccessTokenSN(session->accessToken());
        } else {
            std::weak_ptr<ViewController> weak = weak_from_this();
            try {
                session = std::make_shared<socialnet::SNSession>();
            } catch (const socialnet::SNInvalidOperationException& misuse) {
                // A bundle without the network's application id: no log-in is possible.
                platform::log(std::string("socialnet: ") + misuse.what());
                Util::hideLoadingOnView(view());
                return;
            }
            delegate.setSession(session);
            session->openWithCompletionHandler(
                [weak](socialnet::SNSession& opened, socialnet::SNSessionState state, const socialnet::SNError& error) {
                    if (state == socialnet::SNSessionState::ClosedLoginFailed ||
                        state == socialnet::SNSessionState::Closed) {
                        if (!error.empty()) platform::log("socialnet: " + error.message);
                        if (auto sheet = weak.lock()) Util::hideLoadingOnView(sheet->view());
                        return;
                    }
                    // The session also reports the steps of its opening: only an open
                    // session has a token to send.
                    if (opened.isOpen() && !opened.accessToken().empty())
                        GlobalService::getInstance().requestAccessTokenSN(opened.accessToken());
                });
        }
    }
    if (GlobalService::isConnected() || service.connectStatus() == MobileClient::kStatusConnecting)
        closeConnectionSilently();
    service.setConnectOKListener(this);
    service.connect();
}

void ServerView::onConnectOK() {
    // From the reader thread: the screens are read on the main thread.
    std::weak_ptr<ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto sheet = std::dynamic_pointer_cast<ServerView>(weak.lock())) sheet->signInAfterConnect();
    });
}

void ServerView::signInAfterConnect() {
    GlobalService& service = GlobalService::getInstance();
    service.getInfoWithKey(8);
    const std::string uname = defaults().stringForKey("uname");
    const std::string password = defaults().stringForKey("password");
    defaults().setString(GlobalService::IP(), kIpServerKey);
    defaults().setInt(GlobalService::PORT(), kPortServerKey);
    defaults().synchronize();
    LoginView* login = loginScreenOnTop();
    // In the social-network mode the token sent on the connect road is the sign-in.
    if (login && login->kindOfView() == LoginView::kKindLogin)
        service.loginWithUsername(uname, password, GlobalService::VERSION());
}

void ServerView::doLoadServersFromURL() {
    if (refetching_) return;
    // At most one refetch per showing.
    isAllowLoadUrl_ = false;
    const std::string link = Resources::getInstance().configString("LinkServer");
    if (link.empty()) {
        platform::log("Exception NoServerListAddress");
        finishRefetch("", false);
        return;
    }
    refetching_ = true;
    std::weak_ptr<bool> alive = alive_;
    // First the connectivity probe: without a connection the player is told by the
    // probe and the list stays as it is.
    Util::connectedToInternetAsyncAt(link, refetchTimeout_, [this, alive, link](bool connected) {
        auto living = alive.lock();
        if (!living || !*living) return;
        if (!connected) {
            refetching_ = false;
            Util::hideLoadingOnView(view());
            return;
        }
        platform::HttpRequest request = platform::HttpRequest::get(link);
        request.connectTimeout = refetchTimeout_;
        request.totalTimeout = refetchTimeout_;
        platform::HttpClient::performAsync(std::move(request), [this, alive](const platform::HttpResponse& response) {
            auto living = alive.lock();
            if (!living || !*living) return;
            if (!response.ok()) platform::log("server list: " + std::to_string(response.status) + " " + response.error);
            finishRefetch(response.body, response.ok());
        });
    });
}

void ServerView::finishRefetch(const std::string& fetched, bool answered) {
    refetching_ = false;
    Util::hideLoadingOnView(view());
    if (answered) platform::log(fetched);

    // Walk the entries: empty ones take no position; one that cannot be split ends the walk.
    const int saved = defaults().intForKey(kLoginServerIndexKey);
    ServerList gathered;
    int chosen = -1;
    int counter = 0;
    if (answered) {
        for (std::string_view entry : ServerListText::entries(fetched)) {
            if (entry.empty()) continue;
            auto server = ServerListText::splitEntry(entry);
            if (!server) {
                platform::log("Exception ServerEntryUnreadable");
                break;
            }
            gathered.push_back(std::make_shared<Server>(std::move(*server)));
            if (chosen < 0) {
                if (counter == saved) {
                    chosen = int(gathered.size()) - 1;
                } else {
                    ++counter;
                }
            }
        }
    }
    // Nothing usable came: the cached list stays, and the failed connect is told.
    if (gathered.empty()) {
        GlobalLogicHandler::getInstance().showAlertViewWithMessage(text("KAVO_connectFail"));
        return;
    }

    defaults().setString(fetched, kServerDataKey);
    if (chosen < 0) chosen = 0;
    listServers_ = std::move(gathered);
    const auto& server = listServers_[size_t(chosen)];
    useServer(*server);
    defaults().setString(server->sNAME(), kLoginServerNameKey);
    defaults().synchronize();
    loginning();
    if (tableView_) tableView_->reloadData();
}

void ServerView::hideLoading() {
    Util::hideLoadingOnView(view());
    timeCount_ = 0;
    stopLoadingTimer();
    if (tableView_) tableView_->reloadData();
}

void ServerView::closeDialog() {
    UIController::closeDialog();
}

// ---------------------------------------------------------------- table

int ServerView::numberOfRows(platform::ui::TableView&, int) {
    return int(listServers_.size());
}

double ServerView::heightForRow(platform::ui::TableView&, const platform::ui::IndexPath&) {
    return 80 * Util::iPadY();
}

std::shared_ptr<platform::ui::TableViewCell> ServerView::cellForRow(platform::ui::TableView& table,
                                                                    const platform::ui::IndexPath& indexPath) {
    constexpr int kTagName = 3;
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = platform::ui::TableViewCell::make(platform::ui::TableViewCellStyle::Default, kCellIdentifier);
        cell->setBackgroundColor(Color::clear());
        auto background = platform::ui::ImageView::make(scaled({10, 5, 310, 70}));
        background->setImage(Util::getImageWithName("server_bg_item.png"));
        cell->contentView()->addSubview(background);
        auto icon = platform::ui::ImageView::make(scaled({20, 5, 60, 60}));
        icon->setImage(Util::getImageWithName("server_icon_server.png"));
        cell->contentView()->addSubview(icon);
        auto name = platform::ui::Label::make(scaled({80, 10, 200, 50}));
        name->setTag(kTagName);
        name->setTextAlignment(TextAlignment::Center);
        name->setBackgroundColor(Color::clear());
        name->setFont(Font::boldSystem(24 * Util::iPad()));
        name->setTextColor(Color::yellow());
        name->setAdjustsFontSizeToFitWidth(true);
        name->setMinimumFontSize(12);
        cell->contentView()->addSubview(name);
        auto status = platform::ui::ImageView::make(scaled({285, 20, 25, 30}));
        status->setImage(Util::getImageWithName("img_greenBird.png"));
        status->setBackgroundColor(Color::clear());
        cell->addSubview(status);
        cell->setSelectionStyle(platform::ui::TableViewCellSelectionStyle::Gray);
    }
    const int row = indexPath.row;
    if (auto* label = dynamic_cast<platform::ui::Label*>(cell->viewWithTag(kTagName)))
        label->setText(row >= 0 && size_t(row) < listServers_.size() ? listServers_[size_t(row)]->sNAME() : "");
    return cell;
}

void ServerView::didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    selectServerAtIndex(indexPath.row);
}

} // namespace kavo
