#pragma once

#include "sdk/socialnet/SNRequestConnection.h"
#include "tests/socialnet/SNSessionTestSupport.h"
#include "tests/support/FakeSocialNetwork.h"
#include "tests/support/TestHttpServer.h"

#include <memory>
#include <string>
#include <vector>

namespace socialnet::test {

// What one completion handler heard.
struct Outcome {
    SNValue result;
    SNErrorPtr error;
};

// A session fixture whose bundle sends graph and REST requests to a FakeSocialNetwork
// on 127.0.0.1, with a fresh shared response cache in the data folder.
class RequestFixture : public SessionFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A session opened with the cached token; one from the network's own login is due
    // for a token extension at once.
    std::shared_ptr<SNSession> openSession(const std::string& token = "TOKEN-1", bool dueForExtension = false,
                                           int loginType = 2);
    SNRequest::CompletionHandler recordInto(std::vector<Outcome>& outcomes);
    // Runs the main loop until the count of outcomes is reached (real time, 10 s at most).
    [[nodiscard]] bool waitFor(const std::vector<Outcome>& outcomes, size_t count);
    // Sends the paths as one connection (a batch for more than one) and waits for every handler.
    std::vector<Outcome> send(const std::shared_ptr<SNSession>& session, const std::vector<std::string>& paths);
    // "key=value" pairs of the last request's query, decoded.
    std::vector<std::pair<std::string, std::string>> lastQuery() const;

    kavo::test::TestHttpServer http_;
    kavo::test::FakeSocialNetwork network_{http_};
    std::string bundle_;
    std::string previousBundle_;
};

} // namespace socialnet::test
