#include "platform/ui/WebView.h"

#include "platform/foundation/HttpClient.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/Url.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace platform::ui {

namespace {
constexpr double kMargin = 8;
constexpr int kMaxRedirects = 5;

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isHttpAddress(const std::string& url) {
    std::string lower = lowerAscii(url.substr(0, 8));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

// A redirect's Location against the address that answered it.
std::string resolveLocation(const std::string& from, const std::string& location) {
    if (Url::parse(location)) return location; // already absolute, whatever its scheme
    auto base = Url::parse(from);
    if (!base) return location;
    std::string origin = base->scheme + "://" + base->host + (base->port >= 0 ? ":" + std::to_string(base->port) : "");
    if (!location.empty() && location[0] == '/') return origin + location;
    std::string path = base->path.substr(0, base->path.rfind('/') + 1);
    return origin + (path.empty() ? "/" : path) + location;
}

// Elements whose content is never shown.
bool isHiddenElement(const std::string& name) {
    return name == "script" || name == "style" || name == "head" || name == "noscript" || name == "template";
}

// Elements that start a line of their own.
bool isBlockElement(const std::string& name) {
    static const char* const blocks[] = {
        "p",          "br",    "div",  "li",    "tr",      "h1",      "h2",     "h3",     "h4",     "h5",
        "h6",         "table", "ul",   "ol",    "section", "article", "header", "footer", "nav",    "pre",
        "blockquote", "hr",    "form", "title", "body",    "dt",      "dd",     "dl",     "center", "address"};
    for (const char* block : blocks)
        if (name == block) return true;
    return false;
}

std::string decodeEntity(std::string_view name) {
    if (name.empty()) return {};
    if (name[0] == '#') {
        bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        std::string digits(name.substr(hex ? 2 : 1));
        if (digits.empty() || digits.size() > 8) return {};
        char* end = nullptr;
        unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
        if (!end || *end != '\0' || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
        std::string out;
        appendUtf8(out, char32_t(code == 0xA0 ? ' ' : code));
        return out;
    }
    static const std::pair<const char*, const char*> named[] = {
        {"amp", "&"},         {"lt", "<"},          {"gt", ">"},          {"quot", "\""},       {"apos", "'"},
        {"nbsp", " "},        {"copy", "\u00A9"},   {"reg", "\u00AE"},    {"hellip", "\u2026"}, {"ndash", "\u2013"},
        {"mdash", "\u2014"},  {"laquo", "\u00AB"},  {"raquo", "\u00BB"},  {"middot", "\u00B7"}, {"bull", "\u2022"},
        {"agrave", "\u00E0"}, {"aacute", "\u00E1"}, {"acirc", "\u00E2"},  {"atilde", "\u00E3"}, {"egrave", "\u00E8"},
        {"eacute", "\u00E9"}, {"ecirc", "\u00EA"},  {"igrave", "\u00EC"}, {"iacute", "\u00ED"}, {"ograve", "\u00F2"},
        {"oacute", "\u00F3"}, {"ocirc", "\u00F4"},  {"otilde", "\u00F5"}, {"ugrave", "\u00F9"}, {"uacute", "\u00FA"},
        {"yacute", "\u00FD"}, {"Agrave", "\u00C0"}, {"Aacute", "\u00C1"}, {"Acirc", "\u00C2"},  {"Atilde", "\u00C3"},
        {"Egrave", "\u00C8"}, {"Eacute", "\u00C9"}, {"Ecirc", "\u00CA"},  {"Igrave", "\u00CC"}, {"Iacute", "\u00CD"},
        {"Ograve", "\u00D2"}, {"Oacute", "\u00D3"}, {"Ocirc", "\u00D4"},  {"Otilde", "\u00D5"}, {"Ugrave", "\u00D9"},
        {"Uacute", "\u00DA"}, {"Yacute", "\u00DD"},
    };
    for (const auto& [key, value] : named)
        if (name == key) return value;
    return {};
}

// Bytes that are not UTF-8 are taken as Latin-1, so any page shows something readable.
std::string asUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        appendUtf8(out, char32_t(c));
    return out;
}
} // namespace

std::string WebView::textFromHtml(std::string_view input) {
    std::string html = asUtf8(input);
    std::string out;
    out.reserve(std::min(html.size(), maximumTextLength()));
    std::string hiddenUntil; // the closing tag that ends a hidden element
    bool pendingSpace = false;
    auto newline = [&] {
        pendingSpace = false;
        // At most one empty line in a row.
        size_t n = out.size();
        if (n == 0) return;
        if (n >= 2 && out[n - 1] == '\n' && out[n - 2] == '\n') return;
        out += '\n';
    };
    size_t i = 0;
    while (i < html.size() && out.size() < maximumTextLength()) {
        char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                size_t end = html.find("-->", i + 4);
                i = end == std::string::npos ? html.size() : end + 3;
                continue;
            }
            size_t end = html.find('>', i + 1);
            if (end == std::string::npos) break;
            std::string_view tag(html.data() + i + 1, end - i - 1);
            i = end + 1;
            bool closing = !tag.empty() && tag[0] == '/';
            if (closing) tag.remove_prefix(1);
            size_t nameEnd = 0;
            while (nameEnd < tag.size() &&
                   (std::isalnum(static_cast<unsigned char>(tag[nameEnd])) || tag[nameEnd] == '-'))
                ++nameEnd;
            std::string name = lowerAscii(tag.substr(0, nameEnd));
            if (!hiddenUntil.empty()) {
                if (closing && name == hiddenUntil) hiddenUntil.clear();
                continue;
            }
            bool selfClosing = !tag.empty() && tag.back() == '/';
            if (!closing && !selfClosing && isHiddenElement(name)) {
                hiddenUntil = name;
                continue;
            }
            if (name == "br") {
                newline();
            } else if (isBlockElement(name)) {
                // Block edges end the line once; only line breaks make empty lines.
                pendingSpace = false;
                if (!out.empty() && out.back() != '\n') out += '\n';
                if (!closing && name == "li") out += "\u2022 ";
            } else {
                pendingSpace = pendingSpace || (name == "td" || name == "th");
            }
            continue;
        }
        if (!hiddenUntil.empty()) {
            ++i;
            continue;
        }
        std::string piece;
        if (c == '&') {
            size_t semicolon = html.find(';', i + 1);
            if (semicolon != std::string::npos && semicolon - i <= 10) {
                piece = decodeEntity(std::string_view(html).substr(i + 1, semicolon - i - 1));
                if (!piece.empty()) i = semicolon + 1;
            }
            if (piece.empty()) {
                piece.assign(1, '&');
                ++i;
            }
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            pendingSpace = true;
            ++i;
            continue;
        } else {
            piece = c;
            ++i;
        }
        if (piece == " ") {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !out.empty() && out.back() != '\n') out += ' ';
        pendingSpace = false;
        out += piece;
    }
    // No white space at the ends of lines or of the text.
    std::string cleaned;
    size_t start = 0;
    while (start <= out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string line = trimWhitespace(std::string_view(out).substr(start, end - start));
        if (!cleaned.empty() || !line.empty()) {
            if (!cleaned.empty()) cleaned += '\n';
            cleaned += line;
        }
        start = end + 1;
    }
    while (!cleaned.empty() && cleaned.back() == '\n')
        cleaned.pop_back();
    return cleaned;
}

WebView::WebView(Rect frame) : View(frame) {
    setBackgroundColor(Color::white());
    scrollView_ = ScrollView::make(bounds());
    scrollView_->setAlwaysBounceVertical(true);
    label_ = Label::make();
    label_->setNumberOfLines(0);
    label_->setFont(Font::system(14));
    label_->setLineBreakMode(LineBreakMode::WordWrap);
    scrollView_->addSubview(label_);
    addSubview(scrollView_);
}

std::shared_ptr<WebView> WebView::make(Rect frame) {
    return std::make_shared<WebView>(frame);
}

void WebView::layoutSubviews() {
    Rect b = bounds();
    scrollView_->setFrame(b);
    double width = std::max(1.0, b.width() - 2 * kMargin);
    double height = label_->text().empty() ? 0 : label_->sizeThatFits({width, 0}).height;
    label_->setFrame({kMargin, kMargin, width, height});
    scrollView_->setContentSize({b.width(), height + 2 * kMargin});
}

void WebView::showText(const std::string& text) {
    label_->setText(text);
    scrollView_->setContentOffset({0, 0});
    layoutSubviews();
}

void WebView::loadRequest(const std::string& url) {
    startLoad(url, WebViewNavigationType::Other, -1);
}

void WebView::reload() {
    if (index_ >= 0) startLoad(history_[size_t(index_)], WebViewNavigationType::Reload, index_);
}

void WebView::goBack() {
    if (canGoBack()) startLoad(history_[size_t(index_ - 1)], WebViewNavigationType::BackForward, index_ - 1);
}

void WebView::goForward() {
    if (canGoForward()) startLoad(history_[size_t(index_ + 1)], WebViewNavigationType::BackForward, index_ + 1);
}

void WebView::stopLoading() {
    if (!loading_) return;
    ++generation_; // the answer of the stopped load is dropped when it comes
    loading_ = false;
}

void WebView::startLoad(const std::string& url, WebViewNavigationType type, long historyIndex) {
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldStartLoad(*this, url, type)) return;
    if (historyIndex < 0) {
        // A new page drops the pages ahead of the current one.
        history_.resize(size_t(index_ + 1));
        history_.push_back(url);
        index_ = long(history_.size()) - 1;
    } else {
        index_ = historyIndex;
    }
    uint64_t generation = ++generation_;
    currentUrl_ = url;
    loading_ = true;
    if (delegate_) delegate_->didStartLoad(*this);
    if (generation != generation_) return; // the delegate started another load
    if (url == "about:blank") {
        finishLoad(generation, 200, "", "");
        return;
    }
    if (!isHttpAddress(url)) {
        failLoad(generation, {WebViewError::kUrlDomain, WebViewError::kUnsupportedUrl, "unsupported address"});
        return;
    }
    fetch(url, generation, kMaxRedirects);
}

void WebView::fetch(const std::string& url, uint64_t generation, int redirectsLeft) {
    HttpRequest request = HttpRequest::get(url);
    request.followRedirects = false;
    std::weak_ptr<View> weak = weak_from_this();
    HttpClient::performAsync(std::move(request), [weak, generation, url, redirectsLeft](const HttpResponse& response) {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        if (!view) return;
        std::string location = response.header("Location");
        if (response.error.empty() && response.status >= 300 && response.status < 400 && !location.empty()) {
            view->followRedirect(generation, resolveLocation(url, location), redirectsLeft);
            return;
        }
        std::string error = response.error;
        if (error.empty() && !response.ok()) error = "HTTP status " + std::to_string(response.status);
        view->finishLoad(generation, response.status, response.body, error);
    });
}

void WebView::followRedirect(uint64_t generation, const std::string& location, int redirectsLeft) {
    if (generation != generation_) return;
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldStartLoad(*this, location, WebViewNavigationType::Other)) {
        // The delegate took the redirect over: the load stops here, as a page's does
        // when a policy decision interrupts it.
        if (generation != generation_) return;
        failLoad(generation,
                 {WebViewError::kWebKitDomain, WebViewError::kFrameLoadInterrupted, "Frame load interrupted"});
        return;
    }
    if (generation != generation_) return;
    if (!isHttpAddress(location)) {
        failLoad(generation, {WebViewError::kUrlDomain, WebViewError::kUnsupportedUrl, "unsupported address"});
        return;
    }
    if (redirectsLeft <= 0) {
        failLoad(generation, {WebViewError::kUrlDomain, WebViewError::kCannotLoad, "too many redirects"});
        return;
    }
    currentUrl_ = location;
    if (index_ >= 0 && size_t(index_) < history_.size()) history_[size_t(index_)] = location;
    fetch(location, generation, redirectsLeft - 1);
}

void WebView::finishLoad(uint64_t generation, int status, const std::string& body, const std::string& error) {
    if (generation != generation_) return;
    auto keep = weak_from_this().lock();
    loading_ = false;
    if (error.empty() && (status == 200 || (status > 200 && status < 300))) {
        showText(textFromHtml(body));
        if (delegate_) delegate_->didFinishLoad(*this);
        return;
    }
    int code = status == 0 ? WebViewError::kCannotLoad : WebViewError::kBadServerResponse;
    failLoad(generation, {WebViewError::kUrlDomain, code, error.empty() ? "load failed" : error});
}

void WebView::failLoad(uint64_t generation, const WebViewError& error) {
    if (generation != generation_) return;
    auto keep = weak_from_this().lock();
    loading_ = false;
    showText(currentUrl_);
    if (delegate_) delegate_->didFailLoadWithError(*this, error);
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    scripts_.push_back(script);
    return {};
}

void WebView::loadHTMLString(const std::string& html, const std::string& baseUrl) {
    auto keep = weak_from_this().lock();
    ++generation_;
    loading_ = false;
    currentUrl_ = baseUrl;
    if (delegate_) delegate_->didStartLoad(*this);
    showText(textFromHtml(html));
    if (delegate_) delegate_->didFinishLoad(*this);
}

} // namespace platform::ui
