#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace socialnet {

struct SNError;
using SNErrorPtr = std::shared_ptr<const SNError>;

// A failure the library reports: a domain, a code, a readable description and the
// errors behind it. `underlying` chains a trace (each error points at the one it
// grew from); `inner` is the error of another layer that caused this one. Other
// entries of the error's information are kept as texts under their keys.
struct SNError {
    std::string domain;
    int64_t code = 0;
    std::string message; // the localized description
    std::vector<std::pair<std::string, std::string>> userInfo;
    SNErrorPtr underlying;
    SNErrorPtr inner;
    // What the server answered, when the error came from an answer (request errors
    // keep it under "com.socialnet.sdk:ParsedJSONResponseKey"); null otherwise.
    SNValue parsedJSONResponse;

    bool empty() const { return domain.empty() && code == 0 && message.empty(); }
    // The value under the key, or empty.
    std::string info(const std::string& key) const;
    bool hasInfo(const std::string& key) const;
};

} // namespace socialnet
