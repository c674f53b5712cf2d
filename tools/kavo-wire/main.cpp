// kavo-wire: the wire protocol by hand.
//   kavo-wire encrypt KEY HEX      the enciphered body of HEX under KEY
//   kavo-wire decrypt KEY HEX      the plain bytes of an enciphered body
//   kavo-wire frame KEY CMD HEX    the whole frame of command CMD with body HEX
//   kavo-wire probe HOST:PORT [CMD:HEX ...]
//                                  connects, sends the messages, prints what comes back

#include "net/FrameReader.h"
#include "net/MobileClient.h"
#include "net/TEA.h"
#include "platform/runtime/RunLoop.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

int usage() {
    std::fprintf(stderr, "usage:\n"
                         "  kavo-wire encrypt KEY HEX\n"
                         "  kavo-wire decrypt KEY HEX\n"
                         "  kavo-wire frame KEY CMD HEX\n"
                         "  kavo-wire probe HOST:PORT [CMD:HEX ...]\n"
                         "KEY is a 64-bit signed integer, decimal or 0x-hex; HEX may be empty.\n");
    return 2;
}

std::optional<Bytes> parseHex(const std::string& text) {
    if (text.size() % 2 != 0) return std::nullopt;
    Bytes out;
    for (size_t i = 0; i < text.size(); i += 2) {
        char pair[3] = {text[i], text[i + 1], 0};
        char* end = nullptr;
        if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || !std::isxdigit(static_cast<unsigned char>(pair[1])))
            return std::nullopt;
        out.push_back(static_cast<uint8_t>(std::strtoul(pair, &end, 16)));
    }
    return out;
}

std::string toHex(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// Decimal or 0x-hex; a 0x value may use all 64 bits (0xffffffffffffffff is -1).
std::optional<int64_t> parseKey(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    bool negative = text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    int64_t value = 0;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        uint64_t u = std::strtoull(digits.c_str() + 2, &end, 16);
        if (errno || *end || digits.size() == 2) return std::nullopt;
        value = static_cast<int64_t>(negative ? (~u + 1) : u);
    } else {
        value = std::strtoll(text.c_str(), &end, 10);
        if (errno || *end || end == text.c_str()) return std::nullopt;
    }
    return value;
}

std::optional<int16_t> parseCommand(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (*end || value < -32768 || value > 65535) return std::nullopt;
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}

// Prints what the connection reports and wakes the main thread.
class ProbeListener : public kavo::IMessageListener {
public:
    void onConnectionOK() override { event("# connected", false, true); }
    void onConnectionFail() override { event("# failed", true, false); }
    void onDisconnected() override { event("# disconnected", true, false); }
    void onMessage(kavo::Message& message) override {
        uint16_t cmd = static_cast<uint16_t>(message.commandId());
        event(std::to_string(cmd) + " " + toHex(message.data()), false, false);
    }

    // Waits until the connection ends or `quiet` seconds pass without news.
    void waitUntilQuiet(double quiet) {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            auto seen = events_;
            bool news = changed_.wait_for(lock, std::chrono::duration<double>(quiet),
                                          [&] { return ended_ || events_ != seen; });
            if (ended_ || !news) return;
        }
    }
    bool connected() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return connected_;
    }

private:
    void event(const std::string& line, bool end, bool connected) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        ++events_;
        ended_ = ended_ || end;
        connected_ = connected_ || connected;
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    long events_ = 0;
    bool ended_ = false;
    bool connected_ = false;
};

int probe(const std::vector<std::string>& args) {
    const std::string& target = args[0];
    auto colon = target.rfind(':');
    if (colon == std::string::npos || colon == 0) return usage();
    std::string host = target.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    auto port = parseCommand(target.substr(colon + 1));
    long portNumber = std::strtol(target.c_str() + colon + 1, nullptr, 10);
    if (!port || portNumber <= 0 || portNumber > 65535) return usage();

    std::vector<kavo::Message> messages;
    for (size_t i = 1; i < args.size(); ++i) {
        auto sep = args[i].find(':');
        if (sep == std::string::npos) return usage();
        auto cmd = parseCommand(args[i].substr(0, sep));
        auto body = parseHex(args[i].substr(sep + 1));
        if (!cmd || !body) return usage();
        messages.emplace_back(*cmd, *body);
    }

    // This thread is the main thread for anything that hops to it.
    platform::RunLoop::main().bindToCurrentThread();
    ProbeListener listener;
    kavo::MobileClient client(&listener);
    for (auto& m : messages)
        client.sendMessage(m);
    if (!client.connectToHost(host, static_cast<uint16_t>(portNumber))) {
        std::printf("# failed\n");
        return 1;
    }
    listener.waitUntilQuiet(5.0);
    client.manualDisconnect();
    return listener.connected() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string command = args[0];
    args.erase(args.begin());

    if (command == "probe") return args.empty() ? usage() : probe(args);

    if ((command == "encrypt" || command == "decrypt") && args.size() == 2) {
        auto key = parseKey(args[0]);
        auto bytes = parseHex(args[1]);
        if (!key || !bytes) return usage();
        kavo::TEA tea(*key);
        if (command == "encrypt") {
            std::printf("%s\n", toHex(tea.encrypt(*bytes)).c_str());
            return 0;
        }
        auto plain = tea.decrypt(*bytes);
        if (!plain) {
            std::fprintf(stderr, "kavo-wire: the body does not decipher (not 4 + 8k bytes, or its length is beyond "
                                 "its blocks)\n");
            return 1;
        }
        std::printf("%s\n", toHex(*plain).c_str());
        return 0;
    }

    if (command == "frame" && args.size() == 3) {
        auto key = parseKey(args[0]);
        auto cmd = parseCommand(args[1]);
        auto body = parseHex(args[2]);
        if (!key || !cmd || !body) return usage();
        std::printf("%s\n", toHex(kavo::encodeFrame(kavo::TEA(*key), kavo::Message(*cmd, *body))).c_str());
        return 0;
    }
    return usage();
}
