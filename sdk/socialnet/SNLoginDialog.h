#pragma once

#include "sdk/socialnet/SNDialog.h"

#include <optional>
#include <string>

namespace socialnet {

// The session's side of the inline login.
class SNLoginDialogDelegate {
public:
    virtual ~SNLoginDialogDelegate() = default;
    // Expiry in seconds since 1970, or nullopt when the page gave no lifetime.
    virtual void snDialogLogin(const std::string& accessToken, std::optional<double> expirationDate) = 0;
    virtual void snDialogNotLogin(bool cancelled) = 0;
};

// The inline login route: the network's login page in the web dialog. It reads the
// token and its lifetime from the address the page finishes on and tells the session
// exactly once how the login ended (an ignored load error is no ending).
class SNLoginDialog : public SNDialog {
public:
    SNLoginDialog(std::string url, SNDictionaryPtr loginParams, SNLoginDialogDelegate* loginDelegate);

    void setLoginDelegate(SNLoginDialogDelegate* loginDelegate) { loginDelegate_ = loginDelegate; }

    void dialogDidSucceed(const std::string& url) override;
    void dialogDidCancel(const std::optional<std::string>& url) override;
    // Load failures and error addresses end here: the login did not happen.
    void dismissWithError(const SNError& error, bool animated) override;

private:
    SNLoginDialogDelegate* loginDelegate_;
};

} // namespace socialnet
