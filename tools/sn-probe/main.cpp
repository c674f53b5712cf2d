// sn-probe: tries the social-network library's text formats by hand.
//   sn-probe json [--pretty] [--sort] FILE|-   parse, then print the written text or the error trace
//   sn-probe query TEXT                        the decoded pairs of a query, one "name<TAB>value" a line
//   sn-probe encode TEXT | decode TEXT         the query-value escapes
//   sn-probe multipart KEY=VALUE...            the request body, CR and LF shown as <CR> and <LF>

#include "sdk/socialnet/SNRequestBody.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <cstdio>
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
                 "       sn-probe multipart KEY=VALUE...\n";
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "json") return json(args);
    if (command == "multipart") return multipart(args);
    if (args.size() != 1) return usage();
    if (command == "query") return query(args[0]);
    if (command == "encode") {
        std::cout << socialnet::SNUtility::stringByURLEncodingString(args[0]) << "\n";
        return 0;
    }
    if (command == "decode") return decode(args[0]);
    return usage();
}
