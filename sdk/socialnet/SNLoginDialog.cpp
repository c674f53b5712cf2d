#include "sdk/socialnet/SNLoginDialog.h"

#include "platform/foundation/Value.h"
#include "sdk/socialnet/SNSession.h"

namespace socialnet {

SNLoginDialog::SNLoginDialog(std::string url, SNDictionaryPtr loginParams, SNLoginDialogDelegate* loginDelegate)
    : SNDialog(std::move(url), std::move(loginParams), false, nullptr), loginDelegate_(loginDelegate) {}

void SNLoginDialog::dialogDidSucceed(const std::string& url) {
    auto token = getStringFromUrl(url, "access_token=");
    auto lifetime = getStringFromUrl(url, "expires_in=");
    std::optional<double> expiry;
    if (lifetime) {
        int64_t seconds = platform::parseLeadingInteger(*lifetime);
        expiry = seconds == 0 ? SNSession::kDistantFuture : SNSession::now() + double(seconds);
    }
    if (!token || token->empty()) {
        dialogDidCancel(url);
        return;
    }
    auto delegate = loginDelegate_;
    loginDelegate_ = nullptr;
    if (delegate) delegate->snDialogLogin(*token, expiry);
    dismissWithSuccess(true, true);
}

void SNLoginDialog::dialogDidCancel(const std::optional<std::string>&) {
    dismissWithSuccess(false, true);
    auto delegate = loginDelegate_;
    loginDelegate_ = nullptr;
    if (delegate) delegate->snDialogNotLogin(true);
}

void SNLoginDialog::dismissWithError(const SNError& error, bool animated) {
    SNDialog::dismissWithError(error, animated);
    auto delegate = loginDelegate_;
    loginDelegate_ = nullptr;
    if (delegate) delegate->snDialogNotLogin(false);
}

} // namespace socialnet
