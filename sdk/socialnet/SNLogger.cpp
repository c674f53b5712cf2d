#include "sdk/socialnet/SNLogger.h"

#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace socialnet {

namespace {

struct ClassState {
    std::mutex mutex;
    uint32_t serialCounter = SNLogger::kFirstSerialNumber;
    // In registration order, which is the order the masks are applied in.
    std::vector<std::pair<std::string, std::string>> replacements;
    std::map<uint64_t, uint32_t> startTimes;
};

ClassState& classState() {
    static ClassState shared;
    return shared;
}

std::string formatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::string text(size_t(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(size_t(length));
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

void registerTokens(const SNValue& value, int depth) {
    if (depth > 32) return;
    if (value.isDictionary()) {
        auto& dictionary = value.dictionary();
        for (auto& key : dictionary->keys()) {
            SNValue item = dictionary->objectForKey(key);
            if (key.isString() && key.string() == "access_token" && item.isString() && !item.string().empty())
                SNLogger::registerStringToReplace(item.string(), std::string("ACCESS_TOKEN_REMOVED"));
            registerTokens(item, depth + 1);
        }
    } else if (value.isArray()) {
        for (auto& item : value.array()->allObjects())
            registerTokens(item, depth + 1);
    } else if (value.isString() && !value.string().empty() &&
               (value.string().front() == '{' || value.string().front() == '[')) {
        SNJSON json;
        if (auto inner = json.objectWithString(std::string_view(value.string()))) registerTokens(*inner, depth + 1);
    }
}

} // namespace

void SNLogger::registerAccessTokensIn(const SNValue& value) {
    if (SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorAccessTokens)) return;
    registerTokens(value, 0);
}

SNLogger::SNLogger(std::string loggingBehavior)
    : isActive_(SNSettings::isLoggingBehaviorOn(loggingBehavior)), loggingBehavior_(std::move(loggingBehavior)) {
    if (isActive_) loggerSerialNumber_ = newSerialNumber();
}

std::optional<std::string> SNLogger::contents() const {
    if (!isActive_) return std::nullopt;
    return internalContents_;
}

void SNLogger::setContents(const std::string& text) {
    if (isActive_) internalContents_ = text;
}

void SNLogger::appendString(const std::string& text) {
    if (isActive_) internalContents_ += text;
}

void SNLogger::appendFormat(const char* format, ...) {
    if (!isActive_) return;
    va_list args;
    va_start(args, format);
    internalContents_ += formatV(format, args);
    va_end(args);
}

void SNLogger::appendKey(const std::string& key, const std::string& value) {
    if (isActive_ && !value.empty()) internalContents_ += "  " + key + ":\t" + value + "\n";
}

void SNLogger::emitToNSLog() {
    if (!isActive_) return;
    std::string entry = internalContents_;
    {
        std::lock_guard lock(classState().mutex);
        for (auto& [from, to] : classState().replacements)
            replaceAll(entry, from, to);
    }
    // Characters, not bytes: an entry is never cut inside a UTF-8 sequence.
    size_t characters = 0;
    size_t cut = entry.size();
    for (size_t i = 0; i < entry.size(); ++i) {
        if ((static_cast<unsigned char>(entry[i]) & 0xC0) == 0x80) continue;
        if (characters == kMaxEntryLength) {
            cut = i;
            break;
        }
        ++characters;
    }
    if (cut == entry.size())
        platform::log("SNSDKLog: " + entry);
    else
        platform::log("SNSDKLog: TRUNCATED: " + entry.substr(0, cut));
    internalContents_.clear();
}

uint32_t SNLogger::newSerialNumber() {
    std::lock_guard lock(classState().mutex);
    return classState().serialCounter++;
}

void SNLogger::singleShotLogEntry(const std::string& behavior, const std::string& logEntry) {
    if (!SNSettings::isLoggingBehaviorOn(behavior)) return;
    SNLogger logger(behavior);
    logger.appendString(logEntry);
    logger.emitToNSLog();
}

void SNLogger::singleShotLogEntryFormat(const std::string& behavior, const char* format, ...) {
    if (!SNSettings::isLoggingBehaviorOn(behavior)) return;
    va_list args;
    va_start(args, format);
    std::string entry = formatV(format, args);
    va_end(args);
    singleShotLogEntry(behavior, entry);
}

void SNLogger::registerCurrentTime(const std::string& behavior, uint64_t tag) {
    if (!SNSettings::isLoggingBehaviorOn(behavior)) return;
    bool tooMany;
    {
        std::lock_guard lock(classState().mutex);
        tooMany = classState().startTimes.size() >= kOutstandingTagWarning;
        classState().startTimes[tag] = SNUtility::currentTimeInMilliseconds();
    }
    if (tooMany)
        platform::log("SNConditionalLog: Unexpectedly large number of outstanding perf logging start times, "
                      "something is likely wrong.");
}

void SNLogger::singleShotLogEntryTimestamp(const std::string& behavior, uint64_t tag, const char* format, ...) {
    if (!SNSettings::isLoggingBehaviorOn(behavior)) return;
    va_list args;
    va_start(args, format);
    std::string text = formatV(format, args);
    va_end(args);
    uint32_t start;
    {
        std::lock_guard lock(classState().mutex);
        auto found = classState().startTimes.find(tag);
        if (found == classState().startTimes.end()) return;
        start = found->second;
        classState().startTimes.erase(found);
    }
    uint32_t elapsed = SNUtility::currentTimeInMilliseconds() - start;
    singleShotLogEntry(behavior, text + std::to_string(elapsed) + " msec");
}

void SNLogger::registerStringToReplace(const std::string& text, std::optional<std::string> replacement) {
    auto behaviors = SNSettings::loggingBehavior();
    if (!behaviors || behaviors->empty()) return;
    std::lock_guard lock(classState().mutex);
    auto& table = classState().replacements;
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it->first != text) continue;
        if (replacement)
            it->second = *replacement;
        else
            table.erase(it);
        return;
    }
    if (replacement) table.emplace_back(text, *replacement);
}

void SNLogger::resetClassStateForTesting() {
    std::lock_guard lock(classState().mutex);
    classState().serialCounter = kFirstSerialNumber;
    classState().replacements.clear();
    classState().startTimes.clear();
}

} // namespace socialnet
