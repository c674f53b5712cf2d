// Every dialog the client shows draws one button bold, the one Return presses: a player at
// a desktop keyboard reads the bold button as the answer Return gives.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "portal/model/MatchResultInfo.h"
#include "tests/app/ShellTestSupport.h"

#include <cctype>
#include <functional>
#include <ostream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

struct DialogKind {
    const char* name;
    std::function<void()> open;
    std::function<std::string()> boldTitle; // "" for a dialog without buttons
};

const std::vector<DialogKind>& kinds() {
    static const std::vector<DialogKind> table = {
        {"a notice", [] { UIController::startOKDlg("Đã lưu"); }, [] { return text("KAVO_OK"); }},
        {"a notice that only cancels", [] { UIController::startCancelDlg("Đang chờ"); },
         [] { return text("KAVO_cancel"); }},
        {"a question", [] { UIController::startCancelOkDlg("Bạn có muốn xem thông báo không?", "Hủy", "Đồng ý"); },
         [] { return std::string("Đồng ý"); }},
        {"a yes-or-no question", [] { UIController::turnInviteOff(); }, [] { return text("KAVO_yes"); }},
        {"a hand's result", [] { UIController::startReportDlg(MatchResultInfo{}); }, [] { return text("KAVO_OK"); }},
        {"a wait without buttons", [] { UIController::startNilDlg("Xin chờ"); }, [] { return std::string(); }},
    };
    return table;
}

void PrintTo(const DialogKind& kind, std::ostream* out) {
    *out << kind.name;
}

// The titles of the dialog's buttons drawn bold.
std::vector<std::string> boldTitles(const ui::AlertView& alert) {
    std::vector<std::string> titles;
    for (int i = 0; i < alert.numberOfButtons(); ++i)
        if (auto button = alert.buttonAtIndex(i); button && button->titleLabel()->font().bold())
            titles.push_back(button->currentTitle());
    return titles;
}

class DialogDefaultButton : public ShellTest, public ::testing::WithParamInterface<DialogKind> {};

TEST_P(DialogDefaultButton, TheBoldButtonIsTheOneReturnPresses) {
    launchAndPush();
    Resources::getInstance().loadLanguage(); // the buttons' words
    GetParam().open();
    const auto alert = UIController::currentDialog();
    ASSERT_TRUE(alert);
    const std::string bold = GetParam().boldTitle();
    EXPECT_EQ(boldTitles(*alert), bold.empty() ? std::vector<std::string>{} : std::vector<std::string>{bold});

    // Each button notes its press as a click would run it.
    std::vector<std::string> pressed;
    for (int i = 0; i < alert->numberOfButtons(); ++i)
        if (auto button = alert->buttonAtIndex(i))
            button->addTarget(ui::ControlEvent::TouchUpInside,
                              [&pressed, title = button->currentTitle()] { pressed.push_back(title); });
    ui::Application::shared().dispatchKey(ui::Key::Return);
    if (bold.empty()) {
        EXPECT_TRUE(pressed.empty());
        EXPECT_EQ(UIController::currentDialog(), alert) << "a dialog without buttons waits for its answer";
        UIController::closeDialog();
    } else {
        EXPECT_EQ(pressed, std::vector<std::string>{bold});
        EXPECT_FALSE(alert->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DialogDefaultButton, ::testing::ValuesIn(kinds()),
                         [](const ::testing::TestParamInfo<DialogKind>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

} // namespace
} // namespace kavo::test
