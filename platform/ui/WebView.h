#pragma once

#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

class WebView;

enum class WebViewNavigationType { LinkClicked, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

// Why a page did not load. A load cancelled by a newer one and a load stopped because the
// delegate refused where a redirect led are reported under the names pages expect.
struct WebViewError {
    static constexpr const char* kUrlDomain = "NSURLErrorDomain";
    static constexpr int kCancelled = -999;
    static constexpr int kCannotLoad = -1004;
    static constexpr int kBadServerResponse = -1011;
    static constexpr int kUnsupportedUrl = -1002;
    static constexpr const char* kWebKitDomain = "WebKitErrorDomain";
    static constexpr int kFrameLoadInterrupted = 102;

    std::string domain;
    int code = 0;
    std::string description;
};

// Asked before a page loads and told how it went; every call has a default.
class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;
    // Refusing an address leaves the view as it was: nothing loads.
    virtual bool shouldStartLoad(WebView& view, const std::string& url, WebViewNavigationType type) {
        return (void)view, (void)url, (void)type, true;
    }
    virtual void didStartLoad(WebView& view) { (void)view; }
    virtual void didFinishLoad(WebView& view) { (void)view; }
    virtual void didFailLoad(WebView& view, const std::string& error) { (void)view, (void)error; }
    // The same failure with its domain and code; by default told as didFailLoad.
    virtual void didFailLoadWithError(WebView& view, const WebViewError& error) {
        didFailLoad(view, error.description);
    }
};

// Shows a web page as its text: the page is fetched over http or https in the background
// (platform::HttpClient), its tags are stripped and its white space folded, and the text
// is shown in a scrolling label. When the page cannot be loaded the view shows its
// address instead. Pages visited are kept in a back/forward history. Every redirect is
// offered to the delegate as a navigation of kind Other before the view follows it
// (http and https only). There is no script engine: scripts are recorded.
class WebView : public View {
public:
    explicit WebView(Rect frame = {});
    static std::shared_ptr<WebView> make(Rect frame = {});

    WebViewDelegate* delegate() const { return delegate_; }
    void setDelegate(WebViewDelegate* delegate) { delegate_ = delegate; }

    void loadRequest(const std::string& url);
    void loadHTMLString(const std::string& html, const std::string& baseUrl = {});
    void stopLoading();
    void reload();
    void goBack();
    void goForward();
    bool canGoBack() const { return index_ > 0; }
    bool canGoForward() const { return index_ >= 0 && size_t(index_) + 1 < history_.size(); }
    bool isLoading() const { return loading_; }
    // The address of the page shown (or being loaded).
    const std::string& currentURL() const { return currentUrl_; }
    bool scalesPageToFit() const { return scalesPageToFit_; }
    void setScalesPageToFit(bool scales) { scalesPageToFit_ = scales; }

    // Records the script (there is no engine to run it) and returns "".
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    const std::vector<std::string>& evaluatedScripts() const { return scripts_; }

    // The text shown now.
    std::string pageText() const { return label_->text(); }
    const std::shared_ptr<ScrollView>& scrollView() const { return scrollView_; }

    void layoutSubviews() override;

    // The readable text of an HTML document: scripts, styles and the head dropped, block
    // elements on lines of their own, entities decoded, white space folded. Text that is
    // not UTF-8 is read as Latin-1.
    static std::string textFromHtml(std::string_view html);

    // Pages longer than this many bytes of text are cut.
    static constexpr size_t maximumTextLength() { return 64 * 1024; }

private:
    void startLoad(const std::string& url, WebViewNavigationType type, long historyIndex);
    void showText(const std::string& text);
    void fetch(const std::string& url, uint64_t generation, int redirectsLeft);
    void followRedirect(uint64_t generation, const std::string& location, int redirectsLeft);
    void finishLoad(uint64_t generation, int status, const std::string& body, const std::string& error);
    void failLoad(uint64_t generation, const WebViewError& error);

    WebViewDelegate* delegate_ = nullptr;
    std::shared_ptr<ScrollView> scrollView_;
    std::shared_ptr<Label> label_;
    std::vector<std::string> history_;
    long index_ = -1;
    std::string currentUrl_;
    bool loading_ = false;
    bool scalesPageToFit_ = false;
    uint64_t generation_ = 0;
    std::vector<std::string> scripts_;
};

} // namespace platform::ui
