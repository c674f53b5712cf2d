#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <cstdint>
#include <optional>
#include <string>

namespace socialnet {

// The library's diagnostic logger. A logger serves one logging behaviour and is
// active only when that behaviour was on when it was made; an inactive logger
// ignores every call. Entries go to the platform log as "SNSDKLog: ..." after the
// registered strings (access tokens) are masked and long entries cut to
// kMaxEntryLength characters. The class operations write one-shot and elapsed-time
// entries. One thread at a time (the session's) uses the class state.
class SNLogger {
public:
    static constexpr size_t kMaxEntryLength = 10000;
    static constexpr uint32_t kFirstSerialNumber = 1111;
    static constexpr size_t kOutstandingTagWarning = 1000;

    explicit SNLogger(std::string loggingBehavior);

    bool isActive() const { return isActive_; }
    const std::string& loggingBehavior() const { return loggingBehavior_; }
    // 0 for an inactive logger.
    uint32_t loggerSerialNumber() const { return loggerSerialNumber_; }
    // nullopt for an inactive logger.
    std::optional<std::string> contents() const;

    void setContents(const std::string& text);
    void appendString(const std::string& text);
    // printf-style.
    void appendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // "  key:\tvalue\n"; nothing for an empty value.
    void appendKey(const std::string& key, const std::string& value);
    // Writes the entry and starts an empty one.
    void emitToNSLog();

    // The class counter: returns it, then adds one.
    static uint32_t newSerialNumber();
    static void singleShotLogEntry(const std::string& behavior, const std::string& logEntry);
    static void singleShotLogEntryFormat(const std::string& behavior, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    static void registerCurrentTime(const std::string& behavior, uint64_t tag);
    // "<text><elapsed> msec" when a start time is recorded for the tag (which is then
    // forgotten); nothing otherwise.
    static void singleShotLogEntryTimestamp(const std::string& behavior, uint64_t tag, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    // Stored only while some behaviour is on; nullopt as replacement removes the entry.
    static void registerStringToReplace(const std::string& text, std::optional<std::string> replacement);

    // Registers every "access_token" text found in a parsed answer (also inside JSON
    // texts it holds, as batch bodies are) for masking, unless "include_access_tokens"
    // is on: an extension's new token must not reach the log.
    static void registerAccessTokensIn(const SNValue& value);

    // Restores the counter and empties both tables, so each test starts as a process does.
    static void resetClassStateForTesting();

private:
    bool isActive_;
    std::string loggingBehavior_;
    std::string internalContents_;
    uint32_t loggerSerialNumber_ = 0;
};

} // namespace socialnet
