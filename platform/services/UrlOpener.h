#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Opens addresses outside the client. Web pages (http, https) go to the desktop's
// browser when there is one; without a desktop the request is logged and counts as
// done. This machine cannot dial: "tel:" and "telprompt:" (and any other scheme)
// cannot be opened. Every call is recorded for tests.
class UrlOpener {
public:
    struct Record {
        std::string url;
        bool opened = false;          // what openURL answered
        bool handedToBrowser = false; // a browser process was started
    };

    static bool canOpenURL(const std::string& url);
    static bool openURL(const std::string& url);
    // Opens the address as openURL does and answers whether it reached something that shows
    // it: a web page a browser took. Without a browser, and for an address this machine
    // cannot open, false (where openURL counts a web page as done), so that the caller can
    // tell the player.
    static bool show(const std::string& url);

    static std::vector<Record> opened();
    static void clearRecord();

    // Replaces the browser launch (tests pass a function that only records, so no
    // browser window appears on a developer's desktop). An empty function restores
    // the real launch. The function answers whether a browser was started.
    static void setBrowserLauncher(std::function<bool(const std::string&)> launcher);
};

} // namespace platform
