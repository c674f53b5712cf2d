// The sheets with two text buttons draw the one Return presses bold and the other regular,
// as a dialog does: a player at a keyboard reads the bold button as Return's. Each sheet is
// shown over a screen as its screen shows it, Return is pressed, and the button it pressed
// is the one drawn bold.
#include "account/ChangePassView.h"
#include "account/TransferMoneyView.h"
#include "app/CustomUIActionSheetViewController.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/IntoBoard.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "social/AddFriendView.h"
#include "social/SendAdminView.h"
#include "table/sheets/InviteView.h"
#include "tests/app/ShellTestSupport.h"

#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

struct SheetKind {
    const char* name;
    std::function<std::shared_ptr<CustomUIActionSheetViewController>()> make;
};

const std::vector<SheetKind>& sheets() {
    static const std::vector<SheetKind> table = {
        {"transfer", [] { return std::make_shared<TransferMoneyView>(); }},
        {"change the password", [] { return std::make_shared<ChangePassView>(); }},
        {"go to a board", [] { return std::make_shared<IntoBoard>(); }},
        {"invitation", [] { return std::make_shared<InviteView>(); }},
        {"add a friend", [] { return std::make_shared<AddFriendView>(); }},
        {"feedback", [] { return std::make_shared<SendAdminView>(); }},
    };
    return table;
}

void PrintTo(const SheetKind& kind, std::ostream* out) {
    *out << kind.name;
}

// The shown views of a kind under `root`, in tree order.
template <class Kind> void collect(ui::View& root, std::vector<Kind*>& found) {
    if (auto* view = dynamic_cast<Kind*>(&root)) found.push_back(view);
    for (const auto& child : root.subviews())
        if (!child->isHidden()) collect(*child, found);
}

// The sheet's buttons with a title (its text buttons), as the player reads them.
std::vector<ui::Button*> textButtons(ui::View& sheet) {
    std::vector<ui::Button*> buttons;
    collect(sheet, buttons);
    std::erase_if(buttons, [](ui::Button* button) { return button->currentTitle().empty(); });
    return buttons;
}

class SheetDefaultButton : public ShellTest, public ::testing::WithParamInterface<SheetKind> {};

TEST_P(SheetDefaultButton, TheBoldButtonIsTheOneReturnPresses) {
    auto screen = launchAndPush();
    Resources::getInstance().loadLanguage(); // the buttons' words
    const auto sheet = GetParam().make();
    screen->view()->addSubview(sheet->view());
    sheet->viewWillAppear(false);
    advance(0.5);

    std::vector<std::string> bold;
    std::vector<std::string> regular;
    std::vector<std::string> pressed;
    for (ui::Button* button : textButtons(*sheet->view())) {
        (button->titleLabel()->font().bold() ? bold : regular).push_back(button->currentTitle());
        button->addTarget(ui::ControlEvent::TouchUpInside,
                          [&pressed, title = button->currentTitle()] { pressed.push_back(title); });
    }
    ASSERT_EQ(bold.size(), 1u) << "one button drawn as Return's, of " << bold.size() + regular.size();
    EXPECT_FALSE(regular.empty()) << "and the others beside it drawn regular";

    // Return where the player types last: the sheet's last field, or the sheet itself.
    std::vector<ui::TextField*> fields;
    collect(*sheet->view(), fields);
    if (!fields.empty()) {
        ASSERT_TRUE(fields.back()->becomeFirstResponder());
    }
    ui::Application::shared().dispatchKey(ui::Key::Return);
    EXPECT_EQ(pressed, bold);

    // What the press said (an empty form's warning) goes with the sheet.
    advance(0.5);
    UIController::closeDialog();
    for (const auto& alert : ui::AlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(alert->cancelButtonIndex(), false);
}

INSTANTIATE_TEST_SUITE_P(EveryTwoButtonSheet, SheetDefaultButton, ::testing::ValuesIn(sheets()),
                         [](const ::testing::TestParamInfo<SheetKind>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

} // namespace
} // namespace kavo::test
