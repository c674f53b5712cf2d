// sn-probe: tries the social-network library's text formats by hand.
//   sn-probe json [--pretty] [--sort] FILE|-   parse, then print the written text or the error trace
//   sn-probe query TEXT                        the decoded pairs of a query, one "name<TAB>value" a line
//   sn-probe encode TEXT | decode TEXT         the query-value escapes
//   sn-probe multipart KEY=VALUE...            the request body, CR and LF shown as <CR> and <LF>
//   sn-probe fetch URL [--skip-cache]          one load through the response cache of the data folder:
//                                              status, MIME type, size, whether the cache answered,
//                                              then the cache's index rows

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/RunLoop.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNRequestBody.h"
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
                 "       sn-probe fetch URL [--skip-cache]\n";
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
    // The shipped bundle names the content-delivery hosts.
    if (const char* bundle = std::getenv("KAVO_BUNDLE")) {
        platform::Bundle::main().setMainPath(bundle);
    } else {
        platform::Bundle::main().setMainPath(SN_PROBE_BUNDLE);
    }
    platform::RunLoop::main().bindToCurrentThread();
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
    platform::RunLoop::main().runUntil([&] { return done; }, 30);
    if (!done) {
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
    if (args.size() != 1) return usage();
    if (command == "query") return query(args[0]);
    if (command == "encode") {
        std::cout << socialnet::SNUtility::stringByURLEncodingString(args[0]) << "\n";
        return 0;
    }
    if (command == "decode") return decode(args[0]);
    return usage();
}
