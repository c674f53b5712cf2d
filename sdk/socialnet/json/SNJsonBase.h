#pragma once

#include "sdk/socialnet/json/SNError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace socialnet {

// What the JSON reader and writer share: the trace of errors of the last operation
// (innermost first, each pointing at its predecessor as its underlying error) and
// the nesting limit. One instance serves one thread at a time.
class SNJsonBase {
public:
    static constexpr const char* kErrorDomain = "org.quelmarin.JSON.ErrorDomain";
    static constexpr uint32_t kDefaultMaxDepth = 512;

    enum Code : int32_t {
        kUnsupported = 1,
        kParseNumber = 2,
        kParse = 3,
        kFragment = 4,
        kControlCharacter = 5,
        kUnicode = 6,
        kDepth = 7,
        kEscape = 8,
        kTrailingComma = 9,
        kTrailingGarbage = 10,
        kEndOfInput = 11,
        kInput = 12,
    };

    virtual ~SNJsonBase() = default;

    // Empty after a clear or a successful operation.
    const std::vector<SNErrorPtr>& errorTrace() const { return errorTrace_; }
    // 0 means no limit.
    uint32_t maxDepth() const { return maxDepth_; }
    void setMaxDepth(uint32_t maxDepth) { maxDepth_ = maxDepth; }

    void addErrorWithCode(int32_t code, std::string description);
    void clearErrorTrace() { errorTrace_.clear(); }

protected:
    // Steps into a container; false (with "Nested too deep" in the trace) past the limit.
    bool enterContainer();
    void leaveContainer() { --depth_; }

    uint32_t depth_ = 0;

    friend class SNJSON;
    std::vector<SNErrorPtr> errorTrace_;

private:
    uint32_t maxDepth_ = kDefaultMaxDepth;
};

} // namespace socialnet
