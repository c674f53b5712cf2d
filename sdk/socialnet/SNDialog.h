#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNError.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace socialnet {

class SNDialog;

// Told how a dialog ended; every call has a default.
class SNDialogDelegate {
public:
    virtual ~SNDialogDelegate() = default;
    virtual void dialogDidComplete(SNDialog&) {}
    virtual void dialogCompleteWithUrl(SNDialog&, const std::string&) {}
    virtual void dialogDidNotCompleteWithUrl(SNDialog&, const std::optional<std::string>&) {}
    virtual void dialogDidNotComplete(SNDialog&) {}
    virtual void dialogDidFailWithError(SNDialog&, const SNError&) {}
    // nullopt: no opinion, the link opens in the external browser.
    virtual std::optional<bool> dialogShouldOpenURLInExternalBrowser(SNDialog&, const std::string&) {
        return std::nullopt;
    }
};

// One page of the social network in a modal panel over the application: a web view in
// a grey frame, a close button in the corner and a spinner while the page loads. It
// finishes when the page navigates to an "snconnect:" address (success, cancel or an
// error) and then takes itself off the screen. Main thread only.
class SNDialog : public platform::ui::View, public platform::ui::WebViewDelegate {
public:
    static constexpr double kBorderWidth = 10;
    static constexpr double kTabletScale = 0.6;
    static constexpr double kDelayedShow = 0.05;
    static constexpr const char* kScriptLandscape = "document.body.setAttribute('orientation', 90);";
    static constexpr const char* kScriptPortrait = "document.body.removeAttribute('orientation');";

    SNDialog();
    SNDialog(std::string serverURL, SNDictionaryPtr params, bool isViewInvisible, SNDialogDelegate* delegate);
    ~SNDialog() override;

    SNDialogDelegate* delegate() const { return delegate_; }
    void setDelegate(SNDialogDelegate* delegate) { delegate_ = delegate; }
    const SNDictionaryPtr& params() const { return params_; }

    void show();
    void load();
    void loadURL(const std::string& url, const SNDictionaryPtr& params);
    // base, or base + "?" + "name=escaped value" pairs joined by "&" in key order.
    static std::string generateURL(const std::string& base, const SNDictionaryPtr& params);
    // The needle's value where the needle starts the text or follows "?", "&" or "#";
    // up to the next "&", percent-decoded.
    static std::optional<std::string> getStringFromUrl(const std::string& url, const std::string& needle);
    static bool testBoolUrlParam(const std::string& url, const std::string& needle);

    void dismissWithSuccess(bool success, bool animated);
    virtual void dismissWithError(const SNError& error, bool animated);
    virtual void dialogDidSucceed(const std::string& url);
    virtual void dialogDidCancel(const std::optional<std::string>& url);
    // The close button.
    void cancel();

    const std::shared_ptr<platform::ui::WebView>& webView() const { return webView_; }
    const std::shared_ptr<platform::ui::Button>& closeButton() const { return closeButton_; }
    const std::optional<std::string>& loadingURL() const { return loadingURL_; }
    bool showingKeyboard() const { return showingKeyboard_; }
    bool isOnScreen() const { return superview() != nullptr; }

    // WebViewDelegate.
    bool shouldStartLoad(platform::ui::WebView& view, const std::string& url,
                         platform::ui::WebViewNavigationType type) override;
    void didFinishLoad(platform::ui::WebView& view) override;
    void didFailLoadWithError(platform::ui::WebView& view, const platform::ui::WebViewError& error) override;

    void draw(platform::ui::GraphicsContext& context) override;

protected:
    virtual void dialogWillAppear() {}
    virtual void dialogWillDisappear() {}
    void dismiss(bool animated);

private:
    void sizeToFitScreen();
    void showWebView();
    void postDismissCleanup();
    void observeKeyboard();
    void stopObservingKeyboard();
    void keyboardWillShow(bool showing);

    SNDialogDelegate* delegate_ = nullptr;
    SNDictionaryPtr params_;
    std::string serverURL_;
    std::optional<std::string> loadingURL_;
    std::shared_ptr<platform::ui::WebView> webView_;
    std::shared_ptr<platform::ui::ActivityIndicatorView> spinner_;
    std::shared_ptr<platform::ui::Button> closeButton_;
    bool isViewInvisible_ = false;
    // Owned by the window it covers (and it owns this panel): held weakly here, so a
    // panel that is never dismissed does not keep itself alive.
    std::weak_ptr<platform::ui::View> modalBackgroundView_;
    std::shared_ptr<platform::Timer> delayedShow_;
    bool dismissed_ = false;
    bool showingKeyboard_ = false;
    std::vector<uint64_t> keyboardObservers_;
};

} // namespace socialnet
