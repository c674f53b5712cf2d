#pragma once

#include "tests/support/TestHttpServer.h"

#include <string>
#include <vector>

namespace kavo::test {

// The social network as tests play it, on a TestHttpServer. The login host: GET
// /dialog/oauth answers at once with a redirect to the finish address the test
// chose (a token, a cancel or an error), as the real page does once the person
// has signed in. The same server stands for two hosts by name: "127.0.0.1" for
// the graph host and "localhost" for an image content-delivery host (a test names
// "localhost" as a content-delivery suffix).
class FakeSocialNetwork {
public:
    explicit FakeSocialNetwork(TestHttpServer& http) : http_(http) {}

    // "http://127.0.0.1:<port>": what the bundle's "SocialNetDialogURL" names.
    std::string dialogBase() const { return "http://127.0.0.1:" + std::to_string(http_.port()); }

    void finishWithToken(const std::string& token, int expiresIn);
    void finishWithCancel();
    void finishWithError(int code, const std::string& message);
    // The page itself (200) where a person would type: the dialog stays up.
    void showLoginPage();
    // "http://localhost:<port>": a content-delivery host.
    std::string cdnBase() const { return "http://localhost:" + std::to_string(http_.port()); }
    // "http://127.0.0.1:<port>": the graph host.
    std::string graphBase() const { return dialogBase(); }
    // The bytes as "image/png" at the path.
    void serveImage(const std::string& path, const std::string& bytes);
    // A body of that MIME type at the path.
    void serveBody(const std::string& path, const std::string& mimeType, const std::string& body, int status = 200);
    // 302 from the path to the location (absolute, or a path on the same host).
    void serveRedirect(const std::string& path, const std::string& location);
    // One part of a multipart form body: its name, its file name when it is a file,
    // its type line when given, and its bytes.
    struct FormPart {
        std::string name;
        std::string fileName;
        std::string contentType;
        std::string content;
    };
    // The parts of a body the library sent (boundary taken from the first line);
    // empty for an empty or malformed body.
    static std::vector<FormPart> readForm(const std::string& body);
    // The graph host's answer at the path: a JSON text (or any text) with its status.
    void answerGraph(const std::string& path, const std::string& body, int status = 200);
    // Paths (with any query) of every request received, in order.
    std::vector<std::string> requestedPaths() const;
    // Requests the login page received.
    size_t loginPageRequests() const;

private:
    void redirectTo(const std::string& location);
    TestHttpServer& http_;
};

} // namespace kavo::test
