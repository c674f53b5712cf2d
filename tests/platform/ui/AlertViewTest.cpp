#include "platform/ui/AlertView.h"

#include "ControlsTestSupport.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Label.h"

#include <string>
#include <vector>

using namespace platform::ui;

namespace {

class AlertLog : public AlertViewDelegate {
public:
    void clickedButtonAtIndex(AlertView&, int index) override { calls.push_back("clicked " + std::to_string(index)); }
    void willDismissWithButtonIndex(AlertView&, int index) override {
        calls.push_back("willDismiss " + std::to_string(index));
    }
    void didDismissWithButtonIndex(AlertView& alert, int index) override {
        calls.push_back("didDismiss " + std::to_string(index));
        stillVisible = alert.isVisible();
    }
    std::vector<std::string> calls;
    bool stillVisible = true;
};

bool anyLabelSays(const std::string& text) {
    for (const auto& w : Window::visibleWindows())
        for (const auto& label : w->subviewsOfType<Label>())
            if (label->text() == text && label->isVisibleOnScreen()) return true;
    return false;
}

} // namespace

class AlertViewTest : public ControlsTest {
protected:
    AlertLog log;
};

TEST_F(AlertViewTest, CancelIsIndexZeroThenTheOthersInOrder) {
    auto alert = AlertView::make("", "Bạn muốn thoát?", &log, "Hủy", {"Đồng ý", "Để sau"});
    EXPECT_EQ(alert->numberOfButtons(), 3);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(2), "Để sau");
    EXPECT_EQ(alert->addButtonWithTitle("Khác"), 3);

    auto okOnly = AlertView::make("", "OK?", &log, "", {"OK"});
    EXPECT_EQ(okOnly->cancelButtonIndex(), -1);
    EXPECT_EQ(okOnly->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(okOnly->buttonTitleAtIndex(5), "");
}

TEST_F(AlertViewTest, PressingAButtonClicksThenDismissesAndRemovesTheWindow) {
    size_t windowsBefore = Window::visibleWindows().size();
    auto alert = AlertView::make("", "Sai mật khẩu", &log, "Hủy", {"Đồng ý"});
    alert->show();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(Window::visibleWindows().size(), windowsBefore + 1);
    EXPECT_EQ(Window::visibleWindows().back()->windowLevel(), WindowLevel::Alert);
    EXPECT_TRUE(anyLabelSays("Sai mật khẩu"));

    auto ok = findButton("Đồng ý");
    ASSERT_TRUE(ok);
    tap(*ok);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"clicked 1", "willDismiss 1", "didDismiss 1"}));
    EXPECT_FALSE(log.stillVisible);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(Window::visibleWindows().size(), windowsBefore);
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

TEST_F(AlertViewTest, AlertKeepsItselfAliveWhileShown) {
    AlertView::make("", "Thông báo", &log, "OK")->show();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1u);
    tap(*findButton("OK"));
    EXPECT_EQ(log.calls.front(), "clicked 0");
}

TEST_F(AlertViewTest, DismissingFromCodeDoesNotCountAsAClick) {
    auto alert = AlertView::make("", "Đang tải", &log, "Hủy", {"OK"});
    alert->show();
    alert->dismissWithClickedButtonIndex(0, true);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"willDismiss 0", "didDismiss 0"}));
    alert->dismissWithClickedButtonIndex(0, true); // already gone: nothing
    EXPECT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(findButton("OK"), nullptr);
}

TEST_F(AlertViewTest, QueuedAlertsShowTheNewestAndComeBackInTurn) {
    auto first = AlertView::make("", "Thứ nhất", &log, "A");
    auto second = AlertView::make("", "Thứ hai", &log, "B");
    first->show();
    second->show();
    EXPECT_EQ(AlertView::visibleAlerts(), (std::vector<std::shared_ptr<AlertView>>{first, second}));
    EXPECT_FALSE(anyLabelSays("Thứ nhất"));
    EXPECT_EQ(findButton("A"), nullptr);
    tap(*findButton("B"));
    EXPECT_TRUE(anyLabelSays("Thứ nhất"));
    ASSERT_TRUE(findButton("A"));
    tap(*findButton("A"));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

TEST_F(AlertViewTest, ClickHandlerThatOpensANewAlertAndClosesThisOneIsSafe) {
    struct Chain : AlertViewDelegate {
        void clickedButtonAtIndex(AlertView& alert, int) override {
            alert.dismissWithClickedButtonIndex(0, true); // the app closes every open dialog first
            next = AlertView::make("", "Tắt lời mời?", nullptr, "Không", {"Có"});
            next->show();
        }
        void didDismissWithButtonIndex(AlertView&, int) override { ++dismissals; }
        std::shared_ptr<AlertView> next;
        int dismissals = 0;
    } chain;
    AlertView::make("", "Lời mời", &chain, "Hủy", {"Vào"})->show();
    tap(*findButton("Hủy"));
    EXPECT_EQ(chain.dismissals, 1);
    EXPECT_EQ(AlertView::visibleAlerts(), (std::vector<std::shared_ptr<AlertView>>{chain.next}));
    EXPECT_TRUE(findButton("Có"));
}

TEST_F(AlertViewTest, TwoButtonsShareARowAndMoreStackWithCancelLast) {
    auto pair = AlertView::make("Tiêu đề", "Nội dung", nullptr, "Hủy", {"OK"});
    pair->show();
    EXPECT_EQ(pair->buttonAtIndex(0)->frame().y(), pair->buttonAtIndex(1)->frame().y());
    EXPECT_LT(pair->buttonAtIndex(0)->frame().x(), pair->buttonAtIndex(1)->frame().x());
    pair->dismissWithClickedButtonIndex(-1, false);

    auto column = AlertView::make("", "Chọn", nullptr, "Hủy", {"Một", "Hai"});
    column->show();
    EXPECT_LT(column->buttonAtIndex(1)->frame().y(), column->buttonAtIndex(2)->frame().y());
    EXPECT_LT(column->buttonAtIndex(2)->frame().y(), column->buttonAtIndex(0)->frame().y());
    EXPECT_TRUE(Screen::bounds().contains(column->frame()));
}

// Whatever its buttons, an alert draws one bold, the one Return presses: its first other
// button, else its only (cancel) button.
TEST_F(AlertViewTest, TheBoldButtonIsTheOneReturnPresses) {
    struct Shape {
        std::string cancel;
        std::vector<std::string> others;
        std::string bold;
    };
    const Shape shapes[] = {{"Hủy", {"Đồng ý"}, "Đồng ý"},
                            {"OK", {}, "OK"},
                            {"", {"OK"}, "OK"},
                            {"Hủy", {"Mua", "Tặng"}, "Mua"},
                            {"", {"Một", "Hai", "Ba"}, "Một"}};
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.cancel + " / " + shape.bold);
        AlertLog pressed;
        auto alert = AlertView::make("", "Chọn", &pressed, shape.cancel, shape.others);
        alert->show();
        std::vector<std::string> bold;
        for (int i = 0; i < alert->numberOfButtons(); ++i)
            if (alert->buttonAtIndex(i)->titleLabel()->font().bold()) bold.push_back(alert->buttonTitleAtIndex(i));
        EXPECT_EQ(bold, std::vector<std::string>{shape.bold});
        Application::shared().dispatchKey(Key::Return);
        ASSERT_FALSE(pressed.calls.empty());
        EXPECT_EQ(alert->buttonTitleAtIndex(std::stoi(pressed.calls.front().substr(8))), shape.bold);
    }
}

TEST_F(AlertViewTest, TextInputAlertFocusesItsField) {
    auto prompt = AlertView::make("Mật khẩu", "", &log, "Hủy", {"OK"});
    prompt->setAlertViewStyle(AlertViewStyle::SecureTextInput);
    prompt->show();
    auto field = prompt->textFieldAtIndex(0);
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(field->isSecureTextEntry());
    Application::shared().dispatchText("1234");
    tap(*findButton("OK"));
    EXPECT_EQ(field->text(), "1234");
    EXPECT_FALSE(field->isFirstResponder());
}

namespace {
class SheetLog : public ActionSheetDelegate {
public:
    void clickedButtonAtIndex(ActionSheet&, int index) override { clicked.push_back(index); }
    void didDismissWithButtonIndex(ActionSheet&, int index) override { dismissed.push_back(index); }
    std::vector<int> clicked;
    std::vector<int> dismissed;
};
} // namespace

TEST_F(AlertViewTest, ActionSheetPutsDestructiveFirstAndCancelLast) {
    SheetLog sheetLog;
    auto sheet = ActionSheet::make("Người chơi", &sheetLog, "Hủy", "Đuổi", {"Thông tin", "Kết bạn"});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    sheet->showInView(window.get());
    EXPECT_EQ(Window::visibleWindows().back()->windowLevel(), WindowLevel::Alert);
    EXPECT_EQ(sheet->frame().maxY(), Screen::bounds().maxY());
    tap(*findButton("Kết bạn"));
    EXPECT_EQ(sheetLog.clicked, (std::vector<int>{2}));
    EXPECT_EQ(sheetLog.dismissed, (std::vector<int>{2}));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(findButton("Hủy"), nullptr);
}
