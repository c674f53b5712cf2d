#include "tools/portal-stub/StubGraph.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/Url.h"
#include "tools/portal-stub/StubHttp.h"

#include <ctime>
#include <string>
#include <vector>

namespace portalstub {

namespace {

constexpr const char* kAppID = "000000000000000";

using Answer = std::pair<int, std::string>;

std::string tokenOf(const platform::Url& url) {
    return url.queryValue("access_token").value_or("");
}

std::string userOf(const std::string& token) {
    return token.rfind("stub-", 0) == 0 && token.size() > 5 ? token.substr(5) : std::string();
}

// One graph or REST call by its path and query ("me?access_token=...").
Answer single(const std::string& method, const std::string& target) {
    auto url = platform::Url::parse("http://stub/" + (target.rfind('/', 0) == 0 ? target.substr(1) : target));
    if (!url) return {400, R"({"error":{"code":100,"message":"bad request"}})"};
    const std::string path = url->path;
    const std::string user = userOf(tokenOf(*url));
    if (path == "/me") {
        if (user.empty()) return {400, R"({"error":{"code":190,"message":"invalid token"}})"};
        return {200, "{\"id\":\"" + user + "\",\"name\":\"sn" + user + "\"}"};
    }
    if (path == "/me/permissions") {
        if (user.empty()) return {400, R"({"error":{"code":190,"message":"invalid token"}})"};
        return {200, R"({"data":[{"installed":1,"email":1,"basic_info":1}]})"};
    }
    if (path == "/method/auth.extendSSOAccessToken") {
        if (user.empty()) return {400, R"({"error_code":190,"error_msg":"invalid token"})"};
        return {200, "{\"access_token\":\"stub-" + user +
                         "\",\"expires_at\":" + std::to_string(long(std::time(nullptr)) + 86400) + "}"};
    }
    if (path == std::string("/") + kAppID) return {200, R"({"supports_attribution":true})"};
    if (path == std::string("/") + kAppID + "/activities" && method == "POST") return {200, "true"};
    return {404, R"({"error":{"code":803,"message":"unknown path"}})"};
}

// The "batch" field of a multipart body.
std::string batchField(const std::string& body) {
    const std::string marker = "name=\"batch\"\r\n\r\n";
    size_t at = body.find(marker);
    if (at == std::string::npos) return {};
    at += marker.size();
    size_t end = body.find("\r\n--", at);
    return body.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

Answer batch(const StubHttp::Request& request) {
    auto entries = platform::parseJson(batchField(request.body));
    if (!entries || !entries->isArray()) return {400, R"({"error":{"code":100,"message":"no batch"}})"};
    platform::Value answers = platform::Value::emptyArray();
    for (auto& entry : entries->arrayValue()) {
        std::string relative = entry.get("relative_url").stringValue();
        std::string method = entry.get("method").stringValue();
        auto [status, body] = single(method, relative);
        platform::Value element = platform::Value::emptyDictionary();
        element.set("code", status);
        element.set("body", body);
        answers.append(element);
    }
    return {200, platform::toJson(answers)};
}

} // namespace

void installStubGraph(StubHttp& http) {
    auto byTarget = [](const StubHttp::Request& request) { return single(request.method, request.target); };
    const std::string app = std::string("/") + kAppID;
    for (const std::string& path : std::vector<std::string>{
             "/me", "/me/permissions", "/method/auth.extendSSOAccessToken", app, app + "/activities"})
        http.setHandler(path, byTarget);
    http.setHandler("/", [](const StubHttp::Request& request) {
        return request.method == "POST" ? batch(request) : Answer{404, R"({"error":{"code":803}})"};
    });
}

} // namespace portalstub
