#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/WebView.h"

#include <memory>
#include <string>

namespace kavo {

// A full screen that shows one web page of the portal inside the client, with a title and
// back, forward and refresh buttons: the events page (from the game grid, "LinkEvent") and
// the guide (from the settings sheet, "LinkGuide"). The page, its history and its loading
// are the web view's own. setTitleLabel and loadWebViewWithURL act once the view is loaded.
class EventView : public KavoViewController {
public:
    explicit EventView(const std::string& nibName = "EventView");
    ~EventView() override;
    static std::shared_ptr<EventView> make(const std::string& nibName = "EventView");

    void layoutForPhone() override;
    void viewDidUnload() override;

    void setTitleLabel(const std::string& title);
    void loadWebViewWithURL(const std::string& url);

    // Button actions.
    void btnGoBack();
    void btnGoForware();
    void btnRefresh();

    const std::shared_ptr<platform::ui::Label>& lblTitle() const { return lblTitle_; }
    const std::shared_ptr<platform::ui::Button>& btnGoBackButton() const { return btnGoBack_; }
    const std::shared_ptr<platform::ui::Button>& btnForware() const { return btnForware_; }
    const std::shared_ptr<platform::ui::Button>& btnRefreshButton() const { return btnRefresh_; }
    // Only referenced: the screen's view holds it.
    std::shared_ptr<platform::ui::WebView> webView() const { return webView_.lock(); }

private:
    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::Button> btnGoBack_;
    std::weak_ptr<platform::ui::WebView> webView_;
    std::shared_ptr<platform::ui::Button> btnForware_;
    std::shared_ptr<platform::ui::Button> btnRefresh_;
};

} // namespace kavo
