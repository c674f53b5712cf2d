#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <string>

namespace socialnet {

// A request to the social network's graph or REST interface. For now only the two
// URL serialization operations, which need no request.
class SNRequest {
public:
    // serializeURL(base, params, "GET").
    static std::string serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params);
    // base + ("&" when base has a query, else "?") + "key=encoded value" pairs joined
    // by "&", in the dictionary's order. The "?" is written even with no pair. Images
    // and data cannot travel in a URL and are left out (logged for a GET).
    static std::string serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params,
                                    const std::string& httpMethod);
};

} // namespace socialnet
