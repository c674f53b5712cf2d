#include "tests/support/FakeSocialNetwork.h"

namespace kavo::test {

void FakeSocialNetwork::redirectTo(const std::string& location) {
    http_.serveAnswer("/dialog/oauth", {302, {"Location: " + location}, ""});
}

void FakeSocialNetwork::finishWithToken(const std::string& token, int expiresIn) {
    redirectTo("snconnect://success#access_token=" + token + "&expires_in=" + std::to_string(expiresIn));
}

void FakeSocialNetwork::finishWithCancel() {
    redirectTo("snconnect://cancel");
}

void FakeSocialNetwork::finishWithError(int code, const std::string& message) {
    redirectTo("snconnect://cancel?error_code=" + std::to_string(code) + "&error_msg=" + message);
}

void FakeSocialNetwork::showLoginPage() {
    http_.serveAnswer("/dialog/oauth",
                      {200, {}, "<html><body><h1>Log in</h1><p>Email or phone</p><p>Password</p></body></html>"});
}

void FakeSocialNetwork::serveImage(const std::string& path, const std::string& bytes) {
    serveBody(path, "image/png", bytes);
}

void FakeSocialNetwork::serveBody(const std::string& path, const std::string& mimeType, const std::string& body,
                                  int status) {
    http_.serveAnswer(path, {status, {"Content-Type: " + mimeType}, body});
}

void FakeSocialNetwork::serveRedirect(const std::string& path, const std::string& location) {
    http_.serveAnswer(path, {302, {"Location: " + location}, ""});
}

void FakeSocialNetwork::answerGraph(const std::string& path, const std::string& body, int status) {
    serveBody(path, "text/javascript; charset=UTF-8", body, status);
}

std::vector<FakeSocialNetwork::FormPart> FakeSocialNetwork::readForm(const std::string& body) {
    std::vector<FormPart> parts;
    size_t lineEnd = body.find("\r\n");
    if (body.rfind("--", 0) != 0 || lineEnd == std::string::npos) return parts;
    const std::string delimiter = "\r\n" + body.substr(0, lineEnd) + "\r\n";
    size_t at = lineEnd + 2;
    while (at < body.size()) {
        size_t headersEnd = body.find("\r\n\r\n", at);
        if (headersEnd == std::string::npos) break;
        size_t next = body.find(delimiter, headersEnd + 4);
        if (next == std::string::npos) break;
        FormPart part;
        std::string headers = body.substr(at, headersEnd - at);
        auto quoted = [&](const std::string& label) {
            size_t from = headers.find(label + "=\"");
            if (from == std::string::npos) return std::string();
            from += label.size() + 2;
            return headers.substr(from, headers.find('"', from) - from);
        };
        part.name = quoted("name");
        part.fileName = quoted("filename");
        if (size_t type = headers.find("Content-Type: "); type != std::string::npos)
            part.contentType = headers.substr(type + 14, headers.find("\r\n", type) - type - 14);
        part.content = body.substr(headersEnd + 4, next - headersEnd - 4);
        parts.push_back(std::move(part));
        at = next + delimiter.size();
    }
    return parts;
}

std::vector<std::string> FakeSocialNetwork::requestedPaths() const {
    std::vector<std::string> paths;
    for (auto& request : http_.requests())
        paths.push_back(request.path);
    return paths;
}

size_t FakeSocialNetwork::loginPageRequests() const {
    size_t count = 0;
    for (auto& request : http_.requests())
        if (request.path.rfind("/dialog/oauth", 0) == 0) ++count;
    return count;
}

} // namespace kavo::test
