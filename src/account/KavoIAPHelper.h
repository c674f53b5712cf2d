#pragma once

#include "account/IAPHelper.h"

namespace kavo {

// The process-wide purchase helper; the launch makes it the default payment
// queue's observer.
class KavoIAPHelper : public IAPHelper {
public:
    static KavoIAPHelper& sharedHelper();

private:
    KavoIAPHelper() = default;
};

} // namespace kavo
