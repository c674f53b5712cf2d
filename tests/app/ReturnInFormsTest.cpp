// Return in a form, the same in every form the client shows: in the form's last field it
// presses the form's default button as a click does; in another of its fields it moves on
// and presses nothing.
#include "account/ChangePassView.h"
#include "account/LottoSubView.h"
#include "account/ProfileSubView.h"
#include "account/TopupZelByCardView.h"
#include "account/TransferMoneyView.h"
#include "app/KavoViewController.h"
#include "app/UIController.h"
#include "lobby/BoardPassword.h"
#include "lobby/CreateNewBoard.h"
#include "lobby/IntoBoard.h"
#include "lobby/LoginView_SubForgotPwdView.h"
#include "lobby/LoginView_SubLoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "lobby/PasswordIntoBoard.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "social/AddFriendView.h"
#include "social/SendAdminView.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "tests/app/ShellTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;
using Field = std::shared_ptr<ui::TextField>;

// A form as its screen shows it: its fields in order, the identifier of the button Return
// in the last one presses, and what holds the form while it is shown.
struct ShownForm {
    std::vector<Field> fields;
    std::string button;
    std::shared_ptr<void> owner;
};

struct FormCase {
    const char* name;
    std::function<ShownForm(KavoViewController& screen)> show;
};

// A sheet over the screen, as the screens open theirs.
template <class Sheet>
ShownForm overScreen(KavoViewController& screen, std::shared_ptr<Sheet> sheet,
                     std::function<std::vector<Field>(Sheet&)> fields, std::string button) {
    screen.view()->addSubview(sheet->view());
    sheet->viewWillAppear(false);
    return {fields(*sheet), std::move(button), sheet};
}

// A log-in form over the screen, opened as the log-in screen opens it.
template <class Form>
ShownForm loginForm(KavoViewController& screen, std::function<std::vector<Field>(Form&)> fields, std::string button) {
    auto form = std::make_shared<Form>(screen.view()->bounds());
    form->setUIScreen();
    screen.view()->addSubview(form);
    return {fields(*form), std::move(button), form};
}

const FormCase kForms[] = {
    {"go to a board",
     [](KavoViewController& s) {
         return overScreen<IntoBoard>(
             s, std::make_shared<IntoBoard>(),
             [](IntoBoard& f) {
                 return std::vector<Field>{f.txtRoom(), f.txtBoard(), f.txtPass()};
             },
             "btnOK");
     }},
    {"a locked board's password",
     [](KavoViewController& s) {
         return overScreen<PasswordIntoBoard>(
             s, std::make_shared<PasswordIntoBoard>(),
             [](PasswordIntoBoard& f) { return std::vector<Field>{f.txtPassword()}; }, "btnOK");
     }},
    {"a board's password by number",
     [](KavoViewController& s) {
         return overScreen<BoardPassword>(
             s, std::make_shared<BoardPassword>(), [](BoardPassword& f) { return std::vector<Field>{f.txtPassword()}; },
             "btnOK");
     }},
    {"create a board",
     [](KavoViewController& s) {
         return overScreen<CreateNewBoard>(
             s, std::make_shared<CreateNewBoard>(),
             [](CreateNewBoard& f) {
                 return std::vector<Field>{f.tfBetMoney(), f.tfPlayerNumber(), f.tfPassword()};
             },
             "createBoard");
     }},
    {"add a friend",
     [](KavoViewController& s) {
         return overScreen<AddFriendView>(
             s, std::make_shared<AddFriendView>(), [](AddFriendView& f) { return std::vector<Field>{f.txtName()}; },
             "btnAccept");
     }},
    {"feedback",
     [](KavoViewController& s) {
         return overScreen<SendAdminView>(
             s, std::make_shared<SendAdminView>(), [](SendAdminView& f) { return std::vector<Field>{f.txtContent()}; },
             "btnOK");
     }},
    {"transfer",
     [](KavoViewController& s) {
         return overScreen<TransferMoneyView>(
             s, std::make_shared<TransferMoneyView>(),
             [](TransferMoneyView& f) {
                 return std::vector<Field>{f.txtName(), f.txtMoney()};
             },
             "btnOK");
     }},
    {"change the password",
     [](KavoViewController& s) {
         return overScreen<ChangePassView>(
             s, std::make_shared<ChangePassView>(),
             [](ChangePassView& f) {
                 return std::vector<Field>{f.txtOldPass(), f.txtNewPass(), f.txtConfirmNewPass()};
             },
             "onChangePass");
     }},
    {"the table's password",
     [](KavoViewController& s) {
         return overScreen<menuPassword>(
             s, std::make_shared<menuPassword>(), [](menuPassword& f) { return std::vector<Field>{f.txtPassword()}; },
             "btnOK");
     }},
    {"the stake entry",
     [](KavoViewController& s) {
         return overScreen<menuCuoc>(
             s, std::make_shared<menuCuoc>(), [](menuCuoc& f) { return std::vector<Field>{f.txtMoney()}; }, "btnOK");
     }},
    {"sign in",
     [](KavoViewController& s) {
         return loginForm<LoginView_SubLoginView>(
             s,
             [](LoginView_SubLoginView& f) {
                 return std::vector<Field>{f.txfUsername(), f.txfPassword()};
             },
             "btnSignIn");
     }},
    {"register",
     [](KavoViewController& s) {
         return loginForm<LoginView_SubRegisterView>(
             s,
             [](LoginView_SubRegisterView& f) {
                 return std::vector<Field>{f.txfUsername(), f.txfPassword(), f.txfRetypePwd()};
             },
             "btnRegister");
     }},
    {"recover the password",
     [](KavoViewController& s) {
         return loginForm<LoginView_SubForgotPwdView>(
             s, [](LoginView_SubForgotPwdView& f) { return std::vector<Field>{f.txfUsername()}; }, "btnSend");
     }},
    {"a scratch card",
     [](KavoViewController& s) {
         auto form = TopupZelByCardView::make(s.view()->bounds());
         s.view()->addSubview(form);
         return ShownForm{{form->txfSeriesNumber(), form->txfPinCode()}, "btnTopup", form};
     }},
    {"the lottery panel",
     [](KavoViewController& s) {
         s.showLottoSubView();
         auto panel = s.lottoSubView();
         return ShownForm{{panel->txfNumber(), panel->txfMoney()}, "clickBuyLotto", panel};
     }},
    {"a player's report",
     [](KavoViewController& s) {
         s.doShowUserInfo(77);
         auto panel = s.profileSubView();
         panel->showReportView();
         return ShownForm{{panel->viewReport_txtContent()}, "viewReport_btnSend", panel};
     }},
};

// The shown button with that identifier under `root` (nullptr when none).
ui::Button* buttonById(ui::View& root, const std::string& id) {
    if (auto* button = dynamic_cast<ui::Button*>(&root); button && button->accessibilityIdentifier() == id)
        return button;
    for (const auto& child : root.subviews()) {
        if (child->isHidden()) continue;
        if (auto* found = buttonById(*child, id)) return found;
    }
    return nullptr;
}

class ReturnInForms : public ShellTest {};

TEST_F(ReturnInForms, TheLastFieldPressesTheDefaultButtonAndAnotherFieldMovesOn) {
    launch();
    auto& app = ui::Application::shared();
    for (const FormCase& c : kForms) {
        SCOPED_TRACE(c.name);
        auto screen = std::make_shared<KavoViewController>();
        push(screen);
        const ShownForm form = c.show(*screen);
        advance(0.5);
        ASSERT_FALSE(form.fields.empty());
        ui::Button* button = buttonById(*screen->view(), form.button);
        ASSERT_TRUE(button);
        int presses = 0;
        button->addTarget(ui::ControlEvent::TouchUpInside, [&presses] { ++presses; });

        if (form.fields.size() > 1) {
            ASSERT_TRUE(form.fields.front()->becomeFirstResponder());
            app.dispatchKey(ui::Key::Return);
            EXPECT_EQ(presses, 0) << "the first field moves on";
        }
        ASSERT_TRUE(form.fields.back()->becomeFirstResponder());
        app.dispatchKey(ui::Key::Return);
        EXPECT_EQ(presses, 1) << "the last field presses " << form.button;

        // What the press said (an empty form's warning) goes before the next form.
        advance(0.5);
        UIController::closeDialog();
        for (const auto& alert : ui::AlertView::visibleAlerts())
            alert->dismissWithClickedButtonIndex(alert->cancelButtonIndex(), false);
        delegate().navigationController()->popViewController(false);
        advance(0.5);
    }
}

} // namespace
} // namespace kavo::test
