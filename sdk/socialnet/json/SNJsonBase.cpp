#include "sdk/socialnet/json/SNJsonBase.h"

namespace socialnet {

void SNJsonBase::addErrorWithCode(int32_t code, std::string description) {
    auto error = std::make_shared<SNError>();
    error->domain = kErrorDomain;
    error->code = code;
    error->message = std::move(description);
    if (!errorTrace_.empty()) error->underlying = errorTrace_.back();
    errorTrace_.push_back(std::move(error));
}

bool SNJsonBase::enterContainer() {
    // Counted also without a limit: the writer indents by it.
    ++depth_;
    if (maxDepth_ != 0 && depth_ > maxDepth_) {
        addErrorWithCode(kDepth, "Nested too deep");
        return false;
    }
    return true;
}

} // namespace socialnet
