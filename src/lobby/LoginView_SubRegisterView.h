#pragma once

#include "lobby/LoginSubForm.h"
#include "lobby/ServerListText.h"
#include "portal/IConnectOKListener.h"

#include <memory>

namespace kavo {

// The registration form: user name, password and the password again. It connects by
// itself to the first server of the list and sends the registration once the server
// has accepted the client (bound to the social-network log-in when the log-in screen
// says so).
class LoginView_SubRegisterView : public LoginSubForm, public IConnectOKListener {
public:
    static constexpr const char* kAccessTokenKey = "KAVO_LOGIN_ACESSTOKEN";
    static constexpr int kTagNick = 103;
    static constexpr int kTagPwd = 104;
    static constexpr int kTagRetype = 105;
    static constexpr int kTagRegister = 106;

    explicit LoginView_SubRegisterView(platform::ui::Rect frame);
    ~LoginView_SubRegisterView() override;

    void refreshScreen() override;
    // The main button (which Return in the retyped password presses).
    void doRegister();
    void onRegister();
    // The clear buttons: tags 1, 2, 3 empty and focus their field.
    void btnClose_Clicked(int tag);
    // The form's copy of the server list, from the stored text.
    void detectInfos();
    // IConnectOKListener: sends the registration (from the reader thread).
    void onConnectOK() override;

    const std::shared_ptr<platform::ui::TextField>& txfUsername() const { return txfUsername_; }
    const std::shared_ptr<platform::ui::TextField>& txfPassword() const { return txfPassword_; }
    const std::shared_ptr<platform::ui::TextField>& txfRetypePwd() const { return txfRetypePwd_; }
    const std::shared_ptr<platform::ui::Button>& btnRegister() const { return btnRegister_; }
    const ServerList& listServers() const { return listServers_; }

    bool shouldReturn(platform::ui::TextField& field) override;

protected:
    void buildControls() override;
    // A registration signs in a new player: nothing read ahead is his.
    void didOpen() override;

private:
    // The notice of `key` over the form.
    void showWarning(const std::string& key);

    std::shared_ptr<platform::ui::TextField> txfUsername_;
    std::shared_ptr<platform::ui::TextField> txfPassword_;
    std::shared_ptr<platform::ui::TextField> txfRetypePwd_;
    std::shared_ptr<platform::ui::Button> btnRegister_;
    ServerList listServers_;
};

} // namespace kavo
