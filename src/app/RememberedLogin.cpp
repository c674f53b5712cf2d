#include "app/RememberedLogin.h"

#include "lobby/LoginView_SubLoginView.h"
#include "platform/foundation/UserDefaults.h"

namespace kavo {

namespace {

using Form = LoginView_SubLoginView;

} // namespace

void RememberedLogin::signInAttemptEnded() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.boolForKey(Form::kSavedNextLoginKey) || defaults.stringForKey(Form::kPasswordKey).empty()) return;
    defaults.setString("", Form::kPasswordKey);
    defaults.synchronize();
}

void RememberedLogin::rememberNewAccount(const std::string& name, const std::string& password) {
    auto& defaults = platform::UserDefaults::standard();
    // A form never built turns the switch on as it is first built.
    const bool remember = !defaults.boolForKey(Form::kFirstTimeRunKey) || defaults.boolForKey(Form::kSavedNextLoginKey);
    defaults.setString(name, Form::kUnameKey);
    defaults.setString(remember ? password : "", Form::kPasswordKey);
    defaults.synchronize();
}

} // namespace kavo
