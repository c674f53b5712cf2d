#include "sdk/socialnet/SNLoginDialog.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Keyboard.h"
#include "sdk/socialnet/SNSession.h"
#include "tests/socialnet/SNSessionTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace socialnet::test {
namespace {

using S = SNSessionState;
using Nav = platform::ui::WebViewNavigationType;

class SNLoginDialogTest : public SessionFixture {
protected:
    // A session whose login runs in the inline dialog.
    std::shared_ptr<SNSession> openInDialog() {
        auto session = makeSession();
        session->openWithBehavior(SNSessionLoginBehavior::DialogOnly, recorder());
        return session;
    }
    // The page navigates (a redirect unless told otherwise); true when the web view may load it.
    static bool navigate(SNSession& session, const std::string& url, Nav type = Nav::Other) {
        auto dialog = session.loginDialog();
        return dialog->shouldStartLoad(*dialog->webView(), url, type);
    }
};

TEST_F(SNLoginDialogTest, AddressesAreBuiltAndReadParameterByParameter) {
    auto params = SNDictionary::make();
    params->setObject(SNValue("b c"), "z");
    params->setObject(SNValue("1"), "a");
    EXPECT_EQ(SNDialog::generateURL("http://127.0.0.1:1/p", params), "http://127.0.0.1:1/p?z=b%20c&a=1");
    EXPECT_EQ(SNDialog::generateURL("http://127.0.0.1:1/p", SNDictionary::make()), "http://127.0.0.1:1/p");
    EXPECT_EQ(SNDialog::getStringFromUrl("xexpires_in=5", "expires_in="), std::nullopt);
    EXPECT_EQ(SNDialog::getStringFromUrl("a#expires_in=5&b=1", "expires_in="), "5");
    EXPECT_EQ(SNDialog::getStringFromUrl("expires_in=7", "expires_in="), "7");
    EXPECT_EQ(SNDialog::getStringFromUrl("x?error_msg=Bad%20token", "error_msg="), "Bad token");
    EXPECT_TRUE(SNDialog::testBoolUrlParam("a?ok=1", "ok="));
    EXPECT_FALSE(SNDialog::testBoolUrlParam("a?ok=0", "ok="));
}

TEST_F(SNLoginDialogTest, TheFinishAddressOpensTheSessionWithoutLoadingIt) {
    struct Case {
        std::string url;
        double expiresIn; // 0: the distant future
    };
    for (auto& c :
         {Case{"snconnect://success#access_token=T&expires_in=3600", 3600},
          Case{"snconnect://success#access_token=T&expires_in=0", 0}, Case{"snconnect://success#access_token=T", 0}}) {
        heard.clear();
        auto session = openInDialog();
        auto dialog = session->loginDialog();
        EXPECT_FALSE(navigate(*session, c.url));
        EXPECT_EQ(session->state(), S::Open) << c.url;
        EXPECT_EQ(session->loginType(), SNSessionLoginType::WebDialog);
        EXPECT_EQ(session->accessToken(), "T");
        EXPECT_EQ(*session->expirationDate(),
                  c.expiresIn == 0 ? SNSession::kDistantFuture : SNSession::now() + c.expiresIn);
        EXPECT_FALSE(session->loginDialog());
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_FALSE(heard[0].hasError);
        auto cached = SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation();
        EXPECT_EQ(cached.get(SNTokenInformationLoginTypeLoginKey).intValue(), 4);
        EXPECT_FALSE(cached.contains(SNTokenInformationIsSocialNetLoginKey));
        advance(1);
        EXPECT_FALSE(dialog->isOnScreen());
        SNSessionTokenCachingStrategy::defaultInstance()->clearToken();
    }
}

TEST_F(SNLoginDialogTest, CancelsErrorsAndTheCloseButtonEndTheLogin) {
    struct Case {
        std::string name;
        std::function<void(SNSession&)> act;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"no token", [](SNSession& s) { navigate(s, "snconnect://success#expires_in=5"); },
         "com.socialnet.sdk:InlineLoginCancelled"},
        {"plain cancel", [](SNSession& s) { navigate(s, "snconnect://cancel"); },
         "com.socialnet.sdk:InlineLoginCancelled"},
        {"error 190", [](SNSession& s) { navigate(s, "snconnect://cancel?error_code=190&error_msg=Expired"); },
         "com.socialnet.sdk:ErrorLoginNotCancelled"},
        {"close button", [](SNSession& s) { s.loginDialog()->cancel(); }, "com.socialnet.sdk:InlineLoginCancelled"},
        {"load failure",
         [](SNSession& s) {
             auto d = s.loginDialog();
             d->didFailLoadWithError(*d->webView(), {"NSURLErrorDomain", -1004, "Could not connect"});
         },
         "com.socialnet.sdk:ErrorLoginNotCancelled"},
    };
    for (auto& c : cases) {
        heard.clear();
        auto session = openInDialog();
        c.act(*session);
        EXPECT_EQ(session->state(), S::ClosedLoginFailed) << c.name;
        ASSERT_EQ(heard.size(), 1u) << c.name;
        EXPECT_EQ(heard[0].reason, c.reason) << c.name;
        EXPECT_FALSE(session->loginDialog()) << c.name;
    }
}

TEST_F(SNLoginDialogTest, IgnoredLoadErrorsAndRedirectsKeepTheDialog) {
    auto session = openInDialog();
    auto dialog = session->loginDialog();
    dialog->didFailLoadWithError(*dialog->webView(), {"NSURLErrorDomain", -999, "cancelled"});
    dialog->didFailLoadWithError(*dialog->webView(), {"WebKitErrorDomain", 102, "interrupted"});
    EXPECT_EQ(session->state(), S::CreatedOpening);
    EXPECT_TRUE(heard.empty());
    // A redirect loads inside the dialog; a tapped link goes to the external browser.
    EXPECT_TRUE(navigate(*session, "http://127.0.0.1:9/login.php", Nav::Other));
    EXPECT_TRUE(navigate(*session, *dialog->loadingURL(), Nav::LinkClicked));
    EXPECT_FALSE(navigate(*session, "http://127.0.0.1:9/help", Nav::LinkClicked));
    EXPECT_EQ(platform_->opened, std::vector<std::string>{"http://127.0.0.1:9/help"});
    EXPECT_EQ(session->state(), S::CreatedOpening);
    dialog->didFinishLoad(*dialog->webView());
    EXPECT_EQ(dialog->webView()->evaluatedScripts(),
              std::vector<std::string>{"document.body.setAttribute('orientation', 90);"});
    session->close();
}

TEST_F(SNLoginDialogTest, OnAPhoneTheKeyboardGivesThePageTheBordersRoom) {
    auto session = openInDialog();
    auto dialog = session->loginDialog();
    platform::ui::Rect before = dialog->webView()->frame();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(platform::ui::Keyboard::WillShowNotification);
    EXPECT_TRUE(dialog->showingKeyboard());
    EXPECT_EQ(dialog->webView()->frame().x(), before.x() - 10);
    EXPECT_EQ(dialog->webView()->frame().width(), before.width() + 20);
    EXPECT_EQ(dialog->webView()->frame().height(), before.height() + 20);
    center.post(platform::ui::Keyboard::WillHideNotification);
    EXPECT_FALSE(dialog->showingKeyboard());
    EXPECT_EQ(dialog->webView()->frame().y(), before.y());
    EXPECT_EQ(dialog->webView()->frame().height(), before.height());
    session->close();
}

} // namespace
} // namespace socialnet::test
