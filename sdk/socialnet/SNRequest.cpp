#include "sdk/socialnet/SNRequest.h"

#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNImageValue.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNDictionary.h"

namespace socialnet {

std::string SNRequest::serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params) {
    return serializeURL(baseUrl, params, "GET");
}

std::string SNRequest::serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params,
                                    const std::string& httpMethod) {
    auto parsed = platform::Url::parse(baseUrl);
    bool hasQuery = parsed ? parsed->hasQuery : baseUrl.find('?') != std::string::npos;
    std::string pairs;
    if (params) {
        for (auto& key : params->keys()) {
            SNValue value = params->objectForKey(key);
            if (SNImageValue::from(value) || value.kind() == SNValue::Kind::Data) {
                if (httpMethod == "GET") platform::log("can not use GET to upload a file");
                continue;
            }
            if (!pairs.empty()) pairs += '&';
            pairs += key.description() + "=" + SNUtility::stringByURLEncodingString(value.description());
        }
    }
    return baseUrl + (hasQuery ? "&" : "?") + pairs;
}

} // namespace socialnet
