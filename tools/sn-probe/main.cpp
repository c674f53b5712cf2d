// sn-probe: tries the social-network library's text formats by hand.
//   sn-probe json [--pretty] [--sort] FILE|-   parse, then print the written text or the error trace
//   sn-probe query TEXT                        the decoded pairs of a query, one "name<TAB>value" a line
//   sn-probe encode TEXT | decode TEXT         the query-value escapes
//   sn-probe multipart KEY=VALUE...            the request body, CR and LF shown as <CR> and <LF>
//   sn-probe fetch URL [--skip-cache]          one load through the response cache of the data folder:
//                                              status, MIME type, size, whether the cache answered,
//                                              then the cache's index rows
//   sn-probe graph [--token T] PATH...         one request (one path) or one batch (several) through the
//                                              request connection; each handler's result or error
//   sn-probe install [--attribution A] [--advertiser-id X]
//                                              the install announcement: requests made, date stored

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/SqliteDatabase.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/AdvertisingId.h"
#include "platform/services/Pasteboard.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNRequestBody.h"
#include "sdk/socialnet/SNRequestConnection.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNURLConnection.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

int usage() {
    std::cerr << "usage: sn-probe json [--pretty] [--sort] FILE|-\n"
                 "       sn-probe query TEXT | encode TEXT | decode TEXT\n"
                 "       sn-probe multipart KEY=VALUE...\n"
                 "       sn-probe fetch URL [--skip-cache]\n"
                 "       sn-probe graph [--token T] PATH...\n"
                 "       sn-probe install [--attribution A] [--advertiser-id X]\n";
    return 2;
}

int json(const std::vector<std::string>& args) {
    socialnet::SNJSON json;
    std::string source;
    for (auto& arg : args) {
        if (arg == "--pretty")
            json.setHumanReadable(true);
        else if (arg == "--sort")
            json.setSortKeys(true);
        else
            source = arg;
    }
    if (source.empty()) return usage();
    std::string text;
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) {
            std::cerr << "sn-probe: cannot read " << source << "\n";
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(file), {});
    }
    auto value = json.objectWithString(text);
    auto written = value ? json.stringWithObject(*value) : std::nullopt;
    if (!written) {
        for (auto& error : json.errorTrace())
            std::cout << error->message << "\n";
        return 1;
    }
    std::cout << *written << "\n";
    return 0;
}

int query(const std::string& text) {
    auto pairs = socialnet::SNUtility::dictionaryByParsingURLQueryPart(text);
    for (auto& key : pairs->keys())
        std::cout << key.string() << "\t" << pairs->objectForKey(key).string() << "\n";
    return 0;
}

int decode(const std::string& text) {
    auto decoded = socialnet::SNUtility::stringByURLDecodingString(text);
    if (!decoded) {
        std::cerr << "sn-probe: not a valid escape or not UTF-8\n";
        return 1;
    }
    std::cout << *decoded << "\n";
    return 0;
}

int multipart(const std::vector<std::string>& args) {
    socialnet::SNRequestBody body;
    for (auto& arg : args) {
        auto eq = arg.find('=');
        if (eq == std::string::npos) return usage();
        body.appendWithKeyFormValue(arg.substr(0, eq), arg.substr(eq + 1), nullptr);
    }
    std::cout << "Content-Type: " << socialnet::SNRequestBody::mimeContentType() << "\n";
    for (uint8_t byte : body.data()) {
        if (byte == '\r')
            std::cout << "<CR>";
        else if (byte == '\n')
            std::cout << "<LF>\n";
        else
            std::cout << char(byte);
    }
    std::cout << "(" << body.data().size() << " bytes)\n";
    return 0;
}

void printIndexRows(const std::string& folder) {
    platform::SqliteDatabase db;
    if (!db.open(platform::joinPath(folder, "cache.db"))) return;
    auto select = db.prepare("SELECT uuid, key, file_size FROM cache_index ORDER BY access_time");
    std::cout << "index rows (uuid, key, size):\n";
    while (select.step() == platform::SqliteDatabase::kRow)
        std::cout << "  " << select.columnText(0) << "  " << select.columnText(1) << "  " << select.columnInt(2)
                  << "\n";
}

void useBundle() {
    // The shipped bundle names the hosts.
    const char* bundle = std::getenv("KAVO_BUNDLE");
    platform::Bundle::main().setMainPath(bundle ? bundle : SN_PROBE_BUNDLE);
    platform::RunLoop::main().bindToCurrentThread();
}

std::string errorText(const socialnet::SNErrorPtr& error) {
    std::string text = error->domain + " " + std::to_string(error->code);
    for (auto& [key, value] : error->userInfo)
        text += "\n    " + key + ": " + value;
    if (!error->message.empty()) text += "\n    message: " + error->message;
    return text;
}

// Requests without a session carry the token as a plain parameter.
int graph(const std::vector<std::string>& args) {
    std::optional<std::string> token;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--token" && i + 1 < args.size())
            token = args[++i];
        else
            paths.push_back(args[i]);
    }
    if (paths.empty()) return usage();
    useBundle();
    socialnet::SNSettings::setShouldAutoPublishInstall(false);
    auto connection = std::make_shared<socialnet::SNRequestConnection>();
    size_t done = 0;
    for (auto& path : paths) {
        auto parameters = socialnet::SNDictionary::make();
        if (token) parameters->setObject(*token, "access_token");
        connection->addRequest(std::make_shared<socialnet::SNRequest>(nullptr, path, parameters),
                               [&done, path](socialnet::SNRequestConnection&, const socialnet::SNValue& result,
                                             const socialnet::SNErrorPtr& error) {
                                   ++done;
                                   if (error)
                                       std::cout << path << ": error " << errorText(error) << "\n";
                                   else
                                       std::cout << path << ": " << result.description() << "\n";
                               });
    }
    std::cout << (paths.size() > 1 ? "one batch of " + std::to_string(paths.size()) : std::string("one request"))
              << " to " << connection->urlRequest().url << "\n";
    connection->start();
    return platform::RunLoop::main().runUntil([&] { return done == paths.size(); }, 30) ? 0 : 1;
}

int install(const std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--attribution")
            platform::Pasteboard::named("sn_app_attribution").setString(args[i + 1]);
        else if (args[i] == "--advertiser-id")
            platform::AdvertisingId::setIdentifierForTesting(args[i + 1]);
        else
            return usage();
    }
    useBundle();
    std::string appID = platform::Bundle::main().objectForInfoKey("SocialNetAppID").stringValue();
    socialnet::SNSession::setDefaultAppID(appID);
    socialnet::SNSettings::setLoggingBehavior(socialnet::SNSettings::Behaviors{"sn_requests"});
    socialnet::SNSettings::autoPublishInstall(appID);
    // The announcement waits 0.1 s, then makes at most two requests; the date is stored once
    // they are answered (an announcement that fails stores none: 3 s are given to it).
    const std::string key = "com.socialnet.sdk:lastAttributionPing" + appID;
    const bool dated = platform::RunLoop::main().runUntil(
        [&] { return !platform::UserDefaults::standard().objectForKey(key).isNull(); }, 3);
    auto stored = platform::UserDefaults::standard().objectForKey(key);
    if (!dated) std::cout << "no date stored within 3 s\n";
    std::cout << "stored date: " << (stored.isNull() ? std::string("none") : std::to_string(stored.dateValue()))
              << "\n";
    return 0;
}

int fetch(const std::vector<std::string>& args) {
    std::string url;
    bool skip = false;
    for (auto& arg : args) {
        if (arg == "--skip-cache")
            skip = true;
        else
            url = arg;
    }
    if (url.empty()) return usage();
    useBundle();
    bool done = false;
    int result = 0;
    auto connection = socialnet::SNURLConnection::initWithRequest(
        platform::HttpRequest::get(url), skip,
        [&](socialnet::SNURLConnection&, const socialnet::SNErrorPtr& error,
            const std::optional<socialnet::SNURLResponse>& response, const std::optional<std::string>& data) {
            done = true;
            if (error) {
                std::cout << "error: " << error->domain << " " << error->code << " " << error->message << "\n";
                result = 1;
                return;
            }
            // A cache answer has no response, or one made up with no status.
            bool fromCache = !response || response->statusCode == 0;
            std::cout << "status: " << (response ? response->statusCode : 0) << "\n"
                      << "MIME type: " << (response ? response->mimeType : std::string("-")) << "\n"
                      << "size: " << (data ? data->size() : 0) << "\n"
                      << "from cache: " << (fromCache ? "yes" : "no") << "\n";
        });
    if (!platform::RunLoop::main().runUntil([&] { return done; }, 30)) {
        std::cout << "no answer within 30 s\n";
        connection->cancel();
        result = 1;
    }
    auto& cache = socialnet::SNDataDiskCache::sharedCache();
    cache.waitUntilIdle();
    printIndexRows(cache.dataCachePath());
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "json") return json(args);
    if (command == "multipart") return multipart(args);
    if (command == "fetch") return fetch(args);
    if (command == "graph") return graph(args);
    if (command == "install") return install(args);
    if (args.size() != 1) return usage();
    if (command == "query") return query(args[0]);
    if (command == "encode") {
        std::cout << socialnet::SNUtility::stringByURLEncodingString(args[0]) << "\n";
        return 0;
    }
    if (command == "decode") return decode(args[0]);
    return usage();
}
