#pragma once

#include "tools/portal-server/Sockets.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace portalstub {

// The stub's web pages: fixed texts by path on 127.0.0.1, one request per
// connection, 404 for any other path. Serves until destroyed.
class StubHttp {
public:
    // `port` 0 takes a free port. valid() is false when the port is taken.
    StubHttp(uint16_t port, std::map<std::string, std::string> pages);
    ~StubHttp();
    StubHttp(const StubHttp&) = delete;
    StubHttp& operator=(const StubHttp&) = delete;

    // GET `path` answers 302 with the Location the function gives (made for each request).
    void setRedirect(const std::string& path, std::function<std::string()> location);

    // Any method at `path` (matched without its query) answers with what the function
    // gives: a status and a "text/javascript" body. The request's body is read too.
    struct Request {
        std::string method;
        std::string target; // path with its query
        std::string body;
    };
    using Handler = std::function<std::pair<int, std::string>(const Request&)>;
    void setHandler(const std::string& path, Handler handler);

    bool valid() const { return listener_.valid(); }
    uint16_t port() const { return port_; }

private:
    void acceptLoop();
    void answer(int client);

    uint16_t port_ = 0;
    portalserver::Fd listener_;
    portalserver::StopSignal stop_;
    std::map<std::string, std::string> pages_;
    std::mutex redirectsMutex_;
    std::map<std::string, std::function<std::string()>> redirects_;
    std::map<std::string, Handler> handlers_;
    std::thread thread_;
};

} // namespace portalstub
